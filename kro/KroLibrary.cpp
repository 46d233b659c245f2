// Start-up and shut-down of the kro library: its process-wide objects in order.
#include "Compiler.h"
#include "CustomCommands.h"
#include "ScriptDialogs.h"

namespace {
// ORDER: the keyword list, the custom commands, then the dialog functions
// (added to Eval's custom functions, which Eval's own start-up made); destroyed in reverse.
__attribute__((constructor)) void LoadKroLibrary() {
    CreateCompilerState();
    CreateCustomCommands();
    CreateScriptDialogs();
}
__attribute__((destructor)) void UnloadKroLibrary() {
    DestroyScriptDialogs();
    DestroyCustomCommands();
    DestroyCompilerState();
}
}  // namespace
