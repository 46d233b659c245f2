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

namespace {

// The editor's line block [first, end), or an in-line selection of no lines.
void SelectBlock(TTextEditor& editor, int first, int end) {
    editor.selection = TTextEditorSelection{};
    editor.selection.selStartLine = first;
    editor.selection.selEndLine = end;
}

const std::string k90(90, 'x');
const std::string k80(80, 'y');

}  // namespace

// With margin 80: a line block's lines, else the caret line; lines of 80
// characters or fewer are never cut, longer ones never filled.
TEST(TextEditorMargin, FillAndTruncateWorkOnTheBlockOrTheCaretLine) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const std::string fill60 = std::string("ab") + std::string(78, '.');
    const struct {
        bool truncate;
        int selFirst, selEnd;  // equal: no block, the caret on line 1
        int margin;
        std::vector<std::string> after;
    } kCases[] = {
        {false, 0, 4, 80, {fill60, k80, k90, std::string(80, '.')}},
        {false, 0, 0, 80, {"ab", k80, k90, ""}},  // the caret line already reaches the margin
        {false, 2, 9, 80, {"ab", k80, k90, std::string(80, '.')}},  // a block past the text is cut to it
        {false, 0, 4, -3, {"ab", k80, k90, ""}},  // a negative margin counts as 0
        {true, 0, 4, 80, {"ab", k80, std::string(80, 'x'), ""}},
        {true, 0, 0, 80, {"ab", k80, k90, ""}},
        {true, 0, 0, 5, {"ab", "yyyyy", k90, ""}},
        {true, 2, 3, -7, {"ab", k80, "", ""}},
    };
    for (const auto& c : kCases) {
        SetLines(editor, {"ab", k80, k90, ""});
        SelectBlock(editor, c.selFirst, c.selEnd);
        editor.SetCursorPosY(1);
        editor.SetMarginPos(c.margin);
        editor.fillChar = '.';
        editor.ClearUndo();
        editor.AddUndoItem(utTyping, 0, 0);
        editor.SetModified(false);
        if (c.truncate)
            editor.TruncateLinesAtMargin();
        else
            editor.FillLinesToMargin();
        EXPECT_EQ(TextOf(editor.lines), c.after) << (c.truncate ? "truncate " : "fill ") << c.selFirst << "-"
                                                 << c.selEnd << " at " << c.margin;
        // Lines changed in place: the undo stack stays, nothing is marked.
        EXPECT_EQ(editor.undoItems.GetCount(), 1);
        EXPECT_FALSE(editor.GetModified());
    }
}

TEST(TextEditorMargin, MergingTheBlockJoinsItsLinesIntoItsFirst) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    SetLines(editor, {"zero", "one ", "two", "three", "four"});
    editor.markers += TEXT_EDITOR_MARKER{2, 1};
    editor.markers += TEXT_EDITOR_MARKER{4, 2};
    editor.AddUndoItem(utTyping, 3, 3);
    editor.SetModified(false);
    SelectBlock(editor, 1, 4);
    editor.SetCursorPosX(2);
    editor.MergeSelectedLines();
    EXPECT_EQ(TextOf(editor.lines), (std::vector<std::string>{"zero", "one twothree", "four"}));
    EXPECT_EQ(editor.selection.selStartLine, 1);
    EXPECT_EQ(editor.selection.selEndLine, 2);
    EXPECT_EQ(editor.GetCurCol(), 0);
    EXPECT_EQ(editor.GetCurLine(), 2);
    EXPECT_EQ(editor.GetVMax(), 2);
    EXPECT_GE(editor.GetHMax(), 12);
    EXPECT_EQ(editor.markers[0].line, 1);  // on a joined line: the merged one
    EXPECT_EQ(editor.markers[1].line, 2);  // below: moved up with its text
    EXPECT_FALSE(editor.GetModified());
    // The old record names line 3, now "four"'s successor: undo does nothing.
    EXPECT_EQ(editor.undoItems.GetCount(), 0);
    editor.Undo();
    EXPECT_EQ(TextOf(editor.lines), (std::vector<std::string>{"zero", "one twothree", "four"}));

    // A block ending at the last line leaves the caret on the merged line.
    SelectBlock(editor, 1, 3);
    editor.MergeSelectedLines();
    EXPECT_EQ(TextOf(editor.lines), (std::vector<std::string>{"zero", "one twothreefour"}));
    EXPECT_EQ(editor.GetCurLine(), 1);
}

TEST(TextEditorMargin, MergingWithoutABlockChangesNothing) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    SetLines(editor, {"a", "b", "c"});
    editor.AddUndoItem(utTyping, 1, 1);
    editor.selection.selLine = 1;
    editor.selection.selStartCol = 0;
    editor.selection.selEndCol = 1;
    editor.SetCursorPosX(1);
    editor.SetCursorPosY(2);
    editor.MergeSelectedLines();
    EXPECT_EQ(TextOf(editor.lines), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(editor.GetCurCol(), 1);
    EXPECT_EQ(editor.GetCurLine(), 2);
    EXPECT_EQ(editor.undoItems.GetCount(), 1);
    EXPECT_EQ(editor.selection.selEndCol, 1);
}

TEST(TextEditorMargin, AppendModeFillsToTheMarginAndEndsOnItsKeys) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const WORD kEndKeys[] = {VK_ESCAPE, VK_BACK, VK_TAB,  VK_PRIOR, VK_NEXT, VK_END,
                             VK_HOME,   VK_LEFT, VK_UP,   VK_RIGHT, VK_DOWN};
    for (WORD key : kEndKeys) {
        SetLines(editor, {"top", "abc", "end"});
        editor.SetMarginPos(10);
        editor.SetCursorPosX(2);
        editor.SetCursorPosY(1);
        editor.StartAppendMode();
        EXPECT_TRUE(editor.appendMode);
        EXPECT_EQ(editor.appendCol, 2);
        EXPECT_EQ(editor.appendCount, 0);
        EXPECT_EQ(editor.GetCurCol(), 10);
        EXPECT_EQ(editor.lines[1].str(), "abc       ");
        EXPECT_EQ(editor.lines[0].str(), "top");
        EXPECT_FALSE(editor.EndAppendModeByKey('A'));  // other keys leave it on
        EXPECT_TRUE(editor.appendMode);
        EXPECT_EQ(editor.EndAppendModeByKey(key), key == VK_ESCAPE) << key;
        EXPECT_FALSE(editor.appendMode) << key;
        EXPECT_EQ(editor.GetCurCol(), 2) << key;
        EXPECT_EQ(editor.GetCurLine(), 1) << key;
        EXPECT_FALSE(editor.EndAppendModeByKey(key)) << "outside append mode";
    }
    // A negative margin counts as column 0.
    SetLines(editor, {"abc"});
    editor.SetMarginPos(-4);
    editor.SetCursorPosX(2);
    editor.SetCursorPosY(0);
    editor.StartAppendMode();
    EXPECT_EQ(editor.GetCurCol(), 0);
    EXPECT_EQ(editor.lines[0].str(), "abc");
    editor.EndAppendMode();
    EXPECT_EQ(editor.GetCurCol(), 2);
}
