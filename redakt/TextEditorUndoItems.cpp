// TTextEditorUndoItem: copying an undo record and its share of the budget.
#include "TextEditorUndoItems.h"

TTextEditorUndoItem::~TTextEditorUndoItem() = default;

void TTextEditorUndoItem::Assign(const TContainerItem& source) {
    TContainerItem::Assign(source);
    const auto* other = dynamic_cast<const TTextEditorUndoItem*>(&source);
    if (other == nullptr || other == this) return;
    kind = other->kind;
    firstLine = other->firstLine;
    lastLine = other->lastLine;
    caretCol = other->caretCol;
    caretLine = other->caretLine;
    lines = other->lines;
    selection = other->selection;
    markers = other->markers;
}

int TTextEditorUndoItem::GetSize() const {
    int64_t size = kRecordCost;
    for (int i = 0; i < lines.GetCount(); ++i) size += int64_t(lines[i].Length()) + kLineCost;
    return size > INT32_MAX ? INT32_MAX : static_cast<int>(size);
}
