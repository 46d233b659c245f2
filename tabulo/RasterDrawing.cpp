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

// The steps of a fixed-point line along its major axis: step k lies at major
// coordinate majorFrom + k * majorStep, k from 0 to length.
struct TLineWalk {
    int64_t majorFrom, majorStep, length;
    int64_t minorFrom, increment;
    int shift;

    TLineWalk(int64_t majorFrom, int64_t majorTo, int64_t minorFrom, int64_t minorDelta, int shift)
        : majorFrom(majorFrom),
          majorStep(majorTo < majorFrom ? -1 : 1),
          length(std::llabs(majorTo - majorFrom)),
          minorFrom(minorFrom),
          increment((std::llabs(minorDelta) << shift) / length),
          shift(shift) {
        if (minorDelta < 0) {
            increment = -increment;
        }
    }
    int64_t MajorAt(int64_t step) const { return majorFrom + step * majorStep; }
    // Monotonic in step.
    int64_t MinorAt(int64_t step) const {
        const int64_t accumulator = minorFrom * (int64_t(1) << shift) + step * increment;
        // Arithmetic shifts; the bit below the point rounds to nearest.
        return (accumulator >> shift) + ((accumulator >> (shift - 1)) & 1);
    }
};

// Walks the major axis from `majorFrom` to `majorTo` and gives the point of
// each step; `emit(major, minor)` receives them in that order. Steps whose
// major coordinate lies outside `window` are skipped without being walked;
// the points given are the same as without the window.
template <typename Emit>
void RasterAlongMajor(int64_t majorFrom, int64_t majorTo, int64_t minorFrom, int64_t minorDelta, bool includeLast,
                      bool fillGaps, int shift, AxisWindow window, Emit emit) {
    const TLineWalk walk(majorFrom, majorTo, minorFrom, minorDelta, shift);
    const int64_t majorLength = walk.length, majorStep = walk.majorStep;
    // The steps whose major coordinate lies in the window.
    int64_t firstStep = 0, lastStep = includeLast ? majorLength : majorLength - 1;
    if (majorStep > 0) {
        firstStep = std::max(firstStep, window.from == INT64_MIN ? 0 : window.from - majorFrom);
        lastStep = std::min(lastStep, window.to == INT64_MAX ? lastStep : window.to - majorFrom);
    } else {
        firstStep = std::max(firstStep, window.to == INT64_MAX ? 0 : majorFrom - window.to);
        lastStep = std::min(lastStep, window.from == INT64_MIN ? lastStep : majorFrom - window.from);
    }
    int64_t previous = firstStep > 0 ? walk.MinorAt(firstStep - 1) : 0;
    for (int64_t step = firstStep; step <= lastStep; ++step) {
        const int64_t major = walk.MajorAt(step);
        const int64_t minor = walk.MinorAt(step);
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

// The edges of the polygon whose lowest and highest y pass `wanted`, each
// rasterised by increasing y.
template <typename Wanted>
std::vector<TPolygonEdge> PolygonEdges(const POINT* points, int count, int shift, Wanted wanted) {
    std::vector<TPolygonEdge> edges;
    for (int j = 0; j < count; ++j) {
        const POINT& from = points[j];
        const POINT& to = points[(j + 1) % count];
        if (from.x == to.x && from.y == to.y) {
            continue;
        }
        TPolygonEdge edge;
        edge.lowestY = std::min(from.y, to.y);
        edge.highestY = std::max(from.y, to.y);
        if (!wanted(edge.lowestY, edge.highestY)) {
            continue;
        }
        TPointCollector collector;
        collector.points.reserve(
            size_t(std::max(std::llabs(int64_t(to.x) - from.x), std::llabs(int64_t(to.y) - from.y))) + 1);
        RasterLine(from.x, from.y, to.x, to.y, collector, true, true, false, shift);
        edge.points = std::move(collector.points);
        if (to.y < from.y) {
            std::reverse(edge.points.begin(), edge.points.end());
        }
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

// Scans the lines of a polygon spanning ymin..ymax from its top down to
// lastLine; onLine(y, active) receives each line's active edges sorted by run
// start, and returns false to stop the scan.
template <typename OnLine>
void ScanPolygon(std::vector<TPolygonEdge>& edges, int ymin, int ymax, int lastLine, OnLine onLine) {
    // The edges by lowest y, in edge order where they start on the same line.
    std::vector<TPolygonEdge*> waiting;
    for (TPolygonEdge& edge : edges) {
        waiting.push_back(&edge);
    }
    std::stable_sort(waiting.begin(), waiting.end(),
                     [](const TPolygonEdge* a, const TPolygonEdge* b) { return a->lowestY < b->lowestY; });
    size_t next = 0;
    std::vector<TPolygonEdge*> active;
    for (int64_t line = ymin; line <= lastLine; ++line) {
        const int y = int(line);
        for (; next < waiting.size() && waiting[next]->lowestY == y; ++next) {
            active.push_back(waiting[next]);
        }
        if (y != ymax) {
            active.erase(std::remove_if(active.begin(), active.end(),
                                        [y](const TPolygonEdge* edge) { return edge->highestY == y; }),
                         active.end());
        }
        for (TPolygonEdge* edge : active) {
            FindRun(*edge);
        }
        // A stable insertion sort (the list is short and mostly in order from
        // the line above): edges with equal starts keep the order they had.
        for (size_t i = 1; i < active.size(); ++i) {
            TPolygonEdge* edge = active[i];
            size_t j = i;
            for (; j > 0 && active[j - 1]->runStart > edge->runStart; --j) active[j] = active[j - 1];
            active[j] = edge;
        }
        if (!onLine(y, active)) {
            return;
        }
        for (TPolygonEdge* edge : active) {
            edge->current += edge->runLength;
        }
    }
}

void VerticalExtent(const POINT* points, int count, int& ymin, int& ymax) {
    ymin = points[0].y;
    ymax = points[0].y;
    for (int j = 0; j < count; ++j) {
        ymin = std::min(ymin, int(points[j].y));
        ymax = std::max(ymax, int(points[j].y));
    }
}

// The span that a pair of sorted active edges fills.
std::pair<int, int> PairSpan(const TPolygonEdge* a, const TPolygonEdge* b) {
    return {std::min(a->runStart, b->runStart), std::max(a->runEnd, b->runEnd)};
}

}  // namespace

void FillPolygon(const POINT* points, int count, TDFFunctorBase& functor, int shift) {
    if (points == nullptr || count < 1 || shift < 1 || shift > 30) {
        return;
    }
    int ymin, ymax;
    VerticalExtent(points, count, ymin, ymax);
    std::vector<TPolygonEdge> edges = PolygonEdges(points, count, shift, [](int, int) { return true; });
    ScanPolygon(edges, ymin, ymax, ymax, [&functor](int y, const std::vector<TPolygonEdge*>& active) {
        for (size_t pair = 0; pair + 1 < active.size(); pair += 2) {
            const std::pair<int, int> span = PairSpan(active[pair], active[pair + 1]);
            functor.Span(span.first, span.second, y);
        }
        return true;
    });
}

namespace {

// Whether (x, y) is a dot of the fill, by scanning down to line y as
// FillPolygon does; exact whatever the edges, but it walks every edge.
bool ScannedPolygonContainsDot(const POINT* points, int count, int x, int y, int shift, int ymin, int ymax) {
    // Edges that end above line y leave the scan before it; the stable sorts
    // keep the order of the others whatever they did, so they are left out.
    std::vector<TPolygonEdge> edges =
        PolygonEdges(points, count, shift, [y](int lowestY, int highestY) { return lowestY <= y && highestY >= y; });
    bool inside = false;
    ScanPolygon(edges, ymin, ymax, y, [&](int line, const std::vector<TPolygonEdge*>& active) {
        if (line < y) {
            return true;
        }
        for (size_t pair = 0; pair + 1 < active.size() && !inside; pair += 2) {
            const std::pair<int, int> span = PairSpan(active[pair], active[pair + 1]);
            inside = x >= span.first && x <= span.second;
        }
        return false;
    });
    return inside;
}

// The first step in 0..length for which before(step) is false (length + 1
// when there is none); before holds for a first stretch of steps only.
template <typename Before>
int64_t FirstStepNotBefore(int64_t length, Before before) {
    int64_t low = 0, high = length + 1;
    while (low < high) {
        const int64_t middle = low + (high - low) / 2;
        if (before(middle)) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

// The x range of the points RasterLine gives an edge (end points differing)
// on line y; false when it gives none there, or when it misses a line of its
// extent.
bool EdgeRunOnLine(const POINT& from, const POINT& to, int y, int shift, int& start, int& end) {
    const int64_t dx = int64_t(to.x) - from.x, dy = int64_t(to.y) - from.y;
    if (std::llabs(dx) < std::llabs(dy)) {
        const TLineWalk walk(from.y, to.y, from.x, dx, shift);
        const int64_t step = (int64_t(y) - from.y) * walk.majorStep;
        if (step < 0 || step > walk.length) {
            return false;
        }
        start = end = int(walk.MinorAt(step));
        return true;
    }
    // Along x, y moves by at most one a step, monotonically towards to.y: the
    // steps on line y are one stretch. A long edge whose rounding falls short
    // of to.y misses a line, and FillPolygon's runs then shift along it.
    const TLineWalk walk(from.x, to.x, from.y, dy, shift);
    if (walk.MinorAt(walk.length) != to.y) {
        return false;
    }
    const bool rising = dy >= 0;
    const int64_t first = FirstStepNotBefore(
        walk.length, [&](int64_t step) { return rising ? walk.MinorAt(step) < y : walk.MinorAt(step) > y; });
    const int64_t past = FirstStepNotBefore(
        walk.length, [&](int64_t step) { return rising ? walk.MinorAt(step) <= y : walk.MinorAt(step) >= y; });
    if (first >= past) {
        return false;
    }
    start = int(std::min(walk.MajorAt(first), walk.MajorAt(past - 1)));
    end = int(std::max(walk.MajorAt(first), walk.MajorAt(past - 1)));
    return true;
}

}  // namespace

// The runs of the edges active on line y are the points each edge has there,
// as long as every edge reaches every line of its extent (edges shorter than
// 2^(shift-1) along their major axis do). FillPolygon sorts them with a stable
// sort, so equal starts keep the order of the lines above; that order cannot
// change the union of the pairs' spans (a tie across two pairs joins them),
// except for a tie that takes in the last, unpaired edge. Those cases, and
// edges that miss a line, go to the scan.
bool PolygonContainsDot(const POINT* points, int count, int x, int y, int shift) {
    if (points == nullptr || count < 1 || shift < 1 || shift > 30) {
        return false;
    }
    int ymin, ymax;
    VerticalExtent(points, count, ymin, ymax);
    if (y < ymin || y > ymax) {
        return false;
    }
    std::vector<std::pair<int, int>> runs;
    for (int j = 0; j < count; ++j) {
        const POINT& from = points[j];
        const POINT& to = points[(j + 1) % count];
        const int lowestY = std::min(from.y, to.y), highestY = std::max(from.y, to.y);
        if ((from.x == to.x && from.y == to.y) || lowestY > y || (y >= highestY && highestY != ymax)) {
            continue;
        }
        int start, end;
        if (!EdgeRunOnLine(from, to, y, shift, start, end)) {
            return ScannedPolygonContainsDot(points, count, x, y, shift, ymin, ymax);
        }
        runs.push_back({start, end});
    }
    std::sort(runs.begin(), runs.end(),
              [](const std::pair<int, int>& a, const std::pair<int, int>& b) { return a.first < b.first; });
    if (runs.size() % 2 == 1 && runs.size() > 1 && runs[runs.size() - 2].first == runs.back().first) {
        return ScannedPolygonContainsDot(points, count, x, y, shift, ymin, ymax);
    }
    for (size_t pair = 0; pair + 1 < runs.size(); pair += 2) {
        const int from = std::min(runs[pair].first, runs[pair + 1].first);
        const int to = std::max(runs[pair].second, runs[pair + 1].second);
        if (x >= from && x <= to) {
            return true;
        }
    }
    return false;
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
    // Only the dots inside the clip are collected: an arc of a large circle
    // (a tall parenthesis) keeps a small part of it.
    std::set<std::pair<int64_t, int64_t>> dots;
    const auto add = [&](int64_t x, int64_t y) {
        if (x >= clip.xmin && x <= clip.xmax && y >= clip.ymin && y <= clip.ymax) {
            dots.insert({x, y});
        }
    };
    if (r == 0) {
        add(cx, cy);
    } else if (r == 1) {
        add(cx, int64_t(cy) - 1);
        add(cx, int64_t(cy) + 1);
        add(int64_t(cx) - 1, cy);
        add(int64_t(cx) + 1, cy);
    } else {
        const TCollectCircleOctantPoints octant(r);
        for (const POINT& point : octant.Points()) {
            const int64_t px = point.x, py = point.y;
            for (int sign1 : {-1, 1}) {
                for (int sign2 : {-1, 1}) {
                    add(cx + sign1 * px, cy + sign2 * py);
                    add(cx + sign1 * py, cy + sign2 * px);
                }
            }
        }
    }
    for (const auto& dot : dots) {
        setter.Set(int(dot.first), int(dot.second), -1);
    }
}
