// The search and replace dialogs, made from their stored forms: the search
// dialog, the replace and search-all dialogs derived from it, and the prompt
// shown before each replacement. Each exists once in the process, shared by
// every editor, so a check box the editor does not write keeps its state.
#pragma once

#include <any>
#include <string>

#include "Form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TLabel;
class TRadioButton;
class TVariableList;

class TTextEditorSearchDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorSearchDlg, TForm)

public:
    // Made hidden from its stored form: nothing checked but "Forward",
    // "Entire text" (scope) and "From cursor"; its texts are translated by
    // the editors' language table when one exists.
    explicit TTextEditorSearchDlg(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    // The close check of OK: an empty text is refused with "Specify a text."
    // under "Search"; with "Eval expression" checked, a text that does not
    // compile on `vars` (the default list when null) is refused with "Wrong
    // search eval expression" under the dialog's caption. Each refusal shows
    // its stop box; other results are not checked.
    bool CloseQuery() override;

    // Checking one of "Eval expression" and "Regular expression" unchecks the other.
    void cbEvalClick(TObject* sender);
    void cbRegExpClick(TObject* sender);

    TComboBox* cmbText = nullptr;
    TCheckBox* cbCaseSensitivity = nullptr;
    TCheckBox* cbWholeWords = nullptr;
    TCheckBox* cbRegExp = nullptr;
    TCheckBox* cbEval = nullptr;
    TRadioButton* rbForward = nullptr;
    TRadioButton* rbBackward = nullptr;
    TRadioButton* rbEntire = nullptr;
    TRadioButton* rbSelection = nullptr;
    TRadioButton* rbFirstPos = nullptr;
    TRadioButton* rbCurPos = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnHelp = nullptr;
    // The variables an eval text is compiled on (the editor that shows the
    // dialog gives its own).
    TVariableList* vars = nullptr;

protected:
    // For a derived dialog, which loads the stored forms of its whole class
    // chain itself and then calls FindControls.
    struct TDerivedForm {};
    TTextEditorSearchDlg(TComponent* owner, TDerivedForm);
    // Finds the controls by name and translates the form.
    void FindControls();
    // The stop box of a refused close, owned by the dialog.
    void ShowRefusal(const std::string& text, const std::string& caption);
};

class TTextEditorReplaceDlg : public TTextEditorSearchDlg {
    CLASSLIB_CLASS(TTextEditorReplaceDlg, TTextEditorSearchDlg)

public:
    // The search dialog's controls ("Regular expression" and "Eval
    // expression" hidden) with the replacement text, "Prompt on replace"
    // (checked) and "&All" (modal result 6).
    explicit TTextEditorReplaceDlg(TComponent* owner);

    // OK with an empty text is refused with "Specify a text" under
    // "Replace"; "&All" and the other results are not checked.
    bool CloseQuery() override;

    TComboBox* cmbReplaceText = nullptr;
    TCheckBox* cbPromptOnReplace = nullptr;
    TButton* Button4 = nullptr;
};

class TTextEditorSearchAllDlg : public TTextEditorSearchDlg {
    CLASSLIB_CLASS(TTextEditorSearchAllDlg, TTextEditorSearchDlg)

public:
    // The search dialog's controls with the list of result destinations.
    explicit TTextEditorSearchAllDlg(TComponent* owner);

    TComboBox* cmbResultsDest = nullptr;
};

class TTextEditorReplacePromptDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorReplacePromptDlg, TForm)

public:
    // "&Yes" (6, default), "&No" (7), "&Cancel" (2, cancel), "&All" (1);
    // Label1 is written by the editor that shows it.
    explicit TTextEditorReplacePromptDlg(TComponent* owner);

    TLabel* Label1 = nullptr;
    TButton* btnYes = nullptr;
    TButton* btnNo = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnAll = nullptr;
};

// The dialogs every editor shows: the package's shared forms of their slots,
// made on first use and owned by the package, so that they outlive each editor.
TTextEditorSearchDlg* SharedSearchDlg();
TTextEditorReplaceDlg* SharedReplaceDlg();
TTextEditorSearchAllDlg* SharedSearchAllDlg();
TTextEditorReplacePromptDlg* SharedReplacePromptDlg();
