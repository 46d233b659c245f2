// TMemBitmap records: the FILE stream, standard stream and TMemBuffer forms,
// their byte layouts, round trips, damaged records and fuzz loops.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "BitmapTestSupport.h"
#include "MemBitmap.h"
#include "MemBuffer.h"

using namespace bitmap_tests;

namespace {

// One record form: writes a bitmap to bytes and reads bytes into a bitmap.
struct RecordForm {
    const char* name;
    std::function<std::vector<uint8_t>(TMemBitmap&)> write;
    std::function<bool(TMemBitmap&, const std::vector<uint8_t>&)> read;
};

std::vector<uint8_t> BufferBytes(const TMemBuffer& buffer) {
    const auto* data = static_cast<const uint8_t*>(buffer.GetBlock());
    return data != nullptr ? std::vector<uint8_t>(data, data + buffer.GetSize()) : std::vector<uint8_t>();
}

std::vector<uint8_t> FileBytes(FILE* file) {
    std::vector<uint8_t> bytes(size_t(std::ftell(file)));
    std::rewind(file);
    if (!bytes.empty()) {
        EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    }
    return bytes;
}

const RecordForm kForms[] = {
    {"FILE stream",
     [](TMemBitmap& bitmap) {
         FILE* file = std::tmpfile();
         bitmap.SaveToStream(file);
         std::vector<uint8_t> bytes = FileBytes(file);
         std::fclose(file);
         return bytes;
     },
     [](TMemBitmap& bitmap, const std::vector<uint8_t>& bytes) {
         FILE* file = std::tmpfile();
         if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
         std::rewind(file);
         const bool read = bitmap.LoadFromStream(file);
         std::fclose(file);
         return read;
     }},
    {"standard stream",
     [](TMemBitmap& bitmap) {
         std::ostringstream stream;
         bitmap.WriteToStdStreamBin(stream);
         const std::string text = stream.str();
         return std::vector<uint8_t>(text.begin(), text.end());
     },
     [](TMemBitmap& bitmap, const std::vector<uint8_t>& bytes) {
         std::istringstream stream(std::string(bytes.begin(), bytes.end()));
         return bitmap.ReadFromStdStreamBin(stream);
     }},
    {"memory buffer",
     [](TMemBitmap& bitmap) {
         TMemBuffer buffer;
         bitmap.WriteToMemBuffer(buffer);
         return BufferBytes(buffer);
     },
     [](TMemBitmap& bitmap, const std::vector<uint8_t>& bytes) {
         TMemBuffer buffer;
         buffer.Add(bytes.data(), int(bytes.size()));
         return bitmap.ReadFromMemBuffer(buffer);
     }},
};

TMemBitmap PatternBitmap(int width, int height, int bpp) {
    TMemBitmap bitmap(width, height, bpp, true);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, bpp == 24 ? RGB(x * 9, y * 7, x + y) : (x + 2 * y) % 16);
    bitmap.SetPaletteEntry(5, 1, 2, 3);
    bitmap.Refresh();
    return bitmap;
}

TEST(MemBitmapRecords, MemoryBufferRecordOfA108By71Picture) {
    TMemBitmap bitmap(108, 71, 24, true);
    TMemBuffer buffer;
    bitmap.WriteToMemBuffer(buffer);
    const std::vector<uint8_t> bytes = BufferBytes(buffer);
    const std::vector<uint8_t> expected = {
        0x00, 0x40, 0x00, 0x00, 0x00, 0x01, 0x0E, 0x00, 0x00, 0x00,  // IsJpeg, quality, Valid, 14
        'B',  'M',  0x12, 0x5A, 0x00, 0x00, 0,    0,    0,    0,    0x36, 0x00, 0x00, 0x00,         // file header
        0x04, 0x5A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                                             // s = 23044, Gap 0
        0x28, 0x00, 0x00, 0x00, 108,  0,    0,    0,    71,   0,    0,    0,    1,    0,    24, 0,  // info header
    };
    ASSERT_EQ(bytes.size(), 6 + 4 + 14 + 8 + 23044u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(expected.size())), expected);
}

TEST(MemBitmapRecords, InvalidBitmapsWriteOnlyTheFixedFields) {
    TMemBitmap invalid;
    EXPECT_EQ(kForms[2].write(invalid).size(), 6u);
    EXPECT_EQ(kForms[0].write(invalid).size(), 7u);
    TMemBitmap target(3, 3, 24, true);
    EXPECT_TRUE(kForms[2].read(target, kForms[2].write(invalid)));
    EXPECT_FALSE(target.Valid);
    EXPECT_EQ(target.GetDIB(), nullptr);
}

TEST(MemBitmapRecords, EveryFormRoundTrips) {
    for (const RecordForm& form : kForms) {
        for (int bpp : {4, 8, 24}) {
            SCOPED_TRACE(testing::Message() << form.name << ", " << bpp << " bits");
            TMemBitmap bitmap = PatternBitmap(7, 5, bpp);
            bitmap.JpegQuality = 77;
            const std::vector<uint8_t> bytes = form.write(bitmap);
            TMemBitmap loaded;
            ASSERT_TRUE(form.read(loaded, bytes));
            ASSERT_TRUE(loaded.Valid);
            EXPECT_EQ(loaded.JpegQuality, 77);
            EXPECT_EQ(loaded.BitCount, bpp);
            EXPECT_EQ(GlobalSize(loaded.GetDIB()), GlobalSize(bitmap.GetDIB()));
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 7; ++x) ASSERT_EQ(loaded.GetPixel(x, y), bitmap.GetPixel(x, y));
            EXPECT_EQ(loaded.GetPaletteEntry(5), bitmap.GetPaletteEntry(5));
        }
    }
}

