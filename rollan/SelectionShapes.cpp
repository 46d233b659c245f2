// The filled ellipse and polygon of a selection as runs of pixels.
#include "SelectionShapes.h"

#include <algorithm>
#include <vector>

namespace {

// Larger radii would take the midpoint decision terms past 64 bits.
constexpr int kMaximumRadius = 32767;

void EmitEllipseColumns(POINT centre, int64_t x, int64_t y, const TPixelSpanSink& sink) {
    const int64_t top = int64_t(centre.y) - y, bottom = int64_t(centre.y) + y;
    sink(TPixelSpan{true, int64_t(centre.x) + x, top, bottom});
    if (x != 0) sink(TPixelSpan{true, int64_t(centre.x) - x, top, bottom});
}

}  // namespace

// The integer midpoint ellipse algorithm in two regions: in the first the
// boundary falls more slowly than it runs (x steps, y may), in the second
// faster (y steps, x may). px = 2b^2 x and py = 2a^2 y follow the gradient;
// the decision term p is the ellipse's implicit function at the midpoint
// between the two candidate pixels, kept up to date by differences. A flat
// ellipse reaches y = 0 before x reaches a (region 1 steps y down and ends
// there): its axis then runs on to the tips.
void EllipseSpans(POINT centre, int a, int b, const TPixelSpanSink& sink) {
    if (a < 0 || b < 0 || a > kMaximumRadius || b > kMaximumRadius) return;
    const int64_t a2 = int64_t(a) * a, b2 = int64_t(b) * b;
    const int64_t twoA2 = 2 * a2, twoB2 = 2 * b2;
    int64_t x = 0, y = b;
    int64_t px = 0, py = twoA2 * y;
    EmitEllipseColumns(centre, x, y, sink);

    int64_t p = b2 - a2 * b + a2 / 4;  // at (1, b - 1/2)
    while (px < py) {
        ++x;
        px += twoB2;
        if (p < 0) {
            p += b2 + px;
        } else {
            --y;
            py -= twoA2;
            p += b2 + px - py;
        }
        EmitEllipseColumns(centre, x, y, sink);
    }

    p = b2 * (x * x + x) + b2 / 4 + a2 * (y - 1) * (y - 1) - a2 * b2;  // at (x + 1/2, y - 1)
    while (y > 0) {
        --y;
        py -= twoA2;
        if (p > 0) {
            p += a2 - py;
        } else {
            ++x;
            px += twoB2;
            p += a2 - py + px;
        }
        EmitEllipseColumns(centre, x, y, sink);
    }
    while (x < a) EmitEllipseColumns(centre, ++x, 0, sink);
}

namespace {

// An edge from its upper end (top) down to its lower end, top < bottom.
struct TPolygonEdge {
    int64_t top, bottom;
    int64_t xTop, xBottom;
};

// numerator / denominator (denominator > 0) rounded to the nearest integer,
// halves upwards. 128 bits: the product of two 32-bit coordinate
// differences passes 63 bits.
int64_t RoundedQuotient(__int128 numerator, int64_t denominator) {
    const __int128 twice = 2 * numerator + denominator, divisor = 2 * __int128(denominator);
    const __int128 quotient = twice / divisor;
    return int64_t(twice % divisor < 0 ? quotient - 1 : quotient);  // floor for negative numerators
}

int64_t CrossingAt(const TPolygonEdge& edge, int64_t row) {
    return edge.xTop +
           RoundedQuotient(__int128(row - edge.top) * (edge.xBottom - edge.xTop), edge.bottom - edge.top);
}

std::vector<TPolygonEdge> PolygonEdges(const TPointContainer& points) {
    std::vector<TPolygonEdge> edges;
    const int count = points.GetCount();
    for (int i = 0; i < count; ++i) {
        const POINT a = points[i], b = points[(i + 1) % count];
        if (a.y == b.y) continue;
        edges.push_back(a.y < b.y ? TPolygonEdge{a.y, b.y, a.x, b.x} : TPolygonEdge{b.y, a.y, b.x, a.x});
    }
    std::sort(edges.begin(), edges.end(),
              [](const TPolygonEdge& l, const TPolygonEdge& r) { return l.top < r.top; });
    return edges;
}

}  // namespace

void PolygonSpans(const TPointContainer& points, int64_t firstRow, int64_t lastRow, const TPixelSpanSink& sink) {
    if (points.GetCount() < 2) return;
    int64_t lowest = points[0].y, highest = points[0].y;
    for (int i = 1; i < points.GetCount(); ++i) {
        lowest = std::min<int64_t>(lowest, points[i].y);
        highest = std::max<int64_t>(highest, points[i].y);
    }
    const std::vector<TPolygonEdge> edges = PolygonEdges(points);
    std::vector<const TPolygonEdge*> active;
    std::vector<int64_t> crossings;
    size_t next = 0;
    for (int64_t row = std::max(firstRow, lowest); row <= std::min(lastRow, highest); ++row) {
        while (next < edges.size() && edges[next].top <= row) active.push_back(&edges[next++]);
        // Edges ending on this row leave it, except on the last row.
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [&](const TPolygonEdge* e) {
                                        return e->bottom < row || (e->bottom == row && row != highest);
                                    }),
                     active.end());
        crossings.clear();
        for (const TPolygonEdge* edge : active) crossings.push_back(CrossingAt(*edge, row));
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2)
            sink(TPixelSpan{false, row, crossings[i], crossings[i + 1]});
    }
}
