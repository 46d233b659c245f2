// Tests of the selectable rectangle scroller's figures: ticks, labels and
// mesh in pixels, dashes, helper lines, the crosshair and tab marks, and the
// inverting invariant: whatever the user does, the window shows what a full
// repaint draws, and erasing a figure restores the pixels bit for bit.
#include <algorithm>
#include <climits>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "SelectableFixture.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class SelectableDrawingTest : public SelectableTest {
protected:
    // A 200 x 150 white rectangle at (30, 25) of a 260 x 200 scroller.
    TProbeSelectableScroller* MakeWhite() {
        TProbeSelectableScroller* scroller = Make(SIZE{200, 150});
        scroller->grid = false;
        scroller->Repaint();
        driver.PumpUntilIdle();
        return scroller;
    }
    // A pixel at a point of the user rectangle.
    COLORREF At(TSelectableRectScroller* s, int x, int y) {
        const POINT c = ClientOf(s, POINT{x, y});
        return driver.Pixel(s->GetHandle(), c.x, c.y);
    }
    // The extent of text in the ruler font (escapement 0 or 900).
    SIZE RulerExtent(TSelectableRectScroller* s, const std::string& text, int escapement) {
        HDC dc = GetDC(s->GetHandle());
        HFONT font = CreateFontA(12, 0, escapement, escapement, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
        HGDIOBJ previous = SelectObject(dc, font);
        SIZE extent{0, 0};
        GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
        SelectObject(dc, previous);
        DeleteObject(font);
        ReleaseDC(s->GetHandle(), dc);
        return extent;
    }
    // The box (user-rectangle pixels) that holds every label pixel within
    // search; label pixels are neither white nor black (the ticks).
    RECT InkBox(TSelectableRectScroller* s, const RECT& search, int& reddish) {
        RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        reddish = 0;
        for (int y = search.top; y < search.bottom; ++y)
            for (int x = search.left; x < search.right; ++x) {
                const COLORREF pixel = At(s, x, y);
                if (pixel == kWhite || pixel == kBlack) continue;
                reddish += GetRValue(pixel) > GetGValue(pixel) + 40;
                box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                           std::max<LONG>(box.bottom, y + 1)};
            }
        return box;
    }
    // Pixels from (x, y) on in the given direction, as '#' (black) and '.' (white).
    std::string Run(TSelectableRectScroller* s, int x, int y, int dx, int dy, int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += At(s, x + i * dx, y + i * dy) == kBlack ? '#' : '.';
        return text;
    }
};

}  // namespace

TEST_F(SelectableDrawingTest, RulersTickEveryStepAndLabelEveryRulerNumberth) {
    TProbeSelectableScroller* scroller = MakeWhite();
    scroller->SetShowRulers(true);
    driver.PumpUntilIdle();
    // RulerStep 10, RulerNumber 5: 10 to 40 short (6), 50 long (12) and labelled.
    for (int v : {10, 20, 30, 40}) {
        EXPECT_EQ(Run(scroller, v, 0, 0, 1, 8), "#######.") << "top tick " << v;
        EXPECT_EQ(Run(scroller, 0, v, 1, 0, 8), "#######.") << "left tick " << v;
    }
    EXPECT_EQ(Run(scroller, 50, 0, 0, 1, 14), "#############.");
    EXPECT_EQ(Run(scroller, 0, 50, 1, 0, 14), "#############.");
    EXPECT_EQ(Run(scroller, 45, 0, 0, 1, 3), "...");

    // The top label reads upwards from 2 pixels below its tick, centred on it.
    const SIZE up = RulerExtent(scroller, "50", 900);
    int reddish = 0;
    RECT ink = InkBox(scroller, RECT{35, 13, 66, 14 + up.cx + 6}, reddish);
    EXPECT_GT(reddish, 5);
    EXPECT_GE(ink.left, 50 - up.cy / 2);
    EXPECT_LE(ink.right, 50 - up.cy / 2 + up.cy);
    EXPECT_GE(ink.top, 14);
    EXPECT_LE(ink.bottom, 14 + up.cx + 1);
    EXPECT_GT(ink.bottom - ink.top, up.cx / 2);  // it runs along the tick, not across
    // The left label stands upright 2 pixels right of its tick.
    const SIZE flat = RulerExtent(scroller, "50", 0);
    ink = InkBox(scroller, RECT{13, 40, 14 + flat.cx + 6, 61}, reddish);
    EXPECT_GT(reddish, 5);
    EXPECT_GE(ink.left, 14);
    EXPECT_LE(ink.right, 14 + flat.cx + 1);
    EXPECT_GE(ink.top, 50 - flat.cy / 2);
    EXPECT_LE(ink.bottom, 50 - flat.cy / 2 + flat.cy);
    EXPECT_GT(ink.right - ink.left, flat.cx / 2);

    // The mesh starts below or beside each tick instead of inverting it away
    // (the two mesh lines cross at 10, 10).
    scroller->SetShowMesh(true);
    driver.PumpUntilIdle();
    EXPECT_EQ(Run(scroller, 10, 0, 0, 1, 14), "##########.#..");
    EXPECT_EQ(Run(scroller, 0, 10, 1, 0, 14), "##########.#..");
    // Past a labelled tick it starts beyond the label, which it would strike through.
    const std::string pastTop = Run(scroller, 50, 13, 0, 1, up.cx + 3);
    const std::string pastLeft = Run(scroller, 13, 50, 1, 0, flat.cx + 3);
    EXPECT_EQ(pastTop, std::string(up.cx + 2, '.') + "#");
    EXPECT_EQ(pastLeft, std::string(flat.cx + 2, '.') + "#");
}

