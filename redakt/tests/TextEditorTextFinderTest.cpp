// The text finder: forward and backward hits from a column, exact and
// case-blind (code-page letters), whole words, and its bounds.
#include <gtest/gtest.h>

#include <string>

#include "TextEditorTextFinder.h"

TEST(TextEditorTextFinderTest, ATableOfLinesGivesTheHitsForwardAndBackward) {
    const struct {
        const char* line;
        const char* text;
        bool caseSensitive, wholeWords;
        int from;
        int forward, backward;  // the hit at or after `from`, at or before it
    } kCases[] = {
        {"abc abc", "abc", true, false, 0, 0, 0},
        {"abc abc", "abc", true, false, 1, 4, 0},
        {"abc abc", "abc", true, false, 99, -1, 4},
        {"abc abc", "abc", true, false, -5, 0, -1},
        {"xABC abc", "abc", true, false, 0, 5, -1},
        {"xABC abc", "abc", false, false, 0, 1, -1},
        {"xABC abc", "ABC", false, false, 2, 5, 1},
        // Code-page letters fold through the case map: á/Á, ő/Ő, š/Š.
        {"x \xC1RV\xCDZ", "\xE1rv\xEDz", false, false, 0, 2, -1},
        {"\xF5r \xD5R", "\xD5R", false, false, 1, 3, 0},
        {"\x8A\x9A", "\x9A\x9A", false, false, 0, 0, 0},
        // Whole words: separators or the line's ends on both sides.
        {"foo_bar (foo)", "foo", false, true, 0, 9, -1},
        {"foo_bar (foo)", "foo", false, true, 99, -1, 9},
        {"a foob", "foo", false, true, 0, -1, -1},
        {"a fooxy", "foo", false, true, 0, -1, -1},
        {"foo", "foo", false, true, 0, 0, 0},
        {"x.foo;", "foo", false, true, 0, 2, -1},
        {"\xA7" "foo\"", "foo", false, true, 0, 1, -1},
        {"", "foo", false, false, 0, -1, -1},
        {"fo", "foo", false, false, 0, -1, -1},
        {"abc", "", false, false, 0, -1, -1},
    };
    for (const auto& c : kCases) {
        const TTextEditorTextFinder finder(TString(c.text), c.caseSensitive, c.wholeWords);
        EXPECT_EQ(finder.FindForward(TString(c.line), c.from), c.forward) << c.line << " / " << c.text;
        EXPECT_EQ(finder.FindBackward(TString(c.line), c.from), c.backward) << c.line << " / " << c.text;
    }
}

// A case-blind first character that many bytes fold to, and one that only
// one byte folds to, both take every candidate in turn.
TEST(TextEditorTextFinderTest, CandidatesAreTriedUntilTheWholeTextMatches) {
    const std::string line = std::string(1000, 'a') + "aB" + std::string(1000, 'A') + "Ab";
    const TTextEditorTextFinder blind(TString("ab"), false, false);
    EXPECT_EQ(blind.FindForward(TString(line), 0), 1000);
    EXPECT_EQ(blind.FindForward(TString(line), 1001), 2002);
    EXPECT_EQ(blind.FindBackward(TString(line), 100000), 2002);
    const TTextEditorTextFinder digits(TString("1-"), false, false);
    EXPECT_EQ(digits.FindForward(TString("11111-1"), 0), 4);
    const TTextEditorTextFinder exact(TString("Ab"), true, false);
    EXPECT_EQ(exact.FindForward(TString(line), 0), 2002);
    EXPECT_EQ(exact.FindBackward(TString(line), 2001), -1);
}
