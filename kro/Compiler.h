// The script compiler: KRO_Compile, its error report and texts, the keyword list.
#pragma once

#include "CompileState.h"
#include "Program.h"
#include "String.h"
#include "StringContainer.h"
#include "Variables.h"

// Compiles source into program, importing units from the unit list or from
// files (as named, then in each directory; names are tried as written, then
// case-insensitively). program's tokens, functions, globals, events,
// resource tokens and variables are replaced; on success, a variable that
// the program declared before keeps its value when its name, type and item
// type are unchanged; on failure the program has no tokens, functions,
// globals or events and keeps its previous variables. Variables and
// ExtFunctions end as they began. Stops at the first failing line; a text
// whose blocks are not all closed fails with code 0.
bool KRO_Compile(TStringContainer& source, TProgram& program, TStringContainer& unitDirectories,
                 TUnitSubsList& units);

// Outcome of the last KRO_Compile: error code (0 none), line counted from
// 1 and the unit that was being read ("program" for the main text).
extern int KRO_ErrorCode;
extern int KRO_ErrorLine;
extern TString KRO_ErrorUnitName;

// Text of codes 1 to 48 (code page 1250); any other code "Ismeretlen hiba".
TString KRO_GetErrorMessage(int code);

// Empties list, then appends the parameters of event code: int "param"
// variables (two for 1, 2, 8; three for 3, 4, 5), one string for 6, none otherwise.
void KRO_CreateEventParams(int code, TVariableList& list);

// The sixty keywords in table order.
class TKRO_Keywords : public TStringContainer {
public:
    TKRO_Keywords();
};
const TKRO_Keywords& KRO_Keywords();

// Eval's ext-function handler from the start of a compilation until a run:
// a zero value of the function's result type (string: a new empty text),
// the type taken from the program that userData points to, else from the
// declaration in ExtFunctions, else int.
EXPRESSION_ITEM KRO_CompileTimeHandler(EXPRESSION_ITEM* arguments, int functionIndex, void* userData);

void CreateCompilerState();
void DestroyCompilerState();
