// TTextEditor: the handlers of the editing and navigation keys (Enter, Tab,
// Backspace, Delete, Insert, the page keys, Home, End and F1), the word
// events of Ctrl+Enter and Ctrl+F1, and the indentation queries they use.
#include <algorithm>

#include "TextEditor.h"

namespace {

bool HasSelection(const TTextEditorSelection& s) {
    return s.selStartCol != s.selEndCol || s.selStartLine != s.selEndLine;
}

int LastLine(const TStringContainer& lines) { return std::max(lines.GetCount() - 1, 0); }

}  // namespace

// ---- Indentation ----

int TTextEditor::GetLineFirstPos(int line, int def) {
    if (lines.GetCount() == 0) return 0;
    const TString& text = GetLineText(line);
    int blanks = 0;
    while (blanks < text.Length() && text[blanks] == ' ') ++blanks;
    return blanks == text.Length() ? def : blanks;
}

int TTextEditor::GetIndentPos(int line) {
    for (int i = std::min(line, lines.GetCount()) - 1; i >= 0; --i)
        if (!lines[i].IsEmpty()) return GetLineFirstPos(i, 0);
    return 0;
}

// ---- Undo records of the handlers ----

bool TTextEditor::CaretLineInText() const { return CurLine >= 0 && CurLine < lines.GetCount(); }

TTextEditorUndoItem* TTextEditor::CaretLineDeletionRecord() {
    TTextEditorUndoItem* top = GetLastUndoItem();
    const bool joins = top != nullptr && top->kind == utDelete && top->firstLine == CurLine &&
                       top->lastLine == CurLine && typingUndoLine == CurLine;
    return joins ? top : nullptr;
}

void TTextEditor::RecordCaretLineDeletion() {
    if (CaretLineDeletionRecord() == nullptr) AddUndoItem(utDelete);
}

void TTextEditor::AddToTopRecord(int index, const TString& text) {
    TTextEditorUndoItem* top = GetLastUndoItem();
    top->lines.Insert(index, text);
    undoSize += text.Length() + TTextEditorUndoItem::kLineCost;
    KeepUndoWithinBudget();
}

// A record that replaces lines first..last (none when last < first) takes
// in the line just before or after that range.
bool TTextEditor::TopRecordTakesCaretLine() {
    TTextEditorUndoItem* top = GetLastUndoItem();
    if (top == nullptr) return false;
    if (top->firstLine <= CurLine && CurLine <= top->lastLine) return true;
    if (CurLine == top->lastLine + 1) {
        top->lastLine = CurLine;
        AddToTopRecord(top->lines.GetCount(), lines[CurLine]);
        return true;
    }
    if (CurLine == top->firstLine - 1) {
        top->firstLine = CurLine;
        AddToTopRecord(0, lines[CurLine]);
        return true;
    }
    return false;
}

// ---- Enter ----

void TTextEditor::ReturnPress(TShiftState shift) {
    if (ReadOnly) return;
    if (shift.Contains(ssCtrl)) {
        CtrlEnterPress();
        return;
    }
    if (lines.GetCount() == 0) lines.Add(TString());
    if (!CaretLineInText()) return;
    const bool inserting = EditMode == emInsert;
    if (inserting) BreakCaretLine();
    if (inserting || CurLine < lines.GetCount() - 1) CaretToNextLine(inserting);
    if (inserting) SetModified(true);
}

// A run of Enters grows one record: the one made by the Enter on the line
// above, whose range ends on the caret line (a record of typing on the line
// above ends there, and stays apart).
void TTextEditor::BreakCaretLine() {
    TTextEditorUndoItem* top = GetLastUndoItem();
    if (top != nullptr && top->kind == utTyping && typingUndoLine == CurLine - 1 && top->firstLine <= CurLine &&
        top->lastLine == CurLine)
        top->lastLine += 1;
    else
        AddUndoItem(utTyping, CurLine, CurLine + 1, POINT{CurCol, CurLine}, lines[CurLine]);
    typingUndoCol = CurCol;
    typingUndoLine = CurLine;
    TString& line = lines[CurLine];
    TString rest;
    if (CurCol >= 0 && CurCol < line.Length()) {
        rest = line.Substring(CurCol, line.Length() - 1);
        line = line.Left(CurCol);
    }
    Insert(CurLine + 1, rest);
    RefreshMarkers(CurLine + 1, 1);
}

// In overwrite mode the next line keeps its text: with AutoIndent only the
// caret goes to the indentation.
void TTextEditor::CaretToNextLine(bool inserting) {
    if (inserting) SetVMax(lines.GetCount() - 1);
    ++CurLine;
    if (!AutoIndent) {
        SetCursorPosX(0);
    } else {
        const int indent = GetIndentPos(CurLine);
        SetCursorPosX(indent);
        if (inserting) lines[CurLine].Insert(0, TString(' ') * indent);
        SetHMax(lines[CurLine]);
    }
    selection.selStartLine = selection.selEndLine = CurLine;
    RefreshLines(std::max(CurLine - 1, 0));
    SetCaretPos(CurCol, CurLine);
}

