// Brush and pen painters, raster operations and clipped painting of figures.
#include "Raster.h"

#include <algorithm>
#include <cstring>

uint32_t ApplyRop3(DWORD rop, uint32_t pattern, uint32_t source, uint32_t destination) {
    const unsigned table = (rop >> 16) & 0xFF;
    uint32_t result = 0;
    for (unsigned minterm = 0; minterm < 8; ++minterm) {
        if ((table & (1u << minterm)) == 0) continue;
        const uint32_t p = (minterm & 4) ? pattern : ~pattern;
        const uint32_t s = (minterm & 2) ? source : ~source;
        const uint32_t d = (minterm & 1) ? destination : ~destination;
        result |= p & s & d;
    }
    return result & 0xFFFFFF;
}

BrushPaint SolidPaint(COLORREF colour, int rop2) {
    BrushPaint paint;
    paint.colour = PixelFromColour(colour);
    paint.rop2 = rop2;
    return paint;
}

BrushPaint PrepareBrushPaint(const DeviceContext& dc, const GdiBrush& brush, int rop2, bool honourBackgroundMode) {
    BrushPaint paint = SolidPaint(brush.logBrush.lbColor, rop2);
    if (brush.IsSolid() || brush.IsNull()) return paint;
    paint.brush = &brush;
    paint.solid = false;
    paint.background = PixelFromColour(dc.state.backgroundColour);
    if (brush.logBrush.lbStyle == BS_HATCHED) {
        paint.skipBackground = honourBackgroundMode && dc.state.backgroundMode == TRANSPARENT;
    } else if (brush.monochrome) {
        paint.colour = PixelFromColour(dc.state.textColour);
    }
    paint.originX = dc.state.brushOrigin.x;
    paint.originY = dc.state.brushOrigin.y;
    return paint;
}

bool BrushPaint::PixelAt(LONG x, LONG y, uint32_t& pixel) const {
    if (solid) {
        pixel = colour;
        return true;
    }
    const int width = brush->tileWidth;
    const int height = brush->tileHeight;
    const LONG tx = ((x - originX) % width + width) % width;
    const LONG ty = ((y - originY) % height + height) % height;
    const size_t index = static_cast<size_t>(ty) * static_cast<size_t>(width) + static_cast<size_t>(tx);
    if (brush->monochrome) {
        if (brush->foreground[index]) {
            pixel = colour;
            return true;
        }
        pixel = background;
        return !skipBackground;
    }
    pixel = brush->pixels[index];
    return true;
}

void BrushPaint::PaintSpan(uint32_t* pixels, LONG x, LONG y, LONG count) const {
    if (solid) {
        switch (rop2) {
            case R2_COPYPEN:
                std::fill_n(pixels, count, colour);
                return;
            case R2_NOP:
                return;
            case R2_NOT:
                for (LONG i = 0; i < count; ++i) pixels[i] = ~pixels[i] & 0xFFFFFF;
                return;
            case R2_XORPEN:
                for (LONG i = 0; i < count; ++i) pixels[i] = (pixels[i] ^ colour) & 0xFFFFFF;
                return;
            default:
                for (LONG i = 0; i < count; ++i) pixels[i] = ApplyRop2(rop2, colour, pixels[i]);
                return;
        }
    }
    // Walk the tile row without a division per pixel.
    const int width = brush->tileWidth;
    const int height = brush->tileHeight;
    const size_t row = static_cast<size_t>(((y - originY) % height + height) % height) * static_cast<size_t>(width);
    const uint8_t* foreground = brush->monochrome ? brush->foreground.data() + row : nullptr;
    const uint32_t* tile = brush->monochrome ? nullptr : brush->pixels.data() + row;
    LONG column = ((x - originX) % width + width) % width;
    const bool plainCopy = rop2 == R2_COPYPEN && !(foreground != nullptr && skipBackground);
    // A plain copy paints one tile width and repeats it.
    const LONG direct = plainCopy ? std::min<LONG>(count, width) : count;
    for (LONG i = 0; i < direct; ++i) {
        uint32_t pixel;
        bool drawn = true;
        if (foreground != nullptr) {
            pixel = foreground[column] ? colour : background;
            drawn = foreground[column] || !skipBackground;
        } else {
            pixel = tile[column];
        }
        if (drawn) pixels[i] = rop2 == R2_COPYPEN ? pixel : ApplyRop2(rop2, pixel, pixels[i]);
        if (++column == width) column = 0;
    }
    for (LONG i = direct; i < count; i += width)
        std::memcpy(pixels + i, pixels + i - width,
                    static_cast<size_t>(std::min<LONG>(width, count - i)) * sizeof(uint32_t));
}

namespace {

void PaintClippedRect(DeviceContext& dc, const BrushPaint& paint, LONG left, LONG top, LONG right, LONG bottom) {
    for (LONG y = top; y < bottom; ++y) paint.PaintSpan(dc.PixelAt(left, y), left, y, right - left);
}

}  // namespace

void PaintRect(DeviceContext& dc, const RECT& deviceRect, const BrushPaint& paint) {
    ForEachClippedRect(dc, deviceRect,
                       [&](LONG l, LONG t, LONG r, LONG b) { PaintClippedRect(dc, paint, l, t, r, b); });
}

void PaintRegion(DeviceContext& dc, const Region& figure, const BrushPaint& paint) {
    ForEachClippedRect(dc, figure, [&](LONG l, LONG t, LONG r, LONG b) { PaintClippedRect(dc, paint, l, t, r, b); });
}
