// Start-up and shut-down of the kro library: its process-wide objects in order.
#include "Compiler.h"
#include "CustomCommands.h"

namespace {
// ORDER: the keyword list, then the custom commands; destroyed in reverse.
__attribute__((constructor)) void LoadKroLibrary() {
    CreateCompilerState();
    CreateCustomCommands();
}
__attribute__((destructor)) void UnloadKroLibrary() {
    DestroyCustomCommands();
    DestroyCompilerState();
}
}  // namespace
