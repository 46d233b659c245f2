// Built-in functions on arrays, points and complex numbers (positions 0-8, 33-41, 54, 55, 73).
//
// Edge rules: sums, means and extremes read only integer and real items; an
// array of another item type, or an empty one, gives the start value (0.0
// for sum and mean, the largest finite double for the minimum, its negative
// for the maximum). cx_sqrt gives the root with a non-negative imaginary part
// and 0 for a modulus below 1e-40. array_item compares only when the value's
// kind matches the item type, else 0.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows ArrayBuiltinBodies();
