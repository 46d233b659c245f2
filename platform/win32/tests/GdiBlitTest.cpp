// BitBlt, StretchBlt and PatBlt: raster operations, clipping and overlapping copies.
#include <gtest/gtest.h>

#include "DeviceContext.h"
#include "GdiCanvas.h"

namespace {

COLORREF Gradient(int x, int y) { return RGB(x * 7, y * 11, (x * 3 + y) & 0xFF); }

void PaintGradient(GdiCanvas& canvas) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) SetPixel(canvas.dc(), x, y, Gradient(x, y));
}

struct RopCase {
    DWORD rop;
    COLORREF expected;
};

TEST(GdiBlit, RasterOperationsOnOnePixel) {
    const COLORREF source = RGB(0xF0, 0x0F, 0x33);
    const COLORREF destination = RGB(0xCC, 0x55, 0x0F);
    const COLORREF pattern = RGB(0xAA, 0xFF, 0x00);
    const RopCase cases[] = {
        {SRCCOPY, source},
        {SRCPAINT, RGB(0xFC, 0x5F, 0x3F)},
        {SRCAND, RGB(0xC0, 0x05, 0x03)},
        {SRCINVERT, RGB(0x3C, 0x5A, 0x3C)},
        {DSTINVERT, RGB(0x33, 0xAA, 0xF0)},
        {NOTSRCCOPY, RGB(0x0F, 0xF0, 0xCC)},
        {PATCOPY, pattern},
        {PATINVERT, RGB(0x66, 0xAA, 0x0F)},
        {BLACKNESS, RGB(0, 0, 0)},
        {WHITENESS, RGB(255, 255, 255)},
        {MERGECOPY, RGB(0xA0, 0x0F, 0x00)},
    };
    GdiCanvas from(1, 1, source);
    for (const RopCase& c : cases) {
        GdiCanvas to(1, 1, destination);
        HBRUSH brush = CreateSolidBrush(pattern);
        HGDIOBJ old = SelectObject(to.dc(), brush);
        EXPECT_TRUE(BitBlt(to.dc(), 0, 0, 1, 1, from.dc(), 0, 0, c.rop));
        EXPECT_EQ(to.At(0, 0), c.expected) << std::hex << c.rop;
        SelectObject(to.dc(), old);
        DeleteObject(brush);
    }
}

TEST(GdiBlit, PatBltUsesTheBrush) {
    GdiCanvas canvas(4, 1, RGB(0, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    SelectObject(canvas.dc(), brush);
    PatBlt(canvas.dc(), 1, 0, 2, 1, PATCOPY);
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(1, 0), RGB(10, 20, 30));
    EXPECT_EQ(canvas.At(3, 0), RGB(0, 0, 0));
    PatBlt(canvas.dc(), 3, 0, -2, 1, DSTINVERT);  // negative width runs leftwards
    EXPECT_EQ(canvas.At(2, 0), RGB(245, 235, 225));
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}

TEST(GdiBlit, SourceOutsideItsSurfaceIsNotDrawn) {
    GdiCanvas from(4, 4, RGB(255, 0, 0));
    GdiCanvas to(8, 8);
    BitBlt(to.dc(), 0, 0, 8, 8, from.dc(), -2, -1, SRCCOPY);
    EXPECT_EQ(to.Mask(RGB(255, 0, 0)),
              Rows({"........", "..####..", "..####..", "..####..", "..####..", "........", "........", "........"}));
}

TEST(GdiBlit, OverlappingCopiesWithinOneSurfaceScroll) {
    const POINT shifts[] = {{0, 3}, {0, -3}, {4, 0}, {-4, 0}, {2, 5}, {-3, -2}};
    for (const POINT& shift : shifts) {
        GdiCanvas canvas(16, 12);
        PaintGradient(canvas);
        BitBlt(canvas.dc(), shift.x, shift.y, 16, 12, canvas.dc(), 0, 0, SRCCOPY);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                const int sx = x - shift.x, sy = y - shift.y;
                const COLORREF expected = sx >= 0 && sx < 16 && sy >= 0 && sy < 12 ? Gradient(sx, sy) : Gradient(x, y);
                ASSERT_EQ(canvas.At(x, y), expected) << shift.x << "," << shift.y << " at " << x << "," << y;
            }
    }
}

TEST(GdiBlit, OverlappingCopyWithAComplexClipReadsTheOriginalPixels) {
    GdiCanvas canvas(10, 10);
    PaintGradient(canvas);
    HRGN clip = CreateRectRgn(0, 0, 10, 4);
    HRGN second = CreateRectRgn(0, 6, 10, 10);
    CombineRgn(clip, clip, second, RGN_OR);
    SelectClipRgn(canvas.dc(), clip);
    BitBlt(canvas.dc(), 0, 2, 10, 8, canvas.dc(), 0, 0, SRCCOPY);
    SelectClipRgn(canvas.dc(), nullptr);
    EXPECT_EQ(canvas.At(3, 2), Gradient(3, 0));
    EXPECT_EQ(canvas.At(3, 4), Gradient(3, 4));  // clipped out: unchanged
    EXPECT_EQ(canvas.At(3, 7), Gradient(3, 5));
    DeleteObject(clip);
    DeleteObject(second);
}

