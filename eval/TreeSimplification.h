// Tree simplification: constant evaluation and folding of subtrees, and the one-pass neutral-element rules.
#pragma once

#include "ExpressionTree.h"

// True when the subtree is an integer or double leaf, or a "+", "-", "*",
// "/" or "^" node over constant subtrees; out then holds the value. Two
// integers give an integer (wrapping; "/" truncates, a zero divisor gives
// 0; "^" is the guarded power truncated toward zero), anything else a double
// ("/" by zero gives 0.0). A null node, a function or any other node is
// not constant.
bool EvaluateConstantNode(const TENode* node, TENodeConstant& out);
// Replaces a constant inner subtree in *slot by one constant leaf (the old
// subtree is deleted); false, changing nothing, for a leaf or a non-constant
// subtree.
bool FoldConstantNode(TENode** slot);
// Integer 0 or double 0.0 / integer 1 or double 1.0.
bool IsZeroConstant(const TENodeConstant& constant);
bool IsOneConstant(const TENodeConstant& constant);
// Rewrites the tree in place in one bottom-up pass: the whole tree is
// folded first, then each inner node's children are simplified and folded
// and the first neutral-element rule of its operator applies (x+0, 0+x,
// x-0, 1*x, x*1, x/1 keep the operand; 0*x, x*0, 0/x, x/0 become the
// integer 0; x^0 becomes the integer 1; x^1 becomes x). With powerRules,
// x^2 and x^-1 at the root become x*x and 1/x. *root may be replaced (the
// old node is deleted); a null *root or a null slot does nothing. Each call
// keeps its own state, so threads may simplify different trees at once.
void OptimizeExpressionTree(TENode** root, bool powerRules);
