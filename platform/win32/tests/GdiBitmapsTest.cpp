// Bitmaps and DIBs: every input depth through CreateDIBitmap/SetDIBits and out
// through GetDIBits, nearest-colour conversion, DIB sections and bitmap records.
#include <gtest/gtest.h>

#include <cstring>

#include "GdiCanvas.h"

namespace {

constexpr int kWidth = 5;
constexpr int kHeight = 3;

struct DibFormat {
    const char* name;
    int bits;
    DWORD compression;
    DWORD colorsUsed;
    std::vector<COLORREF> palette;  // for 1, 4 and 8 bits
    DWORD masks[3];                 // BI_BITFIELDS
};

// A DIB in memory: header, colour table or masks, then the rows.
struct TestDib {
    std::vector<uint32_t> info;  // aligned storage for BITMAPINFO
    std::vector<uint8_t> bits;
    BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(info.data()); }
};

size_t RowBytes(int bits) { return (static_cast<size_t>(kWidth) * bits + 31) / 32 * 4; }

// The colour of pixel (x, y) from the top, chosen so that every format holds it exactly.
COLORREF Colour(const DibFormat& format, int x, int y) {
    const int k = (x + y * kWidth) % 7;
    if (!format.palette.empty()) return format.palette[static_cast<size_t>(k) % format.palette.size()];
    if (format.bits == 16 && format.compression == BI_RGB) return RGB(k * 32, 248 - k * 8, k * 16);
    if (format.bits == 16) return RGB(k * 32, 252 - k * 4, k * 16);
    return RGB(k * 37, 255 - k * 13, k * 5 + x);
}

uint32_t Encode(const DibFormat& format, COLORREF colour) {
    if (!format.palette.empty()) {
        for (size_t i = 0; i < format.palette.size(); ++i)
            if (format.palette[i] == colour) return static_cast<uint32_t>(i);
    }
    const uint32_t r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    if (format.bits == 16 && format.compression == BI_RGB) return (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
    if (format.bits == 16) return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
    return r << 16 | g << 8 | b;
}

TestDib MakeDib(const DibFormat& format, bool topDown) {
    TestDib dib;
    dib.info.assign(512, 0);
    BITMAPINFOHEADER& header = dib.Info()->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = kWidth;
    header.biHeight = topDown ? -kHeight : kHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(format.bits);
    header.biCompression = format.compression;
    header.biClrUsed = format.colorsUsed;
    auto* after = reinterpret_cast<uint8_t*>(dib.Info()) + sizeof(BITMAPINFOHEADER);
    for (size_t i = 0; i < format.palette.size(); ++i) {
        after[4 * i] = GetBValue(format.palette[i]);
        after[4 * i + 1] = GetGValue(format.palette[i]);
        after[4 * i + 2] = GetRValue(format.palette[i]);
    }
    if (format.compression == BI_BITFIELDS) std::memcpy(after, format.masks, 12);
    dib.bits.assign(RowBytes(format.bits) * kHeight, 0);
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = dib.bits.data() + RowBytes(format.bits) * static_cast<size_t>(topDown ? y : kHeight - 1 - y);
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t value = Encode(format, Colour(format, x, y));
            if (format.bits < 8) {
                const int bit = x * format.bits;
                row[bit / 8] |= static_cast<uint8_t>(value << (8 - format.bits - bit % 8));
            } else {
                for (int k = 0; k < format.bits / 8; ++k)
                    row[x * format.bits / 8 + k] = static_cast<uint8_t>(value >> (8 * k));
            }
        }
    }
    return dib;
}

std::vector<COLORREF> Greys(int count) {
    std::vector<COLORREF> colours;
    for (int i = 0; i < count; ++i) colours.push_back(RGB(i * 3, 255 - i, i * 7 % 256));
    return colours;
}

std::vector<DibFormat> Formats() {
    return {
        {"1 bit", 1, BI_RGB, 0, {RGB(10, 20, 30), RGB(200, 100, 50)}, {}},
        {"4 bits, 5 colours", 4, BI_RGB, 5, Greys(5), {}},
        {"4 bits, full table", 4, BI_RGB, 0, Greys(16), {}},
        {"8 bits, full table", 8, BI_RGB, 0, Greys(256), {}},
        {"8 bits, 7 colours", 8, BI_RGB, 7, Greys(7), {}},
        {"16 bits 5-5-5", 16, BI_RGB, 0, {}, {}},
        {"16 bits 5-6-5", 16, BI_BITFIELDS, 0, {}, {0xF800, 0x07E0, 0x001F}},
        {"24 bits", 24, BI_RGB, 0, {}, {}},
        {"32 bits", 32, BI_RGB, 0, {}, {}},
        {"32 bits, bit fields", 32, BI_BITFIELDS, 0, {}, {0xFF0000, 0x00FF00, 0x0000FF}},
    };
}

