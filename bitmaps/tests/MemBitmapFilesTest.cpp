// TMemBitmap files: BMP and JPEG loading and saving from files, memory and
// resources, damaged files and a fuzz loop of the BMP reader.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "BitmapTestSupport.h"
#include "JpegCoder.h"
#include "MemBitmap.h"

HMODULE BitmapsTestProgram();

using namespace bitmap_tests;

namespace {

TEST(MemBitmapFiles, ExtensionAndModeChooseTheFormat) {
    ScratchFolder folder;
    const std::vector<uint8_t> jpeg = SmallJpeg(6, 4, false);
    const std::vector<uint8_t> bmp = MakeBmp(BmpLayout());
    struct Case {
        const char* name;
        const std::vector<uint8_t>& bytes;
        int mode;
        bool valid;
        bool jpeg;
    };
    const Case cases[] = {
        {"a.jpeg", jpeg, 0, true, true},  {"b.JpEg", jpeg, -1, true, true},    {"c.JPG", jpeg, 2, true, true},
        {"d.tmp", jpeg, 1, true, true},   {"e.gif", bmp, 0, false, false},     {"f.tmp", bmp, 2, false, false},
        {"g.bmp", bmp, -1, true, false},  {"h.tmp", bmp, 0, true, false},      {"i.jpg", bmp, 0, false, true},
        {"j.bmp", jpeg, 0, false, false}, {"dir.jpg/k", bmp, -1, true, false},
    };
    std::filesystem::create_directory(folder / "dir.jpg");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder / c.name, c.bytes);
        TMemBitmap bitmap;
        bitmap.LoadFromFile((folder / c.name).c_str(), c.mode);
        EXPECT_EQ(bool(bitmap.Valid), c.valid);
        if (c.valid) {
            EXPECT_EQ(bool(bitmap.IsJpeg), c.jpeg);
        }
    }
}

TEST(MemBitmapFiles, MissingFilesLeaveNoPicture) {
    TMemBitmap bitmap(2, 2, 24, true);
    EXPECT_NO_THROW(bitmap.LoadFromFile("/no/such/file.jpg", -1));
    EXPECT_FALSE(bitmap.Valid);
    EXPECT_EQ(bitmap.GetDIB(), nullptr);
    bitmap.NewBitmap(2, 2, 24);
    bitmap.LoadFromFile("/no/such/file.bmp", -1);
    EXPECT_FALSE(bitmap.Valid);
    EXPECT_THROW(bitmap.LoadFromJpeg("/no/such/file.jpg"), TJPEGFileException);
    TMemBitmap byName(TString("/no/such/file.bmp"));
    EXPECT_FALSE(byName.Valid);
}

// An 8-bit file whose table holds 16 entries: the rows start 960 bytes before
// a full table would end.
TEST(MemBitmapFiles, ShortColourTableLoadsWithANegativeGapAndPaints) {
    TMemBitmap bitmap(TString("data/short_table.bmp"));
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_EQ(bitmap.BitCount, 8);
    EXPECT_EQ(bitmap.Gap, -960);
    EXPECT_EQ(bitmap.GetPixel(3, 1), 4);
    EXPECT_EQ(bitmap.GetPaletteEntry(4), 64 << 16 | (255 - 64) << 8 | 160);
    Canvas canvas(6, 4);
    bitmap.PaintToDC(canvas.dc(), 0, 0, SRCCOPY);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const int i = (x + y) % 16;
            EXPECT_EQ(canvas.At(x, y), RGB(i * 16, 255 - i * 16, (i * 40) % 256)) << x << "," << y;
        }
    // Saved again, it is the same file.
    ScratchFolder folder;
    ASSERT_TRUE(bitmap.SaveToFile((folder / "again.bmp").c_str()));
    EXPECT_EQ(ReadBytes(folder / "again.bmp"), ReadBytes("data/short_table.bmp"));
}

TEST(MemBitmapFiles, BmpRoundTripKeepsHeaderAndRows) {
    ScratchFolder folder;
    for (int bpp : {4, 8, 24}) {
        SCOPED_TRACE(bpp);
        TMemBitmap bitmap(7, 3, bpp, true);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x) bitmap.SetPixel(x, y, (x * 3 + y) * 0x050301 % (bpp == 4 ? 16 : 256));
        bitmap.SetPaletteEntry(3, 30, 40, 50);
        const std::string path = folder / "round.bmp";
        ASSERT_TRUE(bitmap.SaveToFile(path.c_str()));
        const std::vector<uint8_t> file = ReadBytes(path);
        EXPECT_EQ(file.size(), 14 + GlobalSize(bitmap.GetDIB()));
        EXPECT_EQ(GetU32(file, 10), uint32_t(54 + bitmap.PaletteSize()));
        TMemBitmap loaded(TString(path.c_str()));
        ASSERT_TRUE(loaded.Valid);
        EXPECT_EQ(loaded.BitCount, bpp);
        EXPECT_EQ(loaded.Gap, 0);
        EXPECT_FALSE(loaded.IsJpeg);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x) EXPECT_EQ(loaded.GetPixel(x, y), bitmap.GetPixel(x, y));
        EXPECT_EQ(loaded.GetPaletteEntry(3), bitmap.GetPaletteEntry(3));
    }
}

