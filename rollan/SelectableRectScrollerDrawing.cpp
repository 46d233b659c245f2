// TSelectableRectScroller's figures: the selection and its helper lines, the
// crosshair, rulers and mesh, tab marks, all drawn by inverting pixels; and
// the paint of the rectangle that draws what the state shows.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ControlCanvas.h"
#include "ScrollArithmetic.h"
#include "SelectableRectScroller.h"

namespace {

// The canvas prepared for inverted figures: scrolled-area coordinates,
// R2_NOT, a one-pixel pen, no brush, clipped to the user rectangle (so that
// nothing lands on the border gaps, which paints fill). Restored when done.
class TFigureDC {
public:
    TFigureDC(TSelectableRectScroller& scroller, POINT origin, SIZE size)
        : dc_(scroller.GetCanvas()->GetHandle()), saved_(SaveDC(dc_)) {
        scroller.PrepareDC(dc_);
        SetROP2(dc_, R2_NOT);
        SelectObject(dc_, GetStockObject(BLACK_PEN));
        SelectObject(dc_, GetStockObject(NULL_BRUSH));
        IntersectClipRect(dc_, origin.x, origin.y, Saturate(int64_t(origin.x) + size.cx),
                          Saturate(int64_t(origin.y) + size.cy));
    }
    ~TFigureDC() { RestoreDC(dc_, saved_); }
    TFigureDC(const TFigureDC&) = delete;
    TFigureDC& operator=(const TFigureDC&) = delete;
    HDC Handle() const { return dc_; }

private:
    HDC dc_;
    int saved_;
};

// A line from a to b with both ends drawn (LineTo leaves out its last pixel).
void InvertLine(HDC dc, bool horizontal, int at, int64_t from, int64_t to) {
    const int64_t beyond = to + (to >= from ? 1 : -1);
    if (horizontal) {
        MoveToEx(dc, Saturate(from), at, nullptr);
        LineTo(dc, Saturate(beyond), at);
    } else {
        MoveToEx(dc, at, Saturate(from), nullptr);
        LineTo(dc, at, Saturate(beyond));
    }
}

}  // namespace

// ---- Dashed lines ----

namespace {

// Dashes start at from and repeat every dash pixels towards to; only those
// that reach into [low, high] (the clip box along the line) are drawn.
void InvertDashes(HDC dc, bool horizontal, int at, int from, int to, int dash, int low, int high) {
    const int64_t direction = to >= from ? 1 : -1;
    const int64_t length = std::llabs(int64_t(to) - from) + 1;
    const int64_t on = std::max(dash / 2, 1);
    // Dashes wholly before the clip box along the line are skipped.
    const int64_t nearEdge = direction > 0 ? low : high;
    const int64_t skipped = std::max<int64_t>(0, (direction * (nearEdge - from) - on) / dash);
    for (int64_t start = skipped * dash; start < length; start += dash) {
        const int64_t first = from + direction * start;
        if (direction > 0 ? first > high : first < low) break;
        const int64_t last = from + direction * std::min(start + on - 1, length - 1);
        InvertLine(dc, horizontal, at, first, last);
    }
}

void InvertDashLine(HDC dc, bool horizontal, int at, int from, int to, int dash) {
    if (dash < 1) {
        InvertLine(dc, horizontal, at, from, to);
        return;
    }
    RECT clip{0, 0, 0, 0};
    GetClipBox(dc, &clip);
    if (horizontal)
        InvertDashes(dc, true, at, from, to, dash, clip.left, clip.right - 1);
    else
        InvertDashes(dc, false, at, from, to, dash, clip.top, clip.bottom - 1);
}

}  // namespace

void TSelectableRectScroller::DrawHorzDashLine(HDC dc, int y, int fromX, int toX, int dashLength) {
    InvertDashLine(dc, true, y, fromX, toX, dashLength == -1 ? FDashLength : dashLength);
}