TEST(GdiBitmaps, EveryDibDepthComesInAndGoesOut) {
    HDC screen = GetDC(nullptr);
    for (const DibFormat& format : Formats()) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::string(format.name) + (topDown ? ", top-down" : ", bottom-up"));
            TestDib dib = MakeDib(format, topDown);
            HBITMAP bitmap =
                CreateDIBitmap(screen, &dib.Info()->bmiHeader, CBM_INIT, dib.bits.data(), dib.Info(), DIB_RGB_COLORS);
            ASSERT_NE(bitmap, nullptr);
            HDC dc = CreateCompatibleDC(screen);
            HGDIOBJ old = SelectObject(dc, bitmap);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) EXPECT_EQ(GetPixel(dc, x, y), Colour(format, x, y)) << x << "," << y;
            SelectObject(dc, old);

            std::vector<uint8_t> out(dib.bits.size(), 0xEE);
            EXPECT_EQ(GetDIBits(screen, bitmap, 0, kHeight, out.data(), dib.Info(), DIB_RGB_COLORS), kHeight);
            EXPECT_EQ(out, dib.bits);

            // SetDIBits into a fresh bitmap gives the same pixels.
            HBITMAP second = CreateCompatibleBitmap(screen, kWidth, kHeight);
            EXPECT_EQ(SetDIBits(screen, second, 0, kHeight, dib.bits.data(), dib.Info(), DIB_RGB_COLORS), kHeight);
            std::vector<uint8_t> again(dib.bits.size(), 0xEE);
            GetDIBits(screen, second, 0, kHeight, again.data(), dib.Info(), DIB_RGB_COLORS);
            EXPECT_EQ(again, dib.bits);
            DeleteObject(second);
            DeleteDC(dc);
            DeleteObject(bitmap);
        }
    }
    ReleaseDC(nullptr, screen);
}

