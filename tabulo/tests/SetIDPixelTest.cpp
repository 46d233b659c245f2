// Tests of the pixel setter and rectangle fill.
#include "SetIDPixel.h"

#include "TableFixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(SetIDPixel, ZoomAndOffsetPlaceAClippedBlock) {
    GrayCanvas canvas(5, 5);
    const TSetIDPixel setter(canvas.view, 9, 2, 1, 1);
    setter.Set(0, 0, -1);
    EXPECT_EQ(canvas.SetDots(), (Dots{{2, 2}, {3, 2}, {2, 3}, {3, 3}}));
    EXPECT_EQ(canvas.pixels[2 * 5 + 2], 9);
    // The block at (4, 4) is cut at the edge; corners outside set nothing.
    setter.Set(1, 1, 7);
    setter.Set(2, 2, 7);
    setter.Set(-2, 0, 7);
    setter.Set(1000000000, 1000000000, 7);
    EXPECT_EQ(canvas.pixels[4 * 5 + 4], 7);
    EXPECT_EQ(canvas.SetDots().size(), 5u);
}

TEST(SetIDPixel, ColourBytesByType) {
    std::vector<uint8_t> colour(6, 0), packed(4, 0);
    const TSetIDPixel bgr(MakeImageData(colour.data(), idtBgr24, 2, 1), 0x112233, 1, 0, 0);
    bgr.SetPixel(1, 0, -1);
    bgr.SetPixel(0, 0, 0x445566);
    EXPECT_EQ(colour, (std::vector<uint8_t>{0x44, 0x55, 0x66, 0x11, 0x22, 0x33}));
    const TSetIDPixel sixteen(MakeImageData(packed.data(), idtRgb565, 2, 1), 0x112233, 1, 0, 0);
    sixteen.Set(0, 0, -1);
    EXPECT_EQ(packed, std::vector<uint8_t>(4, 0));
}

TEST(SetIDPixel, FillRectTakesCornersInEitherOrder) {
    GrayCanvas canvas(6, 6);
    FillIDRect(TSetIDPixel(canvas.view, 1, 1, 0, 0), 4, 3, 2, 1);
    Dots expected;
    for (int y = 1; y <= 3; ++y)
        for (int x = 2; x <= 4; ++x) expected.insert({x, y});
    EXPECT_EQ(canvas.SetDots(), expected);
    FillIDRect(TSetIDPixel(canvas.view, 1, 1, 0, 0), -2000000000, -5, 2000000000, 0);
    EXPECT_EQ(canvas.SetDots().size(), expected.size() + 6);
}

TEST(SetIDPixel, SpansSetWhatSetSetsAtEveryZoomAndType) {
    struct Case {
        int32_t type;
        int zoom, offsetX, offsetY, x1, x2, y;
    };
    const Case cases[] = {
        {idtBgr24, 1, 0, 0, -3, 20, 2}, {idtBgr24, 1, 2, -1, 0, 3, 3}, {idtGray8, 1, -2, 0, 1, 9, 0},
        {idtBgr24, 2, 1, 0, -1, 4, 1},  {idtBgr24, 1, 0, 0, 5, 4, 1},  {idtBgr24, 1, 0, 0, 0, 7, 9},
        {idtRgb565, 1, 0, 0, 0, 7, 1},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> spanned(8 * 5 * 4, 0), reference(8 * 5 * 4, 0);
        // Colour pixels 4 bytes apart, as over a 32-bit buffer.
        auto viewOf = [&c](std::vector<uint8_t>& pixels) {
            IMAGEDATA view = MakeImageData(pixels.data(), c.type, 8, 5);
            if (c.type == idtBgr24) {
                view.pixelStep = 4;
                view.lineStep = 32;
            }
            return view;
        };
        const IMAGEDATA spanView = viewOf(spanned), referenceView = viewOf(reference);
        TSetIDPixel(spanView, 0x123456, c.zoom, c.offsetX, c.offsetY).FillSpan(c.x1, c.x2, c.y);
        const TSetIDPixel setter(referenceView, 0x123456, c.zoom, c.offsetX, c.offsetY);
        for (int x = c.x1; x <= c.x2; ++x) setter.Set(x, c.y, -1);
        EXPECT_EQ(spanned, reference) << c.type << " zoom " << c.zoom << " " << c.x1 << ".." << c.x2;
    }
}

}  // namespace
