// Tests of the string-editing built-ins: characters, replacement, padding, cutting, inserting, deleting, digit groups, tabs and capitals.
#include <gtest/gtest.h>

#include <string>

#include "BuiltinTestSupport.h"

namespace {

using builtin_test::BuiltinTest;

struct TTextCase {
    const char* expression;
    std::string expected;
};

class BuiltinStringEditingTest : public BuiltinTest {
protected:
    void SetUp() override {
        list.NewString("high", false, "a\xE9\xFF");
        list.NewString("from", false, "\xE9\xFF" "a");
        list.NewString("to", false, "xyz");
        list.NewString("tabbed", false, "a\tb\tc");
        list.NewString("accented", false, "\xE1rv\xEDzt\xFB");
        list.NewString("words", false, "hello world");
        list.NewString("blank", false, " ");
    }
};

TEST_F(BuiltinStringEditingTest, Characters) {
    const std::pair<const char*, int64_t> cases[] = {
        {"strchar('abc',0)", 'a'},  {"str_char('abc',2)", 'c'}, {"strchar('abc',3)", 0},
        {"strchar('abc',-1)", 0},   {"strchar(high,1)", -23},   {"strchar(high,2)", -1},
        {"strchar('abc',1.9)", 'b'},  // a real index is converted, not read as stored bits
        {"strchar('abc',-2147483648)", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Integer(c.first), c.second) << c.first;
}

TEST_F(BuiltinStringEditingTest, TextResults) {
    const TTextCase cases[] = {
        {"str_replace('a-b-c','-','+')", "a+b+c"},
        {"str_replace('abc','','x')", "abc"},
        {"str_pad_right('ab','.',5)", "ab..."},
        {"strpadl('ab','.',5)", "...ab"},
        {"strpadr('ab','',4)", "ab  "},
        {"strpadr('abcdef','.',3)", "abcdef"},
        {"strpadr('ab','.',-3)", "ab"},
        {"strpadr('ab','.',2147483647)", ""},  // beyond the result limit
        {"str_noacc(accented)", "arviztu"},
        {"str_left('abcdef',2)", "ab"},
        {"strbeg('abcdef',2)", "ab"},
        {"str_left('abc',10)", "abc"},
        {"strbeg('abc',10)", "abc"},
        {"str_right('abcdef',2)", "ef"},
        {"strend('abcdef',2)", "ef"},
        {"str_right('abc',10)", "abc"},
        {"strend('abc',10)", "abc"},
        {"str_nums('1234567',3)", "1 234 567"},
        {"str_nums('123456',3)", "123 456"},
        {"str_nums('1234',2)", "12 34"},
        {"str_nums('1234',0)", ""},
        {"str_nums('1234',-3)", ""},
        {"str_nums('',3)", ""},
        {"str_char_replace('abc','ab','x')", "xbc"},
        {"strcrep('abca','aa','xy')", "ybcy"},  // a character listed twice takes its last partner
        {"str_insert('ab','XY',5)", "ab   XY"},
        {"str_insert('ab','XY',-4)", "XY  ab"},
        {"str_insert('ab','XY',-1)", "XYab"},
        {"strins('ab','XY',1)", "aXYb"},
        {"strins('ab','XY',2)", "abXY"},
        {"strins('ab','XY',-2147483648)", ""},  // beyond the result limit
        {"str_delete('abc',3,1)", ""},
        {"str_delete('abc',1,10)", "a"},
        {"strdel('abcd',1,2)", "ad"},
        {"strdel('abc',-1,1)", ""},
        {"tabs2spaces(tabbed,4)", "a   b   c"},
        {"t2s(tabbed,0)", "a   b   c"},
        {"t2s(tabbed,1)", "a b c"},
        {"tabs2chars(tabbed,2,'.')", "a.b.c"},
        {"t2c(tabbed,3,'')", "a  b  c"},
        {"t2s(tabbed,2147483647)", ""},  // beyond the result limit
        {"capitalize(words)", "Hello World"},
        {"capitalize('a-b')", "A-b"},
        {"capitalize(accented)", "\xC1rv\xEDzt\xFB"},
    };
    for (const TTextCase& c : cases) EXPECT_EQ(Text(c.expression), c.expected) << c.expression;
}

// Bytes above 127 index the character map by their unsigned value.
TEST_F(BuiltinStringEditingTest, BytesAboveOneHundredTwentySevenMapCleanly) {
    EXPECT_EQ(Text("str_char_replace(high,from,to)"), "z" "xy");
    EXPECT_EQ(Text("str_char_replace(from,from,to)"), "xyz");
    EXPECT_EQ(Text("strupper(high)"), "A\xC9\xFF");
}

// Negative counts cut nothing and never reach before the text.
TEST_F(BuiltinStringEditingTest, NegativeCountsAreClamped) {
    for (const char* name : {"str_left", "str_right", "strend", "strbeg"}) {
        for (const char* count : {"-1", "-2147483648", "0"}) {
            const std::string text = std::string(name) + "('abc'," + count + ")";
            EXPECT_EQ(Text(text), "") << text;
        }
    }
    EXPECT_EQ(Text("str_delete('abc',1,-1)"), "abc");
    EXPECT_EQ(Text("str_delete('abc',1,-2147483648)"), "abc");
    EXPECT_EQ(Text("str_delete('abc',0,0)"), "abc");
}

}  // namespace
