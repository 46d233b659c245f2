// Tests of the character tables: glyph bits, the file round trip, damaged
// files, CHDIR paths and the generated tables.
#include "CHRTable.h"

#include "TableFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void ExpectEmpty(const TCHRTable& table) {
    EXPECT_EQ(table.GetHeight(), 0);
    EXPECT_TRUE(table.GlyphBlock().empty());
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(table.GetCharWidth(uint8_t(c)), 0);
        EXPECT_EQ(table.GetCharOffset(uint8_t(c)), -1);
    }
}

void PutInt32(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    ASSERT_LE(at + 4, bytes.size());
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(uint32_t(value) >> (8 * i));
}

size_t WidthAt(int character) { return 4 + 8 * size_t(character); }
size_t OffsetAt(int character) { return WidthAt(character) + 4; }

TEST(CHRTable, NewTableIsEmptyWithExtensionChr) {
    TCHRTable table;
    ExpectEmpty(table);
    EXPECT_EQ(table.extension, "chr");
}

TEST(CHRTable, GlyphRowsFollowEachOtherWithoutPadding) {
    TCHRTable table;
    table.SetHeight(7);
    std::vector<uint8_t> dots(35, 0);
    dots[5] = 1;  // first dot of the second row
    ASSERT_TRUE(table.AddGlyph('A', 5, dots));
    EXPECT_EQ(table.GlyphBlock().size(), 5u);
    EXPECT_EQ(table.GlyphBlock()[0], 0x04);
    EXPECT_TRUE(table.GlyphDot('A', 0, 1));
    EXPECT_FALSE(table.GlyphDot('A', 0, 0));
    EXPECT_FALSE(table.GlyphDot('A', 5, 1));
    EXPECT_FALSE(table.AddGlyph('B', 5, std::vector<uint8_t>(34, 0)));
}

TEST(CHRTable, WrittenAndReadBackIsByteIdentical) {
    const TCHRTable table = SmallTable();
    const std::vector<uint8_t> bytes = WrittenBytes(table);
    // Height, 256 records, then 2 + 1 + 1 bytes of glyphs.
    ASSERT_EQ(bytes.size(), 4u + 2048u + 4u);
    EXPECT_EQ(bytes[0], 4);
    TCHRTable copy;
    ASSERT_TRUE(ReadFromBytes(copy, bytes));
    EXPECT_EQ(WrittenBytes(copy), bytes);
    EXPECT_EQ(copy.GetCharWidth('x'), 5);
    EXPECT_FALSE(copy.HasGlyph('x'));
    EXPECT_TRUE(copy.GlyphDot('L', 2, 3));
}

