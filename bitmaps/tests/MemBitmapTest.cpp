// TMemBitmap: pictures, locks, palettes, pixels, painting, tiling, drawing
// sessions, rotation, conversion, sub-images, the clipboard and printing.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "BitmapTestSupport.h"
#include "MemBitmap.h"
#include "MemBitmap2ImageData.h"
#include "Printer.h"
#include "display/TestDriver.h"

using namespace bitmap_tests;

namespace {

// Every pixel gets a value of its own (an index at 4 and 8 bits).
void FillDistinct(TMemBitmap& bitmap) {
    for (int y = 0; y < bitmap.Height; ++y)
        for (int x = 0; x < bitmap.Width; ++x) {
            const int n = y * bitmap.Width + x;
            bitmap.SetPixel(x, y, bitmap.BitCount == 4 ? n % 16 : bitmap.BitCount == 8 ? n % 256 : 0x010203 * (n + 1));
        }
    bitmap.Refresh();
}

TMemBitmap LoadBmp(const BmpLayout& layout) {
    TMemBitmap bitmap;
    const std::vector<uint8_t> bytes = MakeBmp(layout);
    bitmap.LoadFromBMPMemory(bytes.data(), int(bytes.size()));
    return bitmap;
}

TEST(MemBitmap, DefaultBitmapIsEmptyAndNotValid) {
    TMemBitmap bitmap;
    EXPECT_FALSE(bitmap.Valid);
    EXPECT_EQ(bitmap.Width, 0);
    EXPECT_EQ(bitmap.BitCount, 24);
    EXPECT_EQ(bitmap.JpegQuality, 64);
    EXPECT_TRUE(bitmap.KeepDIB);
    EXPECT_EQ(bitmap.GetDIB(), nullptr);
    bitmap.PaintToDC(nullptr, 0, 0, SRCCOPY);
    EXPECT_EQ(bitmap.GetImage(0, 0, 1, 1), nullptr);
}

TEST(MemBitmap, NewBitmapSizesAndRefusals) {
    struct Case {
        int width, height, bpp;
        bool made;
        int lineSize;
    };
    const Case cases[] = {
        {5, 3, 4, true, 4},       {9, 2, 4, true, 8},   {5, 3, 8, true, 8},       {5, 3, 24, true, 16},
        {108, 71, 24, true, 324}, {5, 3, 16, false, 0}, {5, 3, 32, false, 0},     {5, 3, 1, false, 0},
        {0, 3, 24, false, 0},     {5, -1, 8, false, 0}, {70000, 1, 24, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bpp);
        TMemBitmap bitmap(2, 2, 24, true);
        EXPECT_EQ(bitmap.NewBitmap(c.width, c.height, c.bpp), c.made);
        EXPECT_EQ(bool(bitmap.Valid), c.made);
        if (c.made) {
            EXPECT_EQ(bitmap.LineSize, c.lineSize);
            EXPECT_EQ(GlobalSize(bitmap.GetDIB()), SIZE_T(40 + bitmap.PaletteSize() + c.height * c.lineSize));
            EXPECT_NE(bitmap.GetDDB(), nullptr);
        } else {
            EXPECT_EQ(bitmap.GetDIB(), nullptr);
        }
    }
}

TEST(MemBitmap, PixelsRoundTripAtEveryDepthAndStopAtTheEdges) {
    for (int bpp : {4, 8, 24}) {
        SCOPED_TRACE(bpp);
        TMemBitmap bitmap(5, 3, bpp, true);
        FillDistinct(bitmap);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const int n = y * 5 + x;
                EXPECT_EQ(bitmap.GetPixel(x, y), bpp == 4 ? n % 16 : bpp == 8 ? n : 0x010203 * (n + 1));
            }
        EXPECT_EQ(bitmap.GetPixel(5, 0), 0);
        EXPECT_EQ(bitmap.GetPixel(0, 3), 0);
        EXPECT_EQ(bitmap.GetPixel(-1, 0), 0);
        bitmap.SetPixel(5, 0, 7);
        bitmap.SetPixel(0, -1, 7);
        EXPECT_EQ(bitmap.GetPixel(4, 0), bpp == 24 ? 0x010203 * 5 : 4);
    }
}

