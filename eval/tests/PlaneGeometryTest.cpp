// Tests of the plane geometry routines: angles, polar and rotated points, intersections and point in polygon.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "PlaneGeometry.h"

namespace {

void ExpectPoint(const VPOINT& p, int64_t x, int64_t y) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

TEST(LineAngle, QuadrantsAndAxes) {
    const double pi = 3.141592653589793;
    EXPECT_DOUBLE_EQ(LineAngle(0, 0, 1, 1), pi / 4);
    EXPECT_DOUBLE_EQ(LineAngle(0, 0, -1, 1), 3 * pi / 4);
    EXPECT_DOUBLE_EQ(LineAngle(0, 0, -1, -1), 5 * pi / 4);
    EXPECT_DOUBLE_EQ(LineAngle(0, 0, 1, -1), 7 * pi / 4);
    EXPECT_DOUBLE_EQ(LineAngle(0, 0, -1, 0), pi);
    EXPECT_DOUBLE_EQ(LineAngle(0, 0, 0, -5), 3 * pi / 2);
    EXPECT_DOUBLE_EQ(LineAngle(3, 3, 3, 3), pi / 2);
    EXPECT_GE(LineAngle(INT64_MIN, 0, INT64_MAX, -1), 0.0);  // no overflow
}

TEST(PolarAndRotatedPoints, TruncateTowardZero) {
    ExpectPoint(PolarPoint(10, 10, 5, 0), 15, 10);
    ExpectPoint(PolarPoint(10, 10, 5, 1.5707963267948966), 10, 15);
    ExpectPoint(RotatePoint(0, 0, 2, 0, 3.141592653589793), -2, 0);
    ExpectPoint(RotatePoint(1, 1, 3, 1, 1.5707963267948966), 1, 3);
    ExpectPoint(PolarPoint(0, 0, 1, std::nan("")), 0, 0);
}

TEST(IntersectLines, SegmentsLinesAndEnds) {
    VPOINT out{99, 99};
    EXPECT_TRUE(IntersectLines(0, 0, 10, 10, 0, 10, 10, 0, out, false, true));
    ExpectPoint(out, 5, 5);
    out = {99, 99};
    EXPECT_FALSE(IntersectLines(0, 0, 10, 0, 0, 5, 10, 5, out, false, true));  // parallel
    ExpectPoint(out, 99, 99);
    // (0,0)-(10,0) touches (10,-5)-(10,5) at its far end without sharing a point.
    EXPECT_TRUE(IntersectLines(0, 0, 10, 0, 10, -5, 10, 5, out, false, true));
    ExpectPoint(out, 10, 0);
    EXPECT_FALSE(IntersectLines(0, 0, 10, 0, 10, -5, 10, 5, out, false, false));
    // Lines meet beyond the segments.
    EXPECT_FALSE(IntersectLines(0, 0, 1, 1, 0, 10, 1, 9, out, false, true));
    EXPECT_TRUE(IntersectLines(0, 0, 1, 1, 0, 10, 1, 9, out, true, true));
    ExpectPoint(out, 5, 5);
    EXPECT_TRUE(IntersectLines(2, 3, 7, 7, 9, 9, 2, 3, out, false, false));  // shared end point
    ExpectPoint(out, 2, 3);
}

TEST(PointInPolygon, SquareAndEdges) {
    const VPOINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(PointInPolygon(5, 5, square, 4));
    EXPECT_FALSE(PointInPolygon(15, 5, square, 4));
    EXPECT_FALSE(PointInPolygon(5, 0, square, 4));  // on the lower edge
    EXPECT_FALSE(PointInPolygon(5, 5, square, 0));
    EXPECT_FALSE(PointInPolygon(5, 5, nullptr, 4));
}

}  // namespace
