// TGraphicControl: painted by its parent, mouse messages and mouse-leave
// routed to it by the parent, drawing on its canvas outside WM_PAINT.
#include <string>
#include <vector>

#include "ControlFixture.h"

namespace {

// Fills itself red and logs its mouse methods.
class TSpot : public TGraphicControl {
    CLASSLIB_CLASS(TSpot, TGraphicControl)

public:
    using TGraphicControl::TGraphicControl;
    std::vector<std::string> log;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        GetCanvas()->GetBrush()->SetColor(clRed);
        GetCanvas()->FillRect(RECT{0, 0, GetWidth(), GetHeight()});
    }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        log.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," + std::to_string(y));
        TGraphicControl::MouseDown(button, shift, x, y);
    }
    void MouseMove(TShiftState, int x, int y) override {
        log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUp(TMouseButton button, TShiftState, int x, int y) override {
        log.push_back("up " + std::to_string(button) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseEnter(TControl* control) override {
        log.push_back(control == this ? "enter" : "enter other");
    }
    void MouseLeave(TControl* control) override {
        log.push_back(control == this ? "leave" : "leave other");
    }
};

class GraphicControlTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        spot = new TSpot(host);
        spot->SetBounds(20, 30, 40, 20);
        spot->SetParent(host);
        driver.PumpUntilIdle();
    }
    TSpot* spot = nullptr;
};

TEST_F(GraphicControlTest, TheParentPaintsItInPlace) {
    EXPECT_GE(spot->paints, 1);
    HWND window = host->GetHandle();
    EXPECT_EQ(driver.Pixel(window, 20, 30), ColorToRGB(clRed));
    EXPECT_EQ(driver.Pixel(window, 59, 49), ColorToRGB(clRed));
    EXPECT_EQ(driver.Pixel(window, 60, 49), ColorToRGB(clWhite));  // clipped to the control
    EXPECT_EQ(driver.Pixel(window, 19, 30), ColorToRGB(clWhite));
    spot->Hide();
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(window, 25, 35), ColorToRGB(clWhite));
}

TEST_F(GraphicControlTest, MouseDownMoveUpAndLeaveComeThroughTheParent) {
    HWND window = host->GetHandle();
    driver.MoveMouse(window, 5, 5);
    driver.MoveMouse(window, 25, 35);
    driver.MouseDown(window, 25, 35);
    driver.MoveMouse(window, 100, 100);  // outside, but the control holds the mouse
    driver.MouseUp(window, 100, 100);
    driver.MoveMouse(window, 150, 140);  // released: the host has the pointer now
    // The driver moves the pointer to each press and release point first.
    EXPECT_EQ(spot->log, (std::vector<std::string>{"enter", "move 5,5", "move 5,5", "down 0 5,5", "move 80,70",
                                                   "move 80,70", "up 0 80,70", "leave"}));
}

TEST_F(GraphicControlTest, LeavingTheParentWindowAlsoLeavesTheControl) {
    HWND window = host->GetHandle();
    driver.MoveMouse(window, 25, 35);
    driver.MoveMouseOnScreen(POINT{5, 5});  // off every window
    EXPECT_EQ(spot->log, (std::vector<std::string>{"enter", "move 5,5", "leave"}));
    EXPECT_EQ(MouseControl(), nullptr);
}

TEST_F(GraphicControlTest, HostGetsTheEventsOutsideTheControl) {
    std::vector<std::string> hostLog;
    host->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        hostLog.push_back(std::to_string(x) + "," + std::to_string(y));
    };
    int spotClicks = 0;
    spot->OnClick = [&](TObject*) { ++spotClicks; };
    driver.Click(host->GetHandle(), 5, 6);
    driver.Advance(1000);
    driver.Click(host->GetHandle(), 30, 40);
    EXPECT_EQ(hostLog, (std::vector<std::string>{"5,6"}));
    EXPECT_EQ(spotClicks, 1);
    // A disabled graphic control lets the parent have the press.
    spot->SetEnabled(false);
    driver.Advance(1000);
    driver.Click(host->GetHandle(), 30, 40);
    EXPECT_EQ(hostLog, (std::vector<std::string>{"5,6", "30,40"}));
}

TEST_F(GraphicControlTest, CanvasDrawsOutsidePaint) {
    TCanvas* canvas = spot->GetCanvas();
    canvas->GetBrush()->SetColor(clBlue);
    canvas->FillRect(RECT{0, 0, 100, 100});  // clipped to the control
    HWND window = host->GetHandle();
    EXPECT_EQ(driver.Pixel(window, 20, 30), ColorToRGB(clBlue));
    EXPECT_EQ(driver.Pixel(window, 59, 49), ColorToRGB(clBlue));
    EXPECT_EQ(driver.Pixel(window, 60, 50), ColorToRGB(clWhite));
}

}  // namespace

namespace {

TEST_F(GraphicControlTest, CursorOfTheControlUnderThePointerIsShown) {
    spot->SetCursor(crHandPoint);
    host->SetCursor(crCross);
    driver.MoveMouse(host->GetHandle(), 25, 35);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    driver.MoveMouse(host->GetHandle(), 150, 100);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_CROSS));
    EXPECT_EQ(CursorShape(crDefault), nullptr);
}

}  // namespace
