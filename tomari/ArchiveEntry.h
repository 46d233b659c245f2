// ReadArchiveEntry: one entry of a help archive read into the object its
// bytes store, a damaged entry counting as a missing one.
#pragma once

#include "MemBuffer.h"
#include "Resource.h"
#include "String.h"

// Reads the entry called name into target with its ReadFromMemBuffer. False
// without an archive, without such an entry, when the reader fails and when
// the reader leaves bytes of the entry unread; target then holds whatever the
// reader left, so callers read into a fresh object and keep it only on true.
template <class T>
bool ReadArchiveEntry(TResourceBase* archive, const TString& name, T& target) {
    if (archive == nullptr) return false;
    TMemBuffer entry;
    if (!archive->GetBuffer(name, entry)) return false;
    return target.ReadFromMemBuffer(entry) && entry.GetRemaining() == 0;
}
