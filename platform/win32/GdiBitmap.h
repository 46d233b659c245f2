// Bitmaps: device bitmaps and DIB sections over 32-bit surfaces, and the
// conversion of DIB sections of other depths. Internal to the Win32 subset.
#pragma once

#include <cstdint>
#include <vector>

#include "GdiObject.h"
#include "Surface.h"

class DeviceContext;

class GdiBitmap : public GdiObject {
public:
    GdiBitmap(int width, int height, int bitsPerPixel);
    int RecordSize() const override;
    void CopyRecord(void* buffer, int size) const override;
    std::string Describe() const override;

    int Width() const { return surface.Width(); }
    int Height() const { return surface.Height(); }
    bool IsSection() const { return !sectionBits.empty(); }
    // True when the section's bits are a separate copy (not 32 bits per pixel).
    bool IsConvertedSection() const { return IsSection() && sectionView == false; }

    // Brings the surface up to date with the section bits (before reading or
    // drawing) and writes it back (after drawing); no-ops unless converted.
    void PullSectionBits();
    void PushSectionBits();

    Surface surface;
    int bitsPerPixel;  // reported by GetObject: 1, or 32 for device bitmaps; the DIB depth for sections
    DeviceContext* selectedInto = nullptr;

    // DIB sections: the caller's bits and their header (with colour table or masks).
    std::vector<uint8_t> sectionBits;
    std::vector<uint8_t> sectionInfo;  // BITMAPINFOHEADER + colours/masks
    bool sectionView = false;          // the surface is a view over sectionBits
};

GdiBitmap* LookupBitmap(HGDIOBJ bitmap);
// The 1x1 monochrome bitmap every new memory DC starts with.
GdiBitmap* StockBitmap();
// Bitmap operations outside a DC go through these so converted sections stay in step.
void BeginBitmapAccess(GdiBitmap& bitmap);
void EndBitmapAccess(GdiBitmap& bitmap, bool modified);
