// Tests of the variadic list functions (numbers, membership, print, tokens, joins, substring tests, rand, running extremes, parse, strformat) and of drand.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

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

struct TRealCase {
    const char* expression;
    double expected;
};

class ListFunctionsTest : public BuiltinTest {
protected:
    void SetUp() override {
        list.NewInt("i", false, 5);
        list.NewInt("j", false, 0);
        list.NewDouble("d", false, 0.5);
        list.NewDouble("nan", false, std::nan(""));
        list.NewString("s", false, "");
        list.NewString("t", false, "");
        list.NewPoint("p", false);
        list.NewComplex("c", false);
        list.NewString("sep", false, ",");
        list.NewArray("texts", vtString, false);
    }
    TVariable& Var(const char* name) { return *list.GetVar(name); }
    // Compiles text once and evaluates it count times: every compilation
    // makes an evaluation stack, which re-seeds the shared generator from the
    // clock, so draws must come from one compiled expression.
    std::vector<EXPRVALUE> Draws(const std::string& text, int count, uint32_t seed = 0) {
        EXPRESSION e = CreateExpression(list, text.c_str());
        EXPECT_GE(e.count, 0) << text;
        if (seed != 0) stack.FirstRandom().Seed(seed);
        std::vector<EXPRVALUE> values;
        for (int k = 0; k < count && e.count >= 0; ++k) {
            values.push_back(EvaluateExpression(list, e, stack, false, nullptr));
            ExpectCleanStack(text);
        }
        FreeExpression(e);
        return values;
    }
    std::set<int64_t> DrawnIntegers(const std::string& text, int count) {
        std::set<int64_t> drawn;
        for (const EXPRVALUE& v : Draws(text, count)) {
            EXPECT_EQ(v.kind, ekInteger) << text;
            drawn.insert(v.value.integer);
        }
        return drawn;
    }
    std::string TextOf(const char* name) { return Var(name).value.s->c_str(); }
};

TEST_F(ListFunctionsTest, NumericAggregates) {
    const TIntegerCase integers[] = {
        {"min(4294967301)", 5},  // the low 32 bits of 2^32+5
        {"min(3,1,2)", 1},
        {"min(2.9,5)", 2},
        {"max(-1,-7)", -1},
        {"max(4294967296)", 0},
        {"max(-2147483649)", 2147483647},
        {"ave(1,2)", 1},
        {"ave(-1,-2)", -1},  // truncated toward zero
        {"ave(2147483647,1)", -1073741824},  // the 32-bit sum wraps
        {"ave(7)", 7},
        {"mid(4,1,3,2)", 3},  // the upper of the two middle values
        {"mid(5)", 5},
        {"mid(4294967297,0,3)", 1},
        {"sum(2.9,1)", 3},
        {"sum(9223372036854775807,1)", INT64_MIN},  // wraps without overflow
        {"sum(-4)", -4},
    };
    for (const TIntegerCase& c : integers) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
    const TRealCase reals[] = {
        {"dmax(-5.5,-3.25)", -3.25}, {"dmin(1.5,2)", 1.5},       {"dmin(nan,3)", 3.0},
        {"dave(1,2)", 1.5},          {"dmid(0.5,2.5,1.5)", 1.5}, {"dmid(nan,1,2,3)", 3.0},  // NaN sorts last
        {"dsum(0.5,1)", 1.5},        {"dsum(2)", 2.0},
    };
    for (const TRealCase& c : reals) EXPECT_EQ(Real(c.expression), c.expected) << c.expression;
    EXPECT_EQ(Real("dmin(nan)"), DBL_MAX);
    EXPECT_EQ(Real("dmax(nan)"), -DBL_MAX);
}