// JPEG bitmaps carry their JPEG file in every form, the standard stream too.
TEST(MemBitmapRecords, JpegBitmapsCarryTheirPayload) {
    for (const RecordForm& form : kForms) {
        SCOPED_TRACE(form.name);
        TMemBitmap bitmap = PatternBitmap(12, 9, 24);
        bitmap.IsJpeg = 1;
        bitmap.JpegQuality = 95;
        const std::vector<uint8_t> bytes = form.write(bitmap);
        ASSERT_GT(bytes.size(), 100u);
        TMemBitmap loaded;
        ASSERT_TRUE(form.read(loaded, bytes));
        ASSERT_TRUE(loaded.Valid);
        EXPECT_TRUE(loaded.IsJpeg);
        EXPECT_EQ(loaded.Width, 12);
        EXPECT_NEAR(GetRValue(loaded.GetPixel(6, 4)), 54, 8);
    }
    TMemBitmap bitmap = PatternBitmap(6, 6, 24);
    std::ostringstream out;
    ASSERT_TRUE(bitmap.SaveToJpegStream(out));
    std::istringstream in(out.str());
    TMemBitmap loaded;
    EXPECT_TRUE(loaded.LoadFromJpegStream(in));
    EXPECT_EQ(loaded.Width, 6);
    TMemBuffer buffer;
    bitmap.WriteToMemBufferAsJpeg(buffer);
    EXPECT_TRUE(loaded.ReadFromMemBufferAsJpeg(buffer));
    EXPECT_EQ(buffer.GetRemaining(), 0);
}

TEST(MemBitmapRecords, KeepDIBTravelsInTheStreamFormsOnly) {
    TMemBitmap source = PatternBitmap(3, 3, 24);
    source.KeepDIB = 0;
    TMemBitmap viaStream(1, 1, 24, true);
    ASSERT_TRUE(kForms[0].read(viaStream, kForms[0].write(source)));
    EXPECT_FALSE(viaStream.KeepDIB);
    EXPECT_EQ(viaStream.GetDIB(), nullptr);
    EXPECT_EQ(viaStream.GetPixel(1, 1), source.GetPixel(1, 1));
    TMemBitmap viaBuffer(1, 1, 24, true);
    ASSERT_TRUE(kForms[2].read(viaBuffer, kForms[2].write(source)));
    EXPECT_TRUE(viaBuffer.KeepDIB);
    EXPECT_NE(viaBuffer.GetDIB(), nullptr);
}

// Damaged records fail and leave no picture; nothing reads past the input.
TEST(MemBitmapRecords, DamagedRecordsAreRefused) {
    TMemBitmap bitmap = PatternBitmap(5, 4, 8);
    for (const RecordForm& form : kForms) {
        const std::vector<uint8_t> good = form.write(bitmap);
        const size_t payload = std::string(form.name) == "memory buffer" ? 24 : 7;
        auto with = [&](size_t at, uint32_t value) {
            std::vector<uint8_t> bytes = good;
            PutU32(bytes, at, value);
            return bytes;
        };
        // A 44-byte header, whose 4 extra bytes the gap must cover; the
        // smallest gap used to overflow when they were taken off it.
        auto withLongHeader = [&](uint32_t gap) {
            std::vector<uint8_t> bytes = with(payload + 4, gap);
            PutU32(bytes, payload + 8, 44);
            return bytes;
        };
        struct Case {
            const char* name;
            std::vector<uint8_t> bytes;
        };
        const Case cases[] = {
            {"empty", {}},
            {"cut in the fixed fields", std::vector<uint8_t>(good.begin(), good.begin() + 3)},
            {"cut in the block", std::vector<uint8_t>(good.begin(), good.end() - 1)},
            {"negative size", with(payload, 0x80000000)},
            {"size past the end", with(payload, 0x7FFFFFF0)},
            {"size smaller than the rows", with(payload, 100)},
            {"gap past the block", with(payload + 4, 5000)},
            {"gap before the table", with(payload + 4, uint32_t(-1100))},
            {"damaged header", with(payload + 8 + 14, 1)},
            {"longer header, gap INT_MIN", withLongHeader(0x80000000)},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << form.name << ": " << c.name);
            TMemBitmap target(2, 2, 24, true);
            EXPECT_FALSE(form.read(target, c.bytes));
            EXPECT_FALSE(target.Valid);
            EXPECT_EQ(target.GetDIB(), nullptr);
        }
    }
    TMemBuffer buffer;
    bitmap.WriteToMemBuffer(buffer);
    std::vector<uint8_t> wrongHeaderSize = BufferBytes(buffer);
    PutU32(wrongHeaderSize, 6, 15);
    TMemBitmap target;
    EXPECT_FALSE(kForms[2].read(target, wrongHeaderSize));
}

TEST(MemBitmapRecords, FuzzedRecordsNeverCrash) {
    TMemBitmap colour = PatternBitmap(6, 5, 24);
    TMemBitmap indexed = PatternBitmap(6, 5, 4);
    TMemBitmap jpeg = PatternBitmap(8, 8, 24);
    jpeg.IsJpeg = 1;
    for (const RecordForm& form : kForms) {
        SCOPED_TRACE(form.name);
        const std::vector<uint8_t> seeds[] = {form.write(colour), form.write(indexed), form.write(jpeg)};
        Damage damage(2024);
        for (int round = 0; round < 300; ++round) {
            TMemBitmap target;
            form.read(target, damage.Next(seeds[round % 3]));
            ExerciseBitmap(target);
        }
    }
}

}  // namespace
