// Tests of the shared operand routines: conversions, kind tests, token finders, word scans, ContainsWord, IntToBaseText.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "StackRoutines.h"

namespace {

TEST(StackRoutinesTest, ItemAsIntTakesTheLow32BitsOfTheTruncatedValue) {
    const struct {
        double value;
        int64_t want;
    } cases[] = {
        {2.9, 2},           {-2.9, -2},          {2147483647.0, INT32_MAX}, {2147483648.0, INT32_MIN},
        {4294967296.0, 0},  {4294967297.5, 1},   {-4294967297.0, -1},       {1e300, 0},
        {std::nan(""), 0},  {HUGE_VAL, 0},       {-HUGE_VAL, 0},            {9007199254740993.0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ItemAsInt(MakeRealItem(c.value)), c.want) << c.value;
    EXPECT_EQ(ItemAsInt(MakeIntegerItem(INT64_MAX)), INT64_MAX);
    EXPECT_EQ(ItemAsReal(MakeIntegerItem(-3)), -3.0);
    EXPECT_EQ(ItemAsReal(MakeRealItem(0.25)), 0.25);
}

TEST(StackRoutinesTest, KindTests) {
    EXPECT_TRUE(IsTextKind(ekOwnedText));
    EXPECT_TRUE(IsTextKind(ekBufferedText));
    EXPECT_FALSE(IsTextKind(ekInteger));
    EXPECT_TRUE(IsNumberItem(MakeRealItem(1)));
    EXPECT_FALSE(IsNumberItem(MakeItem(ekPoint)));
    EXPECT_TRUE(MatchesArrayItemType(ekBorrowedText, vtString));
    EXPECT_TRUE(MatchesArrayItemType(ekComplex, vtComplex));
    EXPECT_FALSE(MatchesArrayItemType(ekInteger, vtDouble));
    EXPECT_FALSE(MatchesArrayItemType(ekInteger, vtArray));
    TEvalStack stack;
    EXPECT_FALSE(IsTextOnTop(stack, 0));
    EXPRESSION_ITEM text = MakeItem(ekBorrowedText);
    stack.Push(text, false);
    EXPECT_TRUE(IsTextOnTop(stack, 0));
    EXPECT_FALSE(IsTextOnTop(stack, 1));
    stack.Pop(1);
}

TEST(TokenFinderTest, FindToken) {
    const struct {
        const char* text;
        int n;
        int start;
        int end;
    } cases[] = {
        {"a;b;c", 0, 0, 1}, {"a;b;c", 1, 2, 3}, {"a;b;c", 2, 4, 5}, {"a;b;c", 3, 5, 5},
        {"a;b;c", 5, 5, 5}, {";;x", 1, 1, 1},   {"", 0, 0, 0},      {"abc", 0, 0, 3},
    };
    for (const auto& c : cases) {
        int start = -1;
        int end = -1;
        FindToken(c.text, c.n, ';', start, end);
        EXPECT_EQ(start, c.start) << c.text << " " << c.n;
        EXPECT_EQ(end, c.end) << c.text << " " << c.n;
    }
    int start = -1;
    int end = -1;
    FindToken(nullptr, 2, ';', start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 0);
}

TEST(TokenFinderTest, NextPairAndList) {
    const char* text = "aa;bb;cc;dd";
    int start = 0;
    int end = 0;
    FindNextToken(text, 0, 2, ';', 2, start, end);
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 8);
    FindNextToken(text, 3, 4, ';', 11, start, end);
    EXPECT_EQ(start, 11);
    EXPECT_EQ(end, 11);
    FindNextToken(text, 2, 1, ';', 8, start, end);  // backwards: from the start
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 5);
    int s1, e1, s2, e2;
    FindTokenPair(text, 1, 3, ';', s1, e1, s2, e2);
    EXPECT_EQ(s1, 3);
    EXPECT_EQ(e1, 5);
    EXPECT_EQ(s2, 9);
    EXPECT_EQ(e2, 11);
    const int indices[] = {0, 1, 3, 7};
    int positions[8];
    FindTokens(text, indices, 4, ';', positions);
    const int want[] = {0, 2, 3, 5, 9, 11, 11, 11};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(positions[k], want[k]) << k;
}