TEST(MemBitmap, TwentyFourBitPixelsAreBlueGreenRedInTheRows) {
    TMemBitmap bitmap(2, 2, 24, true);
    bitmap.SetPixel(0, 0, RGB(10, 20, 30));
    auto* bits = static_cast<uint8_t*>(bitmap.Lock());
    const uint8_t* topRow = bits + 40 + 8;  // the top row is the last in memory
    EXPECT_EQ(topRow[0], 30);
    EXPECT_EQ(topRow[1], 20);
    EXPECT_EQ(topRow[2], 10);
    bitmap.Unlock();
}

// 16-bit pixels: one decoding for GetPixel, SetPixel, painting, conversion and sub-images.
TEST(MemBitmap, SixteenBitPixelsFollowTheHeaderEverywhere) {
    struct Case {
        const char* name;
        BmpLayout layout;
        uint16_t word;
        COLORREF colour;
    };
    BmpLayout rgb555;
    rgb555.bitCount = 16;
    BmpLayout rgb565 = rgb555;
    rgb565.compression = BI_BITFIELDS;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    BmpLayout rgb565Long = rgb565;
    rgb565Long.headerSize = 108;
    const Case cases[] = {
        {"5-5-5", rgb555, 0x7C00 | (0x10 << 5) | 0x01, RGB(0xF8, 0x80, 0x08)},
        {"5-6-5 masks", rgb565, 0xF800 | (0x20 << 5) | 0x01, RGB(0xF8, 0x80, 0x08)},
        {"5-6-5 masks in a long header", rgb565Long, 0x0000 | (0x3F << 5) | 0x1F, RGB(0, 0xFC, 0xF8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemBitmap bitmap = LoadBmp(c.layout);
        ASSERT_TRUE(bitmap.Valid);
        ASSERT_EQ(bitmap.BitCount, 16);
        auto* bits = static_cast<uint8_t*>(bitmap.Lock());
        uint8_t* topRow = bitmap.RowAt(bits, bitmap.Height - 1);
        topRow[0] = uint8_t(c.word);
        topRow[1] = uint8_t(c.word >> 8);
        bitmap.Unlock();
        bitmap.Refresh();
        EXPECT_EQ(COLORREF(bitmap.GetPixel(0, 0)), c.colour);

        Canvas canvas(8, 8);
        bitmap.PaintToDC(canvas.dc(), 0, 0, SRCCOPY);
        EXPECT_EQ(canvas.At(0, 0), c.colour);

        bitmap.SetPixel(1, 1, int(c.colour));
        EXPECT_EQ(COLORREF(bitmap.GetPixel(1, 1)), c.colour);

        std::unique_ptr<TMemBitmap> part(bitmap.GetImage(0, 0, 2, 2));
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(COLORREF(part->GetPixel(0, 0)), c.colour);
        EXPECT_EQ(COLORREF(part->GetPixel(1, 1)), c.colour);

        bitmap.ConvertTo24Bit();
        EXPECT_EQ(bitmap.BitCount, 24);
        EXPECT_EQ(COLORREF(bitmap.GetPixel(0, 0)), c.colour);
        EXPECT_EQ(COLORREF(bitmap.GetPixel(1, 1)), c.colour);
    }
}

TEST(MemBitmap, LocksNestAndFollowTheDIB) {
    TMemBitmap bitmap(4, 4, 8, true);
    EXPECT_FALSE(bitmap.Unlock());
    EXPECT_EQ(bitmap.GetLockState(), 0);
    void* first = bitmap.Lock();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(bitmap.Lock(), first);
    EXPECT_TRUE(bitmap.Unlock());
    EXPECT_EQ(bitmap.LockedBits, first);
    // A replacement keeps the caller's lock on the new block.
    bitmap.NewBitmap(6, 2, 24);
    EXPECT_EQ(bitmap.GetLockState(), 1);
    EXPECT_NE(bitmap.LockedBits, nullptr);
    EXPECT_FALSE(bitmap.Unlock());
    EXPECT_EQ(bitmap.LockedBits, nullptr);
    EXPECT_FALSE(bitmap.Unlock());
}

TEST(MemBitmap, PalettesStayInsideTheTable) {
    TMemBitmap four(3, 3, 4, true);
    four.CreateGrayPalette();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(four.GetPaletteEntry(i), 17 * i * 0x010101) << i;
    EXPECT_EQ(four.GetPaletteEntry(16), 0);
    EXPECT_EQ(four.GetPaletteEntry(-1), 0);
    four.SetPaletteEntry(16, 1, 2, 3);
    four.SetPaletteEntry(2, 0x11, 0x22, 0x33);
    EXPECT_EQ(four.GetPaletteEntry(2), 0x112233);

    TMemBitmap target(2, 2, 4, true);
    four.CopyPalette(target);
    EXPECT_EQ(target.GetPaletteEntry(2), 0x112233);
    TMemBitmap other(2, 2, 8, true);
    four.CopyPalette(other);
    EXPECT_EQ(other.GetPaletteEntry(2), 0);

    TMemBitmap colour(2, 2, 24, true);
    RGBQUAD entries[256];
    EXPECT_FALSE(colour.GetPalette(entries));
    EXPECT_EQ(colour.GetPaletteEntry(0), 0);

    // A file's table may be shorter than the depth allows: entries past it read 0.
    BmpLayout shortTable;
    shortTable.bitCount = 8;
    shortTable.tableEntries = 16;
    TMemBitmap loaded = LoadBmp(shortTable);
    ASSERT_TRUE(loaded.Valid);
    EXPECT_EQ(loaded.GetPaletteEntry(15), (15 * 7) << 16 | (255 - 15) << 8 | 45);
    EXPECT_EQ(loaded.GetPaletteEntry(16), 0);
    EXPECT_EQ(loaded.GetPaletteEntry(255), 0);
    loaded.SetPaletteEntry(200, 1, 1, 1);
    loaded.CreateGrayPalette();
    ASSERT_TRUE(loaded.GetPalette(entries));
    EXPECT_EQ(entries[15].rgbRed, 15);
    EXPECT_EQ(entries[200].rgbRed, 0);
}

TEST(MemBitmap, RotationSizes) {
    struct Case {
        int width, height;
        double degrees;
        int newWidth, newHeight;
    };
    const Case cases[] = {
        {100, 50, 90, 50, 100}, {100, 50, 45, 105, 105}, {3, 2, 90, 2, 3},  {1, 10, 180, 1, 10},
        {3, 2, 270, 2, 3},      {3, 2, -90, 2, 3},       {7, 5, 360, 7, 5}, {100, 50, 0, 100, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " by " << c.degrees);
        TMemBitmap bitmap(c.width, c.height, 24, true);
        bitmap.Rotate(c.degrees);
        EXPECT_EQ(bitmap.Width, c.newWidth);
        EXPECT_EQ(bitmap.Height, c.newHeight);
        EXPECT_EQ(bitmap.LineSize, (c.newWidth * 3 + 3) / 4 * 4);
    }
}

// Quarter turns move every pixel exactly once, at every depth.
TEST(MemBitmap, QuarterTurnsLoseNoPixels) {
    for (int bpp : {4, 8, 24}) {
        for (double degrees : {90.0, 180.0, 270.0}) {
            SCOPED_TRACE(testing::Message() << bpp << " bits by " << degrees);
            TMemBitmap bitmap(3, 2, bpp, true);
            FillDistinct(bitmap);
            std::multiset<int> before;
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x) before.insert(bitmap.GetPixel(x, y));
            bitmap.Rotate(degrees);
            std::multiset<int> after;
            for (int y = 0; y < bitmap.Height; ++y)
                for (int x = 0; x < bitmap.Width; ++x) after.insert(bitmap.GetPixel(x, y));
            EXPECT_EQ(after, before);
        }
    }
    TMemBitmap column(1, 10, 8, true);
    FillDistinct(column);
    column.Rotate(180);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(column.GetPixel(0, y), 9 - y);
}

TEST(MemBitmap, RotationFillsUncoveredPixelsWithWhite) {
    TMemBitmap colour(10, 10, 24, true);
    colour.Rotate(45);
    EXPECT_EQ(colour.GetPixel(0, 0), 0xFFFFFF);
    EXPECT_EQ(colour.GetPixel(colour.Width / 2, colour.Height / 2), 0);

    TMemBitmap indexed(10, 10, 8, true);
    indexed.SetPaletteEntry(5, 250, 250, 250);
    indexed.SetPaletteEntry(9, 250, 250, 250);
    indexed.Rotate(45);
    EXPECT_EQ(indexed.GetPixel(0, 0), 5);
}

TEST(MemBitmap, ScaledRotation) {
    TMemBitmap bitmap(3, 2, 8, true);
    FillDistinct(bitmap);
    bitmap.Rotate(0, 6, 4);
    ASSERT_EQ(bitmap.Width, 6);
    ASSERT_EQ(bitmap.Height, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(bitmap.GetPixel(x, y), (y / 2) * 3 + x / 2) << x << "," << y;

    bitmap.Rotate(30, 0, 5);
    EXPECT_EQ(bitmap.Width, 6);
    TMemBitmap empty;
    empty.Rotate(30, 10, 10);
    EXPECT_FALSE(empty.Valid);
    EXPECT_EQ(empty.Width, 0);
}

TEST(MemBitmap, ConvertTo24BitUsesTheTable) {
    TMemBitmap bitmap(3, 1, 4, true);
    bitmap.SetPaletteEntry(1, 200, 100, 50);
    bitmap.SetPixel(2, 0, 1);
    bitmap.ConvertTo24Bit();
    EXPECT_EQ(bitmap.BitCount, 24);
    EXPECT_EQ(bitmap.LineSize, 12);
    EXPECT_EQ(COLORREF(bitmap.GetPixel(2, 0)), RGB(200, 100, 50));
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0);
}

TEST(MemBitmap, GetImageCutsToThePicture) {
    struct Case {
        int x, y, width, height;
        int expectWidth, expectHeight;  // 0: no image
    };
    const Case cases[] = {
        {1, 1, 2, 2, 2, 2}, {3, 0, 10, 2, 2, 2}, {-3, -1, 2, 2, 2, 2}, {5, 0, 2, 2, 0, 0},
        {0, 0, 0, 3, 0, 0}, {2, 3, 1, 1, 0, 0},  {0, 0, 99, 99, 5, 3},
    };
    TMemBitmap bitmap(5, 3, 8, true);
    FillDistinct(bitmap);
    bitmap.SetPaletteEntry(7, 1, 2, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.width << "x" << c.height);
        std::unique_ptr<TMemBitmap> part(bitmap.GetImage(c.x, c.y, c.width, c.height));
        if (c.expectWidth == 0) {
            EXPECT_EQ(part, nullptr);
            continue;
        }
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->Width, c.expectWidth);
        EXPECT_EQ(part->Height, c.expectHeight);
        EXPECT_EQ(part->GetPaletteEntry(7), 0x010203);
        const int x0 = std::max(c.x, 0), y0 = std::max(c.y, 0);
        for (int y = 0; y < part->Height; ++y)
            for (int x = 0; x < part->Width; ++x) EXPECT_EQ(part->GetPixel(x, y), bitmap.GetPixel(x0 + x, y0 + y));
    }
}

