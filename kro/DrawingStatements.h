// The drawing statements' compile handlers (line .. setfont) and their argument forms.
#pragma once

#include "CompileState.h"
#include "Program.h"
#include "String.h"

// The two argument counts a drawing token type takes (the shorter form takes a
// point where the longer takes x and y; both equal when there is one form).
// False for polyline, polygon and types that are no drawing statement.
bool DrawingArgumentCounts(int type, int& shorter, int& longer);

// Compiles a drawing statement of that token type (101..116) from the rest of
// its line. A wrong argument count fails with 35, an argument that does not
// compile (an empty one included) with 10; polyline and polygon take one name
// of a 1-D array of points (not such an array: 34; items not points: 36).
// On failure nothing is appended.
bool CompileDrawingStatement(int type, TString& rest, TCompileState& state, TProgram& program);

// The keyword table's handler for one drawing token type.
template <int Type>
bool CompileDrawing(TString& rest, TCompileState& state, TProgram& program) {
    return CompileDrawingStatement(Type, rest, state, program);
}
