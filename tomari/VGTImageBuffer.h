// TVGTImageBufferItem and TVGTImageBuffer: the visualizer's picture cache,
// pictures by exact (case-sensitive) name.
#pragma once

#include "MemBitmap.h"
#include "ObjectContainer.h"
#include "RecordItem.h"
#include "String.h"

// A picture and the name it was looked up by; a picture that could not be
// loaded stays here not valid, so it is not looked for again.
class TVGTImageBufferItem : public TRecordItem<TVGTImageBufferItem> {
public:
    TMemBitmap picture;
    TString name;
};

// Items keep their place in memory while others are added, so a picture
// handed out stays valid until the cache is cleared.
class TVGTImageBuffer : public TObjectContainer<TVGTImageBufferItem> {
public:
    using TObjectContainer<TVGTImageBufferItem>::TObjectContainer;
    using TObjectContainer<TVGTImageBufferItem>::operator=;

    // The item of that name (compared byte for byte); null when none.
    TVGTImageBufferItem* Find(const TString& name) const {
        for (int i = 0; i < GetCount(); ++i)
            if ((*this)[i].name == name) return &(*this)[i];
        return nullptr;
    }
    // True when picture is one of the cache's pictures.
    bool Holds(const TMemBitmap* picture) const {
        for (int i = 0; i < GetCount(); ++i)
            if (&(*this)[i].picture == picture) return true;
        return false;
    }
};
