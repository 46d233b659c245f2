// Tests of TRectScroller: ranges from the rectangle's size through real
// WM_SIZE re-entry, the centred rectangle and its border gaps, painting after
// scrolls, the arrow keys, the mouse in rectangle coordinates and the user
// area's enter and leave events.
#include "RectScroller.h"

#include <string>
#include <vector>

#include "RollanFixture.h"

namespace {

// A rectangle scroller of a settable rectangle size that paints the grid in
// rectangle coordinates and counts how deep WMSize re-enters itself.
class TProbeRectScroller : public TRectScroller {
public:
    explicit TProbeRectScroller(TComponent* owner) : TRectScroller(owner) {
        OnGetRectSizes = [this](TRectScroller*, SIZE& size) { size = rectSize; };
        OnPaintRect = [this](TRectScroller*, TCanvas* canvas, POINT, SIZE) {
            PrepareRectDC(canvas->GetHandle());
            PaintGrid(canvas);
        };
    }
    void WMSize(TMessage& message) override {
        ++depth;
        deepest = std::max(deepest, depth);
        TRectScroller::WMSize(message);
        --depth;
    }
    SIZE rectSize{100, 80};
    int depth = 0;
    int deepest = 0;
};

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

class RectScrollerTest : public RollanTest {
protected:
    // A 150 x 100 scroller for a rectangle of the given size.
    TProbeRectScroller* MakeScroller(int width, int height) {
        auto* scroller = new TProbeRectScroller(form);
        scroller->rectSize = SIZE{width, height};
        scroller->SetBounds(10, 10, 150, 100);
        scroller->SetParent(form);
        driver.PumpUntilIdle();
        return scroller;
    }
    void Resize(TProbeRectScroller* scroller, int width, int height) {
        scroller->rectSize = SIZE{width, height};
        scroller->deepest = 0;
        scroller->Refresh();
        driver.PumpUntilIdle();
    }
};

}  // namespace

TEST_F(RectScrollerTest, ASmallRectangleIsCentredBetweenFilledGaps) {
    TProbeRectScroller* scroller = MakeScroller(100, 80);
    std::vector<std::string> gaps;
    scroller->OnPaintBorderGap = [&](TRectScroller*, TCanvas* canvas, RECT r) {
        EXPECT_NE(canvas, nullptr);
        gaps.push_back(Text(r));
    };
    scroller->Repaint();
    driver.PumpUntilIdle();
    EXPECT_EQ(scroller->GetHMax(), 0);
    EXPECT_EQ(scroller->GetVMax(), 0);
    EXPECT_EQ(scroller->GetClientWidth(), 150);
    EXPECT_EQ(scroller->GetRectPos().x, 25);
    EXPECT_EQ(scroller->GetRectPos().y, 10);
    EXPECT_EQ(gaps, (std::vector<std::string>{"(0, 0, 24, 99)", "(125, 0, 149, 99)", "(25, 0, 124, 9)",
                                              "(25, 90, 124, 99)"}));
    EXPECT_EQ(scroller->Point2Rect(0, 0).x, 25);
    EXPECT_EQ(scroller->GetComponentCoord(POINT{3, 4}).y, 14);

    HWND window = scroller->GetHandle();
    const COLORREF black = RGB(0, 0, 0);
    for (POINT gap : {POINT{0, 50}, POINT{24, 50}, POINT{125, 50}, POINT{149, 99}, POINT{60, 9}, POINT{60, 90}})
        EXPECT_EQ(driver.Pixel(window, gap.x, gap.y), black) << gap.x << ", " << gap.y;
    EXPECT_NE(driver.Pixel(window, 25, 10), black);
    EXPECT_NE(driver.Pixel(window, 124, 89), black);

    // Without Centered the rectangle sits at the corner.
    scroller->SetCentered(false);
    EXPECT_EQ(scroller->GetRectPos().x, 0);
    EXPECT_EQ(scroller->GetRectPos().y, 0);
}

TEST_F(RectScrollerTest, RangesFollowTheRectangleWhileBarsComeAndGo) {
    struct Case {
        int width, height;
        int hmax, vmax;
        int clientWidth, clientHeight;
    };
    const Case cases[] = {
        {300, 90, 166, 6, 134, 84}, {100, 80, 0, 0, 150, 100}, {300, 90, 166, 6, 134, 84},
        {100, 300, 0, 200, 134, 100}, {140, 90, 0, 0, 150, 100}, {300, 80, 150, 0, 150, 84},
    };
    TProbeRectScroller* scroller = MakeScroller(20, 20);
    for (const Case& c : cases) {
        Resize(scroller, c.width, c.height);
        EXPECT_EQ(scroller->GetHMax(), c.hmax) << c.width << " x " << c.height;
        EXPECT_EQ(scroller->GetVMax(), c.vmax) << c.width << " x " << c.height;
        EXPECT_EQ(scroller->GetClientWidth(), c.clientWidth) << c.width << " x " << c.height;
        EXPECT_EQ(scroller->GetClientHeight(), c.clientHeight) << c.width << " x " << c.height;
    }
    // The bars appearing sent WM_SIZE from inside WMSize.
    Resize(scroller, 100, 80);
    Resize(scroller, 300, 90);
    EXPECT_GE(scroller->deepest, 2);
    // Any TControl's Refresh runs the ranges again.
    scroller->rectSize = SIZE{100, 80};
    static_cast<TControl*>(scroller)->Refresh();
    EXPECT_EQ(scroller->GetHMax(), 0);
}

