// TTextEditorStatSetupDlg: the statistics-options dialog made from its stored form.
#include "TextEditorStatSetupDlg.h"

#include "Buttons.h"
#include "ComboBox.h"
#include "TextEditorPackage.h"

TTextEditorStatSetupDlg::TTextEditorStatSetupDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    cmbCol = dynamic_cast<TComboBox*>(FindComponent("cmbCol"));
    cmbSep = dynamic_cast<TComboBox*>(FindComponent("cmbSep"));
    btnOk = dynamic_cast<TButton*>(FindComponent("btnOk"));
    btnCancel = dynamic_cast<TButton*>(FindComponent("btnCancel"));
}

TTextEditorStatSetupDlg* SharedStatSetupDlg() {
    constexpr TTextEditorSharedForm slot = TTextEditorSharedForm::StatSetup;
    if (GetTextEditorSharedForm(slot) == nullptr) CreateTextEditorSharedForms();
    return TextEditorSharedForm<TTextEditorStatSetupDlg>(slot);
}
