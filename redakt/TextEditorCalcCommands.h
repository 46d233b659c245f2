// The calc command's line task: one chunk of the working range aggregated
// on a worker (or, with multithreading off, the whole range on the
// user-interface thread), and the values it gathers.
#pragma once

#include "Expression.h"
#include "TextEditorDispatcher.h"

// The operations of calc. ORDER: a code is the row of its word in the
// table of words (TextEditorCalcCommands.cpp).
enum TCalcOperation { coSum, coAve, coMin, coMax, coDSum, coDAve, coDMin, coDMax };

// What calc gathers: the int operations exactly (128 bits hold the sum of
// any number of 64-bit values a text can have lines for), the double ones
// as double.
struct TCalcResult {
    __int128 integer = 0;
    double real = 0;
};

// The operation's start value: 0 for the sums and averages, the largest and
// the smallest 64-bit value for min and max (the first value read replaces
// it), +infinity and -infinity for dmin and dmax.
TCalcResult CalcStartValue(int operation);

// Reads each line, or the string value of the expression for it, as an
// integer (codes 0 to 3) or a double (4 to 7), 0 when it is none, into its
// result: added, or kept when smaller (min) or larger (max). Complete
// merges the result into the total by the same rule, so tasks merged in
// any order give what one pass over the range gives.
class TCmdCalcTask : public TTextEditorLineTask {
public:
    // The expression is copied; total may be null (Complete then does nothing).
    TCmdCalcTask(TStringContainer& lines, const TTextEditorSelection& selection, int operation,
                 const TExpression& expression, bool hasExpression, TCalcResult* total);
    TTextEditorLineTask* Clone() const override;
    void Complete() override;

    int operation;
    TExpression expression;
    bool hasExpression;
    // The variables the task's run evaluates with.
    TTextEditorRuntimeVars* vars = nullptr;
    TCalcResult result;
    TCalcResult* total;

protected:
    // The expression on vars; the result starts at the start value.
    void Bind(TTextEditorRuntimeVars& vars) override;
    void ProcessLine(int line) override;

private:
    TString work;
};
