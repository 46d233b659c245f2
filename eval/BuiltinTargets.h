// Targets of the built-ins that write through an argument's variable reference: a string variable or a point value.
#pragma once

#include "BuiltinCall.h"

// True when argument k came from a string variable itself (not from an array
// item, a field or a literal) that still holds a string.
bool DesignatesStringVariable(const TBuiltinCall& call, int k);
// The text of that string variable; null whenever DesignatesStringVariable is false.
TString* StringTarget(const TBuiltinCall& call, int k);

// True when argument k is a point that came from a point variable, or from
// an item of a 1-D or 2-D array of points (the item's index is not tested).
bool DesignatesPointValue(const TBuiltinCall& call, int k);
// The point value argument k designates; null when DesignatesPointValue is
// false or the array item lies outside the array now.
VPOINT* PointTarget(const TBuiltinCall& call, int k);
