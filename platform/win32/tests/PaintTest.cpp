// Painting: update regions and BeginPaint clipping, children clipped to their
// visible part, ScrollWindow, the caret and the layer's own scroll bars.
#include <gtest/gtest.h>

#include "MessageRecorder.h"
#include "Win32.h"
#include "display/TestDriver.h"

namespace {

const COLORREF red = RGB(255, 0, 0);
const COLORREF white = RGB(255, 255, 255);

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// Row y of the client area painted in RGB(y, 0, 0): makes vertical moves visible.
COLORREF RowColour(int y) { return RGB(y & 0xFF, 0, 0); }

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override { recorder.Reset(); }
    // Handlers capture the test's locals; windows destroyed afterwards must not reach them.
    void TearDown() override { recorder.handler = nullptr; }
    HWND Make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr) {
        return CreateWindowExA(0, MessageRecorder::ClassName(), "p", style, x, y, w, h, parent, nullptr, nullptr,
                               nullptr);
    }
    // Every WM_PAINT of `painted` fills its whole client area with colour.
    void PaintWith(HWND painted, COLORREF colour) {
        recorder.handler = [painted, colour](HWND window, UINT message, WPARAM, LPARAM, LRESULT*) {
            if (message != WM_PAINT || window != painted) return false;
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            Fill(dc, client, colour);
            EndPaint(window, &paint);
            return true;
        };
    }
    win32::TestDriver driver;
    MessageRecorder& recorder = MessageRecorder::Instance();
};

TEST_F(PaintTest, BeginPaintDrawsOnlyTheInvalidPartAndErasesWithTheClassBrush) {
    HWND window = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(window, 50, 40), white);
    PaintWith(window, red);
    RECT part{10, 10, 30, 20};
    InvalidateRect(window, &part, TRUE);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(update.left, 10);
    EXPECT_EQ(update.bottom, 20);
    recorder.messages.clear();
    driver.PumpUntilIdle();
    EXPECT_EQ(recorder.Numbers({WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    EXPECT_EQ(driver.Pixel(window, 10, 10), red);
    EXPECT_EQ(driver.Pixel(window, 29, 19), red);
    EXPECT_EQ(driver.Pixel(window, 30, 19), white);
    EXPECT_EQ(driver.Pixel(window, 9, 10), white);
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
}

TEST_F(PaintTest, InvalidRegionsKeepTheirShape) {
    HWND window = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
    driver.PumpUntilIdle();
    PaintWith(window, red);
    HRGN region = CreateRectRgn(0, 0, 10, 10);
    HRGN other = CreateRectRgn(50, 50, 60, 60);
    CombineRgn(region, region, other, RGN_OR);
    InvalidateRgn(window, region, FALSE);
    RECT update;
    GetUpdateRect(window, &update, FALSE);
    EXPECT_EQ(update.right, 60);  // the bounding box
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(window, 5, 5), red);
    EXPECT_EQ(driver.Pixel(window, 55, 55), red);
    EXPECT_EQ(driver.Pixel(window, 30, 30), white);  // inside the box, outside the region
    ValidateRgn(window, nullptr);
    EXPECT_FALSE(InvalidateRgn(nullptr, region, FALSE));
    DeleteObject(region);
    DeleteObject(other);
}

TEST_F(PaintTest, ChildPaintingIsClippedToItsVisiblePart) {
    HWND top = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 200, 200);
    HWND holder = Make(WS_CHILD | WS_VISIBLE, 20, 20, 100, 100, top);
    // Sticks out of its parent at the right and bottom.
    HWND child = Make(WS_CHILD | WS_VISIBLE, 50, 60, 100, 100, holder);
    driver.PumpUntilIdle();
    PaintWith(child, red);
    InvalidateRect(child, nullptr, TRUE);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(child, 0, 0), red);
    EXPECT_EQ(driver.Pixel(child, 49, 39), red);        // last pixel inside the holder
    EXPECT_EQ(driver.Pixel(child, 50, 39), white);      // beyond the holder's right edge
    EXPECT_EQ(driver.Pixel(child, 49, 40), white);      // beyond its bottom edge
    EXPECT_EQ(driver.Pixel(top, 20 + 50, 20 + 60), red);

    // A window DC of the child is offset to its place and clipped the same way.
    HDC dc = GetDC(child);
    ASSERT_NE(dc, nullptr);
    Fill(dc, RECT{0, 0, 100, 100}, RGB(0, 0, 255));
    ReleaseDC(child, dc);
    EXPECT_EQ(driver.Pixel(top, 70, 80), RGB(0, 0, 255));
    EXPECT_EQ(driver.Pixel(top, 120, 80), white);

    // The parent with WS_CLIPCHILDREN does not paint over its children.
    PaintWith(top, RGB(0, 255, 0));
    InvalidateRect(top, nullptr, TRUE);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(top, 5, 5), RGB(0, 255, 0));
    EXPECT_EQ(driver.Pixel(top, 70, 80), RGB(0, 0, 255));
}

