// Fuzz target: the expression compiler, then one evaluation of what compiled.
#include <cstdint>

#include "EvaluateEngine.h"
#include "EvaluationGuard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TVariableList list;
    EXPRESSION e;
    if (!fuzz::CompileGuardedExpression(data, size, list, e)) return -1;
    if (e.count >= 0 && fuzz::WalksAreBounded(e)) {
        TEvalStack stack;
        EvaluateExpression(list, e, stack, false, nullptr);
    }
    FreeExpression(e);
    return 0;
}
