// TMemBitmapScroller: construction, the image and its zoomed display buffer,
// zoom and display ratios, coordinates, painting, mouse events and the
// published properties. Selections and the clipboard are in
// MemBitmapScrollerClipboard.cpp.
#include "MemBitmapScroller.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "BitmapPixels.h"
#include "ImageColors.h"
#include "MemBitmap.h"
#include "PropertyTable.h"
#include "Registration.h"
#include "ScrollArithmetic.h"

namespace {

// a / b rounded down (b > 0).
int FloorDivide(int a, int b) { return a >= 0 ? a / b : -int((-int64_t(a) + b - 1) / b); }

// A rectangle side of size x ratio, truncated; 0 for a non-positive or
// undefined product.
int StretchedSide(int size, float ratio) {
    const double side = double(size) * double(ratio);
    if (!(side > 0)) return 0;
    return side >= double(INT_MAX) ? INT_MAX : int(side);
}

// The buffer holds 16-bit pictures in 24 bits: a memory bitmap is made only
// in 4, 8 or 24.
int BufferDepthFor(int imageDepth) { return imageDepth == 16 ? 24 : imageDepth; }

}  // namespace

TMemBitmapScroller::TMemBitmapScroller(TComponent* owner) : TSelectableRectScroller(owner) {
    HScrollPage = 256;
    VScrollPage = 256;
    if (!IsDesigning()) {
        FImage = new TMemBitmap();
        FImageBuffer = new TMemBitmap();
    }
    Init();
}

TMemBitmapScroller::~TMemBitmapScroller() {
    Destroying();
    delete FImageBuffer;
    FImageBuffer = nullptr;
    delete FImage;
    FImage = nullptr;
}

void TMemBitmapScroller::Init() {
    TSelectableRectScroller::Init();
    SetTabStop(true);
    FillBackground = false;
    HorzRatio = 1.0f;
    VertRatio = 1.0f;
    Zoom = 1;
}

// ---- Image ----

void TMemBitmapScroller::SetImage(TMemBitmap& source) {
    if (!FImage) return;
    const bool resized = source.Width != FImage->Width || source.Height != FImage->Height;
    FImage->Assign(&source);
    RefreshImageBuffer();
    if (resized) Resize();
    Repaint();
}

TMemBitmap* TMemBitmapScroller::SetImageAddr(TMemBitmap* bitmap) {
    if (!FImage || !bitmap || bitmap == FImage) return nullptr;
    TMemBitmap* previous = FImage;
    FImage = bitmap;
    RefreshImage();
    return previous;
}

// A blank of the image's depth; its colour table (4 and 8 bits) is kept, and a
// size no bitmap can have leaves the image as it was.
void TMemBitmapScroller::SetImageSizes(int width, int height) {
    if (!FImage || (width == FImage->Width && height == FImage->Height)) return;
    TMemBitmap* blank = NewBitmapLike(*FImage, width, height);
    if (!blank) return;
    FImage->Assign(blank);
    delete blank;
    RefreshImage();
}

void TMemBitmapScroller::RefreshImage() {
    if (!FImage) return;
    FImage->Refresh();
    RefreshImageBuffer();
    Resize();
    Repaint();
}

bool TMemBitmapScroller::RefreshImageBuffer() {
    if (!FImage || !FImageBuffer) return false;
    // A picture that lives as its device bitmap alone gets its pixels back,
    // for the buffer, the copies and the cuts.
    if (FImage->Valid && FImage->GetDIB() == nullptr) {
        FImage->KeepDIB = 1;
        FImage->DIBCreate();
    }
    // No picture yet, or the image shows itself.
    if (!FImage->Valid || FImage->Width <= 0 || FImage->Height <= 0 || Zoom == 1) {
        EmptyBuffer();
        return true;
    }
    const int64_t width = int64_t(FImage->Width) * Zoom, height = int64_t(FImage->Height) * Zoom;
    const int depth = BufferDepthFor(FImage->BitCount);
    TMemBitmap& buffer = *FImageBuffer;
    const bool held = BitmapCanHold(width, height);
    if (held && (!buffer.Valid || buffer.Width != width || buffer.Height != height || buffer.BitCount != depth))
        buffer.NewBitmap(int(width), int(height), depth);
    if (!held || !buffer.Valid) {
        EmptyBuffer();  // no stale picture stays behind
        ShowZoomFailure(width, height);
        return false;
    }
    ZoomIntoBuffer();
    if (buffer.PaletteSize() > 0) FImage->CopyPalette(buffer);
    buffer.Refresh();
    return true;
}

void TMemBitmapScroller::EmptyBuffer() {
    delete FImageBuffer;
    FImageBuffer = new TMemBitmap();
}

// Every image pixel becomes a Zoom x Zoom block: by ScaleImage where both
// have views (8 and 24 bits), else pixel by pixel.
void TMemBitmapScroller::ZoomIntoBuffer() {
    TBitmapPixels image(*FImage);
    TBitmapPixels buffer(*FImageBuffer);
    if (ImageHasPixels(image.View()) && ImageHasPixels(buffer.View())) {
        ScaleImage(buffer.View(), image.View(), Zoom, 1);
        return;
    }
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint32_t value = image.Get(x, y);
            for (int blockY = 0; blockY < Zoom; ++blockY)
                for (int blockX = 0; blockX < Zoom; ++blockX)
                    buffer.Set(x * Zoom + blockX, y * Zoom + blockY, value);
        }
}

