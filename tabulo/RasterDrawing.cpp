// Fixed-point lines, scan-line polygons and midpoint circles.
#include "RasterDrawing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>

void TPointCollector::Point(int x, int y, int) { points.push_back(POINT{x, y}); }

void TPointHitTest::Point(int px, int py, int) {
    ++count;
    if (!found && std::llabs(int64_t(px) - x) <= tolerance && std::llabs(int64_t(py) - y) <= tolerance) {
        found = true;
        ordinal = count;
    }
}

namespace {

// A range of coordinates on one axis, both ends included.
struct AxisWindow {
    int64_t from = INT64_MIN;
    int64_t to = INT64_MAX;
};

// Walks the major axis from `majorFrom` to `majorTo` and gives the point of
// each step; `emit(major, minor)` receives them in that order. Steps whose
// major coordinate lies outside `window` are skipped without being walked;
// the points given are the same as without the window.
template <typename Emit>
void RasterAlongMajor(int64_t majorFrom, int64_t majorTo, int64_t minorFrom, int64_t minorDelta, bool includeLast,
                      bool fillGaps, int shift, AxisWindow window, Emit emit) {
    const int64_t majorLength = std::llabs(majorTo - majorFrom);
    const int64_t minorLength = std::llabs(minorDelta);
    const int64_t majorStep = majorTo < majorFrom ? -1 : 1;
    int64_t increment = (minorLength << shift) / majorLength;
    if (minorDelta < 0) {
        increment = -increment;
    }
    auto minorAt = [&](int64_t step) {
        const int64_t accumulator = minorFrom * (int64_t(1) << shift) + step * increment;
        // Arithmetic shifts; the bit below the point rounds to nearest.
        return (accumulator >> shift) + ((accumulator >> (shift - 1)) & 1);
    };
    // The steps whose major coordinate lies in the window.
    int64_t firstStep = 0, lastStep = includeLast ? majorLength : majorLength - 1;
    if (majorStep > 0) {
        firstStep = std::max(firstStep, window.from == INT64_MIN ? 0 : window.from - majorFrom);
        lastStep = std::min(lastStep, window.to == INT64_MAX ? lastStep : window.to - majorFrom);
    } else {
        firstStep = std::max(firstStep, window.to == INT64_MAX ? 0 : majorFrom - window.to);
        lastStep = std::min(lastStep, window.from == INT64_MIN ? lastStep : majorFrom - window.from);
    }
    int64_t previous = firstStep > 0 ? minorAt(firstStep - 1) : 0;
    for (int64_t step = firstStep; step <= lastStep; ++step) {
        const int64_t major = majorFrom + step * majorStep;
        const int64_t minor = minorAt(step);
        if (fillGaps && step != 0 && minor != previous) {
            emit(major - majorStep, minor);
        }
        emit(major, minor);
        previous = minor;
    }
}

void RasterLineInWindow(int x1, int y1, int x2, int y2, TDFFunctorBase& functor, bool includeLast,
                        bool lineStartNotice, bool fillGaps, int shift, AxisWindow xWindow, AxisWindow yWindow) {
    if (shift < 1 || shift > 30) {
        return;
    }
    const int64_t dx = int64_t(x2) - x1, dy = int64_t(y2) - y1;
    if (lineStartNotice) {
        functor.LineStart(x1, y1, x2, y2);
    }
    if (dx == 0 && dy == 0) {
        if (includeLast) {
            functor.Point(x2, y2, -1);
        }
        return;
    }
    if (std::llabs(dx) < std::llabs(dy)) {
        RasterAlongMajor(y1, y2, x1, dx, includeLast, fillGaps, shift, yWindow,
                         [&](int64_t y, int64_t x) { functor.Point(int(x), int(y), -1); });
    } else {
        RasterAlongMajor(x1, x2, y1, dy, includeLast, fillGaps, shift, xWindow,
                         [&](int64_t x, int64_t y) { functor.Point(int(x), int(y), -1); });
    }
}

}  // namespace

void RasterLine(int x1, int y1, int x2, int y2, TDFFunctorBase& functor, bool includeLast, bool lineStartNotice,
                bool fillGaps, int shift) {
    RasterLineInWindow(x1, y1, x2, y2, functor, includeLast, lineStartNotice, fillGaps, shift, AxisWindow(),
                       AxisWindow());
}

void DrawIDLine(int x1, int y1, int x2, int y2, TSetIDPixel setter, bool drawLast, bool notify, bool connect,
                int bits) {
    int64_t left, top, right, bottom;
    if (!setter.ReachableDots(left, top, right, bottom)) {
        return;
    }
    // Only the stretch over the view, and one step either side for gap points, is walked.
    TSetIDPixelFunctor functor(setter);
    RasterLineInWindow(x1, y1, x2, y2, functor, drawLast, notify, connect, bits, AxisWindow{left - 1, right + 1},
                       AxisWindow{top - 1, bottom + 1});
}

