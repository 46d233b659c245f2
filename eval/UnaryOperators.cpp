// One-operand operators, the simple-function table and the complex exponential, logarithm and reciprocal.
#include "UnaryOperators.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "BinaryOperators.h"
#include "EvaluateErrors.h"
#include "OperatorSupport.h"
#include "StackRoutines.h"

VCOMPLEX ComplexExp(const VCOMPLEX& z) {
    const double magnitude = std::exp(z.re);
    return VCOMPLEX{magnitude * std::cos(z.im), magnitude * std::sin(z.im)};
}

// hypot: the modulus of a large z does not overflow on the way.
VCOMPLEX ComplexLog(const VCOMPLEX& z) { return VCOMPLEX{std::log(std::hypot(z.re, z.im)), std::atan2(z.im, z.re)}; }

VCOMPLEX ComplexReciprocal(const VCOMPLEX& z) { return ComplexQuotient(VCOMPLEX{1.0, 0.0}, z); }

namespace {

// ------------------------------------------------------------------ unary operators

// An integer result of an integer operand; a real operand gets it back as a real.
EXPRESSION_ITEM OfOperandKind(const EXPRESSION_ITEM& operand, int64_t value) {
    return operand.kind == ekReal ? MakeRealItem(static_cast<double>(value)) : MakeIntegerItem(value);
}

EXPRESSION_ITEM LogicalNot(const EXPRESSION_ITEM& operand, TEvalStack&, bool) {
    return OfOperandKind(operand, ItemAsInt(operand) == 0 ? 1 : 0);
}

EXPRESSION_ITEM Complement(const EXPRESSION_ITEM& operand, TEvalStack&, bool) {
    return OfOperandKind(operand, ~ItemAsInt(operand));
}

EXPRESSION_ITEM NumberAsText(const EXPRESSION_ITEM& operand, TEvalStack& stack, bool check) {
    TString* text = nullptr;
    EXPRESSION_ITEM result = BufferedTextResult(stack, text);
    if (check) return result;
    char digits[64];
    if (operand.kind == ekReal) {
        std::snprintf(digits, sizeof digits, "%g", operand.value.real);
    } else {
        // The digits "%lld" writes.
        *std::to_chars(digits, digits + sizeof digits - 1, operand.value.integer).ptr = '\0';
    }
    *text = digits;
    return result;
}

EXPRESSION_ITEM TextAsInteger(const EXPRESSION_ITEM& operand, TEvalStack&, bool check) {
    int64_t value = 0;
    if (!check) EvalParseInt(OperandText(operand).c_str(), value);
    return MakeIntegerItem(value);
}

EXPRESSION_ITEM TextAsReal(const EXPRESSION_ITEM& operand, TEvalStack&, bool check) {
    return MakeRealItem(check ? 0.0 : std::strtod(OperandText(operand).c_str(), nullptr));
}

struct TUnaryRow {
    int op;
    bool takesText;
    EXPRESSION_ITEM (*apply)(const EXPRESSION_ITEM& operand, TEvalStack& stack, bool check);
};

// Rows name their operator, so their order is free.
const TUnaryRow kUnaryOperators[] = {
    {opNot, false, LogicalNot},        {opComplement, false, Complement}, {opNumberText, false, NumberAsText},
    {opTextToInteger, true, TextAsInteger}, {opTextToReal, true, TextAsReal},
};

const TUnaryRow* FindUnaryOperator(int op) {
    for (const TUnaryRow& row : kUnaryOperators)
        if (row.op == op) return &row;
    return nullptr;
}

// ------------------------------------------------------------------ simple functions

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kOneOverPi = 0.318309886183790671537767526745028724L;
constexpr long double kOneOverHalfCircle = 1.0L / 180.0L;

// The real-valued functions; a0 and a1 as ItemAsReal gives them.
double Sine(double a0) { return std::sin(a0); }
double Cosine(double a0) { return std::cos(a0); }
double Tangent(double a0) {
    const double cosine = std::cos(a0);
    return cosine == 0.0 ? 0.0 : std::sin(a0) / cosine;
}
double NaturalLog(double a0) { return a0 > 0.0 ? std::log(a0) : -1.0; }
double BinaryLog(double a0) { return a0 > 0.0 ? std::log2(a0) : -1.0; }
double DecimalLog(double a0) { return a0 > 0.0 ? std::log10(a0) : -1.0; }
// Base 1 has no logarithm either.
double LogToBase(double a0, double a1) { return a0 > 0.0 && a0 != 1.0 && a1 > 0.0 ? std::log(a1) / std::log(a0) : -1.0; }
double Square(double a0) { return a0 * a0; }
double SquareRoot(double a0) { return a0 > 0.0 ? std::sqrt(a0) : -1.0; }
double Exponential(double a0) { return std::exp(a0); }
double Floor(double a0) { return std::floor(a0); }
double Ceiling(double a0) { return std::ceil(a0); }
double Degrees(double a0) { return static_cast<double>(static_cast<long double>(a0) * 180.0L * kOneOverPi); }
double Radians(double a0) { return static_cast<double>(static_cast<long double>(a0) * kPi * kOneOverHalfCircle); }
double MinutesAndSeconds(double a0, double a1) { return a0 / 60.0 + a1 / 3600.0; }
double Fraction(double a0) {
    double whole = 0.0;
    return std::modf(a0, &whole);
}
double Root(double a0, double a1) { return a1 == 0.0 ? -1.0 : GuardedPow(a0, 1.0 / a1); }
double ArcSine(double a0) { return a0 >= -1.0 && a0 <= 1.0 ? std::asin(a0) : -1.0; }
double ArcCosine(double a0) { return a0 >= -1.0 && a0 <= 1.0 ? std::acos(a0) : -1.0; }
double ArcTangent(double a0) { return std::atan(a0); }
double HyperbolicSine(double a0) { return std::sinh(a0); }
double HyperbolicCosine(double a0) { return std::cosh(a0); }
// tanh itself: sinh / cosh would give NaN where both overflow.
double HyperbolicTangent(double a0) { return std::tanh(a0); }
double ArcTangent2(double a0, double a1) { return a0 == 0.0 && a1 == 0.0 ? -1.0 : std::atan2(a0, a1); }

template <double (*Function)(double)>
EXPRESSION_ITEM RealOfOne(const EXPRESSION_ITEM& a0, const EXPRESSION_ITEM&) {
    return MakeRealItem(Function(ItemAsReal(a0)));
}

template <double (*Function)(double, double)>
EXPRESSION_ITEM RealOfTwo(const EXPRESSION_ITEM& a0, const EXPRESSION_ITEM& a1) {
    return MakeRealItem(Function(ItemAsReal(a0), ItemAsReal(a1)));
}

// A real is truncated to 32 bits first: abs(-2.5) is 2.0.
EXPRESSION_ITEM Absolute(const EXPRESSION_ITEM& a0, const EXPRESSION_ITEM&) {
    if (a0.kind == ekReal) return MakeRealItem(std::fabs(static_cast<double>(TruncateToInt32(a0.value.real))));
    const int64_t value = a0.value.integer;
    return MakeIntegerItem(value < 0 ? WrappingNegate(value) : value);
}

EXPRESSION_ITEM Negate(const EXPRESSION_ITEM& a0, const EXPRESSION_ITEM&) {
    return a0.kind == ekReal ? MakeRealItem(-a0.value.real) : MakeIntegerItem(WrappingNegate(a0.value.integer));
}

EXPRESSION_ITEM IsZero(const EXPRESSION_ITEM& a0, const EXPRESSION_ITEM&) {
    const bool zero = a0.kind == ekReal ? a0.value.real == 0.0 : a0.value.integer == 0;
    return MakeIntegerItem(zero ? 1 : 0);
}

// Truncates toward zero to 32 bits: round(2.7) is 2.
EXPRESSION_ITEM Truncate(const EXPRESSION_ITEM& a0, const EXPRESSION_ITEM&) {
    return MakeIntegerItem(TruncateToInt32(ItemAsReal(a0)));
}

EXPRESSION_ITEM Sign(const EXPRESSION_ITEM& a0, const EXPRESSION_ITEM&) {
    const double value = ItemAsReal(a0);
    return MakeIntegerItem(value > 0.0 ? 1 : (value < 0.0 ? -1 : 0));
}

// rand() modulo the 32-bit truncation of a0, with C's sign; 0 for a zero modulus.
EXPRESSION_ITEM RandomBelow(const EXPRESSION_ITEM& a0, const EXPRESSION_ITEM&) {
    const int32_t modulus = TruncateToInt32(ItemAsReal(a0));
    return MakeIntegerItem(modulus == 0 ? 0 : std::rand() % modulus);
}

// What check mode pushes in place of the value.
enum TResultKind { rkReal, rkInteger, rkOperandKind };

struct TSimpleFunctionRow {
    EXPRESSION_ITEM (*apply)(const EXPRESSION_ITEM& a0, const EXPRESSION_ITEM& a1);
    TResultKind result;
    // The plain real function that apply wraps, for rows made by OneReal / TwoReals.
    TRealFunctionOfOne realOfOne;
    TRealFunctionOfTwo realOfTwo;
};

// Rows of functions that take reals and give a real.
template <double (*Function)(double)>
constexpr TSimpleFunctionRow OneReal() {
    return {RealOfOne<Function>, rkReal, Function, nullptr};
}
// A row whose function only calls the library's own: steps that compute on
// plain reals call the library's function itself, one call less.
template <double (*Function)(double)>
constexpr TSimpleFunctionRow OneReal(TRealFunctionOfOne library) {
    return {RealOfOne<Function>, rkReal, library, nullptr};
}
template <double (*Function)(double, double)>
constexpr TSimpleFunctionRow TwoReals() {
    return {RealOfTwo<Function>, rkReal, nullptr, Function};
}

// ORDER FN: a row's position is the function's index in the simple-function table.
const TSimpleFunctionRow kSimpleFunctions[] = {
    OneReal<Sine>(::sin),                  // sin
    OneReal<Cosine>(::cos),                // cos
    OneReal<Tangent>(),                    // tan
    TwoReals<GuardedPow>(),                // pow
    {Absolute, rkOperandKind, nullptr, nullptr}, // abs
    OneReal<NaturalLog>(),                 // ln
    OneReal<BinaryLog>(),                  // log2
    OneReal<DecimalLog>(),                 // log10
    TwoReals<LogToBase>(),                 // logn
    {Negate, rkOperandKind, nullptr, nullptr}, // neg
    {IsZero, rkInteger, nullptr, nullptr}, // not
    OneReal<Square>(),                     // sqr
    OneReal<SquareRoot>(),                 // sqrt
    OneReal<Exponential>(::exp),           // exp
    OneReal<Floor>(),                      // floor
    OneReal<Ceiling>(),                    // ceil
    {Truncate, rkInteger, nullptr, nullptr}, // round
    {Sign, rkInteger, nullptr, nullptr},   // sgn
    {RandomBelow, rkInteger, nullptr, nullptr}, // rnd
    OneReal<Degrees>(),                    // deg
    OneReal<Radians>(),                    // rad
    TwoReals<MinutesAndSeconds>(),         // to_deg
    OneReal<Fraction>(),                   // frac
    TwoReals<Root>(),                      // root
    OneReal<ArcSine>(),                    // asin
    OneReal<ArcCosine>(),                  // acos
    OneReal<ArcTangent>(::atan),           // atan
    OneReal<HyperbolicSine>(::sinh),       // sinh
    OneReal<HyperbolicCosine>(::cosh),     // cosh
    OneReal<HyperbolicTangent>(::tanh),    // tanh
    TwoReals<ArcTangent2>(),               // atan2
};
static_assert(sizeof kSimpleFunctions / sizeof kSimpleFunctions[0] == kSimpleFunctionCount,
              "one row for each simple function");

EXPRESSION_ITEM Placeholder(TResultKind result, const EXPRESSION_ITEM& a0) {
    if (result == rkOperandKind) return MakeItem(a0.kind);
    return result == rkInteger ? MakeIntegerItem(0) : MakeRealItem(0.0);
}

void PushError(TEvalStack& stack, int code) { stack.Push(OperatorError(code), false); }

// 0 when the top arity items are numbers, else the error code.
int ArgumentError(TEvalStack& stack, int arity) {
    if (stack.GetCount() < arity) return eeTooFewArguments;
    for (int i = 0; i < arity; ++i)
        if (!IsNumberItem(*stack.Top(i))) return eeWrongArgumentType;
    return 0;
}

}  // namespace

