// What the operator units share inside the library: wrapping integer arithmetic, guarded division, complex products and quotients, operator-indexed tables and result items.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "BinaryOperators.h"
#include "EvalStack.h"
#include "ExpressionModel.h"
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

// The four arithmetic operators and the power, on two integers and on two
// reals; the integer assignments and the number-with-text operators reuse them.
struct TAddition {
    static int64_t OnIntegers(int64_t l, int64_t r) { return WrappingAdd(l, r); }
    static double OnReals(double l, double r) { return l + r; }
};
struct TSubtraction {
    static int64_t OnIntegers(int64_t l, int64_t r) { return WrappingSubtract(l, r); }
    static double OnReals(double l, double r) { return l - r; }
};
struct TMultiplication {
    static int64_t OnIntegers(int64_t l, int64_t r) { return WrappingMultiply(l, r); }
    static double OnReals(double l, double r) { return l * r; }
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
EXPRESSION_ITEM ApplyTextOperator(const TBinaryOperation& operation);
