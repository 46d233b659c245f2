// TTextEditorCalcResultDlg and TTextEditorApplyResultDlg: the two dialogs
// that show one command's result text in an edit box, made from their
// stored forms and shared by every editor.
#pragma once

#include "Form.h"

class TButton;
class TEdit;
class TLabel;

// "calc result": the label "Result:", edResult and btnOk (default and
// cancel, modal result OK). No handlers of its own.
class TTextEditorCalcResultDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorCalcResultDlg, TForm)

public:
    explicit TTextEditorCalcResultDlg(TComponent* owner);

    TEdit* edResult = nullptr;
    TButton* btnOk = nullptr;
};

// "Apply result": lbResult "Result:", edResult and btnClose (default and
// cancel, modal result OK). No handlers of its own.
class TTextEditorApplyResultDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorApplyResultDlg, TForm)

public:
    explicit TTextEditorApplyResultDlg(TComponent* owner);

    TLabel* lbResult = nullptr;
    TEdit* edResult = nullptr;
    TButton* btnClose = nullptr;
};

// The package's shared forms of their slots, made on first use; null only
// outside the package's life.
TTextEditorCalcResultDlg* SharedCalcResultDlg();
TTextEditorApplyResultDlg* SharedApplyResultDlg();
