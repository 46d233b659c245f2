// TQuickListReplaceConfirmDlg: asks whether to replace one occurrence found
// by the quick list's search.
#pragma once

#include "Form.h"

class TButton;
class TLabel;

class TQuickListReplaceConfirmDlg : public TForm {
    CLASSLIB_CLASS(TQuickListReplaceConfirmDlg, TForm)

public:
    // The results of its buttons.
    static constexpr TModalResult kYes = 6;
    static constexpr TModalResult kNo = 7;
    static constexpr TModalResult kAll = 10;
    static constexpr TModalResult kCancel = 2;

    // Made hidden from its stored form: caption "Replace", the question and
    // "&Yes" (default), "&No", "&All" and "&Cancel" (cancel).
    explicit TQuickListReplaceConfirmDlg(TComponent* owner);

    TLabel* lbQuestion = nullptr;
    TButton* btnYes = nullptr;
    TButton* btnNo = nullptr;
    TButton* btnAll = nullptr;
    TButton* btnCancel = nullptr;
};
