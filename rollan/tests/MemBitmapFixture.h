// Shared by the memory-bitmap scroller's tests: test pictures of every depth
// whose pixels are never 0 and whose colours are known, a scroller showing
// one, a log of the message boxes it opens, and pixel comparisons.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "MemBitmap.h"
#include "MemBitmapScroller.h"
#include "Responder.h"
#include "SelectableFixture.h"

// Pixel (x, y) of each test picture: indexes 1 + (x + 3y) % 250 at 8 bits
// and 1 + (x + y) % 15 at 4 bits, over tables of distinct colours; colours
// that step with x and y at 24 bits; 5-6-5 words at 16 bits.
inline COLORREF TableColour8(int i) { return RGB(i, 255 - i, (i * 7) & 0xFF); }
inline COLORREF TableColour4(int i) { return RGB(i * 16, 200 - i * 8, (i * 37) & 0xFF); }
inline int Index8(int x, int y) { return 1 + (x + 3 * y) % 250; }
inline int Index4(int x, int y) { return 1 + (x + y) % 15; }
inline COLORREF Colour24(int x, int y) { return RGB((x * 5) & 0xFF, (y * 7) & 0xFF, 0x80 | ((x + y) & 0x7F)); }
inline uint16_t Word16(int x, int y) { return uint16_t(((x % 32) << 11) | ((y * 3 % 64) << 5) | (1 + (x + y) % 31)); }
// A 5-6-5 word as the layer paints it: each channel shifted up to 8 bits.
inline COLORREF Colour565(uint16_t word) {
    return RGB((word >> 11) << 3, ((word >> 5) & 0x3F) << 2, (word & 0x1F) << 3);
}

inline std::unique_ptr<TMemBitmap> MakePicture(int bits, int width, int height) {
    auto picture = std::make_unique<TMemBitmap>();
    if (bits == 16) {
        // A 5-6-5 BMP file with bit-field masks, field by field.
        const int lineSize = (width * 2 + 3) / 4 * 4;
        const int offset = 14 + 40 + 12;
        std::vector<uint8_t> file;
        auto u16 = [&](uint32_t v) {
            file.push_back(uint8_t(v));
            file.push_back(uint8_t(v >> 8));
        };
        auto u32 = [&](uint32_t v) {
            u16(v & 0xFFFF);
            u16(v >> 16);
        };
        u16(0x4D42);
        u32(uint32_t(offset + lineSize * height));
        u32(0);
        u32(offset);
        u32(40);
        u32(uint32_t(width));
        u32(uint32_t(height));
        u16(1);
        u16(16);
        u32(BI_BITFIELDS);
        for (int i = 0; i < 5; ++i) u32(0);
        for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) u32(mask);
        for (int row = height - 1; row >= 0; --row) {
            for (int x = 0; x < width; ++x) u16(Word16(x, row));
            for (int pad = width * 2; pad < lineSize; ++pad) file.push_back(0);
        }
        picture->LoadFromBMPMemory(file.data(), int(file.size()));
        return picture;
    }
    picture->NewBitmap(width, height, bits);
    if (bits == 4 || bits == 8)
        for (int i = 0; i < (bits == 4 ? 16 : 256); ++i) {
            const COLORREF c = bits == 4 ? TableColour4(i) : TableColour8(i);
            picture->SetPaletteEntry(i, GetRValue(c), GetGValue(c), GetBValue(c));
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture->SetPixel(x, y, bits == 4 ? Index4(x, y) : bits == 8 ? Index8(x, y) : int(Colour24(x, y)));
    picture->Refresh();
    return picture;
}

// The colour a pixel of a test picture (or any picture) shows.
inline COLORREF ShownColour(TMemBitmap& picture, int x, int y) {
    const int value = picture.GetPixel(x, y);
    if (picture.BitCount == 4 || picture.BitCount == 8) {
        const uint32_t entry = uint32_t(picture.GetPaletteEntry(value));  // 0x00RRGGBB as stored
        return RGB((entry >> 16) & 0xFF, (entry >> 8) & 0xFF, entry & 0xFF);
    }
    return COLORREF(value);
}

// Each interaction the scroller opens, answered with OK.
class TMessageLog {
public:
    TMessageLog()
        : responder_([this](const win32::ModalInteraction& box) {
              boxes.push_back(box);
              return win32::ModalReply::Answer(IDOK);
          }) {}
    std::vector<win32::ModalInteraction> boxes;

private:
    win32::ScopedResponder responder_;
};

class MemBitmapTest : public SelectableTest {
protected:
    // A scroller at (10, 10) of the form, width x height, showing picture.
    TMemBitmapScroller* MakeScroller(TMemBitmap* picture, int width = 300, int height = 240) {
        auto* scroller = new TMemBitmapScroller(form);
        scroller->SetBounds(10, 10, width, height);
        scroller->SetParent(form);
        if (picture) scroller->SetImage(*picture);
        driver.PumpUntilIdle();
        scroller->SetFocus();
        driver.PumpUntilIdle();
        return scroller;
    }
    // The client pixel of user-rectangle point p.
    COLORREF At(TSelectableRectScroller* s, POINT p) {
        const POINT c = ClientOf(s, p);
        return driver.Pixel(s->GetHandle(), c.x, c.y);
    }
    // A rectangle selection from from to to (image pixels at zoom 1).
    void SelectRect(TSelectableRectScroller* s, POINT from, POINT to) {
        s->SetSelectionType(selRect);
        Drag(s, from, to);
    }
    // An ellipse about centre with radii a and b.
    void SelectEllipse(TSelectableRectScroller* s, POINT centre, int a, int b) {
        s->SetSelectionType(selEllipse);
        Drag(s, centre, POINT{centre.x + a, centre.y + b});
    }
    // A polygon through the points, closed with the right button at the last.
    void SelectPolygon(TSelectableRectScroller* s, const std::vector<POINT>& points) {
        s->SetSelectionType(selPolygon);
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            Move(s, points[i]);
            Click(s, points[i]);
        }
        Move(s, points.back());
        Click(s, points.back(), 1);
    }
    // The bitmap as rows of '#' (pixel not 0) and '.' (pixel 0).
    static std::vector<std::string> Mask(TMemBitmap& bitmap) {
        std::vector<std::string> rows;
        for (int y = 0; y < bitmap.Height; ++y) {
            std::string row;
            for (int x = 0; x < bitmap.Width; ++x) row += bitmap.GetPixel(x, y) != 0 ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }
    // Puts a text alone on the clipboard.
    static void ClipboardText(const char* text) {
        OpenClipboard(nullptr);
        EmptyClipboard();
        const size_t size = std::strlen(text) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(block), text, size);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
};
