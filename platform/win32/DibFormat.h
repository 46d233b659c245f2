// Reading and writing the pixel rows of device-independent bitmaps of 1, 4, 8,
// 16, 24 and 32 bits per pixel, to and from 32-bit surface rows. Internal.
#pragma once

#include <cstdint>
#include <vector>

#include "Gdi.h"

// What a BITMAPINFO says about its rows, checked once.
struct DibLayout {
    int width = 0;
    int height = 0;        // always positive
    bool topDown = false;  // negative biHeight
    int bitsPerPixel = 0;
    size_t rowBytes = 0;  // padded to 4 bytes
    // Colours of a 1, 4 or 8-bit table, as pixels 0x00RRGGBB.
    std::vector<uint32_t> palette;
    // 16 and 32 bits: channel masks.
    uint32_t redMask = 0, greenMask = 0, blueMask = 0;

    // Scan line s (0 = first in memory) as a surface row (0 = top).
    int SurfaceRow(int scanLine) const { return topDown ? scanLine : height - 1 - scanLine; }
    size_t ImageBytes() const { return rowBytes * static_cast<size_t>(height); }
};

// Fills layout from info; false for unsupported or damaged headers (a width or
// height of 0 or beyond 65535, compression other than BI_RGB/BI_BITFIELDS, a
// colour table over 2^bits entries).
bool ReadDibLayout(const BITMAPINFO* info, DibLayout& layout);
// Bytes of header plus colour table or masks as ReadDibLayout reads them.
size_t DibInfoSize(const BITMAPINFO* info);

// One row between DIB bytes and 32-bit pixels (width pixels).
void DecodeDibRow(const DibLayout& layout, const uint8_t* source, uint32_t* destination);
// Writing into 1, 4 and 8 bits picks the nearest palette colour (squared RGB
// distance, first on ties).
void EncodeDibRow(const DibLayout& layout, const uint32_t* source, uint8_t* destination);

// Nearest colour index of pixel in a palette; 0 for an empty palette.
int NearestPaletteIndex(const std::vector<uint32_t>& palette, uint32_t pixel);
