// What the fuzz targets that compile and run expressions or scripts let through: nothing that reaches outside, short
// inputs, and walks whose length the input states as a small constant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ExpressionModel.h"
#include "Variables.h"

namespace fuzz {

// Longest expression or script text the evaluating targets accept.
constexpr size_t kMaxEvaluatedInput = 1024;
// Most sub-expression evaluations the walks of one accepted expression may
// make, nested walks multiplied.
constexpr long kMaxWalkSteps = 20000;
// Largest repeat count or width a text-building built-in may be given.
constexpr long kMaxTextRepeat = 256;
// Largest product of the counts of all text-building calls of one expression.
constexpr long kMaxTextGrowth = 1024;

// Names and aliases of every built-in and list function flagged
// bfReachesOutside, read from the tables as they are at the call.
std::vector<std::string> OutsideBuiltinNames();
// Whether text holds one of those names anywhere, in any letter case and
// with blanks or control characters between its letters ("Sub sys tem"
// counts): such a text is refused before it is compiled, since
// compiling already runs number and text arguments.
bool NamesOutsideBuiltin(const std::string& text);

// Whether every walk in e (and in its sub-expressions) is bounded: summa and
// product get constant bounds, dsumma, dproduct, str_iota and integrate a
// constant count, the token and word walks a constant text, the text
// builders (strmul, the paddings, the tab expansions) a constant count of
// at most kMaxTextRepeat whose product over the expression stays within
// kMaxTextGrowth, and all walks together at most kMaxWalkSteps evaluations. Array
// walks count as the arrays the targets make (a few
// items), so a walk over an array that a token spreader may fill is refused.
bool WalksAreBounded(const EXPRESSION& e);

// The variables the evaluating targets compile against: n, x, s, p, z of
// each simple type, four-item arrays a2 (int), a3 (double), a4 (point), a6
// (string) and a 2 x 3 int array m.
void AddTargetVariables(TVariableList& list);

// The guard of the evaluating targets: short enough and naming nothing
// outside. When it lets a text through, the process works in an empty
// temporary folder from then on (EnterEmptyFolder), where no file a text
// names exists. Compiling and WalksAreBounded come after it.
bool AcceptsEvaluatedText(const std::string& text);

// The whole road of an expression target up to its compiled text: false when
// the guard refuses the input; otherwise list holds the target's variables
// and e the compiled input (count -1 when it does not compile), which the
// caller frees.
bool CompileGuardedExpression(const uint8_t* data, size_t size, TVariableList& list, EXPRESSION& e);

}  // namespace fuzz
