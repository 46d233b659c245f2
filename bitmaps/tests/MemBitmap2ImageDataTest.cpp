// MB2ID views over memory bitmaps and bitmaps made from views.
#include <gtest/gtest.h>

#include <vector>

#include "BitmapTestSupport.h"
#include "MemBitmap2ImageData.h"

using namespace bitmap_tests;

namespace {

TEST(MemBitmap2ImageData, ViewOfATwentyFourBitBitmapRunsBottomUp) {
    TMemBitmap bitmap(10, 5, 24, true);
    for (int y = 0; y < 5; ++y) bitmap.SetPixel(0, y, RGB(y, 0, 0));
    const IMAGEDATA view = MB2ID(bitmap);
    EXPECT_EQ(view.type, idtBgr24);
    EXPECT_EQ(view.width, 10);
    EXPECT_EQ(view.height, 5);
    EXPECT_EQ(view.pixelStep, 3);
    EXPECT_EQ(view.lineStep, -32);
    EXPECT_EQ(view.data, bitmap.LockedBits + 40 + 4 * 32);
    for (int y = 0; y < 5; ++y) EXPECT_EQ(ImagePixel(view, 0, y)[2], y);
    EXPECT_FALSE(bitmap.Unlock());
}

TEST(MemBitmap2ImageData, RectanglesAreCutToThePicture) {
    struct Case {
        RECT rect;
        int width, height, left, top;  // width 0: empty view
    };
    const Case cases[] = {
        {{1, 1, 3, 2}, 3, 2, 1, 1}, {{-2, -2, 3, 2}, 4, 3, 0, 0}, {{5, 0, 20, 20}, 3, 4, 5, 0},
        {{8, 0, 9, 1}, 0, 0, 0, 0}, {{2, 2, 1, 3}, 0, 0, 0, 0},   {{0, -5, 7, -1}, 0, 0, 0, 0},
    };
    TMemBitmap bitmap(8, 4, 8, true);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) bitmap.SetPixel(x, y, y * 8 + x);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rect.left << "," << c.rect.top << "-" << c.rect.right << ","
                                        << c.rect.bottom);
        const IMAGEDATA view = MB2ID(bitmap, c.rect);
        EXPECT_EQ(view.width, c.width);
        EXPECT_EQ(view.height, c.height);
        if (c.width == 0) {
            EXPECT_EQ(view.data, nullptr);
        } else {
            EXPECT_EQ(view.pixelStep, 1);
            EXPECT_EQ(*ImagePixel(view, 0, 0), c.top * 8 + c.left);
            EXPECT_EQ(*ImagePixel(view, view.width - 1, view.height - 1),
                      (c.top + c.height - 1) * 8 + c.left + c.width - 1);
        }
        EXPECT_FALSE(bitmap.Unlock());
    }
}

TEST(MemBitmap2ImageData, OtherDepthsGiveAnEmptyViewButStillLock) {
    for (int bpp : {4, 24}) {
        TMemBitmap bitmap(4, 4, bpp, true);
        bitmap.FreeDIB();
        const IMAGEDATA view = MB2ID(bitmap);
        EXPECT_EQ(view.data, nullptr);
        EXPECT_EQ(bitmap.GetLockState(), 1);
        EXPECT_FALSE(bitmap.Unlock());
    }
    TMemBitmap four(4, 4, 4, true);
    EXPECT_EQ(MB2ID(four).data, nullptr);
    four.Unlock();
}

TEST(MemBitmap2ImageData, BitmapsFromViews) {
    // A bottom-up gray view with padded rows and a top-down colour view.
    std::vector<uint8_t> gray(8 * 3);
    for (int i = 0; i < 24; ++i) gray[i] = uint8_t(i);
    IMAGEDATA grayView = MakeImageData(gray.data() + 16, idtGray8, 5, 3);
    grayView.lineStep = -8;
    TMemBitmap bitmap;
    InitBitmapFromID(bitmap, grayView);
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_EQ(bitmap.BitCount, 8);
    EXPECT_EQ(bitmap.GetPixel(0, 0), 16);
    EXPECT_EQ(bitmap.GetPixel(4, 2), 4);
    EXPECT_EQ(bitmap.GetPaletteEntry(200), 0);

    std::vector<uint8_t> colour = {1, 2, 3, 4, 5, 6};
    TMemBitmap coloured;
    ID2MB(coloured, MakeImageData(colour.data(), idtBgr24, 2, 1));
    EXPECT_EQ(coloured.BitCount, 24);
    EXPECT_EQ(coloured.GetPixel(1, 0), 4 << 16 | 5 << 8 | 6);

    // Views that make no picture.
    std::vector<uint8_t> words(8);
    InitBitmapFromID(coloured, MakeImageData(words.data(), idtRgb565, 2, 2));
    EXPECT_FALSE(coloured.Valid);
    InitBitmapFromID(coloured, MakeImageData(nullptr, idtBgr24, 2, 2));
    EXPECT_FALSE(coloured.Valid);

    // A bitmap without a DIB keeps only the device bitmap, with the pixels in it.
    TMemBitmap deviceOnly(1, 1, 24, false);
    InitBitmapFromID(deviceOnly, MakeImageData(colour.data(), idtBgr24, 2, 1));
    ASSERT_TRUE(deviceOnly.Valid);
    EXPECT_EQ(deviceOnly.GetDIB(), nullptr);
    EXPECT_EQ(COLORREF(deviceOnly.GetPixel(0, 0)), RGB(3, 2, 1));
}

}  // namespace
