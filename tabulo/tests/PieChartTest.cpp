// Tests of TPieChart: the circle's point order, the slices and their items,
// value texts and captions, clicks, bad values, and the scaled text routine.
#include "PieChart.h"

#include <cmath>
#include <limits>

#include "CHRText.h"
#include "TabuloFixtures.h"

namespace {

const TColor kBackground = 0x101010, kValueText = 0x00FF00, kCaption = 0x000001;

std::vector<POINT> CirclePoints(int cx, int cy, int r) {
    TPointCollector collector;
    RasterCircle(cx, cy, r, collector);
    return collector.points;
}

using PointList = std::vector<std::pair<int, int>>;
PointList AsPairs(const std::vector<POINT>& points) {
    PointList pairs;
    for (const POINT& point : points) pairs.push_back({point.x, point.y});
    return pairs;
}

TEST(RasterCircle, SmallRadiiComeInTheirOrder) {
    EXPECT_EQ(AsPairs(CirclePoints(5, 5, 0)), (PointList{{5, 5}}));
    EXPECT_EQ(AsPairs(CirclePoints(5, 5, 1)), (PointList{{5, 4}, {5, 6}, {4, 5}, {6, 5}}));
    EXPECT_EQ(AsPairs(CirclePoints(5, 5, 2)), (PointList{{7, 5}, {7, 6}, {6, 7}, {5, 7}, {4, 7}, {3, 6}, {3, 5},
                                                          {3, 4}, {4, 3}, {5, 3}, {6, 3}, {7, 4}}));
    // Radius 3 ends its octant on the diagonal: (2, 2) is given once per quadrant.
    EXPECT_EQ(AsPairs(CirclePoints(0, 0, 3)),
              (PointList{{3, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 3}, {-1, 3}, {-2, 2}, {-3, 1}, {-3, 0}, {-3, -1},
                         {-2, -2}, {-1, -3}, {0, -3}, {1, -3}, {2, -2}, {3, -1}}));
    EXPECT_TRUE(CirclePoints(5, 5, -1).empty());
}

TEST(RasterCircle, LargerRadiiRunClockwiseOnceRoundThroughNeighbouringDots) {
    for (int r = 2; r <= 60; ++r) {
        const std::vector<POINT> points = CirclePoints(100, 100, r);
        ASSERT_FALSE(points.empty());
        EXPECT_EQ(points[0].x, 100 + r);
        EXPECT_EQ(points[0].y, 100);
        EXPECT_EQ(points[1].y, 101) << r;  // downwards first
        double turned = 0;
        Dots seen;
        for (size_t i = 0; i < points.size(); ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % points.size()];
            EXPECT_LE(std::abs(b.x - a.x), 1) << r << " at " << i;
            EXPECT_LE(std::abs(b.y - a.y), 1) << r << " at " << i;
            EXPECT_TRUE(seen.insert({a.x, a.y}).second) << r << ": repeated point " << i;
            double step = std::atan2(b.y - 100.0, b.x - 100.0) - std::atan2(a.y - 100.0, a.x - 100.0);
            if (step < -M_PI) step += 2 * M_PI;
            EXPECT_GT(step, 0) << r << " at " << i;
            turned += step;
        }
        EXPECT_NEAR(turned, 2 * M_PI, 1e-9) << r;
        GrayCanvas canvas(201, 201);
        DrawIDCircle(100, 100, r, TIDCircleClip{0, 200, 0, 200}, TSetIDPixel(canvas.view, 1, 1, 0, 0));
        EXPECT_EQ(seen, canvas.SetDots()) << r;
    }
}

class PieChartTest : public TabuloTest {
protected:
    // A 120 x 100 pie (radius 40 round (60, 50)) with distinct colours.
    TPieChart* MakeChart(int width = 120, int height = 100) {
        TPieChart* chart = Place<TPieChart>(10, 10, width, height);
        chart->SetBkColor(kBackground);
        chart->SetValueColor(kValueText);
        return chart;
    }
    // The circle the pie draws on: its points and the closing repeat of the first.
    static std::vector<POINT> Closed(std::vector<POINT> points) {
        points.push_back(points.front());
        return points;
    }
    static std::vector<POINT> Slice(const std::vector<POINT>& circle, size_t from, size_t to, bool withNext) {
        std::vector<POINT> outline{POINT{60, 50}};
        outline.insert(outline.end(), circle.begin() + from, circle.begin() + to + 1);
        if (withNext) outline.push_back(circle[to + 1]);
        return outline;
    }
    static Dots PolygonDotsIn(TChartBase* chart, const std::vector<POINT>& outline) {
        return DrawnDots(chart, [&](const TSetIDPixel& setter) {
            TSetIDPixelFunctor functor(setter);
            FillPolygon(outline.data(), int(outline.size()), functor, 16);
        });
    }
};

