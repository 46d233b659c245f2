// TTextEditor: line editing operations.
#include "TextEditor.h"

// Not built yet: Cut does nothing until the line editing is done.
void TTextEditor::Cut() {}
