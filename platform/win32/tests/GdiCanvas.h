// A small memory DC with its own bitmap for GDI tests, and ways to read its pixels back.
#pragma once

#include <string>
#include <vector>

#include "Gdi.h"

class GdiCanvas {
public:
    GdiCanvas(int width, int height, COLORREF background = RGB(255, 255, 255)) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(dc_, width, height);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        Clear(background);
    }
    ~GdiCanvas() {
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }

    void Clear(COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT all{0, 0, width_, height_};
        HRGN oldClip = CreateRectRgn(0, 0, 0, 0);
        const int hadClip = GetClipRgn(dc_, oldClip);
        SelectClipRgn(dc_, nullptr);
        POINT origin, window;
        SetViewportOrgEx(dc_, 0, 0, &origin);
        SetWindowOrgEx(dc_, 0, 0, &window);
        FillRect(dc_, &all, brush);
        SetViewportOrgEx(dc_, origin.x, origin.y, nullptr);
        SetWindowOrgEx(dc_, window.x, window.y, nullptr);
        SelectClipRgn(dc_, hadClip == 1 ? oldClip : nullptr);
        DeleteObject(oldClip);
        DeleteObject(brush);
    }

    // Every pixel in device order, as COLORREFs (origins and clip are ignored).
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> pixels;
        POINT origin, window;
        SetViewportOrgEx(dc_, 0, 0, &origin);
        SetWindowOrgEx(dc_, 0, 0, &window);
        HRGN oldClip = CreateRectRgn(0, 0, 0, 0);
        const int hadClip = GetClipRgn(dc_, oldClip);
        SelectClipRgn(dc_, nullptr);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) pixels.push_back(GetPixel(dc_, x, y));
        SelectClipRgn(dc_, hadClip == 1 ? oldClip : nullptr);
        DeleteObject(oldClip);
        SetViewportOrgEx(dc_, origin.x, origin.y, nullptr);
        SetWindowOrgEx(dc_, window.x, window.y, nullptr);
        return pixels;
    }

    COLORREF At(int x, int y) const { return Pixels()[static_cast<size_t>(y * width_ + x)]; }

    // Rows of '#' for pixels of the ink colour and '.' for others, separated by '\n'.
    std::string Mask(COLORREF ink) const {
        const std::vector<COLORREF> pixels = Pixels();
        std::string text;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) text += pixels[static_cast<size_t>(y * width_ + x)] == ink ? '#' : '.';
            text += '\n';
        }
        return text;
    }

    int Count(COLORREF ink) const {
        int count = 0;
        for (COLORREF pixel : Pixels()) count += pixel == ink ? 1 : 0;
        return count;
    }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ oldBitmap_;
};

// Joins rows into the form GdiCanvas::Mask returns.
inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string text;
    for (const char* row : rows) text += std::string(row) + "\n";
    return text;
}