TEST_F(PieChartTest, OneValueCoversTheWholeCircle) {
    TPieChart* chart = MakeChart();
    chart->SetShowMode(pcsmNone);
    chart->AddValue(3, clRed, bsSolid, "", clNavy, true);
    EXPECT_EQ(chart->Radius(), 40);
    const std::vector<POINT> circle = Closed(CirclePoints(60, 50, 40));
    ASSERT_EQ(chart->GetItems().size(), 1u);
    EXPECT_EQ(AsPairs(chart->GetItems()[0].outline), AsPairs(Slice(circle, 0, circle.size() - 1, false)));
    const Dots disc = PolygonDotsIn(chart, chart->GetItems()[0].outline);
    EXPECT_EQ(PixelsOfColour(chart, clRed), disc);
    // Everything inside the circle; of the outline, the scan-line fill keeps what its rule gives.
    for (int y = 10; y <= 90; ++y)
        for (int x = 20; x <= 100; ++x)
            if ((x - 60) * (x - 60) + (y - 50) * (y - 50) < 39 * 39) {
                EXPECT_EQ(disc.count({x, y}), 1u) << x << "," << y;
            }
}

TEST_F(PieChartTest, SlicesEndWhereTheirShareTakesThemAndShareTheirBorders) {
    TPieChart* chart = MakeChart();
    chart->SetShowMode(pcsmNone);
    chart->AddValue(1, clRed, bsSolid, "", clNavy, false);
    chart->AddValue(1, clBlue, bsSolid, "", clNavy, true);
    const std::vector<POINT> circle = Closed(CirclePoints(60, 50, 40));
    const size_t last = circle.size() - 1, half = last / 2;
    ASSERT_EQ(chart->GetItems().size(), 2u);
    EXPECT_EQ(AsPairs(chart->GetItems()[0].outline), AsPairs(Slice(circle, 0, half, true)));
    EXPECT_EQ(AsPairs(chart->GetItems()[1].outline), AsPairs(Slice(circle, half, last, false)));
    // The later slice lies over the shared border.
    EXPECT_EQ(PixelsOfColour(chart, clBlue), PolygonDotsIn(chart, chart->GetItems()[1].outline));

    // A value of 0 gives the centre and at most two circle points: a thin line.
    chart->Clear(false);
    chart->AddValue(1, clRed, bsSolid, "", clNavy, false);
    chart->AddValue(0, clLime, bsSolid, "", clNavy, false);
    chart->AddValue(1, clBlue, bsSolid, "", clNavy, true);
    EXPECT_LE(chart->GetItems()[1].outline.size(), 3u);
    chart->DeleteCol(2, true);
    ASSERT_EQ(chart->GetItems().size(), 2u);
    EXPECT_EQ(AsPairs(chart->GetItems()[1].outline), AsPairs(Slice(circle, last, last, false)));
    Dots line;
    for (int x = 60; x <= 100; ++x) line.insert({x, 50});
    EXPECT_EQ(PixelsOfColour(chart, clLime), line);
}

TEST_F(PieChartTest, HatchedSlicesFillTheSecondColourUnderTheHatch) {
    TPieChart* chart = MakeChart();
    chart->SetShowMode(pcsmNone);
    chart->AddValue(1, clRed, bsVertical, "", clBlue, true);
    const Dots disc = PolygonDotsIn(chart, chart->GetItems()[0].outline);
    Dots hatch, under;
    for (const auto& dot : disc) (dot.first % 5 == 0 ? hatch : under).insert(dot);
    EXPECT_EQ(PixelsOfColour(chart, clRed), hatch);
    EXPECT_EQ(PixelsOfColour(chart, clBlue), under);
}

// The direction of an item's slice, from its middle outline point.
double Direction(const TChartItem& item) {
    const POINT& middle = item.outline[item.outline.size() / 2];
    return std::atan2(middle.y - 50.0, middle.x - 60.0);
}

TEST_F(PieChartTest, ValueTextsStandHalfwayOutInTheirSlices) {
    const TCHRTable table = TinyTable();
    struct Case {
        TPieChartShowMode mode;
        std::vector<double> values;
        std::vector<const char*> texts;
    };
    const Case cases[] = {
        {pcsmPercent, {1, 3}, {"25.0%", "75.0%"}},
        {pcsmValue, {2.5, 10}, {"2.5", "10"}},
        {pcsmNone, {1, 1}, {}},
    };
    for (const Case& c : cases) {
        TPieChart* chart = MakeChart();
        chart->SetShowMode(c.mode);
        for (double value : c.values) chart->AddValue(value, clRed, bsSolid, "AB", clNavy, false);
        chart->Refresh();
        Dots expected;
        for (size_t i = 0; i < c.texts.size(); ++i) {
            const double angle = Direction(chart->GetItems()[i]);
            const int x = int(60 + std::cos(angle) * 20 - GetCHRTextWidth(table, c.texts[i]) / 2);
            const int y = int(50 + std::sin(angle) * 20 - 5 / 2);
            const Dots text = DrawnDots(chart, [&](const TSetIDPixel& setter) {
                DrawCHRText(table, x, y, c.texts[i], setter, chrRotate0, 0, 1, 1, 0);
            });
            expected.insert(text.begin(), text.end());
        }
        EXPECT_EQ(PixelsOfColour(chart, kValueText), expected) << int(c.mode);
        EXPECT_FALSE(PixelsOfColour(chart, kCaption).empty()) << int(c.mode);
        delete chart;
    }
}

