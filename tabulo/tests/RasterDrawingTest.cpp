// Tests of the line rasteriser, polygon fill and circles.
#include "RasterDrawing.h"

#include "TableFixtures.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using PointList = std::vector<std::pair<int, int>>;

PointList LinePoints(int x1, int y1, int x2, int y2, bool includeLast = true, bool fillGaps = false) {
    TPointCollector collector;
    RasterLine(x1, y1, x2, y2, collector, includeLast, false, fillGaps, 16);
    PointList points;
    for (const POINT& point : collector.points) points.push_back({point.x, point.y});
    return points;
}

TEST(RasterLine, MatchesHandComputedPoints) {
    struct Case {
        int x1, y1, x2, y2;
        bool includeLast, fillGaps;
        PointList expected;
    };
    const Case cases[] = {
        {0, 0, 4, 2, true, false, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        {4, 2, 0, 0, true, false, {{4, 2}, {3, 2}, {2, 1}, {1, 1}, {0, 0}}},
        {0, 0, 1, 3, true, false, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        {0, 0, 4, 2, false, false, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        {0, 0, 4, 2, true, true, {{0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 2}, {3, 2}, {4, 2}}},
        {-3, -1, 1, 1, true, false, {{-3, -1}, {-2, 0}, {-1, 0}, {0, 1}, {1, 1}}},
        {100000, 0, 100003, 2, true, false, {{100000, 0}, {100001, 1}, {100002, 1}, {100003, 2}}},
        {100000, 0, 100001, 3, true, false, {{100000, 0}, {100000, 1}, {100001, 2}, {100001, 3}}},
        {7, 7, 7, 7, true, false, {{7, 7}}},
        {7, 7, 7, 7, false, false, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinePoints(c.x1, c.y1, c.x2, c.y2, c.includeLast, c.fillGaps), c.expected)
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    }
}

TEST(RasterLine, NoticeComesFirstAndBadShiftsDrawNothing) {
    struct Recorder : TDFFunctorBase {
        std::vector<int> events;
        void LineStart(int, int, int, int) override { events.push_back(-1); }
        void Point(int x, int, int) override { events.push_back(x); }
    } recorder;
    RasterLine(0, 0, 1, 0, recorder, true, true, false, 16);
    EXPECT_EQ(recorder.events, (std::vector<int>{-1, 0, 1}));
    TPointCollector collector;
    RasterLine(0, 0, 5, 5, collector, true, false, false, 0);
    RasterLine(0, 0, 5, 5, collector, true, false, false, 31);
    EXPECT_TRUE(collector.points.empty());
}

TEST(RasterLine, ExtremeCoordinatesStayWithinTheirRange) {
    TPointCollector collector;
    RasterLine(-2000000000, -3, -2000000000, 3, collector, true, false, false, 16);
    ASSERT_EQ(collector.points.size(), 7u);
    for (const POINT& point : collector.points) EXPECT_EQ(point.x, -2000000000);
}

TEST(DrawIDLine, SetsTheLinePixelsInTheSetterColour) {
    GrayCanvas canvas(6, 4);
    DrawIDLine(0, 0, 4, 2, TSetIDPixel(canvas.view, 200, 1, 0, 0), true, true, false, 16);
    EXPECT_EQ(canvas.SetDots(), (Dots{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    EXPECT_EQ(canvas.pixels[2 * 6 + 3], 200);
}

TEST(DrawIDLine, WalksOnlyTheViewButSetsTheSamePixels) {
    struct Line {
        int x1, y1, x2, y2;
        bool connect;
    };
    const Line lines[] = {
        {-100000, -3, 100000, 9, true}, {100000, 9, -100000, -3, false}, {3, -700000, 5, 900000, true},
        {7, 900000, 3, -700000, true},     {-50, 60, 60, -50, true},          {2, 2, 9, 7, false},
    };
    for (const Line& line : lines) {
        GrayCanvas clipped(12, 8), reference(12, 8);
        DrawIDLine(line.x1, line.y1, line.x2, line.y2, TSetIDPixel(clipped.view, 1, 1, 0, 0), true, false,
                   line.connect, 16);
        TSetIDPixelFunctor everyPoint(TSetIDPixel(reference.view, 1, 1, 0, 0));
        RasterLine(line.x1, line.y1, line.x2, line.y2, everyPoint, true, false, line.connect, 16);
        EXPECT_EQ(clipped.SetDots(), reference.SetDots()) << line.x1 << "," << line.y1;
        EXPECT_FALSE(reference.SetDots().empty()) << line.x1 << "," << line.y1;
    }
    GrayCanvas wide(10, 3);
    DrawIDLine(-2000000000, 1, 2000000000, 1, TSetIDPixel(wide.view, 1, 1, 0, 0), true, true, false, 16);
    EXPECT_EQ(wide.SetDots().size(), 10u);
}

Dots PolygonDots(const std::vector<POINT>& points) {
    TPointCollector collector;
    FillPolygon(points.data(), int(points.size()), collector, 16);
    Dots dots;
    for (const POINT& point : collector.points) dots.insert({point.x, point.y});
    return dots;
}

TEST(FillPolygon, FillsRectanglesAndTrianglesOutlineIncluded) {
    Dots rectangle;
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 4; ++x) rectangle.insert({x, y});
    EXPECT_EQ(PolygonDots({{1, 1}, {4, 1}, {4, 3}, {1, 3}}), rectangle);

    // Right triangle with legs of 4: row y covers x from 0 to 4 - y... as rasterised.
    const Dots triangle = PolygonDots({{0, 0}, {4, 0}, {0, 4}});
    for (int y = 0; y <= 4; ++y) {
        EXPECT_EQ(triangle.count({0, y}), 1u) << y;
        EXPECT_EQ(triangle.count({4 - y, y}), 1u) << y;
        EXPECT_EQ(triangle.count({5 - y, y}), 0u) << y;
    }
}

TEST(FillPolygon, EmptyAndDegenerateInputsDrawNothing) {
    TPointCollector collector;
    FillPolygon(nullptr, 3, collector, 16);
    const POINT one[] = {{2, 2}};
    FillPolygon(one, 0, collector, 16);
    FillPolygon(one, 1, collector, 16);
    EXPECT_TRUE(collector.points.empty());
}

TEST(FillPolygon, HitTestCountsTheOutlineAsInside) {
    const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (const auto& probe : {std::pair<int, int>{10, 5}, {0, 0}, {5, 5}}) {
        TPointHitTest hit(probe.first, probe.second, 0);
        FillPolygon(square, 4, hit, 16);
        EXPECT_TRUE(hit.found) << probe.first << "," << probe.second;
        EXPECT_GT(hit.ordinal, 0);
    }
    TPointHitTest miss(11, 5, 0);
    FillPolygon(square, 4, miss, 16);
    EXPECT_FALSE(miss.found);
    EXPECT_EQ(miss.ordinal, -1);
}

TEST(PolygonContainsDot, AgreesWithTheFilledDotsOnRandomOutlines) {
    std::mt19937 random(44);
    std::uniform_int_distribution<int> coordinate(-6, 26), corners(1, 9);
    for (int round = 0; round < 1200; ++round) {
        std::vector<POINT> outline(size_t(corners(random)));
        for (POINT& point : outline) point = POINT{coordinate(random), coordinate(random)};
        // Repeated corners and horizontal runs, also on the bottom line, are
        // the hard cases: make some.
        if (round % 5 == 0 && outline.size() > 2) outline[1] = outline[0];
        if (round % 7 == 0 && outline.size() > 2) outline[2].y = outline[1].y;
        if (round % 3 == 0)
            for (size_t i = 0; i < outline.size(); i += 2) outline[i].y = 26;
        const Dots filled = PolygonDots(outline);
        for (int y = -8; y <= 28; ++y) {
            for (int x = -8; x <= 28; ++x) {
                ASSERT_EQ(PolygonContainsDot(outline.data(), int(outline.size()), x, y, 16), filled.count({x, y}) == 1)
                    << "round " << round << " at " << x << "," << y;
            }
        }
    }
    // Edges longer than 2^15 along x fall short of their last line, and the
    // filler's runs shift along them.
    const std::vector<POINT> sliver = {{0, 0}, {100000, 3}, {100000, 5}, {-7, 1}};
    const Dots filled = PolygonDots(sliver);
    for (int y = -1; y <= 6; ++y) {
        for (int x : {-8, -7, -1, 0, 1, 2, 33333, 50000, 66666, 99998, 99999, 100000, 100001}) {
            EXPECT_EQ(PolygonContainsDot(sliver.data(), 4, x, y, 16), filled.count({x, y}) == 1) << x << "," << y;
        }
    }
    EXPECT_FALSE(PolygonContainsDot(nullptr, 3, 0, 0, 16));
    const POINT one[] = {{2, 2}};
    EXPECT_FALSE(PolygonContainsDot(one, 1, 2, 2, 16));
}

TEST(DrawIDCircle, OctantPointsFollowTheMidpointRule) {
    const std::vector<POINT> five = TCollectCircleOctantPoints(5).Points();
    PointList points;
    for (const POINT& point : five) points.push_back({point.x, point.y});
    EXPECT_EQ(points, (PointList{{0, 5}, {1, 5}, {2, 5}, {3, 4}}));
}

TEST(DrawIDCircle, SmallRadiiAndClipping) {
    const TIDCircleClip everywhere{0, 100, 0, 100};
    struct Case {
        int r;
        TIDCircleClip clip;
        Dots expected;
    };
    const Case cases[] = {
        {0, everywhere, {{5, 5}}},
        {1, everywhere, {{5, 4}, {5, 6}, {4, 5}, {6, 5}}},
        {2,
         everywhere,
         {{5, 3}, {5, 7}, {3, 5}, {7, 5}, {4, 3}, {6, 3}, {4, 7}, {6, 7}, {3, 4}, {3, 6}, {7, 4}, {7, 6}}},
        {2, {0, 5, 0, 5}, {{5, 3}, {3, 5}, {4, 3}, {3, 4}}},
        {-1, everywhere, {}},
    };
    for (const Case& c : cases) {
        GrayCanvas canvas(11, 11);
        DrawIDCircle(5, 5, c.r, c.clip, TSetIDPixel(canvas.view, 1, 1, 0, 0));
        EXPECT_EQ(canvas.SetDots(), c.expected) << c.r;
    }
}

}  // namespace
