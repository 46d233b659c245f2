// TTextEditor: search, replace and search all.
#include <string>

#include "TextEditor.h"
#include "TextEditorTexts.h"

// Not built yet: nothing is searched until the search is done.
void TTextEditor::Search() {}
TListBox* TTextEditor::SearchAll(TTextEditorSearchAllCallback) { return nullptr; }
TListBox* TTextEditor::SearchAllM(TStringContainer&, TTextEditorListBoxFactory) { return nullptr; }
void TTextEditor::Replace() {}
void TTextEditor::SearchByInfo() {}

// The count goes where the language text has its "%d"; any other '%' stays
// as it stands, so a translated text cannot misdirect a formatting call.
TString TTextEditor::GetSearchAllLastLine(int count) {
    std::string text = TextEditorText(100444, "Matching lines: %d");
    const size_t place = text.find("%d");
    if (place != std::string::npos) text.replace(place, 2, std::to_string(count));
    return TString(text);
}
