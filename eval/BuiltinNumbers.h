// Built-in functions on numbers and variables: conditional choice, digits in a base, sums over a rectangle of a 2-D array and conditional assignment (positions 79, 83, 86, 87, 91).
//
// Edge rules:
// - intcond(c, x, y): numbers as integers (reals truncated to 32 bits); x
//   when c is not 0, else y.
// - dec(s, base): digits 0-9, a-z and A-Z (10-35), any other character 0, no
//   digit compared with the base; 64-bit arithmetic that wraps.
// - a_isum / a_dsum(a, x1, y1, x2, y2): x is the column and y the line, both
//   ranges inclusive and clipped to the array (a rectangle partly or wholly
//   outside sums what exists; a first bound above the last gives 0). Integer
//   items add their value, reals their value (a_isum: truncated to 32 bits),
//   texts their decimal value (a_isum: a whole integer, else 0; a_dsum: read
//   with "%f" in single precision); points and complex numbers add nothing.
// - aif(c, v, x): only an integer c other than 0 stores x into v and gives 1;
//   anything else gives 0 and leaves v. An int v takes an integer, a real
//   truncated to 32 bits or a text's whole decimal value (0 when it is none);
//   a double v takes a number or a text read with "%f" in single precision;
//   a string v takes the text of a number ("%lld", "%f") or a text. Other
//   pairs leave v unchanged and still give 1.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows NumberBuiltinBodies();
