// TTextEditor: the frame the line commands share: the working range, and the
// history of the editor's combo boxes (an entry is kept once, compared
// exactly).
#include <algorithm>

#include "ComboBox.h"
#include "TextEditor.h"
#include "TextEditorFunctions.h"

void TTextEditor::GetWorkingRange(int& first, int& last) {
    if (selection.selStartLine != selection.selEndLine) {
        first = selection.selStartLine;
        last = selection.selEndLine - 1;
    } else {
        first = 0;
        last = lines.GetCount() - 1;
    }
}

void AddComboHistory(TComboBox* box, int limit) {
    if (box == nullptr) return;
    const std::string text = box->GetText();
    TStrings* items = box->GetItems();
    if (text.empty()) return;
    for (int i = 0; i < items->GetCount(); ++i)
        if (items->GetStrings(i) == text) return;
    items->Insert(0, text);
    while (items->GetCount() > std::max(limit, 0)) items->Delete(items->GetCount() - 1);
}
