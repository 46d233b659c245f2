// Scroll bars: SetScrollInfo clamping and hiding, WM_SIZE on hiding, and the
// mouse on arrows, page areas and the thumb.
#include <gtest/gtest.h>

#include "MessageRecorder.h"
#include "Win32.h"
#include "display/TestDriver.h"

namespace {

class ScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder.Reset();
        window = CreateWindowExA(0, MessageRecorder::ClassName(), "bars", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 10, 20,
                                 200, 150, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        driver.PumpUntilIdle();
        recorder.messages.clear();
    }
    // Handlers capture the test's locals; windows destroyed afterwards must not reach them.
    void TearDown() override { recorder.handler = nullptr; }
    int ClientWidth() {
        RECT r;
        GetClientRect(window, &r);
        return r.right;
    }
    bool VerticalBarShown() { return (GetWindowLongA(window, GWL_STYLE) & WS_VSCROLL) != 0; }
    // The track's halftone: highlight and face alternate at (x, y) both across and down.
    bool ShowsTrack(HWND target, int x, int y, bool windowCoordinates = false) {
        auto read = [&](int px, int py) {
            return windowCoordinates ? driver.WindowPixel(target, px, py) : driver.Pixel(target, px, py);
        };
        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), face = GetSysColor(COLOR_BTNFACE);
        const COLORREF here = read(x, y);
        const COLORREF other = here == light ? face : light;
        return (here == light || here == face) && read(x + 1, y) == other && read(x, y + 1) == other;
    }

    win32::TestDriver driver;
    MessageRecorder& recorder = MessageRecorder::Instance();
    HWND window = nullptr;
};

struct ClampCase {
    const char* name;
    UINT mask;
    int minimum, maximum;
    UINT page;
    int position;
    int expectPosition;
    int expectMinimum, expectMaximum;
    UINT expectPage;
    bool expectShown;
};

TEST_F(ScrollBarTest, SetScrollInfoClampsAndHidesLikeTheOriginal) {
    const UINT all = SIF_RANGE | SIF_PAGE | SIF_POS;
    const ClampCase cases[] = {
        {"position tops out at max - page + 1", all, 0, 163, 64, 500, 100, 0, 163, 64, true},
        {"max 0 with page 1 cannot scroll", all, 0, 0, 1, 0, 0, 0, 0, 1, false},
        {"page clamps to the span", all, 0, 9, 50, 3, 0, 0, 9, 10, false},
        {"inverted range becomes max = min", all, 10, 5, 0, 7, 10, 10, 10, 0, false},
        {"position below min", all, 5, 20, 0, -3, 5, 5, 20, 0, true},
        {"page 0 reaches max", all, 0, 20, 0, 99, 20, 0, 20, 0, true},
        {"page equal to span minus one still scrolls", all, 0, 10, 10, 5, 1, 0, 10, 10, true},
        {"negative range", all, -50, -10, 5, -100, -50, -50, -10, 5, true},
    };
    for (const ClampCase& c : cases) {
        SCROLLINFO reset{sizeof(SCROLLINFO), all, 0, 100, 0, 0, 0};
        SetScrollInfo(window, SB_VERT, &reset, TRUE);
        SCROLLINFO info{sizeof(SCROLLINFO), c.mask, c.minimum, c.maximum, c.page, c.position, 0};
        EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, TRUE), c.expectPosition) << c.name;
        SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &read)) << c.name;
        EXPECT_EQ(read.nMin, c.expectMinimum) << c.name;
        EXPECT_EQ(read.nMax, c.expectMaximum) << c.name;
        EXPECT_EQ(read.nPage, c.expectPage) << c.name;
        EXPECT_EQ(read.nPos, c.expectPosition) << c.name;
        EXPECT_EQ(VerticalBarShown(), c.expectShown) << c.name;
    }
}

TEST_F(ScrollBarTest, HidingGrowsClientAreaAndSendsSizeAtOnce) {
    EXPECT_EQ(ClientWidth(), 200 - 16);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 1, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    // No pumping: WM_SIZE came during the call.
    auto sizes = recorder.Only({WM_SIZE});
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(LOWORD(sizes[0].lParam), 200);
    EXPECT_EQ(HIWORD(sizes[0].lParam), 150);
    EXPECT_EQ(ClientWidth(), 200);

    // A scrollable range brings the bar back, with another WM_SIZE.
    info = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 163, 64, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    sizes = recorder.Only({WM_SIZE});
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(LOWORD(sizes[1].lParam), 184);
    // Setting the position alone never shows or hides.
    info = SCROLLINFO{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 30, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    EXPECT_EQ(recorder.Only({WM_SIZE}).size(), 2u);
}

TEST_F(ScrollBarTest, DisableNoScrollKeepsTheBar) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 0, 1, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    EXPECT_TRUE(VerticalBarShown());
    EXPECT_EQ(ClientWidth(), 184);
    EXPECT_TRUE(recorder.Only({WM_SIZE}).empty());
}

