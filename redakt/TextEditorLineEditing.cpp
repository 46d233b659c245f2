// TTextEditor: deleting the selection, lines and line parts, cutting,
// inserting the date and the last word, with the undo records, the bookmarks,
// the selection and the "search all" results following the deleted lines.
#include <algorithm>
#include <string>

#include "ListBox.h"
#include "TextEditor.h"
#include "Win32.h"

namespace {

bool HasLineBlock(const TTextEditorSelection& s) { return s.selStartLine != s.selEndLine; }

// A block boundary (the place before line x) after lines first..last went.
int BoundaryAfterDeletion(int x, int first, int last) {
    if (x <= first) return x;
    if (x > last) return x - (last - first + 1);
    return first;
}

// The line number that begins a "search all" row ("12: text") made new.
std::string RenumberedRow(const std::string& row, int line) {
    const size_t colon = row.find(':');
    if (colon == std::string::npos || colon == 0) return row;
    for (size_t i = 0; i < colon; ++i)
        if (row[i] < '0' || row[i] > '9') return row;
    return std::to_string(line) + row.substr(colon);
}

// The locale's text of one date or time form; empty when the layer gives none.
std::string LocaleText(bool date, DWORD flags) {
    char text[128] = "";
    const int written = date ? GetDateFormatA(LOCALE_USER_DEFAULT, flags, nullptr, nullptr, text, sizeof text)
                             : GetTimeFormatA(LOCALE_USER_DEFAULT, flags, nullptr, nullptr, text, sizeof text);
    return written > 0 ? std::string(text) : std::string();
}

}  // namespace

void TTextEditor::InsertDate(TTextEditorDateInsert kind) {
    if (ReadOnly) return;
    TStringContainer text;
    switch (kind) {
        case diDateAndTime: text.Add(LocaleText(true, DATE_SHORTDATE) + " " + LocaleText(false, TIME_NOSECONDS)); break;
        case diShortDate: text.Add(LocaleText(true, DATE_SHORTDATE)); break;
        case diLongDate: text.Add(LocaleText(true, DATE_LONGDATE)); break;
        case diTime: text.Add(LocaleText(false, TIME_NOSECONDS)); break;
        case diTimeWithSeconds: text.Add(LocaleText(false, 0)); break;
        default: break;
    }
    InsertText(text);
}

void TTextEditor::Cut() {
    if (ReadOnly) return;
    Copy();
    DeleteBlock();
    SetModified(true);
}

void TTextEditor::DeleteBlock() {
    if (ReadOnly) return;
    if (HasLineBlock(selection))
        DeleteLineBlock();
    else if (selection.selStartCol != selection.selEndCol)
        DeleteInlineSelection();
}

// The columns are cut from the selection's own line, which under
// PersistentBlocks need not be the caret's; the caret goes where they were.
void TTextEditor::DeleteInlineSelection() {
    TTextEditorSelection& s = selection;
    const int line = s.selLine;
    if (line < 0 || line >= lines.GetCount()) return;
    const int start = std::min(s.selStartCol, s.selEndCol);
    const int end = std::max(s.selStartCol, s.selEndCol);
    TString& text = lines[line];
    AddUndoItem(utDelete, line, POINT{CurCol, CurLine}, text);
    text.Delete(start, end - 1);
    CurLine = line;
    CurCol = s.selStartCol = s.selEndCol = start;
    RepaintLine(line);
    SetCaretPos(CurCol, CurLine);
    SelectionChanged();
    SetModified(true);
}

