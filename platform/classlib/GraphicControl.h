// TGraphicControl: a control without a window, painted by its parent on the
// parent's DC and fed mouse messages by it.
#pragma once

#include "ControlCanvas.h"
#include "Control.h"

// The parent sends WM_PAINT with its DC (origin moved to the control and
// clipped to it) in WParam; Paint then draws on Canvas. Outside WM_PAINT the
// canvas draws on a DC of the parent's window.
class TGraphicControl : public TControl {
    CLASSLIB_CLASS(TGraphicControl, TControl)

public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    TCanvas* GetCanvas() { return canvas_; }
    void Dispatch(TMessage& message) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    // Draws the control; the base does nothing.
    virtual void Paint();
    void WMPaint(TMessage& message);

private:
    TControlCanvas* canvas_;
};