TEST(MemBitmap, PaintingCopiesAndStretches) {
    TMemBitmap bitmap(2, 2, 24, true);
    bitmap.SetPixel(0, 0, RGB(255, 0, 0));
    bitmap.SetPixel(1, 1, RGB(0, 0, 255));
    bitmap.Refresh();
    Canvas canvas(10, 10);
    bitmap.PaintToDC(canvas.dc(), 1, 1, SRCCOPY);
    EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(3, 3), RGB(255, 255, 255));
    bitmap.StretchToDC(canvas.dc(), 4, 4, 4, 4, SRCCOPY);
    EXPECT_EQ(canvas.At(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(7, 7), RGB(0, 0, 255));
    bitmap.PaintRectToDC(canvas.dc(), 0, 8, RECT{1, 1, 1, 1}, SRCCOPY);
    EXPECT_EQ(canvas.At(0, 8), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(1, 8), RGB(255, 255, 255));
}

// A window that paints one bitmap at its client origin, read back from its
// surface through the test driver.
class PictureWindow {
public:
    explicit PictureWindow(TMemBitmap& bitmap) {
        picture = &bitmap;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Paint;
        windowClass.lpszClassName = "MemBitmapPictureWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "picture", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr,
                                  nullptr, nullptr, nullptr);
    }
    ~PictureWindow() { DestroyWindow(window_); }
    PictureWindow(const PictureWindow&) = delete;
    PictureWindow& operator=(const PictureWindow&) = delete;

    // Repaints the whole window and reads pixel (x, y).
    COLORREF Shown(int x, int y) {
        InvalidateRect(window_, nullptr, TRUE);
        driver_.PumpUntilIdle();
        return driver_.Pixel(window_, x, y);
    }

