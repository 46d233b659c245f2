// TQuickListFindDlg: the find dialog made from its stored form, its loading
// from and storing into the search state, and the history rule.
#include "QuickListFindDlg.h"

#include "Buttons.h"
#include "ComboBox.h"
#include "Events.h"
#include "QuickListFindReplaceInfo.h"

namespace {

const THandlerEntry kQuickListFindDlgHandlers[] = {CLASSLIB_HANDLER(TQuickListFindDlg, btnOkClick)};

}  // namespace

TQuickListFindDlg::TQuickListFindDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    BindControls();
}

TQuickListFindDlg::TQuickListFindDlg(TComponent* owner, bool) : TForm(owner) {}

void TQuickListFindDlg::BindControls() {
    cmbText = dynamic_cast<TComboBox*>(FindComponent("cmbText"));
    cbWholeText = dynamic_cast<TCheckBox*>(FindComponent("cbWholeText"));
    cbCase = dynamic_cast<TCheckBox*>(FindComponent("cbCase"));
    btnOk = dynamic_cast<TButton*>(FindComponent("btnOk"));
    btnCancel = dynamic_cast<TButton*>(FindComponent("btnCancel"));
}

std::any TQuickListFindDlg::FindHandler(const std::string& name) {
    return BindHandler(kQuickListFindDlgHandlers, this, name.c_str());
}

void TQuickListFindDlg::LoadCombo(TComboBox* combo, const std::vector<std::string>& history,
                                  const std::string& text) {
    TStrings* list = combo->GetItems();
    list->Clear();
    for (const std::string& entry : history) list->Add(entry);
    combo->SetText(text);
}

void TQuickListFindDlg::StoreCombo(TComboBox* combo, std::vector<std::string>& history, std::string& text) {
    text = combo->GetText();
    const TStrings* list = combo->GetItems();
    history.clear();
    for (int i = 0; i < list->GetCount(); ++i) history.push_back(list->GetStrings(i));
}

void TQuickListFindDlg::Load(const TQuickListFindReplaceInfo& info) {
    LoadCombo(cmbText, info.findHistory, info.findText);
    cbWholeText->SetChecked(info.wholeText);
    cbCase->SetChecked(info.caseSensitive);
}

void TQuickListFindDlg::Store(TQuickListFindReplaceInfo& info) {
    StoreCombo(cmbText, info.findHistory, info.findText);
    info.wholeText = cbWholeText->GetChecked();
    info.caseSensitive = cbCase->GetChecked();
}

void TQuickListFindDlg::btnOkClick(TObject*) {
    AddToHistory(cmbText->GetItems(), cmbText->GetText());
    SetModalResult(mrOk);
}

void TQuickListFindDlg::AddToHistory(TStrings* list, const std::string& text) {
    if (text.empty()) return;
    for (int i = 0; i < list->GetCount(); ++i)
        if (list->GetStrings(i) == text) return;
    list->Insert(0, text);
    while (list->GetCount() > TQuickListFindReplaceInfo::kHistorySize) list->Delete(list->GetCount() - 1);
}
