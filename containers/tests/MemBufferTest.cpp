// Tests of TMemSpace and TMemBuffer: typed fields, item form, packed block, resources.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "MemBuffer.h"
#include "String.h"

HMODULE ContainersFixtureModule();

namespace {

std::vector<unsigned char> Bytes(const TMemBuffer& buffer) {
    const unsigned char* block = static_cast<const unsigned char*>(buffer.GetBlock());
    return std::vector<unsigned char>(block, block + buffer.GetSize());
}

TMemBuffer BufferOf(const std::vector<unsigned char>& bytes) {
    TMemBuffer buffer;
    buffer.Add(bytes.data(), static_cast<int>(bytes.size()));
    return buffer;
}

std::string ReadFixture(const char* name) {
    std::ifstream in(std::string("fixture/") + name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

TEST(MemBuffer, TypedFieldsComeBackInOrderAndWidth) {
    TMemBuffer buffer;
    buffer.AddInt(-2);
    buffer.AddFloat(1.5f);
    buffer.AddDouble(-0.1);
    buffer.AddBool(true);
    buffer.AddString("h\xE9");
    buffer.AddString(nullptr);
    buffer.AddInt64(-5000000000LL);
    buffer << 77;
    EXPECT_EQ(buffer.GetSize(), 4 + 4 + 8 + 1 + 6 + 4 + 8 + 4);
    const std::vector<unsigned char> bytes = Bytes(buffer);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4),
              (std::vector<unsigned char>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(buffer.ReadInt(), -2);
    EXPECT_EQ(buffer.ReadFloat(), 1.5f);
    EXPECT_EQ(buffer.ReadDouble(), -0.1);
    EXPECT_TRUE(buffer.ReadBool());
    char* text = buffer.ReadString();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "h\xE9");
    delete[] text;
    EXPECT_EQ(buffer.ReadString(), nullptr);
    EXPECT_EQ(buffer.ReadInt64(), -5000000000LL);
    int last = 0;
    buffer >> last;
    EXPECT_EQ(last, 77);
    EXPECT_FALSE(buffer.GetReadFailed());
    EXPECT_EQ(buffer.ReadInt(), 0);
    EXPECT_TRUE(buffer.GetReadFailed());
}

TEST(MemBuffer, ReadsNeverPassTheEnd) {
    TMemBuffer buffer = BufferOf({1, 2, 3});
    char target[8] = {};
    EXPECT_FALSE(buffer.Read(target, 4));
    EXPECT_EQ(buffer.GetReadPosition(), 0);
    EXPECT_FALSE(buffer.Read(target, -1));
    EXPECT_TRUE(buffer.Read(target, 3));
    EXPECT_FALSE(buffer.Read(target, 1));
    EXPECT_FALSE(buffer.SeekRead(4));
    EXPECT_FALSE(buffer.SeekRead(-4, 1));
    EXPECT_TRUE(buffer.SeekRead(-1, 1));
    EXPECT_EQ(buffer.GetReadPosition(), 2);
    EXPECT_TRUE(buffer.SeekRead(-3, 2));
    EXPECT_EQ(buffer.GetReadPosition(), 0);

    TMemBuffer damaged = BufferOf({100, 0, 0, 0, 'a'});  // string length beyond the end
    EXPECT_EQ(damaged.ReadString(), nullptr);
    EXPECT_TRUE(damaged.GetReadFailed());
    TMemBuffer negative = BufferOf({0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(negative.ReadString(), nullptr);
}

TEST(MemBuffer, AddFileTakesTheRestOnly) {
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fputs("skipped|kept", file);
    std::fseek(file, 8, SEEK_SET);
    TMemBuffer buffer;
    EXPECT_EQ(buffer.AddFile(file), 4);
    EXPECT_EQ(std::string(static_cast<const char*>(buffer.GetBlock()), 4), "kept");
    std::fclose(file);
}

TEST(MemBuffer, ItemFormPackedAndUnpacked) {
    TMemBuffer data;
    for (int i = 0; i < 500; ++i) data.AddInt(i % 7);
    for (bool pack : {false, true}) {
        data.SetPacked(pack);
        TMemBuffer form;
        data.WriteToMemBuffer(form);
        const std::vector<unsigned char> bytes = Bytes(form);
        EXPECT_EQ(bytes[0] | bytes[1] << 8, 2000);
        EXPECT_EQ(bytes[4], pack ? 1 : 0);
        if (pack) {
            EXPECT_EQ(bytes[9], 0x78);
        }
        TMemBuffer back;
        ASSERT_TRUE(back.ReadFromMemBuffer(form));
        EXPECT_EQ(Bytes(back), Bytes(data));
        EXPECT_EQ(form.GetRemaining(), 0);
    }
}

TEST(MemBuffer, FileStreamRoundTrip) {
    TMemBuffer data;
    data.AddString("stream");
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    data.SaveToStream(file);
    data.SetPacked(true);
    data.SaveToStream(file);
    std::rewind(file);
    TMemBuffer plain, packed, missing;
    EXPECT_TRUE(plain.LoadFromStream(file));
    EXPECT_TRUE(packed.LoadFromStream(file));
    EXPECT_FALSE(missing.LoadFromStream(file));
    EXPECT_EQ(Bytes(plain), Bytes(data));
    EXPECT_EQ(Bytes(packed), Bytes(data));
    std::fclose(file);
}

TEST(MemBuffer, PackedOuterBlockLayout) {
    TMemBuffer data;
    for (int i = 0; i < 100; ++i) data.AddString("help archive");
    TMemBuffer block;
    data.WriteToPackedBlock(block);
    const std::vector<unsigned char> bytes = Bytes(block);
    const uint32_t unpacked = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
    const uint32_t packed = bytes[5] | bytes[6] << 8 | bytes[7] << 16 | uint32_t(bytes[8]) << 24;
    EXPECT_EQ(unpacked, static_cast<uint32_t>(data.GetSize()));
    EXPECT_EQ(bytes[4], 1);
    EXPECT_EQ(bytes[9], 0x78);
    EXPECT_EQ(bytes[10], 0x9C);
    ASSERT_EQ(bytes.size(), 9 + packed + 4);
    EXPECT_EQ(std::vector<unsigned char>(bytes.end() - 4, bytes.end()), (std::vector<unsigned char>{0, 1, 0, 0}));
    TMemBuffer back;
    ASSERT_TRUE(back.ReadFromPackedBlock(block.GetBlock(), block.GetSize()));
    EXPECT_EQ(Bytes(back), Bytes(data));
}

TEST(MemBuffer, DamagedPackedBlocksAreRejected) {
    TMemBuffer data;
    for (int i = 0; i < 50; ++i) data.AddInt(i);
    TMemBuffer block;
    data.WriteToPackedBlock(block);
    const std::vector<unsigned char> good = Bytes(block);
    std::vector<unsigned char> wrongSize = good;
    wrongSize[0] ^= 1;  // stated size differs from the stream's
    std::vector<unsigned char> huge = good;
    huge[3] = 0x7F;  // far more than the stream can inflate to
    for (const auto& bytes : {wrongSize, huge, std::vector<unsigned char>(good.begin(), good.begin() + 20)}) {
        TMemBuffer back;
        EXPECT_FALSE(back.ReadFromPackedBlock(bytes.data(), static_cast<int>(bytes.size())));
        EXPECT_EQ(back.GetSize(), 0);
    }
}

TEST(MemBuffer, FuzzedItemFormsFailCleanly) {
    TMemBuffer data;
    for (int i = 0; i < 64; ++i) data.AddInt(i * 31);
    data.SetPacked(true);
    TMemBuffer form;
    data.WriteToMemBuffer(form);
    const std::vector<unsigned char> good = Bytes(form);
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes = good;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < flips; ++k) bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
        if (round % 3 == 0) bytes.resize(random() % bytes.size());
        TMemBuffer source = BufferOf(bytes);
        TMemBuffer back;
        if (back.ReadFromMemBuffer(source)) {
            EXPECT_LE(back.GetSize(), 16 * 1024 * 1024);
        }
    }
}

TEST(MemBuffer, LoadFromResource) {
    HMODULE module = ContainersFixtureModule();
    TMemBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromResource(module, "PackedBlock"));
    const std::string expected = ReadFixture("packed_expected.txt");
    ASSERT_EQ(buffer.GetSize(), static_cast<int>(expected.size()));
    EXPECT_EQ(std::memcmp(buffer.GetBlock(), expected.data(), expected.size()), 0);
    EXPECT_FALSE(buffer.LoadFromResource(module, "NoSuchResource"));
    EXPECT_EQ(buffer.GetSize(), 0);
}