TEST_F(ListFunctionsTest, Membership) {
    const TIntegerCase cases[] = {
        {"s_item('b','a','b')", 1},
        {"s_item('b')", 0},
        {"s_item('b','B')", 0},
        {"n_item(2,1.0,2)", 1},
        {"n_item(1,1.0)", 1},  // compared by value, not by stored bits
        {"n_item(1.0,1)", 1},
        {"n_item(1.5,1)", 0},
        {"n_item(2,3)", 0},
        {"n_item(2)", 0},
        {"n_item(4294967298,2)", 1},  // the first integer counts by its low 32 bits
        {"n_item(2.0,4294967298)", 0},
        {"n_item(nan,nan)", 0},
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
}

TEST_F(ListFunctionsTest, PrintWritesEveryArgumentAndANewline) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(Integer("print(1,2.5,'x',pnt(1,-2),cmplx(1.5,-2),s)"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "12.500000x(1, -2)(1.500000, -2.000000)\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Integer("print('')"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n");
}

TEST_F(ListFunctionsTest, StringAggregates) {
    const TTextCase cases[] = {
        {"ssum('a','b','c')", "abc"},
        {"smid('b','c','a')", "b"},
        {"smid('b','a')", "b"},
        {"strcat('-','x')", "x"},
        {"strcat('-')", ""},
        {"strcat('-','a','b','c')", "a-b-c"},
        {"strcat('','a','b')", "ab"},
        {"strwcat('ab',4,'cd',-4)", "ab    cd"},
        {"strwcat('abc',2)", "abc"},  // never cut
        {"strwcat('ab',0)", "ab"},
        {"strwcat('ab',4.0,'cd',3)", "cd "},  // a real width skips its pair
        {"strwcat('ab',4,'cd')", "ab  "},      // a lone last argument is skipped
        {"strwcat(5,3,'x',-2)", " x"},
        {"strwcat('ab',-2147483648)", ""},     // beyond the result limit
        {"strwcat('ab',4294967299)", "ab "},   // the low 32 bits are the width
        {"strbtw('key=[v];','[',']')", "v"},
        {"strbtw('key=[v;','[',']')", ""},
        {"strbtw('[]','[',']')", ""},
        {"strbtw('a<b>c<d>','<','>')", "b"},
        {"strbtw('abc','x','c')", ""},
        {"strbtw('a[b]','[',']','x')", ""},  // four arguments
    };
    for (const TTextCase& c : cases) EXPECT_EQ(Text(c.expression), c.expected) << c.expression;
}

TEST_F(ListFunctionsTest, SubstringTests) {
    const TIntegerCase cases[] = {
        {"strall('abc','a','c')", 1}, {"strall('abc','a','x')", 0}, {"strall('abc')", 1},
        {"strall('abc','')", 1},      {"strany('abc','x','b')", 1}, {"strany('abc','x')", 0},
        {"strany('abc')", 0},         {"strnone('abc','x','y')", 1}, {"strnone('abc','x','a')", 0},
        {"strnone('abc')", 1},
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
}

TEST_F(ListFunctionsTest, TokenPicking) {
    const TTextCase cases[] = {
        {"strmtok('a|b|c','|',2,0,7)", "c|a"},  // 7 is out of range
        {"strmtok('|b|c','|',0,2)", "|c"},      // an empty picked token keeps its separator
        {"strmtok('a,b,c',',',1)", "b"},
        {"strmtok('a,b,c',sep,2,1)", "c,b"},
        {"strmtok('a,b|c',str_lower(sep),1)", "c"},  // a computed separator means |
        {"strmtok('a|b|c','',1)", "b"},
        {"strmtok(12345,'|',0)", "12345"},  // a number in its text form
        {"strmtok('a|b','|',1.0,-1,2)", ""},  // reals and indices out of range are skipped
        {"strmtok('a|b','|')", ""},
        {"strtokf('a|bb|c','|',' ',3,-3)", "a  | bb|c"},
        {"strtokf('a|bb|c','|','.',-3)", "..a|bb|c"},
        {"strtokf('a','|',' ',2,2)", "a |  "},  // missing tokens are empty
        {"strtokf('abc','|',' ',1)", "abc"},
        {"strtokf('a|b','|',' ')", "a|b"},
        {"strtokf('a|b',5,' ',1)", "a|b"},
        {"strtokf(5,'|',' ',1)", ""},
        {"strtokf('a;b','','',-4)", " a;b"},
        {"strtokf('a','|',' ',2147483647)", ""},  // beyond the result limit
        {"strtokf('a','|',' ',-9223372036854775807-1)", ""},
    };
    for (const TTextCase& c : cases) EXPECT_EQ(Text(c.expression), c.expected) << c.expression;
}

TEST_F(ListFunctionsTest, GetTokensStoresByVariableType) {
    EXPECT_EQ(Integer("gettokens('7|2.5|{3,4}|{1.5,-2}|word','|',i,d,p,c,s)"), 5);
    EXPECT_EQ(Var("i").value.i, 7);
    EXPECT_EQ(Var("d").value.d, 2.5);
    EXPECT_EQ(Var("p").value.p.x, 3);
    EXPECT_EQ(Var("p").value.p.y, 4);
    EXPECT_EQ(Var("c").value.c.re, 1.5);
    EXPECT_EQ(Var("c").value.c.im, -2.0);
    EXPECT_EQ(TextOf("s"), "word");
    EXPECT_EQ(Integer("gettokens('a|b|c','|',s)"), 1);
    EXPECT_EQ(TextOf("s"), "a");
    EXPECT_EQ(Integer("gettokens('x,y',',',t,5,s)"), 2);  // 5 names no variable
    EXPECT_EQ(TextOf("t"), "x");
    EXPECT_EQ(TextOf("s"), "a");
    EXPECT_EQ(Integer("gettokens('}1,{|{5,6}','|',p,texts)"), 2);  // braces out of order; an array is left alone
    EXPECT_EQ(Var("p").value.p.x, 3);
    EXPECT_EQ(Integer("gettokens('x','|')"), 0);
    EXPECT_EQ(Integer("gettokens(5,'|',s)"), 0);
    EXPECT_EQ(Integer("gettokens('','|',s)"), 0);
    // The text is walked as it was, although its variable is a target.
    *Var("s").value.s = "one,two";
    EXPECT_EQ(Integer("gettokens(s,',',s,t)"), 2);
    EXPECT_EQ(TextOf("s"), "one");
    EXPECT_EQ(TextOf("t"), "two");
}

TEST_F(ListFunctionsTest, RandomPicksFromTheRanges) {
    for (const char* nothing : {"rand(0)", "rand(-1)", "rand(5,1)", "rand('x')"})  // -1 and 5,1 leave no value
        EXPECT_EQ(DrawnIntegers(nothing, 20), (std::set<int64_t>{0})) << nothing;
    EXPECT_EQ(DrawnIntegers("rand(1,6,99)", 400), (std::set<int64_t>{1, 2, 3, 4, 5, 6}));  // the lone 99 is ignored
    EXPECT_EQ(DrawnIntegers("rand(1,3,10,11)", 400), (std::set<int64_t>{1, 2, 3, 10, 11}));
    EXPECT_EQ(DrawnIntegers("rand(2,1,7,7)", 20), (std::set<int64_t>{7}));
    EXPECT_EQ(DrawnIntegers("rand(-3)", 100), (std::set<int64_t>{0, 1}));  // below -1 the remainder keeps r's sign
    // The whole 32-bit range: a total of 2^32 neither overflows nor leaves a half out.
    std::set<int64_t> signs;
    for (int64_t w : DrawnIntegers("rand(-2147483648,2147483647)", 200)) {
        EXPECT_GE(w, INT32_MIN);
        EXPECT_LE(w, INT32_MAX);
        signs.insert(w < 0 ? -1 : 1);
    }
    EXPECT_EQ(signs.size(), 2u);
    // The draw is the first generator's next output taken unsigned: the first
    // MT19937 output of seed 5489 is 3499211612.
    const std::vector<EXPRVALUE> seeded = Draws("rand(4294967295)", 1, 5489);
    ASSERT_EQ(seeded.size(), 1u);
    EXPECT_EQ(seeded[0].value.integer, 3499211612);
}

TEST_F(ListFunctionsTest, DrandScalesTheSecondGeneratorByTwoToTheMinus32) {
    EXPRESSION e = CreateExpression(list, "drand()");
    ASSERT_GE(e.count, 0);
    stack.SecondRandom().Seed(5489);
    const EXPRVALUE first = EvaluateExpression(list, e, stack, false, nullptr);
    EXPECT_EQ(first.kind, ekReal);
    EXPECT_EQ(first.value.real, 3499211612.0 / 4294967296.0);
    for (int k = 0; k < 200; ++k) {
        const double r = EvaluateExpression(list, e, stack, false, nullptr).value.real;
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 1.0);
    }
    FreeExpression(e);
}

TEST_F(ListFunctionsTest, RunningExtremesUpdateMatchingVariables) {
    EXPECT_EQ(Integer("getmin(3,i)"), 1);
    EXPECT_EQ(Var("i").value.i, 3);
    EXPECT_EQ(Integer("getmin(7,i)"), 1);
    EXPECT_EQ(Var("i").value.i, 3);
    EXPECT_EQ(Integer("getmax(9,i,2.5,d)"), 2);
    EXPECT_EQ(Var("i").value.i, 9);
    EXPECT_EQ(Var("d").value.d, 2.5);
    EXPECT_EQ(Integer("getmax(1.0,d)"), 1);
    EXPECT_EQ(Var("d").value.d, 2.5);
    EXPECT_EQ(Integer("getmin(1.0,i,1,d,0,4,3)"), 3);  // mismatched types and a non-variable change nothing
    EXPECT_EQ(Var("i").value.i, 9);
    EXPECT_EQ(Var("d").value.d, 2.5);
    EXPECT_EQ(Integer("getmin(nan,d)"), 1);  // NaN is not greater or equal, so it is taken
    EXPECT_TRUE(std::isnan(Var("d").value.d));
}

struct TParseCase {
    const char* expression;
    int64_t expected;
    int64_t i;
    double d;
    const char* s;
};

TEST_F(ListFunctionsTest, ParseStoresFieldsUntilTheMatchFails) {
    const TParseCase cases[] = {
        {"parse('x=12;y=ab','x=%;y=$',i,s)", 2, 12, 0.5, "ab"},
        {"parse('12x','%y',i)", 0, 5, 0.5, ""},  // the stop character never comes
        {"parse('a7','a%',i)", 1, 7, 0.5, ""},
        {"parse('-5','%',d)", 1, 5, -5.0, ""},
        {"parse('3.75','#',i)", 1, 3, 0.5, ""},
        {"parse('3.75','#',d)", 1, 5, 3.75, ""},
        {"parse('1.2.3','#',d)", 0, 5, 0.5, ""},
        {"parse('5-','%',i)", 0, 5, 0.5, ""},
        {"parse('12','%',s)", 0, 5, 0.5, ""},
        {"parse('ab','%',i)", 0, 5, 0.5, ""},
        {"parse('ab:cd','?:$',s)", 1, 5, 0.5, "cd"},
        {"parse('ab:cd','?:$',5)", 0, 5, 0.5, ""},
        {"parse('ab:cd','$:$',s)", -1, 5, 0.5, "ab"},  // no variable for the second field
        {"parse('1:x','%:%',i,j)", -1, 1, 0.5, ""},
        {"parse('12;','%',i)", 0, 5, 0.5, ""},
        {"parse('ab','ab',i)", 0, 5, 0.5, ""},
        {"parse('abc','ab',i)", 0, 5, 0.5, ""},
        {"parse('ab','?')", 0, 5, 0.5, ""},
        {"parse(1,'%',i)", 0, 5, 0.5, ""},
        {"parse('12','%%',i,j)", 0, 5, 0.5, ""},  // the stop character % never comes
        {"parse('9','%',i,j)", 1, 9, 0.5, ""},
    };
    for (const TParseCase& c : cases) {
        Var("i").value.i = 5;
        Var("d").value.d = 0.5;
        *Var("s").value.s = "";
        EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
        EXPECT_EQ(Var("i").value.i, c.i) << c.expression;
        EXPECT_EQ(Var("d").value.d, c.d) << c.expression;
        EXPECT_EQ(TextOf("s"), c.s) << c.expression;
    }
    // The text is walked as it was, although its variable receives a field.
    *Var("s").value.s = "ab|cd";
    EXPECT_EQ(Integer("parse(s,'$|$',s,t)"), 2);
    EXPECT_EQ(TextOf("s"), "ab");
    EXPECT_EQ(TextOf("t"), "cd");
}

TEST_F(ListFunctionsTest, StrFormatInsertsNumberedArguments) {
    *Var("s").value.s = "{0}";
    const TTextCase cases[] = {
        {"strformat('{1} and {0}','a','b')", "b and a"},
        {"strformat('{0}{0}','x')", "xx"},
        {"strformat('{0}-{5}','x')", "x-"},  // no argument: the placeholder vanishes
        {"strformat('a{b}{','x')", "a{b}{"},
        {"strformat('n={0}',42)", "n=42"},  // numbers in their text form
        {"strformat('{0}',2.5)", "2.500000"},
        {"strformat('{0}',pnt(1,2))", "(1, 2)"},
        {"strformat(s,'x')", "{0}"},  // not a literal: unchanged
        {"strformat('{0}{1}','','b')", "b"},
        {"strformat('{00}{01}','a','b')", "ab"},
    };
    for (const TTextCase& c : cases) EXPECT_EQ(Text(c.expression), c.expected) << c.expression;
}

// Every list function, called directly with arguments of mixed kinds: the
// check pass pushes one placeholder of its kind, the run pass one result.
TEST_F(ListFunctionsTest, EveryListFunctionReplacesItsArgumentsByOneItem) {
    ASSERT_EQ(VarFunctions().GetCount(), 29);
    for (int index = 0; index < VarFunctions().GetCount(); ++index) {
        const TVarFunction& f = *VarFunctions()[index];
        const TExpressionItemType expected = f.resultType == ekOwnedText ? ekBufferedText : f.resultType;
        for (bool check : {true, false}) {
            if (f.name == "print" && !check) testing::internal::CaptureStdout();
            EXPRESSION_ITEM text = MakeItem(ekOwnedText);
            text.value.text.text = new TString("a|b");
            stack.Push(text, false);
            stack.Push(MakeIntegerItem(1), false);
            stack.Push(MakeRealItem(0.5), false);
            EXPRESSION_ITEM call = MakeItem(ekListFunction);
            call.value.code.index = index;
            call.value.code.argumentCount = 3;
            EvaluateVarFunction(list, call, stack, check);
            if (f.name == "print" && !check) testing::internal::GetCapturedStdout();
            ASSERT_EQ(stack.GetCount(), 1) << f.name.c_str();
            EXPECT_EQ(stack.Top(0)->kind, expected) << f.name.c_str() << (check ? " check" : " run");
            stack.Pop(1);
            EXPECT_EQ(stack.GetLentStringCount(), 0) << f.name.c_str();
        }
    }
}

TEST_F(ListFunctionsTest, NamesSitAtTheirIndices) {
    const char* names[] = {"min",     "dmin",  "max",    "dmax",   "ave",    "dave",      "s_item", "n_item",
                           "print",   "strmtok", "mid",  "dmid",   "smid",   "sum",       "dsum",   "ssum",
                           "strtokf", "gettokens", "rand", "getmin", "getmax", "strbtw",  "strcat", "strwcat",
                           "strall",  "strany", "strnone", "parse", "strformat"};
    for (int index = 0; index < 29; ++index) EXPECT_EQ(VarFunctions().Find(names[index]), index) << names[index];
}

}  // namespace
