// TTextEditor: its message map and the window-level handlers: creation,
// focus, the dialog-code query, the Alt shortcuts, scrolling and the Shift
// wheel.
#include <algorithm>

#include "ComboBox.h"
#include "TextEditor.h"

// ORDER none: rows are looked up by message. Every other message goes to the
// scroll control's map, and so do focus changes once handled here (the class
// library's own focus handling, DoEnter and DoExit included, follows).
void TTextEditor::Dispatch(TMessage& message) {
    static const TMessageMapEntry<TTextEditor> kMessageMap[] = {
        {WM_CREATE, &TTextEditor::WMCreate},
        {WM_CONTEXTMENU, &TTextEditor::WMContextMenu},
        {WM_SETFOCUS, &TTextEditor::WMSetFocus},
        {WM_KILLFOCUS, &TTextEditor::WMKillFocus},
        {WM_GETDLGCODE, &TTextEditor::WMGetDlgCode},
        {WM_USER, &TTextEditor::WMMacroKeyDown},
        {WM_USER + 1, &TTextEditor::WMMacroKeyPress},
        {WM_USER + 2, &TTextEditor::WMMacroPlayEnd},
    };
    if (!DispatchThroughMap(this, kMessageMap, message)) TScrollControl::Dispatch(message);
}

// The bars get their ranges first; then the font goes onto the window's
// canvas and the steps follow it: one line, one character.
void TTextEditor::WMCreate(TMessage& message) {
    TScrollControl::WMCreate(message);
    ApplyFont();
}

void TTextEditor::WMSetFocus(TMessage& message) {
    CaretOn();
    CallEventHandlers();
    if (commandCombo != nullptr && commandCombo->GetVisible()) commandCombo->SetVisible(false);
    // The class library's own handling runs DoEnter for the same arrival.
    enteringThroughSetFocus = true;
    try {
        TScrollControl::Dispatch(message);
    } catch (...) {
        enteringThroughSetFocus = false;
        throw;
    }
    enteringThroughSetFocus = false;
}

void TTextEditor::WMKillFocus(TMessage& message) {
    CaretOff();
    if (AutoSave && Modified && !fileName.IsEmpty() && !IsRunningLineCommand()) Save();
    TScrollControl::Dispatch(message);
}

// Tab, Enter, Esc and the arrows stay with the editor: a form's dialog keys
// never take them.
void TTextEditor::WMGetDlgCode(TMessage& message) {
    message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS;
}

namespace {

// What a user or a macro feeds the editor: keys, the mouse (over the client
// area and the frame with its scroll bars), scrolling, menus, and played
// keys. A running line command keeps all of it out.
bool IsInputMessage(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCLBUTTONDBLCLK) || message == WM_VSCROLL ||
           message == WM_HSCROLL || message == WM_CONTEXTMENU || message == WM_COMMAND ||
           (message >= WM_USER && message <= WM_USER + 2);
}

}  // namespace

// Alt+g (lower case only) and Alt+digit arrive as system characters. While a
// line command runs, workers may be changing the lines: input is dropped,
// and a paint is put off until the command ends.
void TTextEditor::WndProc(TMessage& message) {
    if (IsRunningLineCommand() && IsInputMessage(message.Msg)) {
        message.Result = 0;
        return;
    }
    if (IsRunningLineCommand() && message.Msg == WM_PAINT) {
        ValidateRect(GetHandle(), nullptr);
        paintAfterLineCommand = true;
        message.Result = 0;
        return;
    }
    if (message.Msg == WM_SYSCHAR) {
        const char character = static_cast<char>(message.WParam);
        if (character == 'g') {
            GoToLine();
            message.Result = 0;
            return;
        }
        if (character >= '0' && character <= '9') {
            PlayMacro(character - '0');
            message.Result = 0;
            return;
        }
    }
    TScrollControl::WndProc(message);
}

// The caret is hidden while the pixels move (they take it along) and shows
// again unless ReadOnly; the view stays where the bar put it. A caret of
// another window is left alone.
void TTextEditor::DoScroll(TMessage& message, int bar) {
    const bool hidden = HandleAllocated() && HideCaret(GetHandle());
    TScrollControl::DoScroll(message, bar);
    if (hidden && !ReadOnly) ShowCaret(GetHandle());
}

void TTextEditor::ShiftWheel(int steps) {
    CurLine = std::max(std::min(CurLine + steps, lines.GetCount() - 1), 0);
    SetCaretPos(CurCol, CurLine);
}
