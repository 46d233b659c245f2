// Tests of the one-operand operators, the simple functions and the complex exponential, logarithm and reciprocal.
#include "UnaryOperators.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "BinaryOperators.h"
#include "OperatorTestSupport.h"

using namespace operator_test;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

EXPRESSION_ITEM Int(int64_t v) { return MakeIntegerItem(v); }
EXPRESSION_ITEM Real(double v) { return MakeRealItem(v); }

class UnaryOperatorsTest : public TOperatorFixture {
protected:
    // The operator's result; a text result's text goes to text and its slot back.
    EXPRESSION_ITEM Unary(EXPRESSION_ITEM operand, int op, bool check = false) {
        EvaluateErrorCode = 0;
        EXPRESSION_ITEM result = ApplyUnaryOperator(operand, op, stack, check);
        text = IsTextItem(result) ? result.value.text.text->str() : std::string();
        EXPECT_EQ(result.ref.index, -1);
        stack.ReleaseItem(result);
        return result;
    }

    // Pushes the arguments, applies function index and pops what it pushed.
    EXPRESSION_ITEM Call(int index, std::initializer_list<EXPRESSION_ITEM> arguments, bool check = false) {
        for (const EXPRESSION_ITEM& argument : arguments) stack.Push(argument, false);
        EvaluateErrorCode = 0;
        EXPRESSION_ITEM function = operator_test::SimpleFunction(index);
        ApplySimpleFunction(function, stack, check);
        EXPRESSION_ITEM result;
        stack.Pop(result);
        stack.Pop(stack.GetCount());
        return result;
    }

    std::string text;
};

void ExpectNumber(const EXPRESSION_ITEM& actual, const EXPRESSION_ITEM& expected, const std::string& what) {
    ASSERT_EQ(actual.kind, expected.kind) << what;
    if (expected.kind == ekInteger) {
        EXPECT_EQ(actual.value.integer, expected.value.integer) << what;
    } else if (std::isnan(expected.value.real)) {
        EXPECT_TRUE(std::isnan(actual.value.real)) << what;
    } else {
        EXPECT_NEAR(actual.value.real, expected.value.real, 1e-12 * (1 + std::fabs(expected.value.real))) << what;
    }
}

// ------------------------------------------------------------------ unary operators

TEST_F(UnaryOperatorsTest, NotAndComplementKeepTheOperandKind) {
    const struct {
        EXPRESSION_ITEM operand;
        int op;
        EXPRESSION_ITEM expected;
    } cases[] = {
        {Int(0), opNot, Int(1)},          {Int(2), opNot, Int(0)},
        {Real(0.5), opNot, Real(1.0)},    {Real(kNaN), opNot, Real(1.0)},
        {Int(0), opComplement, Int(-1)},  {Int(INT64_MIN), opComplement, Int(INT64_MAX)},
        {Real(2.7), opComplement, Real(-3.0)},
        {Real(3e10), opComplement, Real(64771071.0)},
        {Real(1e300), opComplement, Real(-1.0)},
    };
    for (const auto& c : cases) ExpectNumber(Unary(c.operand, c.op), c.expected, std::to_string(c.op));
}

TEST_F(UnaryOperatorsTest, NumbersAsTextsAndBack) {
    const struct {
        EXPRESSION_ITEM operand;
        const char* expected;
    } numbers[] = {
        {Real(2.5), "2.5"}, {Real(1e20), "1e+20"}, {Int(42), "42"}, {Int(0), "0"}, {Int(-7), "-7"},
        {Int(INT64_MIN), "-9223372036854775808"}, {Int(INT64_MAX), "9223372036854775807"},
    };
    for (const auto& n : numbers) {
        EXPECT_EQ(Unary(n.operand, opNumberText).kind, ekBufferedText);
        EXPECT_EQ(text, n.expected);
    }
    EXPECT_EQ(Unary(Real(2.5), opNumberText, true).kind, ekBufferedText);
    EXPECT_EQ(text, "");

    const struct {
        const char* text;
        int op;
        EXPRESSION_ITEM expected;
    } texts[] = {
        {"42", opTextToInteger, Int(42)},        {" 4 2 ", opTextToInteger, Int(42)},
        {"-7", opTextToInteger, Int(-7)},        {"4x", opTextToInteger, Int(0)},
        {"99999999999999999999", opTextToInteger, Int(0)},
        {"2.5", opTextToReal, Real(2.5)},        {" 1e3xyz", opTextToReal, Real(1000.0)},
        {"abc", opTextToReal, Real(0.0)},        {"", opTextToReal, Real(0.0)},
    };
    for (const auto& t : texts) ExpectNumber(Unary(Text(t.text), t.op), t.expected, t.text);
    ExpectNumber(Unary(Text("42"), opTextToInteger, true), Int(0), "check");
}