TEST(TokenFinderTest, ForEachTokenAndWord) {
    std::vector<TString> seen;
    ForEachToken(
        "x,,yz", ',', [](const TString& token, bool&, void* context) {
            static_cast<std::vector<TString>*>(context)->push_back(token);
        },
        &seen);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1], TString(""));
    EXPECT_EQ(seen[2], TString("yz"));
    seen.clear();
    ForEachToken(
        "a,b,c", ',', [](const TString& token, bool& stop, void* context) {
            static_cast<std::vector<TString>*>(context)->push_back(token);
            stop = token == TString("b");
        },
        &seen);
    EXPECT_EQ(seen.size(), 2u);

    bool flags[256] = {};
    flags[static_cast<unsigned char>(' ')] = true;
    flags[static_cast<unsigned char>('.')] = true;
    seen.clear();
    std::vector<int> separators;
    ForEachWord(
        "  hi there.", flags,
        [](const TString& word, bool&, void* context) { static_cast<std::vector<TString>*>(context)->push_back(word); },
        &seen, [](int position, bool&, void* context) { static_cast<std::vector<int>*>(context)->push_back(position); },
        &separators);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], TString("hi"));
    EXPECT_EQ(seen[1], TString("there"));
    EXPECT_EQ(separators, (std::vector<int>{0, 1, 4, 10}));
}

TEST(StackRoutinesTest, ContainsWord) {
    TEvalStack stack;
    const struct {
        const char* text;
        const char* word;
        bool want;
    } cases[] = {
        {"the cat sat", "cat", true}, {"concatenate", "cat", false}, {"cat", "cat", true},
        {"catcat (cat)", "cat", true}, {"cats", "cat", false},      {"a-cat", "cat", true},
        {"the cat", "", false},        {"", "cat", false},          {"xcat_cat", "cat", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ContainsWord(stack, c.text, c.word), c.want) << c.text << "/" << c.word;
    EXPECT_FALSE(ContainsWord(stack, nullptr, "cat"));
    EXPECT_FALSE(ContainsWord(stack, "cat", nullptr));
}

TEST(StackRoutinesTest, IntToBaseText) {
    const struct {
        int64_t value;
        int base;
        const char* want;
    } cases[] = {
        {255, 16, "ff"},
        {-10, 2, "-1010"},
        {0, 10, ""},
        {16, 16, "10"},
        {35, 36, "z"},
        {36, 37, "{"},
        {INT64_MAX, 10, "9223372036854775807"},
        {INT64_MIN, 10, "-9223372036854775808"},
        {INT64_MIN, 2, "-1000000000000000000000000000000000000000000000000000000000000000"},
        {-1, 16, "-1"},
        {UINT32_MAX, 3, "102002022201221111210"},
        {5, 1, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(IntToBaseText(c.value, c.base), TString(c.want)) << c.value << " " << c.base;
}

TEST(StackRoutinesTest, MapCharsOnto) {
    TEvalStack stack;
    TString source("abc");
    TString chars("xy");
    EXPRESSION_ITEM first = MakeItem(ekBorrowedText);
    first.value.text.text = &source;
    EXPRESSION_ITEM second = MakeItem(ekBorrowedText);
    second.value.text.text = &chars;
    stack.Push(first, false);
    stack.Push(second, false);
    TString out;
    EXPRESSION_ITEM result = MakeItem(ekBorrowedText);
    result.value.text.text = &out;
    MapCharsOnto(stack, [](TString& text, char c) { text += c; }, result);
    EXPECT_EQ(out, TString("abcxy"));
    stack.Pop(2);
}

}  // namespace
