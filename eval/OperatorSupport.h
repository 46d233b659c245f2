// What the operator units share inside the library: wrapping integer arithmetic, guarded division, complex products and quotients, operator-indexed tables and result items.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "BinaryOperators.h"
#include "EvalStack.h"
#include "ExpressionModel.h"
#include "StackRoutines.h"
#include "Variables.h"

// Integer arithmetic wraps modulo 2^64; it is done on unsigned values, whose
// overflow is defined.
inline int64_t WrappingAdd(int64_t l, int64_t r) {
    return static_cast<int64_t>(static_cast<uint64_t>(l) + static_cast<uint64_t>(r));
}
inline int64_t WrappingSubtract(int64_t l, int64_t r) {
    return static_cast<int64_t>(static_cast<uint64_t>(l) - static_cast<uint64_t>(r));
}
inline int64_t WrappingMultiply(int64_t l, int64_t r) {
    return static_cast<int64_t>(static_cast<uint64_t>(l) * static_cast<uint64_t>(r));
}
// INT64_MIN stays INT64_MIN.
inline int64_t WrappingNegate(int64_t v) { return static_cast<int64_t>(0 - static_cast<uint64_t>(v)); }

// Truncating division; a zero divisor gives 0 and INT64_MIN / -1 wraps to INT64_MIN.
inline int64_t GuardedDivide(int64_t l, int64_t r) {
    if (r == 0) return 0;
    if (r == -1) return WrappingNegate(l);
    return l / r;
}
// Remainder with the sign of l; a zero divisor gives 0 and so does -1 (no trap on INT64_MIN).
inline int64_t GuardedRemainder(int64_t l, int64_t r) { return r == 0 || r == -1 ? 0 : l % r; }
inline double GuardedDivide(double l, double r) { return r == 0.0 ? 0.0 : l / r; }

// A complex divisor whose squared modulus is below this is divided by it instead.
constexpr double kSmallestSquaredModulus = 1e-18;
VCOMPLEX ComplexProduct(const VCOMPLEX& l, const VCOMPLEX& r);
VCOMPLEX ComplexQuotient(const VCOMPLEX& l, const VCOMPLEX& r);

// l + r and l * r with l the first operand of the instruction, on every
// path that computes them: where both are NaNs, the processor gives the
// first one's, so a sum of NaNs of both signs has one sign everywhere (the
// compiler may otherwise swap the operands of a commutative operator).
inline double OrderedSum(double l, double r) {
#if defined(__x86_64__)
    asm("addsd %1, %0" : "+x"(l) : "xm"(r));
    return l;
#else
    return l + r;
#endif
}
inline double OrderedProduct(double l, double r) {
#if defined(__x86_64__)
    asm("mulsd %1, %0" : "+x"(l) : "xm"(r));
    return l;
#else
    return l * r;
#endif
}

// The four arithmetic operators and the power, on two integers and on two
// reals; the integer assignments and the number-with-text operators reuse them.
struct TAddition {
    static int64_t OnIntegers(int64_t l, int64_t r) { return WrappingAdd(l, r); }
    static double OnReals(double l, double r) { return OrderedSum(l, r); }
};
struct TSubtraction {
    static int64_t OnIntegers(int64_t l, int64_t r) { return WrappingSubtract(l, r); }
    static double OnReals(double l, double r) { return l - r; }
};
struct TMultiplication {
    static int64_t OnIntegers(int64_t l, int64_t r) { return WrappingMultiply(l, r); }
    static double OnReals(double l, double r) { return OrderedProduct(l, r); }
};
struct TDivision {
    static int64_t OnIntegers(int64_t l, int64_t r) { return GuardedDivide(l, r); }
    static double OnReals(double l, double r) { return GuardedDivide(l, r); }
};
struct TPower {
    static int64_t OnIntegers(int64_t l, int64_t r) {
        return TruncateToInt64(GuardedPow(static_cast<double>(l), static_cast<double>(r)));
    }
    static double OnReals(double l, double r) { return GuardedPow(l, r); }
};

// Logic on integers: 1 when either (both) of the two is not 0, else 0.
inline int64_t EitherSet(int64_t l, int64_t r) { return l != 0 || r != 0 ? 1 : 0; }
inline int64_t BothSet(int64_t l, int64_t r) { return l != 0 && r != 0 ? 1 : 0; }