void TSelectableRectScroller::DrawVertDashLine(HDC dc, int x, int fromY, int toY, int dashLength) {
    InvertDashLine(dc, false, x, fromY, toY, dashLength == -1 ? FDashLength : dashLength);
}

// ---- The selection ----

void TSelectableRectScroller::InvertSelection(bool) {
    if (!HandleAllocated() || !SelectionShown()) return;
    const POINT origin = GetRectPos();
    TFigureDC figure(*this, origin, GetRectSizes());
    switch (SelectionType) {
        case selRect: InvertSelectionRect(figure.Handle(), origin); break;
        case selEllipse: InvertSelectionEllipse(figure.Handle(), origin); break;
        case selPolygon: InvertSelectionPolygon(figure.Handle()); break;
        case selSkewRect: break;  // nothing is drawn for it
    }
}

// The rectangle covers its edges' pixels from the smaller to the larger
// coordinate, whichever way round the edges are.
void TSelectableRectScroller::InvertSelectionRect(HDC dc, POINT origin) {
    const RECT s = GetScreenSelectRect();
    if (s.left == s.right && s.top == s.bottom) return;
    const int ex = s.right < s.left ? 0 : 1;
    const int ey = s.bottom < s.top ? 0 : 1;
    Rectangle(dc, Saturate(int64_t(origin.x) + s.left - ex + 1), Saturate(int64_t(origin.y) + s.top - ey + 1),
              Saturate(int64_t(origin.x) + s.right + ex), Saturate(int64_t(origin.y) + s.bottom + ey));
    if (ShowSelectionHelpers) DrawRectHelpers(dc, origin, s);
}

// Each edge continued to the rectangle's borders, from one pixel beyond its
// corners outwards; an edge that coincides with its opposite is drawn once.
void TSelectableRectScroller::DrawRectHelpers(HDC dc, POINT origin, const RECT& s) {
    const SIZE size = GetRectSizes();
    const int left = std::min(s.left, s.right), right = std::max(s.left, s.right);
    const int top = std::min(s.top, s.bottom), bottom = std::max(s.top, s.bottom);
    const int lastX = Saturate(int64_t(origin.x) + size.cx - 1);
    const int lastY = Saturate(int64_t(origin.y) + size.cy - 1);
    for (int y : {top, bottom}) {
        if (y == bottom && bottom == top) break;
        const int at = Saturate(int64_t(origin.y) + y);
        if (left > 0) DrawHorzDashLine(dc, at, Saturate(int64_t(origin.x) + left - 1), origin.x);
        if (int64_t(right) + 1 < size.cx) DrawHorzDashLine(dc, at, Saturate(int64_t(origin.x) + right + 1), lastX);
    }
    for (int x : {left, right}) {
        if (x == right && right == left) break;
        const int at = Saturate(int64_t(origin.x) + x);
        if (top > 0) DrawVertDashLine(dc, at, Saturate(int64_t(origin.y) + top - 1), origin.y);
        if (int64_t(bottom) + 1 < size.cy) DrawVertDashLine(dc, at, Saturate(int64_t(origin.y) + bottom + 1), lastY);
    }
}

