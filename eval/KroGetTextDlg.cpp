// TKroGetTextDlg: the one-line text input form, made from its form text.
#include "KroGetTextDlg.h"

#include "Buttons.h"
#include "Edit.h"
#include "Events.h"
#include "Label.h"
#include "Streaming.h"

namespace {

// The form's layout in the class library's form text.
const char kKroGetTextDlgForm[] =
    "object KroGetTextDlg: TKroGetTextDlg\n"
    "  Left = 200\n"
    "  Top = 108\n"
    "  BorderStyle = bsDialog\n"
    "  Caption = 'Text input'\n"
    "  ClientHeight = 89\n"
    "  ClientWidth = 281\n"
    "  Position = poScreenCenter\n"
    "  OnShow = FormShow\n"
    "  PixelsPerInch = 96\n"
    "  TextHeight = 13\n"
    "  object lbCimke: TLabel\n"
    "    Left = 16\n"
    "    Top = 8\n"
    "    Caption = 'Label:'\n"
    "  end\n"
    "  object edSzoveg: TEdit\n"
    "    Left = 8\n"
    "    Top = 24\n"
    "    Width = 265\n"
    "    Height = 21\n"
    "    TabOrder = 0\n"
    "  end\n"
    "  object btnOk: TButton\n"
    "    Left = 112\n"
    "    Top = 56\n"
    "    Width = 75\n"
    "    Height = 25\n"
    "    Caption = '&Ok'\n"
    "    Default = True\n"
    "    ModalResult = mrOk\n"
    "    TabOrder = 1\n"
    "  end\n"
    "  object btnMegsem: TButton\n"
    "    Left = 200\n"
    "    Top = 56\n"
    "    Width = 75\n"
    "    Height = 25\n"
    "    Caption = '&Cancel'\n"
    "    Cancel = True\n"
    "    ModalResult = mrCancel\n"
    "    TabOrder = 2\n"
    "  end\n"
    "end\n";

const THandlerEntry kKroGetTextDlgHandlers[] = {CLASSLIB_HANDLER(TKroGetTextDlg, FormShow)};

}  // namespace

TKroGetTextDlg::TKroGetTextDlg(TComponent* owner) : TForm(owner, 0) {
    ReadComponentText(this, kKroGetTextDlgForm);
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
