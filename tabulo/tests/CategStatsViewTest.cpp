// Tests of TCategStatsView: the stacked rectangles and their colours, the
// picture, the report of the item under the mouse (after moves, leaves and
// repaints), the column operations, the state record and its damaged forms,
// and the design picture.
#include "CategStatsView.h"

#include <cstdio>
#include <limits>
#include <string>

#include "ViewFixtures.h"

namespace {

const TColor kBackground = 0x101010, kFrame = 0x202080, kCaption = 0x30C030;
const TColor kSilver = 0xC0C0C0, kRed = 0xFF, kNavy = 0x800000;

class CategStatsViewTest : public ViewTest {
protected:
    TCategStatsView* MakeView(int width, int height) {
        auto* view = Place<TCategStatsView>(10, 10, width, height);
        view->SetBkColor(kBackground);
        view->SetFrameColor(kFrame);
        view->SetCapColor(kCaption);
        EXPECT_EQ(view->GetTable().GetHeight(), 5);
        view->OnShowValue = [this](TCategStatsView*, int col, int item, int value, float percent) {
            char text[64];
            std::snprintf(text, sizeof text, "%d %d %d %.1f", col, item, value, double(percent));
            reports.push_back(text);
        };
        return view;
    }
    // 62 x 50 (columns 30 wide, items stacked over 44 - 1 dots): column 0
    // holds 1 and 3, column 1 only zeros.
    TCategStatsView* MakeTwoColumnView() {
        TCategStatsView* view = MakeView(62, 50);
        view->SetColCount(2, false);
        view->SetColCaption(0, "Alpha", false);
        view->SetColCaption(1, "Beta", false);
        view->SetColItemCount(0, 2, false);
        view->SetColItem(0, 0, 1, false);
        view->SetColItem(0, 1, 3, false);
        view->SetColItemCount(1, 3, true);
        reports.clear();
        return view;
    }
    static std::vector<RECT> RectsOf(const std::vector<TCategStatsView::COLRECT>& items) {
        std::vector<RECT> rects;
        for (const auto& item : items) rects.push_back(item.rect);
        return rects;
    }
    std::vector<std::string> reports;
};

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(CategStatsViewTest, ItemsStackByTheirSharesAndTheLastEndsAtTheTop) {
    TCategStatsView* view = MakeTwoColumnView();
    std::vector<TCategStatsView::COLRECT> items;
    view->CalcColRects(items);
    // Base 50 - 2 - 2 = 46; the first item reaches trunc(1 / 4 * 43) = 10, the last 43.
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].rect == (RECT{3, 36, 28, 46}));
    EXPECT_TRUE(items[1].rect == (RECT{3, 3, 28, 36}));
    EXPECT_EQ(items[0].percent, 25.0f);
    EXPECT_EQ(items[1].percent, 75.0f);
    EXPECT_EQ(items[1].value, 3);
    EXPECT_EQ(items[1].item, 1);
    EXPECT_EQ(items[0].color, kSilver);
    EXPECT_EQ(items[1].color, kRed);
}

TEST_F(CategStatsViewTest, ThePictureHasItsFrameItemsAndUpwardCaptions) {
    TCategStatsView* view = MakeTwoColumnView();
    EXPECT_EQ(ViewDots(view, kFrame), Outline(62, 50));
    // Captions from x = left + (right - left - 5) / 2, y = 50 - 2 - 4, reading upwards.
    const Dots alpha = TextDots(view, 13, 44, "Alpha", chrRotate90), beta = TextDots(view, 43, 44, "Beta", chrRotate90);
    EXPECT_EQ(ViewDots(view, kCaption), Joined(alpha, beta));
    EXPECT_EQ(ViewDots(view, kSilver), Without(Rect(3, 37, 28, 46), alpha));
    EXPECT_EQ(ViewDots(view, kRed), Without(Rect(3, 3, 28, 36), alpha));
    view->SetShowCaps(false);
    EXPECT_TRUE(ViewDots(view, kCaption).empty());
    EXPECT_EQ(ViewDots(view, kBackground).size(), 60u * 48u - 26u * 44u);
}

TEST_F(CategStatsViewTest, TheMouseReportsTheItemUnderItAndLeavingReportsNone) {
    TCategStatsView* view = MakeTwoColumnView();
    MoveOver(view, 10, 20);
    MoveOver(view, 10, 40);
    MoveOver(view, 40, 40);  // the column of zeros has no items
    MoveOver(view, 10, 20);
    driver.MoveMouse(form->GetHandle(), 300, 200);
    EXPECT_EQ(reports, (std::vector<std::string>{"0 1 3 75.0", "0 0 1 25.0", "-1 -1 -1 -1.0", "0 1 3 75.0",
                                                 "-1 -1 -1 -1.0"}));
}

