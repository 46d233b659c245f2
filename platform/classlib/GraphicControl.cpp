// TGraphicControl: a control without a window, painted by its parent.
#include "GraphicControl.h"

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(new TControlCanvas(this)) {}

TGraphicControl::~TGraphicControl() {
    Destroying();
    canvas_->FreeHandle();
    delete canvas_;
    canvas_ = nullptr;
}

void TGraphicControl::Dispatch(TMessage& message) {
    static const TMessageMapEntry<TGraphicControl> messageMap[] = {
        {WM_PAINT, &TGraphicControl::WMPaint},
    };
    if (!DispatchThroughMap(this, messageMap, message)) TControl::Dispatch(message);
}

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
    canvas_->FreeHandle();
    TControl::SetBounds(left, top, width, height);
}

void TGraphicControl::WMPaint(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc) return;
    canvas_->PaintOn(dc, [this] { Paint(); });
}

void TGraphicControl::Paint() {}
