// TTextEditor: lining text up against the margin column: filling, cutting
// and merging lines, and the append mode that types at the margin.
#include <algorithm>

#include "TextEditor.h"

namespace {

bool HasLineBlock(const TTextEditorSelection& selection) { return selection.selStartLine != selection.selEndLine; }

// The lines a margin operation works on: those of a line block that lie in
// the text, else the caret line. False when that leaves none.
bool MarginLines(const TTextEditor& editor, int& first, int& last) {
    const TTextEditorSelection& s = editor.selection;
    if (HasLineBlock(s)) {
        first = std::max(std::min(s.selStartLine, s.selEndLine), 0);
        last = std::min(std::max(s.selStartLine, s.selEndLine), editor.lines.GetCount()) - 1;
    } else {
        first = last = editor.GetCurLine();
    }
    return first >= 0 && first <= last && last < editor.lines.GetCount();
}

// The setup dialog does not check the margin: a negative one counts as 0.
int MarginColumn(const TTextEditor& editor) { return std::max(editor.GetMarginPos(), 0); }

// ORDER none: the keys that end append mode (Esc first, whose work ends there).
const WORD kAppendModeEndKeys[] = {VK_ESCAPE, VK_BACK,  VK_TAB,  VK_PRIOR, VK_NEXT, VK_END,
                                   VK_HOME,   VK_LEFT, VK_UP,   VK_RIGHT, VK_DOWN};

}  // namespace

int TTextEditor::AlignLineToWidth(int line, int width, char fill) {
    if (line < 0 || line >= lines.GetCount()) return 0;
    TString& text = lines[line];
    const int length = text.Length();
    text.ExtendRight(width, fill);
    return length;
}

void TTextEditor::FillLinesToMargin() {
    int first = 0, last = 0;
    if (!MarginLines(*this, first, last)) return;
    const int margin = MarginColumn(*this);
    for (int i = first; i <= last; ++i) {
        AlignLineToWidth(i, margin, fillChar);
        SetHMax(lines[i]);
        RepaintLine(i);
    }
}

void TTextEditor::TruncateLinesAtMargin() {
    int first = 0, last = 0;
    if (!MarginLines(*this, first, last)) return;
    const int margin = MarginColumn(*this);
    for (int i = first; i <= last; ++i) {
        TString& text = lines[i];
        if (text.Length() <= margin) continue;
        text.Delete(margin, text.Length() - 1);
        RepaintLine(i);
    }
}

void TTextEditor::MergeSelectedLines() {
    if (!HasLineBlock(selection)) return;
    int first = 0, last = 0;
    if (!MarginLines(*this, first, last)) return;
    TString& merged = lines[first];
    for (int i = first + 1; i <= last; ++i) merged += lines[i];
    if (last > first) {
        Delete(first + 1, last);
        MarkersFollowReplacedLines(first, last + 1, first + 1);
        ClearUndo();
    }
    selection.selStartLine = first;
    selection.selEndLine = first + 1;
    selMark = -1;
    SetVMax(std::max(lines.GetCount() - 1, 0));
    SetHMax(merged);
    SetCursorPosX(0);
    SetCursorPosY(std::min(first + 1, lines.GetCount() - 1));
    SetCaretPos(CurCol, CurLine);
    Invalidate();
    SelectionChanged();
}

void TTextEditor::StartAppendMode() {
    appendMode = true;
    appendCol = CurCol;
    appendCount = 0;
    SetCursorPosX(MarginColumn(*this));
    if (CurLine >= 0 && CurLine < lines.GetCount()) SetCaretPos(CurCol, CurLine);
    FillLinesToMargin();
}

void TTextEditor::EndAppendMode() {
    appendMode = false;
    SetCursorPosX(appendCol);
    SetCaretPos(CurCol, CurLine);
}

bool TTextEditor::EndAppendModeByKey(WORD key) {
    if (!appendMode || std::find(std::begin(kAppendModeEndKeys), std::end(kAppendModeEndKeys), key) ==
                           std::end(kAppendModeEndKeys))
        return false;
    EndAppendMode();
    return key == VK_ESCAPE;
}
