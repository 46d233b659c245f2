// The pixels of the memory-bitmap scroller's shaped selections as runs of
// pixels: the filled ellipse by the integer midpoint ellipse algorithm, the
// filled polygon by a scan-line fill over an edge list.
#pragma once

#include <cstdint>
#include <functional>

#include "ValueContainers.h"

// A run of pixels along one row (horizontal) or one column, both ends included.
struct TPixelSpan {
    bool vertical = false;
    int64_t at = 0;    // the row (horizontal) or the column (vertical)
    int64_t from = 0;  // first and last column (or row), from <= to
    int64_t to = 0;
};

using TPixelSpanSink = std::function<void(const TPixelSpan& span)>;

// The filled ellipse of radii a and b (0 or more; at most 32767, which keeps
// every decision term inside 64 bits) about centre: one vertical span per
// boundary point of the first quadrant, mirrored to its column on the other
// side, from the point's mirror above the centre to the one below; the
// horizontal axis always reaches both tips. Columns repeat where the boundary
// runs steeply; every span of a column lies within the longest one.
void EllipseSpans(POINT centre, int a, int b, const TPixelSpanSink& sink);

// The filled polygon, one horizontal span per pair of crossings of each row
// from firstRow to lastRow (rows outside the polygon give nothing). Edges join
// consecutive points (the last to the first); horizontal ones are left out,
// since the edges beside them bound their row. A row's active edges are those
// that start on or above it and end below it (on the polygon's last row, also
// those ending there); each crosses the row at its x rounded to the nearest
// pixel, and the sorted crossings pair up into spans. Fewer than two points
// give nothing.
void PolygonSpans(const TPointContainer& points, int64_t firstRow, int64_t lastRow, const TPixelSpanSink& sink);
