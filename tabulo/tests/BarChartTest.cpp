// Tests of TBarChart: bar geometry and items, tiny and zero values, hatching,
// the placing of the upward texts, and small buffers.
#include "BarChart.h"

#include "CHRText.h"
#include "TabuloFixtures.h"

namespace {

const TColor kBackground = 0x101010, kValueText = 0x00FF00, kCaptionText = 0xFF00FF;

class BarChartTest : public TabuloTest {
protected:
    // A 100 x 60 chart with gaps of 4 and distinct colours.
    TBarChart* MakeChart(int width = 100, int height = 60) {
        TBarChart* chart = Place<TBarChart>(10, 10, width, height);
        chart->SetBkColor(kBackground);
        chart->SetValueColor(kValueText);
        chart->SetCaptionColor(kCaptionText);
        return chart;
    }
    // The same without character tables: no texts over the bars.
    TBarChart* MakeChartWithoutTexts(int width = 100, int height = 60) {
        unsetenv("CHDIR");
        TBarChart* chart = MakeChart(width, height);
        setenv("CHDIR", tables.Folder().c_str(), 1);
        return chart;
    }
    // The rectangle's dots, both corners included.
    static Dots Rect(int left, int top, int right, int bottom) {
        Dots dots;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) dots.insert({x, y});
        return dots;
    }
};

std::vector<POINT> Corners(int left, int top, int right, int bottom) {
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

bool SameOutline(const std::vector<POINT>& a, const std::vector<POINT>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const POINT& p, const POINT& q) { return p.x == q.x && p.y == q.y; });
}

TEST_F(BarChartTest, BarsShareTheWidthAndTheLargestReachesTheUpperGap) {
    TBarChart* chart = MakeChartWithoutTexts();
    chart->AddValue(10, clRed, bsSolid, "", clNavy, false);
    chart->AddValue(5, clBlue, bsSolid, "", clNavy, false);
    chart->AddValue(0, clYellow, bsSolid, "", clNavy, true);
    // w = (100 - 8) / 3 = 30; scale = (60 - 8) / 10; the bar of 5 reaches 56 - 26.
    EXPECT_EQ(PixelsOfColour(chart, clRed), Rect(4, 4, 33, 56));
    EXPECT_EQ(PixelsOfColour(chart, clBlue), Rect(34, 30, 63, 56));
    EXPECT_TRUE(PixelsOfColour(chart, clYellow).empty());
    ASSERT_EQ(chart->GetItems().size(), 2u);
    EXPECT_TRUE(SameOutline(chart->GetItems()[0].outline, Corners(4, 4, 33, 56)));
    EXPECT_EQ(chart->GetItems()[1].valueIndex, 1);
    EXPECT_TRUE(SameOutline(chart->GetItems()[1].outline, Corners(34, 30, 63, 56)));
}

TEST_F(BarChartTest, TinyValuesAndAllZeroValues) {
    TBarChart* chart = MakeChartWithoutTexts();
    chart->AddValue(1, clRed, bsSolid, "", clNavy, false);
    chart->AddValue(5e-21, clBlue, bsSolid, "", clNavy, false);
    chart->AddValue(1e-20, clYellow, bsSolid, "", clNavy, true);
    EXPECT_TRUE(PixelsOfColour(chart, clBlue).empty());
    EXPECT_EQ(PixelsOfColour(chart, clYellow), Rect(64, 56, 93, 56));
    EXPECT_EQ(chart->GetItems().size(), 2u);

    chart->Clear(false);
    for (int i = 0; i < 3; ++i) chart->AddValue(0, clRed, bsSolid, "A", clNavy, false);
    chart->Refresh();
    EXPECT_EQ(PixelsOfColour(chart, kBackground).size(), 100u * 60u);
    EXPECT_TRUE(chart->GetItems().empty());
    // No values at all: the items of the last bars go with them.
    chart->AddValue(3, clRed, bsSolid, "", clNavy, true);
    chart->Clear(true);
    EXPECT_TRUE(chart->GetItems().empty());
    EXPECT_EQ(PixelsOfColour(chart, kBackground).size(), 100u * 60u);
}

TEST_F(BarChartTest, HatchedBarsAreAnchoredAtTheBufferCorner) {
    struct Case {
        TBrushStyle style;
        bool (*first)(int x, int y);
    };
    // c = 5; written out as the rules read, with C++ remainders.
    const Case cases[] = {
        {bsHorizontal, [](int, int y) { return y % 5 == 0; }},
        {bsVertical, [](int x, int) { return x % 5 == 0; }},
        {bsFDiagonal, [](int x, int y) { return (x - y % 5) % 5 == 0; }},
        {bsBDiagonal, [](int x, int y) { return (x + y % 5) % 5 == 0; }},
        {bsCross, [](int x, int y) { return x % 5 == 0 || y % 5 == 0; }},
        {bsDiagCross, [](int x, int y) { return (x - y % 5) % 5 == 0 || (x + y % 5) % 5 == 0; }},
        {bsClear, [](int, int) { return false; }},
    };
    for (const Case& c : cases) {
        TBarChart* chart = MakeChartWithoutTexts(40, 30);
        chart->SetHGap(1);  // the bar starts at x = 1, where x - y % 5 goes below zero
        chart->AddValue(7, clRed, c.style, "", clBlue, true);
        Dots first, second;
        for (const auto& dot : Rect(1, 4, 38, 26)) (c.first(dot.first, dot.second) ? first : second).insert(dot);
        EXPECT_EQ(PixelsOfColour(chart, clRed), first) << c.style;
        EXPECT_EQ(PixelsOfColour(chart, clBlue), second) << c.style;
        delete chart;
    }
}