TEST(GdiBitmaps, GetDIBitsPicksTheNearestColourFirstOnTies) {
    GdiCanvas canvas(3, 1);
    SetPixel(canvas.dc(), 0, 0, RGB(240, 10, 10));
    SetPixel(canvas.dc(), 1, 0, RGB(140, 140, 140));
    SetPixel(canvas.dc(), 2, 0, RGB(1, 2, 1));
    const DibFormat format{"8 bits", 8, BI_RGB, 4, {RGB(0, 0, 0), RGB(255, 255, 255), RGB(250, 0, 0), RGB(250, 0, 0)},
                           {}};
    TestDib dib = MakeDib(format, false);
    dib.Info()->bmiHeader.biWidth = 3;
    dib.Info()->bmiHeader.biHeight = 1;
    uint8_t row[4] = {9, 9, 9, 9};
    ASSERT_EQ(GetDIBits(canvas.dc(), canvas.bitmap(), 0, 1, row, dib.Info(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(row[0], 2);
    EXPECT_EQ(row[1], 1);
    EXPECT_EQ(row[2], 0);
    EXPECT_EQ(row[3], 0);  // padding
}

TEST(GdiBitmaps, GetDIBitsWithoutBitsFillsTheHeader) {
    GdiCanvas canvas(7, 4);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    EXPECT_NE(GetDIBits(canvas.dc(), canvas.bitmap(), 0, 4, nullptr, &info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(info.bmiHeader.biWidth, 7);
    EXPECT_EQ(info.bmiHeader.biHeight, 4);
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);
    EXPECT_EQ(info.bmiHeader.biSizeImage, 7u * 4u * 4u);
}

TEST(GdiBitmaps, BadDibHeadersAreRefused) {
    const DibFormat format = Formats()[7];
    TestDib dib = MakeDib(format, false);
    HDC screen = GetDC(nullptr);
    dib.Info()->bmiHeader.biBitCount = 7;
    EXPECT_EQ(CreateDIBSection(screen, dib.Info(), DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    dib.Info()->bmiHeader.biBitCount = 8;
    dib.Info()->bmiHeader.biClrUsed = 300;
    EXPECT_EQ(SetDIBitsToDevice(screen, 0, 0, 5, 3, 0, 0, 0, 3, dib.bits.data(), dib.Info(), DIB_RGB_COLORS), 0);
    dib.Info()->bmiHeader.biClrUsed = 0;
    dib.Info()->bmiHeader.biCompression = BI_RLE8;
    HBITMAP target = CreateCompatibleBitmap(screen, 5, 3);
    EXPECT_EQ(SetDIBits(screen, target, 0, 3, dib.bits.data(), dib.Info(), DIB_RGB_COLORS), 0);
    DeleteObject(target);
    ReleaseDC(nullptr, screen);
}

TEST(GdiBitmaps, ThirtyTwoBitSectionShowsDrawingInItsBits) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 3, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    SetPixel(dc, 1, 0, RGB(0x11, 0x22, 0x33));  // top row: the last row in memory
    const auto* pixels = static_cast<const uint8_t*>(bits);
    const uint8_t* topRow = pixels + 2 * 16;
    EXPECT_EQ(topRow[4], 0x33);
    EXPECT_EQ(topRow[5], 0x22);
    EXPECT_EQ(topRow[6], 0x11);
    static_cast<uint32_t*>(bits)[0] = 0x00ABCDEF;  // bottom-left pixel written by the caller
    EXPECT_EQ(GetPixel(dc, 0, 2), RGB(0xAB, 0xCD, 0xEF));
    BITMAP record{};
    EXPECT_EQ(GetObject(section, sizeof record, &record), static_cast<int>(sizeof record));
    EXPECT_EQ(record.bmBits, bits);
    EXPECT_EQ(record.bmWidthBytes, 16);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}

TEST(GdiBitmaps, EightBitSectionIsWrittenBackWhenDeselected) {
    std::vector<uint32_t> storage(64, 0);
    auto* info = reinterpret_cast<BITMAPINFO*>(storage.data());
    info->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, -2, 1, 8, BI_RGB, 0, 0, 0, 2, 0};
    info->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
    reinterpret_cast<RGBQUAD*>(&info->bmiColors[0])[1] = RGBQUAD{255, 255, 255, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    RECT right{2, 0, 4, 2};
    FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    GdiFlush();
    const auto* indexes = static_cast<const uint8_t*>(bits);
    EXPECT_EQ(indexes[1], 0);
    EXPECT_EQ(indexes[2], 1);
    SelectObject(dc, old);
    static_cast<uint8_t*>(bits)[4] = 1;  // written by the caller while deselected
    SelectObject(dc, section);
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}

TEST(GdiBitmaps, SetDIBitsToDeviceAndStretchDIBitsCountFromTheLowerLeft) {
    const DibFormat format = Formats()[7];  // 24 bits
    TestDib dib = MakeDib(format, false);
    GdiCanvas canvas(8, 8);
    // Source rectangle (1, 0) 2x2 from the lower-left: picture rows 1 and 2 from the top.
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 2, 2, 1, 0, 0, kHeight, dib.bits.data(), dib.Info(), DIB_RGB_COLORS),
              kHeight);
    EXPECT_EQ(canvas.At(0, 0), Colour(format, 1, 1));
    EXPECT_EQ(canvas.At(1, 1), Colour(format, 2, 2));
    EXPECT_EQ(canvas.At(2, 0), RGB(255, 255, 255));
    canvas.Clear(RGB(255, 255, 255));
    EXPECT_EQ(StretchDIBits(canvas.dc(), 0, 0, 10, 6, 0, 0, kWidth, kHeight, dib.bits.data(), dib.Info(),
                            DIB_RGB_COLORS, SRCCOPY),
              kHeight);
    EXPECT_EQ(canvas.At(0, 0), Colour(format, 0, 0));
    EXPECT_EQ(canvas.At(7, 5), Colour(format, 3, 2));
    // A negative source height flips the picture upside down.
    StretchDIBits(canvas.dc(), 0, 0, kWidth, kHeight, 0, 0, kWidth, -kHeight, dib.bits.data(), dib.Info(),
                  DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(canvas.At(1, 0), Colour(format, 1, kHeight - 1));
    EXPECT_EQ(canvas.At(1, kHeight - 1), Colour(format, 1, 0));
}

TEST(GdiBitmaps, RecordsOfDeviceBitmaps) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 7);
    BITMAP record{};
    EXPECT_EQ(GetObject(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(GetObject(bitmap, sizeof record, &record), static_cast<int>(sizeof record));
    EXPECT_EQ(record.bmWidth, 10);
    EXPECT_EQ(record.bmHeight, 7);
    EXPECT_EQ(record.bmBitsPixel, 32);
    EXPECT_EQ(record.bmBits, nullptr);
    HBITMAP copy = CreateBitmapIndirect(&record);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 0, 5), nullptr);
    DeleteObject(copy);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
}

TEST(GdiBitmaps, BitmapSelectedIntoOneDcCannotJoinAnother) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 2);
    ReleaseDC(nullptr, screen);
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(first, bitmap), nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    // Deleting a selected bitmap defers the free: drawing still works.
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(SetPixel(first, 1, 1, RGB(1, 1, 1)), RGB(1, 1, 1));
    DeleteDC(first);
    DeleteDC(second);
}

}  // namespace

namespace {

TEST(GdiBitmaps, LoadBitmapReadsAPackedDibResource) {
    // A 3x2 picture of 4 bits with a colour table of 3 entries (red, green, blue).
    HBITMAP bitmap = LoadBitmapA(nullptr, "GdiPicture");
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    EXPECT_EQ(LoadBitmapA(nullptr, "NoSuchPicture"), nullptr);
}

}  // namespace
