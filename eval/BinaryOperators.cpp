// Two-operand operators: kind admission, the dispatch by operand family, numbers, points, complex numbers and array membership.
#include "BinaryOperators.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "EvaluateErrors.h"
#include "OperatorSupport.h"
#include "StackRoutines.h"

namespace {

// hi + lo, exactly the product of a and b, for operands and products well
// inside the normal range: by a fused multiply-add where the processor has
// one, else by Dekker's product (the operands split into halves of 26 bits,
// whose products are exact).
struct TExactProduct {
    double hi;
    double lo;
};

template <bool fused>
[[gnu::always_inline]] inline TExactProduct ExactProduct(double a, double b) {
    const double product = a * b;
    if constexpr (fused) {
        return {product, __builtin_fma(a, b, -product)};
    } else {
        constexpr double kSplit = 134217729.0;  // 2^27 + 1
        const double ca = kSplit * a;
        const double aHigh = ca - (ca - a);
        const double aLow = a - aHigh;
        const double cb = kSplit * b;
        const double bHigh = cb - (cb - b);
        const double bLow = b - bHigh;
        return {product, ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow};
    }
}

// The double nearest to hi + lo where that value lies clearly inside its
// rounding interval (at least 0.05 of a unit from a midpoint), and false
// where it lies near a midpoint or the result is a power of two, at whose
// edge the unit changes.
[[gnu::always_inline]] inline bool RoundClearly(double hi, double lo, double& result) {
    const double rounded = hi + lo;
    const double remainder = (hi - rounded) + lo;
    uint64_t bits;
    std::memcpy(&bits, &rounded, sizeof bits);
    constexpr uint64_t kExponent = 0x7ff0000000000000u;
    if ((bits & ~kExponent & ~(uint64_t{1} << 63)) == 0) return false;
    // The unit in the last place: the exponent's power of two over 2^52.
    const uint64_t unitBits = (bits & kExponent) - (uint64_t{52} << 52);
    double unit;
    std::memcpy(&unit, &unitBits, sizeof unit);
    if (std::fabs(remainder) > 0.45 * unit) return false;
    result = rounded;
    return true;
}

// base^2, base^3, base^4 and, for positive bases, base^0.5, base^1.5 and
// base^2.5 from exact products (and the correctly rounded square root with
// its remainder), for bases whose powers stay far inside the normal range:
// the correctly rounded power. std::pow errs by at most 0.52 units, so
// wherever the exact power lies 0.05 units or more from a midpoint it gives
// this very double; nearer ones are left to it.
template <bool fused>
[[gnu::always_inline]] inline bool SmallIntegerPowerOf(double base, double exponent, double& result) {
    const double size = std::fabs(base);
    if (!(size > 0x1p-200 && size < 0x1p200)) return false;
    if (exponent == 2.0) {
        const TExactProduct square = ExactProduct<fused>(base, base);
        return RoundClearly(square.hi, square.lo, result);
    }
    if (exponent == 3.0) {
        const TExactProduct square = ExactProduct<fused>(base, base);
        const TExactProduct cube = ExactProduct<fused>(square.hi, base);
        return RoundClearly(cube.hi, cube.lo + square.lo * base, result);
    }
    if (exponent == 4.0) {
        const TExactProduct square = ExactProduct<fused>(base, base);
        const TExactProduct fourth = ExactProduct<fused>(square.hi, square.hi);
        return RoundClearly(fourth.hi, fourth.lo + 2.0 * square.hi * square.lo, result);
    }
    if (base < 0.0 || (exponent != 0.5 && exponent != 1.5 && exponent != 2.5)) return false;
    // The root as root + below: below = (base - root^2) / (2 root), from the
    // exact square of the rounded root.
    const double root = std::sqrt(base);
    const TExactProduct rootSquared = ExactProduct<fused>(root, root);
    const double below = ((base - rootSquared.hi) - rootSquared.lo) / (2.0 * root);
    if (exponent == 0.5) return RoundClearly(root, below, result);
    if (exponent == 1.5) {
        const TExactProduct product = ExactProduct<fused>(base, root);
        return RoundClearly(product.hi, product.lo + base * below, result);
    }
    const TExactProduct square = ExactProduct<fused>(base, base);
    const TExactProduct product = ExactProduct<fused>(square.hi, root);
    return RoundClearly(product.hi, product.lo + (square.lo * root + square.hi * below), result);
}

[[gnu::target("fma")]] bool SmallIntegerPowerFused(double base, double exponent, double& result) {
    return SmallIntegerPowerOf<true>(base, exponent, result);
}

bool SmallIntegerPowerSplit(double base, double exponent, double& result) {
    return SmallIntegerPowerOf<false>(base, exponent, result);
}

const bool kFusedMultiplyAdd = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("fma") != 0;
}();