TEST_F(PieChartTest, CaptionsStandOutsideTheCircleAwayFromItInEachQuadrant) {
    const TCHRTable table = TinyTable();
    TPieChart* chart = MakeChart();
    chart->SetShowMode(pcsmNone);
    chart->SetCaptionColor(clRed);  // no effect on a pie
    const char* captions[] = {"A", "BB", "CCC", "DDDD"};
    for (const char* caption : captions) chart->AddValue(1, clNavy, bsSolid, caption, clNavy, false);
    chart->Refresh();
    Dots expected;
    int quadrants[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < 4; ++i) {
        const double angle = Direction(chart->GetItems()[i]);
        int x = int(60 + std::cos(angle) * 42), y = int(50 + std::sin(angle) * 42);
        const bool left = angle >= M_PI / 2 || angle <= -M_PI / 2, above = angle < 0;
        if (left) x -= GetCHRTextWidth(table, captions[i]);
        if (above) y -= 5;
        ++quadrants[left * 2 + above];
        const Dots text = DrawnDots(chart, [&](const TSetIDPixel& setter) {
            DrawCHRText(table, x, y, captions[i], setter, chrRotate0, 0, 1, 1, 0);
        });
        expected.insert(text.begin(), text.end());
    }
    EXPECT_EQ(std::vector<int>(quadrants, quadrants + 4), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(PixelsOfColour(chart, kCaption), expected);
    EXPECT_TRUE(PixelsOfColour(chart, clRed).empty());
}

TEST_F(PieChartTest, AClickOnASliceFiresItsValue) {
    TPieChart* chart = MakeChart();
    chart->AddValue(1, clRed, bsSolid, "AB", clNavy, false);
    chart->AddValue(3, clBlue, bsSolid, "CD", clNavy, true);
    std::vector<std::string> clicked;
    chart->OnItemClick = [&](TChartBase* sender, TMouseButton, TShiftState, int, int, TChartValue& value) {
        EXPECT_EQ(sender, chart);
        clicked.push_back(value.caption);
    };
    // The first slice runs from the rightmost point a quarter round, downwards.
    driver.Click(form->GetHandle(), 10 + 60 + 15, 10 + 50 + 15);
    driver.Click(form->GetHandle(), 10 + 60 - 15, 10 + 50 - 15);
    driver.Click(form->GetHandle(), 10 + 2, 10 + 2);
    EXPECT_EQ(clicked, (std::vector<std::string>{"AB", "CD"}));
}

TEST_F(PieChartTest, NegativeAndNonFiniteValuesCountAsNothing) {
    TPieChart* chart = MakeChart();
    chart->SetShowMode(pcsmPercent);
    chart->AddValue(2, clRed, bsSolid, "", clNavy, false);
    chart->AddValue(1, clLime, bsSolid, "", clNavy, false);
    chart->IncValue(1, -5, false);
    chart->AddValue(std::numeric_limits<double>::quiet_NaN(), clYellow, bsSolid, "", clNavy, false);
    chart->AddValue(std::numeric_limits<double>::infinity(), clYellow, bsCross, "", clNavy, false);
    chart->AddValue(2, clBlue, bsSolid, "", clNavy, true);
    const std::vector<POINT> circle = Closed(CirclePoints(60, 50, 40));
    const size_t last = circle.size() - 1, half = last / 2;
    const std::vector<TChartItem>& items = chart->GetItems();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(AsPairs(items[0].outline), AsPairs(Slice(circle, 0, half, true)));
    for (size_t i = 1; i <= 3; ++i) EXPECT_EQ(AsPairs(items[i].outline), AsPairs(Slice(circle, half, half, true)));
    EXPECT_EQ(AsPairs(items[4].outline), AsPairs(Slice(circle, half, last, false)));

    // Nothing left to share: the background alone.
    chart->SetValue(0, 0, false);
    chart->SetValue(4, 0, true);
    EXPECT_TRUE(chart->GetItems().empty());
    EXPECT_EQ(PixelsOfColour(chart, kBackground).size(), 120u * 100u);
}

TEST_F(PieChartTest, ControlsSmallerThanTwiceTheGap) {
    TPieChart* chart = MakeChart(15, 15);
    chart->AddValue(1, clRed, bsSolid, "AB", clNavy, true);
    EXPECT_LT(chart->Radius(), 0);
    EXPECT_TRUE(chart->GetItems().empty());
    EXPECT_EQ(PixelsOfColour(chart, kBackground).size(), 15u * 15u);
    // Radius 0: the single point, closed on itself; a polygon without edges fills nothing.
    chart->SetBounds(10, 10, 20, 21);
    ASSERT_EQ(chart->Radius(), 0);
    ASSERT_EQ(chart->GetItems().size(), 1u);
    EXPECT_EQ(AsPairs(chart->GetItems()[0].outline), (PointList{{10, 10}, {10, 10}, {10, 10}}));
    // However negative the gap, the circle stays one that can be held.
    chart->SetGap(-2000000000);
    EXPECT_EQ(chart->Radius(), 32767);
}

TEST_F(PieChartTest, DesignTimeSamplesServeOnePaintEach) {
    form->SetDesigning(true);
    TPieChart* chart = MakeChart();
    chart->AddValue(5, clRed, bsSolid, "", clNavy, true);
    EXPECT_EQ(chart->GetItems().size(), 4u);
    std::vector<TChartValue> values;
    chart->GetValues(values);
    EXPECT_EQ(values.size(), 1u);
    form->SetDesigning(false);
}

TEST(DrawCHRTextScaled, UprightItSetsTheDotsDrawCHRTextSets) {
    const TCHRTable table = TinyTable();
    struct Case {
        const char* text;
        int length;
        int scale;
        const char* drawn;
    };
    const Case cases[] = {{"12.5%", -1, 1, "12.5%"}, {"12.5%", 1, 1, "1"}, {"12", 9, 1, "12"}, {"8", -1, 2, "8"}};
    for (const Case& c : cases) {
        GrayCanvas scaled(40, 20), plain(40, 20);
        DrawCHRTextScaled(TSetIDPixel(scaled.view, 9, 1, 0, 0), 3, 4, table, c.text, 200, 0, 0, false, 100, c.length,
                          c.scale, c.scale);
        DrawCHRText(table, 3, 4, c.drawn, TSetIDPixel(plain.view, 200, 1, 0, 0), chrRotate0, 0, c.scale, c.scale, 0);
        EXPECT_EQ(scaled.pixels, plain.pixels) << c.text << " " << c.length << " " << c.scale;
    }
}

TEST(DrawCHRTextScaled, ABackgroundFillsTheBoxWithOneMoreColumnAndRow) {
    const TCHRTable table = TinyTable();
    GrayCanvas filled(40, 20), plain(40, 20);
    DrawCHRTextScaled(TSetIDPixel(filled.view, 9, 1, 0, 0), 3, 4, table, "12", 200, 0, 0, true, 100, -1, 1, 1);
    DrawCHRText(table, 3, 4, "12", TSetIDPixel(plain.view, 200, 1, 0, 0), chrRotate0, 0, 1, 1, 0);
    // The box runs from (3, 4) to (3 + width, 4 + height), both ends in.
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inBox = x >= 3 && x <= 3 + 8 && y >= 4 && y <= 4 + 5;
            const size_t at = size_t(y) * 40 + size_t(x);
            EXPECT_EQ(filled.pixels[at], inBox ? (plain.pixels[at] == 200 ? 200 : 100) : 0) << x << "," << y;
        }
    }
}

