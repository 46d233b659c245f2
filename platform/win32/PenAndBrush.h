// Pens and brushes: their records and what the rasteriser needs of them
// (dash patterns, brush tiles). Internal to the Win32 subset.
#pragma once

#include <cstdint>
#include <vector>

#include "GdiObject.h"

class GdiPen : public GdiObject {
public:
    explicit GdiPen(const LOGPEN& record) : GdiObject(GdiKind::Pen), logPen(record) {}
    int RecordSize() const override { return static_cast<int>(sizeof(LOGPEN)); }
    void CopyRecord(void* buffer, int size) const override;
    std::string Describe() const override;

    int Style() const { return static_cast<int>(logPen.lopnStyle & PS_STYLE_MASK); }
    int Width() const { return logPen.lopnWidth.x < 1 ? 1 : logPen.lopnWidth.x; }
    bool IsNull() const { return Style() == PS_NULL; }
    // Lengths of alternating on and off runs; empty for a solid line.
    const std::vector<int>& DashPattern() const;

    LOGPEN logPen;
};

class GdiBrush : public GdiObject {
public:
    explicit GdiBrush(const LOGBRUSH& record) : GdiObject(GdiKind::Brush), logBrush(record) {}
    int RecordSize() const override { return static_cast<int>(sizeof(LOGBRUSH)); }
    void CopyRecord(void* buffer, int size) const override;
    std::string Describe() const override;

    bool IsNull() const { return logBrush.lbStyle == BS_NULL; }
    bool IsSolid() const { return logBrush.lbStyle == BS_SOLID; }

    LOGBRUSH logBrush;
    // Hatch and pattern brushes: a tile of tileWidth x tileHeight. For hatches and
    // 1-bpp patterns `foreground` marks pixels taking the brush (hatch) or text
    // (pattern) colour, the others take the background colour; colour patterns
    // use `pixels`.
    int tileWidth = 0;
    int tileHeight = 0;
    bool monochrome = false;
    std::vector<uint8_t> foreground;
    std::vector<uint32_t> pixels;
};

GdiPen* LookupPen(HGDIOBJ pen);
GdiBrush* LookupBrush(HGDIOBJ brush);
GdiPen* MakeStockPen(int index);
GdiBrush* MakeStockBrush(int index);
