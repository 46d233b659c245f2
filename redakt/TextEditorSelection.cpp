// TTextEditor: clearing the selection, extending it after caret moves, and
// moving the caret by words.
#include <algorithm>

#include "TextEditor.h"
#include "TextEditorCharacters.h"

namespace {

// The character at col, a blank past the line's end (or before its start).
char CharAt(const TString& line, int col) { return col >= 0 && col < line.Length() ? line[col] : ' '; }

bool InBlock(int line, int start, int end) { return line >= std::min(start, end) && line < std::max(start, end); }

// Repaints the visible lines whose membership in the line block changed
// between [oldStart, oldEnd) and the block the editor holds now.
void RepaintBlockChange(TTextEditor& editor, int oldStart, int oldEnd) {
    const TTextEditorSelection& now = editor.selection;
    const int first = editor.GetVPos();
    const int last = first + editor.GetClientHeight() / editor.GetLineHeight();
    for (int line = first; line <= last; ++line)
        if (InBlock(line, oldStart, oldEnd) != InBlock(line, now.selStartLine, now.selEndLine)) editor.RepaintLine(line);
}

// Drops an in-line selection before a vertical move extends the line block.
void DropInlineSelection(TTextEditor& editor) {
    TTextEditorSelection& s = editor.selection;
    if (s.selStartCol == s.selEndCol) return;
    s.selStartCol = s.selEndCol = editor.GetCurCol();
    editor.RepaintLine(s.selLine);
}

// An empty selection's lines or columns may have stayed behind the caret (a
// line join, a new line, a select-all): the selection a move makes starts
// where the caret left.
void AnchorEmptyBlock(TTextEditorSelection& s, int leftLine) {
    if (s.selStartLine == s.selEndLine) s.selStartLine = s.selEndLine = leftLine;
}
void AnchorEmptyColumns(TTextEditorSelection& s, int leftCol) {
    if (s.selStartCol == s.selEndCol) s.selStartCol = s.selEndCol = leftCol;
}

}  // namespace

void TTextEditor::ClearSelection(bool force) {
    if (!force && PersistentBlocks) return;
    selection.selStartLine = selection.selEndLine = CurLine;
    selection.selStartCol = selection.selEndCol = CurCol;
    selMark = -1;
    SelectionChanged();
}

bool TTextEditor::LineBlockReachesEnd() const {
    return selection.selStartLine < selection.selEndLine && selection.selEndLine == lines.GetCount();
}

void TTextEditor::SelUp(int n) {
    DropInlineSelection(*this);
    TTextEditorSelection& s = selection;
    const int oldStart = s.selStartLine, oldEnd = s.selEndLine;
    AnchorEmptyBlock(s, prevLine);
    const int count = lines.GetCount();
    bool repaintAll = false;
    if (CurLine == count - 1 && LineBlockReachesEnd()) {
        s.selEndLine = count - 1;
    } else if (CurLine < s.selStartLine) {
        if (n == 1) {
            s.selStartLine -= 1;
        } else if (pageAnchorLine <= s.selStartLine) {
            s.selStartLine -= n;
        } else {
            // The caret left from inside the block or below it: it crossed
            // the start, which stays as the anchor.
            s.selEndLine = s.selStartLine;
            s.selStartLine = pageAnchorLine - n;
            repaintAll = true;
        }
    } else if (CurLine < s.selEndLine) {
        // From below the block (PersistentBlocks) the end only follows the
        // caret once it is inside, as single steps would.
        s.selEndLine = std::max(s.selEndLine - n, CurLine);
    }
    if (repaintAll)
        Repaint();
    else
        RepaintBlockChange(*this, oldStart, oldEnd);
    SelectionChanged();
}

void TTextEditor::SelDown(int n) {
    DropInlineSelection(*this);
    TTextEditorSelection& s = selection;
    const int oldStart = s.selStartLine, oldEnd = s.selEndLine;
    AnchorEmptyBlock(s, prevLine);
    const int count = lines.GetCount();
    if (CurLine == count - 1 && CurLine == prevLine && n == 1) {
        s.selEndLine = count;  // the caret cannot go below the last line: the line joins
    } else if (s.selEndLine < CurLine) {
        if (n == 1) {
            s.selEndLine += 1;
        } else if (pageAnchorLine < s.selEndLine) {
            s.selStartLine = s.selEndLine;
            s.selEndLine = pageAnchorLine + n;
        } else {
            s.selEndLine += n;
        }
    } else if (s.selStartLine < CurLine) {
        // From above the block (PersistentBlocks) the start only follows the
        // caret once it is inside, as single steps would.
        s.selStartLine = std::min(s.selStartLine + n, CurLine);
    }
    RepaintBlockChange(*this, oldStart, oldEnd);
    SelectionChanged();
}

void TTextEditor::SelLeft(int n) {
    TTextEditorSelection& s = selection;
    AnchorEmptyColumns(s, prevCol);
    if (CurCol < s.selStartCol) {
        if (s.selStartCol < prevCol) {
            s.selEndCol = s.selStartCol;
            s.selStartCol = CurCol;
        } else {
            s.selStartCol -= n;
        }
    } else {
        s.selEndCol -= n;
    }
    s.selLine = CurLine;
    RepaintLine(CurLine);
    SelectionChanged();
}

void TTextEditor::SelRight(int n) {
    TTextEditorSelection& s = selection;
    AnchorEmptyColumns(s, prevCol);
    if (s.selEndCol < CurCol) {
        if (prevCol < s.selEndCol) {
            s.selStartCol = s.selEndCol;
            s.selEndCol = CurCol;
        } else {
            s.selEndCol += n;
        }
    } else {
        s.selStartCol += n;
    }
    s.selLine = CurLine;
    RepaintLine(CurLine);
    SelectionChanged();
}

void TTextEditor::CtrlLeft(int& moved) {
    const TString& line = GetLineText(CurLine);
    const int start = CurCol;
    int c = start;
    while (c > 0) {
        if (IsWordSeparator(CharAt(line, c - 1)) && !IsWordSeparator(CharAt(line, c)) && c != start) break;
        --c;
    }
    CurCol = c;
    moved = start - c;
    selMark = -1;
}

void TTextEditor::CtrlRight(int& moved) {
    const TString& line = GetLineText(CurLine);
    const int length = line.Length();
    selMark = -1;
    moved = 0;
    if (CurCol >= length) return;
    int d = 0;
    while (CurCol + d < length - 1 && !(IsWordSeparator(line[CurCol + d]) && !IsWordSeparator(line[CurCol + d + 1]))) ++d;
    CurCol += d + 1;
    moved = d + 1;
}
