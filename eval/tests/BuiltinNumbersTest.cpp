// Tests of the built-ins on numbers and variables: intcond, dec, the rectangle sums and aif.
#include <gtest/gtest.h>

#include <string>

#include "BuiltinTestSupport.h"

namespace {

using builtin_test::BuiltinTest;

struct TIntegerCase {
    const char* expression;
    int64_t expected;
};

class BuiltinNumbersTest : public BuiltinTest {
protected:
    void SetUp() override {
        list.NewInt("v", false, 7);
        list.NewDouble("r", false, 0.25);
        list.NewString("s", false, "old");
        list.NewVar("p", vtPoint, false);
        // ints: 3 lines x 4 columns holding 10*line + column.
        list.NewArray2("ints", vtInt, false);
        TVariable& ints = *list.Last();
        ints.Resize(3, 4, false);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) *static_cast<int64_t*>(ints.GetItem(y, x)) = 10 * y + x;
        list.NewArray2("reals", vtDouble, false);
        TVariable& reals = *list.Last();
        reals.Resize(1, 2, false);
        *static_cast<double*>(reals.GetItem(0, 0)) = 1.75;
        *static_cast<double*>(reals.GetItem(0, 1)) = -2.5;
        list.NewArray2("texts", vtString, false);
        TVariable& texts = *list.Last();
        texts.Resize(1, 3, false);
        *static_cast<TString*>(texts.GetItem(0, 0)) = "12";
        *static_cast<TString*>(texts.GetItem(0, 1)) = "1.5";
        *static_cast<TString*>(texts.GetItem(0, 2)) = "x";
    }
};

TEST_F(BuiltinNumbersTest, ChoiceAndDigits) {
    const TIntegerCase cases[] = {
        {"intcond(0,5,7)", 7},
        {"intcond(2.5,5,7)", 5},
        {"int_cond(1,2.9,7)", 2},
        {"intcond(4294967296,1,2)", 1},  // all 64 bits of an integer condition count
        {"dec('ff',16)", 255},
        {"dec('FF',16)", 255},
        {"dec('101',2)", 5},
        {"dec('1-1',10)", 101},  // the minus counts as the digit 0
        {"dec('',10)", 0},
        {"dec('zz',36)", 1295},
        {"dec('9',2)", 9},  // digits are not compared with the base
        {"dec('10000000000000000000000',10)", 1864712049423024128},  // 10^22 wraps in 64 bits
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinNumbersTest, RectangleSums) {
    const TIntegerCase cases[] = {
        {"a_isum(ints,0,0,3,2)", 138},  // every item: 4*(0+10+20) + 3*(0+1+2+3)
        {"a_isum(ints,1,1,2,1)", 11 + 12},
        {"a_isum(ints,2,0,1,0)", 0},  // first column above the last
        {"a_isum(ints,0,2,0,1)", 0},
        {"a_isum(ints,2,1,9,9)", 12 + 13 + 22 + 23},  // partly outside
        {"a_isum(ints,-5,-5,0,0)", 0},
        {"a_isum(ints,-2147483648,-2147483648,2147483647,2147483647)", 138},  // huge bounds stay quick
        {"a_isum(ints,1.9,0,1,0)", 1},  // real bounds are truncated
        {"a_isum(reals,0,0,1,0)", 1 - 2},
        {"a_isum(texts,0,0,2,0)", 12},  // "1.5" and "x" are no whole numbers
    };
    for (const TIntegerCase& c : cases) EXPECT_EQ(Integer(c.expression), c.expected) << c.expression;
    EXPECT_DOUBLE_EQ(Real("a_dsum(ints,0,0,1,1)"), 0 + 1 + 10 + 11);
    EXPECT_DOUBLE_EQ(Real("a_dsum(reals,0,0,1,0)"), -0.75);
    EXPECT_DOUBLE_EQ(Real("a_dsum(texts,0,0,2,0)"), 13.5);
    EXPECT_DOUBLE_EQ(Real("a_dsum(texts,5,5,1,1)"), 0.0);
}

TEST_F(BuiltinNumbersTest, ConditionalAssignment) {
    TVariable& v = *list.GetVar("v");
    TVariable& r = *list.GetVar("r");
    TVariable& s = *list.GetVar("s");
    EXPECT_EQ(Integer("aif(1,v,2.9)"), 1);
    EXPECT_EQ(v.value.i, 2);
    EXPECT_EQ(Integer("aif(1.0,v,5)"), 0);  // a real condition does nothing
    EXPECT_EQ(Integer("aif(0,v,5)"), 0);
    EXPECT_EQ(v.value.i, 2);
    EXPECT_EQ(Integer("aif(-1,v,'17')"), 1);
    EXPECT_EQ(v.value.i, 17);
    EXPECT_EQ(Integer("aif(1,v,strupper('9'))"), 1);  // a text lent by the stack
    EXPECT_EQ(v.value.i, 9);
    EXPECT_EQ(Integer("aif(1,v,'x')"), 1);
    EXPECT_EQ(v.value.i, 0);
    EXPECT_EQ(Integer("aif(1,r,3)"), 1);
    EXPECT_DOUBLE_EQ(r.value.d, 3.0);
    EXPECT_EQ(Integer("aif(1,r,'0.1')"), 1);
    EXPECT_DOUBLE_EQ(r.value.d, static_cast<double>(0.1f));  // single precision
    EXPECT_EQ(Integer("aif(1,s,42)"), 1);
    EXPECT_STREQ(s.value.s->c_str(), "42");
    EXPECT_EQ(Integer("aif(1,s,1.5)"), 1);
    EXPECT_STREQ(s.value.s->c_str(), "1.500000");
    EXPECT_EQ(Integer("aif(1,s,strlower('AB'))"), 1);
    EXPECT_STREQ(s.value.s->c_str(), "ab");
    EXPECT_EQ(Integer("aif(1,p,4)"), 1);  // a point takes nothing
    EXPECT_EQ(list.GetVar("p")->value.p.x, 0);
}

}  // namespace
