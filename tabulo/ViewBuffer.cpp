// The buffer bitmap of the charts and the statistics views.
#include "ViewBuffer.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "BufferImageData.h"

void SizeViewBuffer(TBitmap& buffer, int width, int height) {
    buffer.SetPixelFormat(pf32bit);
    buffer.SetSize(width, height);
}

bool BeginBufferPaint(TBitmap& buffer, int width, int height, IMAGEDATA& view) {
    if (buffer.GetWidth() != width || buffer.GetHeight() != height || buffer.GetPixelFormat() != pf32bit)
        SizeViewBuffer(buffer, width, height);
    if (buffer.GetWidth() <= 0 || buffer.GetHeight() <= 0) return false;
    PrepareImageData(buffer, view);
    return true;
}

void DrawViewBuffer(TGraphicControl& control, TBitmap& buffer) {
    TCanvas* canvas = control.GetCanvas();
    if (canvas->GetHandle() == nullptr) return;
    canvas->Draw(0, 0, &buffer);
    // Outside WM_PAINT the canvas drew through a window DC of its own: giving
    // it back shows the drawing (a paint DC bound for WM_PAINT stays).
    if (auto* own = dynamic_cast<TControlCanvas*>(canvas)) own->FreeHandle();
}

int ViewCoordinate(int64_t value) { return int(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

std::string ViewNumberText(const char* format, double number) {
    const int length = std::snprintf(nullptr, 0, format, number);
    if (length <= 0) return std::string();
    std::string text(size_t(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, number);
    text.resize(size_t(length));
    return text;
}
