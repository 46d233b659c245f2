// Tests of TProcessBar: range and clamping, percentage, drawing and properties.
#include "ProcessBar.h"

#include "KontrolaFixture.h"
#include "PropertyTable.h"

using ProcessBarTest = FormTest;

TEST_F(ProcessBarTest, PositionIsClampedIntoTheRange) {
    TProcessBar* bar = Place<TProcessBar>(10, 10, 102, 20);
    struct Case {
        int min, max, pos;
        int expectedPos, expectedPercent;
    };
    const Case cases[] = {
        {0, 100, 50, 50, 50},   {0, 100, 150, 100, 100}, {0, 100, -5, 0, 0},
        {10, 20, 15, 15, 50},   {0, 0, 7, 0, 0},          {-100, 100, 0, 0, 50},
        {0, 3, 1, 1, 33},       {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, 100},
    };
    for (const Case& c : cases) {
        // The order script dialogs use: Min, Max, then Pos.
        bar->SetMin(c.min);
        bar->SetMax(c.max);
        bar->SetPos(c.pos);
        EXPECT_EQ(bar->GetPos(), c.expectedPos) << c.min << ".." << c.max << " at " << c.pos;
        EXPECT_EQ(bar->GetPercentage(), c.expectedPercent) << c.min << ".." << c.max << " at " << c.pos;
        bar->SetMin(0);
    }
}

TEST_F(ProcessBarTest, MinAndMaxKeepEachOtherInOrder) {
    TProcessBar* bar = Place<TProcessBar>(10, 10, 102, 20);
    bar->SetPos(80);
    bar->SetMax(50);
    EXPECT_EQ(bar->GetPos(), 50);
    bar->SetMin(70);
    EXPECT_EQ(bar->GetMax(), 70);
    EXPECT_EQ(bar->GetPos(), 70);
    bar->SetMax(-10);
    EXPECT_EQ(bar->GetMin(), -10);
    EXPECT_EQ(bar->GetPos(), -10);
}

TEST_F(ProcessBarTest, ShowsTheFilledPartAndThePercentage) {
    TProcessBar* bar = Place<TProcessBar>(10, 10, 102, 20);
    bar->SetPosColor(clNavy);
    bar->SetBkColor(clGray);
    bar->SetPercent(false);
    bar->SetPos(25);
    driver.PumpUntilIdle();
    HWND window = form->GetHandle();
    // The inside is 100 pixels wide from x = 11: a quarter is filled.
    EXPECT_EQ(bar->FilledWidth(), 25);
    EXPECT_EQ(driver.Pixel(window, 10 + 1 + 10, 20), ColorToRGB(clNavy));
    EXPECT_EQ(driver.Pixel(window, 10 + 1 + 24, 20), ColorToRGB(clNavy));
    EXPECT_EQ(driver.Pixel(window, 10 + 1 + 25, 20), ColorToRGB(clGray));
    bar->SetPos(1000);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(window, 10 + 100, 20), ColorToRGB(clNavy));

    EXPECT_EQ(bar->DisplayText(), "");
    bar->SetPercent(true);
    bar->SetPos(42);
    EXPECT_EQ(bar->DisplayText(), "42%");
    bar->SetText("Done:");
    EXPECT_EQ(bar->DisplayText(), "Done: 42%");
}

TEST_F(ProcessBarTest, TextTakesTheColourOfThePartItLiesOver) {
    TProcessBar* bar = Place<TProcessBar>(10, 10, 102, 24);
    bar->SetPosColor(clNavy);
    bar->SetBkColor(clWhite);
    bar->SetTextColor(clRed);
    bar->SetCaptionColor(clYellow);
    bar->SetPos(50);
    driver.PumpUntilIdle();
    HWND window = form->GetHandle();
    // Text is smoothed: look for pixels close to each text colour.
    auto nearYellow = [](COLORREF c) { return GetRValue(c) > 0xC0 && GetGValue(c) > 0xC0 && GetBValue(c) < 0x40; };
    auto nearRed = [](COLORREF c) { return GetRValue(c) > 0xC0 && GetGValue(c) < 0x40 && GetBValue(c) < 0x40; };
    int yellowLeft = 0, redLeft = 0, yellowRight = 0, redRight = 0;
    for (int y = 11; y < 33; ++y) {
        for (int x = 11; x < 111; ++x) {
            const COLORREF pixel = driver.Pixel(window, x, y);
            (x < 61 ? yellowLeft : yellowRight) += nearYellow(pixel);
            (x < 61 ? redLeft : redRight) += nearRed(pixel);
        }
    }
    EXPECT_GT(yellowLeft, 0);
    EXPECT_GT(redRight, 0);
    EXPECT_EQ(redLeft, 0);
    EXPECT_EQ(yellowRight, 0);
}

TEST_F(ProcessBarTest, PublishedPropertiesAsText) {
    TProcessBar* bar = Place<TProcessBar>(10, 10, 102, 20);
    SetPropertyText(bar, "Max", "200");
    SetPropertyText(bar, "Pos", "150");
    SetPropertyText(bar, "PosColor", "clNavy");
    SetPropertyText(bar, "PercentPos", "ptpRight");
    SetPropertyText(bar, "Percent", "False");
    EXPECT_EQ(bar->GetPos(), 150);
    EXPECT_EQ(bar->GetPercentPos(), ptpRight);
    EXPECT_FALSE(bar->GetPercent());
    EXPECT_EQ(GetPropertyText(bar, "PosColor"), "clNavy");
    EXPECT_TRUE(IsPropertyDefault(bar, "CaptionColor"));
}
