// TKroGetTextDlg: the one-line text input form (a prompt, an edit box, OK and Cancel).
#pragma once

#include <any>
#include <string>

#include "Form.h"

class TButton;
class TEdit;
class TLabel;

class TKroGetTextDlg : public TForm {
    CLASSLIB_CLASS(TKroGetTextDlg, TForm)

public:
    // Made hidden with its controls from its stored form: caption "Text input",
    // prompt "Label:", an empty edit box, "&Ok" (default, mrOk) and
    // "&Cancel" (cancel, mrCancel).
    explicit TKroGetTextDlg(TComponent* owner);
    ~TKroGetTextDlg() override;
    std::any FindHandler(const std::string& name) override;

    // The prompt shown above the edit box.
    std::string GetPrompt() const;
    void SetPrompt(const std::string& prompt);
    // The text of the edit box.
    std::string GetInputText() const;
    void SetInputText(const std::string& text);
    // The most bytes the user may type; 0 or less: no limit.
    void SetMaxLength(int length);

    // Shows the form modally with that caption, prompt and starting text.
    // True, with text set to what the edit box holds, when the user chose OK;
    // false, with text unchanged, for Cancel or a closed form.
    bool Execute(const std::string& caption, const std::string& prompt, std::string& text);

    // OnShow: the edit box gets the focus with its whole text selected.
    void FormShow(TObject* sender);

    TLabel* lbCimke = nullptr;
    TEdit* edSzoveg = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnMegsem = nullptr;
};