TEST(MemBitmapFiles, DeviceOnlyBitmapSavesTwentyFourBits) {
    ScratchFolder folder;
    TMemBitmap bitmap(3, 2, 24, false);
    ASSERT_TRUE(bitmap.SaveToFile((folder / "device.bmp").c_str()));
    EXPECT_EQ(bitmap.GetDIB(), nullptr);
    EXPECT_FALSE(bitmap.KeepDIB);
    const std::vector<uint8_t> file = ReadBytes(folder / "device.bmp");
    ASSERT_EQ(file.size(), size_t(14 + 40 + 2 * 12));
    EXPECT_EQ(file[28], 24);
    TMemBitmap invalid;
    EXPECT_FALSE(invalid.SaveToFile((folder / "invalid.bmp").c_str()));
    EXPECT_FALSE(std::filesystem::exists(folder / "invalid.bmp"));
}

TEST(MemBitmapFiles, JpegFilesLoadAndSave) {
    ScratchFolder folder;
    WriteBytes(folder / "gray.jpg", SmallJpeg(17, 5, true));
    TMemBitmap gray(TString((folder / "gray.jpg").c_str()));
    ASSERT_TRUE(gray.Valid);
    EXPECT_EQ(gray.BitCount, 8);
    EXPECT_TRUE(gray.IsJpeg);
    EXPECT_EQ(gray.GetPaletteEntry(255), 0xFFFFFF);
    EXPECT_EQ(gray.GetPaletteEntry(17), 0x111111);

    gray.JpegQuality = 100;
    ASSERT_TRUE(gray.SaveToFile((folder / "again.jpg").c_str()));
    IMAGEDATA header;
    ReadJPEGHeader((folder / "again.jpg").c_str(), header);
    EXPECT_EQ(header.type, idtGray8);
    EXPECT_EQ(header.width, 17);

    // Colour pictures of other depths are coded from a 24-bit copy.
    TMemBitmap indexed(4, 4, 8, true);
    indexed.SetPaletteEntry(0, 255, 0, 0);
    indexed.SaveToJpeg((folder / "indexed.jpg").c_str());
    TMemBitmap back;
    back.LoadFromJpeg((folder / "indexed.jpg").c_str());
    ASSERT_TRUE(back.Valid);
    EXPECT_EQ(back.BitCount, 24);
    EXPECT_GE(GetRValue(back.GetPixel(1, 1)), 240);
    EXPECT_THROW(indexed.SaveToJpeg((folder / "no/such.jpg").c_str()), TJPEGFileException);
}

// A gray JPEG loaded into a bitmap that keeps no DIB still paints gray.
TEST(MemBitmapFiles, JpegIntoADeviceOnlyBitmap) {
    std::vector<uint8_t> pixels(16, 200);
    void* block = nullptr;
    int length = 0;
    ASSERT_TRUE(CreateJPEG(MakeImageData(pixels.data(), idtGray8, 4, 4), &block, &length, 95));
    TMemBitmap bitmap(1, 1, 24, false);
    bitmap.LoadFromJPEGMemory(block, length);
    std::free(block);
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_EQ(bitmap.GetDIB(), nullptr);
    EXPECT_NEAR(GetRValue(bitmap.GetPixel(2, 2)), 200, 2);
}

TEST(MemBitmapFiles, Resources) {
    HMODULE program = BitmapsTestProgram();
    TMemBitmap bitmap(1, 1, 24, true);
    bitmap.LoadFromResource("Colour", program);
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_TRUE(bitmap.KeepDIB);
    EXPECT_EQ(bitmap.GetDIB(), nullptr);
    EXPECT_EQ(bitmap.Width, 5);
    EXPECT_EQ(COLORREF(bitmap.GetPixel(2, 1)), RGB(100, 100, 77));

    bitmap.LoadFromBMPResource("ShortTable", nullptr);
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_EQ(bitmap.Gap, -960);

    bitmap.IsJpeg = 0;
    bitmap.LoadFromJPEGResource("gradient", program);
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_EQ(bitmap.Width, 16);
    EXPECT_FALSE(bitmap.IsJpeg);

    for (int kind = 0; kind < 3; ++kind) {
        TMemBitmap missing(1, 1, 24, true);
        if (kind == 0) missing.LoadFromResource("Nothing", program);
        if (kind == 1) missing.LoadFromBMPResource("Nothing", program);
        if (kind == 2) missing.LoadFromJPEGResource("ShortTable", program);
        EXPECT_FALSE(missing.Valid) << kind;
    }
}