void TSelectableRectScroller::InvertSelectionEllipse(HDC dc, POINT origin) {
    if (SelectHorzRadius == 0 && SelectVertRadius == 0) return;
    const int64_t cx = FSelectCenter.x, cy = FSelectCenter.y;
    const int left = GetScreenHCoord(Saturate(cx - SelectHorzRadius));
    const int right = GetScreenHCoord(Saturate(cx + SelectHorzRadius));
    const int top = GetScreenVCoord(Saturate(cy - SelectVertRadius));
    const int bottom = GetScreenVCoord(Saturate(cy + SelectVertRadius));
    Ellipse(dc, Saturate(int64_t(origin.x) + left), Saturate(int64_t(origin.y) + top),
            Saturate(int64_t(origin.x) + right + 1), Saturate(int64_t(origin.y) + bottom + 1));
    if (!ShowSelectionHelpers) return;
    // From beyond each end of the axes to the rectangle's border.
    const SIZE size = GetRectSizes();
    const int centreX = Saturate(origin.x + int64_t(GetScreenHCoord(FSelectCenter.x)));
    const int centreY = Saturate(origin.y + int64_t(GetScreenVCoord(FSelectCenter.y)));
    if (left > 0) DrawHorzDashLine(dc, centreY, Saturate(int64_t(origin.x) + left - 1), origin.x);
    if (int64_t(right) + 1 < size.cx)
        DrawHorzDashLine(dc, centreY, Saturate(int64_t(origin.x) + right + 1),
                         Saturate(int64_t(origin.x) + size.cx - 1));
    if (top > 0) DrawVertDashLine(dc, centreX, Saturate(int64_t(origin.y) + top - 1), origin.y);
    if (int64_t(bottom) + 1 < size.cy)
        DrawVertDashLine(dc, centreX, Saturate(int64_t(origin.y) + bottom + 1),
                         Saturate(int64_t(origin.y) + size.cy - 1));
}

// Segment k joins point k to k + 1 and, with more than two points, the last
// one joins the last point to the first; each always in that direction, so
// that a segment drawn again alone inverts the same pixels.
void TSelectableRectScroller::InvertSelectionPolygon(HDC dc) {
    const int count = FPoints.GetCount();
    if (count == 0) return;
    PolylineInUserArea(dc, FPoints.Array(), count);
    if (count > 2) {
        POINT closing[2] = {FPoints.Last(), FPoints.First()};
        PolylineInUserArea(dc, closing, 2);
    }
    if (ShowSelectionHelpers) DrawPolygonFrame();
}

void TSelectableRectScroller::InvertPolygonEdgesAt(int index) {
    const int count = FPoints.GetCount();
    if (!HandleAllocated() || !SelectionShown() || index < 0 || index >= count) return;
    const POINT origin = GetRectPos();
    TFigureDC figure(*this, origin, GetRectSizes());
    if (index > 0) PolylineInUserArea(figure.Handle(), &FPoints[index - 1], 2);
    if (index < count - 1) PolylineInUserArea(figure.Handle(), &FPoints[index], 2);
    if (count > 2 && (index == 0 || index == count - 1)) {
        POINT closing[2] = {FPoints.Last(), FPoints.First()};
        PolylineInUserArea(figure.Handle(), closing, 2);
    }
    if (ShowSelectionHelpers) DrawPolygonFrame();
}

void TSelectableRectScroller::PolylineInUserArea(HDC dc, POINT* points, int count) {
    if (!points || count < 2) return;
    const POINT origin = GetRectPos();
    auto toScreen = [&](POINT p) {
        return POINT{Saturate(int64_t(origin.x) + GetScreenHCoord(p.x)),
                     Saturate(int64_t(origin.y) + GetScreenVCoord(p.y))};
    };
    POINT from = toScreen(points[0]);
    for (int i = 1; i < count; ++i) {
        const POINT to = toScreen(points[i]);
        MoveToEx(dc, from.x, from.y, nullptr);
        LineTo(dc, to.x, to.y);
        from = to;
    }
}

// The bounding box of the points; the corners belong to the horizontal sides.
void TSelectableRectScroller::DrawPolygonFrame() {
    const int count = FPoints.GetCount();
    if (!HandleAllocated() || count == 0) return;
    const POINT origin = GetRectPos();
    TFigureDC figure(*this, origin, GetRectSizes());
    int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        const int64_t x = int64_t(origin.x) + GetScreenHCoord(FPoints[i].x);
        const int64_t y = int64_t(origin.y) + GetScreenVCoord(FPoints[i].y);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    HDC dc = figure.Handle();
    DrawHorzDashLine(dc, Saturate(minY), Saturate(minX), Saturate(maxX));
    if (maxY != minY) DrawHorzDashLine(dc, Saturate(maxY), Saturate(minX), Saturate(maxX));
    if (maxY - minY < 2) return;
    DrawVertDashLine(dc, Saturate(minX), Saturate(minY + 1), Saturate(maxY - 1));
    if (maxX != minX) DrawVertDashLine(dc, Saturate(maxX), Saturate(minY + 1), Saturate(maxY - 1));
}

