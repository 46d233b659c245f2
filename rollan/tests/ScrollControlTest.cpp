// Tests of TScrollControl: ranges and bars, keys, the wheel, the scroll codes
// and their events, strip painting and skipped paints, the mouse and the
// design frame.
#include "ScrollControl.h"

#include <string>
#include <vector>

#include "Menus.h"
#include "Responder.h"
#include "RollanFixture.h"

namespace {

// A scroll control that records every Paint: whether it was a strip paint,
// the strip, the clip box in client pixels and whether OnPaint ran.
class TProbeScroller : public TScrollControl {
public:
    explicit TProbeScroller(TComponent* owner) : TScrollControl(owner) {
        OnPaint = [this](TScrollControl*, TCanvas* canvas) {
            PaintGrid(canvas);
            ++onPaintCalls;
        };
    }
    struct TPaintSeen {
        bool strip;
        RECT stripRect;
        RECT clip;
        bool drew;
    };
    std::vector<TPaintSeen> paints;
    std::vector<int> shiftWheels;
    int onPaintCalls = 0;

    // The strip paints among the recorded paints.
    std::vector<TPaintSeen> Strips() const {
        std::vector<TPaintSeen> strips;
        for (const TPaintSeen& seen : paints)
            if (seen.strip) strips.push_back(seen);
        return strips;
    }

protected:
    void Paint() override {
        const int before = onPaintCalls;
        TScrollControl::Paint();
        HDC dc = GetCanvas()->GetHandle();
        RECT box{0, 0, 0, 0};
        GetClipBox(dc, &box);
        POINT origin{0, 0};
        GetViewportOrgEx(dc, &origin);
        const RECT clip{box.left + origin.x, box.top + origin.y, box.right + origin.x, box.bottom + origin.y};
        paints.push_back(TPaintSeen{FPaintingStrip, FStripRect, clip, onPaintCalls != before});
    }
    void ShiftWheel(int steps) override { shiftWheels.push_back(steps); }
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

SCROLLINFO BarInfo(TScrollControl* control, int bar) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(control->GetHandle(), bar, &info);
    return info;
}

class ScrollControlTest : public RollanTest {
protected:
    // A 200 x 150 control (both bars shown: client 184 x 134) logging its events.
    TProbeScroller* MakeScroller() {
        TProbeScroller* scroller = Place<TProbeScroller>(10, 10, 200, 150);
        auto logger = [this](const char* name) {
            return [this, name](TScrollControl*, TScrollBarKind kind, int position, TCanvas* canvas) {
                EXPECT_NE(canvas, nullptr);
                log.push_back(std::string(name) + " " + std::to_string(kind) + " " + std::to_string(position));
            };
        };
        scroller->OnBeforeScroll = logger("before");
        scroller->OnScroll = logger("scroll");
        scroller->OnAfterScroll = logger("after");
        scroller->OnBeforeDrag = logger("beforedrag");
        scroller->OnAfterDrag = logger("afterdrag");
        return scroller;
    }
    std::vector<std::string> log;
};

}  // namespace

TEST_F(ScrollControlTest, TheBarsFollowTheRangeSetters) {
    TProbeScroller* scroller = MakeScroller();
    SCROLLINFO info = BarInfo(scroller, SB_VERT);
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 163);
    EXPECT_EQ(info.nPage, 64u);
    scroller->SetVPos(1000);
    EXPECT_EQ(scroller->GetVPos(), 100);
    EXPECT_EQ(BarInfo(scroller, SB_VERT).nPos, 100);

    log.clear();
    scroller->SetVMax(40);  // below the position: the position moves first, quietly
    EXPECT_EQ(scroller->GetVPos(), 40);
    EXPECT_EQ(BarInfo(scroller, SB_VERT).nPos, 40);
    EXPECT_EQ(BarInfo(scroller, SB_VERT).nMax, 103);
    scroller->SetVMin(-1);
    scroller->SetVMin(41);
    scroller->SetVMax(-5);
    EXPECT_EQ(scroller->GetVMin(), 0);
    EXPECT_EQ(scroller->GetVMax(), 40);
    EXPECT_EQ(BarInfo(scroller, SB_VERT).nMin, 0);
    scroller->SetHPos(30);
    scroller->SetHMin(35);  // above the position: the position moves up first
    EXPECT_EQ(scroller->GetHPos(), 35);
    EXPECT_EQ(BarInfo(scroller, SB_HORZ).nMin, 35);
    EXPECT_EQ(log, (std::vector<std::string>{"before 0 0", "scroll 0 30", "after 0 30"}));
}