TEST_F(RectScrollerTest, TheRectangleIsTwentySquareWithoutASizeHandlerAndInTheDesignState) {
    TProbeRectScroller* scroller = MakeScroller(300, 300);
    scroller->OnGetRectSizes = nullptr;
    EXPECT_EQ(scroller->GetRectSizes().cx, 20);
    EXPECT_EQ(scroller->GetRectSizes().cy, 20);
    scroller->OnGetRectSizes = [](TRectScroller*, SIZE& size) { size = SIZE{300, 300}; };
    bool paintedRect = false;
    scroller->OnPaintRect = [&](TRectScroller*, TCanvas*, POINT, SIZE) { paintedRect = true; };
    form->SetDesigning(true);
    EXPECT_EQ(scroller->GetRectSizes().cx, 20);
    // The design state shows the frame instead of the rectangle.
    scroller->Repaint();
    driver.PumpUntilIdle();
    EXPECT_FALSE(paintedRect);
    EXPECT_EQ(driver.Pixel(scroller->GetHandle(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(driver.Pixel(scroller->GetHandle(), 60, 60), RGB(255, 255, 255));
    form->SetDesigning(false);
}

TEST_F(RectScrollerTest, TheBorderBackgroundChangesOnlyWhileGapsAreFilled) {
    TProbeRectScroller* scroller = MakeScroller(100, 80);
    scroller->SetFillBorderGap(false);
    scroller->SetBorderBkColor(clRed);
    EXPECT_EQ(scroller->GetBorderBkColor(), clWhite);
    scroller->SetFillBorderGap(true);
    scroller->SetBorderBkColor(clRed);
    EXPECT_EQ(scroller->GetBorderBkColor(), clRed);
}

// Scrolled both ways, across gaps and without them, the window shows what a
// full repaint does.
TEST_F(RectScrollerTest, ScrolledPicturesEqualAFullRepaint) {
    struct Case {
        int width, height, bar, code;
    };
    const Case cases[] = {
        {300, 290, SB_VERT, SB_LINEDOWN}, {300, 290, SB_HORZ, SB_PAGEDOWN}, {300, 290, SB_VERT, SB_PAGEUP},
        {300, 290, SB_HORZ, SB_LINEUP},   {100, 300, SB_VERT, SB_PAGEDOWN}, {100, 300, SB_VERT, SB_LINEUP},
        {300, 60, SB_HORZ, SB_PAGEDOWN},  {300, 60, SB_HORZ, SB_LINEUP},
    };
    TProbeRectScroller* scroller = MakeScroller(20, 20);
    for (bool autoScroll : {true, false}) {
        scroller->SetAutoScroll(autoScroll);
        for (const Case& c : cases) {
            Resize(scroller, c.width, c.height);
            scroller->SetVPos(scroller->GetVMax() / 2);
            scroller->SetHPos(scroller->GetHMax() / 2);
            driver.PumpUntilIdle();
            SendScroll(scroller, c.bar, c.code);
            ExpectShowsFullRepaint(scroller, std::to_string(c.width) + " x " + std::to_string(c.height) + " code " +
                                                 std::to_string(c.code));
        }
    }
}

TEST_F(RectScrollerTest, ArrowKeysStepPageAndJump) {
    struct Case {
        UINT modifier;  // 0: none
        UINT key;
        int pageSize, start;
        int vpos, hpos;
    };
    // A 300 x 290 rectangle: HMax 166, VMax 206.
    const Case cases[] = {
        {0, VK_DOWN, 10, 5, 6, 5},          {VK_SHIFT, VK_DOWN, 10, 5, 25, 5}, {VK_CONTROL, VK_DOWN, 10, 5, 205, 5},
        {VK_CONTROL, VK_UP, 10, 50, 0, 50}, {0, VK_RIGHT, 10, 5, 5, 6},        {VK_CONTROL, VK_RIGHT, 10, 5, 5, 165},
        {VK_SHIFT, VK_LEFT, 10, 50, 50, 34}, {VK_SHIFT, VK_DOWN, 0, 5, 206, 5}, {0, VK_NEXT, 10, 5, 5, 5},
        {0, VK_HOME, 10, 5, 5, 5},
    };
    TProbeRectScroller* scroller = MakeScroller(300, 290);
    ASSERT_EQ(scroller->GetHMax(), 166);
    ASSERT_EQ(scroller->GetVMax(), 206);
    scroller->SetKeyScroll(true);
    scroller->SetFocus();
    for (const Case& c : cases) {
        scroller->SetPageSize(c.pageSize);
        scroller->SetVPos(c.start);
        scroller->SetHPos(c.start);
        if (c.modifier)
            driver.Press({c.modifier}, c.key);
        else
            driver.Press(c.key);
        EXPECT_EQ(scroller->GetVPos(), c.vpos) << "key " << c.key << " with " << c.modifier;
        EXPECT_EQ(scroller->GetHPos(), c.hpos) << "key " << c.key << " with " << c.modifier;
    }
}

TEST_F(RectScrollerTest, MouseEventsArriveInRectangleCoordinates) {
    TProbeRectScroller* scroller = MakeScroller(100, 80);
    std::vector<std::string> mouse;
    scroller->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        mouse.push_back("down " + std::to_string(x) + " " + std::to_string(y));
    };
    scroller->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        mouse.push_back("move " + std::to_string(x) + " " + std::to_string(y));
    };
    scroller->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        mouse.push_back("up " + std::to_string(x) + " " + std::to_string(y));
    };
    driver.Click(scroller->GetHandle(), 35, 30);
    EXPECT_EQ(mouse, (std::vector<std::string>{"move 10 20", "down 10 20", "up 10 20"}));

    Resize(scroller, 300, 290);
    scroller->SetVPos(7);
    mouse.clear();
    driver.Click(scroller->GetHandle(), 5, 5);
    EXPECT_EQ(mouse, (std::vector<std::string>{"move 5 12", "down 5 12", "up 5 12"}));
    EXPECT_EQ(scroller->GetMousePos().y, 12);
}