// Steps of 0 or below draw no ruler (and return); a RulerNumber below 1
// counts as 1, so every tick is long.
TEST_F(SelectableDrawingTest, OddRulerStepsAndNumbersPaintAndReturn) {
    struct Case {
        int step, number;
        const char* topColumn10;  // x = 10 from the top edge down (a long left tick crosses it at y = 10)
        const char* topRow;       // along y = 0 from x = 0
    };
    const Case cases[] = {
        {0, 5, "..............", "..........."},   {-3, 5, "..............", "..........."},
        {10, 0, "##########.##.", "..........#"},  {10, -4, "##########.##.", "..........#"},
        {1, 5, nullptr, nullptr},
    };
    TProbeSelectableScroller* scroller = MakeWhite();
    scroller->SetShowRulers(true);
    for (const Case& c : cases) {
        scroller->SetRulerNumber(c.number);
        scroller->SetRulerStep(c.step);
        scroller->SetShowMesh(true);
        driver.PumpUntilIdle();
        EXPECT_TRUE(ShowsFullRepaint(scroller)) << c.step << " / " << c.number;
        scroller->SetShowMesh(false);
        driver.PumpUntilIdle();
        if (!c.topColumn10) continue;  // a tick in every column
        EXPECT_EQ(Run(scroller, 10, 0, 0, 1, 14), c.topColumn10) << c.step << " / " << c.number;
        EXPECT_EQ(Run(scroller, 0, 0, 1, 0, 11), c.topRow) << c.step << " / " << c.number;
    }
}

TEST_F(SelectableDrawingTest, MeshLinesAreDashedByTheDashLength) {
    struct Case {
        int dash;
        const char* column;  // x = 10, rows 1 to 9 and 11 to 19 (between the horizontal mesh lines)
    };
    const Case cases[] = {
        {10, "####.....####....."}, {4, "#..##..##.##..##.."}, {0, "##################"},
        {-5, "##################"}, {1, "##################"},
    };
    TProbeSelectableScroller* scroller = MakeWhite();
    scroller->SetShowMesh(true);
    for (const Case& c : cases) {
        scroller->SetDashLength(c.dash);
        scroller->Repaint();
        driver.PumpUntilIdle();
        const std::string column = Run(scroller, 10, 1, 0, 1, 9) + Run(scroller, 10, 11, 0, 1, 9);
        EXPECT_EQ(column, c.column) << "dash " << c.dash;
    }
    // The vertical line's last dash is cut at the rectangle's edge.
    scroller->SetDashLength(10);
    scroller->Repaint();
    driver.PumpUntilIdle();
    EXPECT_EQ(Run(scroller, 10, 141, 0, 1, 9), "####.....");
    EXPECT_EQ(At(scroller, 10, 150), RGB(0, 0, 0)) << "the border gap below the rectangle";
}

TEST_F(SelectableDrawingTest, HelperLinesContinueTheEdgesFromBeyondTheCorners) {
    TProbeSelectableScroller* scroller = MakeWhite();
    scroller->SetShowSelectionHelpers(true);
    Drag(scroller, {40, 30}, {80, 70});
    Move(scroller, {150, 140});
    // Top edge row: dashes from x = 39 down to 0, the edge itself, dashes from 81 on.
    EXPECT_EQ(Run(scroller, 39, 30, -1, 0, 12), "#####.....##");
    EXPECT_EQ(Run(scroller, 40, 30, 1, 0, 3), "###");
    EXPECT_EQ(Run(scroller, 81, 30, 1, 0, 12), "#####.....##");
    // Left edge column: dashes from y = 29 up to 0 and from 71 down.
    EXPECT_EQ(Run(scroller, 40, 29, 0, -1, 12), "#####.....##");
    EXPECT_EQ(Run(scroller, 40, 71, 0, 1, 12), "#####.....##");
    // Toggling the helpers with Ctrl+H takes them away and leaves the rectangle.
    Ctrl('H');
    EXPECT_FALSE(scroller->GetShowSelectionHelpers());
    EXPECT_EQ(Run(scroller, 35, 30, 1, 0, 8), ".....###");
    EXPECT_TRUE(ShowsFullRepaint(scroller));
}

