// The editor's undo records and the stack that holds them, oldest first.
#pragma once

#include "ObjectContainer.h"
#include "StringContainer.h"
#include "TextEditorMarkers.h"
#include "TextEditorTypes.h"

// One change: undo removes lines firstLine..lastLine (none when lastLine <
// firstLine), inserts the saved lines there, and restores the caret, the
// selection and the bookmarks.
class TTextEditorUndoItem : public TContainerItem {
public:
    ~TTextEditorUndoItem() override;
    void Assign(const TContainerItem& source) override;

    // The record's share of the undo budget: 208 + (length + 25) per saved
    // line; an accounting rule, not its memory size.
    int GetSize() const;

    static constexpr int kRecordCost = 208;
    static constexpr int kLineCost = 25;

    TTextEditorUndoItemType kind = utTyping;
    int firstLine = 0;
    int lastLine = -1;
    int caretCol = 0;
    int caretLine = 0;
    TStringContainer lines;
    TTextEditorSelection selection;
    TTextEditorMarkerList markers;
};

class TTextEditorUndoItems : public TObjectContainer<TTextEditorUndoItem> {};
