// Sorting the lines, whole or by a column, and removing duplicated lines;
// none keeps an undo record, so each empties the undo stack.
#include <string>
#include <vector>

#include "RedaktFixture.h"

namespace {

struct LineSortingTest : ::testing::Test {
    std::vector<std::string> Lines() const { return TextOf(editor.lines); }

    win32::TestDriver driver;
    TTextEditor editor{nullptr};
};

}  // namespace

TEST_F(LineSortingTest, SortLinesOrdersByBytesAndEmptiesTheUndoStack) {
    SetLines(editor, {"pear", "Apple", "\xE1rp\xE1", "apple", "", "ap"});
    editor.AddUndoItem(utTyping);
    editor.SortLines();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"", "Apple", "ap", "apple", "pear", "\xE1rp\xE1"}));
    EXPECT_EQ(editor.undoItems.GetCount(), 0);
    EXPECT_EQ(editor.undoSize, 0);
    EXPECT_TRUE(editor.GetModified());
    // Only the line block, when there is one.
    SetLines(editor, {"d", "c", "b", "a"});
    editor.selection = TTextEditorSelection{0, 0, 0, 1, 3};
    editor.SortLines();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"d", "b", "c", "a"}));
    editor.SetReadOnly(true);
    editor.selection = TTextEditorSelection{};
    editor.SortLines();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"d", "b", "c", "a"}));
}

// The key is the field's text; a line without the field sorts as an empty
// key; equal keys keep their order; a read-only text is sorted too.
TEST_F(LineSortingTest, SortByColComparesTheChosenFieldAsText) {
    SetLines(editor, {"a,b,z", "x,y,c", "short", "m,,c", "q,r", "n,n,10", "n,n,9", ",,"});
    editor.SetColSeparator(',');
    editor.SetReadOnly(true);
    editor.AddUndoItem(utTyping);
    editor.SortByCol(2);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"short", "q,r", ",,", "n,n,10", "n,n,9", "x,y,c", "m,,c", "a,b,z"}));
    EXPECT_EQ(editor.undoItems.GetCount(), 0);
    editor.SortByCol(1);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"short", ",,", "m,,c", "a,b,z", "n,n,10", "n,n,9", "q,r", "x,y,c"}));
    editor.SetColSeparator(' ');
    SetLines(editor, {"3 c", "1 b", "2 a"});
    editor.SortByCol(0);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1 b", "2 a", "3 c"}));
    editor.SortByCol(-1);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1 b", "2 a", "3 c"}));
}

TEST_F(LineSortingTest, DeleteDuplicatedLinesKeepsEachFirstOccurrenceInTextOrder) {
    SetLines(editor, {"b", "a", "b", "A", "", "a", "", "b "});
    editor.AddUndoItem(utTyping);
    editor.selection = TTextEditorSelection{0, 0, 0, 1, 2};
    editor.DeleteDuplicatedLines();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"b", "a", "A", "", "b "}));
    EXPECT_EQ(editor.undoItems.GetCount(), 0);
    EXPECT_TRUE(editor.GetModified());
    EXPECT_EQ(editor.selection.selStartLine, editor.selection.selEndLine);
    EXPECT_EQ(editor.GetVMax(), 4);
    SetLines(editor, {});
    editor.DeleteDuplicatedLines();
    EXPECT_EQ(editor.lines.GetCount(), 0);
}

TEST_F(LineSortingTest, ChoosingASortColumnIsAnnouncedToTheHost) {
    std::vector<TTextEditorSortCol> heard;
    editor.StartSelectSortCol();
    editor.OnSortCol = [&](TTextEditor*, TTextEditorSortCol event) { heard.push_back(event); };
    editor.StartSelectSortCol();
    editor.SortColSelected();
    EXPECT_EQ(heard, (std::vector<TTextEditorSortCol>{scChoosing, scChosen}));
}
