// TQuickListReplaceDlg: the quick list's replace dialog, the find dialog with
// the replacement text and its history and "Replace &all"; its stored form
// inherits the find dialog's.
#pragma once

#include "QuickListFindDlg.h"

class TQuickListReplaceDlg : public TQuickListFindDlg {
    CLASSLIB_CLASS(TQuickListReplaceDlg, TQuickListFindDlg)

public:
    // The find dialog's stored form, then its own: "&Ok" gives mrOk and
    // "Replace &all" 6 (mrYes).
    explicit TQuickListReplaceDlg(TComponent* owner);

    // The find dialog's part, then the replacement text and its history.
    void Load(const TQuickListFindReplaceInfo& info) override;
    void Store(TQuickListFindReplaceInfo& info) override;
    // The find dialog's, and the replacement text first in its own list, so
    // that the replace history fills as the find history does.
    void btnOkClick(TObject* sender) override;

    TComboBox* cmbReplace = nullptr;
    TButton* btnAll = nullptr;
};
