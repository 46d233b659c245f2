// The scrolling views in real windows: scrolled by the wheel and by thumb
// drags, the window shows what a full repaint draws; a selectable scroller
// shows its rulers, mesh, crosshair, selection and info forms; a
// memory-bitmap scroller shows a zoomed picture before and after a cut. Pictures of
// the windows are saved for looking at (in $ROLLAN_PICTURES, else the suite's
// test-picture folder). Needs a display (CI runs it under xvfb-run); skips
// itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "Form.h"
#include "Label.h"
#include "MemBitmap.h"
#include "MemBitmapScroller.h"
#include "RectScroller.h"
#include "SelectableRectScroller.h"
#include "SelectableRectScrollerInfoForm.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"
#include "display/WindowPicture.h"

// The desktop's message bus library, which SDL's video start-up loads, keeps
// a block past exit; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

// A coordinate grid of the scrolled area: a thin line every 10 pixels, a
// darker one every 50, and the coordinates written at every 100.
void PaintCoordinateGrid(TCanvas* canvas, int width, int height) {
    canvas->GetPen()->SetWidth(1);
    for (int at = 0; at <= std::max(width, height); at += 10) {
        canvas->GetPen()->SetColor(at % 50 == 0 ? RGB(0x40, 0x60, 0xA0) : RGB(0xD0, 0xD8, 0xE8));
        if (at <= width) {
            canvas->MoveTo(at, 0);
            canvas->LineTo(at, height);
        }
        if (at <= height) {
            canvas->MoveTo(0, at);
            canvas->LineTo(width, at);
        }
    }
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetFont()->SetColor(RGB(0x80, 0, 0));
    for (int y = 0; y < height; y += 100)
        for (int x = 0; x < width; x += 100) canvas->TextOut(x + 3, y + 2, std::to_string(x) + "," + std::to_string(y));
}

std::string PicturePath(const std::string& name) {
    const char* folder = std::getenv("ROLLAN_PICTURES");
    const std::filesystem::path path = folder && *folder ? std::string(folder) : win32::TestPictureFolder();
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return (path / name).string();
}

template <class T>
T* Place(TForm* form, int left, int top, int width, int height) {
    T* control = new T(form);
    control->SetBounds(left, top, width, height);
    control->SetParent(form);
    return control;
}

class RollanSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        setenv("SUITE_DISPLAY", "sdl", 1);
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        driver = std::make_unique<win32::TestDriver>();
        form = new TForm(nullptr, 1);
        form->SetBounds(40, 40, 640, 300);
        form->SetColor(clBtnFace);
    }
    void TearDown() override {
        delete form;
        driver.reset();
    }

    // Lets the real window system deliver what it sends back, and the layer paint.
    void Settle() {
        win32::PumpMessagesFor(150);
        driver->PumpUntilIdle();
    }

    // Every 7th pixel of a control's client area as the real window presented it
    // equals what the layer drew, and a full repaint changes none of them.
    void ExpectPresentedEqualsFullRepaint(TWinControl* control, const std::string& what) {
        Settle();
        HWND top = form->GetHandle();
        const RECT client = control->GetClientRect();
        std::vector<COLORREF> shown;
        RECT frame;
        GetWindowRect(top, &frame);
        for (int y = 0; y < client.bottom; y += 7)
            for (int x = 0; x < client.right; x += 7) {
                POINT screen{x, y};
                ClientToScreen(control->GetHandle(), &screen);
                const COLORREF drawn = driver->Pixel(control->GetHandle(), x, y);
                const COLORREF presented = win32::SdlPresentedPixel(top, screen.x - frame.left, screen.y - frame.top);
                shown.push_back(drawn);
                if (presented != drawn) {
                    ADD_FAILURE() << what << ": the window shows " << std::hex << presented << " at " << std::dec << x
                                  << ", " << y << " where the layer drew " << std::hex << drawn;
                    return;
                }
            }
        control->Repaint();
        Settle();
        size_t i = 0;
        for (int y = 0; y < client.bottom; y += 7)
            for (int x = 0; x < client.right; x += 7)
                ASSERT_EQ(driver->Pixel(control->GetHandle(), x, y), shown[i++]) << what << " differs from a repaint at " << x << ", " << y;
    }

    void Save(const std::string& name) {
        const std::string path = PicturePath(name);
        EXPECT_TRUE(win32::SaveWindowPicture(form->GetHandle(), path.c_str()));
        std::printf("picture: %s\n", path.c_str());
    }

    // The windows as the screen shows them, later ones on top, on a grey
    // desktop: each window's presented pixels at its screen place.
    void SaveScreenPicture(const std::string& name, const std::vector<HWND>& windows) {
        RECT all{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (HWND window : windows) {
            RECT r;
            GetWindowRect(window, &r);
            all = RECT{std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
                       std::max(all.bottom, r.bottom)};
        }
        all = RECT{all.left - 10, all.top - 10, all.right + 10, all.bottom + 10};
        TMemBitmap picture;
        ASSERT_TRUE(picture.NewBitmap(all.right - all.left, all.bottom - all.top, 24));
        for (int y = 0; y < all.bottom - all.top; ++y)
            for (int x = 0; x < all.right - all.left; ++x) picture.SetPixel(x, y, int(RGB(0x70, 0x78, 0x80)));
        for (HWND window : windows) {
            RECT r;
            GetWindowRect(window, &r);
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) {
                    const COLORREF pixel = win32::SdlPresentedPixel(window, x - r.left, y - r.top);
                    if (pixel != CLR_INVALID) picture.SetPixel(x - all.left, y - all.top, int(pixel));
                }
        }
        const std::string path = PicturePath(name);
        EXPECT_TRUE(picture.SaveToFile(TString(path.c_str())));
        std::printf("picture: %s\n", path.c_str());
    }

    // Drags a bar's thumb by distance pixels along the bar.
    void DragThumb(TWinControl* control, int bar, int distance) {
        RECT window;
        GetWindowRect(control->GetHandle(), &window);
        const RECT client = control->GetClientRect();
        POINT grab = bar == SB_VERT ? POINT{window.left + client.right + 8, window.top + 16 + 4}
                                    : POINT{window.left + 16 + 4, window.top + client.bottom + 8};
        driver->MouseDownOnScreen(grab);
        for (int step = 1; step <= 4; ++step) {
            const int moved = distance * step / 4;
            driver->MoveMouseOnScreen(bar == SB_VERT ? POINT{grab.x, grab.y + moved} : POINT{grab.x + moved, grab.y});
            win32::PumpMessagesFor(20);
        }
        driver->MouseUpOnScreen(bar == SB_VERT ? POINT{grab.x, grab.y + distance} : POINT{grab.x + distance, grab.y});
    }

    std::unique_ptr<win32::TestDriver> driver;
    TForm* form = nullptr;
};

}  // namespace

