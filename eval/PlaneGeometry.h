// Plane geometry on integer points: segment angle, polar and rotated points, line intersection, point in polygon.
#pragma once

#include <cstdint>

#include "Variables.h"

// Direction from (x1, y1) to (x2, y2) in radians, in [0, 2 pi), from the
// positive x axis toward the positive y axis; a point to itself gives pi/2.
double LineAngle(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
// (x + r cos(angle), y + r sin(angle)); coordinates truncated toward zero to
// 32 bits (non-finite values give 0).
VPOINT PolarPoint(int64_t x, int64_t y, int64_t r, double angle);
// (x, y) rotated by angle about (cx, cy), truncated as PolarPoint.
VPOINT RotatePoint(int64_t cx, int64_t cy, int64_t x, int64_t y, double angle);
// Intersection of the line or segment p1-p2 with p3-p4. A shared end point is
// the answer at once. Parallel or degenerate lines give false and leave out
// unchanged. lines: the infinite lines; otherwise the segments, their far
// ends counted only when inclusive. Products are formed without overflow.
bool IntersectLines(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3, int64_t x4,
                    int64_t y4, VPOINT& out, bool lines, bool inclusive);
// Whether (x, y) lies inside the polygon of count points (edges join each
// point to the next and the last to the first), by a vertical scan line:
// odd crossings both below and above. Points on an edge are outside; a null
// polygon or count < 1 gives false.
bool PointInPolygon(int64_t x, int64_t y, const VPOINT* points, int count);
