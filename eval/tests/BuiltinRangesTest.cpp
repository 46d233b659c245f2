// Tests of the built-ins that evaluate a sub-expression over ranges, points, tokens, words and array elements.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BuiltinCall.h"
#include "BuiltinTestSupport.h"

namespace {

using builtin_test::BuiltinTest;

struct TIntegerCase {
    const char* expression;
    int64_t expected;
};

struct TRealCase {
    const char* expression;
    double expected;
};

struct TTextCase {
    const char* expression;
    const char* expected;
};

// Every call must leave the variable list as long as it found it.
class BuiltinRangesTest : public BuiltinTest {
protected:
    void SetUp() override {
        list.NewInt("k", false, 5);
        list.NewString("s", false, "a|b|c");
        list.NewArray("ints", vtInt, false);
        list.NewArray("other", vtInt, false);
        list.NewArray("texts", vtString, false);
        list.NewArray("reals", vtDouble, false);
    }
    int64_t CheckedInteger(const std::string& text) {
        const int before = list.GetCount();
        const int64_t value = Integer(text);
        EXPECT_EQ(list.GetCount(), before) << text;
        return value;
    }
    double CheckedReal(const std::string& text) {
        const int before = list.GetCount();
        const double value = Real(text);
        EXPECT_EQ(list.GetCount(), before) << text;
        return value;
    }
    std::string CheckedText(const std::string& text) {
        const int before = list.GetCount();
        std::string value = Text(text);
        EXPECT_EQ(list.GetCount(), before) << text;
        return value;
    }
    void FillInts(const char* name, const std::vector<int64_t>& values) {
        TVariable& array = *list.GetVar(name);
        array.Resize(static_cast<int>(values.size()), false);
        for (size_t k = 0; k < values.size(); ++k) *static_cast<int64_t*>(array.GetItem(static_cast<int>(k))) = values[k];
    }
    std::vector<int64_t> Ints(const char* name) {
        const TVariable& array = *list.GetVar(name);
        std::vector<int64_t> values;
        for (int k = 0; k < array.value.a.count; ++k) values.push_back(*static_cast<int64_t*>(array.GetItem(k)));
        return values;
    }
};

TEST_F(BuiltinRangesTest, SumsAndProductsOverIntegers) {
    const TIntegerCase cases[] = {
        {"summa(1,4,[[i]])", 10},
        {"summa(3,1,[[i]])", 0},
        {"product(1,5,[[i]])", 120},
        {"product(3,1,[[i]])", 1},
        {"summa(1,4,[[i*1.5]])", 0},  // real results are skipped
        {"summa(1,3,[[i*k]])", 30},   // a variable before the temporaries
        {"summa(1,3,[[summa(1,i,[[i]])]])", 10},  // the inner i hides the outer one
        {"summa(9223372036854775806,9223372036854775807,[[1]])", 2},  // ends at the largest integer
        {"summa(1,2,[[9223372036854775807]])", -2},                   // wraps
        {"product(1,2,[[4294967296]])", 0},
        {"summa(1,10,[[i+=1]])", 2 + 4 + 6 + 8 + 10},  // assigning i moves the loop
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(CheckedInteger(c.expression), c.expected) << c.expression;
    EXPECT_EQ(Run("summa(1,4,i)").kind, ekNone);  // the expression must be a sub-expression
}

TEST_F(BuiltinRangesTest, SubExpressionThatGrowsTheStack) {
    // 40 operands are pushed before the first addition, beyond the stack's first 32 places.
    std::string deep = "1";
    for (int k = 0; k < 39; ++k) deep = "1+(" + deep + ")";
    EXPECT_EQ(CheckedInteger("summa(1,2,[[" + deep + "]])"), 80);
    EXPECT_EQ(CheckedText("str_iota(2,[[strcond(" + deep + ",'x','y')]])"), "xx");
}

TEST_F(BuiltinRangesTest, SumsAndProductsOverPoints) {
    const TRealCase cases[] = {
        {"dsumma(0,1,3,[[d]])", 1.5},  // 0, 0.5 and 1
        {"dsumma(0,1,2,[[d]])", 1.0},  // both ends, each once
        {"dsumma(2,9,1,[[d]])", 2.0},  // one point: the start
        {"dsumma(0,1,0,[[d]])", 0.0},
        {"dsumma(0,1,-5,[[d]])", 0.0},
        {"dproduct(1,3,3,[[d]])", 6.0},
        {"dproduct(1,3,0,[[d]])", 1.0},
        {"dsumma(0,1,3,[[i]])", 0.0},      // integer results are skipped
        {"dsumma(0,1,3,[[i*1.0]])", 3.0},  // i counts the points from 0
    };
    for (const TRealCase& c : cases) EXPECT_DOUBLE_EQ(CheckedReal(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinRangesTest, QuantifiersOverTokensAndWords) {
    const TIntegerCase cases[] = {
        {"str_any_tok('1|2|3','',[[token=='2']])", 1},
        {"str_any_tok('1|3','|',[[token=='2']])", 0},
        {"stranytok('a,b',',',[[token=='b']])", 1},
        {"str_all_tok('a,b',',',[[strlen(token)==1]])", 1},
        {"str_all_tok('a,bb',',',[[strlen(token)==1]])", 0},
        {"str_none_tok('a|b','',[[token=='b']])", 0},
        {"str_none_tok('a|b','',[[token=='c']])", 1},
        {"str_any_tok('','',[[1]])", 0},
        {"str_all_tok('','',[[0]])", 1},
        {"str_none_tok('','',[[1]])", 1},
        {"str_any_tok('a|b','',[[2]])", 0},  // only the integer 1 decides
        {"str_all_tok('a|b','',[[2]])", 1},
        {"str_any_tok('a|b|c','',[[tx==2&&token=='c']])", 1},
        {"str_any_tok('a|','',[[token=='']])", 0},   // a final empty token is not visited
        {"str_any_tok('a||b','',[[token=='']])", 1},  // an inner one is
        {"str_any_tok(s,'',[[(s=token)=='c']])", 1},  // the walked variable changes under the walk
        {"str_any_word('',[[1]])", 0},
        {"str_all_word('',[[0]])", 1},
        {"str_none_word('  ',[[1]])", 1},
        {"str_any_word('ab, cd',[[word=='cd'&&wx==1]])", 1},
        {"str_all_word('ab cd',[[strlen(word)==2]])", 1},
        {"str_all_word('ab c',[[strlen(word)==2]])", 0},
        {"str_none_word('ab cd',[[word=='cd']])", 0},
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(CheckedInteger(c.expression), c.expected) << c.expression;
    EXPECT_STREQ(list.GetVar("s")->value.s->c_str(), "c");
}

TEST_F(BuiltinRangesTest, TextsBuiltFromResults) {
    const TTextCase cases[] = {
        {"str_iota(3,[['x']])", "xxx"},
        {"str_iota(0,[['x']])", ""},
        {"str_iota(4,[[strmul('a',cx)]])", "aaaaaa"},  // cx runs 0..3
        {"str_iota(2,[[1]])", ""},
        {"str_token_convert('a|b|c','',[[strupper(token)]])", "A|B|C"},
        {"strtconv('a;b',';',[[strmul(token,tx+1)]])", "a;bb"},
        {"str_token_convert('a|b','',[[1]])", "|"},  // non-text results leave empty places
        {"str_token_convert('','',[[token]])", ""},
        {"str_token_convert(s,'',[[s=strupper(token)]])", "A|B|C"},
        {"str_word_convert('ab, cd!',[[strupper(word)]])", "AB, CD!"},
        {"strwconv(' ab  cd ',[[strmul(word,wx+1)]])", " ab  cdcd "},
        {"str_word_convert('ab, cd',[[1]])", ", "},
    };
    for (const TTextCase& c : cases) EXPECT_EQ(CheckedText(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinRangesTest, TextLongerThanTheLimitIsEmpty) {
    const int part = static_cast<int>(kMaxBuiltinTextLength / 4);
    list.NewString("big", false, TString(std::string(static_cast<size_t>(part), 'a').c_str()));
    EXPECT_EQ(CheckedText("str_iota(4,[[big]])").size(), static_cast<size_t>(kMaxBuiltinTextLength));
    EXPECT_EQ(CheckedText("str_iota(5,[[big]])"), "");
    EXPECT_EQ(CheckedText("str_token_convert('a|b|c|d|e','',[[big]])"), "");
    EXPECT_EQ(CheckedText("str_word_convert('a b c d e',[[big]])"), "");
}

TEST_F(BuiltinRangesTest, ArrayConvert) {
    FillInts("ints", {1, 2, 3});
    EXPECT_EQ(CheckedInteger("array_convert(ints,[[item*=2]])"), 3);
    EXPECT_EQ(Ints("ints"), (std::vector<int64_t>{2, 4, 6}));
    TVariable& texts = *list.GetVar("texts");
    texts.Resize(2, false);
    *static_cast<TString*>(texts.GetItem(0)) = "ab";
    *static_cast<TString*>(texts.GetItem(1)) = "c";
    EXPECT_EQ(CheckedInteger("aconvert(texts,[[item=strupper(item)]])"), 2);
    EXPECT_STREQ(static_cast<TString*>(texts.GetItem(0))->c_str(), "AB");
    EXPECT_STREQ(static_cast<TString*>(texts.GetItem(1))->c_str(), "C");
    EXPECT_EQ(CheckedInteger("array_convert(other,[[item=1]])"), 0);  // empty array
}

TEST_F(BuiltinRangesTest, ArrayFilterInPlaceAndIntoAnotherArray) {
    FillInts("ints", {1, 0, 2});
    EXPECT_EQ(CheckedInteger("array_filter(ints,ints,[[item]])"), 1);
    EXPECT_EQ(Ints("ints"), (std::vector<int64_t>{1, 2}));

    FillInts("ints", {1, 0, 2, 3});
    FillInts("other", {9});
    EXPECT_EQ(CheckedInteger("afilt(ints,other,[[item>1]])"), 2);
    EXPECT_EQ(Ints("other"), (std::vector<int64_t>{9, 2, 3}));
    EXPECT_EQ(Ints("ints"), (std::vector<int64_t>{1, 0, 2, 3}));

    // Into another array any non-integer result rejects; in place only the integer 0 removes.
    EXPECT_EQ(CheckedInteger("array_filter(ints,other,[[1.5]])"), 4);
    EXPECT_EQ(CheckedInteger("array_filter(ints,ints,[[1.5]])"), 0);
    EXPECT_EQ(Ints("ints"), (std::vector<int64_t>{1, 0, 2, 3}));
    EXPECT_EQ(Run("array_filter(ints,texts,[[1]])").kind, ekNone);  // item types must agree
}

TEST_F(BuiltinRangesTest, SubExpressionThatShortensTheWalkedArray) {
    FillInts("ints", {1, 2, 3});
    EXPECT_EQ(CheckedInteger("array_filter(ints,ints,[[array_filter(ints,ints,[[0]])]])"), 0);
    EXPECT_TRUE(Ints("ints").empty());
    FillInts("ints", {1, 2, 3});
    EXPECT_EQ(CheckedInteger("array_convert(ints,[[array_filter(ints,ints,[[0]])]])"), 0);
    FillInts("ints", {1, 2, 3});
    FillInts("other", {});
    // The first element is appended as it was visited; the walk then finds no second one.
    EXPECT_EQ(CheckedInteger("array_filter(ints,other,[[array_filter(ints,ints,[[item==3]])]])"), 0);
    EXPECT_EQ(Ints("ints"), (std::vector<int64_t>{3}));
    EXPECT_EQ(Ints("other"), (std::vector<int64_t>{1}));
}

TEST_F(BuiltinRangesTest, StoredCallWithoutSubExpressionFails) {
    // summa(1, 4, 7) as a damaged stored expression would hold it.
    EXPRESSION e;
    e.count = 4;
    e.items = new EXPRESSION_ITEM[5];
    e.items[0] = MakeIntegerItem(1);
    e.items[1] = MakeIntegerItem(4);
    e.items[2] = MakeIntegerItem(7);
    e.items[3] = MakeItem(ekBuiltinFunction);
    e.items[3].value.code.index = 123;
    e.items[4] = MakeItem(ekNone);
    const int before = list.GetCount();
    const EXPRVALUE value = EvaluateExpression(list, e, stack, false, nullptr);
    EXPECT_EQ(value.kind, ekError);
    EXPECT_EQ(EvaluateErrorCode, eeWrongArgumentType);
    EXPECT_EQ(list.GetCount(), before);
    ExpectCleanStack("summa(1,4,7)");
    FreeExpression(e);
}

TEST_F(BuiltinRangesTest, ArrayCalcGivesZero) {
    FillInts("ints", {1, 2});
    EXPECT_EQ(CheckedInteger("array_calc(ints,[[1]],[[2]])"), 0);
}

}  // namespace
