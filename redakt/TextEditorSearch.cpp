// TTextEditor: search, replace and search all.
#include "TextEditor.h"

// Not built yet: nothing is searched until the search is done.
void TTextEditor::Search() {}
TListBox* TTextEditor::SearchAll(TTextEditorSearchAllCallback) { return nullptr; }
TListBox* TTextEditor::SearchAllM(TStringContainer&, TTextEditorListBoxFactory) { return nullptr; }
void TTextEditor::Replace() {}
