// TImageLink and TImageLinks: the clickable areas of a picture (polygons in
// picture pixels, each with a link target and a target panel) and the image
// link file that holds them.
#pragma once

#include "Container.h"
#include "ObjectContainer.h"
#include "String.h"
#include "ValueContainers.h"
#include "Win32.h"

// One area. Its region (WINDING fill) is built from the polygon by
// RebuildRegion; a polygon of fewer than three points gets none, so it never
// hits. Copies (Assign, copy construction) rebuild their own region.
class TImageLink : public TContainerItem {
public:
    TImageLink() = default;
    TImageLink(const TImageLink& source);
    TImageLink& operator=(const TImageLink& source);
    ~TImageLink() override;

    // Copies polygon, target and panel from another TImageLink, then rebuilds
    // the region; items of other classes are ignored.
    void Assign(const TContainerItem& source) override;
    bool Compatible(const TContainerItem& source) const override;

    // FILE streams: target, target panel, polygon. Reading replaces all three
    // and rebuilds the region; false on a short or damaged stream.
    void WriteToStream(FILE* file) const override;
    bool ReadFromStream(FILE* file) override;
    // Memory buffers: polygon, target, target panel. Reading does not rebuild
    // the region; false on short or damaged data (what was read stays).
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    // Deletes the old region and makes one of the polygon's points.
    void RebuildRegion();
    // Moves every point by (dx, dy), each coordinate kept within the int range.
    void MoveBy(int dx, int dy);
    // True when the point lies in the region.
    bool Contains(int x, int y) const;
    HRGN GetRegion() const { return fRegion; }

    TPointContainer polygon;
    TString target;
    TString targetPanel;

private:
    void DeleteRegion();
    HRGN fRegion = nullptr;
};

// The areas of one picture, or of a laid-out topic. Its stored form is the
// image link file (.ald): the container form with the header word 8 and the
// flags of a plain object list, each item marked 01 00 and written in its
// memory-buffer form. The reader keeps the areas read before any damage.
class TImageLinks : public TObjectContainer<TImageLink> {
public:
    TImageLinks();
    TImageLinks(const TImageLinks& source);
    TImageLinks& operator=(const TImageLinks& source);

    // Moves every area of other to the end of this list, leaving other empty;
    // the empty entries a stored form may hold are dropped.
    void TakeAll(TImageLinks& other);
};