TEST_F(RollanSdlTest, AScrollControlScrolledByTheWheelAndTheThumb) {
    form->SetText("Scroll control");
    auto* scroller = Place<TScrollControl>(form, 10, 10, 300, 220);
    scroller->SetVMax(80);
    scroller->SetHMax(60);
    scroller->SetVScrollStep(10);
    scroller->SetHScrollStep(10);
    scroller->OnPaint = [](TScrollControl*, TCanvas* canvas) { PaintCoordinateGrid(canvas, 900, 1000); };
    form->Show();
    Settle();
    scroller->SetFocus();
    driver->Wheel(scroller->GetHandle(), 50, 50, -3);  // three notches towards the user: nine lines down
    EXPECT_EQ(scroller->GetVPos(), 9);
    ExpectPresentedEqualsFullRepaint(scroller, "after the wheel");
    DragThumb(scroller, SB_HORZ, 60);
    EXPECT_GT(scroller->GetHPos(), 0);
    ExpectPresentedEqualsFullRepaint(scroller, "after the thumb drag");

    // The same without AutoScroll: the picture jumps once when the thumb is released.
    auto* jumping = Place<TScrollControl>(form, 330, 10, 290, 220);
    jumping->SetAutoScroll(false);
    jumping->SetVMax(80);
    jumping->SetVScrollStep(10);
    jumping->OnPaint = scroller->OnPaint;
    Settle();
    DragThumb(jumping, SB_VERT, 50);
    EXPECT_GT(jumping->GetVPos(), 0);
    ExpectPresentedEqualsFullRepaint(jumping, "after a thumb drag without AutoScroll");
    Save("rollan_scroll_control.bmp");
}

