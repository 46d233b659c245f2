// TBitmap: sizes, pixel formats, scan lines, its canvas, Assign and Draw.
#include <gtest/gtest.h>

#include <cstring>

#include "Exceptions.h"
#include "GraphicsBitmap.h"

namespace {

uint32_t Pixel32(TBitmap& bitmap, int x, int y) { return static_cast<uint32_t*>(bitmap.ScanLine(y))[x]; }

TEST(Bitmap, ScanLinesAreTopDownAndSeeCanvasDrawing) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(10, 6);
    EXPECT_EQ(bitmap.BytesPerScanLine(), 40);
    EXPECT_EQ(Pixel32(bitmap, 0, 0), 0x00FFFFFFu) << "a new bitmap is white";
    bitmap.GetCanvas()->SetPixels(2, 0, clRed);
    EXPECT_EQ(Pixel32(bitmap, 2, 0), 0x00FF0000u) << "row 0 is the top row, 0x00RRGGBB";

    // What the rows get is what the canvas draws over next.
    static_cast<uint32_t*>(bitmap.ScanLine(5))[9] = 0x000000FF;
    EXPECT_EQ(bitmap.GetCanvas()->GetPixels(9, 5), clBlue);

    EXPECT_THROW(bitmap.ScanLine(6), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(Bitmap, PixelFormatsHaveTheirRowLayouts) {
    struct Case {
        TPixelFormat format;
        int bits;
        int rowBytes;  // for a width of 10
    };
    const Case cases[] = {{pf1bit, 1, 4}, {pf4bit, 4, 8}, {pf8bit, 8, 12}, {pf24bit, 24, 32}, {pf32bit, 32, 40},
                          {pfDevice, 32, 40}};
    for (const Case& c : cases) {
        TBitmap bitmap;
        bitmap.SetSize(10, 3);
        bitmap.GetCanvas()->SetPixels(0, 1, clBlack);
        bitmap.SetPixelFormat(c.format);
        EXPECT_EQ(bitmap.GetPixelFormat(), c.format);
        EXPECT_EQ(bitmap.BitsPerPixel(), c.bits);
        EXPECT_EQ(bitmap.BytesPerScanLine(), c.rowBytes);
        EXPECT_EQ(bitmap.GetCanvas()->GetPixels(0, 1), clBlack) << "converted with the pixels";
        EXPECT_EQ(bitmap.GetCanvas()->GetPixels(1, 1), clWhite);
    }
    TBitmap bitmap;
    EXPECT_THROW(bitmap.SetPixelFormat(pf16bit), EInvalidGraphic);
}

TEST(Bitmap, TwentyFourBitRowsAreBlueGreenRed) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 2);
    bitmap.GetCanvas()->SetPixels(1, 1, clRed);
    const BYTE* row = static_cast<const BYTE*>(bitmap.ScanLine(1));
    EXPECT_EQ(row[3], 0);
    EXPECT_EQ(row[4], 0);
    EXPECT_EQ(row[5], 255);
    static_cast<BYTE*>(bitmap.ScanLine(0))[0] = 255;  // blue of pixel (0, 0)
    static_cast<BYTE*>(bitmap.ScanLine(0))[1] = 0;
    static_cast<BYTE*>(bitmap.ScanLine(0))[2] = 0;
    EXPECT_EQ(bitmap.GetCanvas()->GetPixels(0, 0), clBlue);
}

TEST(Bitmap, ResizeKeepsTheCommonAreaAndEmptySizesAreSafe) {
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    bitmap.GetCanvas()->SetPixels(3, 3, clGreen);
    bitmap.SetSize(8, 2);
    EXPECT_EQ(bitmap.GetCanvas()->GetPixels(3, 1), clWhite);
    bitmap.SetSize(8, 8);
    EXPECT_EQ(bitmap.GetCanvas()->GetPixels(7, 7), clWhite);
    bitmap.SetWidth(-5);
    EXPECT_EQ(bitmap.GetWidth(), 0);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.GetHandle(), nullptr);
    EXPECT_THROW(bitmap.ScanLine(0), EInvalidGraphicOperation);
    bitmap.GetCanvas()->SetPixels(0, 0, clRed);  // draws nowhere, no crash
    EXPECT_THROW(bitmap.SetSize(1 << 30, 1 << 30), EOutOfResources);
    EXPECT_EQ(bitmap.GetHeight(), 8);
}

TEST(Bitmap, AssignCopiesAndDrawPaintsOntoACanvas) {
    TBitmap source;
    source.SetPixelFormat(pf8bit);
    source.SetSize(5, 5);
    source.GetCanvas()->GetBrush()->SetColor(clRed);
    source.GetCanvas()->FillRect(RECT{0, 0, 5, 5});
    int changes = 0;
    TBitmap copy;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(&source);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(copy.GetPixelFormat(), pf8bit);
    EXPECT_EQ(copy.GetWidth(), 5);
    EXPECT_EQ(copy.GetCanvas()->GetPixels(4, 4), clRed);
    EXPECT_EQ(std::memcmp(copy.ScanLine(2), source.ScanLine(2), 5), 0);

    TBitmap target;
    target.SetSize(20, 20);
    target.GetCanvas()->Draw(10, 10, &copy);
    EXPECT_EQ(target.GetCanvas()->GetPixels(12, 12), clRed);
    EXPECT_EQ(target.GetCanvas()->GetPixels(9, 9), clWhite);
    target.GetCanvas()->StretchDraw(RECT{0, 0, 2, 20}, &copy);
    EXPECT_EQ(target.GetCanvas()->GetPixels(1, 19), clRed);

    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    TPen pen;
    EXPECT_THROW(copy.Assign(&pen), EConvertError);
}

}  // namespace
