// What a built-in function body sees of one call: its arguments in place on the stack, checked variables, and the body type.
#pragma once

#include <cstdint>

#include "EvalStack.h"
#include "ExpressionModel.h"
#include "String.h"
#include "Variables.h"

// Largest text a built-in builds; a result that would be longer is the empty
// text instead (repetitions, padding and tab expansion take their size from
// numbers the expression supplies).
constexpr int64_t kMaxBuiltinTextLength = int64_t{1} << 26;

// Most parameters a built-in declares.
constexpr int kMaxBuiltinParameters = 8;

// One call of a built-in: argument k (0-based, text order) lies at depth
// count-1-k of the stack. Array and variable arguments have been resolved
// and checked by the dispatcher before a body runs.
struct TBuiltinCall {
    TVariableList& vars;
    TEvalStack& stack;
    int position;
    int count;
    TVariable* variables[kMaxBuiltinParameters] = {};

    TBuiltinCall(TVariableList& vars, TEvalStack& stack, int position, int count)
        : vars(vars), stack(stack), position(position), count(count) {}

    // Argument k; outside 0..count-1 the stack's scratch error item.
    EXPRESSION_ITEM& Item(int k) const { return *stack.Top(count - 1 - k); }
    // The text of a text argument; the empty text for any other kind.
    const TString& Text(int k) const;
    // Number arguments: integers as they are, reals truncated to 32 bits
    // (ItemAsInt); any other kind gives 0.
    int64_t Int(int k) const;
    // The low 32 bits of Int(k): counts and positions.
    int32_t Int32(int k) const { return static_cast<int32_t>(static_cast<uint32_t>(Int(k))); }
    // Reals as they are, integers converted; any other kind gives 0.
    double Real(int k) const;
    // Point and complex arguments; any other kind gives zeros.
    VPOINT Point(int k) const;
    VCOMPLEX Complex(int k) const;
    // The variable an array or variable-reference argument designates.
    TVariable* Variable(int k) const { return k >= 0 && k < kMaxBuiltinParameters ? variables[k] : nullptr; }
};

// A body fills result, which arrives with the function's pushed kind set and
// a zero value; a text result arrives holding an empty text lent by the
// stack. A body never pushes onto or pops from the stack.
typedef void (*TBuiltinBody)(const TBuiltinCall& call, EXPRESSION_ITEM& result);

// One row of a family's body table: the built-in position and its body.
struct TBuiltinBodyRow {
    int position;
    TBuiltinBody body;
};

// A family's rows, as the family unit hands them to the dispatcher.
struct TBuiltinBodyRows {
    const TBuiltinBodyRow* rows;
    int count;
};

template <int N>
constexpr TBuiltinBodyRows RowsOf(const TBuiltinBodyRow (&rows)[N]) {
    return TBuiltinBodyRows{rows, N};
}

// The text of a text result item.
inline TString& ResultText(EXPRESSION_ITEM& result) { return *result.value.text.text; }
