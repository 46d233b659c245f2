// TKroGetTextDlg: the one-line text input form, made from its stored form.
#include "KroGetTextDlg.h"

#include "Buttons.h"
#include "Edit.h"
#include "Events.h"
#include "Label.h"

namespace {

const THandlerEntry kKroGetTextDlgHandlers[] = {CLASSLIB_HANDLER(TKroGetTextDlg, FormShow)};

}  // namespace

TKroGetTextDlg::TKroGetTextDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    lbCimke = dynamic_cast<TLabel*>(FindComponent("lbCimke"));
    edSzoveg = dynamic_cast<TEdit*>(FindComponent("edSzoveg"));
    btnOk = dynamic_cast<TButton*>(FindComponent("btnOk"));
    btnMegsem = dynamic_cast<TButton*>(FindComponent("btnMegsem"));
}

TKroGetTextDlg::~TKroGetTextDlg() = default;

std::any TKroGetTextDlg::FindHandler(const std::string& name) {
    return BindHandler(kKroGetTextDlgHandlers, this, name.c_str());
}

std::string TKroGetTextDlg::GetPrompt() const { return lbCimke->GetCaption(); }
void TKroGetTextDlg::SetPrompt(const std::string& prompt) { lbCimke->SetCaption(prompt); }
std::string TKroGetTextDlg::GetInputText() const { return edSzoveg->GetText(); }
void TKroGetTextDlg::SetInputText(const std::string& text) { edSzoveg->SetText(text); }
void TKroGetTextDlg::SetMaxLength(int length) { edSzoveg->SetMaxLength(length); }

bool TKroGetTextDlg::Execute(const std::string& caption, const std::string& prompt, std::string& text) {
    SetCaption(caption);
    SetPrompt(prompt);
    SetInputText(text);
    if (ShowModal() != mrOk) return false;
    text = GetInputText();
    return true;
}

void TKroGetTextDlg::FormShow(TObject*) {
    SetActiveControl(edSzoveg);
    edSzoveg->SelectAll();
}