void TTextEditor::CtrlEnterPress() {
    if (ReadOnly || !OnCtrlEnter) return;
    int start = 0, end = 0;
    CtrlEnter(GetCurWord(start, end));
}

void TTextEditor::CtrlEnter(TString word) {
    if (!word.IsEmpty() && OnCtrlEnter) OnCtrlEnter(this, word);
}

void TTextEditor::F1Press(TShiftState shift) {
    if (!shift.Contains(ssCtrl) || !OnCtrlF1) return;
    int start = 0, end = 0;
    const TString word = GetCurWord(start, end);
    if (!word.IsEmpty()) OnCtrlF1(this, word);
}

// ---- Tab ----

void TTextEditor::TabPress(TShiftState shift) {
    if (ReadOnly) return;
    if (lines.GetCount() == 0) lines.Add(TString());
    if (!CaretLineInText()) return;
    AddUndoItem(utTyping);
    const int smartColumn = SmartTab ? SmartTabColumn() : -1;
    if (smartColumn >= 0) {
        InsertBlanksAtCaret(smartColumn - CurCol);
        SetCursorPosX(smartColumn);
        SetCaretPos(CurCol, CurLine);
        SetModified(true);
        return;
    }
    if (shift.Contains(ssShift)) {
        SetCursorPosX(std::max(CurCol - TabStepBack(), 0));
        selection.selStartCol = selection.selEndCol = CurCol;
    } else if (EditMode == emInsert) {
        const int step = TabStepForward(shift.Contains(ssCtrl));
        InsertBlanksAtCaret(step);
        SetCursorPosX(CurCol + step);
        selection.selStartCol = selection.selEndCol = CurCol;
        SetModified(true);
    } else {
        SetCursorPosX(std::min(CurCol + TabStepForward(shift.Contains(ssCtrl)), std::max(HMax, CurCol)));
    }
    SetCaretPos(CurCol, CurLine);
}

// From the caret column of the nearest non-empty line above: past the word
// there, then past the blanks; at that line's end, up to a multiple of
// TabSize.
int TTextEditor::SmartTabColumn() const {
    int above = CurLine - 1;
    while (above >= 0 && lines[above].IsEmpty()) --above;
    if (above < 0 || CurCol < 0 || CurCol >= lines[above].Length()) return -1;
    const TString& text = lines[above];
    int column = CurCol;
    while (column < text.Length() && text[column] != ' ') ++column;
    while (column < text.Length() && text[column] == ' ') ++column;
    if (column >= text.Length()) {
        const int size = std::max(TabSize, 1);
        column = (column + size - 1) / size * size;
    }
    return column;
}

int TTextEditor::TabStepForward(bool toTabStop) const {
    if (toTabStop)
        for (int i = 0; i < tabStops.GetCount(); ++i)
            if (tabStops[i] > CurCol) return tabStops[i] - CurCol;
    return std::max(TabSize, 1);
}

int TTextEditor::TabStepBack() const {
    for (int i = tabStops.GetCount() - 1; i >= 0; --i)
        if (tabStops[i] < CurCol) return CurCol - tabStops[i];
    return std::max(TabSize, 1);
}

// The line is padded to the caret first; the text after the caret moves right.
void TTextEditor::InsertBlanksAtCaret(int count) {
    TString& line = lines[CurLine];
    line.ExtendRight(CurCol);
    line.Insert(CurCol, TString(' ') * count);
    SetHMax(line);
    RepaintLine(CurLine);
}

// ---- Backspace ----

void TTextEditor::BackspacePress(TShiftState shift) {
    if (ReadOnly || !CaretLineInText()) return;
    if (HasSelection(selection) && !PersistentBlocks) {
        DeleteBlock();
        return;
    }
    const bool ctrl = shift.Contains(ssCtrl);
    if (BackspaceUnindents(ctrl)) {
        RemoveBeforeCaret(UnindentColumn());
    } else if (ctrl) {
        RemoveBeforeCaret(0);
        selection.selStartCol = selection.selEndCol = 0;
    } else if (CurCol <= 0) {
        if (CurLine > 0) JoinWithLineAbove();
    } else {
        RemoveBeforeCaret(CurCol - 1);
        selection.selStartCol = selection.selEndCol = CurCol;
    }
}

// On the line's first non-blank character (or an empty line), not on line
// 0 nor in column 0.
bool TTextEditor::BackspaceUnindents(bool ctrl) {
    if (!BackspaceUnindent || ctrl || CurLine == 0 || CurCol == 0) return false;
    return GetLineFirstPos(CurLine, 0) == CurCol || lines[CurLine].IsEmpty();
}

