// Pixel regions as y-bands of sorted x-spans, their set operations, and a
// builder that collects figure pixels row by row. Internal to the Win32 subset.
#pragma once

#include <vector>

#include "Gdi.h"

class Region {
public:
    // Rows [top, bottom) share the spans [walls[0], walls[1]), [walls[2], walls[3]), ...
    // Bands are sorted, disjoint, never empty, and neighbours with equal walls are merged.
    struct Band {
        LONG top;
        LONG bottom;
        std::vector<LONG> walls;
    };

    Region() = default;
    explicit Region(const RECT& rect);  // empty for an empty rectangle

    bool Empty() const { return bands_.empty(); }
    RECT Bounds() const;  // {0,0,0,0} when empty
    // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
    int Complexity() const;
    bool Contains(LONG x, LONG y) const;
    bool Intersects(const RECT& rect) const;
    bool operator==(const Region& other) const;
    const std::vector<Band>& Bands() const { return bands_; }

    void Offset(LONG dx, LONG dy);
    // mode is RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF or RGN_COPY (a).
    static Region Combine(const Region& a, const Region& b, int mode);
    Region IntersectRect(const RECT& rect) const;

    // Calls visit(left, top, right, bottom) for each rectangle of the region
    // inside clip, band by band from the top.
    template <class Visit>
    void ForEachRectIn(const RECT& clip, Visit visit) const;

    // Appends a band below the existing ones (used by the builder and Combine).
    void AppendBand(LONG top, LONG bottom, const std::vector<LONG>& walls);

private:
    const Band* BandAt(LONG y) const;
    std::vector<Band> bands_;
};

// Collects pixels and spans of a figure inside rows [top, bottom) in any order
// and overlap; Build merges them into a region (each pixel once).
class RegionBuilder {
public:
    RegionBuilder(LONG top, LONG bottom);
    void AddSpan(LONG y, LONG left, LONG right);  // [left, right); rows outside are ignored
    void AddPixel(LONG x, LONG y) { AddSpan(y, x, x + 1); }
    Region Build();

private:
    LONG top_;
    std::vector<std::vector<LONG>> rows_;  // pairs of left, right
};

template <class Visit>
void Region::ForEachRectIn(const RECT& clip, Visit visit) const {
    for (const Band& band : bands_) {
        if (band.bottom <= clip.top) continue;
        if (band.top >= clip.bottom) break;
        const LONG top = band.top > clip.top ? band.top : clip.top;
        const LONG bottom = band.bottom < clip.bottom ? band.bottom : clip.bottom;
        for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
            const LONG left = band.walls[i] > clip.left ? band.walls[i] : clip.left;
            const LONG right = band.walls[i + 1] < clip.right ? band.walls[i + 1] : clip.right;
            if (left < right) visit(left, top, right, bottom);
        }
    }
}