void TMemBitmapScroller::ShowZoomFailure(int64_t width, int64_t height) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "The system cannot handle an image of size<%lld, %lld>\nTry either a smaller image or a smaller "
                  "zoom ratio",
                  static_cast<long long>(width), static_cast<long long>(height));
    MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, text, "Zoom image", MB_OK | MB_ICONERROR);
}

// ---- Zoom and ratios ----

// Without a buffer (design time) the zoom is only stored.
void TMemBitmapScroller::SetZoomRatio(int z) {
    if (z < 1 || z == Zoom) return;
    const int previous = Zoom;
    Zoom = z;
    if (!FImageBuffer) return;
    if (!RefreshImageBuffer()) {
        Zoom = previous;
        RefreshImageBuffer();
    }
    Resize();
    Repaint();
}

void TMemBitmapScroller::SetHorzRatio(float ratio) {
    HorzRatio = ratio;
    ApplyRatios();
}

void TMemBitmapScroller::SetVertRatio(float ratio) {
    VertRatio = ratio;
    ApplyRatios();
}

// A thumb drag scrolls the pixels only while they are the buffer's own.
void TMemBitmapScroller::ApplyRatios() {
    AutoScroll = HorzRatio == 1.0f && VertRatio == 1.0f;
    Refresh();
}

// ---- Geometry and coordinates ----

SIZE TMemBitmapScroller::GetRectSizes() {
    const TMemBitmap* shown = GetImageBuffer();
    if (!shown || !shown->Valid) return SIZE{0, 0};
    return SIZE{StretchedSide(shown->Width, HorzRatio), StretchedSide(shown->Height, VertRatio)};
}

int TMemBitmapScroller::GetScreenHCoord(int x) { return Saturate(int64_t(x) * Zoom + Zoom / 2); }
int TMemBitmapScroller::GetScreenVCoord(int y) { return Saturate(int64_t(y) * Zoom + Zoom / 2); }
int TMemBitmapScroller::GetRealHCoord(int x) { return FloorDivide(x, Zoom); }
int TMemBitmapScroller::GetRealVCoord(int y) { return FloorDivide(y, Zoom); }

int TMemBitmapScroller::GetRulerMax() { return FImage ? std::max(FImage->Width, FImage->Height) : 0; }

void TMemBitmapScroller::InvertSelection(bool show) { TSelectableRectScroller::InvertSelection(show); }
void TMemBitmapScroller::DrawRuler() { TSelectableRectScroller::DrawRuler(); }

// ---- Painting ----

void TMemBitmapScroller::PaintRect(POINT origin, SIZE size) {
    TMemBitmap* shown = GetImageBuffer();
    const bool painted = shown && shown->Valid && size.cx > 0 && size.cy > 0;
    if (painted) {
        HDC dc = GetCanvas()->GetHandle();
        if (HorzRatio == 1.0f && VertRatio == 1.0f)
            shown->PaintToDC(dc, origin.x, origin.y, SRCCOPY);
        else
            shown->StretchToDC(dc, origin.x, origin.y, size.cx, size.cy, SRCCOPY);
    }
    // The inherited fill would cover the picture.
    struct TFillOff {
        bool& fill;
        bool kept;
        ~TFillOff() { fill = kept; }
    } fillOff{FillBackground, FillBackground};
    if (painted) FillBackground = false;
    TSelectableRectScroller::PaintRect(origin, size);
}

// ---- Mouse ----

void TMemBitmapScroller::DoOnMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TSelectableRectScroller::DoOnMouseDown(button, shift, GetRealHCoord(x), GetRealVCoord(y));
}

void TMemBitmapScroller::DoOnMouseMove(TShiftState shift, int x, int y) {
    TSelectableRectScroller::DoOnMouseMove(shift, GetRealHCoord(x), GetRealVCoord(y));
}

void TMemBitmapScroller::DoOnMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TSelectableRectScroller::DoOnMouseUp(button, shift, GetRealHCoord(x), GetRealVCoord(y));
}

// ---- Published properties and registration ----

namespace {

const TPropertyInfo kMemBitmapScrollerProperties[] = {
    CLASSLIB_INTEGER_PROPERTY(TMemBitmapScroller, VScrollPage, 256),
    CLASSLIB_INTEGER_PROPERTY(TMemBitmapScroller, HScrollPage, 256),
    CLASSLIB_BOOLEAN_PROPERTY(TMemBitmapScroller, FillBackground, false),
    CLASSLIB_FLOAT_PROPERTY(TMemBitmapScroller, HorzRatio, 1.0f),
    CLASSLIB_FLOAT_PROPERTY(TMemBitmapScroller, VertRatio, 1.0f),
    CLASSLIB_INTEGER_PROPERTY(TMemBitmapScroller, Zoom, 1),
};

}  // namespace

void RegisterMemBitmapScrollerProperties() {
    RegisterPropertyTable(TMemBitmapScroller::StaticClassInfo(), kMemBitmapScrollerProperties);
}

namespace Membitmapscroller {
void Register() { RegisterComponents("Rollan", {ComponentClass<TMemBitmapScroller>()}); }
}  // namespace Membitmapscroller
