// TTextEditor: mouse, focus and status events.
#include "TextEditor.h"

// Not built yet: until the mouse and focus handling is done, the mouse acts
// as on the scroll control, and the gutter, word and status events fire
// nothing.
void TTextEditor::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TScrollControl::MouseDown(button, shift, x, y);
}
void TTextEditor::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TScrollControl::MouseUp(button, shift, x, y);
}
void TTextEditor::MouseMove(TShiftState shift, int x, int y) { TScrollControl::MouseMove(shift, x, y); }
void TTextEditor::DblClick() { TScrollControl::DblClick(); }
void TTextEditor::DoEnter() { TScrollControl::DoEnter(); }
void TTextEditor::DoExit() { TScrollControl::DoExit(); }
void TTextEditor::GapClick() {}
void TTextEditor::OverWord(int, int) {}
void TTextEditor::CallEventHandlers() {}
