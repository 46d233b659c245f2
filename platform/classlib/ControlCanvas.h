// TControlCanvas: a canvas on a control's window DC, made on demand so that a
// control can draw outside WM_PAINT.
#pragma once

#include "Graphics.h"

class TControl;

// Without a bound DC, drawing takes a DC on the control's window (a graphic
// control's parent window, offset to the control and clipped to it). The DC
// is kept until FreeHandle, which the control calls when it paints, moves,
// resizes or loses its window. A windowed control's window is made on demand
// (CreateWnd's errors pass through); a graphic control whose parent has no
// window gives no DC, and the canvas then throws EInvalidOperation.
class TControlCanvas : public TCanvas {
    CLASSLIB_CLASS(TControlCanvas, TCanvas)

public:
    explicit TControlCanvas(TControl* control) : control_(control) {}
    ~TControlCanvas() override;

    TControl* GetControl() const { return control_; }
    // Releases the window DC the canvas made (a DC bound by SetHandle is left alone).
    void FreeHandle();
    // Runs paint with the canvas bound to dc (a paint DC), then unbinds it,
    // also when paint throws.
    template <class Paint>
    void PaintOn(HDC dc, Paint paint) {
        FreeHandle();
        SetHandle(dc);
        try {
            paint();
        } catch (...) {
            SetHandle(nullptr);
            throw;
        }
        SetHandle(nullptr);
    }

protected:
    void CreateHandle() override;

private:
    TControl* control_;
    HWND window_ = nullptr;
    HDC windowDC_ = nullptr;
};