// The indentation of the nearest line above that is indented less than the caret column.
int TTextEditor::UnindentColumn() {
    for (int line = CurLine - 1; line >= 0; --line) {
        const int indent = GetLineFirstPos(line, -1);
        if (indent != -1 && indent < CurCol) return indent;
    }
    return 0;
}

// Beyond the line's end there is nothing to remove: only the caret moves.
void TTextEditor::RemoveBeforeCaret(int from) {
    TString& line = lines[CurLine];
    const int end = std::min(CurCol, line.Length());
    const bool removes = from < end;
    if (removes) {
        RecordCaretLineDeletion();
        line.Delete(from, end - 1);
        typingUndoCol = CurCol;
        typingUndoLine = CurLine;
        RepaintLine(CurLine);
    }
    SetCursorPosX(from);
    SetCaretPos(CurCol, CurLine);
    if (removes) SetModified(true);
}

// The run's record, when there is one, moves up to the joined line and
// takes the text of the line above first; further Backspaces there join it.
void TTextEditor::JoinWithLineAbove() {
    const int line = CurLine;
    if (CaretLineDeletionRecord() != nullptr) {
        GetLastUndoItem()->firstLine = GetLastUndoItem()->lastLine = line - 1;
        AddToTopRecord(0, lines[line - 1]);
    } else {
        AddUndoItem(utDelete, line - 1, line, POINT{CurCol, CurLine}, lines);
    }
    TString& above = lines[line - 1];
    const int column = above.Length();
    above += lines[line];
    Delete(line);
    RefreshMarkers(line, -1);
    SetVMax(LastLine(lines));
    SetHMax(above);
    CurLine = line - 1;
    SetCursorPosX(column);
    SelectionFollowsDeletion(line, line);
    typingUndoCol = CurCol;
    typingUndoLine = CurLine;
    Repaint();
    SetCaretPos(CurCol, CurLine);
    SetModified(true);
}

// ---- Delete ----

void TTextEditor::DeletePress(TShiftState shift) {
    if (ReadOnly || !CaretLineInText()) return;
    if (shift.Contains(ssShift)) {
        Cut();
        return;
    }
    if (shift.Contains(ssCtrl)) {
        DeleteWord();
        return;
    }
    if (HasSelection(selection) && !PersistentBlocks)
        DeleteBlock();
    else if (CurCol >= 0 && CurCol < lines[CurLine].Length())
        DeleteCharacterAtCaret();
    else if (CurLine < lines.GetCount() - 1)
        JoinWithLineBelow();
    else
        return;
    typingUndoCol = CurCol;
    typingUndoLine = CurLine;
}

// Delete pressed again at the same place joins the run's record.
void TTextEditor::DeleteCharacterAtCaret() {
    if (CaretLineDeletionRecord() == nullptr || typingUndoCol != CurCol) AddUndoItem(utDelete);
    lines[CurLine].Delete(CurCol, CurCol);
    RepaintLine(CurLine);
    SetModified(true);
}

void TTextEditor::JoinWithLineBelow() {
    const int next = CurLine + 1;
    if (CaretLineDeletionRecord() != nullptr)
        AddToTopRecord(GetLastUndoItem()->lines.GetCount(), lines[next]);
    else
        AddUndoItem(utDelete, CurLine, next, POINT{CurCol, CurLine}, lines);
    TString& line = lines[CurLine];
    line.ExtendRight(CurCol);
    line += lines[next];
    Delete(next);
    RefreshMarkers(next, -1);
    SelectionFollowsDeletion(next, next);
    SetHMax(line);
    RefreshLines(CurLine);
    SetVMax(LastLine(lines));
    SetModified(true);
}

// The word is looked for again after the selection went, since deleting
// it moves text and caret. One undo restores both.
void TTextEditor::DeleteWord() {
    if (ReadOnly || !CaretLineInText()) return;
    int first = 0, last = 0;
    if (GetCurWord(first, last).IsEmpty()) return;
    if (HasSelection(selection)) {
        const TTextEditorUndoItem* before = GetLastUndoItem();
        DeleteBlock();
        if (!CaretLineInText() || GetCurWord(first, last).IsEmpty()) return;
        if (GetLastUndoItem() == before || !TopRecordTakesCaretLine()) AddUndoItem(utDelete);
    } else {
        AddUndoItem(utDelete);
    }
    TString& line = lines[CurLine];
    int end = last + 1;
    while (end < line.Length() && line[end] == ' ') ++end;
    line.Delete(first, end - 1);
    SetCursorPosX(first);
    RepaintLine(CurLine);
    SetCaretPos(CurCol, CurLine);
    SetModified(true);
}

// ---- Insert ----

