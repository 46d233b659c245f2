// TCountingPass: the pass of a counting loop (an integer variable stepped by a constant, then compared with a constant) run in place of evaluating its step and its test.
#pragma once

#include <cstdint>

#include "ExpressionModel.h"
#include "Variables.h"

// The step is `v = v + c`, `v = v - c`, `v += c` or `v -= c`, the test
// `v < k`, `v <= k`, `v > k` or `v >= k`, with one variable v and integer
// literals c and k, as compiled. A pass does what evaluating the step and
// then the test does: v steps with wrapping, as integer arithmetic does,
// and the test's truth comes back. It runs only where that evaluation
// would take the same path: v an integer variable without listeners, the
// library's own operators. The expressions are read again at every pass
// (they may have been compiled again in place), so the pass keeps only
// where it found v.
class TCountingPass {
public:
    // Whether step and test have the shape above.
    static bool Fits(const EXPRESSION& step, const EXPRESSION& test);

    // 1 or 0, the test's truth after the step, for a pass made on list; -1,
    // nothing done, where the expressions must be evaluated instead.
    int Run(const EXPRESSION& step, const EXPRESSION& test, TVariableList& list);

private:
    // Where v was found (none yet: stamp 0, which no list gives).
    TVariable* variable = nullptr;
    uint64_t stamp = 0;
    int count = 0;
    int base = 0;
};
