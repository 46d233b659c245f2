// Lining lines up against a width: filling them, never shortening them.
#include <string>
#include <vector>

#include "RedaktFixture.h"

TEST(TextEditorMargin, AlignLineToWidthFillsShortLinesAndReturnsTheOldLength) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const struct {
        std::string line;
        int width;
        char fill;
        int returned;
        std::string after;
    } kCases[] = {
        {"abc", 6, '.', 3, "abc..."},
        {"", 2, ' ', 0, "  "},
        {"abcdef", 6, '.', 6, "abcdef"},  // exactly the width: unchanged
        {"abcdefgh", 6, '.', 8, "abcdefgh"},  // never shortened
        {"abc", -4, '.', 3, "abc"},
    };
    for (const auto& c : kCases) {
        SetLines(editor, {"first", c.line});
        EXPECT_EQ(editor.AlignLineToWidth(1, c.width, c.fill), c.returned) << c.line;
        EXPECT_EQ(TextOf(editor.lines), (std::vector<std::string>{"first", c.after})) << c.line;
    }
    EXPECT_EQ(editor.AlignLineToWidth(2, 10, '.'), 0);  // a line the text lacks
    EXPECT_EQ(editor.AlignLineToWidth(-1, 10, '.'), 0);
    EXPECT_EQ(editor.lines.GetCount(), 2);
}
