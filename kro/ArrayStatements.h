// The array statements' compile handlers: dim and a_filter .. a_assign.
#pragma once

#include "CompileState.h"
#include "Program.h"
#include "String.h"

// Each compiles the rest of its line (white space already removed) against
// the arrays in Variables, appends one token with a TStatementArgs record and
// returns true; on failure it sets state.errorCode and appends nothing.
// Names are looked up from the newest variable back; a name that is not
// found counts as a name of the wrong kind.
bool CompileDim(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayFilter(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayAdd(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayInsert(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayDelete(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayReverse(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayFill(TString& rest, TCompileState& state, TProgram& program);
bool CompileArraySort(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayGetItems(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayGetLine(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayGetColumn(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayExchange(TString& rest, TCompileState& state, TProgram& program);
bool CompileArrayAssign(TString& rest, TCompileState& state, TProgram& program);