TEST_F(RollanSdlTest, RectangleScrollersLargeAndCentred) {
    form->SetText("Rectangle scrollers");
    auto paintRect = [](TRectScroller* scroller, TCanvas* canvas, POINT, SIZE size) {
        HDC dc = canvas->GetHandle();
        const int saved = SaveDC(dc);
        scroller->PrepareRectDC(dc);
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(RGB(0xFF, 0xF4, 0xD0));
        canvas->FillRect(RECT{0, 0, size.cx, size.cy});
        PaintCoordinateGrid(canvas, size.cx, size.cy);
        canvas->GetPen()->SetColor(RGB(0xC0, 0, 0));
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->Rectangle(0, 0, size.cx, size.cy);
        RestoreDC(dc, saved);
    };
    auto* large = Place<TRectScroller>(form, 10, 10, 300, 220);
    large->OnGetRectSizes = [](TRectScroller*, SIZE& size) { size = SIZE{700, 500}; };
    large->OnPaintRect = paintRect;
    auto* centred = Place<TRectScroller>(form, 330, 10, 290, 220);
    centred->OnGetRectSizes = [](TRectScroller*, SIZE& size) { size = SIZE{160, 100}; };
    centred->OnPaintRect = paintRect;
    form->Show();
    Settle();
    large->Refresh();
    centred->Refresh();
    Settle();
    EXPECT_EQ(large->GetHMax(), 700 - 300 + 16);
    EXPECT_EQ(large->GetVMax(), 500 - 220 + 16);
    EXPECT_EQ(centred->GetHMax(), 0);

    DragThumb(large, SB_HORZ, 40);
    DragThumb(large, SB_VERT, 30);
    const int dragged = large->GetVPos();
    large->SetFocus();
    driver->Wheel(large->GetHandle(), 50, 50, -10);  // thirty pixels further down
    EXPECT_EQ(large->GetVPos(), dragged + 30);
    EXPECT_GT(large->GetHPos(), 0);
    EXPECT_GT(large->GetVPos(), 30);
    ExpectPresentedEqualsFullRepaint(large, "large rectangle scrolled both ways");
    ExpectPresentedEqualsFullRepaint(centred, "centred rectangle");
    const POINT corner = centred->GetRectPos();
    EXPECT_EQ(corner.x, (290 - 160) / 2);
    EXPECT_EQ(corner.y, (220 - 100) / 2);
    EXPECT_EQ(driver->Pixel(centred->GetHandle(), corner.x - 1, 110), RGB(0, 0, 0));
    EXPECT_EQ(driver->Pixel(centred->GetHandle(), 145, corner.y - 1), RGB(0, 0, 0));
    EXPECT_NE(driver->Pixel(centred->GetHandle(), corner.x + 5, corner.y + 5), RGB(0, 0, 0));
    Save("rollan_rect_scrollers.bmp");
}

// Rulers along the top and left edges, the dashed mesh, a rectangle
// selection with its dashed helper lines, the crosshair at the mouse and the
// two info forms beside it (x along the bottom, y along the right edge).
TEST_F(RollanSdlTest, ASelectableScrollerWithRulersMeshCrosshairSelectionAndInfoForms) {
    form->SetText("Selectable rectangle scroller");
    form->SetBounds(40, 40, 640, 420);
    auto* scroller = Place<TSelectableRectScroller>(form, 8, 8, 600, 360);
    scroller->OnGetRectSizes = [](TRectScroller*, SIZE& size) { size = SIZE{900, 700}; };
    // A picture of a few soft shapes on a pale ground.
    scroller->OnPaintRect = [](TRectScroller* self, TCanvas* canvas, POINT, SIZE size) {
        self->PrepareRectDC(canvas->GetHandle());
        canvas->GetPen()->SetStyle(psClear);
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(RGB(0xF2, 0xF6, 0xFA));
        canvas->FillRect(RECT{0, 0, size.cx, size.cy});
        canvas->GetBrush()->SetColor(RGB(0xB8, 0xD8, 0xF0));
        canvas->Ellipse(60, 50, 420, 300);
        canvas->GetBrush()->SetColor(RGB(0xF0, 0xD0, 0xA0));
        canvas->Rectangle(300, 180, 620, 420);
        canvas->GetBrush()->SetColor(RGB(0xC8, 0xE8, 0xC0));
        canvas->Ellipse(480, 40, 760, 260);
        canvas->GetPen()->SetStyle(psSolid);
    };
    scroller->SetShowRulers(true);
    scroller->SetShowMesh(true);
    scroller->SetRulerStep(20);
    scroller->SetShowSelectionHelpers(true);
    scroller->SetShowPosition(true);
    scroller->SetShowPercentage(true);
    form->Show();
    Settle();
    scroller->Refresh();
    Settle();

    // A rectangle from (125, 93) to (333, 227), off the mesh, drawn with the mouse.
    auto screen = [&](int x, int y) { return scroller->ClientToScreen(POINT{x, y}); };
    driver->MoveMouseOnScreen(screen(125, 93));
    driver->MouseDownOnScreen(screen(125, 93));
    for (int step = 1; step <= 5; ++step)
        driver->MoveMouseOnScreen(screen(125 + 208 * step / 5, 93 + 134 * step / 5));
    driver->MouseUpOnScreen(screen(333, 227));
    EXPECT_TRUE(scroller->GetSelection());
    EXPECT_EQ(scroller->GetSelectRight(), 333);
    // The crosshair and the info forms at the mouse.
    scroller->SetShowCursor(true);
    driver->MoveMouseOnScreen(screen(230, 160));
    driver->MoveMouseOnScreen(screen(253, 167));
    Settle();
    TSelectableRectScrollerInfoForm* xForm = scroller->GetInfoForm(0);
    TSelectableRectScrollerInfoForm* yForm = scroller->GetInfoForm(1);
    ASSERT_TRUE(xForm->GetVisible());
    ASSERT_TRUE(yForm->GetVisible());
    EXPECT_EQ(xForm->lbInfo->GetCaption(), "253 (28.1%)");
    EXPECT_EQ(yForm->lbInfo->GetCaption(), "167 (23.9%)");
    // The scroller's form keeps the activation, though the desktop focuses the forms it shows.
    EXPECT_EQ(GetActiveWindow(), form->GetHandle());
    EXPECT_EQ(win32::SdlPresentedPixel(xForm->GetHandle(), 0, 0), RGB(255, 255, 255));
    ExpectPresentedEqualsFullRepaint(scroller, "selectable scroller");
    Save("rollan_selectable_scroller.bmp");
    SaveScreenPicture("rollan_selectable_screen.bmp", {form->GetHandle(), xForm->GetHandle(), yForm->GetHandle()});
}

