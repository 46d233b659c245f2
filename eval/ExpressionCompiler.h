// The expression compiler: infix text to a postfix EXPRESSION against a variable list.
#pragma once

#include "ExpressionModel.h"
#include "String.h"
#include "Variables.h"

// Nesting limit of sub-expressions and function arguments; a deeper text
// does not compile (code 17 at the outermost construct).
constexpr int kMaxCompileDepth = 32;

// Compiles text against list. Blanks outside single quotes are dropped
// first; EvaluateErrorPos counts characters of that blank-free text. On
// failure count is -1 and items null, with EvaluateErrorCode (and, for a
// misplaced or unknown token, EvaluateErrorPos) set; success leaves both as
// they were. The finished expression is checked once by a check-mode
// evaluation, whose error also fails the compilation. Arguments of built-in
// and list-function calls are evaluated once while compiling, so their side
// effects (assignments) take place once per compilation. Temporary
// variables that some calls bind are appended and removed again on every
// path; the list must not be used elsewhere meanwhile.
EXPRESSION CreateExpression(TVariableList& list, TString text);
// The same against the default list Variables.
EXPRESSION CreateExpression(TString text);
