// Tests of the VGT parameter rules: items, numbers, sizes, colours and line styles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VGTParameters.h"

namespace {

std::vector<std::string> ItemsOf(const char* parameter, bool trim) {
    std::vector<std::string> out;
    for (const TVGTItem& item : TVGTItems(TString(parameter), trim)) out.push_back(item.key.str() + "|" + item.value.str());
    return out;
}

TEST(VGTParameters, ItemsSplitAtCommasAndTheirFirstEquals) {
    struct Case {
        const char* parameter;
        bool trim;
        std::vector<std::string> items;
    } cases[] = {
        {"NUM=0,POS=35%,GAP=2", false, {"NUM|0", "POS|35%", "GAP|2"}},
        {"functions.vgt,TARGET=main", false, {"FUNCTIONS.VGT|functions.vgt", "TARGET|main"}},
        {"KEEPLEFT", false, {"KEEPLEFT|KEEPLEFT"}},
        {"KEEPLEFT=1", false, {"KEEPLEFT|1"}},
        {"num=0", false, {"NUM|0"}},
        {" POS = 35%", false, {" POS | 35%"}},
        {" POS = 35%", true, {"POS|35%"}},
        {"a=b=c", false, {"A|b=c"}},
        {"", false, {}},
        {"a,,", false, {"A|a", "|", "|"}},
    };
    for (const Case& test : cases) EXPECT_EQ(ItemsOf(test.parameter, test.trim), test.items) << test.parameter;
}

TEST(VGTParameters, NumbersReadLikePercentD) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"12abc", 12}, {"abc", 0}, {"", 0}, {"  -5", -5}, {"+7", 7}, {"- 5", 0}, {"35%", 35},
        {"100000", 100000}, {"100001", 100000}, {"99999999999999999999", 100000}, {"-2147483648", -100000},
    };
    for (const Case& test : cases) EXPECT_EQ(ReadTagNumber(TString(test.text)), test.value) << test.text;
}

TEST(VGTParameters, SizesArePercentagesOrPixels) {
    struct Case {
        const char* text;
        bool percent;
        int value;
    } cases[] = {
        {"35%", true, 35}, {"-170", false, -170}, {"100 %", true, 100}, {"20", false, 20}, {"", false, 0},
    };
    for (const Case& test : cases) {
        TVGTSize size = ReadTagSize(TString(test.text));
        EXPECT_EQ(size.percent, test.percent) << test.text;
        EXPECT_EQ(size.value, test.value) << test.text;
    }
}

TEST(VGTParameters, ColoursReadThreeHexadecimalPairs) {
    struct Case {
        const char* text;
        COLORREF colour;
    } cases[] = {
        {"FF0000", 0x0000FF}, {"00FF00", 0x00FF00}, {"0000ff", 0xFF0000}, {"123456", 0x563412},
        {"#FF0000", 0x00F000}, {"FFF", 0x000FFF}, {"", 0}, {"zz00zz", 0}, {"F-0x12", 0x12000F},
        {"FF0000FF", 0x0000FF},
    };
    for (const Case& test : cases) EXPECT_EQ(ReadTagColor(TString(test.text)), test.colour) << test.text;
}

TEST(VGTParameters, OnlySolidIsALineStyle) {
    EXPECT_EQ(ReadLineStyle(TString("SOLID")), 1);
    EXPECT_EQ(ReadLineStyle(TString("solid")), 0);
    EXPECT_EQ(ReadLineStyle(TString("DASH")), 0);
    EXPECT_EQ(ReadLineStyle(TString("")), 0);
}

}  // namespace