bool SmallIntegerPower(double base, double exponent, double& result) {
    return kFusedMultiplyAdd ? SmallIntegerPowerFused(base, exponent, result)
                             : SmallIntegerPowerSplit(base, exponent, result);
}

// GuardedPow for the exponent twice / 2, known beforehand. The short path
// comes first: it takes no base of 0, NaN, or (for a fractional exponent)
// below 0, and every base it leaves goes to GuardedPow itself.
template <int twice, bool fused>
[[gnu::always_inline]] inline double PowerOfKnownExponent(double base) {
    constexpr double exponent = twice / 2.0;
    double power;
    if (SmallIntegerPowerOf<fused>(base, exponent, power)) return power;
    // The exponent is hidden from the compiler, which would make pow(x, 2.0)
    // the product x * x.
    double opaque = exponent;
    __asm__("" : "+m"(opaque));
    return GuardedPow(base, opaque);
}

template <int twice>
[[gnu::target("fma")]] double PowerOfKnownExponentFused(double base) {
    return PowerOfKnownExponent<twice, true>(base);
}

template <int twice>
double PowerOfKnownExponentSplit(double base) {
    return PowerOfKnownExponent<twice, false>(base);
}

template <int twice>
double (*PowerFunction())(double) {
    return kFusedMultiplyAdd ? PowerOfKnownExponentFused<twice> : PowerOfKnownExponentSplit<twice>;
}

}  // namespace

double (*GuardedPowWithExponent(double exponent))(double) {
    if (exponent == 2.0) return PowerFunction<4>();
    if (exponent == 3.0) return PowerFunction<6>();
    if (exponent == 4.0) return PowerFunction<8>();
    if (exponent == 0.5) return PowerFunction<1>();
    if (exponent == 1.5) return PowerFunction<3>();
    if (exponent == 2.5) return PowerFunction<5>();
    return nullptr;
}

double GuardedPow(double base, double exponent) {
    if (base == 0.0 || std::isnan(base)) return 0.0;
    if (exponent == 0.0 || std::isnan(exponent)) return 1.0;
    if (base < 0.0 && exponent != std::trunc(exponent)) return 0.0;
    double power;
    if (SmallIntegerPower(base, exponent, power)) return power;
    return std::pow(base, exponent);
}

int64_t TruncateToInt64(double value) {
    // 2^63: the first double above the range; -2^63 itself is in range.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::isnan(value)) return 0;
    if (value >= kTwoTo63) return INT64_MAX;
    if (value < -kTwoTo63) return INT64_MIN;
    return static_cast<int64_t>(value);
}

VCOMPLEX ComplexProduct(const VCOMPLEX& l, const VCOMPLEX& r) {
    return VCOMPLEX{l.re * r.re - l.im * r.im, l.re * r.im + l.im * r.re};
}

VCOMPLEX ComplexQuotient(const VCOMPLEX& l, const VCOMPLEX& r) {
    double q = r.re * r.re + r.im * r.im;
    if (q < kSmallestSquaredModulus) q = kSmallestSquaredModulus;
    return VCOMPLEX{(l.re * r.re + l.im * r.im) / q, (l.im * r.re - l.re * r.im) / q};
}

EXPRESSION_ITEM OperatorError(int code) {
    EvaluateErrorCode = static_cast<int8_t>(code);
    return MakeItem(ekError);
}

EXPRESSION_ITEM BufferedTextResult(TEvalStack& stack, TString*& text) {
    EXPRESSION_ITEM result = MakeItem(ekBufferedText);
    result.value.text.slot = stack.GetBufferedString(text);
    result.value.text.text = text;
    return result;
}

const TString& OperandText(const EXPRESSION_ITEM& item) {
    static const TString empty;
    return item.value.text.text != nullptr ? *item.value.text.text : empty;
}

