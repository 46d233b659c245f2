// TTextEditor: the undo stack: building records of the lines a change
// replaces, pushing them within the budget, and undoing the last one.
#include <algorithm>
#include <memory>

#include "TextEditor.h"

namespace {

using TRecord = std::unique_ptr<TTextEditorUndoItem>;

TRecord NewRecord(TTextEditorUndoItemType kind, int first, int last, POINT caret) {
    TRecord record = std::make_unique<TTextEditorUndoItem>();
    record->kind = kind;
    record->firstLine = first;
    record->lastLine = last;
    record->caretCol = caret.x;
    record->caretLine = caret.y;
    return record;
}

// Copies lines from..to of source (clipped to it) while the record's running
// size stays within limit; false as soon as it would not.
bool CopyWithinBudget(TTextEditorUndoItem& record, const TStringContainer& source, int from, int to, int limit) {
    from = std::max(from, 0);
    to = std::min(to, source.GetCount() - 1);
    int64_t size = TTextEditorUndoItem::kRecordCost;
    for (int i = from; i <= to; ++i) {
        size += int64_t(source[i].Length()) + TTextEditorUndoItem::kLineCost;
        if (size > limit) return false;
        record.lines.Add(source[i]);
    }
    return true;
}

}  // namespace

void TTextEditor::AddUndoItem(TTextEditorUndoItemType kind) {
    AddUndoItem(kind, CurLine, POINT{CurCol, CurLine}, GetLineText(CurLine));
}

void TTextEditor::AddUndoItem(TTextEditorUndoItemType kind, int line, POINT caret, const TString& text) {
    AddUndoItem(kind, line, line, caret, text);
}

void TTextEditor::AddUndoItem(TTextEditorUndoItemType kind, int first, int last, POINT caret, const TString& text) {
    TRecord record = NewRecord(kind, first, last, caret);
    record->lines.Add(text);
    AddUndoItem(record.release());
}

void TTextEditor::AddUndoItem(TTextEditorUndoItemType kind, int first, int last, POINT caret,
                              const TStringContainer& source) {
    TRecord record = NewRecord(kind, first, first, caret);
    if (!CopyWithinBudget(*record, source, first, last, undoLimit)) {
        ClearUndo();
        return;
    }
    AddUndoItem(record.release());
}

void TTextEditor::AddUndoItem(TTextEditorUndoItemType kind, int first, int last, POINT caret, int fromLine,
                              int toLine) {
    TRecord record = NewRecord(kind, first, last, caret);
    if (!CopyWithinBudget(*record, lines, fromLine, toLine, undoLimit)) {
        ClearUndo();
        return;
    }
    AddUndoItem(record.release());
}

void TTextEditor::AddUndoItem(TTextEditorUndoItemType kind, int first, int last) {
    AddUndoItem(kind, first, last, POINT{CurCol, CurLine}, first, last);
}

void TTextEditor::AddUndoItem(TTextEditorUndoItem* item) {
    TRecord record(item);
    if (!record) return;
    const int size = record->GetSize();
    if (size > undoLimit) {
        ClearUndo();
        return;
    }
    while (undoItems.GetCount() > 0 && undoSize + size > undoLimit) {
        undoSize -= undoItems.First().GetSize();
        undoItems.DeleteFirst(true);
    }
    record->selection = selection;
    record->markers = markers;
    undoItems.Add(record.release());
    undoSize += size;
}

TTextEditorUndoItem* TTextEditor::GetLastUndoItem() {
    return undoItems.GetCount() > 0 ? &undoItems.Last() : nullptr;
}

void TTextEditor::ClearUndo() {
    undoItems.DeleteAll(true);
    undoSize = 0;
}

// The record leaves the stack first, so that a handler that CursorMove or
// SetModified calls may push or undo again.
void TTextEditor::Undo() {
    if (undoItems.GetCount() == 0) return;
    TRecord record(&undoItems.Last());
    undoItems.DeleteLast(false);
    record->SetOwner(nullptr);
    undoSize -= record->GetSize();
    const int count = lines.GetCount();
    const bool removes = record->firstLine <= record->lastLine;
    if (record->firstLine < 0 || record->firstLine > count || (removes && record->lastLine >= count)) return;
    if (removes) lines.DeleteSection(record->firstLine, record->lastLine, true);
    lines.Insert(record->firstLine, record->lines);
    for (int i = 0; i < record->lines.GetCount(); ++i) SetHMax(record->lines[i]);
    selection = record->selection;
    markers = record->markers;
    SetVMax(std::max(lines.GetCount() - 1, 0));
    Repaint();
    CurCol = record->caretCol;
    CurLine = record->caretLine;
    SetCaretPos(CurCol, CurLine);
    // After a save, an undone change is a change again: auto-save and the
    // close prompt must see it.
    SetModified(true);
}
