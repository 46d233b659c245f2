// Pixel regions: band construction, set operations and queries.
#include "Region.h"

#include <algorithm>

#include "Gdi.h"

namespace {

bool ApplyMode(int mode, bool inA, bool inB) {
    switch (mode) {
        case RGN_AND:
            return inA && inB;
        case RGN_OR:
            return inA || inB;
        case RGN_XOR:
            return inA != inB;
        case RGN_DIFF:
            return inA && !inB;
        default:
            return inA;
    }
}

// Combines two sorted wall lists of one row range.
std::vector<LONG> CombineWalls(const std::vector<LONG>& a, const std::vector<LONG>& b, int mode) {
    std::vector<LONG> out;
    size_t i = 0, j = 0;
    bool inA = false, inB = false, inOut = false;
    while (i < a.size() || j < b.size()) {
        LONG x = i < a.size() ? a[i] : b[j];
        if (j < b.size() && b[j] < x) x = b[j];
        while (i < a.size() && a[i] == x) {
            inA = !inA;
            ++i;
        }
        while (j < b.size() && b[j] == x) {
            inB = !inB;
            ++j;
        }
        const bool now = ApplyMode(mode, inA, inB);
        if (now != inOut) {
            out.push_back(x);
            inOut = now;
        }
    }
    return out;
}

}  // namespace

Region::Region(const RECT& rect) {
    if (rect.left < rect.right && rect.top < rect.bottom)
        bands_.push_back(Band{rect.top, rect.bottom, {rect.left, rect.right}});
}

RECT Region::Bounds() const {
    if (bands_.empty()) return RECT{0, 0, 0, 0};
    RECT r{bands_.front().walls.front(), bands_.front().top, bands_.front().walls.back(), bands_.back().bottom};
    for (const Band& band : bands_) {
        r.left = std::min(r.left, band.walls.front());
        r.right = std::max(r.right, band.walls.back());
    }
    return r;
}

int Region::Complexity() const {
    if (bands_.empty()) return NULLREGION;
    return bands_.size() == 1 && bands_[0].walls.size() == 2 ? SIMPLEREGION : COMPLEXREGION;
}

const Region::Band* Region::BandAt(LONG y) const {
    auto it = std::upper_bound(bands_.begin(), bands_.end(), y,
                               [](LONG value, const Band& band) { return value < band.bottom; });
    if (it == bands_.end() || it->top > y) return nullptr;
    return &*it;
}

bool Region::Contains(LONG x, LONG y) const {
    const Band* band = BandAt(y);
    if (band == nullptr) return false;
    auto it = std::upper_bound(band->walls.begin(), band->walls.end(), x);
    return ((it - band->walls.begin()) & 1) == 1;
}

bool Region::Intersects(const RECT& rect) const {
    bool found = false;
    ForEachRectIn(rect, [&](LONG, LONG, LONG, LONG) { found = true; });
    return found;
}

bool Region::operator==(const Region& other) const {
    if (bands_.size() != other.bands_.size()) return false;
    for (size_t i = 0; i < bands_.size(); ++i) {
        const Band& a = bands_[i];
        const Band& b = other.bands_[i];
        if (a.top != b.top || a.bottom != b.bottom || a.walls != b.walls) return false;
    }
    return true;
}

void Region::Offset(LONG dx, LONG dy) {
    for (Band& band : bands_) {
        band.top += dy;
        band.bottom += dy;
        for (LONG& wall : band.walls) wall += dx;
    }
}

void Region::AppendBand(LONG top, LONG bottom, const std::vector<LONG>& walls) {
    if (top >= bottom || walls.empty()) return;
    if (!bands_.empty()) {
        Band& last = bands_.back();
        if (last.bottom == top && last.walls == walls) {
            last.bottom = bottom;
            return;
        }
    }
    bands_.push_back(Band{top, bottom, walls});
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
    if (mode == RGN_COPY) return a;
    std::vector<LONG> edges;
    edges.reserve(2 * (a.bands_.size() + b.bands_.size()));
    for (const Band& band : a.bands_) {
        edges.push_back(band.top);
        edges.push_back(band.bottom);
    }
    for (const Band& band : b.bands_) {
        edges.push_back(band.top);
        edges.push_back(band.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    static const std::vector<LONG> kNone;
    Region result;
    size_t ia = 0, ib = 0;
    for (size_t k = 0; k + 1 < edges.size(); ++k) {
        const LONG top = edges[k], bottom = edges[k + 1];
        while (ia < a.bands_.size() && a.bands_[ia].bottom <= top) ++ia;
        while (ib < b.bands_.size() && b.bands_[ib].bottom <= top) ++ib;
        const bool hasA = ia < a.bands_.size() && a.bands_[ia].top <= top;
        const bool hasB = ib < b.bands_.size() && b.bands_[ib].top <= top;
        if (!hasA && !hasB) continue;
        result.AppendBand(top, bottom,
                          CombineWalls(hasA ? a.bands_[ia].walls : kNone, hasB ? b.bands_[ib].walls : kNone, mode));
    }
    return result;
}

Region Region::IntersectRect(const RECT& rect) const {
    Region result;
    if (rect.left >= rect.right || rect.top >= rect.bottom) return result;
    for (const Band& band : bands_) {
        if (band.bottom <= rect.top) continue;
        if (band.top >= rect.bottom) break;
        std::vector<LONG> walls;
        for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
            const LONG left = std::max(band.walls[i], rect.left);
            const LONG right = std::min(band.walls[i + 1], rect.right);
            if (left < right) {
                walls.push_back(left);
                walls.push_back(right);
            }
        }
        result.AppendBand(std::max(band.top, rect.top), std::min(band.bottom, rect.bottom), walls);
    }
    return result;
}

RegionBuilder::RegionBuilder(LONG top, LONG bottom) : top_(top) {
    if (bottom > top) rows_.resize(static_cast<size_t>(bottom - top));
}

void RegionBuilder::AddSpan(LONG y, LONG left, LONG right) {
    if (left >= right || y < top_ || y - top_ >= static_cast<LONG>(rows_.size())) return;
    std::vector<LONG>& row = rows_[static_cast<size_t>(y - top_)];
    // Extending the last span in place keeps runs of neighbouring pixels cheap.
    if (!row.empty() && row[row.size() - 1] == left) {
        row[row.size() - 1] = right;
        return;
    }
    row.push_back(left);
    row.push_back(right);
}

Region RegionBuilder::Build() {
    Region region;
    std::vector<std::pair<LONG, LONG>> spans;
    std::vector<LONG> walls;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const std::vector<LONG>& row = rows_[i];
        spans.clear();
        for (size_t k = 0; k + 1 < row.size(); k += 2) spans.emplace_back(row[k], row[k + 1]);
        std::sort(spans.begin(), spans.end());
        walls.clear();
        for (const auto& span : spans) {
            if (!walls.empty() && span.first <= walls.back()) {
                walls.back() = std::max(walls.back(), span.second);
            } else {
                walls.push_back(span.first);
                walls.push_back(span.second);
            }
        }
        const LONG y = top_ + static_cast<LONG>(i);
        region.AppendBand(y, y + 1, walls);
    }
    return region;
}
