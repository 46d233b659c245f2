// Tree output: infix text and MathML content markup of an expression tree.
#pragma once

#include "ExpressionTree.h"
#include "String.h"
#include "StringContainer.h"
#include "Variables.h"

// The infix text of a tree, without blanks; the compiler reads it back to
// the same tree. Integers are written in decimal; doubles in fixed notation
// with the shortest digits that read back, and always with a decimal point
// ("2.0") so that they stay doubles; an infinity is written as the largest
// finite double of its sign and NaN as 0.0, since the compiler reads
// neither. A binary operand is put in parentheses when it is an operator
// node of lower level, the same right-grouping operator, or of equal level
// on the side its parent does not group towards (a-(b-c), a/(b*c), (a^b)^c).
// A variable that no longer resolves, and every item other than constants,
// variables, binary operators and simple functions, print as nothing; a null
// tree gives the empty text.
TString CreateInfixExpression(TVariableList& list, const TENode* node);

// Appends the MathML content markup of the tree to lines, one element a
// line, indented by two blanks a level; returns 0. Returns -1 and empties
// lines (also of what it held before) when the tree holds an operator or
// function without a MathML tag, or a variable that is not int or double
// (or no longer resolves). A null tree appends nothing and returns 0.
// Each call keeps its own depth, so threads may write different trees at once.
int CreateMathMLExpression(TVariableList& list, const TENode* node, TStringContainer& lines);
