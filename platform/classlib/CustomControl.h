// TCustomControl: a windowed control that paints itself on its Canvas.
#pragma once

#include "ControlCanvas.h"
#include "WinControl.h"

// In WM_PAINT the canvas is bound to the paint DC and Paint runs; outside it
// the canvas draws on a window DC of its own (see TControlCanvas).
class TCustomControl : public TWinControl {
    CLASSLIB_CLASS(TCustomControl, TWinControl)

public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    TCanvas* GetCanvas() { return canvas_; }
    void WndProc(TMessage& message) override;

protected:
    // Draws the control; the base does nothing.
    virtual void Paint();
    void PaintWindow(HDC dc) override;

private:
    TControlCanvas* canvas_;
};
