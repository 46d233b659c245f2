// Start-up and shut-down of the Redakt units: registers the editor and its
// property table for form resources and the palette and makes the package's
// shared objects when the library loads; frees them and takes the class out
// of the registry when it unloads.
#include "Registration.h"
#include "TextEditor.h"
#include "TextEditorPackage.h"

namespace {

// ORDER: the property table before the class that publishes it; the shared
// objects last, as editors need them only once the library is up.
void RedaktInitialise() {
    RegisterTextEditorProperties();
    Texteditor::Register();
    CreateTextEditorPackage();
}

void RedaktFinalise() {
    FreeTextEditorPackage();
    UnRegisterClass(TTextEditor::StaticClassInfo());
}

__attribute__((constructor)) void LoadRedaktLibrary() { RedaktInitialise(); }
__attribute__((destructor)) void UnloadRedaktLibrary() { RedaktFinalise(); }

}  // namespace