namespace {

// One polygon edge: its rasterised points by increasing y and the scan state.
struct TPolygonEdge {
    std::vector<POINT> points;
    size_t current = 0;
    int runStart = 0;
    int runEnd = 0;
    size_t runLength = 0;
    int lowestY = 0;
    int highestY = 0;
};

std::vector<TPolygonEdge> PolygonEdges(const POINT* points, int count, int shift) {
    std::vector<TPolygonEdge> edges;
    for (int j = 0; j < count; ++j) {
        const POINT& from = points[j];
        const POINT& to = points[(j + 1) % count];
        if (from.x == to.x && from.y == to.y) {
            continue;
        }
        TPointCollector collector;
        RasterLine(from.x, from.y, to.x, to.y, collector, true, true, false, shift);
        TPolygonEdge edge;
        edge.points = std::move(collector.points);
        if (to.y < from.y) {
            std::reverse(edge.points.begin(), edge.points.end());
        }
        edge.lowestY = std::min(from.y, to.y);
        edge.highestY = std::max(from.y, to.y);
        edges.push_back(std::move(edge));
    }
    return edges;
}

// The run of consecutive points on line y from the edge's current point.
void FindRun(TPolygonEdge& edge) {
    const size_t first = std::min(edge.current, edge.points.size() - 1);
    size_t last = first;
    while (last + 1 < edge.points.size() && edge.points[last + 1].y == edge.points[first].y) {
        ++last;
    }
    edge.runStart = std::min(edge.points[first].x, edge.points[last].x);
    edge.runEnd = std::max(edge.points[first].x, edge.points[last].x);
    edge.runLength = edge.current < edge.points.size() ? last - first + 1 : 0;
}

}  // namespace

void FillPolygon(const POINT* points, int count, TDFFunctorBase& functor, int shift) {
    if (points == nullptr || count < 1) {
        return;
    }
    std::vector<TPolygonEdge> edges = PolygonEdges(points, count, shift);
    int ymin = points[0].y, ymax = points[0].y;
    for (int j = 0; j < count; ++j) {
        ymin = std::min(ymin, int(points[j].y));
        ymax = std::max(ymax, int(points[j].y));
    }
    std::vector<TPolygonEdge*> active;
    for (int64_t line = ymin; line <= ymax; ++line) {
        const int y = int(line);
        for (TPolygonEdge& edge : edges) {
            if (edge.lowestY == y) {
                active.push_back(&edge);
            }
        }
        if (y != ymax) {
            active.erase(std::remove_if(active.begin(), active.end(),
                                        [y](const TPolygonEdge* edge) { return edge->highestY == y; }),
                         active.end());
        }
        for (TPolygonEdge* edge : active) {
            FindRun(*edge);
        }
        std::stable_sort(active.begin(), active.end(),
                         [](const TPolygonEdge* a, const TPolygonEdge* b) { return a->runStart < b->runStart; });
        for (size_t pair = 0; pair + 1 < active.size(); pair += 2) {
            const int from = std::min(active[pair]->runStart, active[pair + 1]->runStart);
            const int to = std::max(active[pair]->runEnd, active[pair + 1]->runEnd);
            for (int64_t x = from; x <= to; ++x) {
                functor.Point(int(x), y, -1);
            }
        }
        for (TPolygonEdge* edge : active) {
            edge->current += edge->runLength;
        }
    }
}

TCollectCircleOctantPoints::TCollectCircleOctantPoints(int radius) {
    if (radius < 0) {
        return;
    }
    int64_t d = 1 - int64_t(radius), x = 0, y = radius;
    do {
        points_.push_back(POINT{LONG(x), LONG(y)});
        if (d >= 0) {
            d += 2 * x + 3 + 2 - 2 * y;
            ++x;
            --y;
        } else {
            d += 2 * x + 3;
            ++x;
        }
    } while (x <= y);
}

void DrawIDCircle(int cx, int cy, int r, const TIDCircleClip& clip, TSetIDPixel setter) {
    if (r < 0) {
        return;
    }
    std::set<std::pair<int64_t, int64_t>> dots;
    if (r == 0) {
        dots.insert({cx, cy});
    } else if (r == 1) {
        dots = {{cx, int64_t(cy) - 1}, {cx, int64_t(cy) + 1}, {int64_t(cx) - 1, cy}, {int64_t(cx) + 1, cy}};
    } else {
        const TCollectCircleOctantPoints octant(r);
        for (const POINT& point : octant.Points()) {
            const int64_t px = point.x, py = point.y;
            for (int sign1 : {-1, 1}) {
                for (int sign2 : {-1, 1}) {
                    dots.insert({cx + sign1 * px, cy + sign2 * py});
                    dots.insert({cx + sign1 * py, cy + sign2 * px});
                }
            }
        }
    }
    for (const auto& dot : dots) {
        if (dot.first >= clip.xmin && dot.first <= clip.xmax && dot.second >= clip.ymin && dot.second <= clip.ymax) {
            setter.Set(int(dot.first), int(dot.second), -1);
        }
    }
}