private:
    static LRESULT CALLBACK Paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        picture->PaintToDC(dc, 0, 0, SRCCOPY);
        ::EndPaint(window, &paint);
        return 0;
    }

    static inline TMemBitmap* picture = nullptr;
    win32::TestDriver driver_;
    HWND window_ = nullptr;
};

// Loading makes no device bitmap; the first paint does, and every way of
// changing the pixels (a pixel view, SetPixel, a palette entry) shows at the
// next paint without a Refresh.
TEST(MemBitmap, DeviceBitmapIsMadeWhenPaintedAndNeverShowsOldPixels) {
    BmpLayout layout;
    layout.width = 6;
    layout.height = 4;
    TMemBitmap bitmap = LoadBmp(layout);
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_EQ(bitmap.DDB, nullptr);
    PictureWindow window(bitmap);
    const COLORREF loaded = COLORREF(bitmap.GetPixel(2, 1));
    EXPECT_EQ(window.Shown(2, 1), loaded);
    EXPECT_NE(bitmap.DDB, nullptr);

    IMAGEDATA view = MB2ID(bitmap);
    uint8_t* pixel = ImagePixel(view, 2, 1);
    pixel[0] = 0x30;  // B, G, R
    pixel[1] = 0x20;
    pixel[2] = 0x10;
    bitmap.Unlock();
    EXPECT_EQ(window.Shown(2, 1), RGB(0x10, 0x20, 0x30));

    // Drawn while a view is open, then changed: the change shows once the view ends.
    view = MB2ID(bitmap);
    EXPECT_EQ(window.Shown(2, 1), RGB(0x10, 0x20, 0x30));
    ImagePixel(view, 2, 1)[2] = 0x77;
    bitmap.Unlock();
    EXPECT_EQ(window.Shown(2, 1), RGB(0x77, 0x20, 0x30));

    bitmap.SetPixel(3, 2, RGB(1, 2, 3));
    EXPECT_EQ(window.Shown(3, 2), RGB(1, 2, 3));

    layout.bitCount = 8;
    TMemBitmap indexed = LoadBmp(layout);
    PictureWindow indexedWindow(indexed);
    const int index = indexed.GetPixel(0, 0);
    indexedWindow.Shown(0, 0);
    indexed.SetPaletteEntry(index, 9, 8, 7);
    EXPECT_EQ(indexedWindow.Shown(0, 0), RGB(9, 8, 7));
}

