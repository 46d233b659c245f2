// TTextEditor: the settings dialog and the text tidying it offers.
#include "TextEditor.h"

// Not built yet: no settings dialog shows until it is done.
void TTextEditor::Setup() {}

void TTextEditor::DeleteTailSpaces() {
    for (int i = 0; i < lines.GetCount(); ++i) lines[i].TrimRight(' ');
    RefreshLines(-1);
    SetModified(true);
}
