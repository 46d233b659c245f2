// TTextEditorConvertLinesDlg: the dialog that asks for the expression each
// line is converted by (with its history) and checks that it compiles
// before it lets OK close it, made from its stored form. SetLineCapacity
// shows it under another caption and label.
#pragma once

#include <any>
#include <string>

#include "Form.h"

class TButton;
class TComboBox;
class TLabel;
class TVariableList;

class TTextEditorConvertLinesDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorConvertLinesDlg, TForm)

public:
    // Made hidden from its stored form, its box empty; its texts are
    // translated by the editors' language table when one exists.
    explicit TTextEditorConvertLinesDlg(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    // OnCreate: nothing.
    void FormCreate(TObject* sender);
    // OK's click: the box's text compiled on `variables`; when it compiles the
    // modal result becomes OK and the text goes first into the box's history
    // (16 entries, each once); else the error box "Wrong converion
    // expression" under the dialog's caption, and the dialog stays open.
    void btnOkClick(TObject* sender);

    // The list the expression is checked on: the caller's, set before each
    // showing (null: the evaluator's default list).
    TVariableList* variables = nullptr;

    TLabel* lbExpression = nullptr;
    TComboBox* cmbExpr = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnHelp = nullptr;
};

// The dialog every editor shows: the package's shared form of its slot,
// made on first use and owned by the package, so that it outlives each editor.
TTextEditorConvertLinesDlg* SharedConvertLinesDlg();
