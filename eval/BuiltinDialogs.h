// Built-in functions that ask the user: messagebox, readstring and GetFileName (positions 31, 32, 47).
//
// They run in the run pass only, on the calling thread, which must be able
// to show windows; tests answer them through the layer's responder.
// - messagebox(text, caption, style): MessageBoxA without an owner, the low
//   32 bits of style as its flags; the result is what it returns.
// - readstring(caption, prompt, target, maximum): shows TKroGetTextDlg with
//   that caption and prompt and the target's text in its edit box; a maximum
//   above 0 limits what may be typed. 1 on OK, with the target set to the
//   edit box's text; 0 on Cancel, the target unchanged. A target that is no
//   string variable gives 0 and shows nothing.
// - GetFileName(title, filters, target): a file-open dialog with that title;
//   the filter is the filter array's items in order, each with its commas
//   made '|', joined by '|' (no items: the empty filter). 1 when the user
//   confirmed a file, else 0; the target string variable gets the dialog's
//   file name either way (empty after a cancel). A target that is no string
//   variable gives 0 and shows nothing.
//
// Note: the compiler evaluates each number and text argument of a call once
// to learn its kind, so one of these calls written as an argument of another
// call (not as an operand) also runs once per compilation.
#pragma once

#include "BuiltinCall.h"
#include "String.h"
#include "Variables.h"

TBuiltinBodyRows DialogBuiltinBodies();

// The file dialog's filter made from a 1-D string array (see GetFileName);
// empty for any other variable.
TString FileFilterOf(const TVariable& filters);
