// Lines and filled shapes: MoveToEx/LineTo/Polyline/Polygon, rectangles,
// ellipses, arcs, pies, chords, rounded rectangles, rectangle fills and pixels.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FigureGeometry.h"
#include "Raster.h"

namespace {

// Segments reaching this far outside the clip bounds are cut before stepping.
constexpr LONG kStrokeMargin = 4096;

// Widened on every side; the edges of a box of far points stop at the LONG range.
RECT Inflate(const RECT& r, LONG by) {
    return RECT{SaturatedLong(int64_t{r.left} - by), SaturatedLong(int64_t{r.top} - by),
                SaturatedLong(int64_t{r.right} + by), SaturatedLong(int64_t{r.bottom} + by)};
}

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// Cuts a segment to limit (Liang-Barsky); false when nothing of it is inside.
bool CutSegment(POINT& a, POINT& b, const RECT& limit) {
    double t0 = 0, t1 = 1;
    const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {static_cast<double>(a.x) - limit.left, static_cast<double>(limit.right) - a.x,
                         static_cast<double>(a.y) - limit.top, static_cast<double>(limit.bottom) - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
    const POINT from = a;
    a = POINT{static_cast<LONG>(std::lround(from.x + t0 * dx)), static_cast<LONG>(std::lround(from.y + t0 * dy))};
    b = POINT{static_cast<LONG>(std::lround(from.x + t1 * dx)), static_cast<LONG>(std::lround(from.y + t1 * dy))};
    return true;
}

// Strokes device points as connected lines with the DC's pen.
class Stroker {
public:
    Stroker(DeviceContext& dc, const RECT& pointBounds)
        : dc_(dc),
          limit_(Inflate(dc.clipBounds, kStrokeMargin)),
          stroke_(*dc.state.pen, IntersectOrLimit(Inflate(pointBounds, 1))) {}

    void Line(POINT from, POINT to) {
        if (!Inside(limit_, from) || !Inside(limit_, to)) {
            if (!CutSegment(from, to, limit_)) return;
        }
        stroke_.Line(from, to);
    }
    void Point(POINT at) {
        if (Inside(limit_, at)) stroke_.Point(at);
    }
    PenStroke& Stroke() { return stroke_; }

private:
    RECT IntersectOrLimit(const RECT& bounds) const {
        const RECT cut = IntersectRects(bounds, Inflate(dc_.clipBounds, kStrokeMargin));
        return RectIsEmpty(cut) ? RECT{0, 0, 0, 0} : cut;
    }
    DeviceContext& dc_;
    RECT limit_;
    PenStroke stroke_;
};

// A stroke stays inside its points' box widened by the pen, so one whose box
// misses the clip box paints nothing and need not be stepped.
bool StrokeMissesClip(const DeviceContext& dc, const RECT& pointBounds) {
    const RECT reach = Inflate(pointBounds, dc.state.pen->Width() + 1);
    return RectIsEmpty(IntersectRects(reach, dc.clipBounds));
}

// True when [low, high] lies wholly before first or from last on: the sign of
// (high - first) | ~(low - last), so that a compiler cannot split it into two
// branches that random lines would mispredict.
bool OutsideSpan(int64_t low, int64_t high, int64_t first, int64_t last) {
    return ((high - first) | ~(low - last)) < 0;
}

// The common case of LineTo: no pixel of a stroke of the pen's width from a
// to b can be in the clip box. Its branches ask only whether a line is above
// or below the clip, or beside it, which repeats from one line to the next.
bool SegmentMissesClip(const DeviceContext& dc, POINT a, POINT b) {
    const RECT& clip = dc.clipBounds;
    const int64_t reach = dc.state.pen->Width() + 1;
    const LONG lowY = a.y < b.y ? a.y : b.y, highY = a.y < b.y ? b.y : a.y;
    if (OutsideSpan(lowY, highY, clip.top - reach, clip.bottom + reach)) return true;
    const LONG lowX = a.x < b.x ? a.x : b.x, highX = a.x < b.x ? b.x : a.x;
    return OutsideSpan(lowX, highX, clip.left - reach, clip.right + reach) || RectIsEmpty(clip);
}

// The pixels [from, to) of a horizontal or vertical line as one clipped span
// or column, as the grid and list painters draw their rules.
void PaintStraightLine(DeviceContext& dc, const BrushPaint& paint, POINT from, POINT to) {
    const RECT& clip = dc.clipBounds;
    // The end point is left out, whichever way the line runs.
    const LONG left = std::max(from.x < to.x ? from.x : to.x + (from.y == to.y), clip.left);
    const LONG right = std::min(from.x < to.x ? to.x : from.x + 1, clip.right);
    const LONG top = std::max(from.y < to.y ? from.y : to.y + (from.x == to.x), clip.top);
    const LONG bottom = std::min(from.y < to.y ? to.y : from.y + 1, clip.bottom);
    if (left >= right) return;
    for (LONG y = top; y < bottom; ++y) paint.PaintSpan(dc.PixelAt(left, y), left, y, right - left);
}

// A thin solid line on a rectangular clip goes straight onto the surface,
// pixel by pixel in the stroke's own order: the pixels the stroke's region
// would hold, without building it. False when the line needs the region.
bool PaintThinLine(DeviceContext& dc, POINT from, POINT to) {
    if (dc.state.pen->Width() > 1 || !dc.clipIsRectangle || !dc.state.pen->DashPattern().empty()) return false;
    const RECT clip = dc.clipBounds;
    const RECT limit = Inflate(clip, kStrokeMargin);
    if ((!Inside(limit, from) || !Inside(limit, to)) && !CutSegment(from, to, limit)) return true;
    const BrushPaint paint = SolidPaint(dc.state.pen->logPen.lopnColor, dc.state.rop2);
    if (from.y == to.y || from.x == to.x) {
        PaintStraightLine(dc, paint, from, to);
        return true;
    }
    StepLine(from, to, [&](LONG x, LONG y) {
        if (Inside(clip, POINT{x, y})) paint.PaintSpan(dc.PixelAt(x, y), x, y, 1);
    });
    return true;
}

// Rows worth building for a figure on this DC.
RECT FigureLimit(const DeviceContext& dc) { return Inflate(dc.clipBounds, 1); }

bool HasPen(const DeviceContext& dc) { return !dc.state.pen->IsNull(); }
bool HasBrush(const DeviceContext& dc) { return !dc.state.brush->IsNull(); }
bool IsSolidPen(const DeviceContext& dc) { return dc.state.pen->DashPattern().empty(); }

// Paints a figure: interior with the brush, gaps of a dashed pen with the
// background colour (OPAQUE), pen pixels with the pen; all with the ROP2, each pixel once.
void PaintFigure(DeviceContext& dc, const Region& interior, const Region& pen, const Region& gaps) {
    const int rop2 = dc.state.rop2;
    if (!gaps.Empty() && dc.state.backgroundMode == OPAQUE) {
        PaintRegion(dc, Region::Combine(gaps, pen, RGN_DIFF), SolidPaint(dc.state.backgroundColour, rop2));
    }
    if (!interior.Empty() && HasBrush(dc)) {
        const Region inside = Region::Combine(Region::Combine(interior, pen, RGN_DIFF), gaps, RGN_DIFF);
        PaintRegion(dc, inside, PrepareBrushPaint(dc, *dc.state.brush, rop2, true));
    }
    if (!pen.Empty()) PaintRegion(dc, pen, SolidPaint(dc.state.pen->logPen.lopnColor, rop2));
}

void PaintStroke(DeviceContext& dc, Stroker& stroker, const Region& interior = Region()) {
    PaintFigure(dc, interior, stroker.Stroke().Pixels(), stroker.Stroke().Gaps());
}

// The points in device coordinates; a point the origins carry past the LONG
// range stops at its end, far outside any surface.
std::vector<POINT> ToDevice(const DeviceContext& dc, const POINT* points, int count) {
    const int64_t dx = int64_t{dc.state.viewportOrigin.x} - dc.state.windowOrigin.x;
    const int64_t dy = int64_t{dc.state.viewportOrigin.y} - dc.state.windowOrigin.y;
    std::vector<POINT> result(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        result[static_cast<size_t>(i)] = POINT{SaturatedLong(points[i].x + dx), SaturatedLong(points[i].y + dy)};
    return result;
}

// Outline ring and interior of a box-bounded figure (rectangle, rounded
// rectangle, ellipse) with the pen inside the box; a null pen leaves an
// interior one pixel narrower and shorter.
struct BoxFigure {
    Region ring;
    Region interior;
};

template <class Shape>
BoxFigure MakeBoxFigure(const DeviceContext& dc, const RECT& box, Shape shape) {
    BoxFigure figure;
    if (!HasPen(dc)) {
        figure.interior = shape(RECT{box.left, box.top, box.right - 1, box.bottom - 1}, 0);
        return figure;
    }
    const int width = dc.state.pen->Width();
    const Region outer = shape(box, 0);
    figure.interior = shape(ShrinkRect(box, width), width);
    figure.ring = Region::Combine(outer, figure.interior, RGN_DIFF);
    return figure;
}

// Paints an outline and interior; a dashed pen's pattern runs counter-clockwise
// around the box centre from startAngle.
void PaintOutlinedFigure(DeviceContext& dc, const RECT& box, double startAngle, const Region& interior,
                         const Region& outline) {
    if (IsSolidPen(dc)) {
        PaintFigure(dc, interior, outline, Region());
        return;
    }
    Region on, gaps;
    SplitOutlineByDashes(outline, (box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0, startAngle,
                         dc.state.pen->DashPattern(), on, gaps);
    PaintFigure(dc, interior, on, gaps);
}

void DrawBoxFigure(DeviceContext& dc, const RECT& box, const BoxFigure& figure) {
    PaintOutlinedFigure(dc, box, 0, figure.interior, figure.ring);
}

// The DC and normalised device box of a box figure; null when the call is
// over (result then says whether it failed or there was nothing to draw).
DeviceContext* BoxFigureTarget(HDC handle, int left, int top, int right, int bottom, RECT& box, BOOL& result) {
    DeviceContext* dc = LookupDeviceContext(handle);
    result = dc != nullptr ? TRUE : FALSE;
    if (dc == nullptr) return nullptr;
    box = NormaliseRect(dc->ToDevice(RECT{left, top, right, bottom}));
    return RectIsEmpty(box) || dc->surface == nullptr ? nullptr : dc;
}

enum class ArcKind { Arc, Pie, Chord };

BOOL DrawArcFigure(HDC handle, ArcKind kind, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
                   int yEnd) {
    RECT box;
    BOOL result;
    DeviceContext* dc = BoxFigureTarget(handle, left, top, right, bottom, box, result);
    if (dc == nullptr) return result;
    const ArcSweep sweep(box, dc->ToDevice(xStart, yStart), dc->ToDevice(xEnd, yEnd));
    const RECT limit = FigureLimit(*dc);
    auto ellipse = [&limit](const RECT& r, int) { return EllipseRegion(r, limit); };
    const BoxFigure figure = MakeBoxFigure(*dc, box, ellipse);
    auto inSweep = [&sweep](LONG x, LONG y) { return sweep.Contains(x, y); };
    Region pen = HasPen(*dc) ? FilterPixels(figure.ring, inSweep) : Region();
    if (kind == ArcKind::Arc) {
        PaintOutlinedFigure(*dc, box, sweep.StartAngle(), Region(), pen);
        return TRUE;
    }
    Stroker stroker(*dc, box);
    if (HasPen(*dc)) {
        if (kind == ArcKind::Pie) {
            stroker.Line(sweep.CentrePixel(), sweep.StartPixel());
            stroker.Line(sweep.CentrePixel(), sweep.EndPixel());
            stroker.Point(sweep.CentrePixel());
        } else {
            stroker.Line(sweep.EndPixel(), sweep.StartPixel());
        }
        stroker.Point(sweep.StartPixel());
        stroker.Point(sweep.EndPixel());
        pen = Region::Combine(pen, stroker.Stroke().Pixels(), RGN_OR);
    }
    Region interior;
    if (kind == ArcKind::Pie) {
        interior = FilterPixels(figure.interior, inSweep);
    } else {
        interior = FilterPixels(figure.interior, [&sweep](LONG x, LONG y) { return sweep.OnChordSide(x, y); });
    }
    PaintOutlinedFigure(*dc, box, sweep.StartAngle(), interior, pen);
    return TRUE;
}

}  // namespace

namespace {

// Stores a point in one 64-bit write. LineTo reads the current position back
// whole; a position written in two halves just before could not be forwarded
// to that read, and the read would wait for the halves to reach the cache.
void StorePoint(POINT& target, LONG x, LONG y) {
    static_assert(sizeof(POINT) == sizeof(uint64_t) && offsetof(POINT, y) == sizeof(LONG), "POINT is x then y");
    const uint64_t packed = uint64_t{static_cast<uint32_t>(x)} | uint64_t{static_cast<uint32_t>(y)} << 32;
    std::memcpy(&target, &packed, sizeof packed);
}

}  // namespace

// MoveToEx and LineTo, called for every line a painter draws, record their
// trace last, when nothing of the call is left to keep across it.
BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
    DeviceContext* dc = LookupDeviceContext(handle);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->state.currentPosition;
    StorePoint(dc->state.currentPosition, x, y);
    Trace(dc, "MoveToEx", x, y);
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC handle, LPPOINT position) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "GetCurrentPositionEx");
    if (dc == nullptr || position == nullptr) return FALSE;
    *position = dc->state.currentPosition;
    return TRUE;
}

