// Line rasteriser, scan-line polygon filler, circles and the drawing functors
// they feed.
#pragma once

#include "SetIDPixel.h"

#include "Win32Types.h"

#include <cstdint>
#include <utility>
#include <vector>

// Receives the points of a line or polygon. Colour -1 is the functor's own.
class TDFFunctorBase {
public:
    virtual ~TDFFunctorBase() = default;
    virtual void LineStart(int x1, int y1, int x2, int y2) {
        (void)x1, (void)y1, (void)x2, (void)y2;
    }
    virtual void Point(int x, int y, int colour) = 0;
    // Every x from x1 to x2 (x1 <= x2) on line y in the functor's own colour;
    // the polygon filler gives its runs here. The base gives each point.
    virtual void Span(int x1, int x2, int y) {
        for (int64_t x = x1; x <= x2; ++x) Point(int(x), y, -1);
    }
};

// Appends every point to a list.
class TPointCollector : public TDFFunctorBase {
public:
    std::vector<POINT> points;
    void Point(int x, int y, int colour) override;
};

// Looks for the first point within tolerance of (x, y); ordinal is the count
// of points seen up to and including it, -1 until found.
class TPointHitTest : public TDFFunctorBase {
public:
    int x, y, tolerance;
    bool found = false;
    int ordinal = -1;
    int count = 0;

    TPointHitTest(int x, int y, int tolerance) : x(x), y(y), tolerance(tolerance) {}
    void Point(int px, int py, int colour) override;
};

// Draws every point through a pixel setter.
class TSetIDPixelFunctor : public TDFFunctorBase {
public:
    TSetIDPixel setter;
    explicit TSetIDPixelFunctor(const TSetIDPixel& setter) : setter(setter) {}
    void Point(int x, int y, int colour) override { setter.Set(x, y, colour); }
    void Span(int x1, int x2, int y) override { setter.FillSpan(x1, x2, y); }
};

// Fixed-point line from (x1, y1) to (x2, y2) with `shift` fraction bits
// (1-30; other values draw nothing). includeLast gives the end point;
// lineStartNotice first tells the functor the end points; fillGaps adds a
// point wherever the minor coordinate steps, so the line is 4-connected.
// Coordinates may span the whole int range.
void RasterLine(int x1, int y1, int x2, int y2, TDFFunctorBase& functor, bool includeLast, bool lineStartNotice,
                bool fillGaps, int shift);

// Scan-line fill of the polygon, outline included; every dot goes to the
// functor, a line's runs through Span. Nothing for a null list, fewer than
// one point or a shift outside 1-30.
void FillPolygon(const POINT* points, int count, TDFFunctorBase& functor, int shift);

// Whether (x, y) is one of the dots FillPolygon gives for the polygon, found
// from the edges' points on line y without filling. False where FillPolygon
// draws nothing.
bool PolygonContainsDot(const POINT* points, int count, int x, int y, int shift);

// The evaluator's line: RasterLine through the setter in its own colour.
// notify has no visible effect.
void DrawIDLine(int x1, int y1, int x2, int y2, TSetIDPixel setter, bool drawLast, bool notify, bool connect,
                int bits);

// The points (x, y), 0 <= x <= y, of one octant of a midpoint circle of radius r.
class TCollectCircleOctantPoints {
public:
    explicit TCollectCircleOctantPoints(int radius);
    const std::vector<POINT>& Points() const& { return points_; }
    // From a temporary the points are handed over, never left dangling.
    std::vector<POINT> Points() && { return std::move(points_); }

private:
    std::vector<POINT> points_;
};

struct TIDCircleClip {
    int xmin, xmax, ymin, ymax;
};

// Circle of radius r around (cx, cy), only inside the clip (both ends
// included), each dot set once. r = 0 sets the centre; r = 1 the four
// neighbours; r < 0 nothing.
void DrawIDCircle(int cx, int cy, int r, const TIDCircleClip& clip, TSetIDPixel setter);
