// The editor's text geometry: line height, gutter, line and block rectangles
// and the selection background of a line.
#include <string>

#include "RedaktFixture.h"

namespace {

// The width the canvas font gives a text.
int TextWidth(TTextEditor* editor, const std::string& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32(editor->GetCanvas()->GetHandle(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> text;
    for (int i = 0; i < count; ++i) text.push_back("line " + std::to_string(i));
    return text;
}

}  // namespace

TEST_F(EditorTest, LineHeightAndGutterFollowSpacingAndLineNumbers) {
    TTextEditor* editor = Place();
    ShowText(editor, Numbered(10));
    const int height = editor->GetLineHeight();
    TEXTMETRICA metrics{};
    GetTextMetricsA(editor->GetCanvas()->GetHandle(), &metrics);
    EXPECT_EQ(height, metrics.tmHeight + metrics.tmExternalLeading);
    EXPECT_EQ(editor->GetCharWidth(), metrics.tmAveCharWidth);
    editor->SetLineSpace(3);
    EXPECT_EQ(editor->GetLineHeight(), height + 3);
    editor->SetLineSpace(-1000);  // never below one pixel
    EXPECT_EQ(editor->GetLineHeight(), 1);
    editor->SetLineSpace(0);

    EXPECT_EQ(editor->GetColGap(), 16);
    EXPECT_EQ(editor->GetLineNumbersWidth(), 0);
    editor->SetShowLineNumbers(true);
    // The gutter is as wide as the last line's number: 9, 10 and 100.
    const struct {
        int lines;
        const char* lastNumber;
    } kCounts[] = {{10, "9"}, {11, "10"}, {101, "100"}};
    for (const auto& row : kCounts) {
        ShowText(editor, Numbered(row.lines));
        const int width = TextWidth(editor, row.lastNumber);
        EXPECT_EQ(editor->lineNumbersWidth, width) << row.lines << " lines";  // recomputed by the paint
        EXPECT_EQ(editor->GetLineNumbersWidth(), width);
        EXPECT_EQ(editor->GetColGap(), width + 16 + 4);
    }
    EXPECT_EQ(TextWidth(editor, "100"), 3 * editor->GetCharWidth());
}

TEST_F(EditorTest, LineAndBlockRectanglesInScrolledAreaPixels) {
    TTextEditor* editor = Place();
    ShowText(editor, {"abc", "defgh", "i"});
    const int h = editor->GetLineHeight();
    const int w = editor->GetCharWidth();
    const int gap = editor->GetColGap();
    const RECT line = editor->GetLineRect(2);
    EXPECT_EQ(line.left, 0);
    EXPECT_EQ(line.top, 2 * h);
    EXPECT_EQ(line.right, gap + 5 * w + editor->GetClientWidth() - 1);
    EXPECT_EQ(line.bottom, 3 * h - 1);

    const struct {
        TTextEditorSelection selection;
        RECT expected;
    } kBlocks[] = {
        {TTextEditorSelection{0, 0, 0, 1, 3}, RECT{gap, h, 5 * w + gap, 3 * h - 1}},
        {TTextEditorSelection{1, 4, 1, 1, 1}, RECT{w + gap, h, 4 * w + gap - 1, 2 * h - 1}},
        {TTextEditorSelection{2, 2, 1, 0, 0}, RECT{-1, -1, -1, -1}},
    };
    for (const auto& row : kBlocks) {
        editor->selection = row.selection;
        const RECT block = editor->GetBlockRect();
        EXPECT_EQ(block.left, row.expected.left);
        EXPECT_EQ(block.top, row.expected.top);
        EXPECT_EQ(block.right, row.expected.right);
        EXPECT_EQ(block.bottom, row.expected.bottom);
    }
}

TEST(TextEditorGeometry, TheSecondSelectionColourIsForBlockLinesFromTheMarkOn) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    editor.selection = TTextEditorSelection{0, 0, 0, 2, 8};
    editor.selMark = -1;
    EXPECT_EQ(editor.GetSelBkColor(5), editor.GetSelBkColor());
    editor.selMark = 5;
    EXPECT_EQ(editor.GetSelBkColor(4), editor.GetSelBkColor());
    EXPECT_EQ(editor.GetSelBkColor(5), editor.selBkColor2);
    EXPECT_EQ(editor.GetSelBkColor(7), editor.selBkColor2);
    editor.selection = TTextEditorSelection{1, 9, 5, 5, 5};  // an in-line selection: its mark is a column
    EXPECT_EQ(editor.GetSelBkColor(5), editor.GetSelBkColor());
}