TEST_F(ScrollControlTest, ValuesSetBeforeTheWindowExistsReachTheBars) {
    auto* scroller = new TScrollControl(form);
    scroller->SetBounds(10, 10, 200, 150);
    scroller->SetVMax(200);
    scroller->SetVMin(150);
    scroller->SetVPos(180);
    scroller->SetHMax(50);
    scroller->SetHPos(20);
    EXPECT_FALSE(scroller->HandleAllocated());
    EXPECT_EQ(scroller->GetSBPosition(SB_VERT), 180);
    scroller->SetParent(form);
    driver.PumpUntilIdle();
    const SCROLLINFO vertical = BarInfo(scroller, SB_VERT);
    EXPECT_EQ(vertical.nMin, 150);
    EXPECT_EQ(vertical.nMax, 263);
    EXPECT_EQ(vertical.nPos, 180);
    EXPECT_EQ(BarInfo(scroller, SB_HORZ).nPos, 20);
    EXPECT_EQ(scroller->GetVPos(), 180);
}

TEST_F(ScrollControlTest, NavigationKeysScrollWithKeyScroll) {
    struct Case {
        int vmin, vmax, start;
        UINT key;
        bool ctrl;
        int vpos, hpos;
    };
    const Case cases[] = {
        {5, 100, 50, VK_HOME, false, 5, 0},  {0, 100, 0, VK_DOWN, true, 10, 0},  {0, 8, 3, VK_DOWN, true, 3, 0},
        {0, 100, 0, VK_NEXT, false, 10, 0},  {0, 100, 5, VK_PRIOR, false, 0, 0}, {0, 100, 0, VK_END, false, 100, 0},
        {0, 100, 0, VK_DOWN, false, 1, 0},   {0, 100, 0, VK_UP, false, 0, 0},    {0, 100, 0, VK_RIGHT, false, 0, 1},
        {0, 100, 0, VK_RIGHT, true, 0, 10},
    };
    TProbeScroller* scroller = MakeScroller();
    scroller->SetKeyScroll(true);
    scroller->SetFocus();
    for (const Case& c : cases) {
        scroller->SetVMax(c.vmax);
        scroller->SetVMin(c.vmin);
        scroller->SetVPos(c.start);
        scroller->SetHPos(0);
        if (c.ctrl)
            driver.Press({VK_CONTROL}, c.key);
        else
            driver.Press(c.key);
        EXPECT_EQ(scroller->GetVPos(), c.vpos) << "key " << c.key << " from " << c.start;
        EXPECT_EQ(scroller->GetHPos(), c.hpos) << "key " << c.key;
        scroller->SetVMin(0);
    }
    scroller->SetKeyScroll(false);
    driver.Press(VK_DOWN);
    EXPECT_EQ(scroller->GetVPos(), 0);
}