TEST(CHRTable, DamagedFilesAreRefusedAndLeaveTheTableEmpty) {
    const std::vector<uint8_t> good = WrittenBytes(SmallTable());
    struct Damage {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Damage> damages;
    for (size_t length : {size_t(0), size_t(3), size_t(4), size_t(100), size_t(2052), good.size() - 1}) {
        damages.push_back({"truncated", std::vector<uint8_t>(good.begin(), good.begin() + long(length))});
    }
    auto changed = [&](size_t at, int32_t value) {
        std::vector<uint8_t> bytes = good;
        PutInt32(bytes, at, value);
        return bytes;
    };
    damages.push_back({"negative height", changed(0, -4)});
    damages.push_back({"huge height", changed(0, 0x7FFFFFFF)});
    damages.push_back({"negative width", changed(WidthAt('L'), -3)});
    damages.push_back({"offset below -1", changed(OffsetAt('L'), -2)});
    damages.push_back({"offset past the block", changed(OffsetAt('I'), 4)});
    damages.push_back({"offset far past the block", changed(OffsetAt('I'), 0x7FFFFFF0)});
    damages.push_back({"glyph running past the block", changed(OffsetAt('L'), 3)});
    {
        std::vector<uint8_t> bytes = changed(OffsetAt('x'), 0);
        PutInt32(bytes, WidthAt('x'), 4000);
        damages.push_back({"block larger than the file", bytes});
    }
    for (const Damage& damage : damages) {
        TCHRTable table = SmallTable();
        EXPECT_FALSE(ReadFromBytes(table, damage.bytes)) << damage.what << " " << damage.bytes.size();
        ExpectEmpty(table);
    }
}

TEST(CHRTable, TableWithoutGlyphsHasAnEmptyBlock) {
    TCHRTable table;
    table.SetHeight(9);
    table.SetCharWidthOnly('a', 3);
    const std::vector<uint8_t> bytes = WrittenBytes(table);
    EXPECT_EQ(bytes.size(), 2052u);
    TCHRTable copy;
    EXPECT_TRUE(ReadFromBytes(copy, bytes));
    EXPECT_EQ(copy.GetHeight(), 9);
    EXPECT_EQ(copy.GetCharWidth('a'), 3);
}

TEST(CHRTable, FilePathFollowsCharacterFolder) {
    ScopedCharacterFolder keep;
    struct Case {
        const char* folder;
        const char* path;
    };
    const Case cases[] = {
        {"C:\\fonts\\", "C:\\fonts\\courier-new_10.chr"},
        {"C:\\fonts", "C:\\fonts/courier-new_10.chr"},
        {"/usr/share/chr/", "/usr/share/chr//courier-new_10.chr"},
        {"", "/courier-new_10.chr"},
    };
    for (const Case& c : cases) {
        setenv("CHDIR", c.folder, 1);
        EXPECT_EQ(CHRFilePath("courier-new_10.chr"), c.path);
    }
    unsetenv("CHDIR");
    EXPECT_EQ(CHRFilePath("courier-new_10.chr"), "");
    TCHRTable table = SmallTable();
    EXPECT_FALSE(LoadCHRTable(table, "Arial", 10));
    EXPECT_EQ(table.GetCharWidth('L'), 3);
    EXPECT_EQ(table.name, "Arial");
}

TEST(CHRTable, MissingFileKeepsTheTableAndLongNamesWork) {
    ScopedCharacterFolder keep;
    const std::string longFolder = "/nonexistent/" + std::string(3000, 'd');
    setenv("CHDIR", longFolder.c_str(), 1);
    TCHRTable table = SmallTable();
    EXPECT_FALSE(LoadCHRTable(table, std::string(2000, 'f'), 10));
    EXPECT_EQ(table.GetHeight(), 4);
    EXPECT_FALSE(ReadCHRFile(table, ""));
    EXPECT_EQ(table.GetHeight(), 4);
}

// The tables generated at build time lie in the CHDIR the tests run with.
class GeneratedTables : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("CHDIR") == nullptr) GTEST_SKIP() << "CHDIR is not set";
    }
};

TEST_F(GeneratedTables, ExistUnderEveryNameAndSize) {
    for (const char* font : {"Arial", "arial", "courier-new", "Courier"}) {
        for (int size = 5; size <= 24; ++size) {
            TCHRTable table;
            EXPECT_TRUE(LoadCHRTable(table, font, size)) << font << " " << size;
            EXPECT_GT(table.GetHeight(), 0) << font << " " << size;
        }
    }
}

TEST_F(GeneratedTables, FormulaAndChartDefaultsLoad) {
    const TCHRTable formula("Arial", 10);
    // 10 points at 96 dots per inch, with room for accents and descenders.
    EXPECT_GE(formula.GetHeight(), 13);
    EXPECT_LE(formula.GetHeight(), 20);
    EXPECT_TRUE(formula.HasGlyph('A'));
    EXPECT_FALSE(formula.HasGlyph(0x1F));
    EXPECT_TRUE(formula.HasGlyph(0x8A));  // S with caron in the code page
    EXPECT_GT(formula.GetCharWidth('W'), formula.GetCharWidth('i'));

    const TCHRTable chart("courier-new", 10);
    EXPECT_GT(chart.GetHeight(), 0);
    EXPECT_TRUE(chart.HasGlyph('0'));
    EXPECT_EQ(chart.GetCharWidth('W'), chart.GetCharWidth('i'));
}

}  // namespace
