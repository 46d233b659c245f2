// One-operand operators (! ~ $ # #.#), the 31 simple functions from sin to atan2, and the complex exponential, logarithm and reciprocal.
#pragma once

#include "EvalStack.h"
#include "ExpressionModel.h"
#include "Variables.h"

// op is an operator index: ! (5), ~ (6) and $ (7) take a number, # (27) and
// #.# (28) a text; any other operand or operator gives kind 255 with code 21
// in both modes. ! and ~ work on ItemAsInt of the operand (a real is first
// truncated to 32 bits: !0.5 is 1) and give the operand's kind back. $ gives
// a buffered text ("%lld" or "%g"; empty in check mode); # reads a whole
// decimal integer and #.# the leading real of the text, 0 when there is none.
// Results carry no variable reference.
EXPRESSION_ITEM ApplyUnaryOperator(EXPRESSION_ITEM& operand, int op, TEvalStack& stack, bool check);

// Pops the arguments of simple function function.value.code.index and
// pushes its result (check mode: a zero of the result's kind). Too few items
// on the stack push an error item with code 22, a non-number among the
// arguments one with code 23, an index outside the table one with code 17;
// the arguments then stay on the stack. Domain failures give -1.0 (tan at a
// zero cosine and root of a negative number 0.0) and raise no error. abs and
// neg keep an integer operand's kind and wrap (abs and neg of INT64_MIN give
// INT64_MIN); not, round, sgn and rnd give integers; rnd of a value that
// truncates to 0 gives 0; logn with base 1 gives -1.0.
void ApplySimpleFunction(EXPRESSION_ITEM& function, TEvalStack& stack, bool check);

// The plain function behind simple function index when it takes reals (the
// arguments as ItemAsReal reads them) and gives a real; null otherwise.
typedef double (*TRealFunctionOfOne)(double);
typedef double (*TRealFunctionOfTwo)(double, double);
TRealFunctionOfOne GetRealFunctionOfOne(int index);
TRealFunctionOfTwo GetRealFunctionOfTwo(int index);

// Simple function index on number arguments (the second one is read only
// by the two-argument functions): the run-mode result ApplySimpleFunction
// pushes, into a0. False for an index outside the table.
bool ApplySimpleFunctionToNumbers(int index, EXPRESSION_ITEM& a0, const EXPRESSION_ITEM& a1);

// e^re·cos(im) + e^re·sin(im)·i.
VCOMPLEX ComplexExp(const VCOMPLEX& z);
// ln|z| + atan2(im, re)·i; 0 gives -inf as the real part.
VCOMPLEX ComplexLog(const VCOMPLEX& z);
// 1 / z; a squared modulus below 1e-18 is taken as 1e-18.
VCOMPLEX ComplexReciprocal(const VCOMPLEX& z);
