// Calls of script functions: from expressions of a running program, from the host by index, and as event handlers.
#pragma once

#include "ExpressionModel.h"
#include "Program.h"
#include "String.h"
#include "Variables.h"

// Activations of script functions that may be open at once (host calls and
// calls from expressions together). A call beyond it is refused: the run
// ends cleanly, as a hook stop does, and the refused call gives the zero
// value of its result type. One level takes about 1.3 KB of native stack
// (3.3 KB under the address sanitizer).
constexpr int kMaxScriptCallDepth = 1000;

// Eval's ext-function handler while a program runs: calls function
// functionIndex of the program that context points to with the evaluated
// arguments, copies by-reference parameters back and returns the result. A
// null program or an index outside its function list gives an int 0.
EXPRESSION_ITEM CallScriptFunction(EXPRESSION_ITEM* arguments, int functionIndex, void* context);

// Whether params fits function index: the same count, and each variable of
// the parameter's type (arrays also of its item type); a string parameter
// takes any variable. An index outside the function list gives false.
bool KRO_CheckFunctionParams(TProgram& program, int index, TVariableList& params);

// Calls function index with the variables of params as its arguments, in
// order, against the application globals a KRO_Run with keep left in the
// program; by-reference parameters are written back into params, the
// globals' new values into the program. Arguments are converted from each
// variable's real type (a string parameter takes the text of any variable);
// a missing argument gives the zero value; a value is written back only
// where the variable can hold it (never text into a non-string variable).
// An index outside the function list gives kind 255 and runs nothing.
EXPRVALUE KRO_CallFunction(TProgram& program, int index, TVariableList& params);

// The first function named name, or -1.
int KRO_GetFunctionIndex(TProgram& program, const TString& name);

// The function bound to event code, with params refilled with the event's
// "param" variables; -1 and params unchanged when none is bound.
int KRO_GetEventHandler(TProgram& program, int code, TVariableList& params);

// Calls the function bound to event code with params as the host filled
// them and drops the result; nothing when none is bound.
void KRO_CallEventHandler(TProgram& program, int code, TVariableList& params);

// Appends to target a variable of source's name that takes over source's
// value (source keeps its name and is left undefined).
void AppendMovedVariable(TVariableList& target, TVariable& source);
