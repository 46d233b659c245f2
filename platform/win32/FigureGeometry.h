// Rasterising figures into device-pixel regions: polygons by fill mode, rounded
// rectangles and ellipses, arc sweeps, and pen strokes with width and dashes.
// Internal to the Win32 subset.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "PenAndBrush.h"
#include "Region.h"

// A coordinate computed in 64 bits, kept within the LONG range: far points
// stay far without wrapping round.
inline LONG SaturatedLong(int64_t value) {
    return static_cast<LONG>(
        std::clamp<int64_t>(value, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

// Figures are built only inside `limit` (the clip bounds when drawing), so
// far-off coordinates cost nothing. kRegionLimit serves regions made without a DC.
extern const RECT kRegionLimit;

// Pixels whose centre lies inside the polygon (ALTERNATE or WINDING).
Region PolygonRegion(const POINT* points, int count, int fillMode, const RECT& limit);
// Pixels of [left,right) x [top,bottom) inside the rounded rectangle whose
// corners are quarters of an ellipseWidth x ellipseHeight ellipse; an ellipse
// when those equal the box size. Boxes are normalised (left <= right).
Region RoundRectRegion(RECT box, int ellipseWidth, int ellipseHeight, const RECT& limit);
Region EllipseRegion(const RECT& box, const RECT& limit);
RECT NormaliseRect(const RECT& r);
RECT ShrinkRect(const RECT& r, int by);

// The pixels of region for which keep(x, y) holds.
template <class Keep>
Region FilterPixels(const Region& region, Keep keep) {
    const RECT bounds = region.Bounds();
    RegionBuilder builder(bounds.top, bounds.bottom);
    region.ForEachRectIn(bounds, [&](LONG left, LONG top, LONG right, LONG bottom) {
        for (LONG y = top; y < bottom; ++y)
            for (LONG x = left; x < right; ++x)
                if (keep(x, y)) builder.AddPixel(x, y);
    });
    return builder.Build();
}

// Splits the pixels of a thin outline into the dashes and gaps of a pen's
// pattern, walking them counter-clockwise (on screen) around the centre from
// the start angle (radians, 0 pointing right).
void SplitOutlineByDashes(const Region& outline, double centreX, double centreY, double startAngle,
                          const std::vector<int>& dashes, Region& on, Region& gaps);

// The sweep of an arc inside a box: counter-clockwise on screen from the radial
// through start to the radial through end (equal radials: the whole turn).
class ArcSweep {
public:
    ArcSweep(const RECT& box, POINT start, POINT end);
    bool Contains(LONG x, LONG y) const;              // pixel centre within the sweep
    bool OnChordSide(LONG x, LONG y) const;           // pixel centre on the arc's side of the chord
    POINT StartPixel() const { return startPixel_; }  // where the radials meet the ellipse
    POINT EndPixel() const { return endPixel_; }
    POINT CentrePixel() const;
    double StartAngle() const { return startAngle_; }

private:
    double Angle(double x, double y) const;
    POINT EllipsePixel(double angle) const;
    RECT box_;
    double centreX_, centreY_;
    double startAngle_, sweep_;
    POINT startPixel_, endPixel_;
};

// Calls plot(x, y) for every pixel of the line from `from` up to, not
// including, `to`, in order; no pixel twice.
template <class Plot>
void StepLine(POINT from, POINT to, Plot plot) {
    const LONG dx = std::abs(to.x - from.x);
    const LONG dy = std::abs(to.y - from.y);
    const LONG stepX = to.x > from.x ? 1 : -1;
    const LONG stepY = to.y > from.y ? 1 : -1;
    LONG x = from.x, y = from.y;
    LONG error = dx - dy;
    for (LONG i = std::max(dx, dy); i > 0; --i) {
        plot(x, y);
        const LONG twice = 2 * error;
        if (twice > -dy) {
            error -= dy;
            x += stepX;
        }
        if (twice < dx) {
            error += dx;
            y += stepY;
        }
    }
}

// Strokes a pen along lines into two pixel sets: the pen's pixels and the gaps
// of a dashed pen. The dash pattern continues from one line to the next.
class PenStroke {
public:
    // bounds: device rectangle holding every point of the lines.
    PenStroke(const GdiPen& pen, const RECT& bounds);
    // Every pixel from `from` up to, not including, `to`.
    void Line(POINT from, POINT to);
    // A single pixel (the end of a wide line, the end of a radial).
    void Point(POINT at);
    Region Pixels() { return on_.Build(); }
    Region Gaps() { return gaps_.Build(); }

private:
    void Plot(LONG x, LONG y);
    void Stamp(RegionBuilder& builder, LONG x, LONG y);
    int width_;
    const std::vector<int>& dashes_;
    size_t dashIndex_ = 0;
    int dashLeft_ = 0;
    RegionBuilder on_;
    RegionBuilder gaps_;
    // Spans of the round stamp of a wide pen: rows offsets and half-open x ranges.
    struct StampRow {
        int dy, left, right;
    };
    std::vector<StampRow> stamp_;
};

// Bounding rectangle of points, right and bottom exclusive (one beyond the
// last pixel, or the largest LONG for a point at it).
RECT PointBounds(const POINT* points, int count);