TEST_F(UnaryOperatorsTest, WrongOperandsAndOperators) {
    for (bool check : {true, false}) {
        EXPECT_EQ(Unary(Text("1"), opNot, check).kind, ekError);
        EXPECT_EQ(EvaluateErrorCode, eeWrongOperand);
        EXPECT_EQ(Unary(Int(1), opTextToInteger, check).kind, ekError);
        EXPECT_EQ(Unary(MakeItem(ekPoint), opComplement, check).kind, ekError);
        EXPECT_EQ(Unary(Int(1), opAdd, check).kind, ekError);
        EXPECT_EQ(EvaluateErrorCode, eeWrongOperand);
    }
}

// ------------------------------------------------------------------ simple functions

enum TFunction {
    fnSin, fnCos, fnTan, fnPow, fnAbs, fnLn, fnLog2, fnLog10, fnLogn, fnNeg, fnNot, fnSqr, fnSqrt, fnExp,
    fnFloor, fnCeil, fnRound, fnSgn, fnRnd, fnDeg, fnRad, fnToDeg, fnFrac, fnRoot, fnAsin, fnAcos, fnAtan,
    fnSinh, fnCosh, fnTanh, fnAtan2
};

struct TFunctionCase {
    int index;
    EXPRESSION_ITEM a0;
    EXPRESSION_ITEM a1;  // ignored by functions of one argument
    EXPRESSION_ITEM expected;
};

TEST_F(UnaryOperatorsTest, SimpleFunctionValues) {
    const TFunctionCase cases[] = {
        {fnSin, Int(1), {}, Real(std::sin(1.0))},
        {fnCos, Real(0), {}, Real(1)},
        {fnTan, Real(kPi / 4), {}, Real(1)},
        {fnPow, Int(2), Int(10), Real(1024)},
        {fnPow, Int(0), Int(0), Real(0)},
        {fnAbs, Int(-5), {}, Int(5)},
        {fnAbs, Int(5), {}, Int(5)},
        {fnAbs, Real(-2.5), {}, Real(2.0)},
        {fnAbs, Int(INT64_MIN), {}, Int(INT64_MIN)},
        {fnAbs, Real(kNaN), {}, Real(0.0)},
        {fnAbs, Real(-3e9), {}, Real(1294967296.0)},
        {fnLn, Real(0), {}, Real(-1)},
        {fnLn, Int(-1), {}, Real(-1)},
        {fnLn, Real(kNaN), {}, Real(-1)},
        {fnLog2, Real(0), {}, Real(-1)},
        {fnLog2, Int(8), {}, Real(3)},
        {fnLog10, Int(1000), {}, Real(3)},
        {fnLogn, Int(2), Int(8), Real(3)},
        {fnLogn, Int(-2), Int(8), Real(-1)},
        {fnLogn, Int(2), Int(0), Real(-1)},
        {fnLogn, Int(1), Int(5), Real(-1)},
        {fnNeg, Real(2.5), {}, Real(-2.5)},
        {fnNeg, Int(3), {}, Int(-3)},
        {fnNeg, Int(INT64_MIN), {}, Int(INT64_MIN)},
        {fnNot, Real(0.0), {}, Int(1)},
        {fnNot, Real(0.5), {}, Int(0)},
        {fnNot, Int(0), {}, Int(1)},
        {fnSqr, Int(-3), {}, Real(9)},
        {fnSqrt, Real(0), {}, Real(-1)},
        {fnSqrt, Int(-4), {}, Real(-1)},
        {fnSqrt, Int(9), {}, Real(3)},
        {fnExp, Int(0), {}, Real(1)},
        {fnFloor, Real(-2.5), {}, Real(-3)},
        {fnCeil, Real(-2.5), {}, Real(-2)},
        {fnCeil, Real(2.1), {}, Real(3)},
        {fnRound, Real(-2.7), {}, Int(-2)},
        {fnRound, Real(2.7), {}, Int(2)},
        {fnRound, Real(3e10), {}, Int(-64771072)},
        {fnRound, Real(kNaN), {}, Int(0)},
        {fnSgn, Real(-0.1), {}, Int(-1)},
        {fnSgn, Int(0), {}, Int(0)},
        {fnSgn, Int(INT64_MAX), {}, Int(1)},
        {fnRnd, Int(0), {}, Int(0)},
        {fnRnd, Real(0.5), {}, Int(0)},
        {fnRnd, Int(1), {}, Int(0)},
        {fnRnd, Real(4294967296.0), {}, Int(0)},
        {fnDeg, Real(kPi), {}, Real(180)},
        {fnRad, Int(180), {}, Real(kPi)},
        {fnToDeg, Int(30), Int(0), Real(0.5)},
        {fnToDeg, Int(30), Int(36), Real(0.51)},
        {fnFrac, Real(-2.5), {}, Real(-0.5)},
        {fnRoot, Int(27), Int(3), Real(3)},
        {fnRoot, Int(-8), Int(3), Real(0)},
        {fnRoot, Int(8), Int(0), Real(-1)},
        {fnAsin, Int(1), {}, Real(kPi / 2)},
        {fnAcos, Real(1.5), {}, Real(-1)},
        {fnAcos, Real(kNaN), {}, Real(-1)},
        {fnAtan, Int(1), {}, Real(kPi / 4)},
        {fnSinh, Int(0), {}, Real(0)},
        {fnCosh, Int(0), {}, Real(1)},
        {fnTanh, Int(1000), {}, Real(1)},
        {fnTanh, Int(-1000), {}, Real(-1)},
        {fnAtan2, Int(0), Int(0), Real(-1)},
        {fnAtan2, Int(1), Int(0), Real(kPi / 2)},
        {fnAtan2, Int(0), Int(-1), Real(kPi)},
    };
    for (const TFunctionCase& c : cases) {
        const int arity = GetSimpleFunctionInfo(c.index)->operands;
        const EXPRESSION_ITEM result = arity == 1 ? Call(c.index, {c.a0}) : Call(c.index, {c.a0, c.a1});
        ExpectNumber(result, c.expected, GetFunctionName(c.index));
    }
}