// Where the DIB goes away, the device bitmap is made first, so the picture stays.
TEST(MemBitmap, PicturesNeverPaintedKeepTheirPixelsWithoutTheDib) {
    const COLORREF colour = RGB(200, 100, 50);
    TMemBitmap freed(3, 3, 24, true);
    freed.SetPixel(1, 1, colour);
    freed.FreeDIB();
    TMemBitmap assigned(3, 3, 24, true);
    assigned.SetPixel(1, 1, colour);
    TMemBitmap deviceOnly(1, 1, 24, false);
    deviceOnly.Assign(&assigned);
    const std::vector<uint8_t> bmp = MakeBmp(BmpLayout());
    TMemBitmap loaded(1, 1, 24, false);
    loaded.LoadFromBMPMemory(bmp.data(), int(bmp.size()));
    TMemBitmap reference;
    reference.LoadFromBMPMemory(bmp.data(), int(bmp.size()));
    for (TMemBitmap* bitmap : {&freed, &deviceOnly, &loaded}) {
        ASSERT_TRUE(bitmap->Valid);
        EXPECT_EQ(bitmap->GetDIB(), nullptr);
        EXPECT_NE(bitmap->DDB, nullptr);
    }
    EXPECT_EQ(COLORREF(freed.GetPixel(1, 1)), colour);
    EXPECT_EQ(COLORREF(deviceOnly.GetPixel(1, 1)), colour);
    EXPECT_EQ(loaded.GetPixel(2, 1), reference.GetPixel(2, 1));
}

