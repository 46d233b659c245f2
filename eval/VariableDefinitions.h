// Variables defined from one line of text: names<type>[=value].
#pragma once

#include "Variables.h"

// Appends the variables that text defines to list, with their initial values.
// Grammar: NAMES "<" TYPE ">" [ "=" VALUE ]; NAMES a name or "[a, b, ...]";
// TYPE int, double, string, point or complex, optionally followed by "[]",
// "[size]" or (int only) "[lines, cols]"; VALUE a scalar or "[v1, v2, ...]".
// False for a malformed text, an unknown type, an empty name, a value that
// does not parse (the variables of the failing step are removed again) and
// a 2-D size together with a value or beyond kMaxArrayItems cells.
bool NewVarFromCmdLine(const TString& text, TVariableList& list);
// The same on the default list Variables.
bool NewVarFromCmdLine(const TString& text);
