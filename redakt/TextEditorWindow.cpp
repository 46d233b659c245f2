// TTextEditor: its message map and the window-level handlers.
#include "TextEditor.h"

// ORDER none: rows are looked up by message. Every other message goes to the
// scroll control's map.
void TTextEditor::Dispatch(TMessage& message) {
    static const TMessageMapEntry<TTextEditor> kMessageMap[] = {
        {WM_CREATE, &TTextEditor::WMCreate},
        {WM_CONTEXTMENU, &TTextEditor::WMContextMenu},
    };
    if (!DispatchThroughMap(this, kMessageMap, message)) TScrollControl::Dispatch(message);
}

// The bars get their ranges first; then the font goes onto the window's
// canvas and the steps follow it: one line, one character.
void TTextEditor::WMCreate(TMessage& message) {
    TScrollControl::WMCreate(message);
    ApplyFont();
}

// Not built yet: the Alt shortcuts, the caret around scrolling and the Shift
// wheel keep the base's behaviour until the window handling is done.
void TTextEditor::WndProc(TMessage& message) { TScrollControl::WndProc(message); }
void TTextEditor::DoScroll(TMessage& message, int bar) { TScrollControl::DoScroll(message, bar); }
void TTextEditor::ShiftWheel(int steps) { TScrollControl::ShiftWheel(steps); }