// Bit operators on integers. Shifts: the count is the low byte of r read as
// a signed byte, a negative count shifts the other way, 64 or more gives 0
// (or -1 for a negative value shifted right); right shifts fill with the sign.
inline int64_t BitOr(int64_t l, int64_t r) { return l | r; }
inline int64_t BitAnd(int64_t l, int64_t r) { return l & r; }
inline int64_t ShiftLeftBy(int64_t value, int count) {
    return count >= 64 ? 0 : static_cast<int64_t>(static_cast<uint64_t>(value) << count);
}
inline int64_t ShiftRightBy(int64_t value, int count) {
    if (count >= 64) return value < 0 ? -1 : 0;
    return value < 0 ? ~(~value >> count) : value >> count;
}
inline int ShiftCount(int64_t r) { return static_cast<int8_t>(static_cast<uint8_t>(r & 0xFF)); }
inline int64_t ShiftLeft(int64_t l, int64_t r) {
    const int count = ShiftCount(r);
    return count < 0 ? ShiftRightBy(l, -count) : ShiftLeftBy(l, count);
}
inline int64_t ShiftRight(int64_t l, int64_t r) {
    const int count = ShiftCount(r);
    return count < 0 ? ShiftLeftBy(l, -count) : ShiftRightBy(l, count);
}

// A number as the operators read it: anything with a kind (1 or 3) and a
// value holding integer or real, stack items and the loop's plain numbers alike.
template <class Number>
inline double NumberAsReal(const Number& item) {
    return item.kind == ekReal ? item.value.real : static_cast<double>(item.value.integer);
}
// A real becomes an integer as ItemAsInt makes it.
template <class Number>
inline int64_t NumberAsInteger(const Number& item) {
    return item.kind == ekReal ? TruncateToInt32(item.value.real) : item.value.integer;
}
template <class Number>
inline bool NumberIsNonZero(const Number& item) {
    return item.kind == ekReal ? item.value.real != 0.0 : item.value.integer != 0;
}

// Turns item into a fresh result (no variable, no list) of that value.
inline void SetIntegerResult(EXPRESSION_ITEM& item, int64_t value) {
    std::memset(&item.value, 0, sizeof item.value);
    item.kind = ekInteger;
    item.value.integer = value;
    item.ref = VARINFO{-1, -1, -1, -1};
    item.listCount = 0;
    item.list = nullptr;
}
inline void SetRealResult(EXPRESSION_ITEM& item, double value) {
    std::memset(&item.value, 0, sizeof item.value);
    item.kind = ekReal;
    item.value.real = value;
    item.ref = VARINFO{-1, -1, -1, -1};
    item.listCount = 0;
    item.list = nullptr;
}

inline void SetIntegerResult(TPlainNumber& item, int64_t value) {
    item.kind = ekInteger;
    item.value.integer = value;
}
inline void SetRealResult(TPlainNumber& item, double value) {
    item.kind = ekReal;
    item.value.real = value;
}

template <class Arithmetic, class Number>
inline void NumberArithmeticInPlace(Number& left, const Number& right) {
    if (left.kind == ekInteger && right.kind == ekInteger)
        SetIntegerResult(left, Arithmetic::OnIntegers(left.value.integer, right.value.integer));
    else
        SetRealResult(left, Arithmetic::OnReals(NumberAsReal(left), NumberAsReal(right)));
}

// Integers compare as integers, mixed pairs as doubles (NaN compares as in C).
template <class Compare, class Number>
inline void NumberComparisonInPlace(Number& left, const Number& right) {
    const bool holds = left.kind == ekInteger && right.kind == ekInteger
                           ? Compare()(left.value.integer, right.value.integer)
                           : Compare()(NumberAsReal(left), NumberAsReal(right));
    SetIntegerResult(left, holds ? 1 : 0);
}

template <int64_t (*Operation)(int64_t, int64_t), class Number>
inline void BitOperationInPlace(Number& left, const Number& right) {
    SetIntegerResult(left, Operation(left.value.integer, NumberAsInteger(right)));
}

struct TEqualTo {
    template <typename T>
    bool operator()(T l, T r) const { return l == r; }
};
struct TNotEqualTo {
    template <typename T>
    bool operator()(T l, T r) const { return l != r; }
};
struct TLessThan {
    template <typename T>
    bool operator()(T l, T r) const { return l < r; }
};
struct TGreaterThan {
    template <typename T>
    bool operator()(T l, T r) const { return l > r; }
};
struct TLessOrEqual {
    template <typename T>
    bool operator()(T l, T r) const { return l <= r; }
};
struct TGreaterOrEqual {
    template <typename T>
    bool operator()(T l, T r) const { return l >= r; }
};

// Whether NumberOperatorInPlace computes op for a left operand of that kind.
inline bool IsNumberOperator(int op, TExpressionItemType leftKind) {
    if ((op >= opAdd && op <= opPower) || (op >= opEqual && op <= opLogicalAnd)) return true;
    return leftKind == ekInteger && op >= opBitOr && op <= opShiftLeft;
}

