// Tests of TArrowScroller: stepping with the mouse, auto-repeat, limits and OnChange.
#include "ArrowScroller.h"

#include <vector>

#include "KontrolaFixture.h"
#include "PropertyTable.h"

namespace {

class ArrowScrollerTest : public FormTest {
protected:
    TArrowScroller* MakeScroller(int width, int height, TArrowScrollerDirection direction) {
        TArrowScroller* scroller = Place<TArrowScroller>(20, 20, width, height);
        scroller->SetDirection(direction);
        scroller->OnChange = [this](TObject* sender) {
            reported.push_back(static_cast<TArrowScroller*>(sender)->GetPosition());
        };
        driver.PumpUntilIdle();
        return scroller;
    }
    // Clicks the middle of a button of the scroller.
    void ClickButton(TArrowScroller* scroller, bool up) {
        const RECT r = scroller->ButtonRect(up);
        driver.Click(scroller->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::vector<int> reported;
};

}  // namespace

TEST_F(ArrowScrollerTest, ButtonsShareTheLongerSide) {
    struct Case {
        int width, height;
        TArrowScrollerDirection direction;
        RECT raising;
    };
    const Case cases[] = {
        {89, 24, asdUp, {0, 0, 44, 24}},      {89, 24, asdRight, {44, 0, 89, 24}},
        {25, 105, asdLeft, {0, 0, 25, 52}},  {25, 105, asdDown, {0, 52, 25, 105}},
    };
    for (const Case& c : cases) {
        TArrowScroller* scroller = MakeScroller(c.width, c.height, c.direction);
        const RECT r = scroller->ButtonRect(true);
        EXPECT_EQ(r.left, c.raising.left);
        EXPECT_EQ(r.top, c.raising.top);
        EXPECT_EQ(r.right, c.raising.right);
        EXPECT_EQ(r.bottom, c.raising.bottom);
        delete scroller;
    }
}

TEST_F(ArrowScrollerTest, OnChangeReportsEachNewPosition) {
    TArrowScroller* scroller = MakeScroller(89, 24, asdLeft);
    ClickButton(scroller, true);
    ClickButton(scroller, true);
    ClickButton(scroller, false);
    scroller->SetIncrement(10);
    ClickButton(scroller, true);
    EXPECT_EQ(reported, (std::vector<int>{1, 2, 1, 11}));
    EXPECT_EQ(scroller->GetPosition(), 11);
}

TEST_F(ArrowScrollerTest, HoldingAButtonRepeatsUntilReleased) {
    TArrowScroller* scroller = MakeScroller(25, 105, asdUp);
    const RECT r = scroller->ButtonRect(true);
    HWND window = scroller->GetHandle();
    driver.MouseDown(window, 12, (r.top + r.bottom) / 2);
    EXPECT_EQ(scroller->GetPosition(), 1);
    driver.Advance(TArrowScroller::RepeatDelay);
    EXPECT_EQ(scroller->GetPosition(), 2);
    driver.Advance(TArrowScroller::RepeatInterval * 3);
    EXPECT_EQ(scroller->GetPosition(), 5);
    driver.MouseUp(window, 12, (r.top + r.bottom) / 2);
    driver.Advance(1000);
    EXPECT_EQ(scroller->GetPosition(), 5);
    EXPECT_EQ(reported, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(ArrowScrollerTest, LimitsStopThePositionWithoutEvents) {
    TArrowScroller* scroller = MakeScroller(89, 24, asdUp);
    scroller->SetMin(-2);
    scroller->SetMax(1);
    ClickButton(scroller, true);
    ClickButton(scroller, true);
    ClickButton(scroller, false);
    ClickButton(scroller, false);
    ClickButton(scroller, false);
    ClickButton(scroller, false);
    EXPECT_EQ(reported, (std::vector<int>{1, 0, -1, -2}));
    scroller->SetMax(-5);
    EXPECT_EQ(scroller->GetMin(), -5);
    EXPECT_EQ(scroller->GetPosition(), -5);
    scroller->SetIncrement(0);
    EXPECT_EQ(scroller->GetIncrement(), 1);
}

TEST_F(ArrowScrollerTest, DirectionIsPublished) {
    TArrowScroller* scroller = MakeScroller(89, 24, asdUp);
    SetPropertyText(scroller, "Direction", "asdLeft");
    EXPECT_EQ(scroller->GetDirection(), asdLeft);
    EXPECT_EQ(GetPropertyText(scroller, "Direction"), "asdLeft");
    EXPECT_FALSE(IsPropertyDefault(scroller, "Direction"));
}

TEST_F(ArrowScrollerTest, ArrowKeysStepWhenFocused) {
    TArrowScroller* scroller = MakeScroller(25, 105, asdLeft);
    scroller->SetTabStop(true);
    scroller->SetFocus();
    driver.PumpUntilIdle();
    driver.Press(VK_LEFT);
    driver.Press(VK_LEFT);
    driver.Press(VK_RIGHT);
    driver.Press(VK_UP);  // not an arrow of this scroller
    EXPECT_EQ(reported, (std::vector<int>{1, 2, 1}));
}