TEST_F(ScrollControlTest, TheWheelScrollsThreeUnitsANotch) {
    struct Case {
        int delta;
        UINT modifier;  // 0: none
        int vpos, hpos;
        std::vector<int> shiftWheels;
    };
    const Case cases[] = {
        {120, 0, 7, 10, {}},          {60, 0, 10, 10, {}},          {-120, 0, 13, 10, {}},
        {-240, 0, 16, 10, {}},        {120, VK_LCONTROL, 10, 7, {}}, {120, VK_LSHIFT, 10, 10, {-3}},
        {120, VK_RCONTROL, 7, 10, {}}, {120, VK_RSHIFT, 7, 10, {}},
    };
    TProbeScroller* scroller = MakeScroller();
    scroller->SetFocus();
    for (const Case& c : cases) {
        scroller->SetVPos(10);
        scroller->SetHPos(10);
        scroller->shiftWheels.clear();
        if (c.modifier) driver.KeyDown(c.modifier);
        driver.WheelDelta(scroller->GetHandle(), 20, 20, c.delta);
        if (c.modifier) driver.KeyUp(c.modifier);
        EXPECT_EQ(scroller->GetVPos(), c.vpos) << "delta " << c.delta << " key " << c.modifier;
        EXPECT_EQ(scroller->GetHPos(), c.hpos) << "delta " << c.delta << " key " << c.modifier;
        EXPECT_EQ(scroller->shiftWheels, c.shiftWheels) << "delta " << c.delta << " key " << c.modifier;
    }
}

TEST_F(ScrollControlTest, EachScrollCodeFiresItsEvents) {
    struct Case {
        int code;
        int newPos;
        std::vector<std::string> events;  // with K for the bar
    };
    const Case cases[] = {
        {SB_LINEUP, 49, {"before K 50", "scroll K 49", "after K 49"}},
        {SB_LINEDOWN, 51, {"before K 50", "scroll K 51", "after K 51"}},
        {SB_PAGEUP, 40, {"before K 50", "scroll K 40", "after K 40"}},
        {SB_PAGEDOWN, 60, {"before K 50", "scroll K 60", "after K 60"}},
        {SB_TOP, 50, {"before K 50", "scroll K 50", "after K 50"}},
        {SB_BOTTOM, 50, {"before K 50", "scroll K 50", "after K 50"}},
        {SB_ENDSCROLL, 50, {}},
        {SB_THUMBTRACK, 50, {"beforedrag K 50", "before K 50", "scroll K 50", "after K 50"}},
        {SB_THUMBPOSITION, 50, {"afterdrag K 50", "before K 50", "scroll K 50", "after K 50"}},
    };
    TProbeScroller* scroller = MakeScroller();
    for (int bar : {SB_HORZ, SB_VERT}) {
        for (const Case& c : cases) {
            if (bar == SB_VERT) scroller->SetVPos(50); else scroller->SetHPos(50);
            log.clear();
            SendScroll(scroller, bar, c.code);
            std::vector<std::string> expected;
            for (std::string event : c.events) expected.push_back(event.replace(event.find('K'), 1, std::to_string(bar)));
            EXPECT_EQ(log, expected) << "bar " << bar << " code " << c.code;
            EXPECT_EQ(bar == SB_VERT ? scroller->GetVPos() : scroller->GetHPos(), c.newPos) << "code " << c.code;
        }
    }
}

TEST_F(ScrollControlTest, ScrollingTakesTheFocusOnlyWithTabStop) {
    TProbeScroller* scroller = MakeScroller();
    scroller->SetTabStop(false);
    SendScroll(scroller, SB_VERT, SB_LINEDOWN);
    EXPECT_FALSE(scroller->Focused());
    scroller->SetTabStop(true);
    SendScroll(scroller, SB_VERT, SB_LINEDOWN);
    EXPECT_TRUE(scroller->Focused());
    scroller->SetEnabled(false);
    log.clear();
    SendScroll(scroller, SB_VERT, SB_LINEDOWN);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(scroller->GetVPos(), 2);
}