// The number operators computed into left, both operands being numbers
// (kinds 1, 3): arithmetic, power, comparisons, logic and, on an integer
// left operand, the bit operators. This is the one definition of what they
// give; the operator unit, the evaluation loop and the pre-decoded form all
// use it. False, left unchanged, for any other operator (assignments,
// membership, the text tests, or a bit operator on a real left operand,
// which is refused).
template <class Number>
[[gnu::always_inline]] inline bool NumberOperatorInPlace(Number& left, const Number& right, int op) {
    switch (op) {
        case opAdd: NumberArithmeticInPlace<TAddition>(left, right); return true;
        case opSubtract: NumberArithmeticInPlace<TSubtraction>(left, right); return true;
        case opMultiply: NumberArithmeticInPlace<TMultiplication>(left, right); return true;
        case opDivide: NumberArithmeticInPlace<TDivision>(left, right); return true;
        case opPower: NumberArithmeticInPlace<TPower>(left, right); return true;
        case opEqual: NumberComparisonInPlace<TEqualTo>(left, right); return true;
        case opLess: NumberComparisonInPlace<TLessThan>(left, right); return true;
        case opGreater: NumberComparisonInPlace<TGreaterThan>(left, right); return true;
        case opLessOrEqual: NumberComparisonInPlace<TLessOrEqual>(left, right); return true;
        case opGreaterOrEqual: NumberComparisonInPlace<TGreaterOrEqual>(left, right); return true;
        case opNotEqual:
        case opDifferent: NumberComparisonInPlace<TNotEqualTo>(left, right); return true;
        case opLogicalOr: SetIntegerResult(left, NumberIsNonZero(left) || NumberIsNonZero(right) ? 1 : 0); return true;
        case opLogicalAnd: SetIntegerResult(left, NumberIsNonZero(left) && NumberIsNonZero(right) ? 1 : 0); return true;
        default: break;
    }
    if (left.kind != ekInteger) return false;
    switch (op) {
        case opBitOr: BitOperationInPlace<BitOr>(left, right); return true;
        case opBitAnd: BitOperationInPlace<BitAnd>(left, right); return true;
        case opRemainder: BitOperationInPlace<GuardedRemainder>(left, right); return true;
        case opShiftRight: BitOperationInPlace<ShiftRight>(left, right); return true;
        case opShiftLeft: BitOperationInPlace<ShiftLeft>(left, right); return true;
        default: return false;
    }
}

// One operator application as the families see it.
struct TBinaryOperation {
    TVariableList& vars;
    TEvalStack& stack;
    const EXPRESSION_ITEM& left;
    const EXPRESSION_ITEM& right;
    int op;
    char flag;
    bool check;
};
typedef EXPRESSION_ITEM (*TBinaryHandler)(const TBinaryOperation& operation);

// A row of a table that gives some operators a function.
template <typename Function>
struct TOperatorRow {
    int op;
    Function function;
};

// The rows spread into an array indexed by operator; operators without a row get null.
template <typename Function, size_t N>
constexpr std::array<Function, kBinaryOperatorLimit> IndexByOperator(const TOperatorRow<Function> (&rows)[N]) {
    std::array<Function, kBinaryOperatorLimit> table{};
    for (size_t i = 0; i < N; ++i) table[static_cast<size_t>(rows[i].op)] = rows[i].function;
    return table;
}

// Null for an operator outside the table.
template <typename Function>
Function FunctionOf(const std::array<Function, kBinaryOperatorLimit>& table, int op) {
    return op >= 0 && op < kBinaryOperatorLimit ? table[static_cast<size_t>(op)] : nullptr;
}

// Kind 255 with EvaluateErrorCode set to code.
EXPRESSION_ITEM OperatorError(int code);
// A kind-20 result holding a freshly lent, empty text of stack's heap.
EXPRESSION_ITEM BufferedTextResult(TEvalStack& stack, TString*& text);
// The text of a text item; an empty text when it holds none.
const TString& OperandText(const EXPRESSION_ITEM& item);

// The families that live in their own units.
bool IsAssignmentOperator(int op);
EXPRESSION_ITEM ApplyAssignment(const TBinaryOperation& operation);
// Run mode, two numbers: an int or double assignment to a plain variable or
// 1-D array item without listeners, stored and turned into left's result
// (what ApplyAssignment gives). False, nothing changed, for every other
// case, which then takes the general path.
bool AssignNumberInPlace(TVariableList& vars, EXPRESSION_ITEM& left, const EXPRESSION_ITEM& right, int op);
EXPRESSION_ITEM ApplyTextOperator(const TBinaryOperation& operation);
