// TTextEditor: the settings dialog and the text tidying it offers.
#include "TextEditor.h"

void TTextEditor::DeleteTailSpaces() {
    for (int i = 0; i < lines.GetCount(); ++i) lines[i].TrimRight(' ');
    RefreshLines(-1);
    SetModified(true);
}