TEST_F(UnaryOperatorsTest, DegreesAndRadiansAreExactToDoublePrecision) {
    EXPECT_EQ(Call(fnDeg, {Real(kPi)}).value.real, 180.0);
    EXPECT_EQ(Call(fnRad, {Int(180)}).value.real, kPi);
    EXPECT_EQ(Call(fnRad, {Int(90)}).value.real, kPi / 2);
}

TEST_F(UnaryOperatorsTest, TangentAtHalfPiIsLarge) {
    EXPECT_GT(std::fabs(Call(fnTan, {Real(kPi / 2)}).value.real), 1e15);
}

TEST_F(UnaryOperatorsTest, RandomStaysBelowItsModulusWithItsSign) {
    for (int k = 0; k < 200; ++k) {
        const int64_t positive = Call(fnRnd, {Int(10)}).value.integer;
        EXPECT_TRUE(positive >= 0 && positive < 10) << positive;
        const int64_t negative = Call(fnRnd, {Real(-10.9)}).value.integer;
        EXPECT_TRUE(negative >= 0 && negative < 10) << negative;  // C: the sign of rand()
    }
}

TEST_F(UnaryOperatorsTest, CheckModePushesAZeroOfTheResultKind) {
    for (int index = 0; index < kSimpleFunctionCount; ++index) {
        const bool integerResult = index == fnNot || index == fnRound || index == fnSgn || index == fnRnd;
        const bool keepsKind = index == fnAbs || index == fnNeg;
        const EXPRESSION_ITEM fromInteger = Call(index, {Int(3), Int(4)}, true);
        EXPECT_EQ(fromInteger.kind, integerResult || keepsKind ? ekInteger : ekReal) << GetFunctionName(index);
        EXPECT_EQ(fromInteger.value.integer, 0);
        const EXPRESSION_ITEM fromReal = Call(index, {Real(3), Real(4)}, true);
        EXPECT_EQ(fromReal.kind, integerResult ? ekInteger : ekReal) << GetFunctionName(index);
    }
}

