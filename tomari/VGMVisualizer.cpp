// TVGMVisualizer: topic sources, pictures and image links out of a help archive.
#include "VGMVisualizer.h"

#include <exception>

#include "ArchiveEntry.h"
#include "SymbolScan.h"

bool TVGMVisualizer::LoadSource(const TString& name) {
    if (name.IsEmpty()) return true;
    TStringContainer lines;
    if (!ReadArchiveEntry(fResource, name, lines)) {
        TopicError(name);
        return false;
    }
    GetSource().Swap(lines);
    return true;
}

// The bitmap's own readers report damage by their result; an exception of
// the picture decoder or of memory is caught as the file variant does.
void TVGMVisualizer::LoadImage(const TString& name, TMemBitmap& bitmap) {
    bool read = false;
    try {
        read = ReadArchiveEntry(fResource, name, bitmap);
    } catch (const std::exception&) {
        read = false;
    }
    if (!read) bitmap.ClearPicture();
}

void TVGMVisualizer::LoadImageLinks(const TString& name, TImageLinks& links) {
    if (!ReadArchiveEntry(fResource, name, links)) links.Clear();
}

bool TVGMVisualizer::Parse(TStringContainer& lines) { return ParseTaggedAs(*this, lines); }