TEST(GdiBlit, StretchByTwoReplicatesPixels) {
    GdiCanvas from(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) SetPixel(from.dc(), x, y, Gradient(x, y));
    GdiCanvas to(6, 4);
    SetStretchBltMode(to.dc(), COLORONCOLOR);
    EXPECT_TRUE(StretchBlt(to.dc(), 0, 0, 6, 4, from.dc(), 0, 0, 3, 2, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(to.At(x, y), Gradient(x / 2, y / 2)) << x << "," << y;
}

TEST(GdiBlit, StretchMirrorsAndShrinks) {
    GdiCanvas from(4, 1);
    for (int x = 0; x < 4; ++x) SetPixel(from.dc(), x, 0, Gradient(x, 0));
    GdiCanvas to(4, 1);
    StretchBlt(to.dc(), 3, 0, -4, 1, from.dc(), 0, 0, 4, 1, SRCCOPY);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(to.At(x, 0), Gradient(3 - x, 0));
    GdiCanvas half(2, 1);
    StretchBlt(half.dc(), 0, 0, 2, 1, from.dc(), 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(half.At(0, 0), Gradient(1, 0));
    EXPECT_EQ(half.At(1, 0), Gradient(3, 0));
}

TEST(GdiBlit, ClipRegionLimitsBlits) {
    GdiCanvas from(6, 6, RGB(0, 0, 255));
    GdiCanvas to(6, 6);
    IntersectClipRect(to.dc(), 1, 1, 3, 3);
    BitBlt(to.dc(), 0, 0, 6, 6, from.dc(), 0, 0, SRCCOPY);
    StretchBlt(to.dc(), 0, 0, 6, 6, from.dc(), 0, 0, 3, 3, SRCCOPY);
    EXPECT_EQ(to.Count(RGB(0, 0, 255)), 4);
}

TEST(GdiBlit, MonochromeSourceTakesTextAndBackgroundColours) {
    const BYTE bits[2] = {0x80, 0};  // first pixel white (1), second black (0)
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, bits);
    HDC source = CreateCompatibleDC(nullptr);
    SelectObject(source, mask);
    GdiCanvas to(2, 1);
    SetBkColor(to.dc(), RGB(0, 255, 0));
    BitBlt(to.dc(), 0, 0, 2, 1, source, 0, 0, SRCCOPY);
    EXPECT_EQ(to.At(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(to.At(1, 0), RGB(0, 0, 0));
    DeleteDC(source);
    DeleteObject(mask);
}

TEST(GdiBlit, CopiesBetweenDcsSharingOneSurface) {
    // Two window-like DCs on one surface, the second four rows lower.
    Surface surface(4, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 4; ++x) surface.Row(y)[x] = static_cast<uint32_t>(y * 16 + x);
    HDC upper = CreateSurfaceDC(&surface, POINT{0, 0}, Region(RECT{0, 0, 4, 12}), nullptr);
    HDC lower = CreateSurfaceDC(&surface, POINT{0, 4}, Region(RECT{0, 0, 4, 8}), nullptr);
    BitBlt(lower, 0, 0, 4, 8, upper, 0, 0, SRCCOPY);
    for (int y = 4; y < 12; ++y) EXPECT_EQ(surface.Row(y)[1], static_cast<uint32_t>((y - 4) * 16 + 1)) << y;
    DeleteDC(upper);
    DeleteDC(lower);
}

TEST(GdiBlit, ColourSourceIntoMonochromeBitmapMakesAMask) {
    GdiCanvas from(3, 1, RGB(255, 0, 255));
    SetPixel(from.dc(), 1, 0, RGB(10, 10, 10));
    SetBkColor(from.dc(), RGB(255, 0, 255));
    HBITMAP mask = CreateBitmap(3, 1, 1, 1, nullptr);
    HDC maskDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(maskDc, mask);
    BitBlt(maskDc, 0, 0, 3, 1, from.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(maskDc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(maskDc, 1, 0), RGB(0, 0, 0));
    SelectObject(maskDc, old);
    DeleteDC(maskDc);
    DeleteObject(mask);
}

TEST(GdiBlit, MirroredStretchWithinOneSurface) {
    GdiCanvas canvas(8, 2);
    for (int x = 0; x < 8; ++x) SetPixel(canvas.dc(), x, 0, Gradient(x, 0));
    // Row 0 mirrored into row 1, reading the pixels from the right end leftwards.
    StretchBlt(canvas.dc(), 0, 1, 8, 1, canvas.dc(), 7, 0, -8, 1, SRCCOPY);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.At(x, 1), Gradient(7 - x, 0)) << x;
    StretchBlt(canvas.dc(), 0, 0, 8, 2, canvas.dc(), 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(canvas.At(7, 1), Gradient(3, 0));
}

}  // namespace
