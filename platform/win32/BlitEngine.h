// The pixel-moving core shared by the blits and the DIB calls: a view on source
// pixels and a clipped, optionally stretched and mirrored transfer. Internal.
#pragma once

#include <cstdint>

#include "DeviceContext.h"

// Source pixels: rows of a surface, device (0, 0) at origin. A monochrome source
// paints black in the foreground and white in the background colour; a colour
// source going into a monochrome bitmap gives white where it has the key colour
// (the source's background colour) and black elsewhere.
struct SourceView {
    const Surface* surface = nullptr;
    POINT origin{0, 0};
    bool monochrome = false;
    uint32_t foreground = 0;
    uint32_t background = 0xFFFFFF;
    bool toMonochrome = false;
    uint32_t key = 0xFFFFFF;

    const uint32_t* Pixel(LONG x, LONG y) const { return surface->Row(y + origin.y) + (x + origin.x); }
    uint32_t Map(uint32_t pixel) const {
        if (toMonochrome) return (pixel & 0xFFFFFF) == key ? 0xFFFFFF : 0;
        return !monochrome ? pixel : ((pixel & 0xFFFFFF) == 0 ? foreground : background);
    }
    bool NeedsMapping() const { return toMonochrome || (monochrome && (foreground != 0 || background != 0xFFFFFF)); }
};

// Transfers source rectangle `from` (inside sourceBounds only; device
// coordinates of the view) onto destination rectangle `to` (device coordinates)
// with a ternary raster operation. Either rectangle may be mirrored (right <
// left, bottom < top). Equal sizes copy; others replicate or drop pixels, each
// destination pixel taking the source pixel under its centre. The view must not
// share pixels with the destination unless sizes are equal and rop is SRCCOPY.
void TransferPixels(DeviceContext& destination, const SourceView& view, const RECT& sourceBounds, const RECT& to,
                    const RECT& from, DWORD rop);