// A generated picture at zoom 2 with rulers and an ellipse selection drawn
// with the mouse, then the same after Ctrl+X: the ellipse's pixels go black.
// The selection drawn with the mouse (outside WM_PAINT) is on the screen
// without any later paint, and so is one hidden by the program.
TEST_F(RollanSdlTest, AMemoryBitmapScrollerAtZoomTwoBeforeAndAfterACut) {
    form->SetText("Memory-bitmap scroller");
    form->SetBounds(40, 40, 520, 400);
    TMemBitmap picture;
    ASSERT_TRUE(picture.NewBitmap(200, 150, 24));
    // Bands of colour across, darker towards the bottom, a grid every 10
    // pixels and a white disc: every 2 x 2 block and the cut's edge show.
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            const int shade = 255 - y;
            COLORREF c = RGB(x * 255 / 199 * shade / 255, (200 - x) * shade / 200, 90 + y);
            if (x % 10 == 0 || y % 10 == 0) c = RGB(40, 40, 60);
            if ((x - 140) * (x - 140) + (y - 50) * (y - 50) < 600) c = RGB(250, 250, 250);
            picture.SetPixel(x, y, int(c));
        }
    picture.Refresh();
    auto* scroller = Place<TMemBitmapScroller>(form, 8, 8, 480, 340);
    scroller->SetImage(picture);
    scroller->SetZoomRatio(2);
    scroller->SetShowRulers(true);
    scroller->SetSelectionType(selEllipse);
    form->Show();
    Settle();
    scroller->SetFocus();
    Settle();

    // Image pixel (x, y) is the 2 x 2 block at (2x, 2y) of the rectangle.
    auto screen = [&](int x, int y) {
        const POINT corner = scroller->GetRectPos();
        return scroller->ClientToScreen(POINT{corner.x + 2 * x + 1 - scroller->GetHPos(), corner.y + 2 * y + 1 - scroller->GetVPos()});
    };
    driver->MoveMouseOnScreen(screen(90, 70));
    driver->MouseDownOnScreen(screen(90, 70));
    for (int step = 1; step <= 5; ++step) driver->MoveMouseOnScreen(screen(90 + 40 * step / 5, 70 + 25 * step / 5));
    driver->MouseUpOnScreen(screen(130, 95));
    ASSERT_TRUE(scroller->GetSelection());
    EXPECT_EQ(scroller->GetSelectHorzRadius(), 40);
    EXPECT_EQ(scroller->GetSelectVertRadius(), 25);
    ExpectPresentedEqualsFullRepaint(scroller, "before the cut");
    std::printf("picture: %s\n", win32::SaveTestPicture(form->GetHandle(), "before_cut").c_str());

    driver->Press({VK_CONTROL}, 'X');
    Settle();
    EXPECT_EQ(scroller->GetImage()->GetPixel(90, 70), 0);
    EXPECT_EQ(scroller->GetImage()->GetPixel(90, 40), int(RGB(40, 40, 60)));
    EXPECT_NE(scroller->GetImage()->GetPixel(10, 70), 0);
    ExpectPresentedEqualsFullRepaint(scroller, "after the cut");
    std::printf("picture: %s\n", win32::SaveTestPicture(form->GetHandle(), "after_cut").c_str());
    scroller->SetShowSelection(false);
    ExpectPresentedEqualsFullRepaint(scroller, "with the selection hidden");
}
