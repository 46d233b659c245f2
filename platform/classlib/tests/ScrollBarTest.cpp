// TScrollBar: range and position rules, keyboard, arrows, track and thumb.
#include <vector>

#include "ControlFixture.h"
#include "PropertyTable.h"
#include "ScrollBarControl.h"

namespace {

class ScrollBarTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        bar = new TScrollBar(host);
        bar->SetParent(host);
        bar->SetBounds(10, 10, 116, 16);  // arrows of 16, a track of 84
        bar->OnChange = [this](TObject*) { ++changes; };
        bar->SetFocus();
        driver.PumpUntilIdle();
    }
    TScrollBar* bar = nullptr;
    int changes = 0;
};

TEST_F(ScrollBarTest, PositionStaysInTheRangeThePageAllows) {
    struct Case {
        int min, max, page, position;
        int wantMin, wantMax, wantPage, wantPosition;
    };
    const Case cases[] = {
        {0, 100, 0, 150, 0, 100, 0, 100},   {0, 100, 0, -5, 0, 100, 0, 0},
        {0, 100, 10, 100, 0, 100, 10, 91},  {10, 20, 50, 15, 10, 20, 11, 10},
        {50, 20, 0, 30, 20, 20, 0, 20},     {-10, -5, 0, -7, -10, -5, 0, -7},
    };
    for (const Case& c : cases) {
        bar->SetParams(0, 0, 100);
        bar->SetPageSize(0);
        bar->SetMin(c.min);
        bar->SetMax(c.max);
        bar->SetPageSize(c.page);
        bar->SetPosition(c.position);
        EXPECT_EQ(c.wantMin, bar->GetMin()) << c.min << " " << c.max;
        EXPECT_EQ(c.wantMax, bar->GetMax()) << c.min << " " << c.max;
        EXPECT_EQ(c.wantPage, bar->GetPageSize()) << c.min << " " << c.max;
        EXPECT_EQ(c.wantPosition, bar->GetPosition()) << c.min << " " << c.max;
    }
    // Shrinking the range pulls the position in.
    bar->SetParams(80, 0, 100);
    bar->SetMax(50);
    EXPECT_EQ(50, bar->GetPosition());
}

TEST_F(ScrollBarTest, KeysStepByTheChangesAndOnScrollMayAdjust) {
    bar->SetSmallChange(2);
    bar->SetLargeChange(10);
    std::vector<TScrollCode> codes;
    bar->OnScroll = [&](TObject*, TScrollCode code, int& position) {
        codes.push_back(code);
        if (position == 50) position = 55;
    };
    driver.Press(VK_RIGHT);
    driver.Press(VK_NEXT);
    EXPECT_EQ(12, bar->GetPosition());
    driver.Press(VK_END);
    driver.Press(VK_LEFT);
    EXPECT_EQ(98, bar->GetPosition());
    driver.Press(VK_HOME);
    EXPECT_EQ(0, bar->GetPosition());
    EXPECT_EQ((std::vector<TScrollCode>{scLineDown, scPageDown, scBottom, scLineUp, scTop}), codes);
    bar->SetPosition(40);
    driver.Press(VK_NEXT);
    EXPECT_EQ(55, bar->GetPosition());
    EXPECT_EQ(7, changes);
}

TEST_F(ScrollBarTest, TheMouseWorksArrowsTrackAndThumb) {
    bar->SetLargeChange(10);
    HWND window = bar->GetHandle();
    driver.Click(window, 110, 8);
    EXPECT_EQ(1, bar->GetPosition());
    driver.Click(window, 80, 8);  // the track right of the thumb
    EXPECT_EQ(11, bar->GetPosition());
    driver.Click(window, 3, 8);
    EXPECT_EQ(10, bar->GetPosition());
    // Holding an arrow repeats after a first pause.
    driver.MouseDown(window, 110, 8);
    driver.Advance(300);
    EXPECT_EQ(11, bar->GetPosition());
    driver.Advance(700);
    driver.MouseUp(window, 110, 8);
    EXPECT_GT(bar->GetPosition(), 13);
    int released = bar->GetPosition();
    driver.Advance(1000);
    EXPECT_EQ(released, bar->GetPosition());
    // The thumb follows a drag to the far end.
    bar->SetPosition(0);
    std::vector<TScrollCode> codes;
    bar->OnScroll = [&](TObject*, TScrollCode code, int&) { codes.push_back(code); };
    driver.Drag(window, 24, 8, 200, 8);
    EXPECT_EQ(100, bar->GetPosition());
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(scTrack, codes.front());
    EXPECT_EQ(scEndScroll, codes.back());
}

TEST_F(ScrollBarTest, AVerticalKindSwapsTheSizeAndStoresItsProperties) {
    bar->SetKind(sbVertical);
    EXPECT_EQ(16, bar->GetWidth());
    EXPECT_EQ(116, bar->GetHeight());
    SetPropertyText(bar, "Max", "20");
    SetPropertyText(bar, "Position", "30");
    EXPECT_EQ("20", GetPropertyText(bar, "Position"));
    EXPECT_EQ("sbVertical", GetPropertyText(bar, "Kind"));
}

}  // namespace
