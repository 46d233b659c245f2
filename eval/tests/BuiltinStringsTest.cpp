// Tests of the string built-ins: measuring, comparing, cutting, converting, trimming, testing and tokens.
#include <gtest/gtest.h>

#include "BuiltinTestSupport.h"

namespace {

using builtin_test::BuiltinTest;

struct TTextCase {
    const char* expression;
    const char* expected;
};

struct TIntegerCase {
    const char* expression;
    int64_t expected;
};

class BuiltinStringsTest : public BuiltinTest {
protected:
    void SetUp() override {
        list.NewString("high", false, "\xE9t\xE9");  // bytes above 127 at both ends
        list.NewString("empty", false, "");
        list.NewString("kv", false, "key=value");
    }
};

TEST_F(BuiltinStringsTest, TextResults) {
    const TTextCase cases[] = {
        {"strupper('abC')", "ABC"},
        {"str_lower('AbC')", "abc"},
        {"strrev('abc')", "cba"},
        {"substr('abcdef',1,3)", "bcd"},
        {"substr('abcdef',4,-2)", "cd"},
        {"substr('abcdef',1,-3)", "a"},   // start clamped to 0, length cut to 1
        {"substr('abcdef',-2,4)", "ab"},  // a negative start with a length is clipped
        {"substr('abcdef',4,10)", "ef"},
        {"substr('abcdef',9,2)", ""},
        {"substr('abcdef',2147483647,2147483647)", ""},
        {"substr('abcdef',-2147483648,-2147483648)", ""},
        {"str_cat('ab','cd')", "abcd"},
        {"strmul('ab',3)", "ababab"},
        {"strmul('ab',0)", ""},
        {"strmul('ab',-2)", ""},
        {"strmul('ab',2.9)", "abab"},
        {"strmul('ab',1000000000000)", ""},  // beyond the result limit
        {"strfilter('abcabc','bc')", "aa"},
        {"str_prev(kv,'=')", "key"},
        {"str_next(kv,'=')", "value"},
        {"str_before(kv,':')", ""},
        {"str_after(kv,':')", ""},
        {"str_trim_right('xab','ba')", "x"},
        {"str_trim_right('xab','ab')", "xa"},
        {"str_trim_left('abx','ab')", "x"},
        {"str_trim('--x--','-')", "x"},
        {"strcond(0.5,'a','b')", "b"},
        {"strcond(4294967296,'a','b')", "a"},  // all 64 bits count
        {"strcond(0,'a','b')", "b"},
        {"psubstr('abcdef',1,3)", "bcd"},
        {"psubstr('abcdef',4,99)", "ef"},
        {"psubstr('abcdef',3,1)", ""},
        {"strtok('a|b|c','|',1)", "b"},
        {"strtok('a|b|c','|',-1)", "c"},
        {"strtok('a|b|c','|',3)", ""},
        {"strtok('a|b|c','',0)", "a"},
        {"strtok('a;b;c',';;',-3)", "a"},
        {"strtok('a;b;c',';',-2147483648)", ""},
    };
    for (const TTextCase& c : cases) EXPECT_EQ(Text(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinStringsTest, IntegerResults) {
    const TIntegerCase cases[] = {
        {"strlen('abc')", 3},
        {"str_len(empty)", 0},
        {"str_int('42')", 42},
        {"strcmp('a','b')", -1},
        {"strcmp('b','b')", 0},
        {"strcmp(high,'a')", 1},  // bytes compare unsigned
        {"strpos('abcabc','ca')", 2},
        {"strpos('abc','x')", -1},
        {"strcont('abc','bc')", 1},
        {"strcont('abc','')", 1},
        {"strcont('abc','x')", 0},
        {"isnumber('')", 1},
        {"isnumber('0123')", 1},
        {"isnumber('-5')", 0},
        {"is_number('1.5')", 0},
        {"strcheck('1203','0123456789')", 1},
        {"strcheck('12a3','0123456789')", 0},
        {"strcheck('','x')", 1},
        {"strlcheck('1203','0123456789',1,3)", 0},
        {"strlcheck('120','0123456789',1,3)", 1},
        {"strlcheck('','0123456789',1,3)", 0},
        {"strfirst(high)", -23},
        {"strlast(high)", -23},
        {"strfirst('A')", 65},
        {"strlast('AB')", 66},
        {"strfirst(empty)", 0},
        {"strlast(empty)", 0},
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
    EXPECT_EQ(Real("str_double('2.5')"), 2.5);
}

}  // namespace