TEST_F(CategStatsViewTest, EveryRepaintReportsTheItemNowUnderTheMouse) {
    TCategStatsView* view = MakeTwoColumnView();
    MoveOver(view, 10, 20);
    // Item 0 grows to 30 of 33: it now reaches trunc(30 / 33 * 43) = 39 above the base, y = 7.
    view->SetColItem(0, 0, 30, true);
    view->ClearValues(true);
    EXPECT_EQ(reports, (std::vector<std::string>{"0 1 3 75.0", "0 0 30 90.9", "-1 -1 -1 -1.0"}));
}

TEST_F(CategStatsViewTest, AHandlerThatRepaintsIsNotReportedToAgain) {
    TCategStatsView* view = MakeTwoColumnView();
    int reported = 0;
    view->OnShowValue = [&](TCategStatsView* sender, int, int, int, float) {
        ++reported;
        sender->SetColItem(0, 1, 5, true);
    };
    MoveOver(view, 10, 20);
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(view->GetColItem(0, 1), 5);
    // The repaint inside the handler painted: item 1 is now 5 of 6, from y = 3 to 39.
    EXPECT_EQ(ViewPixel(view, 10, 38), kRed);
    view->Refresh();
    EXPECT_EQ(reported, 2);
}

TEST_F(CategStatsViewTest, ColoursRepeatOverTheItemsAndAnEmptyListTakesThePalette) {
    TCategStatsView* view = MakeView(100, 80);
    view->SetColCount(2, false);
    for (int col = 0; col < 2; ++col) {
        view->SetColItemCount(col, 5, false);
        for (int item = 0; item < 5; ++item) view->SetColItem(col, item, 1, false);
    }
    const TColor three[] = {0x111111, 0x222222, 0x333333};
    view->SetColColors(0, three, 3, false);
    view->SetColColors(1, three, 0, true);
    std::vector<TColor> colours;
    for (const auto& item : view->GetColRects()) colours.push_back(item.color);
    EXPECT_EQ(colours, (std::vector<TColor>{0x111111, 0x222222, 0x333333, 0x111111, 0x222222,
                                            kSilver, kRed, kNavy, 0xFFFF, 0x8000}));
}

TEST_F(CategStatsViewTest, AnEmptyListWithAnEmptyPaletteColoursBlack) {
    TCategStatsView* view = MakeView(100, 80);
    TMemBuffer record;
    record.AddInt(0);  // no palette
    record.AddInt(1);  // one colour list, empty
    record.AddInt(0);
    record.AddInt(1);  // one column with one item
    record.AddInt(1);
    record.AddInt(4);
    record.AddInt(0);  // no captions
    for (int value : {int(kBackground), int(kFrame), int(kCaption), 1, 2, 2}) record.AddInt(value);
    ASSERT_TRUE(view->SetState(record));
    ASSERT_EQ(view->GetColRects().size(), 1u);
    EXPECT_EQ(view->GetColRects()[0].color, clBlack);
    EXPECT_EQ(view->GetColCaption(0), "");
}

TEST_F(CategStatsViewTest, ANewColumnCountResetsTheColoursAndTheSameCountKeepsThem) {
    TCategStatsView* view = MakeTwoColumnView();
    const TColor one[] = {0x123456};
    view->SetColColors(0, one, 1, false);
    view->SetColCount(2, false);
    EXPECT_EQ(view->GetColColors(0), (std::vector<TColor>{0x123456}));
    view->SetColCount(3, false);
    for (int col = 0; col < 3; ++col) EXPECT_EQ(view->GetColColors(col), view->GetDefaultPalette()) << col;
    EXPECT_EQ(view->GetColItem(0, 1), 3);
    EXPECT_EQ(view->GetColCaption(0), "Alpha");
    EXPECT_EQ(view->GetColItemCount(2), 0);
    EXPECT_EQ(view->GetColCaption(2), "");
    view->AssignColors(one, 1, false);
    for (int col = 0; col < 3; ++col) EXPECT_EQ(view->GetColColors(col), (std::vector<TColor>{0x123456})) << col;
    EXPECT_EQ(view->GetDefaultPalette().size(), 5u);
}