// ---- Crosshair and tab marks ----

void TSelectableRectScroller::InvertCursor(bool) {
    if (!HandleAllocated() || !CursorShown()) return;
    const POINT origin = GetRectPos();
    const SIZE size = GetRectSizes();
    const POINT m = GetScreenCoord(GetRealCoord(FMousePos));
    TFigureDC figure(*this, origin, size);
    const int x = Saturate(int64_t(origin.x) + m.x), y = Saturate(int64_t(origin.y) + m.y);
    InvertLine(figure.Handle(), false, x, origin.y, int64_t(origin.y) + size.cy - 1);
    InvertLine(figure.Handle(), true, y, origin.x, int64_t(origin.x) + size.cx - 1);
}

void TSelectableRectScroller::InvertLineAcross(bool horizontal, int at) {
    if (!HandleAllocated()) return;
    const POINT origin = GetRectPos();
    const SIZE size = GetRectSizes();
    TFigureDC figure(*this, origin, size);
    if (horizontal)
        InvertLine(figure.Handle(), true, Saturate(int64_t(origin.y) + GetScreenVCoord(at)), origin.x,
                   int64_t(origin.x) + size.cx - 1);
    else
        InvertLine(figure.Handle(), false, Saturate(int64_t(origin.x) + GetScreenHCoord(at)), origin.y,
                   int64_t(origin.y) + size.cy - 1);
}

void TSelectableRectScroller::InvertHorzTab(int index, bool) {
    if (index >= 0 && index < FHorzTabs.GetCount()) InvertLineAcross(true, FHorzTabs[index]);
}

void TSelectableRectScroller::InvertVertTab(int index, bool) {
    if (index >= 0 && index < FVertTabs.GetCount()) InvertLineAcross(false, FVertTabs[index]);
}

void TSelectableRectScroller::InvertTabs(bool) {
    for (int i = 0; i < FHorzTabs.GetCount(); ++i) InvertHorzTab(i);
    for (int i = 0; i < FVertTabs.GetCount(); ++i) InvertVertTab(i);
}

// ---- Rulers and mesh ----

// Ticks along the top edge (at x = v) and the left edge (at y = v) every
// RulerStep real units; every RulerNumber-th is long and labelled. The
// labels of the top ruler read upwards below their ticks.
void TSelectableRectScroller::DrawRuler() {
    if (!HandleAllocated() || RulerStep <= 0 || (!ShowRulers && !ShowMesh)) return;
    const POINT origin = GetRectPos();
    TFigureDC figure(*this, origin, GetRectSizes());
    HDC dc = figure.Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(FRulerColor));
    RECT clip{0, 0, 0, 0};
    GetClipBox(dc, &clip);
    DrawRulerAxis(dc, origin, false, clip.left, clip.right);
    DrawRulerAxis(dc, origin, true, clip.top, clip.bottom);
}

