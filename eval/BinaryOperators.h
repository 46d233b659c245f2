// Two-operand operators of the evaluator: which kinds they accept, arithmetic, comparisons, bits, assignments, texts and membership.
#pragma once

#include <cstdint>

#include "EvalStack.h"
#include "ExpressionModel.h"
#include "Variables.h"

// Operator indices as compiled items hold them; 34..36 are the token and
// word tests, which have no row in the operator table.
// ORDER OP: the rows of the operator table.
enum TOperatorIndex : int {
    opAdd = 0,
    opSubtract = 1,
    opMultiply = 2,
    opDivide = 3,
    opPower = 4,
    opNot = 5,
    opComplement = 6,
    opNumberText = 7,
    opAssign = 8,
    opAddAssign = 9,
    opSubtractAssign = 10,
    opMultiplyAssign = 11,
    opDivideAssign = 12,
    opEqual = 13,
    opLess = 14,
    opGreater = 15,
    opLessOrEqual = 16,
    opGreaterOrEqual = 17,
    opNotEqual = 18,
    opDifferent = 19,
    opLogicalOr = 20,
    opLogicalAnd = 21,
    opBitOr = 22,
    opBitAnd = 23,
    opRemainder = 24,
    opShiftRight = 25,
    opShiftLeft = 26,
    opTextToInteger = 27,
    opTextToReal = 28,
    opContains = 29,
    opNotContains = 30,
    opOrAssign = 31,
    opAndAssign = 32,
    opPowerAssign = 33,
    opTokenEquals = 34,
    opWordContains = 35,
    opNotWordContains = 36,
};
constexpr int kBinaryOperatorLimit = 37;

// Longest text that `text * n` builds; larger counts are cut to fit.
constexpr int kMaxRepeatedTextLength = 1 << 24;

// base 0 or NaN gives 0 (whatever the exponent); otherwise exponent 0 or NaN
// gives 1; a negative base with a fractional exponent gives 0; else pow.
double GuardedPow(double base, double exponent);
// For an exponent known before the base, one of 2, 3, 4, 0.5, 1.5 and 2.5:
// GuardedPow with that exponent as a function of the base alone, giving
// the very same doubles without looking at the exponent again; null for
// any other exponent.
double (*GuardedPowWithExponent(double exponent))(double);

// A double truncated toward zero into 64 bits: NaN gives 0, values beyond
// the range give INT64_MIN or INT64_MAX.
int64_t TruncateToInt64(double value);

// Whether op may have a left operand of that kind: integer all of 0..36;
// real all but 22..26 and 31..33; array reference 29, 30; texts 0-2, 8-10,
// 13-15, 18, 19, 29, 30, 34-36; point 0, 1, 8-10, 13, 18, 19; complex 0-3,
// 8-13, 18, 19; any other kind (and op outside 0..36) none.
bool IsOperatorAdmissible(TExpressionItemType kind, int op);

// Applies operator op (0..36) to left and right; flag is the operator item's
// character (the separator of op 34). Check mode tests kinds and gives a
// result of the right kind with a zero value (texts: an empty buffered text)
// without writing anything. Failures give kind 255 with EvaluateErrorCode:
// 21 for a pair of kinds or an operator that has no meaning (also in run
// mode, so unchecked expressions never read a value of the wrong kind), 20
// for an assignment to a value that is not a variable. Division and remainder
// by zero give 0; INT64_MIN / -1 gives INT64_MIN and INT64_MIN % -1 gives 0;
// integer arithmetic wraps. Text results are fresh buffered texts of stack;
// the operands are never changed or taken over. An assignment whose target
// no longer exists or no longer has the left operand's type writes nothing
// and gives a zero value.
EXPRESSION_ITEM ApplyBinaryOperator(TVariableList& vars, TEvalStack& stack, EXPRESSION_ITEM& left,
                                    EXPRESSION_ITEM& right, int op, char flag, bool check);
