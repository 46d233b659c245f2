// The macro dialogs made from their stored forms, and the parameter
// dialog's edits laid out at run time.
#include "TextEditorMacroDlgs.h"

#include <algorithm>

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "GroupControls.h"
#include "Label.h"
#include "Langtable.h"
#include "ListBox.h"
#include "TextEditorPackage.h"
#include "TextEditorTexts.h"

TTextEditorMacroListDlg* TextEditorMacroListDlg = nullptr;

namespace {

template <class Control>
Control* Find(TForm* form, const char* name) {
    return dynamic_cast<Control*>(form->FindComponent(name));
}

void Translate(TForm* form) {
    if (TLangTable* table = GetTextEditorLangTable()) table->SetText(form);
}

template <class Form>
Form* SharedForm(TTextEditorSharedForm slot) {
    if (GetTextEditorSharedForm(slot) == nullptr) CreateTextEditorSharedForms();
    return TextEditorSharedForm<Form>(slot);
}

}  // namespace

TTextEditorMacroNameDlg::TTextEditorMacroNameDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    lbName = Find<TLabel>(this, "lbName");
    edName = Find<TEdit>(this, "edName");
    btnOk = Find<TButton>(this, "btnOk");
    btnCancel = Find<TButton>(this, "btnCancel");
    btnHelp = Find<TButton>(this, "btnHelp");
    Translate(this);
}

TTextEditorSelectParamMacroDlg::TTextEditorSelectParamMacroDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    lbMacros = Find<TLabel>(this, "lbMacros");
    cmbMacros = Find<TComboBox>(this, "cmbMacros");
    btnOk = Find<TButton>(this, "btnOk");
    btnCancel = Find<TButton>(this, "btnCancel");
    btnHelp = Find<TButton>(this, "btnHelp");
    Translate(this);
}

TTextEditorParamMacroDlg::TTextEditorParamMacroDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    bevelButtons = Find<TBevel>(this, "bevelButtons");
    btnOk = Find<TButton>(this, "btnOk");
    btnCancel = Find<TButton>(this, "btnCancel");
    btnHelp = Find<TButton>(this, "btnHelp");
    Translate(this);
}

void TTextEditorParamMacroDlg::AddParameterEdits(int count) {
    count = std::clamp(count, 0, kMaxEdits);
    constexpr int step = kEditHeight + 4;
    for (int i = 0; i < count; ++i) {
        auto* edit = new TEdit(this);
        edit->SetParent(this);
        edit->SetBounds(kEditLeft, i * step + 4, kEditWidth, kEditHeight);
        edit->SetTabOrder(i);
        edits.push_back(edit);
    }
    SetClientHeight(std::max(kMinClientHeight, count * step + 4));
    if (bevelButtons != nullptr) bevelButtons->SetHeight(GetClientHeight());
    if (!edits.empty()) SetActiveControl(edits.front());
}

std::vector<std::string> TTextEditorParamMacroDlg::GetParameterTexts() const {
    std::vector<std::string> texts;
    for (const TEdit* edit : edits) texts.push_back(edit->GetText());
    return texts;
}

TTextEditorMacroListDlg::TTextEditorMacroListDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    gbMacros = Find<TGroupBox>(this, "gbMacros");
    lbMacros = Find<TListBox>(this, "lbMacros");
    btnOk = Find<TButton>(this, "btnOk");
    btnHelp = Find<TButton>(this, "btnHelp");
    Translate(this);
}

TTextEditorMacroNameDlg* SharedMacroNameDlg() {
    return SharedForm<TTextEditorMacroNameDlg>(TTextEditorSharedForm::MacroName);
}

TTextEditorSelectParamMacroDlg* SharedSelectParamMacroDlg() {
    return SharedForm<TTextEditorSelectParamMacroDlg>(TTextEditorSharedForm::SelectParamMacro);
}
