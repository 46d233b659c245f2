// Start-up and shut-down of the eval library, the one place its units are initialised.
#include "EvalLibrary.h"

#include "BinaryOperators.h"
#include "EvaluateEngine.h"
#include "ExtensionHooks.h"
#include "FunctionTable.h"
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

EXPRESSION_ITEM CustomOperatorHook(TVariableList&, TEvalStack&, EXPRESSION_ITEM& left, EXPRESSION_ITEM& right, int id,
                                   bool check) {
    return ApplyCustomOperator(left, right, id, check);
}

// The function tables and the extension registries as the loop calls them.
void InstallFunctions() {
    CreateFunctionTables();
    CreateExtensionRegistries();
    TEvaluateOperations& operations = EvaluateOperations();
    operations.builtinFunction = EvaluateMultiFunction;
    operations.listFunction = EvaluateVarFunction;
    operations.externalFunction = EvaluateExtFunction;
    operations.customFunction = EvaluateCustomFunction;
    operations.customOperator = CustomOperatorHook;
}

void RemoveFunctions() {
    TEvaluateOperations& operations = EvaluateOperations();
    operations.builtinFunction = nullptr;
    operations.listFunction = nullptr;
    operations.externalFunction = nullptr;
    operations.customFunction = nullptr;
    operations.customOperator = nullptr;
    DestroyExtensionRegistries();
    DestroyFunctionTables();
}
}  // namespace

// ORDER: the evaluator's objects in their documented order; the operator and
// function tables and the extension registries go before the shared stack.
void EvalInitialise() {
    CreateDefaultVariables();
    InstallOperators();
    InstallFunctions();
    CreateSharedEvalStack();
    CreateOpenFiles();
}

void EvalFinalise() {
    DestroyOpenFiles();
    DestroySharedEvalStack();
    RemoveFunctions();
    DestroyDefaultVariables();
}

namespace {
// Runs when the shared library is loaded and unloaded.
__attribute__((constructor)) void LoadEvalLibrary() { EvalInitialise(); }
__attribute__((destructor)) void UnloadEvalLibrary() { EvalFinalise(); }
}  // namespace
