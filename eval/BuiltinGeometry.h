// Built-in function bodies for plane geometry and number bases: angle, rotate_radius, rotate_point, intersection_point, point_in_polygon, integrate, binary, octal, hexa, base.
#pragma once

#include "BuiltinCall.h"

// Rows for positions 42-46, 56 and 57-60. intersection_point writes the
// point it computes only into the point variable or point array item its
// fifth argument came from (see BuiltinTargets.h); an item outside its array
// is left alone. point_in_polygon of an empty
// array is 0; integrate gives 0 when its first argument is no sub-expression. angle gives the direction from its
// first point to its second in [0, 2 pi); rotate_radius truncates its radius
// to an integer; the base texts are empty for 0 and for a base below 2.
TBuiltinBodyRows GeometryBuiltinBodies();
