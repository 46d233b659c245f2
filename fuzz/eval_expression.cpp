// Fuzz target: the expression compiler, then one evaluation of what compiled.
#include <cstdint>
#include <string>

#include "EvaluateEngine.h"
#include "EvaluationGuard.h"
#include "ExpressionCompiler.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterEmptyFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = fuzz::AsString(data, size);
    if (!fuzz::AcceptsEvaluatedText(text)) return -1;
    TVariableList list;
    fuzz::AddTargetVariables(list);
    EXPRESSION e = CreateExpression(list, TString(text.data(), static_cast<int>(text.size())));
    if (e.count >= 0 && fuzz::WalksAreBounded(e)) {
        TEvalStack stack;
        EvaluateExpression(list, e, stack, false, nullptr);
    }
    FreeExpression(e);
    return 0;
}
