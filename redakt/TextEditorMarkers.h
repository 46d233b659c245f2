// The editor's bookmarks: the marker record and the list that holds them by value.
#pragma once

#include <cstdio>

#include "ValueContainers.h"

// A bookmark: its line (-1 while unset) and its number, 0 to 9.
struct TEXT_EDITOR_MARKER {
    int line;
    int number;
};

// Bookmarks in the order they were set. Copies (construction, assignment,
// Assign) copy every record. Records compare equal when line and number are
// equal, and order by line, then number.
class TTextEditorMarkerList : public TValueContainer<TEXT_EDITOR_MARKER> {
public:
    using TValueContainer<TEXT_EDITOR_MARKER>::TValueContainer;
    using TValueContainer<TEXT_EDITOR_MARKER>::Add;
    // Appends a copy of the record (null appends nothing and gives -1).
    int Add(TEXT_EDITOR_MARKER* marker);

    int CompareItems(const void* a, const void* b) const override;
    // Storage form: the container's, each record as line and number (two i32).
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    // A record whose number is not 0 to 9 or whose line is below -1 is damaged.
    bool ReadItem(TMemBuffer& buffer, void* item) override;
    // Both readers replace the list only when the whole list reads well.
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;
    bool LoadFromStream(FILE* file) override;

    void TakeContentOf(TTextEditorMarkerList& other) { Swap(other); }
};