// The platform's largest device bitmap bounds the pictures that load.
TEST(MemBitmap, PicturesTooLargeToPaintDoNotLoad) {
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 16385, 16384), nullptr);
    ReleaseDC(nullptr, screen);
    TMemBitmap bitmap;
    EXPECT_FALSE(bitmap.NewBitmap(16385, 16384, 4));
    EXPECT_FALSE(bitmap.Valid);
    EXPECT_EQ(bitmap.GetDIB(), nullptr);
}

// A tile pattern whose top-left pixel is blue and the rest red shows where the
// grid lies.
TEST(MemBitmap, FillPolyAnchorsTilesBelowZero) {
    TMemBitmap tile(4, 4, 24, true);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) tile.SetPixel(x, y, x == 0 && y == 0 ? RGB(0, 0, 255) : RGB(255, 0, 0));
    tile.Refresh();
    Canvas canvas(20, 20);
    SetViewportOrgEx(canvas.dc(), 5, 5, nullptr);
    POINT points[] = {{-3, -3}, {9, -3}, {9, 9}, {-3, 9}};
    tile.FillPoly(canvas.dc(), points, 4, SRCCOPY, false, 4, 4);
    EXPECT_EQ(points[0].x, -3);  // the caller's points are untouched
    SetViewportOrgEx(canvas.dc(), 0, 0, nullptr);
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x) {
            const bool gridCorner = (x - 5) % 4 == 0 && (y - 5) % 4 == 0;
            ASSERT_EQ(canvas.At(x, y), gridCorner ? RGB(0, 0, 255) : RGB(255, 0, 0)) << x << "," << y;
        }
    EXPECT_EQ(canvas.At(1, 5), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(14, 5), RGB(255, 255, 255));
}

TEST(MemBitmap, FillPolyStretchesAndRefusesEmptyInput) {
    TMemBitmap tile(1, 1, 24, true);
    tile.SetPixel(0, 0, RGB(0, 128, 0));
    tile.Refresh();
    Canvas canvas(10, 10);
    POINT points[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    tile.FillPoly(canvas.dc(), points, 0, SRCCOPY, true, 3, 3);
    tile.FillPoly(canvas.dc(), nullptr, 4, SRCCOPY, true, 3, 3);
    tile.FillPoly(canvas.dc(), points, 4, SRCCOPY, true, 0, 3);
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
    tile.FillPoly(canvas.dc(), points, 4, SRCCOPY, true, 3, 3);
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 128, 0));
    EXPECT_EQ(canvas.At(9, 9), RGB(0, 128, 0));
    // Points far away draw only the visible tiles, quickly.
    POINT far[] = {{-100000, -100000}, {100000, -100000}, {100000, 100000}};
    tile.FillPoly(canvas.dc(), far, 3, SRCCOPY, false, 1, 1);
}

