// The resource statement's compile handler: images, texts and dialog texts taken into the program.
#pragma once

#include "CompileState.h"
#include "Program.h"
#include "String.h"

// "kind,file,name": reads the file (as named, else in the unit directories,
// names matched regardless of case) into a resource token (type 180) and
// appends the token's index to the program's resource-token list. An image
// keeps the file's bytes, with the format taken from ".BMP", ".JPG" or
// ".GIF" in the upper-cased file name (BMP when none); a text or a dialog
// keeps its lines, and a dialog's first line must be "KRO dialog". On
// failure sets state.errorCode (35, 40..45) and appends nothing.
bool CompileResource(TString& rest, TCompileState& state, TProgram& program);
