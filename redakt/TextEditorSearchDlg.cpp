// The search, replace, search-all and replace-prompt dialogs made from their
// stored forms, with the close checks of the first three.
#include "TextEditorSearchDlg.h"

#include "Buttons.h"
#include "ComboBox.h"
#include "Events.h"
#include "Expression.h"
#include "Label.h"
#include "Langtable.h"
#include "TextEditorPackage.h"
#include "TextEditorTexts.h"

namespace {

const THandlerEntry kSearchDlgHandlers[] = {CLASSLIB_HANDLER(TTextEditorSearchDlg, cbEvalClick),
                                            CLASSLIB_HANDLER(TTextEditorSearchDlg, cbRegExpClick)};

template <class Control>
Control* Named(TComponent* form, const char* name) {
    return dynamic_cast<Control*>(form->FindComponent(name));
}

void Translate(TForm* form) {
    if (TLangTable* table = GetTextEditorLangTable()) table->SetText(form);
}

// The dialog of a slot, made on first use.
template <class Dialog>
Dialog* SharedDialog(TTextEditorSharedForm slot) {
    if (GetTextEditorSharedForm(slot) == nullptr) CreateTextEditorSharedForms();
    return TextEditorSharedForm<Dialog>(slot);
}

}  // namespace

TTextEditorSearchDlg::TTextEditorSearchDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    FindControls();
}

TTextEditorSearchDlg::TTextEditorSearchDlg(TComponent* owner, TDerivedForm) : TForm(owner) {}

void TTextEditorSearchDlg::FindControls() {
    cmbText = Named<TComboBox>(this, "cmbText");
    cbCaseSensitivity = Named<TCheckBox>(this, "cbCaseSensitivity");
    cbWholeWords = Named<TCheckBox>(this, "cbWholeWords");
    cbRegExp = Named<TCheckBox>(this, "cbRegExp");
    cbEval = Named<TCheckBox>(this, "cbEval");
    rbForward = Named<TRadioButton>(this, "rbForward");
    rbBackward = Named<TRadioButton>(this, "rbBackward");
    rbEntire = Named<TRadioButton>(this, "rbEntire");
    rbSelection = Named<TRadioButton>(this, "rbSelection");
    rbFirstPos = Named<TRadioButton>(this, "rbFirstPos");
    rbCurPos = Named<TRadioButton>(this, "rbCurPos");
    btnOk = Named<TButton>(this, "btnOk");
    btnCancel = Named<TButton>(this, "btnCancel");
    btnHelp = Named<TButton>(this, "btnHelp");
    Translate(this);
}

std::any TTextEditorSearchDlg::FindHandler(const std::string& name) {
    return BindHandler(kSearchDlgHandlers, this, name.c_str());
}

void TTextEditorSearchDlg::ShowRefusal(const std::string& text, const std::string& caption) {
    MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

bool TTextEditorSearchDlg::CloseQuery() {
    if (!TForm::CloseQuery()) return false;
    if (GetModalResult() != mrOk) return true;
    const std::string text = cmbText->GetText();
    if (text.empty()) {
        ShowRefusal(TextEditorText(100299, "Specify a text."), TextEditorText(100300, "Search"));
        return false;
    }
    if (cbEval->GetChecked()) {
        TExpression expression;
        if (!expression.SetSource(TString(text), vars)) {
            ShowRefusal(TextEditorText(100459, "Wrong search eval expression"), GetCaption());
            return false;
        }
    }
    return true;
}

void TTextEditorSearchDlg::cbEvalClick(TObject*) {
    if (cbEval->GetChecked()) cbRegExp->SetChecked(false);
}

void TTextEditorSearchDlg::cbRegExpClick(TObject*) {
    if (cbRegExp->GetChecked()) cbEval->SetChecked(false);
}

TTextEditorReplaceDlg::TTextEditorReplaceDlg(TComponent* owner) : TTextEditorSearchDlg(owner, TDerivedForm{}) {
    LoadStoredLayout();
    FindControls();
    cmbReplaceText = Named<TComboBox>(this, "cmbReplaceText");
    cbPromptOnReplace = Named<TCheckBox>(this, "cbPromptOnReplace");
    Button4 = Named<TButton>(this, "Button4");
}

bool TTextEditorReplaceDlg::CloseQuery() {
    if (!TForm::CloseQuery()) return false;
    if (GetModalResult() != mrOk || !cmbText->GetText().empty()) return true;
    ShowRefusal(TextEditorText(100297, "Specify a text"), TextEditorText(100298, "Replace"));
    return false;
}

TTextEditorSearchAllDlg::TTextEditorSearchAllDlg(TComponent* owner) : TTextEditorSearchDlg(owner, TDerivedForm{}) {
    LoadStoredLayout();
    FindControls();
    cmbResultsDest = Named<TComboBox>(this, "cmbResultsDest");
}

TTextEditorReplacePromptDlg::TTextEditorReplacePromptDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    Label1 = Named<TLabel>(this, "Label1");
    btnYes = Named<TButton>(this, "btnYes");
    btnNo = Named<TButton>(this, "btnNo");
    btnCancel = Named<TButton>(this, "btnCancel");
    btnAll = Named<TButton>(this, "btnAll");
    Translate(this);
}

TTextEditorSearchDlg* SharedSearchDlg() { return SharedDialog<TTextEditorSearchDlg>(TTextEditorSharedForm::Search); }

TTextEditorReplaceDlg* SharedReplaceDlg() {
    return SharedDialog<TTextEditorReplaceDlg>(TTextEditorSharedForm::Replace);
}

TTextEditorSearchAllDlg* SharedSearchAllDlg() {
    return SharedDialog<TTextEditorSearchAllDlg>(TTextEditorSharedForm::SearchAll);
}

TTextEditorReplacePromptDlg* SharedReplacePromptDlg() {
    return SharedDialog<TTextEditorReplacePromptDlg>(TTextEditorSharedForm::ReplacePrompt);
}