// Line and page codes on both bars, in both directions: one strip paint of
// the uncovered strip with the canvas clipped to it, and then the window shows
// what a full repaint does.
TEST_F(ScrollControlTest, AScrollPaintsOnlyTheUncoveredStrip) {
    struct Case {
        int bar, code;
        RECT strip;  // client 184 x 134; steps 5 across, 3 down; pages 10
    };
    const Case cases[] = {
        {SB_VERT, SB_LINEDOWN, {0, 131, 184, 134}}, {SB_VERT, SB_LINEUP, {0, 0, 184, 3}},
        {SB_HORZ, SB_LINEDOWN, {179, 0, 184, 134}}, {SB_HORZ, SB_LINEUP, {0, 0, 5, 134}},
        {SB_VERT, SB_PAGEDOWN, {0, 104, 184, 134}}, {SB_HORZ, SB_PAGEUP, {0, 0, 50, 134}},
    };
    for (bool autoScroll : {true, false}) {
        TProbeScroller* scroller = MakeScroller();
        scroller->SetVScrollStep(3);
        scroller->SetHScrollStep(5);
        scroller->SetAutoScroll(autoScroll);
        scroller->SetVPos(20);
        scroller->SetHPos(20);
        driver.PumpUntilIdle();
        for (const Case& c : cases) {
            scroller->paints.clear();
            SendScroll(scroller, c.bar, c.code);
            const auto strips = scroller->Strips();
            ASSERT_EQ(strips.size(), 1u) << "code " << c.code;
            EXPECT_TRUE(SameRect(strips[0].stripRect, c.strip)) << Text(strips[0].stripRect);
            EXPECT_TRUE(SameRect(strips[0].clip, c.strip)) << "clip " << Text(strips[0].clip);
            EXPECT_TRUE(strips[0].drew);
            ExpectShowsFullRepaint(scroller, "bar " + std::to_string(c.bar) + " code " + std::to_string(c.code));
        }
        delete scroller;
    }
}

TEST_F(ScrollControlTest, WithoutAutoScrollTheThumbMovesAloneAndThePictureJumpsOnce) {
    TProbeScroller* scroller = MakeScroller();
    scroller->SetVScrollStep(3);
    scroller->SetAutoScroll(false);
    driver.PumpUntilIdle();
    log.clear();
    scroller->paints.clear();
    const POINT grab = BarPoint(scroller, SB_VERT, 16 + 4);
    driver.MouseDownOnScreen(grab);
    for (int dy = 3; dy <= 12; dy += 3) driver.MoveMouseOnScreen(POINT{grab.x, grab.y + dy});
    std::vector<int> tracked;
    for (const std::string& entry : log)
        if (entry.rfind("scroll 1 ", 0) == 0) tracked.push_back(std::stoi(entry.substr(9)));
    ASSERT_GE(tracked.size(), 3u);
    for (size_t i = 1; i < tracked.size(); ++i) EXPECT_GT(tracked[i], tracked[i - 1]);
    EXPECT_TRUE(scroller->Strips().empty()) << "the picture moved during the drag";
    driver.MouseUpOnScreen(POINT{grab.x, grab.y + 12});

    const int final = scroller->GetVPos();
    EXPECT_EQ(final, tracked.back());
    EXPECT_EQ(BarInfo(scroller, SB_VERT).nPos, final);
    const auto strips = scroller->Strips();
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_TRUE(SameRect(strips[0].stripRect, RECT{0, 134 - 3 * final, 184, 134})) << Text(strips[0].stripRect);
    ExpectShowsFullRepaint(scroller, "thumb drag without AutoScroll");

    // A thumb release with no drag under way keeps the picture where the bar is.
    scroller->paints.clear();
    SendScroll(scroller, SB_VERT, SB_THUMBPOSITION);
    EXPECT_EQ(scroller->GetVPos(), final);
    for (const auto& seen : scroller->Strips()) EXPECT_EQ(seen.stripRect.bottom - seen.stripRect.top, 0);
    ExpectShowsFullRepaint(scroller, "thumb release alone");
}

TEST_F(ScrollControlTest, WithAutoScrollThePictureFollowsTheThumb) {
    TProbeScroller* scroller = MakeScroller();
    scroller->SetHScrollStep(2);
    driver.PumpUntilIdle();
    scroller->paints.clear();
    const POINT grab = BarPoint(scroller, SB_HORZ, 16 + 4);
    driver.MouseDownOnScreen(grab);
    for (int dx = 4; dx <= 16; dx += 4) {
        driver.MoveMouseOnScreen(POINT{grab.x + dx, grab.y});
        ExpectShowsFullRepaint(scroller, "track step " + std::to_string(dx));
    }
    driver.MouseUpOnScreen(POINT{grab.x + 16, grab.y});
    EXPECT_GE(scroller->Strips().size(), 4u);
    EXPECT_GT(scroller->GetHPos(), 0);
    ExpectShowsFullRepaint(scroller, "thumb released");
}

