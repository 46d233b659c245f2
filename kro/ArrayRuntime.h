// The array statements (dim and the a_ statements, token types 17..30) at run time.
#pragma once

#include "ExpressionModel.h"
#include "Program.h"
#include "Token.h"
#include "Variables.h"

// Runs one array token against Variables, evaluating its expressions with the
// program as the evaluator's context. Returns 0 (no array statement reports an
// error at run time); a token of another type or without its record does
// nothing. Indices outside an array make a_delete, a_getline, a_getcol and
// a_exchange do nothing; a_insert clamps; a_getitems clamps both ends and does
// nothing on an empty range. A size that cannot be allocated (negative, or
// beyond Eval's item limit) changes nothing. An unsized dim gives 10 items
// (10 x 10 for 2-D); items that dim adds start at zero (empty strings).
int RunArrayStatement(TProgram& program, const TToken& token);

// Item address of a 1-D array's item i (no range check): strings are TString
// objects, other items GetArrayItemSize bytes.
void* ArrayItemAddress(const ARRAY& array, int i);
