// The bodies of the 29 variadic list functions (min, max, averages, sums, medians, membership, print, token picking, joins, substring tests, rand, running extremes, parse, strformat) and of the built-in drand.
//
// Arguments keep the kinds they were compiled to; the functions of any-kind
// arguments check what they rely on. "32-bit value" below is an argument's
// integer conversion (reals truncated) reduced to its low 32 bits.
// - min / max compare and return 32-bit values (min of 2^32+5 is 5); ave is
//   the 32-bit wrapping sum divided by the count; sum is the 64-bit wrapping
//   sum of the integer conversions. mid / dmid / smid give the element at
//   count/2 of the sorted values (the upper middle one); NaN sorts last.
// - n_item compares numerically: a real first argument with the value of
//   each later one, an integer first argument (its 32-bit value) with each
//   later integer's 64-bit value or real's value (2 and 2.0 match).
// - print writes every argument to standard output ("%lld", "%f", texts,
//   "(%lld, %lld)", "(%f, %f)"; other kinds nothing), then a newline; 0.
// - strmtok, strformat and print read a number, point or complex argument in
//   that text form. strmtok takes its separator only from a text held as
//   owned or borrowed (kinds 18, 19): a computed separator means '|'; picked
//   tokens are joined by the separator, an empty picked token included.
// - rand(N) draws an unsigned 32-bit number r: r mod (N+1) for N >= 0, 0
//   for N = -1, r mod -(N+1) below. With pairs (lo, hi) of 32-bit values
//   the reversed pairs and a last lone argument are dropped, the kept ranges
//   laid end to end (a 64-bit total) and r mod total picks one; a total of 0
//   gives 0.
// - gettokens, parse, getmin and getmax write only whole variables (not an
//   array item or a field) named by an argument; gettokens and parse walk a
//   copy of their text, so a variable may receive a field of its own text.
// - parse gives the number of fields stored, or minus that number when the
//   match fails (fields stored before the failure keep their values).
// - A text result that would pass kMaxBuiltinTextLength (padding widths,
//   repeated placeholders) is the empty text.
// - drand is a real in [0, 1): the stack's second generator times 2^-32.
#pragma once

#include "BuiltinCall.h"
#include "EvalStack.h"
#include "ExpressionModel.h"
#include "Variables.h"

// One call of a list function: the built-in call view of its count
// arguments and the compiled item (strformat reads its placeholder pairs).
struct TListCall : TBuiltinCall {
    const EXPRESSION_ITEM& function;
    TListCall(TVariableList& vars, TEvalStack& stack, const EXPRESSION_ITEM& function, int count)
        : TBuiltinCall(vars, stack, function.value.code.index, count), function(function) {}
};

// Run pass of the list function the item names over the argument count it
// holds, which lie on top of stack (the stack is left as it is). result
// receives the function's kind and value; a text result is a buffered
// string (kind 20) lent by the stack. False, with nothing lent, when no
// list function has the item's index.
bool RunListFunction(TVariableList& vars, const EXPRESSION_ITEM& function, TEvalStack& stack, EXPRESSION_ITEM& result);

// The built-in bodies of this unit (drand).
TBuiltinBodyRows RandomBuiltinBodies();