TEST_F(PaintTest, HidingAChildRepaintsWhatWasUnderIt) {
    HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top);
    driver.PumpUntilIdle();
    ShowWindow(child, SW_HIDE);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(top, &update, FALSE));
    EXPECT_EQ(update.left, 10);
    EXPECT_EQ(update.right, 60);
}

class ScrollWindowTest : public PaintTest {
protected:
    void SetUp() override {
        PaintTest::SetUp();
        window = Make(WS_POPUP | WS_VISIBLE, 30, 30, 120, 100);
        recorder.handler = [this](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT*) {
            if (message != WM_PAINT || hwnd != window) return false;
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            for (int y = 0; y < 100; ++y) Fill(dc, RECT{0, y, 120, y + 1}, RowColour(y));
            EndPaint(hwnd, &paint);
            return true;
        };
        driver.PumpUntilIdle();
        recorder.handler = nullptr;
    }
    HWND window = nullptr;
};

TEST_F(ScrollWindowTest, MovesPixelsAndInvalidatesExactlyTheUncoveredStrip) {
    ASSERT_EQ(driver.Pixel(window, 5, 50), RowColour(50));
    ASSERT_TRUE(ScrollWindow(window, 0, -10, nullptr, nullptr));
    EXPECT_EQ(driver.Pixel(window, 5, 50), RowColour(60));
    EXPECT_EQ(driver.Pixel(window, 5, 0), RowColour(10));
    EXPECT_EQ(driver.Pixel(window, 5, 89), RowColour(99));
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(window, update, FALSE), SIMPLEREGION);
    HRGN strip = CreateRectRgn(0, 90, 120, 100);
    EXPECT_TRUE(EqualRgn(update, strip));
    DeleteObject(update);
    DeleteObject(strip);

    // Horizontally, with an update region already there: it moves with the pixels.
    ValidateRect(window, nullptr);
    RECT pending{40, 10, 50, 20};
    InvalidateRect(window, &pending, FALSE);
    RECT uncovered;
    EXPECT_EQ(ScrollWindowEx(window, 15, 0, nullptr, nullptr, nullptr, &uncovered, SW_INVALIDATE), SIMPLEREGION);
    EXPECT_EQ(uncovered.left, 0);
    EXPECT_EQ(uncovered.right, 15);
    HRGN expected = CreateRectRgn(0, 0, 15, 100);
    HRGN moved = CreateRectRgn(55, 10, 65, 20);
    CombineRgn(expected, expected, moved, RGN_OR);
    update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, update, FALSE);
    EXPECT_TRUE(EqualRgn(update, expected));
    DeleteObject(expected);
    DeleteObject(moved);
    DeleteObject(update);
}

TEST_F(ScrollWindowTest, ScrollRectangleLimitsTheMoveAndTheCaretFollows) {
    ASSERT_TRUE(CreateCaret(window, nullptr, 2, 10));
    SetCaretPos(5, 50);
    ShowCaret(window);
    const COLORREF under = RowColour(50);
    EXPECT_EQ(driver.Pixel(window, 5, 50), RGB(255 - GetRValue(under), 255, 255));  // inverted
    RECT area{0, 20, 120, 80};
    ScrollWindow(window, 0, 10, &area, nullptr);
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, 5);
    EXPECT_EQ(caret.y, 60);
    EXPECT_EQ(driver.Pixel(window, 20, 10), RowColour(10));  // outside the rectangle: untouched
    EXPECT_EQ(driver.Pixel(window, 20, 40), RowColour(30));
    EXPECT_EQ(driver.Pixel(window, 5, 60), RGB(255 - GetRValue(RowColour(50)), 255, 255));  // caret moved with its pixels
    EXPECT_EQ(driver.Pixel(window, 20, 79), RowColour(69));
    EXPECT_EQ(driver.Pixel(window, 20, 85), RowColour(85));
    RECT update;
    GetUpdateRect(window, &update, FALSE);
    EXPECT_EQ(update.top, 20);
    EXPECT_EQ(update.bottom, 30);
    // A caret outside the scrolled rectangle stays.
    SetCaretPos(5, 90);
    ScrollWindow(window, 0, -5, &area, nullptr);
    GetCaretPos(&caret);
    EXPECT_EQ(caret.y, 90);
    DestroyCaret();
    EXPECT_EQ(driver.Pixel(window, 5, 90), RowColour(90));
}