TEST_F(CategStatsViewTest, OutOfRangeIndicesAndNegativeCountsChangeNothing) {
    TCategStatsView* view = MakeTwoColumnView();
    TMemBuffer before;
    view->GetState(before);
    const TColor one[] = {0x123456};
    view->SetColCount(-1, true);
    view->SetColItemCount(0, -1, true);
    view->SetColItemCount(2, 4, true);
    view->SetColItem(0, 2, 9, true);
    view->SetColItem(-1, 0, 9, true);
    view->IncColItem(0, -1, 9, true);
    view->SetColCaption(2, "Gamma", true);
    view->SetColColors(2, one, 1, true);
    view->SetColColors(0, one, -1, true);
    view->SetColColors(0, nullptr, 1, true);
    view->AssignColors(one, -2, true);
    TMemBuffer after;
    view->GetState(after);
    EXPECT_EQ(BufferBytes(after), BufferBytes(before));
    EXPECT_EQ(view->GetColItemCount(2), -1);
    EXPECT_EQ(view->GetColItem(0, 2), -1);
    EXPECT_EQ(view->GetColItem(-1, 0), -1);
    EXPECT_EQ(view->GetColCaption(5), "");
    view->IncColItem(0, 0, 4, false);
    EXPECT_EQ(view->GetColItem(0, 0), 5);
}

TEST_F(CategStatsViewTest, AViewNarrowerThanTwoPixelsGivesColumnsOfNoWidth) {
    TCategStatsView* view = MakeView(1, 40);
    view->SetColCount(3, false);
    for (int col = 0; col < 3; ++col) {
        view->SetColItemCount(col, 1, false);
        view->SetColItem(col, 0, 2, false);
    }
    view->Refresh();
    std::vector<TCategStatsView::COLRECT> items;
    view->CalcColRects(items);
    ASSERT_EQ(items.size(), 3u);
    // (1 - 2) / 3 is 0: every column from 0 * 0 + 2 + 1 to 0 - 2.
    for (const auto& item : items) {
        EXPECT_EQ(item.rect.left, 3);
        EXPECT_EQ(item.rect.right, -2);
    }
    MoveOver(view, 0, 20);
    EXPECT_EQ(reports.back(), "-1 -1 -1 -1.0");
}

TEST_F(CategStatsViewTest, AStateRecordRestoresTheSamePictureAndTheSameRecord) {
    TCategStatsView* source = MakeTwoColumnView();
    const TColor colours[] = {0x0A0B0C, 0x102030};
    source->SetColColors(1, colours, 2, false);
    source->SetColItem(1, 2, 7, false);
    source->SetHGap(3);
    source->SetColCaption(1, "", true);
    TCategStatsView* target = MakeView(62, 50);
    ExpectStateRoundTrip(source, target);
    EXPECT_EQ(target->GetHGap(), 3);
    EXPECT_EQ(target->GetColColors(1), (std::vector<TColor>{0x0A0B0C, 0x102030}));
}

TEST_F(CategStatsViewTest, RestoredColoursAndCaptionsAreFittedToTheItemColumns) {
    TCategStatsView* view = MakeView(100, 80);
    TMemBuffer record;
    record.AddInt(1);
    record.AddInt(0x445566);  // the palette
    record.AddInt(1);         // colours for one column only
    record.AddInt(1);
    record.AddInt(0x010203);
    record.AddInt(3);  // three item columns
    for (int col = 0; col < 3; ++col) {
        record.AddInt(1);
        record.AddInt(col + 1);
    }
    record.AddInt(4);  // four captions, the second empty (read as null)
    for (const char* caption : {"One", "", "Three", "Four"}) record.AddString(caption);
    for (int value : {1, 2, 3, 0, 4, 5}) record.AddInt(value);
    ASSERT_TRUE(view->SetState(record));
    EXPECT_EQ(view->GetColCount(), 3);
    EXPECT_EQ(view->GetColColors(0), (std::vector<TColor>{0x010203}));
    EXPECT_EQ(view->GetColColors(2), (std::vector<TColor>{0x445566}));
    EXPECT_EQ(view->GetColCaption(1), "");
    EXPECT_EQ(view->GetColCaption(2), "Three");
    EXPECT_EQ(view->GetColCaption(3), "");
    EXPECT_FALSE(view->GetFShowCaptions());
    EXPECT_EQ(view->GetVGap(), 5);
}

