// Numeric integration of a compiled expression: midpoint, trapezoid and Simpson rules.
#include "NumericIntegration.h"

#include "EvaluateEngine.h"

namespace {

// The integrand's value at the variable's current value.
double EvaluateIntegrand(TVariableList& list, EXPRESSION& expression, TEvalStack& stack) {
    EXPRVALUE result = EvaluateExpression(list, expression, stack, false, nullptr);
    if (result.kind == ekReal) return result.value.real;
    if (result.kind == ekInteger) return static_cast<double>(result.value.integer);
    return 0.0;
}

double Midpoint(TVariableList& list, EXPRESSION& expression, TEvalStack& stack, double& x, double a, double h,
                int n) {
    double x0 = a, x1 = a + h, sum = 0.0;
    for (int i = 0; i < n; ++i) {
        x = (x0 + x1) * 0.5;
        sum += h * EvaluateIntegrand(list, expression, stack);
        x0 = x1;
        x1 = x1 + h;
    }
    return sum;
}

double Trapezoid(TVariableList& list, EXPRESSION& expression, TEvalStack& stack, double& x, double a, double h,
                 int n) {
    double x1 = a + h, sum = 0.0;
    x = a;
    double f0 = EvaluateIntegrand(list, expression, stack);
    x = x1;
    double f1 = EvaluateIntegrand(list, expression, stack);
    for (int i = 0; i < n; ++i) {
        sum += (f0 + f1) * h;
        f0 = f1;
        x = x1 + h;
        f1 = EvaluateIntegrand(list, expression, stack);
        x1 = x1 + h;
    }
    return sum * 0.5;
}

long double Simpson(TVariableList& list, EXPRESSION& expression, TEvalStack& stack, double& x, double a, double b,
                    int n) {
    const long long points = (n % 2 == 0) ? static_cast<long long>(n) + 1 : static_cast<long long>(n) + 2;
    const double h = (b - a) / static_cast<double>(points - 1);
    double sum = 0.0;
    x = a;
    for (long long i = 0; i < points; ++i) {
        const double weight = (i == 0 || i == points - 1) ? 1.0 : (i % 2 == 1 ? 4.0 : 2.0);
        sum += EvaluateIntegrand(list, expression, stack) * weight;
        x += h;
    }
    return static_cast<long double>(sum) * h * (1.0L / 3.0L);
}

}  // namespace

long double Integrate(TVariableList& list, EXPRESSION& expression, TEvalStack& stack, int variable, double a,
                      double b, int n, int method) {
    if (n < 1) return 0.0L;
    TVariable* target = list.GetVarOfType(variable, vtDouble);
    if (target == nullptr) return 0.0L;
    double& x = target->value.d;
    const double saved = x;
    const double h = (b - a) / n;
    long double result = 0.0L;
    switch (method) {
        case kIntegrateMidpoint: result = Midpoint(list, expression, stack, x, a, h, n); break;
        case kIntegrateTrapezoid: result = Trapezoid(list, expression, stack, x, a, h, n); break;
        case kIntegrateSimpson: result = Simpson(list, expression, stack, x, a, b, n); break;
        default: break;
    }
    // The integrand may have changed the list; look the variable up again.
    TVariable* after = list.GetVarOfType(variable, vtDouble);
    if (after != nullptr) after->value.d = saved;
    return result;
}