TEST_F(BarChartTest, TextsStandWhereTheirPositionPutsThem) {
    const TCHRTable table = TinyTable();
    const int textHeight = 5;
    struct Case {
        TBarChartTextPos pos;
        int lowerEnd;  // for the bar of 8 spanning y = 14..56 (scale 52 / 10); "8" is 4 dots long
    };
    const Case cases[] = {
        {bccpInBar, 14 + 2 + 4},
        {bccpOverBar, 14 - 2},
        {bccpBottom, 56 - 2},
        {bccpTop, 4 + 4},
    };
    for (const Case& c : cases) {
        TBarChart* chart = MakeChart();
        chart->SetValuePos(c.pos);
        chart->AddValue(10, clRed, bsSolid, "", clNavy, false);
        chart->AddValue(8, clBlue, bsSolid, "", clNavy, false);
        chart->AddValue(2, clYellow, bsSolid, "", clNavy, true);
        // The second bar spans x = 34..63: its text column starts at 34 + (30 - 5) / 2.
        const Dots expected = DrawnDots(chart, [&](const TSetIDPixel& setter) {
            DrawCHRText(table, 34 + (30 - textHeight) / 2, c.lowerEnd, "8", setter, chrRotate90, 0, 1, 1, 0);
        });
        Dots found;
        for (const auto& dot : PixelsOfColour(chart, kValueText))
            if (dot.first >= 34 && dot.first <= 63) found.insert(dot);
        EXPECT_EQ(found, expected) << int(c.pos);
        EXPECT_FALSE(expected.empty());
        delete chart;
    }
}

TEST_F(BarChartTest, TextsOverTheTallestBarLoseTheDotsAboveTheBuffer) {
    const TCHRTable table = TinyTable();
    TBarChart* chart = MakeChart();
    chart->SetValuePos(bccpOverBar);
    chart->SetCaptionPos(bccpInBar);
    chart->SetFillCaptionBk(true);
    chart->AddValue(12.5, clRed, bsSolid, "CAFE", clNavy, true);
    // One bar 92 wide from x = 4; its texts stand in the column from 4 + (92 - 5) / 2 = 47.
    const Dots value = DrawnDots(chart, [&](const TSetIDPixel& setter) {
        DrawCHRText(table, 47, 4 - 2, "12.5", setter, chrRotate90, 0, 1, 1, 0);
    });
    EXPECT_EQ(PixelsOfColour(chart, kValueText), value);
    EXPECT_FALSE(value.empty());
    // The caption hangs from the bar's top on its own background box.
    const int length = GetCHRTextWidth(table, "CAFE");
    const Dots caption = DrawnDots(chart, [&](const TSetIDPixel& setter) {
        DrawCHRText(table, 47, 4 + 2 + length, "CAFE", setter, chrRotate90, 0, 1, 1, 0);
    });
    EXPECT_EQ(PixelsOfColour(chart, kCaptionText), caption);
    Dots box = Rect(47, 4 + 2 + 1, 47 + 4, 4 + 2 + length);
    for (const auto& dot : caption) box.erase(dot);
    for (const auto& dot : box) EXPECT_EQ(BufferPixel(chart, dot.first, dot.second), kBackground);
}

TEST_F(BarChartTest, OnePixelHighAndTooNarrowCharts) {
    TBarChart* chart = MakeChart(50, 1);
    chart->AddValue(3, clRed, bsCross, "AB", clBlue, true);
    // The bar spans y = -3..4 and its row 0 lies on a hatch line; the texts fall outside.
    EXPECT_EQ(chart->GetItems().size(), 1u);
    EXPECT_EQ(PixelsOfColour(chart, clRed), Rect(4, 0, 45, 0));
    EXPECT_EQ(PixelsOfColour(chart, kBackground).size(), 8u);
    // Bars less than a pixel wide: the background alone.
    TBarChart* narrow = MakeChart(9, 20);
    for (int i = 0; i < 2; ++i) narrow->AddValue(1, clRed, bsSolid, "", clNavy, false);
    narrow->Refresh();
    EXPECT_EQ(PixelsOfColour(narrow, kBackground).size(), 9u * 20u);
    EXPECT_TRUE(narrow->GetItems().empty());
}

TEST_F(BarChartTest, DesignTimeSamplesStayInTheValues) {
    form->SetDesigning(true);
    TBarChart* chart = MakeChart();
    chart->Refresh();
    std::vector<TChartValue> values;
    chart->GetValues(values);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].caption, "First");
    EXPECT_EQ(values[2].value, 3);
    chart->Refresh();
    chart->GetValues(values);
    EXPECT_EQ(values.size(), 3u);
    form->SetDesigning(false);
}

}  // namespace
