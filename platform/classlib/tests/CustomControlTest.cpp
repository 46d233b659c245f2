// TCustomControl: Paint on the canvas in WM_PAINT, the canvas outside it,
// and raw GDI calls on the canvas handle sharing the canvas's state.
#include "ControlFixture.h"
#include "Exceptions.h"

namespace {

class TPainted : public TCustomControl {
    CLASSLIB_CLASS(TPainted, TCustomControl)

public:
    using TCustomControl::TCustomControl;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        GetCanvas()->GetBrush()->SetColor(clGreen);
        GetCanvas()->FillRect(RECT{0, 0, 10, 10});
    }
};

class CustomControlTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        control = new TPainted(host);
        control->SetBounds(10, 10, 50, 40);
        control->SetColor(clYellow);
        control->SetParent(host);
        driver.PumpUntilIdle();
    }
    TPainted* control = nullptr;
};

TEST_F(CustomControlTest, PaintDrawsOnTheErasedBackground) {
    EXPECT_GE(control->paints, 1);
    HWND window = control->GetHandle();
    EXPECT_EQ(driver.Pixel(window, 0, 0), ColorToRGB(clGreen));
    EXPECT_EQ(driver.Pixel(window, 20, 20), ColorToRGB(clYellow));
    int before = control->paints;
    control->Repaint();
    EXPECT_EQ(control->paints, before + 1);
}

TEST_F(CustomControlTest, CanvasDrawsOutsidePaintThroughTheSameState) {
    TCanvas* canvas = control->GetCanvas();
    canvas->GetPen()->SetColor(clRed);
    HDC dc = canvas->GetHandle();
    ASSERT_NE(dc, nullptr);
    // A raw GDI line on the handle uses the canvas's pen.
    MoveToEx(dc, 0, 30, nullptr);
    LineTo(dc, 40, 30);
    canvas->GetBrush()->SetColor(clBlue);
    canvas->FillRect(RECT{20, 0, 30, 10});
    HWND window = control->GetHandle();
    EXPECT_EQ(driver.Pixel(window, 5, 30), ColorToRGB(clRed));
    EXPECT_EQ(driver.Pixel(window, 25, 5), ColorToRGB(clBlue));
    // Painting takes the canvas to the paint DC and back.
    control->Repaint();
    EXPECT_EQ(driver.Pixel(window, 5, 30), ColorToRGB(clYellow));
    canvas->GetBrush()->SetColor(clBlue);  // Paint left it green
    canvas->FillRect(RECT{20, 0, 30, 10});
    EXPECT_EQ(driver.Pixel(window, 25, 5), ColorToRGB(clBlue));
}

TEST(CustomControl, CanvasWithoutWindowRefusesToDraw) {
    TPainted control(nullptr);
    EXPECT_THROW(control.GetCanvas()->FillRect(RECT{0, 0, 1, 1}), EInvalidOperation);
}

}  // namespace
