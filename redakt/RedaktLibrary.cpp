// Start-up and shut-down of the Redakt units: registers the editor and its
// property table for form resources and the palette when the library loads,
// and takes the class out of the registry when it unloads.
#include "Registration.h"
#include "TextEditor.h"

namespace {

void RedaktInitialise() {
    RegisterTextEditorProperties();
    Texteditor::Register();
}

void RedaktFinalise() { UnRegisterClass(TTextEditor::StaticClassInfo()); }

__attribute__((constructor)) void LoadRedaktLibrary() { RedaktInitialise(); }
__attribute__((destructor)) void UnloadRedaktLibrary() { RedaktFinalise(); }

}  // namespace
