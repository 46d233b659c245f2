// Readers of the editor's records that replace their target only when the
// whole record reads well: a damaged or short record leaves the target as it
// was and the buffer's read position (or the stream's) where it started.
#pragma once

#include <cstdio>

#include "MemBuffer.h"

// readInto(fresh, buffer) reads a record into a new object; on success
// target.TakeContentOf(fresh) moves the content over.
template <class Record, class ReadInto>
bool ReadWholeRecord(Record& target, TMemBuffer& buffer, ReadInto readInto) {
    Record fresh;
    const int start = buffer.GetReadPosition();
    if (!readInto(fresh, buffer)) {
        buffer.SeekRead(start);
        return false;
    }
    target.TakeContentOf(fresh);
    return true;
}

// The same for a FILE stream; the stream goes back to where it was when it can.
template <class Record, class LoadInto>
bool LoadWholeRecord(Record& target, FILE* file, LoadInto loadInto) {
    if (file == nullptr) return false;
    Record fresh;
    const long start = std::ftell(file);
    if (!loadInto(fresh, file)) {
        if (start >= 0) std::fseek(file, start, SEEK_SET);
        return false;
    }
    target.TakeContentOf(fresh);
    return true;
}
