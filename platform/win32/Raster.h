// Painting figures onto a DC's surface: raster operations, brush and pen
// painters, and clipping of figure regions to the DC's clip area. Internal.
#pragma once

#include <cstdint>

#include "DeviceContext.h"
#include "PenAndBrush.h"

// Binary raster operation (R2_ code) of pen pixel and destination pixel.
inline uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t destination) {
    const unsigned table = static_cast<unsigned>(rop2 - 1);
    uint32_t result = 0;
    if (table & 1) result |= ~pen & ~destination;
    if (table & 2) result |= ~pen & destination;
    if (table & 4) result |= pen & ~destination;
    if (table & 8) result |= pen & destination;
    return result & 0xFFFFFF;
}

// Ternary raster operation of pattern, source and destination pixels.
uint32_t ApplyRop3(DWORD rop, uint32_t pattern, uint32_t source, uint32_t destination);

// How one brush paints on one DC: colours resolved, origin and ROP2 fixed.
struct BrushPaint {
    const GdiBrush* brush = nullptr;
    bool solid = true;
    uint32_t colour = 0;      // solid colour, or hatch / mono-pattern foreground
    uint32_t background = 0;  // hatch gaps and mono-pattern background
    bool skipBackground = false;
    LONG originX = 0, originY = 0;
    int rop2 = R2_COPYPEN;

    // The brush's pixel at device (x, y) and whether it is drawn at all.
    bool PixelAt(LONG x, LONG y, uint32_t& pixel) const;
    // Paints count pixels starting at device (x, y).
    void PaintSpan(uint32_t* pixels, LONG x, LONG y, LONG count) const;
};

// A solid colour painter (pens, hatch gaps of pens).
BrushPaint SolidPaint(COLORREF colour, int rop2);
// honourBackgroundMode: hatch gaps are skipped in TRANSPARENT mode (shapes), not for blits.
BrushPaint PrepareBrushPaint(const DeviceContext& dc, const GdiBrush& brush, int rop2, bool honourBackgroundMode);

// Visits the parts of a device rectangle or region inside the DC's clip area.
template <class Visit>
void ForEachClippedRect(DeviceContext& dc, const RECT& deviceRect, Visit visit) {
    if (dc.surface == nullptr) return;
    dc.clipArea.ForEachRectIn(deviceRect, visit);
}
template <class Visit>
void ForEachClippedRect(DeviceContext& dc, const Region& figure, Visit visit) {
    if (dc.surface == nullptr || figure.Empty()) return;
    if (dc.clipIsRectangle) {
        figure.ForEachRectIn(dc.clipBounds, visit);
    } else {
        const Region clipped = Region::Combine(figure, dc.clipArea, RGN_AND);
        clipped.ForEachRectIn(clipped.Bounds(), visit);
    }
}

void PaintRect(DeviceContext& dc, const RECT& deviceRect, const BrushPaint& paint);
void PaintRegion(DeviceContext& dc, const Region& figure, const BrushPaint& paint);