TEST_F(SelectableDrawingTest, TheCrosshairFollowsTheMouseAndHidesWhileARectangleIsDrawn) {
    TProbeSelectableScroller* scroller = MakeWhite();
    Ctrl('1');
    EXPECT_TRUE(scroller->GetShowCursor());
    Move(scroller, {50, 60});
    EXPECT_EQ(Run(scroller, 50, 0, 0, 1, 3) + Run(scroller, 50, 147, 0, 1, 3), "######");
    EXPECT_EQ(Run(scroller, 0, 60, 1, 0, 3) + Run(scroller, 197, 60, 1, 0, 3), "######");
    EXPECT_EQ(At(scroller, 51, 61), kWhite);
    Down(scroller, {50, 60});
    EXPECT_FALSE(scroller->CursorShown());
    EXPECT_EQ(At(scroller, 50, 0), kWhite);
    Move(scroller, {90, 100});
    Up(scroller, {90, 100});
    EXPECT_TRUE(scroller->CursorShown());
    EXPECT_EQ(At(scroller, 90, 0), kBlack);
    // Esc while drawing brings it back as well.
    Down(scroller, {120, 110});
    driver.Press(VK_ESCAPE);
    EXPECT_FALSE(scroller->GetSelecting());
    EXPECT_EQ(At(scroller, 120, 0), kBlack);
    EXPECT_TRUE(ShowsFullRepaint(scroller));
    Ctrl('1');
    EXPECT_EQ(At(scroller, 120, 0), kWhite);
}

TEST_F(SelectableDrawingTest, TabMarksToggleAtTheMousePoint) {
    TProbeSelectableScroller* scroller = MakeWhite();
    const std::vector<uint32_t> plain = Snapshot(scroller);
    Move(scroller, {50, 60});
    Ctrl('T');
    ASSERT_EQ(scroller->GetHorzTabs().GetCount(), 1);
    EXPECT_EQ(scroller->GetHorzTabs()[0], 60);
    EXPECT_EQ(Run(scroller, 0, 60, 1, 0, 2) + Run(scroller, 198, 60, 1, 0, 2), "####");
    driver.Press({VK_SHIFT}, 'T');
    ASSERT_EQ(scroller->GetVertTabs().GetCount(), 1);
    EXPECT_EQ(Run(scroller, 50, 0, 0, 1, 2), "##");
    EXPECT_TRUE(ShowsFullRepaint(scroller));
    Ctrl('T');
    driver.Press({VK_SHIFT}, 'T');
    EXPECT_EQ(scroller->GetHorzTabs().GetCount(), 0);
    EXPECT_EQ(scroller->GetVertTabs().GetCount(), 0);
    EXPECT_EQ(Snapshot(scroller), plain);
    // Over the border gap there is no mark to set.
    driver.MoveMouse(scroller->GetHandle(), 5, 5);
    Ctrl('T');
    EXPECT_EQ(scroller->GetHorzTabs().GetCount(), 0);
}

// While a selection is being drawn a scroll takes it off, paints the strip
// without it and draws it whole again: no fragments, with or without AutoScroll.
TEST_F(SelectableDrawingTest, ScrollingWhileDrawingLeavesNoFragments) {
    for (bool autoScroll : {true, false}) {
        TProbeSelectableScroller* scroller = Make(SIZE{400, 300}, 200, 160);
        scroller->SetAutoScroll(autoScroll);
        for (TRectScrollerSelection kind : {selRect, selEllipse, selPolygon}) {
            scroller->SetSelectionType(kind);
            Move(scroller, {60, 50});
            Down(scroller, {60, 50});
            Move(scroller, {100, 90});
            for (int code : {SB_LINEDOWN, SB_PAGEDOWN, SB_LINEUP}) {
                SendScroll(scroller, SB_VERT, code);
                SendScroll(scroller, SB_HORZ, code);
                driver.PumpUntilIdle();
                Move(scroller, {120, 110});
                EXPECT_TRUE(ShowsFullRepaint(scroller)) << autoScroll << " kind " << kind << " code " << code;
            }
            driver.Press(VK_ESCAPE);
            Up(scroller, {120, 110});
        }
        delete scroller;
    }
}

