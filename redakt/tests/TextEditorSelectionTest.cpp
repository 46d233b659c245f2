// Clearing and extending the selection, and the word moves.
#include <string>
#include <tuple>
#include <vector>

#include "RedaktFixture.h"

namespace {

struct SelectionTest : ::testing::Test {
    void SetUp() override {
        for (int i = 0; i < 30; ++i) editor.lines.Add(TString("line " + std::to_string(i)));
        editor.SetVMax(29);
        editor.OnSelectionChange = [this](TTextEditor*, bool, int, int) { ++changes; };
    }
    void Caret(int col, int line) {
        editor.SetCursorPosX(col);
        editor.SetCursorPosY(line);
    }
    std::tuple<int, int> Block() const { return {editor.selection.selStartLine, editor.selection.selEndLine}; }
    std::tuple<int, int> Columns() const { return {editor.selection.selStartCol, editor.selection.selEndCol}; }

    win32::TestDriver driver;
    TTextEditor editor{nullptr};
    int changes = 0;
};

}  // namespace

TEST_F(SelectionTest, ClearingCollapsesOntoTheCaretUnlessBlocksPersist) {
    Caret(4, 6);
    editor.selection = TTextEditorSelection{1, 3, 9, 2, 5};
    editor.selMark = 3;
    editor.SetPersistentBlocks(true);
    editor.ClearSelection(false);
    EXPECT_EQ(Block(), std::make_tuple(2, 5));
    EXPECT_EQ(editor.selMark, 3);
    EXPECT_EQ(changes, 0);
    editor.ClearSelection(true);
    EXPECT_EQ(Block(), std::make_tuple(6, 6));
    EXPECT_EQ(Columns(), std::make_tuple(4, 4));
    EXPECT_EQ(editor.selection.selLine, 9);  // untouched
    EXPECT_EQ(editor.selMark, -1);
    EXPECT_EQ(changes, 1);
    editor.SetPersistentBlocks(false);
    editor.selection.selEndLine = 8;
    editor.ClearSelection(false);
    EXPECT_EQ(Block(), std::make_tuple(6, 6));
}

TEST_F(SelectionTest, ShiftDownAndShiftUpSelectTheLinesPassed) {
    // Shift+Down from 3 to 6, then back up to 4: [3, 6), then [3, 4).
    Caret(0, 3);
    editor.ClearSelection(true);
    for (int line = 4; line <= 6; ++line) {
        Caret(0, line);
        editor.SelDown(1);
    }
    EXPECT_EQ(Block(), std::make_tuple(3, 6));
    for (int line = 5; line >= 4; --line) {
        Caret(0, line);
        editor.SelUp(1);
    }
    EXPECT_EQ(Block(), std::make_tuple(3, 4));
    // Shift+Up from 10 to 7, then down again past the anchor to 12.
    Caret(0, 10);
    editor.ClearSelection(true);
    for (int line = 9; line >= 7; --line) {
        Caret(0, line);
        editor.SelUp(1);
    }
    EXPECT_EQ(Block(), std::make_tuple(7, 10));
    for (int line = 8; line <= 12; ++line) {
        Caret(0, line);
        editor.SelDown(1);
    }
    EXPECT_EQ(Block(), std::make_tuple(10, 12));
    EXPECT_EQ(changes, 1 + 3 + 2 + 1 + 3 + 5);  // each clear and each step reports
}

TEST_F(SelectionTest, TheLastLineJoinsTheBlockOnlyAtTheEndOfTheText) {
    Caret(0, 26);
    editor.ClearSelection(true);
    for (int line = 27; line <= 29; ++line) {
        Caret(0, line);
        editor.SelDown(1);
    }
    EXPECT_EQ(Block(), std::make_tuple(26, 29));  // the caret's own line is not in it
    Caret(0, 29);  // Down on the last line: the caret stays
    editor.SelDown(1);
    EXPECT_EQ(Block(), std::make_tuple(26, 30));
    Caret(0, 29);  // Up from there keeps the caret while the block reaches the end
    editor.SelUp(1);
    EXPECT_EQ(Block(), std::make_tuple(26, 29));
}

