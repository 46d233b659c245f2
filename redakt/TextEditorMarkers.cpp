// TTextEditorMarkerList: the bookmark records, their order and their storage form.
#include "TextEditorMarkers.h"

#include "TextEditorRecordReading.h"

int TTextEditorMarkerList::Add(TEXT_EDITOR_MARKER* marker) {
    if (marker == nullptr) return -1;
    return TContainer::Add(marker);
}

int TTextEditorMarkerList::CompareItems(const void* a, const void* b) const {
    const TEXT_EDITOR_MARKER& first = *static_cast<const TEXT_EDITOR_MARKER*>(a);
    const TEXT_EDITOR_MARKER& second = *static_cast<const TEXT_EDITOR_MARKER*>(b);
    if (first.line != second.line) return first.line < second.line ? -1 : 1;
    if (first.number != second.number) return first.number < second.number ? -1 : 1;
    return 0;
}

void TTextEditorMarkerList::WriteItem(TMemBuffer& buffer, const void* item) const {
    const TEXT_EDITOR_MARKER& marker = *static_cast<const TEXT_EDITOR_MARKER*>(item);
    buffer.AddInt(marker.line);
    buffer.AddInt(marker.number);
}

bool TTextEditorMarkerList::ReadItem(TMemBuffer& buffer, void* item) {
    TEXT_EDITOR_MARKER marker{};
    if (!buffer.ReadInt(marker.line) || !buffer.ReadInt(marker.number)) return false;
    if (marker.line < -1 || marker.number < 0 || marker.number > 9) return false;
    *static_cast<TEXT_EDITOR_MARKER*>(item) = marker;
    return true;
}

bool TTextEditorMarkerList::ReadFromMemBuffer(TMemBuffer& buffer) {
    return ReadWholeRecord(*this, buffer, [](TTextEditorMarkerList& fresh, TMemBuffer& source) {
        return fresh.TContainer::ReadFromMemBuffer(source);
    });
}

bool TTextEditorMarkerList::LoadFromStream(FILE* file) {
    return LoadWholeRecord(*this, file, [](TTextEditorMarkerList& fresh, FILE* source) {
        return fresh.TContainer::LoadFromStream(source);
    });
}
