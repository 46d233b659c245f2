// TTextEditor: line editing operations.
#include "TextEditor.h"

// Not built yet: the operations do nothing until the line editing is done.
void TTextEditor::Cut() {}
void TTextEditor::DeleteBlock() {}
void TTextEditor::SelectAll() {}