TEST_F(ScrollBarTest, SizeHandlerMaySetScrollInfoAgain) {
    // The handler re-enters the way a scroller recomputes its ranges on WM_SIZE.
    int depth = 0, deepest = 0;
    recorder.handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
        if (message != WM_SIZE) return false;
        ++depth;
        deepest = std::max(deepest, depth);
        // Wide client: nothing to scroll; narrow: scroll.
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, LOWORD(lParam) >= 200 ? 0 : 300, 100, 0, 0};
        SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
        --depth;
        return true;
    };
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 1, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    EXPECT_LE(deepest, 3);
    const bool shown = VerticalBarShown();
    EXPECT_EQ(ClientWidth(), shown ? 184 : 200);
}

TEST_F(ScrollBarTest, PositionCallsReturnPreviousAndClamp) {
    SetScrollRange(window, SB_VERT, 0, 50, TRUE);
    EXPECT_EQ(SetScrollPos(window, SB_VERT, 70, TRUE), 0);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 50);
    EXPECT_EQ(SetScrollPos(window, SB_VERT, 10, TRUE), 50);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &info));
    EXPECT_EQ(info.nTrackPos, 10);
    EXPECT_EQ(GetScrollPos(nullptr, SB_VERT), 0);
    EXPECT_EQ(SetScrollInfo(window, 7, &info, TRUE), 0);
}

TEST_F(ScrollBarTest, ThumbDragReportsTrackPositionsThenPositionThenEnd) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 163, 64, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    std::vector<int> trackSeenByGetScrollInfo;
    recorder.handler = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
        if (message == WM_VSCROLL && LOWORD(wParam) == SB_THUMBTRACK) {
            SCROLLINFO track{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(hwnd, SB_VERT, &track);
            trackSeenByGetScrollInfo.push_back(track.nTrackPos);
        }
        return false;
    };
    recorder.messages.clear();
    // The bar is at window x 184..200; the thumb starts just below the top arrow.
    RECT rect;
    GetWindowRect(window, &rect);
    const POINT grab{rect.left + 192, rect.top + 16 + 5};
    driver.MouseDownOnScreen(grab);
    for (int dy = 10; dy <= 200; dy += 10) driver.MoveMouseOnScreen(POINT{grab.x, grab.y + dy});
    driver.MouseUpOnScreen(POINT{grab.x, grab.y + 200});

    const auto scrolls = recorder.Only({WM_VSCROLL});
    ASSERT_GE(scrolls.size(), 4u);
    const size_t last = scrolls.size() - 1;
    EXPECT_EQ(LOWORD(scrolls[last].wParam), SB_ENDSCROLL);
    EXPECT_EQ(LOWORD(scrolls[last - 1].wParam), SB_THUMBPOSITION);
    EXPECT_EQ(HIWORD(scrolls[last - 1].wParam), 100);  // dragged past the end: the highest position
    int previous = -1;
    for (size_t i = 0; i + 2 <= last; ++i) {
        EXPECT_EQ(LOWORD(scrolls[i].wParam), SB_THUMBTRACK);
        EXPECT_GT(int(HIWORD(scrolls[i].wParam)), previous);
        previous = HIWORD(scrolls[i].wParam);
        EXPECT_EQ(trackSeenByGetScrollInfo[i], previous);
    }
    // The window never moved the position itself, so the bar keeps it.
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarTest, ArrowsRepeatWhileHeldAndPageAreasPage) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 163, 64, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    RECT rect;
    GetWindowRect(window, &rect);
    const POINT downArrow{rect.left + 192, rect.bottom - 8};
    recorder.messages.clear();
    driver.MouseDownOnScreen(downArrow);
    EXPECT_EQ(recorder.Only({WM_VSCROLL}).size(), 1u);
    driver.Advance(400 + 50 * 3);  // the first repeat after 400 ms, then every 50 ms
    driver.MouseUpOnScreen(downArrow);
    auto scrolls = recorder.Only({WM_VSCROLL});
    ASSERT_EQ(scrolls.size(), 6u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(LOWORD(scrolls[i].wParam), SB_LINEDOWN);
    EXPECT_EQ(LOWORD(scrolls[5].wParam), SB_ENDSCROLL);

    recorder.messages.clear();
    const POINT pageArea{rect.left + 192, rect.bottom - 30};
    driver.MouseDownOnScreen(pageArea);
    driver.MouseUpOnScreen(pageArea);
    scrolls = recorder.Only({WM_VSCROLL});
    ASSERT_EQ(scrolls.size(), 2u);
    EXPECT_EQ(LOWORD(scrolls[0].wParam), SB_PAGEDOWN);
    EXPECT_EQ(LOWORD(scrolls[1].wParam), SB_ENDSCROLL);
}