void TTextEditor::InsertPress(TShiftState shift) {
    if (ReadOnly) return;
    if (shift.Contains(ssCtrl)) {
        Copy();
        return;
    }
    if (shift.Contains(ssShift)) {
        Paste();
        return;
    }
    EditMode = EditMode == emInsert ? emOverwrite : emInsert;
    if (Focused()) RefreshCaret();
    if (OnEditModeChange) OnEditModeChange(this, EditMode);
}

// ---- Page keys ----

int TTextEditor::PageLines() const { return std::max(GetClientHeight() / GetLineHeight(), 1); }

// Ctrl+PgDn stops at the last line when the text ends above the view's bottom.
void TTextEditor::PgDownPress(TShiftState shift) {
    const int target = shift.Contains(ssCtrl) ? VPos + PageLines() - 1 : CurLine + PageLines();
    MoveByPage(std::clamp(target, 0, LastLine(lines)), shift);
}

void TTextEditor::PgUpPress(TShiftState shift) {
    const int target = shift.Contains(ssCtrl) ? VPos : CurLine - PageLines();
    MoveByPage(std::clamp(target, 0, LastLine(lines)), shift);
}

// A Ctrl move may go against the key (the caret below or above the view).
void TTextEditor::MoveByPage(int line, TShiftState shift) {
    pageAnchorCol = CurCol;
    pageAnchorLine = CurLine;
    const int moved = line - CurLine;
    SetCursorPosY(line);
    if (shift.Contains(ssShift)) {
        if (moved > 0) SelDown(moved);
        if (moved < 0) SelUp(-moved);
    } else {
        const TTextEditorSelection before = selection;
        selection.selStartCol = selection.selEndCol = CurCol;
        selection.selLine = selection.selStartLine = selection.selEndLine = CurLine;
        if (HasSelection(before)) {
            RepaintSelectionChange(before);
            SelectionChanged();
        }
    }
    SetCaretPos(CurCol, CurLine);
}

// ---- Home and End ----

void TTextEditor::HomePress(TShiftState shift) {
    const TTextEditorSelection before = selection;
    if (shift.Contains(ssCtrl)) {
        if (shift.Contains(ssShift)) {
            selection.selStartLine = 0;
            selection.selEndLine = CurLine;
            selection.selStartCol = selection.selEndCol = 0;
            RepaintSelectionChange(before);
            SelectionChanged();
        }
        CurLine = 0;
    } else {
        if (shift.Contains(ssShift)) {
            SelectToLineStart();
        } else {
            ClearSelection(false);
            selection.selStartCol = selection.selEndCol = 0;
            RepaintSelectionChange(before);
        }
        SetCursorPosX(0);
    }
    SetCaretPos(CurCol, CurLine);
}

// An empty selection becomes [0, caret); one that began left of the caret
// [0, its start); else [0, its end).
void TTextEditor::SelectToLineStart() {
    TTextEditorSelection& s = selection;
    if (s.selStartCol == s.selEndCol) {
        s.selEndCol = CurCol;
    } else if (s.selStartCol < CurCol) {
        s.selEndCol = s.selStartCol;
    }
    s.selStartCol = 0;
    s.selLine = CurLine;
    RepaintLine(CurLine);
    SelectionChanged();
}

void TTextEditor::EndPress(TShiftState shift) {
    if (lines.GetCount() == 0) return;
    const TTextEditorSelection before = selection;
    if (shift.Contains(ssCtrl)) {
        if (shift.Contains(ssShift)) {
            selection.selStartLine = CurLine;
            selection.selEndLine = lines.GetCount();
            selection.selStartCol = selection.selEndCol = 0;
            RepaintSelectionChange(before);
            SelectionChanged();
        }
        CurLine = LastLine(lines);
    } else if (CaretLineInText()) {
        if (shift.Contains(ssShift)) {
            SelectToLineEnd();
        } else {
            const int length = lines[CurLine].Length();
            selection.selStartCol = selection.selEndCol = length;
            SetCursorPosX(length);
            RepaintSelectionChange(before);
        }
    }
    SetCaretPos(CurCol, CurLine);
}

// The selection starts at its old right end unless the caret was there. A
// read-only text is never filled: the selection then ends at the line's end.
void TTextEditor::SelectToLineEnd() {
    TTextEditorSelection& s = selection;
    const int length = lines[CurLine].Length();
    if (CurCol == s.selStartCol || CurCol < s.selEndCol) s.selStartCol = s.selEndCol;
    if (CurCol == length && length < MarginPos && !ReadOnly) {
        s.selStartCol = AlignLineToWidth(CurLine, MarginPos, fillChar);
        s.selEndCol = MarginPos;
        SetHMax(lines[CurLine]);
    } else {
        s.selEndCol = length;
    }
    SetCursorPosX(s.selEndCol);
    s.selLine = CurLine;
    RepaintLine(CurLine);
    SelectionChanged();
}
