// The editor's command box and the history of the editor's combo boxes.
#pragma once

#include "ComboBox.h"

// The combo box of the command line. It keeps Enter and Esc for itself, so
// that on a form with a default or a cancel button they reach the editor's
// handler instead of pressing a button.
class TTextEditorCommandBox : public TComboBox {
    CLASSLIB_CLASS(TTextEditorCommandBox, TComboBox)

public:
    explicit TTextEditorCommandBox(TComponent* owner) : TComboBox(owner) {}

protected:
    void WMGetDlgCode(TMessage& message);

    CLASSLIB_MESSAGE_MAP(TTextEditorCommandBox, TComboBox, {WM_GETDLGCODE, &TTextEditorCommandBox::WMGetDlgCode})
};
