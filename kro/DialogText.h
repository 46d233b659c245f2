// The "KRO dialog" text format: building a registered window and its controls from the lines of a dialog resource.
#pragma once

#include "String.h"
#include "StringContainer.h"

class TProgram;

// Builds a window from a dialog text (line 0 is the "KRO dialog" header,
// line 1 the window, one control a line after it) and returns the window's
// registry id. Without a window line of at least five fields nothing is built
// and -1 returned. Control lines that are empty, name an unknown type, lack
// fields for their type or give a button an unknown result are skipped; a list
// control takes at most the item lines that remain (none for a negative count).
int BuildDialog(const TStringContainer& lines);

// Builds a window from each dialog resource of that name in the program's
// resource-token list (entries whose index names no resource token are
// passed over) and returns the id of the last one built; -1 when none was
// built or the program is null.
int LoadDialog(const TProgram* program, const TString& name);