// Random presses, moves, releases, right clicks, keys, option and kind changes and
// scrolls, some while a selection is being drawn, on a scrolling and on a
// centred rectangle: after each, the window shows what a full repaint
// draws. At the end each figure erased and drawn again restores the pixels,
// and all erased equal the picture without them.
TEST_F(SelectableDrawingTest, InvertedFiguresAlwaysShowWhatARepaintDraws) {
    struct Key {
        UINT modifier, key;
    };
    const Key keys[] = {{VK_CONTROL, 'H'}, {VK_CONTROL, 'R'}, {VK_CONTROL, 'M'}, {VK_CONTROL, '1'},
                        {VK_CONTROL, 'T'}, {VK_SHIFT, 'T'},   {VK_CONTROL, 'S'}, {0, VK_ESCAPE},
                        {0, VK_UP},        {0, VK_DOWN}};
    const int codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN};
    const SIZE rects[] = {{400, 300}, {150, 110}};
    for (unsigned seed = 1; seed <= 6; ++seed) {
        TProbeSelectableScroller* scroller = Make(rects[seed % 2], 200, 160);
        scroller->SetAutoScroll(seed <= 3);
        HWND window = scroller->GetHandle();
        std::mt19937 random(seed);
        bool leftDown = false;
        bool failed = false;
        for (int step = 0; step < 200 && !failed; ++step) {
            const int choice = int(random() % 100);
            POINT p{int(random() % 220) - 10, int(random() % 180) - 10};
            // Presses stay off the scroll bars: without AutoScroll a thumb
            // drag leaves the picture behind the bar until the release.
            const RECT client = scroller->GetClientRect();
            if (choice >= 40) p = POINT{std::min<LONG>(p.x, client.right - 1), std::min<LONG>(p.y, client.bottom - 1)};
            std::string what;
            if (choice < 40) {
                driver.MoveMouse(window, p.x, p.y);
                what = "move";
            } else if (choice < 52) {
                if (leftDown)
                    driver.MouseUp(window, p.x, p.y);
                else
                    driver.MouseDown(window, p.x, p.y);
                leftDown = !leftDown;
                what = leftDown ? "down" : "up";
            } else if (choice < 57 && !leftDown) {
                driver.Click(window, p.x, p.y, 1);
                what = "right click";
            } else if (choice < 80) {
                const Key& key = keys[random() % std::size(keys)];
                scroller->SetFocus();
                if (key.modifier)
                    driver.Press({key.modifier}, key.key);
                else
                    driver.Press(key.key);
                what = "key " + std::to_string(key.key);
            } else if (choice < 92) {
                SendScroll(scroller, int(random() % 2), codes[random() % 4]);
                what = "scroll";
            } else {
                switch (random() % 5) {
                    case 0: scroller->SetShowSelection(!scroller->GetShowSelection()); break;
                    case 1: scroller->SetMovableSelection(!scroller->GetMovableSelection()); break;
                    case 2: scroller->SetKeepSelection(!scroller->GetKeepSelection()); break;
                    case 3: scroller->SetSelectionType(TRectScrollerSelection(random() % 4)); break;
                    default: scroller->SetSelectEllipse(!scroller->GetSelectEllipse()); break;
                }
                what = "option";
            }
            const ::testing::AssertionResult same = ShowsFullRepaint(scroller);
            EXPECT_TRUE(same) << "seed " << seed << " step " << step << " (" << what << ")";
            failed = !same;
        }
        if (leftDown) driver.MouseUp(window, 50, 50);

        const std::vector<uint32_t> shown = Snapshot(scroller);
        scroller->InvertSelection();
        scroller->InvertSelection();
        scroller->InvertCursor();
        scroller->InvertCursor();
        scroller->InvertTabs();
        scroller->InvertTabs();
        EXPECT_EQ(Snapshot(scroller), shown) << "seed " << seed;
        scroller->InvertSelection();
        scroller->InvertCursor();
        scroller->InvertTabs();
        const std::vector<uint32_t> erased = Snapshot(scroller);
        scroller->InvertSelection();
        scroller->InvertCursor();
        scroller->InvertTabs();
        // The same figures taken away through the state.
        scroller->SetFocus();
        driver.Press(VK_ESCAPE);
        scroller->SetShowSelection(false);
        scroller->SetShowCursor(false);
        while (scroller->GetHorzTabs().GetCount() > 0) scroller->ToggleHorzTab(scroller->GetHorzTabs()[0]);
        while (scroller->GetVertTabs().GetCount() > 0) scroller->ToggleVertTab(scroller->GetVertTabs()[0]);
        EXPECT_EQ(Snapshot(scroller), erased) << "seed " << seed;
        EXPECT_TRUE(ShowsFullRepaint(scroller)) << "seed " << seed;
        delete scroller;
    }
}
