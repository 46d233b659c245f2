// Tests of TImageLink and TImageLinks: the image link file byte by byte, the
// stream form and copies with their regions, and damaged files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ContainerErrors.h"
#include "ImageLinks.h"
#include "TopicFolder.h"

namespace {

// Little-endian byte strings.
class Bytes {
public:
    Bytes& U32(uint32_t value) {
        for (int k = 0; k < 4; ++k) text += static_cast<char>((value >> (8 * k)) & 0xFF);
        return *this;
    }
    Bytes& Raw(std::initializer_list<int> bytes) {
        for (int b : bytes) text += static_cast<char>(b);
        return *this;
    }
    Bytes& Text(const std::string& s) {
        U32(static_cast<uint32_t>(s.size()));
        Raw({1});
        text += s;
        return *this;
    }
    std::string text;
};

struct Area {
    std::vector<POINT> points;
    std::string target;
    std::string panel;
};

const Area kFirst{{{43, 31}, {449, 31}, {449, 49}, {45, 49}},
                  "mainwindow_expression.vgt",
                  "main_window_elements_panel"};
const Area kSecond{{{0, 0}, {10, 0}, {0, 10}}, "second.vgt", ""};

// An image link file as the layout of the format gives it.
std::string LinkFile(const std::vector<Area>& areas) {
    Bytes body;
    const uint32_t headerSize = 24;
    uint32_t offset = headerSize;
    for (const Area& area : areas) {
        const uint32_t polygonEnd = offset + 2 + headerSize + 8 * static_cast<uint32_t>(area.points.size());
        body.Raw({1, 0}).U32(polygonEnd).U32(static_cast<uint32_t>(area.points.size())).U32(16);
        body.Raw({1, 0, 1, 8, 0, 0, 0, 1, 1, 0, 0, 0});
        for (const POINT& p : area.points) body.U32(static_cast<uint32_t>(p.x)).U32(static_cast<uint32_t>(p.y));
        body.Text(area.target).Text(area.panel);
        offset = headerSize + static_cast<uint32_t>(body.text.size());
    }
    Bytes file;
    file.U32(offset).U32(static_cast<uint32_t>(areas.size())).U32(8).Raw({0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0});
    return file.text + body.text;
}

std::string ReadWhole(const std::string& name) {
    std::string bytes;
    FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) return bytes;
    for (int c; (c = std::fgetc(file)) != EOF;) bytes += static_cast<char>(c);
    std::fclose(file);
    return bytes;
}

void ExpectArea(const TImageLink& link, const Area& area) {
    ASSERT_EQ(link.polygon.GetCount(), static_cast<int>(area.points.size()));
    for (int i = 0; i < link.polygon.GetCount(); ++i) {
        EXPECT_EQ(link.polygon[i].x, area.points[i].x);
        EXPECT_EQ(link.polygon[i].y, area.points[i].y);
    }
    EXPECT_EQ(link.target.str(), area.target);
    EXPECT_EQ(link.targetPanel.str(), area.panel);
}

TEST(ImageLinks, TheLinkFileReadsAndWritesBackByteForByte) {
    TopicFolder folder;
    const std::string bytes = LinkFile({kFirst, kSecond});
    folder.Write("areas.ald", bytes);
    TImageLinks links;
    links.ReadFromFile(TString("areas.ald"));
    ASSERT_EQ(links.GetCount(), 2);
    ExpectArea(links[0], kFirst);
    ExpectArea(links[1], kSecond);
    links.WriteToFile(TString("again.ald"));
    EXPECT_EQ(ReadWhole("again.ald"), bytes);
}

TEST(ImageLinks, StreamFormAndCopiesRebuildTheRegion) {
    TImageLink link;
    for (const POINT& p : kFirst.points) link.polygon.Add(p);
    link.target = kFirst.target;
    link.targetPanel = kFirst.panel;
    EXPECT_EQ(link.GetRegion(), nullptr);  // a region is built only on request
    link.RebuildRegion();

    // The stream form: target, panel, polygon.
    char* data = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&data, &size);
    link.WriteToStream(out);
    std::fclose(out);
    const std::string stream(data, size);
    std::free(data);
    EXPECT_EQ(stream.substr(0, 4 + 1 + kFirst.target.size()), Bytes().Text(kFirst.target).text);

    FILE* in = fmemopen(const_cast<char*>(stream.data()), stream.size(), "rb");
    TImageLink read;
    ASSERT_TRUE(read.ReadFromStream(in));
    std::fclose(in);
    ExpectArea(read, kFirst);

    TImageLink assigned;
    assigned.Assign(link);
    ExpectArea(assigned, kFirst);
    TImageLinks list;
    list += link;
    const TImageLinks copied(list);
    ASSERT_EQ(copied.GetCount(), 1);

    for (const TImageLink* copy : {&read, &assigned, &copied[0]}) {
        ASSERT_NE(copy->GetRegion(), nullptr);
        EXPECT_NE(copy->GetRegion(), link.GetRegion());  // each copy owns its region
        EXPECT_TRUE(copy->Contains(200, 40));
        EXPECT_TRUE(copy->Contains(46, 48));
        EXPECT_FALSE(copy->Contains(200, 60));
        EXPECT_FALSE(copy->Contains(43, 49));  // left of the slanted edge
    }

    // A polygon of fewer than three points has no region and never hits.
    TImageLink line;
    line.polygon.Add(POINT{0, 0}, POINT{10, 10});
    line.RebuildRegion();
    EXPECT_EQ(line.GetRegion(), nullptr);
    EXPECT_FALSE(line.Contains(5, 5));
}

// Every truncation and a run of single-byte changes read without a fault;
// what reads is kept, a file that does not open reads as an error only.
TEST(ImageLinks, DamagedFilesReadSafely) {
    TopicFolder folder;
    const std::string bytes = LinkFile({kFirst, kSecond});
    auto read = [&](const std::string& content) {
        folder.Write("damaged.ald", content);
        TImageLinks links;
        try {
            links.ReadFromFile(TString("damaged.ald"));
        } catch (const TSDPPFileException&) {
        }
        for (int i = 0; i < links.GetCount(); ++i) {
            if (links.GetItem(i) == nullptr) continue;
            links[i].RebuildRegion();
            links[i].Contains(1, 1);
        }
        return links.GetCount();
    };
    for (size_t length = 0; length < bytes.size(); ++length) EXPECT_LT(read(bytes.substr(0, length)), 3);
    for (size_t at = 0; at < bytes.size(); ++at)
        for (int value : {0x00, 0x7F, 0xFF}) {
            std::string mutated = bytes;
            mutated[at] = static_cast<char>(value);
            read(mutated);
        }
    // A huge point count in the second area keeps the first area.
    std::string huge = bytes;
    const size_t secondCount = bytes.size() - (2 + 4 + 4 + 4 + 12 + 3 * 8 + 4 + 1 + kSecond.target.size() + 4 + 1) + 6;
    huge[secondCount + 3] = static_cast<char>(0x7F);
    folder.Write("huge.ald", huge);
    TImageLinks links;
    EXPECT_THROW(links.ReadFromFile(TString("huge.ald")), TSDPPFileException);
    ASSERT_EQ(links.GetCount(), 1);
    ExpectArea(links[0], kFirst);
    EXPECT_THROW(links.ReadFromFile(TString("missing.ald")), TSDPPFileException);
}

}  // namespace
