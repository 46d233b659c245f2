// The dialogs of the editor's macros, each made from its stored form and
// translated by the editors' language table when one exists: the name of a
// parameterized macro to record, the choice of one to play or delete (both
// shared by every editor), the texts of a macro's parameter places (made per
// playback) and the list of the keyboard macros' characters (made per call).
#pragma once

#include <string>
#include <vector>

#include "Form.h"

class TBevel;
class TButton;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TListBox;

// "Param macro name": edName and OK, Cancel, Help. No handlers of its own.
class TTextEditorMacroNameDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorMacroNameDlg, TForm)

public:
    explicit TTextEditorMacroNameDlg(TComponent* owner);

    TLabel* lbName = nullptr;
    TEdit* edName = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnHelp = nullptr;
};

// "Available macros:" over the drop-down list cmbMacros, and OK, Cancel,
// Help; the editor sets the caption for playing or deleting.
class TTextEditorSelectParamMacroDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorSelectParamMacroDlg, TForm)

public:
    explicit TTextEditorSelectParamMacroDlg(TComponent* owner);

    TLabel* lbMacros = nullptr;
    TComboBox* cmbMacros = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnHelp = nullptr;
};

// "Macro parameters": one edit per parameter place, laid out at run time
// left of bevelButtons and the button column.
class TTextEditorParamMacroDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorParamMacroDlg, TForm)

public:
    explicit TTextEditorParamMacroDlg(TComponent* owner);

    // Adds count edits (at most kMaxEdits; below 0 counts as 0): edit i is
    // kEditWidth x kEditHeight at (kEditLeft, i x (kEditHeight + 4) + 4)
    // with tab order i. The client height becomes the larger of
    // kMinClientHeight and count x (kEditHeight + 4) + 4, and the bevel as
    // high; the first edit becomes the active control. Call it once.
    void AddParameterEdits(int count);
    // The edits' texts, in place order.
    std::vector<std::string> GetParameterTexts() const;

    static constexpr int kMaxEdits = 10;
    static constexpr int kEditWidth = 160;
    static constexpr int kEditHeight = 21;
    static constexpr int kEditLeft = 4;
    static constexpr int kMinClientHeight = 108;

    TBevel* bevelButtons = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnHelp = nullptr;
    std::vector<TEdit*> edits;
};

// "List macros": the group of lbMacros, OK (default and cancel) and Help.
class TTextEditorMacroListDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorMacroListDlg, TForm)

public:
    explicit TTextEditorMacroListDlg(TComponent* owner);

    TGroupBox* gbMacros = nullptr;
    TListBox* lbMacros = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnHelp = nullptr;
};

// The macro list while ListMacros shows it; null otherwise.
extern TTextEditorMacroListDlg* TextEditorMacroListDlg;

// The dialogs every editor shows: the package's shared forms of their slots,
// made on first use and owned by the package, so that they outlive each editor.
TTextEditorMacroNameDlg* SharedMacroNameDlg();
TTextEditorSelectParamMacroDlg* SharedSelectParamMacroDlg();
