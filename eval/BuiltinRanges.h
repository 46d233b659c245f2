// Built-in functions that evaluate a sub-expression over a range, the points of an interval, tokens, words or array elements (positions 123, 124, 131, 132, 137-142, 144-149).
//
// Each call appends its temporaries ("i"; "d" and "i"; "token" and "tx";
// "word" and "wx"; "cx"; "item") at the end of the variable list, in the
// order the compiler binds them, and removes them however the call ends, so
// the list has its length back afterwards. Arguments are copied before the
// first evaluation, and texts are walked as copies, so a sub-expression that
// grows the stack or changes the walked variable cannot disturb the walk.
//
// Edge rules:
// - summa / product: i runs from..to (64-bit, wrapping sums and products of
//   the integer results; other results are skipped). An empty range gives 0
//   (product 1); to = the largest integer ends without overflow.
// - dsumma / dproduct: n points from a to b, both ends included; n = 1 uses
//   a alone; n below 1 gives 0.0 (product 1.0). Double results only count.
// - Quantifiers: only the integer 1 (the integer 0 for "all") decides; an
//   empty text has no token or word ("any" 0, "all" and "none" 1). A final
//   empty token after a trailing separator is not visited; the separator is
//   the first character of sep, '|' when sep is empty. Words are runs outside
//   the 32 fixed separators.
// - str_iota, str_token_convert, str_word_convert: non-text results add
//   nothing; a result longer than kMaxBuiltinTextLength is the empty text.
// - array_convert: the number of elements converted; array_filter: the
//   number rejected. Both visit at most the elements present at the start
//   and stop early when the sub-expression shortens the array. array_filter
//   into an array of another item type gives error 26.
// - array_calc computes nothing and gives 0.
// - A sub-expression argument that is not a compiled sub-expression (a
//   damaged stored expression) gives error 23.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows RangeBuiltinBodies();
