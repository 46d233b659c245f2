// TTextEditorLineInsertTextDlg: the insert-text dialog made from its stored
// form, and the mode list that enables the column box.
#include "TextEditorLineInsertTextDlg.h"

#include "Buttons.h"
#include "ComboBox.h"
#include "Events.h"
#include "Langtable.h"
#include "TextEditorPackage.h"
#include "TextEditorTexts.h"

namespace {

const THandlerEntry kLineInsertTextDlgHandlers[] = {CLASSLIB_HANDLER(TTextEditorLineInsertTextDlg, cmbModeClick)};

}  // namespace

TTextEditorLineInsertTextDlg::TTextEditorLineInsertTextDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    cmbText = dynamic_cast<TComboBox*>(FindComponent("cmbText"));
    cmbMode = dynamic_cast<TComboBox*>(FindComponent("cmbMode"));
    cmbPosition = dynamic_cast<TComboBox*>(FindComponent("cmbPosition"));
    btnOk = dynamic_cast<TButton*>(FindComponent("btnOk"));
    btnCancel = dynamic_cast<TButton*>(FindComponent("btnCancel"));
    btnHelp = dynamic_cast<TButton*>(FindComponent("btnHelp"));
    if (TLangTable* table = GetTextEditorLangTable()) table->SetText(this);
}

std::any TTextEditorLineInsertTextDlg::FindHandler(const std::string& name) {
    return BindHandler(kLineInsertTextDlgHandlers, this, name.c_str());
}

void TTextEditorLineInsertTextDlg::cmbModeClick(TObject*) {
    cmbPosition->SetEnabled(cmbMode->GetItemIndex() == kModeMiddle);
}

TTextEditorLineInsertTextDlg* SharedLineInsertTextDlg() {
    constexpr TTextEditorSharedForm slot = TTextEditorSharedForm::LineInsertText;
    if (GetTextEditorSharedForm(slot) == nullptr) CreateTextEditorSharedForms();
    return TextEditorSharedForm<TTextEditorLineInsertTextDlg>(slot);
}