TEST_F(ScrollWindowTest, ChildWindowsMoveWithAWholeAreaScroll) {
    HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 50, 20, 20, window);
    driver.PumpUntilIdle();
    recorder.messages.clear();
    ScrollWindow(window, 0, -10, nullptr, nullptr);
    RECT rect;
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.top, 30 + 40);
    const auto moves = recorder.Only({WM_MOVE});
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].window, child);
    EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), 40);
    // With a rectangle, children stay where they are.
    RECT area{0, 0, 120, 100};
    ScrollWindow(window, 0, -10, &area, nullptr);
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.top, 70);
}

TEST_F(ScrollWindowTest, CaretBlinksByInversionUnderTheTestClock) {
    CreateCaret(window, nullptr, 1, 8);
    SetCaretPos(10, 20);
    const COLORREF plain = driver.Pixel(window, 10, 20);
    EXPECT_EQ(driver.Pixel(window, 10, 20), plain);  // created hidden
    ShowCaret(window);
    const COLORREF inverted = driver.Pixel(window, 10, 20);
    EXPECT_NE(inverted, plain);
    driver.Advance(GetCaretBlinkTime());
    EXPECT_EQ(driver.Pixel(window, 10, 20), plain);
    driver.Advance(GetCaretBlinkTime());
    EXPECT_EQ(driver.Pixel(window, 10, 20), inverted);
    HideCaret(window);
    HideCaret(window);
    EXPECT_EQ(driver.Pixel(window, 10, 20), plain);
    ShowCaret(window);
    EXPECT_EQ(driver.Pixel(window, 10, 20), plain);  // one hide still counts
    ShowCaret(window);
    EXPECT_EQ(driver.Pixel(window, 10, 20), inverted);
    // Painting hides the caret meanwhile, so it never leaves inverted pixels
    // behind: the white background comes back with the caret inverted on it.
    InvalidateRect(window, nullptr, TRUE);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(window, 10, 20), RGB(0, 0, 0));
    EXPECT_EQ(driver.Pixel(window, 11, 20), white);
    DestroyWindow(window);
    EXPECT_FALSE(GetCaretPos(&*std::make_unique<POINT>()));
}

TEST_F(ScrollWindowTest, GuiThreadInfoReportsTheCaretShapeAndWhetherItShows) {
    GUITHREADINFO info{};
    EXPECT_FALSE(GetGUIThreadInfo(0, &info));  // cbSize not set
    info.cbSize = sizeof info;
    const auto read = [&info] {
        EXPECT_TRUE(GetGUIThreadInfo(0, &info));
        return info;
    };
    CreateCaret(window, nullptr, 1, 16);
    SetCaretPos(10, 20);
    GUITHREADINFO caret = read();
    EXPECT_EQ(caret.hwndCaret, window);
    EXPECT_EQ(caret.rcCaret.left, 10);
    EXPECT_EQ(caret.rcCaret.top, 20);
    EXPECT_EQ(caret.rcCaret.right, 11);
    EXPECT_EQ(caret.rcCaret.bottom, 36);
    EXPECT_EQ(caret.flags & GUI_CARETBLINKING, 0u);  // created hidden
    ShowCaret(window);
    EXPECT_NE(read().flags & GUI_CARETBLINKING, 0u);
    HideCaret(window);
    HideCaret(window);
    ShowCaret(window);
    EXPECT_EQ(read().flags & GUI_CARETBLINKING, 0u);  // one hide still counts
    ShowCaret(window);
    ScrollWindow(window, 0, 7, nullptr, nullptr);
    caret = read();
    EXPECT_EQ(caret.rcCaret.top, 27);
    EXPECT_EQ(caret.rcCaret.bottom, 43);
    EXPECT_NE(caret.flags & GUI_CARETBLINKING, 0u);
    DestroyCaret();
    caret = read();
    EXPECT_EQ(caret.hwndCaret, nullptr);
    EXPECT_EQ(caret.rcCaret.right - caret.rcCaret.left, 0);
    EXPECT_EQ(caret.flags, 0u);
}

TEST_F(PaintTest, TheLayerDrawsStandardScrollBars) {
    HWND window = Make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 0, 0, 100, 100);
    driver.PumpUntilIdle();
    // The bar occupies window x 84..100; its arrows are button-face grey.
    EXPECT_EQ(driver.WindowPixel(window, 92, 2), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(driver.Pixel(window, 83, 50), white);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 1, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(window, 92, 2), white);  // client area now
}

}  // namespace