// The caret stays inside the text when the block reached its end. A block
// of every line leaves one empty line, as deleting the last line does, and
// its record takes that line away again: no later edit then adds a line
// that no record covers.
void TTextEditor::DeleteLineBlock() {
    TTextEditorSelection& s = selection;
    const int first = std::max(std::min(s.selStartLine, s.selEndLine), 0);
    const int last = std::min(std::max(s.selStartLine, s.selEndLine), lines.GetCount()) - 1;
    if (first > last) return;
    const bool everyLine = first == 0 && last == lines.GetCount() - 1;
    AddUndoItem(utDeleteBlock, first, everyLine ? first : first - 1, POINT{CurCol, CurLine}, first, last);
    Delete(first, last);
    if (everyLine) Insert(0, TString());
    UnsetMarkers(first, last);
    RefreshMarkers(last + 1, first - last - 1);
    SetVMax(std::max(lines.GetCount() - 1, 0));
    CurLine = std::min(first, std::max(lines.GetCount() - 1, 0));
    s.selStartLine = s.selEndLine = CurLine;
    s.selStartCol = s.selEndCol = 0;
    SetCursorPosX(0);
    Repaint();
    SetCaretPos(CurCol, CurLine);
    SelectionChanged();
    SetModified(true);
}

void TTextEditor::DeleteLine() {
    if (ReadOnly || lines.GetCount() == 0) return;
    const int line = std::clamp(CurLine, 0, lines.GetCount() - 1);
    const bool last = line == lines.GetCount() - 1;
    RecordLineDeletion(line, last);
    typingUndoCol = CurCol;
    typingUndoLine = line;
    if (!last) {
        Delete(line);
        SelectionFollowsDeletion(line, line);
        UnsetMarkers(line, line);
        RefreshMarkers(line + 1, -1);
        SetVMax(std::max(lines.GetCount() - 1, 0));
    } else {
        lines[line].Clear();
        if (selection.selLine == line) selection.selStartCol = selection.selEndCol = CurCol;
    }
    CurLine = line;
    if (CurCol > lines[line].Length()) {
        CurCol = lines[line].Length();
        SetCaretPos(CurCol, CurLine);
    }
    SearchResultsFollowDeletedLine(line);
    RefreshLines(-1);
    SetModified(true);
}

// Deletions on one line undo together. The last line is emptied rather than
// removed, so its record replaces that line instead of only inserting.
void TTextEditor::RecordLineDeletion(int line, bool emptiesLastLine) {
    const TString& text = lines[line];
    TTextEditorUndoItem* top = GetLastUndoItem();
    if (top != nullptr && top->kind == utDeleteLine && typingUndoLine == line) {
        // Once the run has emptied the last line, deleting it again changes nothing.
        if (top->lastLine >= top->firstLine) return;
        top->lines.Add(text);
        if (emptiesLastLine) top->lastLine = top->firstLine;
        undoSize += text.Length() + TTextEditorUndoItem::kLineCost;
        KeepUndoWithinBudget();
        return;
    }
    AddUndoItem(utDeleteLine, line, emptiesLastLine ? line : line - 1, POINT{CurCol, line}, text);
}

// After the top record grew: the oldest records go until the stack fits; a
// top record too large alone empties the stack, as a refused record does.
void TTextEditor::KeepUndoWithinBudget() {
    while (undoSize > undoLimit && undoItems.GetCount() > 1) {
        undoSize -= undoItems.First().GetSize();
        undoItems.DeleteFirst(true);
    }
    if (undoSize > undoLimit) ClearUndo();
}

// The record replaces the emptied caret line by the lines it had from there on.
void TTextEditor::DeleteAfter() {
    if (ReadOnly || lines.GetCount() == 0) return;
    const int line = std::clamp(CurLine, 0, lines.GetCount() - 1);
    const int count = lines.GetCount();
    AddUndoItem(utDeleteBlock, line, line, POINT{CurCol, CurLine}, line, count - 1);
    for (int i = markers.GetCount() - 1; i >= 0; --i)
        if (markers[i].line > line) markers.Delete(i);
    Delete(line + 1, count - 1);
    SelectionFollowsDeletion(line + 1, count - 1);
    lines[line].Clear();
    if (selection.selLine == line) selection.selStartCol = selection.selEndCol = CurCol;
    CurLine = line;
    SetVMax(std::max(lines.GetCount() - 1, 0));
    Repaint();
    SetModified(true);
}