TEST_F(ScrollBarTest, ScrollBarControlNotifiesItsParent) {
    HWND bar = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 100, 150, 16, window, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(bar, nullptr);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 1, 0, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    EXPECT_TRUE(IsWindowVisible(bar));  // a control is never hidden by its range
    info = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 10, 0, 0, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    driver.PumpUntilIdle();
    recorder.messages.clear();
    driver.Click(bar, 145, 8);  // the right arrow
    const auto scrolls = recorder.Only({WM_HSCROLL});
    ASSERT_EQ(scrolls.size(), 2u);
    EXPECT_EQ(scrolls[0].window, window);
    EXPECT_EQ(LOWORD(scrolls[0].wParam), SB_LINERIGHT);
    EXPECT_EQ(reinterpret_cast<HWND>(scrolls[0].lParam), bar);
    EXPECT_EQ(GetScrollInfo(bar, SB_VERT, &info), FALSE);
}

}  // namespace

namespace {

TEST_F(ScrollBarTest, ControlPaintsItsArrowsAndThumb) {
    HWND bar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 16, 120, window, nullptr,
                               nullptr, nullptr);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 50, 0, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    driver.PumpUntilIdle();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(driver.Pixel(bar, 8, 3), face);      // up arrow
    EXPECT_EQ(driver.Pixel(bar, 8, 116), face);    // down arrow
    EXPECT_EQ(driver.Pixel(bar, 8, 30), face);     // thumb at the top of the track: 44 pixels from 16
    EXPECT_TRUE(ShowsTrack(bar, 8, 90));           // track below the thumb
    info = SCROLLINFO{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 50, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    driver.PumpUntilIdle();
    EXPECT_TRUE(ShowsTrack(bar, 8, 30));
    EXPECT_EQ(driver.Pixel(bar, 8, 90), face);
}

// What an editor does with four lines: its range (page 64 of 0..66) is set
// while its window is still hidden, and the window is shown afterwards. The
// thumb then fills nearly the whole track from its top, and it is told apart
// from the bit of track beyond it: a raised edge, dark at its far end, against
// the track's halftone. A flat light track there read as a small thumb at the
// far end, with the real thumb taken for the bar's face.
TEST_F(ScrollBarTest, AThumbFillingMostOfTheTrackStandsOutFromTheTrackBeyondIt) {
    HWND editor = CreateWindowExA(0, MessageRecorder::ClassName(), "four lines", WS_POPUP | WS_HSCROLL | WS_VSCROLL, 0,
                                  0, 200, 150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(editor, nullptr);
    for (int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 66, 64, 0, 0};
        SetScrollInfo(editor, bar, &info, TRUE);
    }
    ShowWindow(editor, SW_SHOW);
    driver.PumpUntilIdle();
    struct BarCase {
        const char* name;
        int bar;
        int trackEnd;  // the track starts after the 16-pixel arrow; the thumb is 64/67 of it
        int thumbEnd;
    };
    const BarCase cases[] = {
        {"vertical: track 16..118", SB_VERT, 118, 16 + 102 * 64 / 67},
        {"horizontal: track 16..168", SB_HORZ, 168, 16 + 152 * 64 / 67},
    };
    for (const BarCase& c : cases) {
        // Pixels along the middle of the bar; the vertical bar is at x 184..200, the horizontal at y 134..150.
        auto along = [&](int at) {
            return c.bar == SB_VERT ? driver.WindowPixel(editor, 192, at) : driver.WindowPixel(editor, at, 142);
        };
        EXPECT_EQ(along(16), GetSysColor(COLOR_3DLIGHT)) << c.name << ": the thumb starts at the track's start";
        EXPECT_EQ(along(17), GetSysColor(COLOR_BTNHIGHLIGHT)) << c.name;
        EXPECT_EQ(along(c.thumbEnd / 2), GetSysColor(COLOR_BTNFACE)) << c.name;
        EXPECT_EQ(along(c.thumbEnd - 2), GetSysColor(COLOR_BTNSHADOW)) << c.name;
        EXPECT_EQ(along(c.thumbEnd - 1), GetSysColor(COLOR_3DDKSHADOW)) << c.name << ": the thumb's far end";
        for (int at = c.thumbEnd; at + 1 < c.trackEnd; ++at) {
            const POINT point = c.bar == SB_VERT ? POINT{192, at} : POINT{at, 142};
            EXPECT_TRUE(ShowsTrack(editor, point.x, point.y, true)) << c.name << " at " << at;
        }
    }
    DestroyWindow(editor);
}

}  // namespace