TEST(DrawCHRTextScaled, TurnedTextAndBadScalesAndAngles) {
    const TCHRTable table = TinyTable();
    // A quarter turn clockwise on the screen: the text runs downwards, left of the anchor.
    GrayCanvas turned(40, 40);
    DrawCHRTextScaled(TSetIDPixel(turned.view, 9, 1, 0, 0), 20, 10, table, "88", 200, 0, M_PI / 2, false, 0, -1, 1, 1);
    const Dots dots = turned.SetDots();
    EXPECT_FALSE(dots.empty());
    for (const auto& dot : dots) {
        EXPECT_LE(dot.first, 20);
        EXPECT_GE(dot.second, 10);
        EXPECT_LE(dot.second, 10 + 8 + 8);
    }
    // Bad scales and angles draw nothing.
    GrayCanvas none(40, 20);
    for (double scale : {0.0, -1.0, 5000.0, std::numeric_limits<double>::quiet_NaN()})
        DrawCHRTextScaled(TSetIDPixel(none.view, 9, 1, 0, 0), 0, 0, table, "8", 200, 0, 0, true, 1, -1, scale, 1);
    DrawCHRTextScaled(TSetIDPixel(none.view, 9, 1, 0, 0), 0, 0, table, "8", 200, 0, INFINITY, true, 1, -1, 1, 1);
    EXPECT_TRUE(none.SetDots().empty());
}

}  // namespace
