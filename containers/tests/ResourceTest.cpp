// Tests of TMemResource: archive layout, round trips and damaged archives.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "Resource.h"
#include "StringContainer.h"

namespace {

std::vector<unsigned char> Image(const TMemBuffer& buffer) {
    const unsigned char* block = static_cast<const unsigned char*>(buffer.GetBlock());
    return std::vector<unsigned char>(block, block + buffer.GetSize());
}

TMemBuffer TopicSource() {
    TStringContainer lines;
    for (int i = 0; i < 40; ++i) lines.Add("<B>Topic line</B> number " + std::to_string(i));
    TMemBuffer buffer;
    lines.WriteToMemBuffer(buffer);
    return buffer;
}

void FillSample(TMemResource& archive) {
    archive.AddBuffer("index.vgt", TopicSource(), true);
    TMemBuffer name;
    TString("index.vgt").WriteToMemBuffer(name);
    archive.AddBuffer("defaultname", name, false);
}

}  // namespace

TEST(MemResource, ArchiveLayout) {
    TMemResource archive;
    FillSample(archive);
    TMemBuffer block;
    archive.WriteToMemBuffer(block);
    const std::vector<unsigned char> bytes = Image(block);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, block.GetSize());
    EXPECT_EQ(bytes[4], 2);
    EXPECT_EQ(bytes[8], 16);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 12, bytes.begin() + 24),
              (std::vector<unsigned char>{0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0}));
    // First entry: marks 01 02, the name, marks 01 00, size, packed flag 1, packed size, zlib.
    EXPECT_EQ(bytes[24], 1);
    EXPECT_EQ(bytes[25], 2);
    EXPECT_EQ(bytes[26], 9);
    EXPECT_EQ(std::string(bytes.begin() + 31, bytes.begin() + 40), "index.vgt");
    EXPECT_EQ(bytes[40], 1);
    EXPECT_EQ(bytes[41], 0);
    EXPECT_EQ(bytes[46], 1);
    EXPECT_EQ(bytes[51], 0x78);
    // The unpacked entry ends the block: size 14, flag 0, then the 14 bytes.
    const size_t tail = bytes.size() - 14 - 5;
    EXPECT_EQ(bytes[tail], 14);
    EXPECT_EQ(bytes[tail + 4], 0);
    EXPECT_EQ(std::string(bytes.end() - 9, bytes.end()), "index.vgt");
}

TEST(MemResource, RoundTripPackedAndUnpacked) {
    TMemResource archive;
    FillSample(archive);
    TMemBuffer inner;
    archive.WriteToMemBuffer(inner);
    for (bool pack : {true, false}) {
        TMemBuffer outer;
        inner.WriteToPackedBlock(outer, pack);
        TMemBuffer loaded;
        ASSERT_TRUE(loaded.ReadFromPackedBlock(outer.GetBlock(), outer.GetSize()));
        TMemResource back;
        ASSERT_TRUE(back.ReadFromMemBuffer(loaded));
        ASSERT_EQ(back.GetCount(), 2);
        TMemBuffer topic;
        ASSERT_TRUE(back.GetBuffer("index.vgt", topic));
        EXPECT_EQ(Image(topic), Image(TopicSource()));
        TStringContainer lines;
        ASSERT_TRUE(lines.ReadFromMemBuffer(topic));
        EXPECT_EQ(lines.GetCount(), 40);
        TMemBuffer defaultName;
        ASSERT_TRUE(back.GetBuffer("defaultname", defaultName));
        EXPECT_EQ(defaultName.GetSize(), 14);
        EXPECT_FALSE(back.GetEntry(1)->Data.GetPacked());
        EXPECT_FALSE(back.GetBuffer("INDEX.VGT", topic));  // exact names only
        EXPECT_TRUE(back.HasEntry("index.vgt"));
        EXPECT_FALSE(back.HasEntry("topics"));
    }
}

TEST(MemResource, AddingAnExistingNameReplacesIt) {
    TMemResource archive;
    FillSample(archive);
    TMemBuffer replacement;
    replacement.AddInt(5);
    archive.AddBuffer("index.vgt", replacement);
    EXPECT_EQ(archive.GetCount(), 2);
    TMemBuffer found;
    ASSERT_TRUE(archive.GetBuffer("index.vgt", found));
    EXPECT_EQ(found.ReadInt(), 5);
}

TEST(MemResource, TruncatedAndMutatedArchivesFailCleanly) {
    TMemResource archive;
    FillSample(archive);
    TMemBuffer inner;
    archive.WriteToMemBuffer(inner);
    TMemBuffer outer;
    inner.WriteToPackedBlock(outer);
    const std::vector<unsigned char> innerBytes = Image(inner);
    const std::vector<unsigned char> outerBytes = Image(outer);

    for (size_t length = 0; length < innerBytes.size(); ++length) {
        TMemBuffer source;
        source.Add(innerBytes.data(), static_cast<int>(length));
        TMemResource back;
        EXPECT_FALSE(back.ReadFromMemBuffer(source)) << length;
    }
    std::mt19937 random(2024);
    for (int round = 0; round < 4000; ++round) {
        const bool mutateOuter = round % 2 == 1;
        std::vector<unsigned char> bytes = mutateOuter ? outerBytes : innerBytes;
        const int flips = 1 + static_cast<int>(random() % 6);
        for (int k = 0; k < flips; ++k) bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
        if (round % 5 == 0) bytes.resize(random() % bytes.size());
        TMemBuffer source;
        if (mutateOuter) {
            if (!source.ReadFromPackedBlock(bytes.data(), static_cast<int>(bytes.size()))) continue;
        } else {
            source.Add(bytes.data(), static_cast<int>(bytes.size()));
        }
        TMemResource back;
        if (!back.ReadFromMemBuffer(source)) continue;
        TMemBuffer entry;
        for (int i = 0; i < back.GetCount(); ++i) {
            if (back.GetEntry(i) == nullptr || !back.GetBuffer(back.GetEntry(i)->Name, entry)) continue;
            TStringContainer lines;  // the entries hold string lists: parse them too
            lines.ReadFromMemBuffer(entry);
        }
    }
}