TEST(MemBitmapFiles, TemporaryJpegFiles) {
    TMemBitmap bitmap(5, 5, 24, true);
    bitmap.SetPixel(2, 2, RGB(255, 255, 255));
    char tiny[8];
    EXPECT_FALSE(bitmap.SaveToTempJpegFile(tiny, sizeof(tiny)));
    char name[MAX_PATH];
    ASSERT_TRUE(bitmap.SaveToTempJpegFile(name, sizeof(name)));
    EXPECT_NE(std::strstr(name, "JTM"), nullptr);
    TMemBitmap loaded;
    loaded.LoadFromTempJpegFile(name);
    EXPECT_TRUE(loaded.Valid);
    EXPECT_EQ(loaded.Width, 5);
    EXPECT_FALSE(std::filesystem::exists(name));
}

// BMP files the bitmap cannot hold or that lie about their sizes.
TEST(MemBitmapFiles, DamagedAndUnsupportedBmpFilesAreRefused) {
    auto with = [](std::vector<uint8_t> bytes, size_t at, uint32_t value, int width) {
        if (width == 2)
            PutU16(bytes, at, value);
        else
            PutU32(bytes, at, value);
        return bytes;
    };
    const std::vector<uint8_t> good = MakeBmp(BmpLayout());
    BmpLayout oneBit, thirtyTwo, rle, topDown, core, wideTable, fieldsAt24;
    oneBit.bitCount = 1;
    thirtyTwo.bitCount = 32;
    rle.bitCount = 8;
    rle.compression = BI_RLE8;
    topDown.height = -3;
    core.headerSize = 12;
    wideTable.bitCount = 8;
    wideTable.tableEntries = 300;
    fieldsAt24.compression = BI_BITFIELDS;
    fieldsAt24.masks = {0xFF0000, 0xFF00, 0xFF};
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"one bit", MakeBmp(oneBit)},
        {"32 bits", MakeBmp(thirtyTwo)},
        {"run-length", MakeBmp(rle)},
        {"top-down", MakeBmp(topDown)},
        {"12-byte header", MakeBmp(core)},
        {"300-entry table", MakeBmp(wideTable)},
        {"bit fields at 24 bits", MakeBmp(fieldsAt24)},
        {"wrong magic", with(good, 0, 0x4D43, 2)},
        {"width 0", with(good, 18, 0, 4)},
        {"height 70000", with(good, 22, 70000, 4)},
        {"rows past the end", with(good, 22, 4, 4)},
        {"offset past the end", with(good, 10, 0xFFFFFFF0, 4)},
        {"offset inside the header", with(good, 10, 20, 4)},
        {"header size past the end", with(good, 14, 5000, 4)},
        {"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 30)},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemBitmap bitmap(2, 2, 24, true);
        bitmap.LoadFromBMPMemory(c.bytes.data(), int(c.bytes.size()));
        EXPECT_FALSE(bitmap.Valid);
        EXPECT_EQ(bitmap.GetDIB(), nullptr);
        EXPECT_EQ(bitmap.GetDDB(), nullptr);
    }
}

TEST(MemBitmapFiles, LongHeadersAreBroughtToFortyBytes) {
    BmpLayout layout;
    layout.bitCount = 8;
    layout.tableEntries = 20;
    layout.headerSize = 124;
    TMemBitmap bitmap;
    const std::vector<uint8_t> bytes = MakeBmp(layout);
    bitmap.LoadFromBMPMemory(bytes.data(), int(bytes.size()));
    ASSERT_TRUE(bitmap.Valid);
    EXPECT_EQ(bitmap.GetPaletteEntry(2), 14 << 16 | 253 << 8 | 6);
    auto* bits = static_cast<uint8_t*>(bitmap.Lock());
    EXPECT_EQ(bits[0], 40);
    bitmap.Unlock();
    EXPECT_EQ(bitmap.GetPixel(0, 2), 11);
}

TEST(MemBitmapFiles, FuzzedBmpFilesNeverCrash) {
    BmpLayout eight, sixteen;
    eight.bitCount = 8;
    eight.tableEntries = 16;
    sixteen.bitCount = 16;
    sixteen.compression = BI_BITFIELDS;
    sixteen.masks = {0xF800, 0x07E0, 0x001F};
    const std::vector<uint8_t> seeds[] = {MakeBmp(BmpLayout()), MakeBmp(eight), MakeBmp(sixteen)};
    Damage damage(77);
    int loaded = 0;
    for (int round = 0; round < 600; ++round) {
        const std::vector<uint8_t> bytes = damage.Next(seeds[round % 3]);
        TMemBitmap bitmap;
        bitmap.LoadFromBMPMemory(bytes.data(), int(bytes.size()));
        ExerciseBitmap(bitmap);
        loaded += bitmap.Valid;
    }
    EXPECT_GT(loaded, 0);
}

}  // namespace