// With AutoScroll off the paint the window system asks for after a strip
// paint is skipped once. A scroll that moves nothing uncovers nothing, so the
// next paint must run.
TEST_F(ScrollControlTest, WithoutAutoScrollOnlyThePaintAfterAStripIsSkipped) {
    TProbeScroller* scroller = MakeScroller();
    scroller->SetAutoScroll(false);
    driver.PumpUntilIdle();
    scroller->paints.clear();
    SendScroll(scroller, SB_VERT, SB_LINEDOWN);
    driver.PumpUntilIdle();
    ASSERT_EQ(scroller->paints.size(), 2u);
    EXPECT_TRUE(scroller->paints[0].strip && scroller->paints[0].drew);
    EXPECT_FALSE(scroller->paints[1].strip || scroller->paints[1].drew);
    scroller->Invalidate();
    driver.PumpUntilIdle();
    EXPECT_TRUE(scroller->paints.back().drew);

    SendScroll(scroller, SB_VERT, SB_LINEUP);
    driver.PumpUntilIdle();
    for (int code : {SB_TOP, SB_BOTTOM, SB_LINEUP}) {  // at the minimum: nothing moves
        log.clear();
        SendScroll(scroller, SB_VERT, code);
        EXPECT_EQ(log.size(), 3u) << "code " << code;
        scroller->paints.clear();
        scroller->Invalidate();
        driver.PumpUntilIdle();
        ASSERT_FALSE(scroller->paints.empty());
        EXPECT_TRUE(scroller->paints.back().drew) << "the paint after code " << code << " was swallowed";
    }
}

// A scroll page of 0 puts the bar's top one short of VMax; further lines down
// must neither move the picture nor leave VPos off the bar.
TEST_F(ScrollControlTest, AtTheBarsEndLinesDownMoveNothing) {
    TProbeScroller* scroller = MakeScroller();
    scroller->SetVScrollStep(2);
    scroller->SetVScrollPage(0);
    scroller->SetVMax(100);  // applies the scroll page to the bar
    scroller->SetVPos(100);
    driver.PumpUntilIdle();
    EXPECT_EQ(scroller->GetVPos(), 99);
    for (int i = 0; i < 3; ++i) {
        scroller->paints.clear();
        SendScroll(scroller, SB_VERT, SB_LINEDOWN);
        EXPECT_EQ(scroller->GetVPos(), 99);
        EXPECT_EQ(BarInfo(scroller, SB_VERT).nPos, 99);
        for (const auto& seen : scroller->Strips()) EXPECT_EQ(seen.stripRect.bottom - seen.stripRect.top, 0);
        ExpectShowsFullRepaint(scroller, "line down at the end");
    }
}

TEST_F(ScrollControlTest, MouseEventsArriveInScrolledAreaCoordinates) {
    TProbeScroller* scroller = MakeScroller();
    scroller->SetVScrollStep(3);
    scroller->SetHScrollStep(5);
    scroller->SetVPos(10);
    scroller->SetHPos(4);
    std::vector<std::string> mouse;
    scroller->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int x, int y) {
        mouse.push_back("down " + std::to_string(button) + " " + std::to_string(x) + " " + std::to_string(y));
    };
    scroller->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        mouse.push_back("up " + std::to_string(x) + " " + std::to_string(y));
    };
    scroller->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        mouse.push_back("move " + std::to_string(x) + " " + std::to_string(y));
    };
    driver.Click(scroller->GetHandle(), 20, 30);
    EXPECT_EQ(mouse, (std::vector<std::string>{"move 40 60", "down 0 40 60", "up 40 60"}));
    EXPECT_EQ(scroller->GetMousePos().x, 40);
    EXPECT_EQ(scroller->GetAbsMousePos().y, 30);
    EXPECT_EQ(scroller->AbsPoint(POINT{40, 60}).y, 30);

    // A work area smaller than the window is centred and counts from its corner.
    scroller->SetWorkAreaSizes(POINT{100, 50});
    EXPECT_EQ(scroller->GetHMax(), 0);
    EXPECT_EQ(scroller->GetVMax(), 0);
    EXPECT_EQ(scroller->GetClientWidth(), 200);  // no range left: both bars gone
    EXPECT_EQ(scroller->GetWorkAreaPos().x, 50);
    EXPECT_EQ(scroller->GetWorkAreaPos().y, 50);
    EXPECT_EQ(scroller->RelPoint(60, 70).x, 10);
    EXPECT_EQ(scroller->AbsPoint(POINT{10, 20}).y, 70);
    scroller->SetWorkAreaSizes(POINT{100, -1});  // half a work area is none
    EXPECT_EQ(scroller->GetWorkAreaPos().x, 0);
    EXPECT_EQ(scroller->RelPoint(60, 70).x, 60);
}

