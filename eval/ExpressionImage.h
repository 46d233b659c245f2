// Formula typesetting: an expression tree drawn as a 24-bit image with bitmap character tables.
#pragma once

#include "ExpressionImageProps.h"
#include "ExpressionTree.h"
#include "ImageBuffer.h"
#include "Variables.h"

// Renders node and its subtree into out: numbers, variable names, operators
// and function names in props.Font at props.FontSize from the CHDIR tables,
// fractions stacked over a bar, exponents raised at props.ExpCharRatio of the
// size, root degrees at props.RootCharRatio, parentheses around operands of
// a strictly lower level. vars is the list the variable leaves name. The
// tables are read once per call. props is not changed.
// A null node, a unary operator and any leaf other than an integer, a double
// or a variable draw nothing and leave out as it was; as an operand such a
// node counts as a 0 x 0 image. Missing tables give empty text (only bars,
// strokes and arcs remain); a variable reference outside the list gives
// empty text.
void CreateNodeImage(const TVariableList& vars, const TENode* node, TImageBuffer& out,
                     const TExpressionImageProps& props);
