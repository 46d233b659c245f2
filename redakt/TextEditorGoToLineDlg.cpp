// TTextEditorGoToLineDlg: the go-to-line dialog made from its stored form.
#include "TextEditorGoToLineDlg.h"

#include "Buttons.h"
#include "ComboBox.h"
#include "Langtable.h"
#include "TextEditorPackage.h"
#include "TextEditorTexts.h"

TTextEditorGoToLineDlg::TTextEditorGoToLineDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    cmbSorszam = dynamic_cast<TComboBox*>(FindComponent("cmbSorszam"));
    btnOk = dynamic_cast<TButton*>(FindComponent("btnOk"));
    btnMegsem = dynamic_cast<TButton*>(FindComponent("btnMegsem"));
    btnHelp = dynamic_cast<TButton*>(FindComponent("btnHelp"));
    if (TLangTable* table = GetTextEditorLangTable()) table->SetText(this);
}

TTextEditorGoToLineDlg* SharedGoToLineDlg() {
    constexpr TTextEditorSharedForm slot = TTextEditorSharedForm::GoToLine;
    if (GetTextEditorSharedForm(slot) == nullptr) CreateTextEditorSharedForms();
    return TextEditorSharedForm<TTextEditorGoToLineDlg>(slot);
}
