// Putting text pixels on a DC's surface: antialiased glyphs, filled rectangles and
// rectangles turned with the text, all inside a visible region of device pixels.
#pragma once

#include <cstdint>

#include "DeviceContext.h"
#include "FontEngine.h"

namespace win32 {

// The direction of a text's baseline; text space has u along the baseline and
// v downwards across it, both in pixels from the reference point.
struct TextDirection {
    double cosine = 1;
    double sine = 0;
    // Escapement in tenths of a degree, counter-clockwise on screen.
    static TextDirection FromEscapement(int escapement);
    bool Upright() const { return cosine == 1 && sine == 0; }
    // Device offset of the text-space point (u, v).
    double DeviceX(double u, double v) const { return u * cosine + v * sine; }
    double DeviceY(double u, double v) const { return -u * sine + v * cosine; }
};

class TextPainter {
public:
    // Draws into the DC's surface inside `visible` (device coordinates), which
    // must lie inside the DC's clip area; nothing is drawn without a surface.
    TextPainter(DeviceContext& dc, const Region& visible) : dc_(dc), visible_(visible) {}

    // On a monochrome target glyph pixels are either drawn or not (coverage
    // from one half up), so that the surface keeps only its two colours.
    void SetMonochrome(bool monochrome) { monochrome_ = monochrome; }

    // Blends the glyph's coverage in pixel colour (0x00RRGGBB) with its origin at (x, y).
    void BlendGlyph(const Glyph& glyph, int x, int y, uint32_t pixel);
    // Fills [left, right) x [top, bottom) of device pixels.
    void FillRect(const RECT& rect, uint32_t pixel);
    // Fills the text-space rectangle [u0, u1) x [v0, v1) about the reference
    // point (x, y): every pixel whose centre lies inside the turned rectangle.
    void FillTextRect(double x, double y, const TextDirection& direction, double u0, double v0, double u1, double v1,
                      uint32_t pixel);

private:
    DeviceContext& dc_;
    const Region& visible_;
    bool monochrome_ = false;
};

}  // namespace win32
