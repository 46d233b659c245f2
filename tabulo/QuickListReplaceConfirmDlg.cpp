// TQuickListReplaceConfirmDlg: the replace confirmation made from its stored form.
#include "QuickListReplaceConfirmDlg.h"

#include "Buttons.h"
#include "Label.h"

TQuickListReplaceConfirmDlg::TQuickListReplaceConfirmDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    lbQuestion = dynamic_cast<TLabel*>(FindComponent("lbQuestion"));
    btnYes = dynamic_cast<TButton*>(FindComponent("btnYes"));
    btnNo = dynamic_cast<TButton*>(FindComponent("btnNo"));
    btnAll = dynamic_cast<TButton*>(FindComponent("btnAll"));
    btnCancel = dynamic_cast<TButton*>(FindComponent("btnCancel"));
}
