// TTextEditorLineInsertTextDlg: the dialog that asks for a text to insert into
// every line (with its history), where to insert it (line start, a column,
// line end) and the column (with its history), made from its stored form.
#pragma once

#include <any>
#include <string>

#include "Form.h"

class TButton;
class TComboBox;

class TTextEditorLineInsertTextDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorLineInsertTextDlg, TForm)

public:
    // Made hidden from its stored form: mode "Begin", column "0" disabled;
    // its texts are translated by the editors' language table when one exists.
    explicit TTextEditorLineInsertTextDlg(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    // OnClick of the mode list: the column box is enabled only for "Middle".
    void cmbModeClick(TObject* sender);

    // The mode items, in their order (TTextEditorInsertMode).
    static constexpr int kModeMiddle = 1;

    TComboBox* cmbText = nullptr;
    TComboBox* cmbMode = nullptr;
    TComboBox* cmbPosition = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnHelp = nullptr;
};

// The dialog every editor shows: the package's shared form of its slot,
// made on first use and owned by the package, so that it outlives each editor.
TTextEditorLineInsertTextDlg* SharedLineInsertTextDlg();