// The ticks, labels and mesh lines of one ruler whose place along it may be
// visible between low and high (clip box pixels; labels reach a few pixels
// beside their tick).
void TSelectableRectScroller::DrawRulerAxis(HDC dc, POINT origin, bool horizontalRuler, int low, int high) {
    constexpr int kLabelReach = 16;
    const SIZE size = GetRectSizes();
    const int64_t start = horizontalRuler ? origin.y : origin.x;
    const int64_t end = std::min<int64_t>(GetRulerMax(), horizontalRuler ? RealHeight() : RealWidth());
    const int firstVisible = Saturate(low - kLabelReach - start);
    const int64_t firstReal = horizontalRuler ? GetRealVCoord(firstVisible) : GetRealHCoord(firstVisible);
    const int number = std::max(RulerNumber, 1);
    for (int64_t v = std::max<int64_t>(firstReal / RulerStep, 1) * RulerStep; v < end; v += RulerStep) {
        const int64_t screen = start + (horizontalRuler ? GetScreenVCoord(int(v)) : GetScreenHCoord(int(v)));
        if (screen > int64_t(high) + kLabelReach) break;
        const bool longTick = (v / RulerStep) % number == 0;
        // With the rulers the line starts below (or beside) its tick and
        // label: it would invert the tick's pixels away and strike the label through.
        const int64_t skip = ShowRulers ? DrawRulerTick(dc, origin, int(v), longTick, horizontalRuler) : 0;
        if (!ShowMesh) continue;
        if (horizontalRuler)
            DrawHorzDashLine(dc, Saturate(screen), Saturate(origin.x + skip), Saturate(int64_t(origin.x) + size.cx - 1));
        else
            DrawVertDashLine(dc, Saturate(screen), Saturate(origin.y + skip), Saturate(int64_t(origin.y) + size.cy - 1));
    }
}

// horizontalRuler: the tick on the left edge at y = v; otherwise on the top edge at x = v.
// Gives how far from the edge the tick and its label reach.
int TSelectableRectScroller::DrawRulerTick(HDC dc, POINT origin, int v, bool longTick, bool horizontalRuler) {
    const int length = longTick ? FLongTickLength : FShortTickLength;
    if (horizontalRuler) {
        const int y = Saturate(int64_t(origin.y) + GetScreenVCoord(v));
        MoveToEx(dc, origin.x, y, nullptr);
        LineTo(dc, Saturate(int64_t(origin.x) + length + 1), y);
    } else {
        const int x = Saturate(int64_t(origin.x) + GetScreenHCoord(v));
        MoveToEx(dc, x, origin.y, nullptr);
        LineTo(dc, x, Saturate(int64_t(origin.y) + length + 1));
    }
    if (!longTick) return length + 1;
    char text[16];
    const int count = std::snprintf(text, sizeof text, "%d", v);
    HGDIOBJ previous = SelectObject(dc, horizontalRuler ? FRulerFont : FVertRulerFont);
    SIZE extent{0, 0};
    GetTextExtentPoint32A(dc, text, count, &extent);
    if (horizontalRuler) {
        const int y = Saturate(int64_t(origin.y) + GetScreenVCoord(v));
        TextOutA(dc, Saturate(int64_t(origin.x) + length + 2), Saturate(int64_t(y) - extent.cy / 2), text, count);
    } else {
        const int x = Saturate(int64_t(origin.x) + GetScreenHCoord(v));
        TextOutA(dc, Saturate(int64_t(x) - extent.cy / 2), Saturate(int64_t(origin.y) + length + extent.cx + 2), text,
                 count);
    }
    SelectObject(dc, previous);
    return Saturate(int64_t(length) + extent.cx + 3);
}

// ---- Painting ----

void TSelectableRectScroller::PresentFigures() {
    if (messageDepth_ > 0 || FPaintingStrip) return;
    if (auto* canvas = dynamic_cast<TControlCanvas*>(GetCanvas())) canvas->FreeHandle();
}

// The rulers go first: their labels are text, which inverting does not
// touch, so every inverted figure lies over them as it does when it is
// drawn later by itself. A strip painted while a selection is being drawn
// leaves that selection out: AfterScroll draws it whole right after.
void TSelectableRectScroller::PaintRect(POINT origin, SIZE size) {
    TRectScroller::PaintRect(origin, size);
    if (IsDesigning()) return;
    if (ShowRulers || ShowMesh) DrawRuler();
    if (SelectionShown() && !(FSelecting && FPaintingStrip)) InvertSelection();
    if (ShowCursor) InvertCursor();
    InvertTabs();
}