EXPRESSION_ITEM ApplyUnaryOperator(EXPRESSION_ITEM& operand, int op, TEvalStack& stack, bool check) {
    const TUnaryRow* row = FindUnaryOperator(op);
    if (row == nullptr || (row->takesText ? !IsTextItem(operand) : !IsNumberItem(operand)))
        return OperatorError(eeWrongOperand);
    return row->apply(operand, stack, check);
}

void ApplySimpleFunction(EXPRESSION_ITEM& function, TEvalStack& stack, bool check) {
    const int index = function.value.code.index;
    const TSimpleFunctionInfo* info = GetSimpleFunctionInfo(index);
    if (info == nullptr) {
        PushError(stack, eeUnknownSymbol);
        return;
    }
    const int error = ArgumentError(stack, info->operands);
    if (error != 0) {
        PushError(stack, error);
        return;
    }
    // Numbers own nothing, so popping them needs no release.
    EXPRESSION_ITEM arguments[2] = {MakeIntegerItem(0), MakeIntegerItem(0)};
    for (int i = info->operands - 1; i >= 0; --i) stack.Pop(arguments[i]);
    const TSimpleFunctionRow& row = kSimpleFunctions[index];
    stack.Push(check ? Placeholder(row.result, arguments[0]) : row.apply(arguments[0], arguments[1]), false);
}

TRealFunctionOfOne GetRealFunctionOfOne(int index) {
    return GetSimpleFunctionInfo(index) != nullptr ? kSimpleFunctions[index].realOfOne : nullptr;
}

TRealFunctionOfTwo GetRealFunctionOfTwo(int index) {
    return GetSimpleFunctionInfo(index) != nullptr ? kSimpleFunctions[index].realOfTwo : nullptr;
}

bool ApplySimpleFunctionToNumbers(int index, EXPRESSION_ITEM& a0, const EXPRESSION_ITEM& a1) {
    if (GetSimpleFunctionInfo(index) == nullptr) return false;
    a0 = kSimpleFunctions[index].apply(a0, a1);
    return true;
}
