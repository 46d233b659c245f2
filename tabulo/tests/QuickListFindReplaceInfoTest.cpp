// Tests of the quick list's cell matcher: the three options, and case folding
// that agrees with the code page's upper-casing for every pair of bytes.
#include "QuickListFindReplaceInfo.h"

#include <gtest/gtest.h>

#include "String.h"

namespace {

TEST(QuickListCellMatcherTest, MatchesByTheOptions) {
    struct Case {
        const char* find;
        bool caseSensitive, wholeText;
        const char* cell;
        bool matches;
    };
    const Case cases[] = {
        {"ABC", false, false, "abc", true},
        {"ABC", false, false, "xabcx", true},
        {"ABC", false, true, "abc", true},
        {"ABC", false, true, "xabcx", false},
        {"ABC", true, false, "abc", false},
        {"ABC", true, false, "xabcx", false},
        {"abc", true, false, "xabcx", true},
        {"abc", true, true, "abc", true},
        {"abc", true, true, "abcd", false},
        {"bcx", false, false, "xabcx", true},   // at the very end
        {"abcxy", false, false, "xabcx", false},  // runs past the end
        {"ab", false, false, "a", false},       // longer than the cell
        {"", false, false, "abc", true},        // an empty text is in every cell
        {"", false, true, "", true},
        {"", false, true, "a", false},
        {"\xE1rv\xEDz", false, false, "\xC1RV\xCDZT\xDBR\xD5", true},  // árvíz in ÁRVÍZTŰRŐ
        {"\xFB", false, true, "\xDB", true},                            // ű and Ű
        {"\xFB", true, true, "\xDB", false},
    };
    for (const Case& c : cases) {
        const TQuickListCellMatcher matcher(c.find, c.caseSensitive, c.wholeText);
        EXPECT_EQ(matcher.Matches(c.cell), c.matches)
            << c.find << " in " << c.cell << (c.caseSensitive ? " case" : "") << (c.wholeText ? " whole" : "");
    }
}

// Folding as it compares gives what upper-casing both texts would.
TEST(QuickListCellMatcherTest, FoldsAsTheCodePagesUpperCasing) {
    for (int a = 0; a < 256; ++a) {
        const std::string find(1, char(a));
        const TQuickListCellMatcher whole(find, false, true), within(find, false, false);
        const TString upperFind = TString(find).ToUpper();
        for (int b = 0; b < 256; ++b) {
            const std::string cell{'-', char(b), '-'};
            const bool equal = upperFind == TString(std::string(1, char(b))).ToUpper();
            ASSERT_EQ(whole.Matches(cell.substr(1, 1)), equal) << a << " " << b;
            ASSERT_EQ(within.Matches(cell), equal || a == '-') << a << " " << b;
        }
    }
}

}  // namespace
