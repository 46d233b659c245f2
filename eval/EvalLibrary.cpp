// Start-up and shut-down of the eval library, the one place its units are initialised.
#include "EvalLibrary.h"

#include "BinaryOperators.h"
#include "EvaluateEngine.h"
#include "UnaryOperators.h"

void CreateDefaultVariables();
void DestroyDefaultVariables();

void CreateSharedEvalStack();
void DestroySharedEvalStack();
void CreateOpenFiles();
void DestroyOpenFiles();

namespace {
// The operator units as the evaluation loop calls them.
void InstallOperators() {
    TEvaluateOperations& operations = EvaluateOperations();
    operations.binaryOperator = ApplyBinaryOperator;
    operations.unaryOperator = ApplyUnaryOperator;
    operations.simpleFunction = ApplySimpleFunction;
}
}  // namespace

// ORDER: the evaluator's objects in their documented order; the operator and
// function tables and the extension registries go before the shared stack.
void EvalInitialise() {
    CreateDefaultVariables();
    InstallOperators();
    CreateSharedEvalStack();
    CreateOpenFiles();
}

void EvalFinalise() {
    DestroyOpenFiles();
    DestroySharedEvalStack();
    DestroyDefaultVariables();
}

namespace {
// Runs when the shared library is loaded and unloaded.
__attribute__((constructor)) void LoadEvalLibrary() { EvalInitialise(); }
__attribute__((destructor)) void UnloadEvalLibrary() { EvalFinalise(); }
}  // namespace