TEST_F(ScrollControlTest, ARightPressOpensThePopupMenuOnceAtScreenCoordinates) {
    // Records where each Popup was asked to open.
    class TRecordingMenu : public TPopupMenu {
    public:
        using TPopupMenu::TPopupMenu;
        void Popup(int x, int y) override {
            points.push_back(POINT{x, y});
            TPopupMenu::Popup(x, y);
        }
        std::vector<POINT> points;
    };
    TProbeScroller* scroller = MakeScroller();
    auto* menu = new TRecordingMenu(form);
    menu->GetItems()->Add("Item");
    scroller->SetPopupMenu(menu);
    int downs = 0;
    scroller->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    int shown = 0;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::PopupMenu) ++shown;
        return win32::ModalReply::Answer(0);
    });
    driver.Click(scroller->GetHandle(), 30, 40, 1);
    ASSERT_EQ(menu->points.size(), 1u);
    POINT expected{30, 40};
    ClientToScreen(scroller->GetHandle(), &expected);
    EXPECT_EQ(menu->points[0].x, expected.x);
    EXPECT_EQ(menu->points[0].y, expected.y);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(menu->GetPopupComponent(), scroller);
    EXPECT_EQ(downs, 0);
    driver.Click(scroller->GetHandle(), 30, 40);
    EXPECT_EQ(downs, 1);
}

TEST_F(ScrollControlTest, DialogCodesFollowTheOptions) {
    TProbeScroller* scroller = MakeScroller();
    for (int bits = 0; bits < 8; ++bits) {
        const bool keyScroll = bits & 1, wantArrows = bits & 2, wantTab = bits & 4;
        scroller->SetKeyScroll(keyScroll);
        scroller->SetWantArrows(wantArrows);
        scroller->SetWantTab(wantTab);
        const LRESULT expected = ((keyScroll || wantArrows) ? DLGC_WANTARROWS : 0) | (wantTab ? DLGC_WANTTAB : 0);
        EXPECT_EQ(SendMessageA(scroller->GetHandle(), WM_GETDLGCODE, 0, 0), expected) << "options " << bits;
    }
}

TEST_F(ScrollControlTest, TheDesignStateShowsTheFrameAndTheName) {
    TProbeScroller* scroller = MakeScroller();
    scroller->SetName("Scroller1");
    scroller->SetBkColor(clYellow);
    form->SetDesigning(true);
    scroller->onPaintCalls = 0;
    scroller->Repaint();
    driver.PumpUntilIdle();
    EXPECT_EQ(scroller->onPaintCalls, 0);
    HWND window = scroller->GetHandle();
    EXPECT_EQ(driver.Pixel(window, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(driver.Pixel(window, 100, 0), RGB(0, 0, 0));
    EXPECT_EQ(driver.Pixel(window, 100, 100), RGB(255, 255, 255));
    int dark = 0;
    for (int y = 4; y < 20; ++y)
        for (int x = 4; x < 70; ++x)
            if (driver.Pixel(window, x, y) != RGB(255, 255, 255)) ++dark;
    EXPECT_GT(dark, 20) << "no name written";
    form->SetDesigning(false);
}
