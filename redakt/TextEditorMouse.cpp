// TTextEditor: mouse, focus and status events: placing the caret with a click,
// selecting by dragging and by double clicks, the gutter's click and menu, the
// word under the mouse, and the status events fired on focus.
#include <algorithm>

#include "Menus.h"
#include "TextEditor.h"
#include "TextEditorCharacters.h"
#include "Win32.h"

namespace {

// The run of word characters around col of text, [start, end] inclusive;
// false when col lies outside the text or on a separator.
bool WordAround(const TString& text, int col, int& start, int& end) {
    if (col < 0 || col >= text.Length() || IsWordSeparator(text[col])) return false;
    start = end = col;
    while (start > 0 && !IsWordSeparator(text[start - 1])) --start;
    while (end + 1 < text.Length() && !IsWordSeparator(text[end + 1])) ++end;
    return true;
}

bool HasSelection(const TTextEditorSelection& s) {
    return s.selStartCol != s.selEndCol || s.selStartLine != s.selEndLine;
}

bool LockToggled(int key) { return (GetKeyState(key) & 1) != 0; }

// How a line shows the selection: inside the line block, or the columns
// selected on it.
struct TLineSelectionLook {
    bool inBlock;
    int startCol, endCol;
    bool operator!=(const TLineSelectionLook& other) const {
        return inBlock != other.inBlock || startCol != other.startCol || endCol != other.endCol;
    }
};

TLineSelectionLook LookOf(const TTextEditorSelection& s, int line) {
    const bool inBlock = line >= s.selStartLine && line < s.selEndLine;
    const bool columns = !inBlock && s.selStartCol != s.selEndCol && line == s.selLine;
    return {inBlock, columns ? s.selStartCol : 0, columns ? s.selEndCol : 0};
}

}  // namespace

int TTextEditor::MouseColumn(int x) const {
    const int column = (x - GetColGap()) / GetCharWidth() + HPos;
    return std::clamp(column, 0, std::max(HMax, 0));
}

bool TTextEditor::OverGutter(int x) const { return x < GetColGap() - GetCharWidth() * HPos; }

POINT TTextEditor::CalcTextCoords(int x, int y) {
    return POINT{MouseColumn(x), std::min(y / GetLineHeight() + VPos, VMax)};
}

void TTextEditor::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const int lastLine = std::max(lines.GetCount() - 1, 0);
    const int line = std::clamp(y / GetLineHeight() + VPos, 0, lastLine);
    swallowContextMenu = false;
    if (button == mbRight) {
        PopupAt(x, y, line);
        return;
    }
    if (ignoreMouseDown) {
        ignoreMouseDown = false;
        return;
    }
    TScrollControl::MouseDown(button, shift, x, y);
    pressOnlyFocused = !Focused();
    if (pressOnlyFocused) {
        SetFocus();
        return;
    }
    CurLine = line;
    SetCursorPosX(MouseColumn(x));
    const bool hadSelection = HasSelection(selection);
    if (!PersistentBlocks) {
        ClearSelection(false);
        if (hadSelection) RefreshLines(-1);
    }
    SetCaretPos(CurCol, CurLine);
    if (OverGutter(x)) GapClick();
    dragAnchorCol = CurCol;
    dragAnchorLine = CurLine;
    mouseSelecting = true;
}

// The menu opens on the press; the release would then ask the parent for its
// context menu too (WMContextMenu swallows that request). The caret comes back
// only to an editor that had it.
void TTextEditor::PopupAt(int x, int y, int line) {
    const POINT screen = ClientToScreen(POINT{x, y});
    const bool hadCaret = Focused();
    if (hadCaret) CaretOff();
    gapClickLine = line;
    swallowContextMenu = true;
    if (activePopup != nullptr) activePopup->Popup(screen.x, screen.y);
    if (hadCaret) CaretOn();
}

// A context menu asked for from the keyboard (position -1, -1) goes its usual way.
void TTextEditor::WMContextMenu(TMessage& message) {
    const bool fromKeyboard = message.LParam == MAKELPARAM(0xFFFF, 0xFFFF);
    if (swallowContextMenu && !fromKeyboard) {
        swallowContextMenu = false;
        message.Result = 1;
        return;
    }
    TScrollControl::Dispatch(message);
}

void TTextEditor::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TScrollControl::MouseUp(button, shift, x, y);
    mouseSelecting = false;
}

