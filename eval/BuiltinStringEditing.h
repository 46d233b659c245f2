// Built-in functions that edit strings: character access and replacement, padding, cutting, inserting, deleting, digit groups, tabs, capitals.
//
// Edge rules: counts and positions are number arguments read as integers
// (reals truncated) and used as signed 32-bit values. A negative count cuts
// nothing: str_left, strbeg, str_right and strend give the empty text,
// str_delete gives the text unchanged. Bytes above 127 are ordinary
// characters everywhere (maps are indexed by the unsigned byte). A result
// that would pass kMaxBuiltinTextLength characters (huge pad widths,
// insert positions or tab widths) is the empty text.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows StringEditingBuiltinBodies();
