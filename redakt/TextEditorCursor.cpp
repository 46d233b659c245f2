// TTextEditor: the caret's text position, and keeping the view on it.
#include <cstdlib>

#include "TextEditor.h"

void TTextEditor::SetCursorPosX(int x) {
    prevCol = CurCol;
    CurCol = x;
}

void TTextEditor::SetCursorPosY(int y) {
    prevLine = CurLine;
    CurLine = y;
}

namespace {

// Only the caret's owner may move it: another control's caret stays.
bool OwnsCaret(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return window != nullptr && GetGUIThreadInfo(0, &info) && info.hwndCaret == window;
}

}  // namespace

int TTextEditor::SetCaretPos(POINT position) {
    const int w = GetCharWidth();
    const int h = GetLineHeight();
    const int gap = GetColGap();
    const int startVPos = VPos;
    if (position.x < HPos) SetHPos(position.x);
    const int lastVisibleColumn = HPos + (GetClientWidth() - gap) / w - 1;
    if (position.x > lastVisibleColumn) SetHPos(HPos + (position.x - lastVisibleColumn));
    const int lastVisibleLine = VPos + GetClientHeight() / h - 1;
    if (position.y > lastVisibleLine) SetVPos(VPos + (position.y - lastVisibleLine));
    if (position.y < VPos) SetVPos(position.y);
    PlaceSystemCaret(position.x, position.y);
    CursorMove();
    return std::abs(VPos - startVPos);
}

void TTextEditor::PlaceSystemCaret(int column, int line) {
    if (HandleAllocated() && OwnsCaret(GetHandle()))
        ::SetCaretPos(GetCharWidth() * (column - HPos) + GetColGap(), GetLineHeight() * (line - VPos));
}
