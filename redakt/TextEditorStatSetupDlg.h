// TTextEditorStatSetupDlg: the dialog that asks which column of the lines the
// column statistics read and which character separates the columns, made
// from its stored form.
#pragma once

#include "Form.h"

class TButton;
class TComboBox;

class TTextEditorStatSetupDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorStatSetupDlg, TForm)

public:
    // Made hidden from its stored form: column "0" (items "0" to "10"), the
    // comma chosen. It has no handlers of its own.
    explicit TTextEditorStatSetupDlg(TComponent* owner);

    // Editable: any text may be typed; its leading number is the column.
    TComboBox* cmbCol = nullptr;
    // Each item is the separator between apostrophes and its name: "',' <comma>".
    TComboBox* cmbSep = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
};

// The dialog every editor shows: the package's shared form of its slot,
// made on first use and owned by the package, so that it outlives each editor.
TTextEditorStatSetupDlg* SharedStatSetupDlg();
