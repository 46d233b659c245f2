// Tests of TCommentFilter: block and line comments, quotes, and state across runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommentFilter.h"
#include "ParserTestText.h"

namespace {

// Records the comment state after each character, one digit per character.
class StateProbe : public TCommentFilter {
public:
    void ParseChar(char c) override {
        TCommentFilter::ParseChar(c);
        states += static_cast<char>('0' + GetCommentState());
    }
    std::string states;
};

std::string StatesOf(const std::vector<std::string>& text) {
    StateProbe probe;
    TStringContainer lines = Lines(text);
    probe.Parse(lines);
    return probe.states;
}

TEST(CommentFilter, StateFollowsCommentSequences) {
    struct Case {
        std::vector<std::string> text;
        const char* states;  // one per character, line feeds included
    } cases[] = {
        {{"a/*b*/c"}, "00111000"},
        {{"//", "x"}, "02000"},
        // The star of "/*/" belongs to the opener, so the slash does not close.
        {{"/*/x*/"}, "0111100"},
        {{"a/b*c"}, "000000"},
        {{"'/*' x"}, "0000000"},
        {{"x // y", "/*", "*/"}, "0002220011100"},
    };
    for (const Case& test : cases) EXPECT_EQ(StatesOf(test.text), test.states) << test.text[0];
}

TEST(CommentFilter, StateSurvivesTheNextParse) {
    StateProbe probe;
    TStringContainer open = Lines({"/*"});
    probe.Parse(open);
    TStringContainer next = Lines({"x*/"});
    probe.states.clear();
    probe.Parse(next);
    EXPECT_EQ(probe.states, "1100");
}

TEST(CommentFilter, QuotesInsideCommentsAndMixedMarksDoNotOpenRuns) {
    // An apostrophe in a comment and one inside a double-quoted text leave the
    // comment after them recognised.
    EXPECT_EQ(StatesOf({"// it's", "/* c */"}), "0222222001111100");
    StateProbe probe;
    TStringContainer lines = Lines({"\"it's\" /* c */"});
    probe.Parse(lines);
    EXPECT_EQ(probe.states.substr(7), "01111100");
    EXPECT_FALSE(probe.GetInQuote());
}

}  // namespace
