// Symbolic derivation of expression trees and the derive built-in.
#pragma once

#include "BuiltinCall.h"
#include "ExpressionTree.h"
#include "Variables.h"

// True when every node can be derived: binary operators + - * / ^, the
// simple functions sin, cos, tan, pow, abs, ln, log2, log10, logn, sqr,
// sqrt, exp, root, asin, acos, atan, and leaves that stand for a value of
// their own (constants, strings, variables, arrays). A null node, an empty
// node, any other operator or function, and a leaf holding a unary operator
// or a call whose operands the tree lost are not derivable.
bool IsDerivable(const TENode* node);

// The derivative of the tree by the variable at list position variable (a
// variable leaf matches when its stored reference resolves to it); a new
// tree that the caller owns, the input being unchanged. Only trees that pass
// IsDerivable are supported: any other tree gives null or a tree with
// empty nodes. Constant leaves of the rules whose value need not be whole
// are doubles, so that folding never divides integers.
TENode* DeriveExpressionTree(TVariableList& list, const TENode* node, int variable);

// Body of the derive built-in: the derivative of the expression argument by
// the variable argument, simplified, as infix text; the empty text when the
// expression cannot be derived.
TBuiltinBodyRows DeriveBuiltinBodies();
