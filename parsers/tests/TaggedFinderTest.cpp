// Tests of TTaggedFinder: word search over the plain words of a tagged text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TaggedFinder.h"
#include "ParserTestText.h"

namespace {

struct FindCase {
    std::vector<std::string> text;
    std::vector<std::string> words;
    bool wholeWord;
    bool matchAll;
    bool caseSensitive;
    bool found;
};

TEST(TaggedFinder, FindsWordsUnderEachOption) {
    const FindCase cases[] = {
        {{"the alphabet"}, {"alpha", "beta"}, false, false, false, true},
        {{"the alphabet"}, {"alpha", "beta"}, false, true, false, false},
        {{"the alphabet"}, {"alpha", "beta"}, true, false, false, false},
        {{"the alphabet"}, {"alpha", "beta"}, false, false, true, true},
        {{"the ALPHABET"}, {"alpha", "beta"}, false, false, true, false},
        {{"the ALPHABET"}, {"alpha", "beta"}, false, false, false, true},
        {{"alpha and beta"}, {"alpha", "beta"}, true, true, false, true},
        {{"Alpha"}, {"ALPHA"}, true, false, false, true},
        {{"Alpha"}, {"ALPHA"}, true, false, true, false},
        {{"Alpha"}, {"Alpha"}, true, false, true, true},
        // Words inside tags are not searched.
        {{"<alpha> x </beta=alpha>"}, {"alpha"}, false, false, false, false},
        {{"<b>alpha</b>"}, {"alpha"}, true, false, false, true},
        // A word holding two search words counts for both.
        {{"alphabet"}, {"alpha", "alphabet"}, false, true, false, true},
        {{"anything"}, {}, false, false, false, false},
        {{"anything"}, {}, false, true, false, false},
    };
    for (const FindCase& test : cases) {
        TTaggedFinder finder;
        TStringContainer text = Lines(test.text);
        TStringContainer words = Lines(test.words);
        bool found = !test.found;
        EXPECT_TRUE(finder.Parse(text, words, found, test.wholeWord, test.matchAll, test.caseSensitive));
        EXPECT_EQ(found, test.found) << test.text[0] << " whole " << test.wholeWord << " all " << test.matchAll
                                     << " case " << test.caseSensitive;
    }
}

TEST(TaggedFinder, HitsAreListedOnceInTheOrderFound) {
    TTaggedFinder finder;
    TStringContainer text = Lines({"beta alpha beta"});
    TStringContainer words = Lines({"alpha", "beta", "gamma"});
    bool found = false;
    finder.Parse(text, words, found, true, false, false);
    ASSERT_EQ(finder.GetHits().GetCount(), 2);
    EXPECT_EQ(finder.GetHits()[0], 1);
    EXPECT_EQ(finder.GetHits()[1], 0);
    EXPECT_TRUE(found);
}

TEST(TaggedFinder, MalformedTextReportsTheParseError) {
    TTaggedFinder finder;
    TStringContainer text = Lines({"alpha <> beta"});
    TStringContainer words = Lines({"beta"});
    bool found = true;
    EXPECT_FALSE(finder.Parse(text, words, found, false, false, false));
    EXPECT_FALSE(found);
    EXPECT_EQ(finder.GetError(), 2);
}

}  // namespace