void TTextEditor::MouseMove(TShiftState shift, int x, int y) {
    TScrollControl::MouseMove(shift, x, y);
    if (OnOverWord) OverWord(x, y);
    activePopup = OverGutter(x) ? gapPopup : editPopup;
    if (!mouseSelecting) return;
    POINT target = CalcTextCoords(x, y);
    // Above the first line (a drag out of the window's top) the caret and the
    // block stop at line 0.
    target.y = std::max(target.y, 0);
    prevCol = CurCol;
    prevLine = CurLine;
    CurCol = target.x;
    CurLine = target.y;
    SetCaretPos(target.x, target.y);
    const TTextEditorSelection before = selection;
    DragSelectTo(target.x, target.y);
    RepaintSelectionChange(before);
    SelectionChanged();
}

// Off the anchor's line the block runs between the anchor line and the mouse
// line, the later one excluded; on it the columns between anchor and mouse,
// within the line's text, are selected (none when the mouse is back at the
// anchor).
void TTextEditor::DragSelectTo(int col, int line) {
    TTextEditorSelection& s = selection;
    if (line != dragAnchorLine) {
        s.selStartCol = s.selEndCol = 0;
        s.selStartLine = std::min(line, dragAnchorLine);
        s.selEndLine = std::max(line, dragAnchorLine);
        return;
    }
    const int length = GetLineText(line).Length();
    s.selLine = s.selStartLine = s.selEndLine = line;
    s.selStartCol = std::min(std::min(col, dragAnchorCol), length);
    s.selEndCol = std::min(std::max(col, dragAnchorCol), length);
}

void TTextEditor::RepaintSelectionChange(const TTextEditorSelection& before) {
    const int first = VPos;
    const int last = VPos + GetClientHeight() / GetLineHeight();
    for (int line = first; line <= last; ++line)
        if (LookOf(before, line) != LookOf(selection, line)) RepaintLine(line);
}

void TTextEditor::OverWord(int x, int y) {
    const int line = std::min(y / GetLineHeight() + VPos, VMax);
    const int column = MouseColumn(x);
    const TString& text = GetLineText(line);
    int start = 0, end = 0;
    if (!WordAround(text, column, start, end)) return;
    const TString word = text.Substring(start, end);
    if (OnOverWord) OnOverWord(this, word, column, line);
    lastWord = word;
}

TString TTextEditor::GetCurWord(int& start, int& end) {
    const TString& text = GetLineText(CurLine);
    if (!WordAround(text, CurCol, start, end)) {
        start = end = 0;
        return TString();
    }
    return text.Substring(start, end);
}

void TTextEditor::GapClick() {
    if (OnGapClick) OnGapClick(this, CurLine);
}

// The first click of the pair has placed the caret; the press that follows
// (flagged ssDouble) is ignored when a selection was made here. When the
// first press only focused the editor, nothing is selected and the second
// press places the caret.
void TTextEditor::DblClick() {
    const int keptStart = selection.selStartLine;
    const int keptEnd = selection.selEndLine;
    TScrollControl::DblClick();
    if (pressOnlyFocused) return;
    TTextEditorSelection& s = selection;
    if (DoubleClickLine) {
        const bool hadSelection = HasSelection(s);
        s.selLine = s.selStartLine = s.selEndLine = CurLine;
        s.selStartCol = 0;
        s.selEndCol = GetLineText(CurLine).Length();
        ignoreMouseDown = true;
        if (hadSelection)
            Repaint();
        else
            RepaintLine(CurLine);
        SelectionChanged();
        return;
    }
    int start = 0, end = 0;
    if (lines.GetCount() == 0 || GetCurWord(start, end).IsEmpty()) return;
    s.selLine = s.selStartLine = s.selEndLine = CurLine;
    s.selStartCol = start;
    s.selEndCol = end + 1;
    if (keptStart == CurLine && keptEnd == CurLine)
        RepaintLine(s.selLine);
    else
        RefreshLines(-1);
    ignoreMouseDown = true;
    SetCursorPosX(s.selEndCol);
    SetCaretPos(CurCol, CurLine);
    SelectionChanged();
}

// Through WM_SETFOCUS the caret is made and the status events fired already.
void TTextEditor::DoEnter() {
    TScrollControl::DoEnter();
    if (!enteringThroughSetFocus) CaretOn();
    SetCaretPos(CurCol, CurLine);
    if (!enteringThroughSetFocus) CallEventHandlers();
}

void TTextEditor::DoExit() {
    TScrollControl::DoExit();
    CaretOff();
}

void TTextEditor::CallEventHandlers() {
    if (OnEditModeChange) OnEditModeChange(this, EditMode);
    if (OnModifyChange) OnModifyChange(this, Modified);
    if (OnCapsChange) OnCapsChange(this, LockToggled(VK_CAPITAL));
    if (OnNumChange) OnNumChange(this, LockToggled(VK_NUMLOCK));
    if (OnScrollChange) OnScrollChange(this, LockToggled(VK_SCROLL));
    if (OnTabsChange) OnTabsChange(this, ShowTabs);
}
