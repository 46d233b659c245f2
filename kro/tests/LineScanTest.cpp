// Tests of the quote-aware line scans: comments, white space, constants, splitting and brackets.
#include <gtest/gtest.h>

#include "LineScan.h"

namespace {

TEST(LineScan, CommentCutRespectsBothQuotes) {
    const struct {
        const char* line;
        const char* cut;
    } cases[] = {
        {"a=1 // note", "a=1 "}, {"s='x//y' // z", "s='x//y' "}, {"s=\"x//y\"", "s=\"x//y\""},
        {"s=\"it's // in\" // out", "s=\"it's // in\" "}, {"//", ""}, {"a/b", "a/b"},
    };
    for (const auto& c : cases) {
        TString line = c.line;
        CutComment(line);
        EXPECT_EQ(line, TString(c.cut)) << c.line;
    }
}

TEST(LineScan, WhiteSpaceRemovalKeepsQuotedText) {
    EXPECT_EQ(RemoveWhiteSpace(" a = 'b  c' + \"d\te\"\t"), TString("a='b  c'+\"d\te\""));
    EXPECT_TRUE(IsBlankLine(" \t\r"));
    EXPECT_FALSE(IsBlankLine(" x"));
}

TEST(LineScan, ConstantsReplaceWholeWordsOnly) {
    TStringContainer names, values;
    names.Add("N");
    values.Add("(N+1)");
    names.Add("M");
    values.Add("(2)");
    TString line = "N+NN+'N'+aN+N_+M\xE1+M";
    SubstituteConstants(line, names, values);
    // The inserted text is not scanned again, so N inside it stays.
    EXPECT_EQ(line, TString("(N+1)+NN+'N'+aN+N_+M\xE1+(2)"));
}

TEST(LineScan, SplitKeepsBracketsAndQuotesTogether) {
    TStringContainer parts;
    SplitTopLevel("a[1,2],{3,4},f(5,6),'x,y',", ',', parts);
    ASSERT_EQ(parts.GetCount(), 5);
    EXPECT_EQ(parts[0], TString("a[1,2]"));
    EXPECT_EQ(parts[3], TString("'x,y'"));
    EXPECT_EQ(parts[4], TString(""));
    SplitTopLevel("a),b", ',', parts);
    ASSERT_EQ(parts.GetCount(), 2);
    EXPECT_EQ(parts[0], TString("a)"));
    SplitTopLevel("", ',', parts);
    EXPECT_EQ(parts.GetCount(), 0);
}

TEST(LineScan, ClosingBracketBalancesAllKinds) {
    EXPECT_EQ(FindClosingBracket("[a(b)]", 0), 5);
    EXPECT_EQ(FindClosingBracket("[{']'}]x", 0), 6);
    EXPECT_EQ(FindClosingBracket("[(])", 0), -1);
    EXPECT_EQ(FindClosingBracket("[a", 0), -1);
}

TEST(LineScan, IdentifierCharactersIncludeHungarianLetters) {
    for (char c : std::string("azAZ09_\xE1\xF5\xFB\xC1\xD5\xDB")) EXPECT_TRUE(IsIdentifierChar(c)) << int(c);
    for (char c : std::string(" +[.\xE4\xDF")) EXPECT_FALSE(IsIdentifierChar(c)) << int(c);
}

}  // namespace
