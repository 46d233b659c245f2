// Tests of the token and word built-ins: picking, removing, swapping, replacing, locating and counting, and spreading into arrays.
#include <gtest/gtest.h>

#include <string>

#include "BuiltinTestSupport.h"

namespace {

using builtin_test::BuiltinTest;

struct TTextCase {
    const char* expression;
    std::string expected;
};

struct TIntegerCase {
    const char* expression;
    int64_t expected;
};

class BuiltinTokensTest : public BuiltinTest {
protected:
    void SetUp() override {
        list.NewString("line", false, "a\t\"x y\"\t\"\"\tz");
        list.NewString("sep", false, ",");
        list.NewArray("ints", vtInt, false);
        list.NewArray("reals", vtDouble, false);
        list.NewArray("texts", vtString, false);
        list.NewArray("points", vtPoint, false);
    }
    TVariable& Array(const char* name) { return *list.GetVar(name); }
    int Count(const char* name) { return Array(name).value.a.count; }
    std::string TextItem(const char* name, int i) { return static_cast<TString*>(Array(name).GetItem(i))->c_str(); }
};

TEST_F(BuiltinTokensTest, PickingTokens) {
    const TTextCase cases[] = {
        {"str_tokn('a|b|c','|',1)", "b"},
        {"str_tokn('a|b|c','|',-1)", "c"},
        {"strtokn('a|b|c','|',5)", ""},
        {"str_tokn('a|b|c','|',-4)", ""},
        {"str_tokn('a;b','',0)", "a;b"},  // an empty separator means |
        {"xctok(line,1)", "x y"},
        {"xctok(line,2)", ""},  // two quotes alone are dropped too
        {"xctok(line,-1)", "z"},
        {"xctok(line,9)", ""},
        {"xctok('\"',0)", "\""},  // one character is never unquoted
        {"str_tok2('a|b|c','|',2,0)", "a|c"},
        {"strtok2('a|b|c','|',0,2)", "a|c"},
        {"str_tok2('a|b|c','|',1,1)", "b|b"},
        {"str_tok2('a|b|c','|',2,2)", "c|c"},  // the last token twice, the walk ends at the text
        {"str_tok2('a|b|c','|',2,9)", "c|"},
        {"str_tok2('a|b|c','|',-1,1)", "|b"},  // a negative index is a missing token
        {"str_tok2('','|',0,0)", "|"},
        {"str_tok3('a|b|c|d','|',3,0,1)", "a|b|d"},
        {"str_tok3('a|b|c','|',2,0,2)", "a|c"},  // duplicates dropped
        {"strtok3('a|b|c','|',1,1,1)", "b"},
        {"str_tok3('a|b|c','|',2,2,0)", "a|c"},
        {"str_tok3('a|b','|',1,5,7)", "b||"},
    };
    for (const TTextCase& c : cases) EXPECT_EQ(Text(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinTokensTest, EditingTokens) {
    const TTextCase cases[] = {
        {"strntok('a|b|c','|',0)", "b|c"},
        {"strntok('a|b|c','|',1)", "a|c"},
        {"strntok('a|b|c','|',2)", "a|b"},
        {"strntok('a|b|c','|',3)", "a|b|c"},  // no such token: a copy
        {"strntok('a|b|c','|',-1)", "a|b|c"},
        {"strntok('a|b|','|',2)", "a|b|"},    // an empty last token stays
        {"strntok('|b|c','|',1)", "|c"},      // the empty first token stays
        {"strntok('abc','|',0)", ""},
        {"strntok('a|b|c','|',1.9)", "a|c"},  // a real index is converted
        {"strntok('a,b,c',sep,1)", "a,c"},
        {"strntok('a,b|c',str_lower(sep),1)", "a,b"},  // a computed separator means |
        {"str_tok_xchg('a|b|c','|',0,2)", "c|b|a"},
        {"strtokxchg('aa|b|ccc','|',2,0)", "ccc|b|aa"},
        {"str_tok_xchg('a||c','|',1,2)", "a|c|"},
        {"str_tok_xchg('a|b|c','|',1,1)", "a|b|c"},
        {"str_tok_xchg('a|b|c','|',1,7)", "a|b|c"},  // past the end: a copy
        {"str_tok_xchg('a|b|c','|',2,3)", "a|b|c"},
        {"str_tok_xchg('a|b|c','|',-1,0)", "a|b|c"},
        {"str_set_token('a|b|c','|',-1,'Z')", "a|b|Z"},
        {"settok('a|b|c','|',0,'XY')", "XY|b|c"},
        {"settok('a|b|c','|',-3,'XY')", "XY|b|c"},
        {"settok('a||c','|',1,'Z')", "a|Z|c"},
        {"settok('a|b|','|',2,'Z')", "a|b|"},  // an empty last token cannot be replaced
        {"settok('a|b|c','|',3,'Z')", "a|b|c"},
        {"settok('a|b|c','|',-4,'Z')", "a|b|c"},
    };
    for (const TTextCase& c : cases) EXPECT_EQ(Text(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinTokensTest, LocatingAndCountingTokens) {
    const TIntegerCase cases[] = {
        {"str_token_pos('ab|cd|e','|',1)", 3},
        {"strtokpos('ab|cd|e','|',-1)", 6},
        {"strtokpos('ab|cd|e','|',-3)", 0},
        {"strtokpos('ab|cd|e','|',3)", 7},  // missing: the length
        {"strtokpos('ab|cd|e','|',-4)", 7},
        {"str_token_count('a|b|c','|')", 3},
        {"strtcount('a|b|','|')", 2},  // a final empty token is not counted
        {"strtcount('','|')", 0},
        {"strtcount('|','|')", 1},
        {"strtcount('a||b','')", 3},
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
}

// The default word functions cut at the 32 fixed separators even when the
// stack's custom set says otherwise; the _sep variants use their argument.
TEST_F(BuiltinTokensTest, Words) {
    stack.ClearWordSeparators();
    stack.SetWordSeparator('o', true);
    const TTextCase texts[] = {
        {"str_word(' one, two',1)", "two"},
        {"strword(' one, two',-1)", "two"},
        {"str_word(' one, two',-2)", "one"},
        {"str_word(' one, two',2)", ""},
        {"str_word(' one, two',-3)", ""},
        {"str_word('',0)", ""},
        {"str_word_sep('a1b22c','[:digit:]',1)", "b"},
        {"strwords('a1b22c','[:digit:]',-1)", "c"},
        {"strwords('a b','x',0)", "a b"},
        {"str_set_word('one two three',1,'2')", "one 2 three"},
        {"setword(' one ',0,'x')", " x "},
        {"setword('one two',-1,'x')", "one two"},  // a negative index never matches
        {"setword('one two',2,'x')", "one two"},
        {"strw2t('one two,three',';')", "one;two;three"},
        {"strw2t(',,a  b,,','')", "a|b"},
        {"strw2t(',;','')", ""},
    };
    for (const TTextCase& c : texts) EXPECT_EQ(Text(c.expression), c.expected) << c.expression;
    const TIntegerCase integers[] = {
        {"str_word_pos(' ab cd',1)", 4},
        {"strwordpos(' ab cd',9)", 6},
        {"strwordpos(' ab cd ',-1)", 4},
        {"strwordpos(' ab cd',-3)", 6},
        {"str_word_pos_sep('x1yy2z','[:digit:]',1)", 2},
        {"strwordposs('x1yy2z','12',-2)", 2},
        {"str_word_count(' one, two  three.')", 3},
        {"strwcount(', ;')", 0},
    };
    for (const TIntegerCase& c : integers) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinTokensTest, TokenizeFillsTheArrayByItemType) {
    EXPECT_EQ(Integer("tokenize('1,2,3','',ints)"), 3);  // an empty separator means the comma
    ASSERT_EQ(Count("ints"), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(*static_cast<int64_t*>(Array("ints").GetItem(i)), i + 1);
    EXPECT_EQ(Integer("tokenize('7;x','; ',ints)"), 2);
    ASSERT_EQ(Count("ints"), 2);
    EXPECT_EQ(*static_cast<int64_t*>(Array("ints").GetItem(1)), 0);  // not a number
    EXPECT_EQ(Integer("tokenize('1.5|-2','|',reals)"), 2);
    EXPECT_EQ(*static_cast<double*>(Array("reals").GetItem(0)), 1.5);
    EXPECT_EQ(*static_cast<double*>(Array("reals").GetItem(1)), -2.0);
    EXPECT_EQ(Integer("tokenize('a,,b',sep,texts)"), 3);
    EXPECT_EQ(TextItem("texts", 1), "");
    EXPECT_EQ(TextItem("texts", 2), "b");
    EXPECT_EQ(Integer("tokenize('p,q',',',points)"), 2);  // resized, items left alone
    EXPECT_EQ(Count("points"), 2);
    EXPECT_EQ(Integer("tokenize('',',',texts)"), 0);
    EXPECT_EQ(Count("texts"), 0);
}

TEST_F(BuiltinTokensTest, GetTokensAppendsTheVisitedTokens) {
    EXPECT_EQ(Integer("str_gettokens('a|b|','|',texts)"), 2);
    EXPECT_EQ(Integer("get_tokens('c;;d',';',texts)"), 3);
    ASSERT_EQ(Count("texts"), 5);
    const char* expected[] = {"a", "b", "c", "", "d"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(TextItem("texts", i), expected[i]) << i;
    EXPECT_EQ(Integer("str_gettokens('','|',texts)"), 0);
    EXPECT_EQ(Count("texts"), 5);
}

}  // namespace
