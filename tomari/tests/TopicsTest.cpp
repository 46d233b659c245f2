// Tests of TTopic and TTopics: topic list files and the stored index.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "MemBuffer.h"
#include "TempFile.h"
#include "Topics.h"

namespace {

// A topic as "name|name>source", for comparing whole indexes.
std::vector<std::string> Describe(const TTopics& topics) {
    std::vector<std::string> out;
    for (int i = 0; i < topics.GetCount(); ++i) {
        std::string text;
        for (int n = 0; n < topics[i].names.GetCount(); ++n) text += (n ? "|" : "") + topics[i].names[n].str();
        out.push_back(text + ">" + topics[i].source.str());
    }
    return out;
}

TEST(Topics, TempFilesGiveNamesAndSources) {
    struct Case {
        std::string content;
        std::vector<std::string> topics;
    } cases[] = {
        {"About,Start,index.vgt\n", {"About|Start>index.vgt"}},
        {"/Colors and styles,colors.vgt", {"  Colors and styles>colors.vgt"}},
        {"/Array*Strings,strings.vgt\n", {"  Strings>strings.vgt"}},
        {"Grid*sizes,grid.vgt\n", {"Grid*sizes>grid.vgt"}},
        {"a/b/c,x.vgt\n", {"  b/c>x.vgt"}},
        {"index.vgt\n", {">index.vgt"}},
        {"\nA,a.vgt\n\n", {"A>a.vgt"}},
        {" A , a.vgt \n", {" A > a.vgt "}},
        {"A,a.vgt\r\nB,C,b.vgt\r\n", {"A>a.vgt", "B|C>b.vgt"}},
        {"A,a.vgt\nB,C,b.vgt\n", {"A>a.vgt", "B|C>b.vgt"}},
        {"", {}},
        // Names are code-page bytes, kept as they are.
        {"\xC1rv\xEDzt\xFBr\xF5,\xE1rv\xEDz.vgt\n", {"\xC1rv\xEDzt\xFBr\xF5>\xE1rv\xEDz.vgt"}},
    };
    for (const Case& test : cases) {
        TempFile file(test.content);
        TTopics topics;
        topics.ReadFromFile(file.Path());
        EXPECT_EQ(Describe(topics), test.topics) << test.content;
    }
}

TEST(Topics, FilesAppendAndAMissingFileChangesNothing) {
    TempFile first("A,a.vgt\n");
    TempFile second("B,b.vgt\n");
    TTopics topics;
    topics.ReadFromFile(first.Path());
    topics.ReadFromFile(second.Path());
    topics.ReadFromFile(TString("/no/such/folder/topics.txt"));
    EXPECT_EQ(Describe(topics), (std::vector<std::string>{"A>a.vgt", "B>b.vgt"}));
}

// Little-endian field writers for the expected bytes.
void U32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<uint8_t>(value >> (8 * k)));
}
void Bytes(std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> values) { bytes.insert(bytes.end(), values); }
void Text(std::vector<uint8_t>& bytes, const std::string& text) {
    U32(bytes, static_cast<uint32_t>(text.size()));
    bytes.push_back(1);
    bytes.insert(bytes.end(), text.begin(), text.end());
}
void PatchU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes[at + static_cast<size_t>(k)] = static_cast<uint8_t>(value >> (8 * k));
}

const std::initializer_list<uint8_t> kObjectFlags = {0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00};

// A names list: end offset from the start of the block, count, 256, flags, names.
void Names(std::vector<uint8_t>& bytes, const std::vector<std::string>& names) {
    const size_t start = bytes.size();
    U32(bytes, 0);
    U32(bytes, static_cast<uint32_t>(names.size()));
    U32(bytes, 256);
    Bytes(bytes, kObjectFlags);
    for (const std::string& name : names) {
        Bytes(bytes, {0x01, 0x00});
        Text(bytes, name);
    }
    PatchU32(bytes, start, static_cast<uint32_t>(bytes.size()));
}

TTopics TwoTopics() {
    TTopics topics;
    TTopic* first = topics.NewItem();
    first->names.Add(TString("About"));
    first->names.Add(TString("  Start"));
    first->source = "index.vgt";
    TTopic second;
    second.names.Add(TString("Colors"));
    second.source = "colors.vgt";
    topics += second;
    return topics;
}

std::vector<uint8_t> Written(const TTopics& topics) {
    TMemBuffer buffer;
    topics.WriteToMemBuffer(buffer);
    const uint8_t* block = static_cast<const uint8_t*>(buffer.GetBlock());
    return std::vector<uint8_t>(block, block + buffer.GetSize());
}

TEST(Topics, StoredIndexHasTheContainerLayout) {
    std::vector<uint8_t> expected;
    U32(expected, 0);
    U32(expected, 2);
    U32(expected, 16);
    Bytes(expected, kObjectFlags);
    Bytes(expected, {0x01, 0x00});
    Names(expected, {"About", "  Start"});
    Text(expected, "index.vgt");
    Bytes(expected, {0x01, 0x00});
    Names(expected, {"Colors"});
    Text(expected, "colors.vgt");
    PatchU32(expected, 0, static_cast<uint32_t>(expected.size()));

    const TTopics topics = TwoTopics();
    EXPECT_EQ(Written(topics), expected);

    TMemBuffer buffer;
    buffer.Add(expected.data(), static_cast<int>(expected.size()));
    TTopics read;
    read += TTopic();  // replaced by the read
    ASSERT_TRUE(read.ReadFromMemBuffer(buffer));
    EXPECT_EQ(Describe(read), Describe(topics));
}

TEST(Topics, CopiesCarryNamesAndSource) {
    const TTopics topics = TwoTopics();
    TTopic copy;
    copy.Assign(topics.First());
    EXPECT_EQ(copy.names.GetCount(), 2);
    EXPECT_EQ(copy.names[1], TString("  Start"));
    EXPECT_EQ(copy.source, TString("index.vgt"));
    TTopics assigned;
    assigned = topics;
    EXPECT_EQ(Describe(assigned), Describe(topics));
    EXPECT_EQ(assigned.Last().source, TString("colors.vgt"));
}

TEST(Topics, DamagedStoredIndexesFailCleanly) {
    const std::vector<uint8_t> good = Written(TwoTopics());
    for (size_t length = 0; length < good.size(); ++length) {
        TMemBuffer buffer;
        buffer.Add(good.data(), static_cast<int>(length));
        TTopics topics;
        EXPECT_FALSE(topics.ReadFromMemBuffer(buffer)) << length;
    }
    std::mt19937 random(104);
    for (int round = 0; round < 4000; ++round) {
        std::vector<uint8_t> bytes = good;
        for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        TMemBuffer buffer;
        buffer.Add(bytes.data(), static_cast<int>(bytes.size()));
        TTopics topics;
        topics.ReadFromMemBuffer(buffer);
    }
}

}  // namespace
