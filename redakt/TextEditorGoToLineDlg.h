// TTextEditorGoToLineDlg: the dialog that asks for a line number (or a
// percentage of the text, "50%"), with the history of what was entered,
// made from its stored form.
#pragma once

#include "Form.h"

class TButton;
class TComboBox;

class TTextEditorGoToLineDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorGoToLineDlg, TForm)

public:
    // Made hidden from its stored form, its box empty; its texts are
    // translated by the editors' language table when one exists. It has no
    // handlers of its own: the editor that shows it binds btnHelp.
    explicit TTextEditorGoToLineDlg(TComponent* owner);

    TComboBox* cmbSorszam = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnMegsem = nullptr;
    TButton* btnHelp = nullptr;
};

// The dialog every editor shows: the package's shared form of its slot,
// made on first use and owned by the package, so that it outlives each editor.
TTextEditorGoToLineDlg* SharedGoToLineDlg();
