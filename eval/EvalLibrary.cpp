// Start-up and shut-down of the eval library, the one place its units are initialised.
#include "EvalLibrary.h"

void CreateDefaultVariables();
void DestroyDefaultVariables();

void EvalInitialise() { CreateDefaultVariables(); }

void EvalFinalise() { DestroyDefaultVariables(); }

namespace {
// Runs when the shared library is loaded and unloaded.
__attribute__((constructor)) void LoadEvalLibrary() { EvalInitialise(); }
__attribute__((destructor)) void UnloadEvalLibrary() { EvalFinalise(); }
}  // namespace