namespace {

constexpr uint64_t OperatorBits(std::initializer_list<int> ops) {
    uint64_t bits = 0;
    for (int op : ops) bits |= uint64_t{1} << op;
    return bits;
}

constexpr uint64_t kAllOperators = (uint64_t{1} << kBinaryOperatorLimit) - 1;
constexpr uint64_t kTextOperators = OperatorBits({opAdd, opSubtract, opMultiply, opAssign, opAddAssign,
                                                  opSubtractAssign, opEqual, opLess, opGreater, opNotEqual,
                                                  opDifferent, opContains, opNotContains, opTokenEquals,
                                                  opWordContains, opNotWordContains});

struct TAdmissibleRow {
    TExpressionItemType kind;
    uint64_t operators;
};

// Operators that a left operand of each kind admits; kinds not listed admit none.
const TAdmissibleRow kAdmissible[] = {
    {ekInteger, kAllOperators},
    {ekReal, kAllOperators & ~OperatorBits({opBitOr, opBitAnd, opRemainder, opShiftRight, opShiftLeft, opOrAssign,
                                            opAndAssign, opPowerAssign})},
    {ekArray, OperatorBits({opContains, opNotContains})},
    {ekOwnedText, kTextOperators},
    {ekBorrowedText, kTextOperators},
    {ekBufferedText, kTextOperators},
    {ekPoint, OperatorBits({opAdd, opSubtract, opAssign, opAddAssign, opSubtractAssign, opEqual, opNotEqual,
                            opDifferent})},
    {ekComplex, OperatorBits({opAdd, opSubtract, opMultiply, opDivide, opAssign, opAddAssign, opSubtractAssign,
                              opMultiplyAssign, opDivideAssign, opEqual, opNotEqual, opDifferent})},
};

// Whether the two kinds may meet at all; the left kind's admissible
// operators are tested apart. An array reference's right operand is tested
// against the array's item type by the membership operators.
bool KindsMeet(const EXPRESSION_ITEM& left, const EXPRESSION_ITEM& right, int op) {
    if (left.kind == right.kind || left.kind == ekArray) return true;
    const bool leftNumber = IsNumberItem(left);
    const bool rightNumber = IsNumberItem(right);
    if (leftNumber && rightNumber) return true;
    const bool leftText = IsTextItem(left);
    const bool rightText = IsTextItem(right);
    if (leftText && rightText) return true;
    return op <= opDivide && ((leftText && rightNumber) || (leftNumber && rightText));
}

// ------------------------------------------------------------------ numbers

// Two numbers: what NumberOperatorInPlace gives, the evaluation loop's own fast path.
EXPRESSION_ITEM NumberOperation(const TBinaryOperation& o) {
    EXPRESSION_ITEM result = o.left;
    return NumberOperatorInPlace(result, o.right, o.op) ? result : OperatorError(eeWrongOperand);
}

// The number a text starts with (as C's "%lld" reads it, beyond the range
// saturated); 0 when it starts with none.
int64_t LeadingInteger(const TString& text) {
    return static_cast<int64_t>(std::strtoll(text.c_str(), nullptr, 10));
}

// A number with a text on the right: ItemAsInt of the left and the number
// the text starts with give an integer.
template <class Arithmetic>
EXPRESSION_ITEM NumberWithText(const TBinaryOperation& o) {
    return MakeIntegerItem(Arithmetic::OnIntegers(ItemAsInt(o.left), LeadingInteger(OperandText(o.right))));
}

constexpr TOperatorRow<TBinaryHandler> kNumberWithTextRows[] = {
    {opAdd, NumberWithText<TAddition>},
    {opSubtract, NumberWithText<TSubtraction>},
    {opMultiply, NumberWithText<TMultiplication>},
    {opDivide, NumberWithText<TDivision>},
};
constexpr auto kNumberWithTextOperators = IndexByOperator(kNumberWithTextRows);

// ------------------------------------------------------------------ points

EXPRESSION_ITEM PointResult(int64_t x, int64_t y) {
    EXPRESSION_ITEM result = MakeItem(ekPoint);
    result.value.point = VPOINT{x, y};
    return result;
}

EXPRESSION_ITEM PointSum(const TBinaryOperation& o) {
    const VPOINT& l = o.left.value.point;
    const VPOINT& r = o.right.value.point;
    return PointResult(WrappingAdd(l.x, r.x), WrappingAdd(l.y, r.y));
}

EXPRESSION_ITEM PointDifference(const TBinaryOperation& o) {
    const VPOINT& l = o.left.value.point;
    const VPOINT& r = o.right.value.point;
    return PointResult(WrappingSubtract(l.x, r.x), WrappingSubtract(l.y, r.y));
}

bool PointsEqual(const TBinaryOperation& o) {
    return o.left.value.point.x == o.right.value.point.x && o.left.value.point.y == o.right.value.point.y;
}

EXPRESSION_ITEM PointEquality(const TBinaryOperation& o) { return MakeIntegerItem(PointsEqual(o) ? 1 : 0); }
EXPRESSION_ITEM PointInequality(const TBinaryOperation& o) { return MakeIntegerItem(PointsEqual(o) ? 0 : 1); }

constexpr TOperatorRow<TBinaryHandler> kPointRows[] = {
    {opAdd, PointSum},          {opSubtract, PointDifference}, {opEqual, PointEquality},
    {opNotEqual, PointInequality}, {opDifferent, PointInequality},
};
constexpr auto kPointOperators = IndexByOperator(kPointRows);

// ------------------------------------------------------------------ complex numbers

EXPRESSION_ITEM ComplexResult(const VCOMPLEX& value) {
    EXPRESSION_ITEM result = MakeItem(ekComplex);
    result.value.complex = value;
    return result;
}

VCOMPLEX ComplexSum(const VCOMPLEX& l, const VCOMPLEX& r) { return VCOMPLEX{l.re + r.re, l.im + r.im}; }
VCOMPLEX ComplexDifference(const VCOMPLEX& l, const VCOMPLEX& r) { return VCOMPLEX{l.re - r.re, l.im - r.im}; }

template <VCOMPLEX (*Operation)(const VCOMPLEX&, const VCOMPLEX&)>
EXPRESSION_ITEM ComplexArithmetic(const TBinaryOperation& o) {
    return ComplexResult(Operation(o.left.value.complex, o.right.value.complex));
}

bool ComplexEqual(const TBinaryOperation& o) {
    return o.left.value.complex.re == o.right.value.complex.re && o.left.value.complex.im == o.right.value.complex.im;
}

EXPRESSION_ITEM ComplexEquality(const TBinaryOperation& o) { return MakeIntegerItem(ComplexEqual(o) ? 1 : 0); }
EXPRESSION_ITEM ComplexInequality(const TBinaryOperation& o) { return MakeIntegerItem(ComplexEqual(o) ? 0 : 1); }

constexpr TOperatorRow<TBinaryHandler> kComplexRows[] = {
    {opAdd, ComplexArithmetic<ComplexSum>},
    {opSubtract, ComplexArithmetic<ComplexDifference>},
    {opMultiply, ComplexArithmetic<ComplexProduct>},
    {opDivide, ComplexArithmetic<ComplexQuotient>},
    {opEqual, ComplexEquality},
    {opNotEqual, ComplexInequality},
    {opDifferent, ComplexInequality},
};
constexpr auto kComplexOperators = IndexByOperator(kComplexRows);

// ------------------------------------------------------------------ array membership

// Where the right operand's value lies as an array item compares it.
const void* ItemValueAddress(const EXPRESSION_ITEM& item) {
    if (IsTextItem(item)) return &OperandText(item);
    return &item.value;
}

// The right operand must have the array's item type; check mode gives 0.
EXPRESSION_ITEM ArrayMembership(const TBinaryOperation& o) {
    const int position = o.vars.V_Index(o.left.value.variable.reference, o.left.value.variable.absolute);
    const TVariable* array = o.vars.GetVarOfType(position, vtArray);
    if (array == nullptr || !MatchesArrayItemType(o.right.kind, array->value.a.itemtype))
        return OperatorError(eeWrongOperand);
    if (o.check) return MakeIntegerItem(0);
    const bool found = array->IsArrayItem(ItemValueAddress(o.right));
    return MakeIntegerItem(found == (o.op == opContains) ? 1 : 0);
}

constexpr TOperatorRow<TBinaryHandler> kArrayRows[] = {
    {opContains, ArrayMembership},
    {opNotContains, ArrayMembership},
};
constexpr auto kArrayOperators = IndexByOperator(kArrayRows);

// ------------------------------------------------------------------ dispatch

// The handler of op for these operands; null when the pair has no meaning.
TBinaryHandler FindHandler(const TBinaryOperation& o) {
    const TExpressionItemType kind = o.left.kind;
    if (IsNumberItem(o.left)) return IsTextItem(o.right) ? FunctionOf(kNumberWithTextOperators, o.op) : NumberOperation;
    if (IsTextKind(kind)) return ApplyTextOperator;
    if (kind == ekPoint) return FunctionOf(kPointOperators, o.op);
    if (kind == ekComplex) return FunctionOf(kComplexOperators, o.op);
    if (kind == ekArray) return FunctionOf(kArrayOperators, o.op);
    return nullptr;
}

}  // namespace

bool IsOperatorAdmissible(TExpressionItemType kind, int op) {
    if (op < 0 || op >= kBinaryOperatorLimit) return false;
    for (const TAdmissibleRow& row : kAdmissible)
        if (row.kind == kind) return ((row.operators >> op) & 1) != 0;
    return false;
}

EXPRESSION_ITEM ApplyBinaryOperator(TVariableList& vars, TEvalStack& stack, EXPRESSION_ITEM& left,
                                    EXPRESSION_ITEM& right, int op, char flag, bool check) {
    if (!KindsMeet(left, right, op) || !IsOperatorAdmissible(left.kind, op)) return OperatorError(eeWrongOperand);
    const TBinaryOperation operation{vars, stack, left, right, op, flag, check};
    if (IsAssignmentOperator(op)) return ApplyAssignment(operation);
    const TBinaryHandler handler = FindHandler(operation);
    return handler != nullptr ? handler(operation) : OperatorError(eeWrongOperand);
}