void TTextEditor::DeleteBefore() {
    if (ReadOnly) return;
    const int removed = std::min(CurLine, lines.GetCount());
    if (removed <= 0) return;
    AddUndoItem(utDeleteBlock, 0, -1, POINT{CurCol, CurLine}, 0, removed - 1);
    for (int i = markers.GetCount() - 1; i >= 0; --i)
        if (markers[i].line < removed) markers.Delete(i);
    RefreshMarkers(removed, -removed);
    Delete(0, removed - 1);
    SelectionFollowsDeletion(0, removed - 1);
    SetVMax(std::max(lines.GetCount() - 1, 0));
    Repaint();
    CurLine = 0;
    SetCaretPos(CurCol, 0);
    SetModified(true);
}

void TTextEditor::DeleteLineTail() {
    if (ReadOnly || CurLine < 0 || CurLine >= lines.GetCount()) return;
    AddUndoItem(utDelete);
    TString& text = lines[CurLine];
    if (text.Length() > CurCol) text = text.Left(std::max(CurCol, 0));
    RepaintLine(CurLine);
    SetModified(true);
}

// The rest of the line keeps its columns.
void TTextEditor::DeleteLineHead() {
    if (ReadOnly || CurLine < 0 || CurLine >= lines.GetCount()) return;
    AddUndoItem(utDelete);
    TString& text = lines[CurLine];
    if (text.Length() > CurCol) {
        for (int i = 0; i < CurCol; ++i) text.SetChar(i, ' ');
    } else {
        text.Clear();
    }
    RepaintLine(CurLine);
    SetModified(true);
}

void TTextEditor::RepeatLastWord() {
    if (lastWord.IsEmpty()) return;
    if (lines.GetCount() == 0) lines.Add(TString());
    if (CurLine < 0 || CurLine >= lines.GetCount() || CurCol < 0) return;
    AddUndoItem(utTyping);
    TString& text = lines[CurLine];
    text.ExtendRight(CurCol);
    text.Insert(CurCol, lastWord);
    SetHMax(text);
    RepaintLine(CurLine);
    CurCol += lastWord.Length();
    SetModified(true);
}

void TTextEditor::UnsetMarkers(int first, int last) {
    for (int i = 0; i < markers.GetCount(); ++i)
        if (markers[i].line >= first && markers[i].line <= last) markers[i].line = -1;
}

// The block keeps covering its own lines; an in-line selection on a removed
// line collapses onto the caret column.
void TTextEditor::SelectionFollowsDeletion(int first, int last) {
    if (first > last) return;
    TTextEditorSelection& s = selection;
    s.selStartLine = BoundaryAfterDeletion(s.selStartLine, first, last);
    s.selEndLine = BoundaryAfterDeletion(s.selEndLine, first, last);
    if (s.selLine >= first && s.selLine <= last) {
        s.selLine = std::min(first, std::max(lines.GetCount() - 1, 0));
        s.selStartCol = s.selEndCol = CurCol;
    } else if (s.selLine > last) {
        s.selLine -= last - first + 1;
    }
}

// Rows of a result list box: a header, one row per hit, the summary. Only
// rows the list box has are touched.
void TTextEditor::SearchResultsFollowDeletedLine(int line) {
    for (int r = 0; r < searchResults.GetCount(); ++r) {
        TTextEditorSearchResult& result = searchResults[r];
        TStrings* rows = result.listBox != nullptr ? result.listBox->GetItems() : nullptr;
        for (int i = result.hitLines.GetCount() - 1; i >= 0; --i) {
            int& hit = result.hitLines[i];
            const bool hasRow = rows != nullptr && i + 1 <= rows->GetCount() - 2;
            if (hit == line) {
                result.hitLines.Delete(i);
                if (hasRow) rows->Delete(i + 1);
            } else if (hit > line) {
                --hit;
                if (hasRow) rows->SetStrings(i + 1, RenumberedRow(rows->GetStrings(i + 1), hit));
            }
        }
        if (rows != nullptr && rows->GetCount() >= 2)
            rows->SetStrings(rows->GetCount() - 1, GetSearchAllLastLine(result.hitLines.GetCount()).str());
    }
}
