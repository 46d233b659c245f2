// TTextEditor: the system caret's shape and visibility.
#include "TextEditor.h"

// HideCaret succeeds only for the caret's owner: a caret of another window
// is never destroyed here (CreateCaret replaces it anyway).
void TTextEditor::RefreshCaret() {
    if (!HandleAllocated()) return;
    HWND window = GetHandle();
    if (HideCaret(window)) DestroyCaret();
    CreateCaret(window, nullptr, EditMode == emInsert ? 1 : GetCharWidth(), GetLineHeight());
    if (!ReadOnly) ShowCaret(window);
    SetCaretPos(CurCol, CurLine);
}

void TTextEditor::CaretOff() {
    if (!HandleAllocated() || !IsShowing()) return;
    if (HideCaret(GetHandle())) DestroyCaret();
}

void TTextEditor::CaretOn() {
    if (HandleAllocated() && IsShowing()) RefreshCaret();
}
