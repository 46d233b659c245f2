// Numeric integration of a compiled expression over one of its double variables by a fixed-step rule.
#pragma once

#include "EvalStack.h"
#include "ExpressionModel.h"
#include "Variables.h"

constexpr int kIntegrateMidpoint = 0;
constexpr int kIntegrateTrapezoid = 1;
constexpr int kIntegrateSimpson = 2;

// Integral of expression over [a, b] in the double variable at position
// `variable` of list, by the midpoint (0), trapezoid (1) or Simpson (2) rule
// with n steps (Simpson rounds n up to an even count). The variable is
// stepped by repeated addition of the step and holds its old value again on
// return. n < 1, an unknown method, or a position that is not a double
// variable give 0 without evaluating. b < a gives the negative of the
// integral over [b, a]. Integer results of the integrand count as reals;
// other kinds (texts, points) count as 0. Evaluation errors are not
// reported; they show only through the integrand's values.
long double Integrate(TVariableList& list, EXPRESSION& expression, TEvalStack& stack, int variable, double a,
                      double b, int n, int method);
