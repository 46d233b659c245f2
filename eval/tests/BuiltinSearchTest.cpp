// Tests of the search and test built-ins: occurrence positions, counts, prefixes, whole words, letter case and time stamps.
#include <gtest/gtest.h>

#include "BuiltinTestSupport.h"

namespace {

using builtin_test::BuiltinTest;

struct TIntegerCase {
    const char* expression;
    int64_t expected;
};

class BuiltinSearchTest : public BuiltinTest {};

TEST_F(BuiltinSearchTest, OccurrencePositions) {
    const TIntegerCase cases[] = {
        {"str_npos('a-b-c','-',1)", 3},
        {"str_npos('a-b-c','-',-1)", 3},
        {"str_npos('a-b-c','-',-2)", 1},
        {"str_npos('a-b-c','-',5)", 5},  // fewer occurrences: the length
        {"str_npos('a-b-c','-',-3)", 5},
        {"strnpos('aaaa','aa',1)", 2},  // occurrences do not overlap
        {"strnpos('aaaa','aa',2)", 4},
        {"str_npos('abc','',7)", 0},     // an empty text is found at once
        {"str_npos('abc','',-1)", 3},
        {"str_npos('abc','b',2147483647)", 3},
        {"str_npos('abc','b',-2147483648)", 3},
        {"nstrpos('abcabc',1,'abc',0)", 3},
        {"nstrendpos('abcabc',1,'abc',0)", 5},
        {"nstrpos('abcabc',1,'abc',-1)", -1},
        {"nstrpos('abcabc',0,'abc',1)", 3},
        {"nstrpos('abcabc',0,'abc',2)", -1},
        {"nstrpos('abcabc',6,'c',0)", -1},  // from outside the text
        {"nstrpos('abcabc',-1,'a',0)", -1},
        {"nstrpos('abc',1,'',5)", 1},
        {"nstrpos('abcabc',0,'b',2147483647)", -1},
        {"strendpos('hello','ll')", 3},
        {"str_end_pos('hello','xyz')", -1},
        {"strendpos('hello','')", -1},
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinSearchTest, CountsAndTests) {
    const TIntegerCase cases[] = {
        {"str_cnt('abcabc','bc')", 2},
        {"strcnt('aaaa','aa')", 2},
        {"strcnt('abc','')", 0},
        {"str_lev_dist('kitten','sitting')", 3},
        {"strlev('','abc')", 3},
        {"isof('','xyz')", 1},
        {"isof('abba','ab')", 1},
        {"isof('abc','ab')", 0},
        {"str_begins('hello','he')", 1},
        {"strbegins('he','hello')", 0},  // longer than the text
        {"str_begins('hello','')", 1},
        {"str_ends('hello','llo')", 1},
        {"strends('hello','hel')", 0},
        {"strends('lo','hello')", 0},
        {"isupper('ABC 1')", 1},
        {"isupper('AbC')", 0},
        {"isupper('12')", 0},  // no letter
        {"islower('abc!')", 1},
        {"islower('aBc')", 0},
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
}

// Whole words are cut at the fixed separators, whatever the stack's custom
// word separators are at the time.
TEST_F(BuiltinSearchTest, WholeWordsUseTheFixedSeparators) {
    const TIntegerCase cases[] = {
        {"strwcont('one two','tw')", 0},
        {"strwcont('one two','two')", 1},
        {"strwcont('one,two','one')", 1},
        {"strwcont('concatenate','cat')", 0},
        {"strwcont('cat2 cat','cat')", 1},  // the first occurrence is rejected, the second counts
        {"strwcont('one two','')", 0},      // an empty word: 0, and the search ends
        {"strwcont('','')", 0},
    };
    stack.ClearWordSeparators();
    stack.SetWordSeparator('w', true);
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinSearchTest, TimeStampsCompareFieldByField) {
    const TIntegerCase cases[] = {
        {"time_cmp('9:05','10:00')", -1},
        {"time_cmp('10:00','9:05')", 1},
        {"time_cmp('2024.01.05','2024.01.05')", 0},
        {"time_cmp('12:30','12:30:15')", 0},  // over the common fields
        {"time_cmp('2024.1.5','2024.01.05')", 0},
        {"time_cmp('12::30','12:5:30')", -1},  // an empty field counts and reads 0
        {"time_cmp('','1')", 0},
        {"time_cmp('x:1','0:2')", -1},         // a field that is no number reads 0
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
}

// strgetword computes what str_word computes with the same arguments.
TEST_F(BuiltinSearchTest, StrGetWordIsTheWordFunction) {
    EXPECT_EQ(Text("strgetword(' one, two',1)"), "two");
    EXPECT_EQ(Text("strgetword(' one, two',-2)"), "one");
    EXPECT_EQ(Text("strgetword('ABC',0)"), "ABC");
    EXPECT_EQ(Text("strgetword('abc',3)"), "");
}

}  // namespace
