// Tests of the evaluation fast paths: the pre-decoded form and the loop's in-place number operators give exactly what the general path gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "BinaryOperators.h"
#include "DecodedExpression.h"
#include "EvaluateEngine.h"
#include "ExpressionCompiler.h"

namespace {

void ExpectSameResult(const EXPRVALUE& a, const EXPRVALUE& b, const char* what) {
    EXPECT_EQ(a.kind, b.kind) << what;
    EXPECT_EQ(std::memcmp(&a.value, &b.value, sizeof a.value), 0) << what;
    EXPECT_EQ(a.ref.index, b.ref.index) << what;
    EXPECT_EQ(a.ref.index1, b.ref.index1) << what;
    EXPECT_EQ(a.ref.index2, b.ref.index2) << what;
    EXPECT_EQ(a.ref.field, b.ref.field) << what;
}

class DecodedTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.NewDouble("a", false, 0.75);
        list.NewDouble("b", false, -2.5);
        list.NewInt("i", false, 17);
        list.NewInt("j", false, -4);
        list.NewPoint("p", false);
    }

    TVariableList list;
    TEvalStack stack;
};

TEST_F(DecodedTest, SameResultsAsTheLoop) {
    const char* const texts[] = {
        "a+b",     "i%3+j",         "sin(a)*2",       "pow(a,2)+root(i,3)", "abs(j)+neg(i)", "i<<2|j>>1",
        "i",       "a",             "2.5",            "(i>j)||(a<b)&&not(0)",   "1/0+i/0",       "a^2.5-b^2",
        "j%0",     "sgn(b)+not(a)", "round(b)+frac(a)", "atan2(a,b)*i",    "i==17",         "(a+b)*(a-b)/(i-j)",
        "tan(a)+ln(a)+log2(a)+log10(a)+logn(2,a)",       "sqr(b)+sqrt(a)+exp(a)+floor(b)+ceil(b)+sqrt(j)",
        "deg(a)+rad(a)+to_deg(a,b)+root(8,i)",             "asin(a)+acos(a)+atan(a)+sinh(a)+cosh(a)+tanh(i)",
        "a*2+i*3-j/2+(i|3)",                               "i-(j-(i*(j+1)))",
    };
    for (const char* text : texts) {
        EXPRESSION e = CreateExpression(list, text);
        ASSERT_GE(e.count, 1) << text;
        TDecodedExpression decoded;
        decoded.Build(e);
        ASSERT_FALSE(decoded.Empty()) << text;
        EXPRVALUE fast;
        ASSERT_TRUE(decoded.Run(list, fast)) << text;
        EXPRVALUE general;
        EvaluateExpression(list, e, stack, general, false, nullptr);
        ExpectSameResult(fast, general, text);
        FreeExpression(e);
    }
}

TEST_F(DecodedTest, WhatItCannotComputeIsLeftToTheLoop) {
    // Not decoded at all: impure, texts, fields, assignments, calls.
    for (const char* text : {"rnd(5)", "'x'", "p.x", "i=3", "strlen('ab')", "i+=1"}) {
        EXPRESSION e = CreateExpression(list, text);
        ASSERT_GE(e.count, 1) << text;
        TDecodedExpression decoded;
        decoded.Build(e);
        EXPECT_TRUE(decoded.Empty()) << text;
        FreeExpression(e);
    }
    // Decoded, but refused by a run: a bit operator on a real, a variable
    // that is no number any more or has gone.
    EXPRESSION bits = CreateExpression(list, "i|1");
    EXPRESSION sum = CreateExpression(list, "i+1");
    TDecodedExpression decodedBits;
    TDecodedExpression decodedSum;
    decodedBits.Build(bits);
    decodedSum.Build(sum);
    EXPRVALUE out;
    out.kind = ekPoint;
    list.GetVar("i")->type = vtDouble;  // the same slot read as a real
    EXPECT_FALSE(decodedBits.Run(list, out));
    EXPECT_EQ(out.kind, ekPoint);
    list.GetVar("i")->type = vtInt;
    TVariableList shorter;
    EXPECT_FALSE(decodedSum.Run(shorter, out));
    TVariableList texts;
    for (const char* name : {"a", "b", "i", "j", "p"}) texts.NewString(name, false, "t");
    EXPECT_FALSE(decodedSum.Run(texts, out));
    FreeExpression(bits);
    FreeExpression(sum);
}

// Every operator on every pair of number kinds: the loop's in-place path
// (run mode) against the operator unit called directly.
TEST_F(DecodedTest, InPlaceOperatorsMatchTheOperatorUnit) {
    const EXPRESSION_ITEM operands[] = {
        MakeIntegerItem(7),  MakeIntegerItem(-3), MakeIntegerItem(0), MakeIntegerItem(INT64_MIN),
        MakeRealItem(2.5),   MakeRealItem(-0.0),  MakeRealItem(std::numeric_limits<double>::quiet_NaN()),
    };
    for (int op = 0; op < kBinaryOperatorLimit; ++op) {
        if (op >= opAssign && op <= opDivideAssign) continue;  // assignments need a variable
        if (op >= opOrAssign && op <= opPowerAssign) continue;
        for (const EXPRESSION_ITEM& left : operands) {
            for (const EXPRESSION_ITEM& right : operands) {
                EXPRESSION e;
                e.count = 3;
                e.items = new EXPRESSION_ITEM[4];
                e.items[0] = left;
                e.items[1] = right;
                e.items[2] = MakeItem(ekBinaryOperator);
                e.items[2].value.code.index = op;
                EXPRVALUE looped;
                EvaluateExpression(list, e, stack, looped, false, nullptr);
                FreeExpression(e);
                EXPRESSION_ITEM l = left;
                EXPRESSION_ITEM r = right;
                const EXPRESSION_ITEM direct = ApplyBinaryOperator(list, stack, l, r, op, 0, false);
                EXPRVALUE expected;
                expected.kind = direct.kind;
                expected.value = direct.value;
                expected.ref = direct.ref;
                if (direct.kind == ekBufferedText) {
                    stack.ReleaseBufferedString(direct.value.text.slot);
                    continue;
                }
                const std::string what = "op " + std::to_string(op) + " kinds " + std::to_string(left.kind) +
                                         "," + std::to_string(right.kind);
                if (direct.kind == ekError) {
                    EXPECT_EQ(looped.kind, ekError) << what;
                } else {
                    ExpectSameResult(looped, expected, what.c_str());
                }
                EXPECT_EQ(stack.GetCount(), 0) << what;
            }
        }
    }
}

}  // namespace
