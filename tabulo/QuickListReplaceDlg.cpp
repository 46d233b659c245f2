// TQuickListReplaceDlg: the replace dialog made from the find dialog's
// stored form and its own.
#include "QuickListReplaceDlg.h"

#include "Buttons.h"
#include "ComboBox.h"
#include "QuickListFindReplaceInfo.h"

TQuickListReplaceDlg::TQuickListReplaceDlg(TComponent* owner) : TQuickListFindDlg(owner, true) {
    LoadStoredLayout();
    BindControls();
    cmbReplace = dynamic_cast<TComboBox*>(FindComponent("cmbReplace"));
    btnAll = dynamic_cast<TButton*>(FindComponent("btnAll"));
}

void TQuickListReplaceDlg::Load(const TQuickListFindReplaceInfo& info) {
    TQuickListFindDlg::Load(info);
    LoadCombo(cmbReplace, info.replaceHistory, info.replaceText);
}

void TQuickListReplaceDlg::Store(TQuickListFindReplaceInfo& info) {
    TQuickListFindDlg::Store(info);
    StoreCombo(cmbReplace, info.replaceHistory, info.replaceText);
}

void TQuickListReplaceDlg::btnOkClick(TObject* sender) {
    AddToHistory(cmbReplace->GetItems(), cmbReplace->GetText());
    TQuickListFindDlg::btnOkClick(sender);
}
