// Loaded pictures byte for byte: BMP files of every depth and layout against
// digests of what the loader has always made of them, with the files, records
// and DIBs they give; JPEG pictures against the JPEG library's own decoding
// laid out as a DIB.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "BitmapTestSupport.h"
#include "JpegCoder.h"
#include "MemBitmap.h"
#include "MemBuffer.h"

using namespace bitmap_tests;

namespace {

// FNV-1a over bytes, chained.
uint64_t Fnv(const uint8_t* bytes, size_t size, uint64_t hash = 1469598103934665603ull) {
    for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}
uint64_t Fnv(const std::vector<uint8_t>& bytes, uint64_t hash = 1469598103934665603ull) {
    return Fnv(bytes.data(), bytes.size(), hash);
}

std::vector<uint8_t> DibBytes(TMemBitmap& bitmap) {
    if (bitmap.GetDIB() == nullptr) return {};
    const auto* bits = static_cast<const uint8_t*>(bitmap.Lock());
    std::vector<uint8_t> bytes(bits, bits + GlobalSize(bitmap.GetDIB()));
    bitmap.Unlock();
    return bytes;
}

// What a caller can see of a loaded picture: its fields and its DIB block.
uint64_t StateDigest(TMemBitmap& bitmap) {
    const int32_t fields[] = {bitmap.Valid,    bitmap.IsJpeg, bitmap.Width, bitmap.Height,
                              bitmap.BitCount, bitmap.LineSize, bitmap.Gap, bitmap.KeepDIB};
    return Fnv(DibBytes(bitmap), Fnv(reinterpret_cast<const uint8_t*>(fields), sizeof(fields)));
}

std::vector<uint8_t> FileRecord(TMemBitmap& bitmap) {
    FILE* file = std::tmpfile();
    bitmap.SaveToStream(file);
    std::vector<uint8_t> bytes(size_t(std::ftell(file)));
    std::rewind(file);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    return bytes;
}

std::vector<uint8_t> StandardStreamRecord(TMemBitmap& bitmap) {
    std::ostringstream stream;
    bitmap.WriteToStdStreamBin(stream);
    const std::string text = stream.str();
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> MemoryRecord(TMemBitmap& bitmap) {
    TMemBuffer buffer;
    bitmap.WriteToMemBuffer(buffer);
    const auto* data = static_cast<const uint8_t*>(buffer.GetBlock());
    return std::vector<uint8_t>(data, data + buffer.GetSize());
}

// Everything a BMP picture leads to, each digest on its own so that a change
// names its path: the loaded state (from a file and from memory), the saved
// file, the three record forms and the states they read back into.
struct BmpDigests {
    uint64_t loaded, saved, fileRecord, streamRecord, memoryRecord, readBack;
};

BmpDigests DigestsOf(const std::vector<uint8_t>& file, const ScratchFolder& folder) {
    BmpDigests digests{};
    WriteBytes(folder / "in.bmp", file);
    TMemBitmap fromFile;
    fromFile.LoadFromFile((folder / "in.bmp").c_str(), -1);
    TMemBitmap fromMemory;
    fromMemory.LoadFromBMPMemory(file.data(), int(file.size()));
    digests.loaded = StateDigest(fromFile);
    EXPECT_EQ(StateDigest(fromMemory), digests.loaded) << "memory and file loads differ";
    if (!fromFile.Valid) return digests;
    EXPECT_TRUE(fromFile.SaveToFile((folder / "out.bmp").c_str()));
    digests.saved = Fnv(ReadBytes(folder / "out.bmp"));
    const std::vector<uint8_t> fileRecord = FileRecord(fromFile);
    const std::vector<uint8_t> memoryRecord = MemoryRecord(fromFile);
    digests.fileRecord = Fnv(fileRecord);
    digests.streamRecord = Fnv(StandardStreamRecord(fromFile));
    digests.memoryRecord = Fnv(memoryRecord);
    TMemBitmap fromRecord;
    TMemBuffer buffer;
    buffer.Add(memoryRecord.data(), int(memoryRecord.size()));
    fromRecord.ReadFromMemBuffer(buffer);
    TMemBitmap fromSaved;
    fromSaved.LoadFromFile((folder / "out.bmp").c_str(), -1);
    digests.readBack = Fnv(DibBytes(fromSaved), StateDigest(fromRecord));
    return digests;
}

BmpLayout Layout(int width, int height, int bitCount, int entries = -1, uint32_t compression = 0,
                 uint32_t headerSize = 40, std::vector<uint32_t> masks = {}) {
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = bitCount;
    layout.tableEntries = entries;
    layout.compression = compression;
    layout.headerSize = headerSize;
    layout.masks = std::move(masks);
    return layout;
}

// A file whose rows start later than its table ends (a gap of 6 bytes).
std::vector<uint8_t> WithGap(std::vector<uint8_t> file) {
    const uint32_t offset = GetU32(file, 10);
    file.insert(file.begin() + offset, 6, uint8_t(0xA5));
    PutU32(file, 10, offset + 6);
    PutU32(file, 2, uint32_t(file.size()));
    return file;
}

// The digests were taken from the loader as it stood before it read files in
// one piece and made the device bitmap on first use; they must never change.
TEST(PictureIdentity, BmpFilesOfEveryDepthLoadSaveAndRecordAsBefore) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        BmpDigests expected;
    };
    const std::vector<uint32_t> masks565 = {0xF800, 0x07E0, 0x001F};
    const Case cases[] = {
        {"4 bits, odd width", MakeBmp(Layout(7, 5, 4)),
         {0x2664b2e69688a8b6ull, 0xdecfde52893dbaedull, 0x17017d2082201e00ull,
          0x17017d2082201e00ull, 0x96fed47b1a16402cull, 0x4b09c5cfe922a99dull}},
        {"4 bits, short table", MakeBmp(Layout(9, 4, 4, 5)),
         {0xdc601eff988dde39ull, 0x270c03342bad3e9aull, 0x81b8bc045a102614ull,
          0x81b8bc045a102614ull, 0x00fe4b576d141c7cull, 0xa69d2229fa146065ull}},
        {"8 bits", MakeBmp(Layout(13, 6, 8)),
         {0x09130da5f7a3880aull, 0xcdd240d7d03e24e8ull, 0xdd51f2f93a94f825ull,
          0xdd51f2f93a94f825ull, 0xeb2afe496f62e40dull, 0xb84dc472efea4740ull}},
        {"8 bits, 16-entry table", MakeBmp(Layout(5, 3, 8, 16)),
         {0xb56ffffc6dfdaff0ull, 0xa4aa60c59be66f35ull, 0xe0421ed7c3ffc0caull,
          0xe0421ed7c3ffc0caull, 0x2cb96eb6da25de1aull, 0x9b65548405824c0full}},
        {"16 bits 5-5-5", MakeBmp(Layout(7, 4, 16)),
         {0x35ee6afd7eecf9aaull, 0xa74682c199d50f00ull, 0x945b02d4eabd9749ull,
          0x945b02d4eabd9749ull, 0xbbb9d497b082f1e1ull, 0x28d1e65c4b441310ull}},
        {"16 bits, masks after the header", MakeBmp(Layout(6, 3, 16, -1, BI_BITFIELDS, 40, masks565)),
         {0x17a57a9785796867ull, 0xa405c69d599d075full, 0x484dd46d5359b89aull,
          0x484dd46d5359b89aull, 0x17ecbae83a5da38eull, 0xd02a3ed209e53ca2ull}},
        {"16 bits, masks inside a V4 header", MakeBmp(Layout(5, 5, 16, -1, BI_BITFIELDS, 108, masks565)),
         {0xe2800ab5ea6d019full, 0xa87a7af74d239c86ull, 0x1dd2c6fd16eaa35bull,
          0x1dd2c6fd16eaa35bull, 0x8c61a48a43be66dfull, 0x4358ad72a9939633ull}},
        {"24 bits, padded rows", MakeBmp(Layout(11, 7, 24)),
         {0xf45301420942651eull, 0xaa93149d0f7c4cd0ull, 0x7533fe9e455ae30dull,
          0x7533fe9e455ae30dull, 0xb0e6fcf7b6c8095aull, 0xeaaef2e1d9e49aefull}},
        {"24 bits, V5 header", MakeBmp(Layout(4, 4, 24, -1, 0, 124)),
         {0x7fc7fe2353653976ull, 0x2340f968ff0dc2abull, 0xa67655252994b8d2ull,
          0xa67655252994b8d2ull, 0xfb326b07c7e81dcaull, 0x82da83140a93c937ull}},
        {"8 bits, V4 header", MakeBmp(Layout(6, 2, 8, 200, 0, 108)),
         {0x570eebe63feaf489ull, 0xe9ec21ce39c739fbull, 0x5151586189a6eb50ull,
          0x5151586189a6eb50ull, 0x3909a1d4c0510b5cull, 0x702f7f26e5981234ull}},
        {"24 bits, gap before the rows", WithGap(MakeBmp(Layout(3, 3, 24))),
         {0x17d4f7008da80d0aull, 0x976b799a5bfba0f1ull, 0xeae5a55a5a8b6c60ull,
          0xeae5a55a5a8b6c60ull, 0x11570cf6f303ea74ull, 0x185e37cc16d40efdull}},
        {"8 bits, gap before the rows", WithGap(MakeBmp(Layout(3, 2, 8))),
         {0x62a27279a5c7bdbaull, 0xda35adbb791c617cull, 0x1eabba3ee02d8aa5ull,
          0x1eabba3ee02d8aa5ull, 0x34d0e6542cb93df5ull, 0xcd775ec0513c6124ull}},
        {"colour.bmp", ReadBytes("data/colour.bmp"),
         {0xc6c60764179ca027ull, 0x827b476002fbf088ull, 0x7cd2752cb1463479ull,
          0x7cd2752cb1463479ull, 0x99945e2e637e66c1ull, 0x0b1481f2a1051bc5ull}},
        {"short_table.bmp", ReadBytes("data/short_table.bmp"),
         {0x37fdf3466c70b930ull, 0x49c23878678049a1ull, 0x3ddab74309852976ull,
          0x3ddab74309852976ull, 0xc21654687559733eull, 0xcd01484264d2bd9bull}},
        {"32 bits (refused)", MakeBmp(Layout(3, 3, 32)),
         {0xdef316573ca60e8aull, 0, 0, 0, 0, 0}},
        {"top-down (refused)", MakeBmp(Layout(3, -3, 24)),
         {0xdef316573ca60e8aull, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.file.empty());
        const BmpDigests d = DigestsOf(c.file, folder);
        EXPECT_EQ(d.loaded, c.expected.loaded);
        EXPECT_EQ(d.saved, c.expected.saved);
        EXPECT_EQ(d.fileRecord, c.expected.fileRecord);
        EXPECT_EQ(d.streamRecord, c.expected.streamRecord);
        EXPECT_EQ(d.memoryRecord, c.expected.memoryRecord);
        EXPECT_EQ(d.readBack, c.expected.readBack);
    }
}

// ---- JPEG against the library ----

// The DIB a JPEG picture must give: the library's own decoding of the file
// (default settings), bottom-up rows padded with zeros, B, G, R at 24 bits and
// a gray table at 8.
std::vector<uint8_t> ReferenceDib(const std::vector<uint8_t>& jpeg) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const int width = int(info.output_width), height = int(info.output_height);
    const int components = info.output_components;
    const int bitCount = components == 1 ? 8 : 24;
    const size_t lineSize = (size_t(width) * components + 3) / 4 * 4;
    const size_t table = bitCount == 8 ? 1024 : 0;
    std::vector<uint8_t> dib(40 + table + lineSize * size_t(height), 0);
    PutU32(dib, 0, 40);
    PutU32(dib, 4, uint32_t(width));
    PutU32(dib, 8, uint32_t(height));
    PutU16(dib, 12, 1);
    PutU16(dib, 14, uint32_t(bitCount));
    for (size_t i = 0; i < table / 4; ++i) dib[40 + 4 * i] = dib[41 + 4 * i] = dib[42 + 4 * i] = uint8_t(i);
    std::vector<JSAMPLE> row(size_t(width) * components);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        uint8_t* out = dib.data() + 40 + table + size_t(height - 1 - y) * lineSize;
        for (int x = 0; x < width; ++x) {
            if (components == 1) {
                out[x] = row[x];
            } else {
                out[3 * x] = row[3 * x + 2];
                out[3 * x + 1] = row[3 * x + 1];
                out[3 * x + 2] = row[3 * x];
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return dib;
}

TEST(PictureIdentity, JpegPicturesGiveTheLibrarysPixelsAsADib) {
    ScratchFolder folder;
    const std::string pictures = BITMAPS_TEST_PICTURES;
    struct Case {
        const char* name;
        std::vector<uint8_t> jpeg;
    };
    const Case cases[] = {
        {"photo.jpg", ReadBytes(pictures + "/photo.jpg")},
        {"photo_gray.jpg", ReadBytes(pictures + "/photo_gray.jpg")},
        {"gradient.jpg", ReadBytes("data/gradient.jpg")},
        {"colour 17 x 5", SmallJpeg(17, 5, false)},
        {"gray 17 x 5", SmallJpeg(17, 5, true)},
        {"colour 1 x 1", SmallJpeg(1, 1, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.jpeg.empty());
        const std::vector<uint8_t> expected = ReferenceDib(c.jpeg);
        WriteBytes(folder / "in.jpg", c.jpeg);
        TMemBitmap fromFile;
        fromFile.LoadFromFile((folder / "in.jpg").c_str(), -1);
        TMemBitmap fromMemory;
        fromMemory.LoadFromJPEGMemory(c.jpeg.data(), int(c.jpeg.size()));
        for (TMemBitmap* bitmap : {&fromFile, &fromMemory}) {
            ASSERT_TRUE(bitmap->Valid);
            EXPECT_TRUE(bitmap->IsJpeg);
            EXPECT_EQ(bitmap->Gap, 0);
            EXPECT_EQ(bitmap->LineSize, int((expected.size() - 40 - bitmap->PaletteSize()) / size_t(bitmap->Height)));
            EXPECT_TRUE(DibBytes(*bitmap) == expected);
        }
    }
}

// Files are decoded as they are read, memory blocks whole: damaged or cut
// data must come out the same either way.
TEST(PictureIdentity, DamagedJpegFilesLoadAsTheirBytesDo) {
    ScratchFolder folder;
    const std::vector<uint8_t> good = ReadBytes(std::string(BITMAPS_TEST_PICTURES) + "/photo.jpg");
    ASSERT_GT(good.size(), 1000u);
    // A marker segment whose length runs past the end makes the decoder skip beyond it.
    std::vector<uint8_t> skipPastEnd(good.begin(), good.begin() + 2);
    for (uint8_t byte : {0xFF, 0xE5, 0x40, 0x00, 0x01, 0x02}) skipPastEnd.push_back(byte);
    std::vector<std::vector<uint8_t>> inputs = {
        std::vector<uint8_t>(good.begin(), good.begin() + good.size() * 3 / 5),
        std::vector<uint8_t>(good.begin(), good.end() - 2),
        std::vector<uint8_t>(good.begin(), good.begin() + 400),
        skipPastEnd,
        {},
    };
    Damage damage(77);
    for (int i = 0; i < 40; ++i) inputs.push_back(damage.Next(good));
    for (size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE(i);
        WriteBytes(folder / "in.jpg", inputs[i]);
        TMemBitmap fromFile;
        fromFile.LoadFromFile((folder / "in.jpg").c_str(), -1);
        TMemBitmap fromMemory;
        // (A null block is refused before it is decoded: point at real memory.)
        fromMemory.LoadFromJPEGMemory(inputs[i].empty() ? good.data() : inputs[i].data(), int(inputs[i].size()));
        EXPECT_EQ(StateDigest(fromFile), StateDigest(fromMemory));
    }
}

}  // namespace
