// Code page 1250 conversions at the layer's edges.
#include <gtest/gtest.h>

#include "CodePage.h"

namespace {

TEST(CodePage, HungarianLettersMapBothWays) {
    struct Case {
        unsigned char byte;
        char32_t unicode;
    };
    const Case cases[] = {
        {'A', U'A'}, {0xE1, U'\u00E1'}, {0xF5, U'\u0151'}, {0xFB, U'\u0171'}, {0xD5, U'\u0150'},
        {0xDB, U'\u0170'}, {0x80, U'\u20AC'}, {0x8A, U'\u0160'}, {0xFF, U'\u02D9'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(win32::CodePageToUnicode(c.byte), c.unicode) << int(c.byte);
        EXPECT_EQ(win32::UnicodeToCodePage(c.unicode), int(c.byte)) << int(c.byte);
    }
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += char(byte);
    EXPECT_EQ(win32::Utf8ToCodePage(win32::CodePageToUtf8(all)), all);
}

TEST(CodePage, UnknownAndMalformedInputBecomesTheMissingMark) {
    EXPECT_EQ(win32::UnicodeToCodePage(U'\u4E2D'), -1);
    EXPECT_EQ(win32::Utf8ToCodePage("a\xE4\xB8\xAD" "b"), "a?b");  // a character outside the code page
    EXPECT_EQ(win32::Utf8ToCodePage("a\xC3"), "a?");               // cut sequence
    EXPECT_EQ(win32::Utf8ToCodePage("\xFF\x80x", '_'), "__x");     // stray bytes
    EXPECT_EQ(win32::Utf8ToCodePage("\xC5\x91r"), "\xF5r");
}

}  // namespace
