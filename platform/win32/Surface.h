// A 32-bit pixel surface, 0x00RRGGBB per pixel: either owning its pixels or a
// view with a stride (possibly negative, for bottom-up DIBs) over memory it does not own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Win32Types.h"

class Surface {
public:
    Surface() = default;
    // An owned surface, all black; a size below 1 gives an empty surface.
    Surface(int width, int height);
    // A view: row 0 starts at firstRow and row y at firstRow + y * stridePixels.
    Surface(int width, int height, uint32_t* firstRow, std::ptrdiff_t stridePixels);

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    std::ptrdiff_t Stride() const { return stride_; }
    uint32_t* Row(int y) { return firstRow_ + y * stride_; }
    const uint32_t* Row(int y) const { return firstRow_ + y * stride_; }
    RECT Bounds() const { return RECT{0, 0, width_, height_}; }

    void Fill(uint32_t pixel);

private:
    int width_ = 0;
    int height_ = 0;
    uint32_t* firstRow_ = nullptr;
    std::ptrdiff_t stride_ = 0;
    std::vector<uint32_t> storage_;
};

// COLORREF 0x00BBGGRR <-> pixel 0x00RRGGBB.
inline uint32_t PixelFromColour(COLORREF colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
inline COLORREF ColourFromPixel(uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

// Helpers on rectangles used throughout the GDI code.
inline bool RectIsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }
inline RECT IntersectRects(const RECT& a, const RECT& b) {
    RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
           a.bottom < b.bottom ? a.bottom : b.bottom};
    if (RectIsEmpty(r)) r = RECT{0, 0, 0, 0};
    return r;
}
