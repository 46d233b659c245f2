// The editor's command box and the history of the editor's combo boxes.
#include "TextEditorCommandBox.h"

void TTextEditorCommandBox::WMGetDlgCode(TMessage& message) {
    TComboBox::Dispatch(message);
    if (message.WParam == VK_RETURN || message.WParam == VK_ESCAPE) message.Result |= DLGC_WANTALLKEYS;
}

void AddComboHistory(TComboBox* box, int limit) {
    if (box == nullptr) return;
    const std::string text = box->GetText();
    if (text.empty()) return;
    TStrings* items = box->GetItems();
    for (int i = 0; i < items->GetCount(); ++i)
        if (items->GetStrings(i) == text) return;
    items->Insert(0, text);
    if (items->GetCount() > limit) items->Delete(items->GetCount() - 1);
}
