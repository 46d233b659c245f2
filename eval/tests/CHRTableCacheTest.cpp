// Tests of the character-table cache and text images: lookup through CHDIR, loading once, damaged files and glyph pixels.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CHRTable.h"
#include "CHRTableCache.h"
#include "ExpressionImageTestSupport.h"

namespace {

const uint32_t kWhite = 0xFFFFFF;
const uint32_t kRed = 0x0000FF;

// Height 3: 'T' is 3 wide, 'i' 1 wide, 'x' 2 wide without glyph.
TCHRTable SmallTable() {
    TCHRTable table;
    table.SetHeight(3);
    table.AddGlyph('T', 3, {1, 1, 1,
                            0, 1, 0,
                            0, 1, 0});
    table.AddGlyph('i', 1, {1, 0, 1});
    table.SetCharWidthOnly('x', 2);
    return table;
}

class CHRTableCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        props.Font = "Small";
        props.TextColor = kRed;
        folder.Write(SmallTable(), "Small", 10);
    }
    TImageBuffer TextImage(const char* text, TCHRTableCache& cache) {
        TImageBuffer image;
        CreateTextImage(text, image, props, cache);
        return image;
    }
    // Rows of the image as text: '#' for red, '.' for white, '?' for anything else.
    static std::vector<std::string> Picture(const TImageBuffer& image) {
        std::vector<std::string> rows;
        for (int y = 0; y < image.Height; ++y) {
            std::string row;
            for (int x = 0; x < image.Width; ++x)
                row += PixelIs(image, x, y, kRed) ? '#' : PixelIs(image, x, y, kWhite) ? '.' : '?';
            rows.push_back(row);
        }
        return rows;
    }

    TemporaryCharacterFolder folder;
    TExpressionImageProps props;
};

TEST_F(CHRTableCacheTest, TextImageDrawsGlyphsAndAdvancesOverMissingOnes) {
    TCHRTableCache cache;
    const std::vector<std::string> expected = {"###..#", ".#...." , ".#...#"};
    EXPECT_EQ(Picture(TextImage("Txi", cache)), expected);
    TImageBuffer empty = TextImage("", cache);
    EXPECT_EQ(empty.Width, 0);
    EXPECT_EQ(empty.Height, 3);
    EXPECT_EQ(TextImage(nullptr, cache).Height, 3);
}

TEST_F(CHRTableCacheTest, TablesAreReadOncePerCache) {
    TCHRTableCache cache;
    EXPECT_EQ(TextImage("T", cache).Width, 3);
    std::filesystem::remove(folder.FilePath("Small_10.chr"));
    EXPECT_EQ(TextImage("TT", cache).Width, 6);
    EXPECT_EQ(cache.Count(), 1);
    // A table that failed is not read again in the same cache.
    props.FontSize = 12;
    EXPECT_EQ(TextImage("T", cache).Width, 0);
    folder.Write(SmallTable(), "Small", 12);
    EXPECT_EQ(TextImage("T", cache).Width, 0);
    TCHRTableCache fresh;
    EXPECT_EQ(TextImage("T", fresh).Width, 3);
    EXPECT_EQ(GetCachedCHRTable(fresh, props, 10).GetHeight(), 0);
}

TEST_F(CHRTableCacheTest, FolderEndingInBackslashGetsNoSlash) {
    // On this system a backslash is part of a file name: "<folder>/dir\" + "Small_10.chr".
    const std::string folderWithBackslash = folder.FilePath("dir\\");
    TemporaryCharacterFolder::WriteTo(SmallTable(), folderWithBackslash + "Small_10.chr");
    setenv("CHDIR", folderWithBackslash.c_str(), 1);
    TCHRTableCache cache;
    EXPECT_EQ(GetCachedCHRTable(cache, props, 10).GetHeight(), 3);
    unsetenv("CHDIR");
    TCHRTableCache unset;
    EXPECT_EQ(GetCachedCHRTable(unset, props, 10).GetHeight(), 0);
    EXPECT_EQ(TextImage("T", unset).Width, 0);
}

TEST_F(CHRTableCacheTest, DamagedFilesGiveEmptyTables) {
    std::vector<uint8_t> good;
    {
        FILE* file = std::fopen(folder.FilePath("Small_10.chr").c_str(), "rb");
        ASSERT_NE(file, nullptr);
        int c;
        while ((c = std::fgetc(file)) != EOF) good.push_back(uint8_t(c));
        std::fclose(file);
    }
    // Entry of 'T' starts at byte 4 + 8 * 'T'.
    const size_t entry = 4 + 8 * size_t('T');
    struct Damage {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Damage> cases;
    cases.push_back({"no bytes", {}});
    cases.push_back({"table cut short", std::vector<uint8_t>(good.begin(), good.begin() + 1000)});
    cases.push_back({"glyph block cut short", std::vector<uint8_t>(good.begin(), good.end() - 1)});
    std::vector<uint8_t> negativeWidth = good;
    negativeWidth[entry + 3] = 0x80;
    cases.push_back({"negative width", negativeWidth});
    std::vector<uint8_t> farOffset = good;
    farOffset[entry + 6] = 0x01;
    cases.push_back({"glyph outside the block", farOffset});
    std::vector<uint8_t> hugeHeight = good;
    hugeHeight[3] = 0x7F;
    cases.push_back({"huge height", hugeHeight});
    for (const Damage& damage : cases) {
        const std::string path = folder.FilePath("Bad_10.chr");
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        if (!damage.bytes.empty()) std::fwrite(damage.bytes.data(), 1, damage.bytes.size(), file);
        std::fclose(file);
        props.Font = "Bad";
        TCHRTableCache cache;
        TImageBuffer image = TextImage("Ti", cache);
        EXPECT_EQ(image.Width, 0) << damage.what;
        EXPECT_EQ(image.Height, 0) << damage.what;
    }
}

}  // namespace
