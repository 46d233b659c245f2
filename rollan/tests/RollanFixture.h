// Shared by the Rollan tests: a shown form, the test driver, a picture that
// depends only on the scrolled-area point, and window-pixel comparisons.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Form.h"
#include "ScrollControl.h"
#include "display/TestDriver.h"

inline int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Bands of 5 rows, each its own colour, crossed by columns every 7 pixels in
// colours of their own: any pixel painted at the wrong scrolled-area point
// shows. Draws only what the canvas's clip box holds.
inline void PaintGrid(TCanvas* canvas) {
    const RECT clip = canvas->GetClipRect();
    canvas->GetBrush()->SetStyle(bsSolid);
    for (int band = FloorDiv(clip.top, 5); band * 5 < clip.bottom; ++band) {
        canvas->GetBrush()->SetColor(RGB((band * 53) & 0xFF, (band * 29) & 0xFF, 0xC8));
        canvas->FillRect(RECT{clip.left, band * 5, clip.right, band * 5 + 5});
    }
    for (int column = FloorDiv(clip.left, 7); column * 7 < clip.right; ++column) {
        canvas->GetPen()->SetColor(RGB(0x10, (column * 71) & 0xFF, (column * 13) & 0xFF));
        canvas->MoveTo(column * 7, clip.top);
        canvas->LineTo(column * 7, clip.bottom);
    }
}

// Each test gets a fresh window layer and a visible 400x300 form at (50, 50).
class RollanTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 1);
        form->SetBounds(50, 50, 400, 300);
        form->Show();
        driver.PumpUntilIdle();
    }
    void TearDown() override { delete form; }

    // Makes a control of class T on the form with the given bounds and pumps.
    template <class T>
    T* Place(int left, int top, int width, int height) {
        T* control = new T(form);
        control->SetBounds(left, top, width, height);
        control->SetParent(form);
        driver.PumpUntilIdle();
        return control;
    }

    // The client pixels of a control, row by row.
    std::vector<COLORREF> Pixels(TWinControl* control) {
        std::vector<COLORREF> pixels;
        const RECT client = control->GetClientRect();
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) pixels.push_back(driver.Pixel(control->GetHandle(), x, y));
        return pixels;
    }

    // What the control shows now equals what a full repaint at the same
    // position draws. Pending paints run first; the picture before them must
    // already be the final one.
    void ExpectShowsFullRepaint(TWinControl* control, const std::string& what) {
        const std::vector<COLORREF> before = Pixels(control);
        driver.PumpUntilIdle();
        EXPECT_EQ(Pixels(control), before) << what << ": the paint after the scroll changed pixels";
        control->Repaint();
        driver.PumpUntilIdle();
        EXPECT_EQ(Pixels(control), before) << what << ": a full repaint differs";
    }

    // Sends a scroll code of a bar as the window system does.
    static void SendScroll(TScrollControl* control, int bar, int code) {
        SendMessageA(control->GetHandle(), bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, 0), 0);
    }

    // The screen point of a scroll bar's part: offset along the bar from its
    // top (vertical) or left (horizontal) end, in the middle of its thickness.
    static POINT BarPoint(TWinControl* control, int bar, int offset) {
        RECT window;
        GetWindowRect(control->GetHandle(), &window);
        const RECT client = control->GetClientRect();
        if (bar == SB_VERT) return POINT{window.left + client.right + 8, window.top + offset};
        return POINT{window.left + offset, window.top + client.bottom + 8};
    }

    win32::TestDriver driver;
    TForm* form = nullptr;
};
