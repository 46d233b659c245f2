// Tests of THistogramViewer, read from the form's window: column geometry
// and colour and style ranges, pictures without columns, more values than
// pixels, a control narrower than its margins, and the value operations.
#include "HistogramViewer.h"

#include "ViewFixtures.h"

namespace {

const TColor kFrame = 0x404040, kAxis = 0x800000, kRed = 0x0000FF, kGreen = 0x00AA00;

class HistogramViewerTest : public TabuloTest {
protected:
    THistogramViewer* MakeViewer(int width, int height) {
        auto* viewer = Place<THistogramViewer>(10, 10, width, height);
        viewer->SetFrameColor(kFrame);
        viewer->SetColumnColor(kGreen);
        return viewer;
    }
    // The viewer's dots of one colour, as the window shows them.
    Dots ShownDots(THistogramViewer* viewer, TColor colour) {
        driver.PumpUntilIdle();
        Dots dots;
        for (int y = 0; y < viewer->GetHeight(); ++y)
            for (int x = 0; x < viewer->GetWidth(); ++x)
                if (driver.Pixel(form->GetHandle(), viewer->GetLeft() + x, viewer->GetTop() + y) == COLORREF(colour))
                    dots.insert({x, y});
        return dots;
    }
};

TEST_F(HistogramViewerTest, ColumnsStandOnTheBaseAndTakeTheFirstRangeThatCoversThem) {
    THistogramViewer* viewer = MakeViewer(60, 50);
    viewer->SetValueCount(5);
    const double values[] = {10, 5, 0, -5, 10};
    for (int i = 0; i < 5; ++i) viewer->SetValue(i, values[i]);
    viewer->AddColorInfo(0, 1, kRed);
    viewer->AddColorInfo(1, 4, kGreen + 1);
    viewer->AddStyleInfo(4, 4, bsClear);
    viewer->AddStyleInfo(4, 4, bsSolid);
    // Steps (60 - 10 - 2) / 5 = 9 from x = 7, columns 8 wide; base 43; 39 / 10 dots per unit.
    const Dots negative = Rect(34, 44, 41, 49);  // -5 hangs below the base, cut at the bottom
    const Dots hollow = Without(Rect(43, 4, 50, 43), Rect(44, 5, 49, 42));
    EXPECT_EQ(ShownDots(viewer, kRed), Joined(Rect(7, 4, 14, 43), Rect(16, 24, 23, 43)));
    EXPECT_EQ(ShownDots(viewer, kGreen + 1), Joined(Joined(Rect(25, 43, 32, 43), negative), hollow));
    EXPECT_EQ(ShownDots(viewer, kFrame), Without(Outline(60, 50), negative));
    // The axes: lines leave out their last dot.
    EXPECT_EQ(ShownDots(viewer, kAxis), Without(Joined(Rect(5, 5, 5, 44), Rect(5, 45, 54, 45)), negative));
    // Cleared infos take the column colour and style again, at the next repaint.
    viewer->ClearInfos();
    viewer->Repaint();
    EXPECT_TRUE(ShownDots(viewer, kRed).empty());
    EXPECT_EQ(ShownDots(viewer, kGreen).size(), 8u * 40 + 8u * 20 + 8u + 8u * 6 + 8u * 40);
}

TEST_F(HistogramViewerTest, WithoutAPositiveLargestValueOnlyFrameAndAxesAreDrawn) {
    const std::vector<double> cases[] = {{}, {0, 0, 0}, {-1, -7, -3}, {0, -2}};
    for (const std::vector<double>& values : cases) {
        THistogramViewer* viewer = MakeViewer(40, 30);
        for (double value : values) viewer->AddValue(int(value));
        EXPECT_TRUE(ShownDots(viewer, kGreen).empty()) << values.size();
        EXPECT_EQ(ShownDots(viewer, kFrame), Outline(40, 30));
        EXPECT_EQ(ShownDots(viewer, kAxis), Joined(Rect(5, 5, 5, 24), Rect(5, 25, 34, 25)));
        delete viewer;
    }
}

TEST_F(HistogramViewerTest, MoreValuesThanPixelsGiveOnePixelColumnsRunningPastTheEdge) {
    THistogramViewer* viewer = MakeViewer(40, 30);
    viewer->SetValueCount(100);
    for (int i = 0; i < 100; ++i) viewer->SetValue(i, 1);
    EXPECT_EQ(viewer->ColumnWidth(), 1);
    // From x = 7 one column per pixel, over the frame's right edge; base 23, 19 dots high.
    EXPECT_EQ(ShownDots(viewer, kGreen), Rect(7, 4, 39, 23));
}

TEST_F(HistogramViewerTest, AViewerNarrowerThanItsMarginsDrawsOnePixelColumns) {
    THistogramViewer* viewer = MakeViewer(8, 30);
    for (int value : {3, 1, 2}) viewer->AddValue(value);
    // (8 - 12) / 3 is below 1: the step is 1, and only the first column is inside.
    EXPECT_EQ(viewer->ColumnWidth(), 1);
    EXPECT_EQ(ShownDots(viewer, kGreen), Rect(7, 4, 7, 23));
}

TEST_F(HistogramViewerTest, ValueOperationsOutsideTheValuesDoNothing) {
    THistogramViewer* viewer = MakeViewer(40, 30);
    viewer->SetValueCount(2);
    viewer->SetValueCount(-1);
    EXPECT_EQ(viewer->GetValueCount(), 2);
    viewer->SetValue(1, 2.5);
    viewer->IncValue(1);
    viewer->DecValue(0);
    viewer->AddValue(-4);
    for (int index : {-1, 3, 1000}) {
        viewer->SetValue(index, 9);
        viewer->IncValue(index);
        viewer->DecValue(index);
        EXPECT_EQ(viewer->GetValue(index), 0.0) << index;
    }
    EXPECT_EQ(viewer->GetValueCount(), 3);
    EXPECT_EQ(viewer->GetValue(0), -1.0);
    EXPECT_EQ(viewer->GetValue(1), 3.5);
    EXPECT_EQ(viewer->GetValue(2), -4.0);
}

}  // namespace
