// TCustomControl: a windowed control that paints itself on its Canvas.
#include "CustomControl.h"

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(new TControlCanvas(this)) {}

TCustomControl::~TCustomControl() {
    Destroying();
    canvas_->FreeHandle();
    delete canvas_;
    canvas_ = nullptr;
}

void TCustomControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        // A window DC made before these would draw with stale bounds or on a dead window.
        case WM_PAINT:
        case WM_SIZE:
        case WM_MOVE:
        case WM_SHOWWINDOW:
        case WM_DESTROY: canvas_->FreeHandle(); break;
        default: break;
    }
    TWinControl::WndProc(message);
}

void TCustomControl::PaintWindow(HDC dc) {
    canvas_->PaintOn(dc, [this] { Paint(); });
}

void TCustomControl::Paint() {}