namespace {

// The rest of LineTo(x, y), for a line that may reach the clip box; out of
// line so that LineTo itself, for the lines passed over, stays short.
[[gnu::noinline]] BOOL StrokeSegment(DeviceContext& dc, POINT from, POINT to, int x, int y) {
    if (!PaintThinLine(dc, from, to)) {
        const POINT ends[2] = {from, to};
        Stroker stroker(dc, PointBounds(ends, 2));
        stroker.Line(from, to);
        if (dc.state.pen->Width() > 1) stroker.Point(to);
        PaintStroke(dc, stroker);
    }
    Trace(&dc, "LineTo", x, y);
    return TRUE;
}

}  // namespace

BOOL LineTo(HDC handle, int x, int y) {
    DeviceContext* dc = LookupDeviceContext(handle);
    if (dc == nullptr) return FALSE;
    const POINT from = dc->ToDevice(dc->state.currentPosition.x, dc->state.currentPosition.y);
    const POINT to = dc->ToDevice(x, y);
    StorePoint(dc->state.currentPosition, x, y);
    if (HasPen(*dc) && dc->surface != nullptr && !SegmentMissesClip(*dc, from, to)) return StrokeSegment(*dc, from, to, x, y);
    Trace(dc, "LineTo", x, y);
    return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "Polyline", TracePoints{points, count});
    if (dc == nullptr || points == nullptr || count < 2) return FALSE;
    if (!HasPen(*dc) || dc->surface == nullptr) return TRUE;
    const std::vector<POINT> device = ToDevice(*dc, points, count);
    if (StrokeMissesClip(*dc, PointBounds(device.data(), count))) return TRUE;
    Stroker stroker(*dc, PointBounds(device.data(), count));
    for (int i = 0; i + 1 < count; ++i)
        stroker.Line(device[static_cast<size_t>(i)], device[static_cast<size_t>(i) + 1]);
    if (dc->state.pen->Width() > 1) stroker.Point(device.back());
    PaintStroke(*dc, stroker);
    return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "Polygon", TracePoints{points, count});
    if (dc == nullptr || points == nullptr || count < 2) return FALSE;
    if (dc->surface == nullptr) return TRUE;
    const std::vector<POINT> device = ToDevice(*dc, points, count);
    const Region interior = PolygonRegion(device.data(), count, dc->state.polyFillMode, FigureLimit(*dc));
    Stroker stroker(*dc, PointBounds(device.data(), count));
    if (HasPen(*dc)) {
        for (int i = 0; i < count; ++i)
            stroker.Line(device[static_cast<size_t>(i)], device[static_cast<size_t>((i + 1) % count)]);
    }
    PaintStroke(*dc, stroker, interior);
    return TRUE;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    Trace(handle, "Rectangle", left, top, right, bottom);
    RECT box;
    BOOL result;
    DeviceContext* dc = BoxFigureTarget(handle, left, top, right, bottom, box, result);
    if (dc == nullptr) return result;
    auto rectangle = [](const RECT& r, int) { return Region(r); };
    if (HasPen(*dc) && !IsSolidPen(*dc)) {
        // A dashed border runs clockwise from the top-left corner.
        Stroker stroker(*dc, box);
        const POINT corners[4] = {
            {box.left, box.top}, {box.right - 1, box.top}, {box.right - 1, box.bottom - 1}, {box.left, box.bottom - 1}};
        for (int i = 0; i < 4; ++i) stroker.Line(corners[i], corners[(i + 1) % 4]);
        if (box.right - box.left == 1 || box.bottom - box.top == 1) stroker.Point(corners[2]);
        PaintStroke(*dc, stroker, Region(ShrinkRect(box, 1)));
        return TRUE;
    }
    DrawBoxFigure(*dc, box, MakeBoxFigure(*dc, box, rectangle));
    return TRUE;
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
    Trace(handle, "Ellipse", left, top, right, bottom);
    RECT box;
    BOOL result;
    DeviceContext* dc = BoxFigureTarget(handle, left, top, right, bottom, box, result);
    if (dc == nullptr) return result;
    const RECT limit = FigureLimit(*dc);
    DrawBoxFigure(*dc, box, MakeBoxFigure(*dc, box, [&limit](const RECT& r, int) { return EllipseRegion(r, limit); }));
    return TRUE;
}

BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    Trace(handle, "RoundRect", left, top, right, bottom, ellipseWidth, ellipseHeight);
    RECT box;
    BOOL result;
    DeviceContext* dc = BoxFigureTarget(handle, left, top, right, bottom, box, result);
    if (dc == nullptr) return result;
    const RECT limit = FigureLimit(*dc);
    auto shape = [&](const RECT& r, int inset) {
        return RoundRectRegion(r, std::abs(ellipseWidth) - 2 * inset, std::abs(ellipseHeight) - 2 * inset, limit);
    };
    DrawBoxFigure(*dc, box, MakeBoxFigure(*dc, box, shape));
    return TRUE;
}

BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    Trace(dc, "Arc", left, top, right, bottom, xStart, yStart, xEnd, yEnd);
    return DrawArcFigure(dc, ArcKind::Arc, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    Trace(dc, "Pie", left, top, right, bottom, xStart, yStart, xEnd, yEnd);
    return DrawArcFigure(dc, ArcKind::Pie, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    Trace(dc, "Chord", left, top, right, bottom, xStart, yStart, xEnd, yEnd);
    return DrawArcFigure(dc, ArcKind::Chord, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "FillRect", rect, brushHandle);
    GdiBrush* brush = LookupBrush(brushHandle);
    if (dc == nullptr || rect == nullptr || brush == nullptr) return 0;
    if (!brush->IsNull()) PaintRect(*dc, dc->ToDevice(*rect), PrepareBrushPaint(*dc, *brush, R2_COPYPEN, false));
    return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "FrameRect", rect, brushHandle);
    GdiBrush* brush = LookupBrush(brushHandle);
    if (dc == nullptr || rect == nullptr || brush == nullptr) return 0;
    const RECT box = dc->ToDevice(*rect);
    if (RectIsEmpty(box) || brush->IsNull()) return 1;
    const Region ring = Region::Combine(Region(box), Region(ShrinkRect(box, 1)), RGN_DIFF);
    PaintRegion(*dc, ring, PrepareBrushPaint(*dc, *brush, R2_COPYPEN, false));
    return 1;
}

BOOL InvertRect(HDC handle, const RECT* rect) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "InvertRect", rect);
    if (dc == nullptr || rect == nullptr) return FALSE;
    PaintRect(*dc, dc->ToDevice(*rect), SolidPaint(0, R2_NOT));
    return TRUE;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF colour) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "SetPixel", x, y, TraceColour{colour});
    if (dc == nullptr) return CLR_INVALID;
    const POINT at = dc->ToDevice(x, y);
    if (!dc->IsVisible(at.x, at.y)) return CLR_INVALID;
    *dc->PixelAt(at.x, at.y) = PixelFromColour(colour);
    return colour & 0xFFFFFF;
}

COLORREF GetPixel(HDC handle, int x, int y) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "GetPixel", x, y);
    if (dc == nullptr) return CLR_INVALID;
    const POINT at = dc->ToDevice(x, y);
    if (!dc->IsVisible(at.x, at.y)) return CLR_INVALID;
    return ColourFromPixel(*dc->PixelAt(at.x, at.y));
}
