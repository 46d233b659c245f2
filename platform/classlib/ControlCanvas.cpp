// TControlCanvas: a canvas on a control's window DC, made on demand.
#include "ControlCanvas.h"

#include "WinControl.h"

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
    HWND window = nullptr;
    POINT offset{0, 0};
    RECT clip{0, 0, control_->GetWidth(), control_->GetHeight()};
    if (auto* windowed = dynamic_cast<TWinControl*>(control_)) {
        window = windowed->GetHandle();
        clip = windowed->GetClientRect();
    } else if (TWinControl* parent = control_->GetParent()) {
        if (!parent->HandleAllocated()) return;
        window = parent->GetHandle();
        offset = POINT{control_->GetLeft(), control_->GetTop()};
    }
    if (!window) return;
    HDC dc = GetDC(window);
    if (!dc) return;
    IntersectClipRect(dc, offset.x + clip.left, offset.y + clip.top, offset.x + clip.right, offset.y + clip.bottom);
    SetViewportOrgEx(dc, offset.x, offset.y, nullptr);
    window_ = window;
    windowDC_ = dc;
    SetHandle(dc);
}

void TControlCanvas::FreeHandle() {
    if (!windowDC_) return;
    HDC dc = windowDC_;
    HWND window = window_;
    windowDC_ = nullptr;
    window_ = nullptr;
    SetHandle(nullptr);
    if (IsWindow(window)) ReleaseDC(window, dc);
}
