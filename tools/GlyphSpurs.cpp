// Clearing the spurs the monochrome scan converter leaves beside one-pixel strokes.
#include "GlyphSpurs.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace {

// Coverage of a dot whose centre lies within a sixteenth of a pixel of a
// straight edge: 7/16 to 8/16 of the dot.
const int kNearlyHalfCovered = 112;
const int kHalfCovered = 128;
// A dot the edge runs through lengthwise is at least a quarter covered.
const int kEdgeCovered = 64;
// The ink across a stroke drawn one pixel wide.
const int kOnePixelStroke = 320;
// A stroke doubled for longer is the hinter's choice, not a spur.
const int kLongestSpur = 2;

struct Step {
    int dx, dy;
};
const Step kAcross[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

class SpurFinder {
public:
    explicit SpurFinder(const GlyphRaster& raster) : raster_(raster) {}

    bool Set(int x, int y) const { return Inside(x, y) && raster_.dots[Index(x, y)] != 0; }
    int Coverage(int x, int y) const { return Inside(x, y) ? raster_.coverage[Index(x, y)] : 0; }

    // Whether dot (x, y) doubles the stroke whose own dot lies one step away.
    bool IsSpur(int x, int y, Step step) const {
        const int qx = x + step.dx, qy = y + step.dy;
        const int dot = Coverage(x, y), stroke = Coverage(qx, qy);
        if (!Set(qx, qy) || stroke < kHalfCovered || stroke <= dot || dot + stroke >= kOnePixelStroke) return false;
        // The two are the stroke's whole width, and the stroke runs on along its own dot.
        if (Set(x - step.dx, y - step.dy) || Set(qx + step.dx, qy + step.dy)) return false;
        const Step along = {step.dy, step.dx};
        if (!Set(qx + along.dx, qy + along.dy) || !Set(qx - along.dx, qy - along.dy)) return false;
        const int edge = std::max(Coverage(x + along.dx, y + along.dy), Coverage(x - along.dx, y - along.dy));
        return edge >= kEdgeCovered && DoubledLength(x, y, step, along) <= kLongestSpur;
    }

    bool IsSpur(int x, int y) const {
        if (!Set(x, y) || Coverage(x, y) < kNearlyHalfCovered || Coverage(x, y) >= kHalfCovered) return false;
        return std::any_of(std::begin(kAcross), std::end(kAcross), [&](Step step) { return IsSpur(x, y, step); });
    }

private:
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < raster_.width && y < raster_.height; }
    size_t Index(int x, int y) const { return size_t(y) * size_t(raster_.width) + size_t(x); }

    // How many dots in a row along the stroke, this one among them, have the
    // stroke's dot beside them.
    int DoubledLength(int x, int y, Step step, Step along) const {
        int length = 1;
        for (int direction = -1; direction <= 1; direction += 2) {
            int cx = x + direction * along.dx, cy = y + direction * along.dy;
            while (Set(cx, cy) && Set(cx + step.dx, cy + step.dy) && length <= kLongestSpur) {
                ++length;
                cx += direction * along.dx;
                cy += direction * along.dy;
            }
        }
        return length;
    }

    const GlyphRaster& raster_;
};

// Whether clearing dot (x, y) keeps the glyph joined as it is: its set
// neighbours, at least two of them, form one group on their own.
bool CanClear(const GlyphRaster& raster, int x, int y) {
    const SpurFinder finder(raster);
    static const Step kRing[8] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
    bool set[8];
    int count = 0;
    for (int i = 0; i < 8; ++i) {
        set[i] = finder.Set(x + kRing[i].dx, y + kRing[i].dy);
        count += set[i];
    }
    if (count < 2) return false;
    // Neighbours touch when their offsets differ by at most one each way.
    bool reached[8] = {};
    int first = int(std::find(set, set + 8, true) - set);
    reached[first] = true;
    for (bool grew = true; grew;) {
        grew = false;
        for (int i = 0; i < 8; ++i) {
            for (int j = 0; j < 8 && reached[i]; ++j) {
                const bool touch = std::abs(kRing[i].dx - kRing[j].dx) <= 1 && std::abs(kRing[i].dy - kRing[j].dy) <= 1;
                if (set[j] && !reached[j] && touch) reached[j] = grew = true;
            }
        }
    }
    for (int i = 0; i < 8; ++i) {
        if (set[i] && !reached[i]) return false;
    }
    return true;
}

}  // namespace

void ClearStrokeSpurs(GlyphRaster& raster) {
    const size_t size = size_t(std::max(raster.width, 0)) * size_t(std::max(raster.height, 0));
    if (raster.dots.size() != size || raster.coverage.size() != size) return;
    // Spurs are found on the glyph as rendered, then cleared one by one while
    // each still leaves the glyph joined.
    std::vector<size_t> spurs;
    const SpurFinder finder(raster);
    for (int y = 0; y < raster.height; ++y) {
        for (int x = 0; x < raster.width; ++x) {
            if (finder.IsSpur(x, y)) spurs.push_back(size_t(y) * size_t(raster.width) + size_t(x));
        }
    }
    for (size_t spur : spurs) {
        const int x = int(spur % size_t(raster.width)), y = int(spur / size_t(raster.width));
        if (CanClear(raster, x, y)) raster.dots[spur] = 0;
    }
}
