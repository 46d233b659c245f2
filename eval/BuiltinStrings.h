// Built-in functions on strings: measure, compare, cut, convert and test (positions 9-20, 61-72, 74, 75).
//
// Edge rules: number arguments are read as integers (reals truncated) and
// used as 32-bit values unless stated; spans that leave the text are clipped
// to it; absent substrings and missing tokens give the empty text, 0 or -1.
// strmul of n below 1 gives the empty text, and so does a repetition longer
// than kMaxBuiltinTextLength. Character codes (strfirst, strlast) are the
// bytes taken as signed, so bytes above 127 give negative codes; an empty
// text gives 0.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows StringBuiltinBodies();