// Each entry fires one enter and each exit one leave, also when the mouse
// first comes in where the rectangle fills the control and when it leaves
// the control from a gap after leaving the rectangle.
TEST_F(RectScrollerTest, EnteringAndLeavingTheRectangleFireOnce) {
    using Events = std::vector<std::string>;
    struct Case {
        int width, height;
        std::vector<POINT> path;  // client points
        Events onPath, offControl;
    };
    const Case cases[] = {
        // Centred 100 x 80 at (25, 10): gap, rectangle, rectangle, gap.
        {100, 80, {{5, 50}, {30, 50}, {60, 50}, {140, 50}}, {"enter", "leave"}, {"enter", "leave"}},
        {100, 80, {{5, 50}, {30, 50}, {60, 50}}, {"enter"}, {"enter", "leave"}},
        // Larger than the control: the rectangle fills it.
        {300, 290, {{20, 20}, {30, 30}, {40, 40}}, {"enter"}, {"enter", "leave"}},
    };
    for (const Case& c : cases) {
        TProbeRectScroller* scroller = MakeScroller(c.width, c.height);
        Events events;
        scroller->OnEnterUserArea = [&](TRectScroller*) { events.push_back("enter"); };
        scroller->OnLeaveUserArea = [&](TRectScroller*) { events.push_back("leave"); };
        for (POINT p : c.path) driver.MoveMouse(scroller->GetHandle(), p.x, p.y);
        EXPECT_EQ(events, c.onPath) << c.width << " x " << c.height << " along " << c.path.size();
        driver.MoveMouse(form->GetHandle(), 300, 250);
        EXPECT_EQ(events, c.offControl) << c.width << " x " << c.height << " along " << c.path.size();
        delete scroller;
    }
}

TEST_F(RectScrollerTest, DialogCodesWantAllKeysAndTheirOwnOptions) {
    TProbeRectScroller* scroller = MakeScroller(100, 80);
    for (int bits = 0; bits < 8; ++bits) {
        const bool keyScroll = bits & 1, wantArrows = bits & 2, wantTab = bits & 4;
        scroller->SetKeyScroll(keyScroll);
        scroller->SetWantArrows(wantArrows);
        scroller->SetWantTab(wantTab);
        const LRESULT expected = DLGC_WANTALLKEYS | (wantArrows ? DLGC_WANTARROWS : 0) | (wantTab ? DLGC_WANTTAB : 0);
        EXPECT_EQ(SendMessageA(scroller->GetHandle(), WM_GETDLGCODE, 0, 0), expected) << "options " << bits;
    }
    // The scroll control's own WantArrows is another field.
    scroller->SetWantArrows(true);
    EXPECT_FALSE(static_cast<TScrollControl*>(scroller)->GetWantArrows());
}
