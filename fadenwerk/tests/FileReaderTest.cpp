// Tests of ReadFile and TFileReader over CR, LF and CR LF files with small
// buffers.
#include <gtest/gtest.h>

#include <list>

#include "FileReader.h"
#include "TemporaryFolder.h"

namespace {

using fadenwerk_tests::TemporaryFolder;
using Lines = std::vector<std::string>;

struct LineCase {
    std::string contents;
    Lines lines;
    int lineCount;
};

const LineCase lineCases[] = {
    {"a\r\nb\r\n", {"a", "b", ""}, 2},
    {"a\nb\n", {"a", "b", ""}, 2},
    {"a\rb\r", {"a", "b", ""}, 2},
    {"a\r\nb", {"a", "b"}, 2},
    {"a\nb", {"a", "b"}, 2},
    {"a\rb", {"a", "b"}, 2},
    {"", {}, 0},
    {"\r\n", {"", ""}, 1},
    {"\n", {"", ""}, 1},
    {"\r", {"", ""}, 1},
    {"a\r\r\nb", {"a", "", "b"}, 3},
    {"a\n\rb", {"a", "", "b"}, 3},
    {"a\n\nb", {"a", "", "b"}, 3},
    {"one\r\n\r\nthree\r\nfour", {"one", "", "three", "four"}, 4},
    {std::string("x\0y\n", 4), {std::string("x\0y", 3), ""}, 1},
};

Lines ReadAllLines(TFileReader& reader) {
    Lines lines;
    std::string line;
    for (int guard = 0; !reader.Eof() && guard < 100; ++guard) {
        reader.ReadLine(line);
        lines.push_back(line);
    }
    return lines;
}

TEST(FileReader, LineTablesWithEveryBufferSize) {
    TemporaryFolder folder;
    for (const LineCase& c : lineCases) {
        folder.AddFile("lines", c.contents);
        for (int bufferSize : {1, 2, 3, 4, 0, 4096}) {
            TFileReader reader(folder / "lines", bufferSize);
            ASSERT_TRUE(reader.IsOpen());
            EXPECT_EQ(c.lines, ReadAllLines(reader)) << testing::PrintToString(c.contents) << " buffer " << bufferSize;
            EXPECT_EQ(c.lineCount, reader.GetLineCount()) << testing::PrintToString(c.contents);
            reader.Restart();
            EXPECT_EQ(c.lines, ReadAllLines(reader)) << "after Restart, buffer " << bufferSize;
            EXPECT_EQ(2 * c.lineCount, reader.GetLineCount());
        }
    }
}

TEST(FileReader, ReadFileGivesTheSameLines) {
    TemporaryFolder folder;
    for (const LineCase& c : lineCases) {
        folder.AddFile("lines", c.contents);
        Lines vectorLines = {"stale"};
        std::list<std::string> listLines = {"stale"};
        ASSERT_TRUE(ReadFile(folder / "lines", vectorLines));
        ASSERT_TRUE(ReadFile(folder / "lines", listLines));
        EXPECT_EQ(c.lines, vectorLines) << testing::PrintToString(c.contents);
        EXPECT_EQ(c.lines, Lines(listLines.begin(), listLines.end()));
    }
    Lines untouched = {"kept"};
    EXPECT_FALSE(ReadFile(folder / "missing", untouched));
    EXPECT_FALSE(ReadFile(folder.Path(), untouched));
    EXPECT_EQ(Lines({"kept"}), untouched);
}

TEST(FileReader, LineBufferLongLinesAndClosedReaders) {
    TemporaryFolder folder;
    const std::string longLine(5000, 'q');
    folder.AddFile("text", "ab\n" + longLine + "\nc");
    TFileReader reader(folder / "text", 4);
    EXPECT_STREQ("ab", reader.ReadLineBuffer());
    EXPECT_EQ(longLine, reader.ReadLineBuffer());
    EXPECT_STREQ("c", reader.ReadLineBuffer());
    EXPECT_TRUE(reader.Eof());
    EXPECT_STREQ("", reader.ReadLineBuffer());
    EXPECT_EQ(5000, reader.GetLongestLine());
    EXPECT_EQ(folder / "text", reader.GetFileName());

    TFileReader missing(folder / "missing", 0);
    EXPECT_FALSE(missing.IsOpen());
    TFileReader directory(folder.Path(), 0);
    EXPECT_FALSE(directory.IsOpen());
    EXPECT_TRUE(directory.Eof());
    EXPECT_STREQ("", directory.ReadLineBuffer());
}

}  // namespace
