// The editor's command box.
#include "TextEditorCommandBox.h"

void TTextEditorCommandBox::WMGetDlgCode(TMessage& message) {
    TComboBox::Dispatch(message);
    if (message.WParam == VK_RETURN || message.WParam == VK_ESCAPE) message.Result |= DLGC_WANTALLKEYS;
}