TEST(MemBitmap, DrawingSessions) {
    TMemBitmap bitmap(4, 4, 24, true);
    bitmap.SetPixel(1, 1, RGB(9, 9, 9));
    bitmap.Refresh();
    HDC dc = bitmap.BeginPaint(true, nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(bitmap.BeginPaint(true, nullptr), nullptr);
    EXPECT_EQ(::GetPixel(dc, 1, 1), RGB(9, 9, 9));
    ::SetPixel(dc, 2, 2, RGB(1, 2, 3));
    bitmap.EndPaint();
    EXPECT_EQ(bitmap.GetPixel(2, 2), int(RGB(1, 2, 3)));
    EXPECT_EQ(bitmap.GetPixel(1, 1), int(RGB(9, 9, 9)));

    bitmap.SetPixel(3, 3, RGB(255, 255, 255));
    bitmap.Refresh();
    ASSERT_NE(bitmap.BeginPaint(false, nullptr), nullptr);
    bitmap.EndPaint();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(bitmap.GetPixel(i, i), 0);

    // With a reference DC the picture moves to a bitmap compatible with it.
    Canvas canvas(4, 4);
    bitmap.SetPixel(0, 0, RGB(7, 7, 7));
    bitmap.Refresh();
    ASSERT_NE(bitmap.BeginPaint(true, canvas.dc()), nullptr);
    bitmap.EndPaint();
    EXPECT_EQ(bitmap.GetPixel(0, 0), int(RGB(7, 7, 7)));
}

TEST(MemBitmap, DeviceOnlyBitmap) {
    TMemBitmap bitmap(3, 3, 24, false);
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_EQ(bitmap.GetDIB(), nullptr);
    HDC dc = bitmap.BeginPaint(true, nullptr);
    ::SetPixel(dc, 1, 2, RGB(4, 5, 6));
    bitmap.EndPaint();
    EXPECT_EQ(bitmap.GetPixel(1, 2), int(RGB(4, 5, 6)));
    bitmap.SetPixel(0, 0, 5);  // nowhere to write: nothing happens
    TMemBitmap copy;
    copy.Assign(&bitmap);
    EXPECT_EQ(copy.GetPixel(1, 2), int(RGB(4, 5, 6)));
}

TEST(MemBitmap, AssignMakesAnIndependentCopy) {
    TMemBitmap source(3, 2, 8, true);
    FillDistinct(source);
    source.SetPaletteEntry(4, 40, 50, 60);
    source.JpegQuality = 90;
    TMemBitmap copy;
    copy = source;
    EXPECT_EQ(copy.Width, 3);
    EXPECT_EQ(copy.BitCount, 8);
    EXPECT_EQ(copy.JpegQuality, 90);
    EXPECT_EQ(copy.GetPaletteEntry(4), 0x28323C);
    EXPECT_NE(copy.GetDIB(), source.GetDIB());
    source.SetPixel(0, 0, 99);
    EXPECT_EQ(copy.GetPixel(0, 0), 0);

    TMemBitmap fromHandle;
    fromHandle.Assign(source.GetDDB());
    EXPECT_EQ(fromHandle.BitCount, 24);
    EXPECT_EQ(COLORREF(fromHandle.GetPixel(1, 1)), RGB(40, 50, 60));
    EXPECT_EQ(COLORREF(fromHandle.GetPixel(1, 0)), RGB(0, 0, 0));
    EXPECT_NE(source.GetDDB(), nullptr);
}

TEST(MemBitmap, CopyFromDCGrabsTwentyFourBits) {
    Canvas canvas(6, 6);
    ::SetPixel(canvas.dc(), 3, 4, RGB(10, 20, 30));
    TMemBitmap bitmap;
    bitmap.CopyFromDC(canvas.dc(), 2, 2, 3, 3);
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_EQ(bitmap.BitCount, 24);
    EXPECT_EQ(bitmap.GetPixel(1, 2), int(RGB(10, 20, 30)));
    bitmap.CopyFromDC(canvas.dc(), 0, 0, 0, 3);
    EXPECT_EQ(bitmap.Width, 3);
}

TEST(MemBitmap, ClipboardCarriesTheDIB) {
    win32::ResetClipboard();
    TMemBitmap source(3, 2, 8, true);
    FillDistinct(source);
    source.SetPaletteEntry(3, 1, 2, 3);
    source.CopyToClipboard();
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    TMemBitmap target;
    ASSERT_TRUE(target.CopyFromClipboard());
    EXPECT_EQ(target.BitCount, 8);
    EXPECT_EQ(target.Gap, 0);
    EXPECT_EQ(target.GetPixel(2, 1), 5);
    EXPECT_EQ(target.GetPaletteEntry(3), 0x010203);
    win32::ResetClipboard();
    EXPECT_FALSE(target.CopyFromClipboard());
    EXPECT_TRUE(target.Valid);
}

// Packed DIBs placed on the clipboard by others: short tables are placed by
// their real size; damaged ones are refused and leave the picture alone.
TEST(MemBitmap, ClipboardBlocksAreChecked) {
    struct Case {
        const char* name;
        BmpLayout layout;
        size_t cut;  // bytes removed from the end
        bool accepted;
    };
    BmpLayout shortTable;
    shortTable.bitCount = 8;
    shortTable.tableEntries = 2;
    BmpLayout oneBit;
    oneBit.bitCount = 1;
    BmpLayout topDown;
    topDown.height = -3;
    BmpLayout masks;
    masks.bitCount = 16;
    masks.compression = BI_BITFIELDS;
    masks.masks = {0xF800, 0x07E0, 0x001F};
    const Case cases[] = {
        {"short table", shortTable, 0, true}, {"bit fields", masks, 0, true},      {"one bit", oneBit, 0, false},
        {"top-down", topDown, 0, false},      {"cut rows", BmpLayout(), 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> file = MakeBmp(c.layout);
        file.resize(file.size() - c.cut);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, file.size() - 14);
        std::memcpy(GlobalLock(block), file.data() + 14, file.size() - 14);
        GlobalUnlock(block);
        OpenClipboard(nullptr);
        EmptyClipboard();
        SetClipboardData(CF_DIB, block);
        CloseClipboard();
        TMemBitmap bitmap(1, 1, 24, true);
        EXPECT_EQ(bitmap.CopyFromClipboard(), c.accepted);
        EXPECT_TRUE(bitmap.Valid);
        if (c.accepted) {
            TMemBitmap reference = LoadBmp(c.layout);
            for (int x = 0; x < 4; ++x) EXPECT_EQ(bitmap.GetPixel(x, 1), reference.GetPixel(x, 1));
            EXPECT_EQ(bitmap.GetPaletteEntry(1), reference.GetPaletteEntry(1));
        } else {
            EXPECT_EQ(bitmap.Width, 1);
        }
    }
    win32::ResetClipboard();
}

TEST(MemBitmap, PrintsOnlyWhilePrinting) {
    TMemBitmap bitmap(2, 2, 24, true);
    bitmap.SetPixel(0, 0, RGB(200, 0, 0));
    bitmap.Refresh();
    TPrinter* printer = Printer();
    bitmap.PaintToPrinter(0, 0, SRCCOPY);
    printer->BeginDoc();
    bitmap.PaintToPrinter(10, 10, SRCCOPY);
    bitmap.StretchToPrinter(20, 20, 4, 4, SRCCOPY);
    HDC page = printer->GetHandle();
    EXPECT_EQ(::GetPixel(page, 10, 10), RGB(200, 0, 0));
    EXPECT_EQ(::GetPixel(page, 11, 11), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(page, 21, 21), RGB(200, 0, 0));
    EXPECT_EQ(::GetPixel(page, 22, 22), RGB(0, 0, 0));
    printer->Abort();

    TMemBitmap deviceOnly(2, 2, 24, false);
    printer->BeginDoc();
    deviceOnly.PaintToPrinter(0, 0, SRCCOPY);
    EXPECT_EQ(deviceOnly.GetDIB(), nullptr);
    EXPECT_FALSE(deviceOnly.KeepDIB);
    EXPECT_EQ(::GetPixel(printer->GetHandle(), 1, 1), RGB(0, 0, 0));
    printer->Abort();
}

#ifndef NDEBUG
int staleViews = 0;
void CountStaleView(const TMemBitmap&) { ++staleViews; }

TEST(MemBitmap, DebugBuildsReportAViewOutlivingItsDIB) {
    TMemBitmap::StaleViewHandler previous = TMemBitmap::SetStaleViewHandler(CountStaleView);
    staleViews = 0;
    TMemBitmap bitmap(4, 4, 24, true);
    bitmap.Lock();
    bitmap.NewBitmap(4, 4, 24);  // a plain lock, no view: fine
    EXPECT_EQ(staleViews, 0);
    bitmap.Unlock();
    MB2ID(bitmap);
    bitmap.Rotate(90);
    EXPECT_EQ(staleViews, 1);
    bitmap.Unlock();
    bitmap.Rotate(90);
    EXPECT_EQ(staleViews, 1);
    TMemBitmap::SetStaleViewHandler(previous);
}
#endif

}  // namespace
