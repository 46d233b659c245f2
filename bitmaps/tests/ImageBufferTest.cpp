// TImageBuffer: sizes, views, resizing, BMP files and the TMemBuffer record.
#include <gtest/gtest.h>

#include <vector>

#include "BitmapTestSupport.h"
#include "ImageBuffer.h"
#include "MemBuffer.h"

using namespace bitmap_tests;

namespace {

TImageBuffer Numbered(int width, int height, int format) {
    TImageBuffer buffer(width, height, format);
    for (int i = 0; i < buffer.GetCapacity(); ++i) buffer.Data[i] = uint8_t(i + 1);
    return buffer;
}

TEST(ImageBuffer, SizesAndViewsByFormat) {
    struct Case {
        int format, pixelWidth, type;
    };
    const Case cases[] = {{0, 1, idtGray8}, {1, 2, idtRgb565}, {2, 3, idtBgr24}, {4, 4, idtBytes4}, {3, 0, idtGray8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TImageBuffer buffer(7, 3, c.format);
        EXPECT_EQ(buffer.GetPixelWidth(), c.pixelWidth);
        EXPECT_EQ(buffer.GetLineSize(), 7 * c.pixelWidth);
        EXPECT_EQ(buffer.GetCapacity(), 21 * c.pixelWidth);
        const IMAGEDATA view = buffer.GetImageData();
        EXPECT_EQ(view.type, c.type);
        EXPECT_EQ(view.pixelStep, c.pixelWidth);
        EXPECT_EQ(view.lineStep, 7 * c.pixelWidth);
        EXPECT_EQ(view.data == nullptr, c.pixelWidth == 0);
    }
    TImageBuffer buffer(7, 3, 0);
    EXPECT_EQ(buffer.GetLine(2), buffer.Data + 14);
    EXPECT_EQ(buffer.GetLine(3), nullptr);
    EXPECT_EQ(buffer.GetLine(-1), nullptr);
}

TEST(ImageBuffer, ResizeKeepsTheTopLeft) {
    TImageBuffer buffer = Numbered(4, 4, 0);
    ASSERT_TRUE(buffer.Resize(2, 6));
    const std::vector<int> expected = {1, 2, 5, 6, 9, 10, 13, 14, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<int>(buffer.Data, buffer.Data + 12), expected);
    EXPECT_FALSE(buffer.Resize(70000, 70000));
    EXPECT_EQ(buffer.Width, 2);
    ASSERT_TRUE(buffer.Resize(-3, 5));
    EXPECT_EQ(buffer.Data, nullptr);
    EXPECT_EQ(buffer.GetImageData().width, 0);
}

TEST(ImageBuffer, CopiesAndViews) {
    TImageBuffer source = Numbered(3, 2, 2);
    TImageBuffer copy(source);
    EXPECT_NE(copy.Data, source.Data);
    EXPECT_EQ(std::vector<uint8_t>(copy.Data, copy.Data + 18), std::vector<uint8_t>(source.Data, source.Data + 18));
    copy = copy;
    EXPECT_EQ(copy.Data[17], 18);

    // From a bottom-up view: rows come out top-down.
    std::vector<uint8_t> pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    IMAGEDATA view = MakeImageData(pixels.data() + 4, idtGray8, 3, 2);
    view.lineStep = -4;
    TImageBuffer fromView;
    fromView = view;
    EXPECT_EQ(fromView.PixelFormat, 0);
    EXPECT_EQ(std::vector<uint8_t>(fromView.Data, fromView.Data + 6), (std::vector<uint8_t>{4, 5, 6, 1, 2, 3}));
    fromView = fromView.GetImageData();
    EXPECT_EQ(fromView.Data[0], 4);
    fromView.Assign(MakeImageData(pixels.data(), idtRgb565, 2, 2));
    EXPECT_EQ(fromView.Data, nullptr);
    EXPECT_EQ(fromView.Width, 0);
}

TEST(ImageBuffer, ChangingThePixelWidthKeepsTheBufferWhole) {
    TImageBuffer buffer = Numbered(5, 4, 0);
    buffer.SetPixelFormat(4);
    EXPECT_EQ(buffer.Width, 5);
    ASSERT_NE(buffer.Data, nullptr);
    EXPECT_EQ(buffer.Data[buffer.GetCapacity() - 1], 0);
    buffer.SetPixelFormat(4);
    TImageBuffer empty;
    empty.SetPixelFormat(2);
    EXPECT_EQ(empty.PixelFormat, 2);
    EXPECT_EQ(empty.Data, nullptr);
}

TEST(ImageBuffer, SavePadsRowsAndLoadReadsThemBack) {
    ScratchFolder folder;
    TImageBuffer gray = Numbered(7, 3, 0);
    ASSERT_TRUE(gray.Save((folder / "gray.bmp").c_str()));
    const std::vector<uint8_t> file = ReadBytes(folder / "gray.bmp");
    ASSERT_EQ(file.size(), size_t(54 + 1024 + 3 * 8));
    EXPECT_EQ(GetU32(file, 10), 54u + 1024);
    EXPECT_EQ(file[54 + 4 * 200], 200);
    EXPECT_EQ(file[54 + 1024], 15);  // the bottom row first
    TImageBuffer loaded;
    ASSERT_TRUE(loaded.Load((folder / "gray.bmp").c_str()));
    EXPECT_EQ(loaded.PixelFormat, 0);
    EXPECT_EQ(std::vector<uint8_t>(loaded.Data, loaded.Data + 21), std::vector<uint8_t>(gray.Data, gray.Data + 21));

    TImageBuffer colour = Numbered(3, 2, 2);
    ASSERT_TRUE(colour.Save((folder / "colour.bmp").c_str()));
    TImageBuffer colourLoaded((folder / "colour.bmp").c_str());
    EXPECT_EQ(colourLoaded.PixelFormat, 2);
    EXPECT_EQ(std::vector<uint8_t>(colourLoaded.Data, colourLoaded.Data + 18),
              std::vector<uint8_t>(colour.Data, colour.Data + 18));
    EXPECT_FALSE(TImageBuffer().Save((folder / "empty.bmp").c_str()));
    EXPECT_FALSE(colour.Save((folder / "no/such.bmp").c_str()));
}

// Formats 1 and 4 are written as 24-bit rows, converted.
TEST(ImageBuffer, SixteenAndThirtyTwoBitFormatsAreConverted) {
    ScratchFolder folder;
    TImageBuffer words(1, 1, 1);
    words.Data[0] = 0x1F;  // blue 31, green 0, red 0
    words.Data[1] = 0xF8;  // red 31
    ASSERT_TRUE(words.Save((folder / "words.bmp").c_str()));
    TImageBuffer back((folder / "words.bmp").c_str());
    ASSERT_EQ(back.PixelFormat, 2);
    EXPECT_EQ(back.Data[0], 0xF8);
    EXPECT_EQ(back.Data[1], 0);
    EXPECT_EQ(back.Data[2], 0xF8);

    TImageBuffer quads(2, 1, 4);
    for (int i = 0; i < 8; ++i) quads.Data[i] = uint8_t(10 + i);
    ASSERT_TRUE(quads.Save((folder / "quads.bmp").c_str()));
    back.Load((folder / "quads.bmp").c_str());
    EXPECT_EQ(std::vector<uint8_t>(back.Data, back.Data + 6), (std::vector<uint8_t>{10, 11, 12, 14, 15, 16}));
}

TEST(ImageBuffer, DamagedAndUnsupportedFilesLeaveTheBufferAlone) {
    ScratchFolder folder;
    BmpLayout four, rle, topDown;
    four.bitCount = 4;
    rle.bitCount = 8;
    rle.compression = BI_RLE8;
    topDown.height = -3;
    std::vector<uint8_t> cut = MakeBmp(BmpLayout());
    cut.pop_back();
    std::vector<uint8_t> offset = MakeBmp(BmpLayout());
    PutU32(offset, 10, 0xFFFFFF00);
    const std::vector<uint8_t> cases[] = {MakeBmp(four), MakeBmp(rle), MakeBmp(topDown), cut, offset, {}};
    for (const std::vector<uint8_t>& bytes : cases) {
        WriteBytes(folder / "bad.bmp", bytes);
        TImageBuffer buffer = Numbered(2, 2, 0);
        EXPECT_FALSE(buffer.Load((folder / "bad.bmp").c_str()));
        EXPECT_EQ(buffer.Width, 2);
        EXPECT_EQ(buffer.Data[3], 4);
    }
    TImageBuffer missing("/no/such/file.bmp");
    EXPECT_EQ(missing.Data, nullptr);

    Damage damage(5);
    const std::vector<uint8_t> seed = MakeBmp(BmpLayout());
    for (int round = 0; round < 300; ++round) {
        WriteBytes(folder / "fuzz.bmp", damage.Next(seed));
        TImageBuffer buffer;
        if (buffer.Load((folder / "fuzz.bmp").c_str())) {
            volatile uint8_t last = buffer.Data[buffer.GetCapacity() - 1];
            (void)last;
        }
    }
}

TEST(ImageBuffer, MemoryBufferRecord) {
    TImageBuffer source = Numbered(3, 2, 2);
    TMemBuffer buffer;
    source.WriteToMemBuffer(buffer);
    EXPECT_EQ(buffer.GetSize(), 12 + 18);
    TImageBuffer loaded;
    ASSERT_TRUE(loaded.ReadFromMemBuffer(buffer));
    EXPECT_EQ(loaded.PixelFormat, 2);
    EXPECT_EQ(std::vector<uint8_t>(loaded.Data, loaded.Data + 18), std::vector<uint8_t>(source.Data, source.Data + 18));

    struct Case {
        const char* name;
        int width, height, format, bytes;
    };
    const Case cases[] = {
        {"negative width", -1, 2, 0, 10},
        {"short pixels", 3, 2, 2, 17},
        {"huge", 65535, 65535, 4, 16},
        {"a row past 2^31 bytes, no rows", 1610612739, 0, 2, 0},
        {"sizes whose byte count passes 64 bits", 1610612739, 1962934272, 2, 16},
        {"missing fields", 3, 0, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemBuffer damaged;
        damaged.AddInt(c.width);
        if (c.bytes >= 0) {
            damaged.AddInt(c.height);
            damaged.AddInt(c.format);
            std::vector<uint8_t> pixels(size_t(c.bytes), 1);
            damaged.Add(pixels.data(), c.bytes);
        }
        TImageBuffer target = Numbered(2, 2, 0);
        EXPECT_FALSE(target.ReadFromMemBuffer(damaged));
        EXPECT_EQ(target.Data, nullptr);
        EXPECT_EQ(target.Width, 0);
    }
    Damage damage(9);
    const std::vector<uint8_t> seed(static_cast<const uint8_t*>(buffer.GetBlock()),
                                    static_cast<const uint8_t*>(buffer.GetBlock()) + buffer.GetSize());
    for (int round = 0; round < 300; ++round) {
        const std::vector<uint8_t> bytes = damage.Next(seed);
        TMemBuffer fuzzed;
        fuzzed.Add(bytes.data(), int(bytes.size()));
        TImageBuffer target;
        if (target.ReadFromMemBuffer(fuzzed) && target.Data != nullptr) {
            volatile uint8_t last = target.Data[target.GetCapacity() - 1];
            (void)last;
        }
    }
}

}  // namespace