TEST_F(SelectionTest, PageMovesExtendFromTheAnchorLine) {
    const struct {
        const char* move;
        int start, end;    // the block before
        int from, to;      // the caret line before (the anchor) and after
        int startAfter, endAfter;
    } kPages[] = {
        {"down without a block", 10, 10, 10, 15, 10, 15},
        {"down again", 10, 15, 15, 20, 10, 20},
        {"down shrinking a block made upward", 10, 20, 10, 15, 15, 20},
        {"down across the block's end", 10, 13, 10, 15, 13, 15},
        {"up growing a block made upward", 10, 15, 10, 7, 7, 15},
        {"up shrinking a block made downward", 10, 20, 20, 15, 10, 15},
        {"up across the block's start", 10, 15, 15, 7, 7, 10},
        // Without a block the lines it was left on do not count: the caret's do.
        {"down without a block left elsewhere", 4, 4, 10, 15, 10, 15},
        // From the joined last line, or (PersistentBlocks) from inside a block
        // or beyond its far end, the block stays within the text on its anchor.
        {"up from the joined last line across the start", 9, 30, 29, 2, 2, 9},
        {"up from inside a block across its start", 10, 20, 15, 7, 7, 10},
        {"up from below a block into it", 3, 8, 20, 5, 3, 5},
        {"down from above a block into it", 25, 29, 20, 28, 28, 29},
    };
    for (const auto& row : kPages) {
        editor.selection = TTextEditorSelection{0, 0, 0, row.start, row.end};
        editor.pageAnchorLine = row.from;
        Caret(0, row.from);
        Caret(0, row.to);
        if (row.to > row.from)
            editor.SelDown(row.to - row.from);
        else
            editor.SelUp(row.from - row.to);
        EXPECT_EQ(Block(), std::make_tuple(row.startAfter, row.endAfter)) << row.move;
    }
}

TEST_F(SelectionTest, AVerticalMoveDropsAnInlineSelection) {
    Caret(3, 5);
    editor.selection = TTextEditorSelection{1, 4, 5, 5, 5};
    Caret(3, 6);
    editor.SelDown(1);
    EXPECT_EQ(Columns(), std::make_tuple(3, 3));
    EXPECT_EQ(Block(), std::make_tuple(5, 6));
}

TEST_F(SelectionTest, SidewaysMovesGrowShrinkAndTurnAtTheAnchor) {
    const struct {
        const char* move;
        int start, end;  // the in-line selection before
        int from, to;    // the caret column before and after
        int startAfter, endAfter;
    } kMoves[] = {
        {"left from nothing", 5, 5, 5, 4, 4, 5},
        {"left shrinking", 5, 8, 8, 7, 5, 7},
        {"two left growing", 5, 8, 5, 3, 3, 8},
        {"a word left across the anchor", 5, 7, 7, 3, 3, 5},
        {"right from nothing", 5, 5, 5, 6, 5, 6},
        {"right shrinking", 3, 6, 3, 4, 4, 6},
        {"two right growing", 3, 5, 5, 7, 3, 7},
        {"a word right across the anchor", 3, 5, 3, 7, 5, 7},
        {"right from nothing left elsewhere", 9, 9, 5, 6, 5, 6},
        {"left from nothing left elsewhere", 0, 0, 7, 6, 6, 7},
    };
    for (const auto& row : kMoves) {
        editor.selection = TTextEditorSelection{row.start, row.end, 2, 8, 8};
        Caret(row.from, 8);
        Caret(row.to, 8);
        if (row.to < row.from)
            editor.SelLeft(row.from - row.to);
        else
            editor.SelRight(row.to - row.from);
        EXPECT_EQ(Columns(), std::make_tuple(row.startAfter, row.endAfter)) << row.move;
        EXPECT_EQ(editor.selection.selLine, 8) << row.move;
    }
}

TEST_F(SelectionTest, WordMovesStopAtWordStarts) {
    const struct {
        const char* line;
        bool right;
        int from, to;
    } kMoves[] = {
        {"ab cd", false, 4, 3}, {"ab cd", false, 3, 0}, {"ab cd", false, 0, 0},
        {"ab cd", false, 9, 3},  // from beyond the end
        {"ab, cd", true, 0, 4},  {"ab, cd", true, 4, 6}, {"ab, cd", true, 6, 6},
        {"ab, cd", true, 8, 8},  {"x", true, 0, 1},
    };
    for (const auto& row : kMoves) {
        editor.lines[0] = row.line;
        Caret(row.from, 0);
        editor.selMark = 2;
        int moved = -1;
        if (row.right)
            editor.CtrlRight(moved);
        else
            editor.CtrlLeft(moved);
        EXPECT_EQ(editor.GetCurCol(), row.to) << row.line << " from " << row.from;
        EXPECT_EQ(moved, row.right ? row.to - row.from : row.from - row.to) << row.line << " from " << row.from;
        EXPECT_EQ(editor.selMark, -1);
    }
}
