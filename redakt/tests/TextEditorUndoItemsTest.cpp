// Undo records: their share of the budget and their copies.
#include "RedaktFixture.h"
#include "TextEditorUndoItems.h"

TEST(TextEditorUndoItem, TheSizeRuleAndCopies) {
    TTextEditorUndoItem item;
    EXPECT_EQ(item.GetSize(), 208);
    item.lines.Add(TString(std::string(40, 'x')));
    EXPECT_EQ(item.GetSize(), 208 + 65);
    item.kind = utDeleteBlock;
    item.firstLine = 3;
    item.lastLine = 2;
    item.caretCol = 4;
    item.caretLine = 5;
    item.selection = TTextEditorSelection{1, 2, 3, 4, 5};
    item.markers += TEXT_EDITOR_MARKER{7, 1};
    TTextEditorUndoItems items;
    items += item;
    TTextEditorUndoItem& copy = items.Last();
    item.lines[0] = "changed";
    item.markers[0].line = 0;
    EXPECT_EQ(copy.kind, utDeleteBlock);
    EXPECT_EQ(copy.firstLine, 3);
    EXPECT_EQ(copy.lastLine, 2);
    EXPECT_EQ(copy.caretCol, 4);
    EXPECT_EQ(copy.caretLine, 5);
    EXPECT_EQ(copy.selection.selEndLine, 5);
    EXPECT_EQ(copy.lines[0].Length(), 40);
    EXPECT_EQ(copy.markers[0].line, 7);
}
