// The calc and apply result dialogs, made from their stored forms.
#include "TextEditorResultDlgs.h"

#include "Buttons.h"
#include "Edit.h"
#include "Label.h"
#include "TextEditorPackage.h"

TTextEditorCalcResultDlg::TTextEditorCalcResultDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    edResult = dynamic_cast<TEdit*>(FindComponent("edResult"));
    btnOk = dynamic_cast<TButton*>(FindComponent("btnOk"));
}

TTextEditorApplyResultDlg::TTextEditorApplyResultDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    lbResult = dynamic_cast<TLabel*>(FindComponent("lbResult"));
    edResult = dynamic_cast<TEdit*>(FindComponent("edResult"));
    btnClose = dynamic_cast<TButton*>(FindComponent("btnClose"));
}

namespace {

template <class Form>
Form* SharedForm(TTextEditorSharedForm slot) {
    if (GetTextEditorSharedForm(slot) == nullptr) CreateTextEditorSharedForms();
    return TextEditorSharedForm<Form>(slot);
}

}  // namespace

TTextEditorCalcResultDlg* SharedCalcResultDlg() {
    return SharedForm<TTextEditorCalcResultDlg>(TTextEditorSharedForm::CalcResult);
}

TTextEditorApplyResultDlg* SharedApplyResultDlg() {
    return SharedForm<TTextEditorApplyResultDlg>(TTextEditorSharedForm::ApplyResult);
}