TEST_F(UnaryOperatorsTest, ArgumentErrors) {
    for (bool check : {true, false}) {
        EXPECT_EQ(Call(fnAtan2, {Int(1)}, check).kind, ekError);
        EXPECT_EQ(EvaluateErrorCode, eeTooFewArguments);
        EXPECT_EQ(Call(fnSin, {Text("1")}, check).kind, ekError);
        EXPECT_EQ(EvaluateErrorCode, eeWrongArgumentType);
        EXPECT_EQ(Call(fnPow, {Text("1"), Int(2)}, check).kind, ekError);
        EXPECT_EQ(EvaluateErrorCode, eeWrongArgumentType);
        EXPECT_EQ(Call(kSimpleFunctionCount, {Int(1)}, check).kind, ekError);
        EXPECT_EQ(EvaluateErrorCode, eeUnknownSymbol);
    }
}

TEST_F(UnaryOperatorsTest, ArgumentsBelowTheFunctionAreLeftAlone) {
    stack.Push(Int(99), false);
    stack.Push(Int(-4), false);
    EXPRESSION_ITEM function = operator_test::SimpleFunction(fnAbs);
    ApplySimpleFunction(function, stack, false);
    ASSERT_EQ(stack.GetCount(), 2);
    EXPECT_EQ(stack.Top(0)->value.integer, 4);
    EXPECT_EQ(stack.Top(1)->value.integer, 99);
    stack.Pop(2);
}

// ------------------------------------------------------------------ through the evaluation loop

TEST_F(UnaryOperatorsTest, RoundedValuesAreIntegersInCheckMode) {
    TPostfix postfix{MakeRealItem(7.9), operator_test::SimpleFunction(fnRound), Int(2), Binary(opRemainder)};
    EXPECT_EQ(Run(postfix, true).kind, ekInteger);
    const EXPRVALUE v = Run(postfix);
    EXPECT_EQ(v.kind, ekInteger);
    EXPECT_EQ(v.value.integer, 1);
}

TEST_F(UnaryOperatorsTest, OperatorsAndFunctionsInOneExpression) {
    // $(sqrt(16) + !0) gives the text 5
    TPostfix postfix{Int(16), operator_test::SimpleFunction(fnSqrt), Int(0), operator_test::Unary(opNot),
                     Binary(opAdd), operator_test::Unary(opNumberText)};
    const EXPRVALUE checked = Run(postfix, true);
    EXPECT_EQ(checked.kind, ekBufferedText);
    const EXPRVALUE v = Run(postfix);
    EXPECT_EQ(v.kind, ekOwnedText);
    EXPECT_EQ(v.text, "5");

    TPostfix wrong{Constant("x"), operator_test::SimpleFunction(fnSin)};
    EXPECT_EQ(Run(wrong, true).kind, ekError);
    EXPECT_EQ(EvaluateErrorCode, eeWrongArgumentType);
}

// ------------------------------------------------------------------ complex functions

TEST(ComplexFunctionsTest, ExpLogAndReciprocal) {
    const VCOMPLEX e = ComplexExp(VCOMPLEX{0, kPi});
    EXPECT_NEAR(e.re, -1, 1e-15);
    EXPECT_NEAR(e.im, 0, 1e-15);
    const VCOMPLEX scaled = ComplexExp(VCOMPLEX{1, 0});
    EXPECT_DOUBLE_EQ(scaled.re, std::exp(1.0));

    const VCOMPLEX l = ComplexLog(VCOMPLEX{-1, 0});
    EXPECT_DOUBLE_EQ(l.re, 0);
    EXPECT_DOUBLE_EQ(l.im, kPi);
    const VCOMPLEX large = ComplexLog(VCOMPLEX{1e200, 1e200});
    EXPECT_NEAR(large.re, std::log(1e200) + 0.5 * std::log(2.0), 1e-9);
    EXPECT_TRUE(std::isinf(ComplexLog(VCOMPLEX{0, 0}).re));

    const VCOMPLEX r = ComplexReciprocal(VCOMPLEX{0, 2});
    EXPECT_DOUBLE_EQ(r.re, 0);
    EXPECT_DOUBLE_EQ(r.im, -0.5);
    const VCOMPLEX tiny = ComplexReciprocal(VCOMPLEX{1e-10, 0});
    EXPECT_DOUBLE_EQ(tiny.re, 1e8);
    const VCOMPLEX zero = ComplexReciprocal(VCOMPLEX{0, 0});
    EXPECT_EQ(zero.re, 0);
    EXPECT_EQ(zero.im, 0);
}

}  // namespace
