// Variable lists in a property store: SaveVariables and LoadVariables.
#pragma once

#include "Properties.h"
#include "Variables.h"

// Writes every variable of list under prefix: a section prefix listing the
// names (empty values) and a section prefix_name per variable with "type",
// "info" and the keys of its type. Array items of points and complex numbers
// are written as "{x, y}" texts joined by blanks.
void SaveVariables(TProperties& props, TVariableList& list, const char* prefix);
// Appends the variables stored under prefix to list. Variables whose section
// or "type"/"info" keys are missing, or whose array sizes exceed
// kMaxArrayItems, are skipped; texts that do not read leave zero values.
// False (nothing appended) when the prefix section does not exist.
bool LoadVariables(TProperties& props, TVariableList& list, const char* prefix);