// Items restored at the ends of the int range saturate when added to.
TEST_F(CategStatsViewTest, AddingToRestoredItemsAtTheLimitSaturates) {
    const int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
    struct Case {
        int stored, delta, expected;
    } const cases[] = {
        {kMax, 1, kMax}, {kMax, kMax, kMax}, {kMin, -1, kMin}, {-5, kMin, kMin}, {kMax, kMin, -1}, {kMax - 2, 1, kMax - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stored) + " + " + std::to_string(c.delta));
        TCategStatsView* source = MakeView(62, 50);
        source->SetColCount(1, false);
        source->SetColItemCount(0, 2, false);
        source->SetColItem(0, 0, c.stored, false);
        source->SetColItem(0, 1, kMax, false);
        TMemBuffer record;
        source->GetState(record);
        TCategStatsView* view = MakeView(62, 50);
        ASSERT_TRUE(view->SetState(record));
        view->IncColItem(0, 0, c.delta, true);
        EXPECT_EQ(view->GetColItem(0, 0), c.expected);
        view->IncColItem(0, 1, 1, true);
        EXPECT_EQ(view->GetColItem(0, 1), kMax);
        delete source;
        delete view;
    }
}

TEST_F(CategStatsViewTest, DamagedStateRecordsChangeNothingOrRestoreAConsistentState) {
    TCategStatsView* source = MakeTwoColumnView();
    source->SetColItem(1, 1, 4, true);
    TMemBuffer record;
    source->GetState(record);
    TCategStatsView* view = MakeView(62, 50);
    view->SetColCount(1, false);
    const TDamageOutcome outcome = OfferDamagedRecords(view, record, [this](TCategStatsView* restored) {
        for (int col = 0; col < restored->GetColCount(); ++col) {
            EXPECT_GE(restored->GetColItemCount(col), 0);
            restored->GetColCaption(col);
            restored->GetColColors(col);
        }
        MoveOver(restored, 10, 20);
    });
    EXPECT_GT(outcome.refused, 0);
    EXPECT_GT(outcome.restored, 0);
}

TEST_F(CategStatsViewTest, TheDesignPictureShowsFourSampleColumnsWithCaptionsSetDotByDot) {
    form->SetDesigning(true);
    TCategStatsView* view = MakeView(120, 100);
    MemoryPicture picture(120, 100);
    view->GetCanvas()->SetHandle(picture.Dc());
    view->DesignPaint();
    view->GetCanvas()->SetHandle(nullptr);
    form->SetDesigning(false);
    EXPECT_EQ(view->GetColCount(), 4);
    EXPECT_EQ(view->GetColCaption(3), "Fourth");
    EXPECT_EQ(picture.Pixel(0, 0), kFrame);
    EXPECT_EQ(picture.Pixel(1, 1), kBackground);
    // Columns (120 - 2) / 4 = 29 wide; captions from x = left + (right - left - 5) / 2, y = 94.
    Dots captions;
    const char* names[] = {"First", "Second", "Third", "Fourth"};
    for (int col = 0; col < 4; ++col) {
        const int left = 29 * col + 3, right = 29 * (col + 1) - 2;
        captions = Joined(captions, TextDots(view, left + (right - left - 5) / 2, 94, names[col], chrRotate90));
    }
    Dots drawn;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 120; ++x)
            if (picture.Pixel(x, y) == kCaption) drawn.insert({x, y});
    EXPECT_EQ(drawn, captions);
    std::vector<TCategStatsView::COLRECT> items;
    view->CalcColRects(items);
    ASSERT_EQ(items.size(), 15u);
    // Each item's lower right corner is its own (the next item starts on its
    // top row), and the top item's upper left corner too.
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        Dots corners = {{item.rect.right, item.rect.bottom}};
        if (i + 1 == items.size() || items[i + 1].col != item.col) corners.insert({item.rect.left, item.rect.top});
        for (const auto& dot : Without(corners, captions))
            EXPECT_EQ(picture.Pixel(dot.first, dot.second), item.color) << item.col << " " << item.item;
    }
}

TEST(CategStatsViewPixelSetter, SetsAZoomedBlockForEveryPointWithinTheThickness) {
    MemoryPicture picture(20, 20);
    const TCategStatsView::TDCPixelSetter setter{picture.Dc(), 0x0000FF, 2, 1, 1, 2};
    setter.Set(3, 2, -1);
    // Points (2..4, 1..3), offset by (1, 2) and doubled: x 6..11, y 6..11.
    int red = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 6 && x <= 11 && y >= 6 && y <= 11;
            red += picture.Pixel(x, y) == 0x0000FF;
            if (inside) {
                EXPECT_EQ(picture.Pixel(x, y), 0x0000FF) << x << "," << y;
            }
        }
    EXPECT_EQ(red, 36);
    setter.Set(0, 0, 0x00FF00);
    EXPECT_EQ(picture.Pixel(0, 2), 0x00FF00);
    const TCategStatsView::TDCPixelSetter none{nullptr, 0x0000FF, 1, 0, 0, 0};
    none.Set(0, 0, -1);
}

}  // namespace
