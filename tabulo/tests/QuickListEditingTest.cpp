// Tests of TQuickList's editing: OnCellChanged and OnCellEditable on every
// path, undo, pasting a line and a block, copying, in-cell editing, the edit
// box, the caret timer, and cells that the handlers or DeleteCol take away.
#include <gtest/gtest.h>

#include <cctype>

#include "CHRText.h"
#include "ClipboardText.h"
#include "Edit.h"
#include "QuickListFixtures.h"
#include "ScrollBarControl.h"
#include "StringContainer.h"

namespace {

using Table = std::vector<std::vector<std::string>>;

void PutOnClipboard(std::initializer_list<const char*> lines) {
    TStringContainer text;
    for (const char* line : lines) text.Add(line);
    ASSERT_TRUE(text.CopyToClipboard());
}

std::string ClipboardText() {
    TStringContainer text;
    if (!text.CopyFromClipboard()) return "<none>";
    return text.GetText("\n").str();
}

// A 4 x 4 grid: "a0".."a3" on line 0, "b0".. on line 1 and so on; Edit on.
class QuickListEditingTest : public QuickListFixture {
protected:
    void SetUp() override {
        QuickListFixture::SetUp();
        input = MakeGrid<TInputQuickList>({{"a0", "a1", "a2", "a3"},
                                           {"b0", "b1", "b2", "b3"},
                                           {"c0", "c1", "c2", "c3"},
                                           {"d0", "d1", "d2", "d3"}});
        grid->SetEdit(true);
    }
    // The buffer's pixels, to see that nothing was repainted differently.
    std::vector<TColor> Picture() {
        std::vector<TColor> pixels;
        TBitmap* buffer = grid->GetBuffer();
        for (int y = 0; y < buffer->GetHeight(); ++y)
            for (int x = 0; x < buffer->GetWidth(); ++x) pixels.push_back(BufferPixel(buffer, x, y));
        return pixels;
    }
    void AltEnter() { PressWith({VK_MENU}, VK_RETURN); }

    TInputQuickList* input = nullptr;
};

TEST_F(QuickListEditingTest, CtrlVAppendsTheFirstClipboardLine) {
    grid->SetCell(1, 1, "ab", false);
    Select(1, 1);
    PutOnClipboard({"cd", "ef"});
    PressWith({VK_CONTROL}, 'V');
    EXPECT_EQ(grid->GetCell(1, 1), "abcd");
    ASSERT_EQ(grid->GetUndoList().size(), 1u);
    EXPECT_EQ(grid->GetUndoList().back().text, "ab");
    // Edit is not asked; the handler may rewrite the line.
    grid->SetEdit(false);
    grid->OnCellChanged = [](TQuickList*, int, int, std::string& value, bool&) { value = "<" + value + ">"; };
    PressWith({VK_CONTROL}, 'V');
    EXPECT_EQ(grid->GetCell(1, 1), "abcd<cd>");
    // An empty clipboard changes nothing.
    PutOnClipboard({});
    PressWith({VK_CONTROL}, 'V');
    EXPECT_EQ(grid->GetCell(1, 1), "abcd<cd>");
    EXPECT_EQ(grid->GetUndoList().size(), 2u);
}

TEST_F(QuickListEditingTest, CtrlZRestoresTheTextsBeforeTheChangesNewestFirst) {
    grid->SetCell(0, 1, "q", false);
    Select(0, 1);
    driver.Type("z");
    grid->SetCell(2, 2, "ab", false);
    Select(2, 2);
    driver.Type("x");
    EXPECT_EQ(grid->GetCell(2, 2), "abx");
    Select(3, 3);
    grid->SetSelectionCorners(0, 0, 1, 1, true);
    PressWith({VK_CONTROL}, 'Z');
    EXPECT_EQ(grid->GetCell(2, 2), "ab");
    EXPECT_EQ(Current(), std::make_pair(2, 2));
    EXPECT_FALSE(grid->ValidSelection());
    PressWith({VK_CONTROL}, 'Z');
    EXPECT_EQ(grid->GetCell(0, 1), "q");
    EXPECT_EQ(Current(), std::make_pair(0, 1));
    EXPECT_TRUE(grid->GetUndoList().empty());
    // With the list empty Ctrl+Z does nothing.
    PressWith({VK_CONTROL}, 'Z');
    EXPECT_EQ(grid->GetCell(0, 1), "q");
}

TEST_F(QuickListEditingTest, OnCellChangedRewritesOrRefuses) {
    grid->SetCell(1, 2, "ab", false);
    Select(1, 2);
    std::vector<std::string> offered;
    bool refuse = false;
    grid->OnCellChanged = [&](TQuickList*, int line, int col, std::string& value, bool& valid) {
        offered.push_back(std::to_string(line) + "," + std::to_string(col) + "=" + value);
        if (refuse) valid = false;
        for (char& c : value) c = char(std::toupper(uint8_t(c)));
    };
    driver.Type("x");
    EXPECT_EQ(grid->GetCell(1, 2), "ABX");
    EXPECT_EQ(offered, (std::vector<std::string>{"1,2=abx"}));

    // Refused: the cell, the undo list and the picture stay as they were.
    refuse = true;
    grid->Refresh();
    const std::vector<TColor> before = Picture();
    for (UINT key : {UINT(VK_BACK), UINT(VK_DELETE)}) driver.Press(key);
    driver.Type("y");
    EXPECT_EQ(grid->GetCell(1, 2), "ABX");
    EXPECT_EQ(grid->GetUndoList().size(), 1u);
    EXPECT_EQ(Picture(), before);
    EXPECT_EQ(offered.size(), 4u);
    // A refused undo still drops its record.
    PressWith({VK_CONTROL}, 'Z');
    EXPECT_EQ(grid->GetCell(1, 2), "ABX");
    EXPECT_TRUE(grid->GetUndoList().empty());
}

TEST_F(QuickListEditingTest, OnCellEditableRefusingBlocksEveryEditPath) {
    struct Case {
        const char* what;
        bool inCell;
        std::function<void()> act;
    };
    int dblClicks = 0;
    grid->OnCellDblClick = [&](TQuickList*, int, int) { ++dblClicks; };
    const Case cases[] = {
        {"typing", false, [&] { driver.Type("x"); }},
        {"Backspace", false, [&] { driver.Press(VK_BACK); }},
        {"Delete", false, [&] { driver.Press(VK_DELETE); }},
        {"Ctrl+V", false, [&] { PressWith({VK_CONTROL}, 'V'); }},
        {"Alt+Enter in the cell", true, [&] { AltEnter(); }},
        {"Alt+Enter in the box", false, [&] { AltEnter(); }},
        {"a double click", true,
         [&] {
             const POINT at = CellPoint(1, 1);
             driver.DoubleClick(Window(), at.x, at.y);
         }},
    };
    PutOnClipboard({"p"});
    int asked = 0;
    grid->OnCellEditable = [&](TQuickList*, int line, int col, bool& editable) {
        ++asked;
        EXPECT_EQ(std::make_pair(line, col), std::make_pair(1, 1));
        EXPECT_TRUE(editable);
        editable = false;
    };
    for (const Case& c : cases) {
        grid->SetEditInCell(c.inCell);
        Select(1, 1);
        const int askedBefore = asked;
        c.act();
        EXPECT_EQ(grid->GetCell(1, 1), "b1") << c.what;
        EXPECT_GT(asked, askedBefore) << c.what;
        EXPECT_FALSE(grid->GetInCellEditing()) << c.what;
        EXPECT_FALSE(grid->GetEditBox()->GetVisible()) << c.what;
    }
    EXPECT_TRUE(grid->GetUndoList().empty());
    EXPECT_FALSE(grid->StartCellEditing());
    EXPECT_EQ(dblClicks, 1);  // the double click that started nothing
}

TEST_F(QuickListEditingTest, PastingABlockFillsTheSelectionOrTheRestOfTheGrid) {
    PutOnClipboard({"1|2|3", "4|5", "6"});
    Select(0, 0);
    grid->SetSelectionCorners(1, 1, 2, 2, true);
    std::vector<std::string> offered;
    grid->OnCellChanged = [&](TQuickList*, int line, int col, std::string& value, bool& valid) {
        offered.push_back(value);
        valid = !(line == 2 && col == 2);
    };
    grid->PasteFromClipboard('|');
    EXPECT_EQ(GridCells(), (Table{{"a0", "a1", "a2", "a3"},
                                  {"b0", "1", "2", "b3"},
                                  {"c0", "4", "c2", "c3"},
                                  {"d0", "d1", "d2", "d3"}}));
    EXPECT_EQ(offered, (std::vector<std::string>{"1", "2", "4", "5"}));
    EXPECT_EQ(Corners(), (std::vector<int>{1, 1, 2, 2}));
    EXPECT_TRUE(grid->GetUndoList().empty());

    // Without a selection: from the current cell to the last line and column;
    // empty pieces are written, longer lines cut.
    grid->OnCellChanged = nullptr;
    PutOnClipboard({"x||y|z|w", "", "v"});
    Select(1, 1);
    grid->PasteFromClipboard('|');
    EXPECT_EQ(GridCells(), (Table{{"a0", "a1", "a2", "a3"},
                                  {"b0", "x", "", "y"},
                                  {"c0", "4", "c2", "c3"},
                                  {"d0", "v", "d2", "d3"}}));
    EXPECT_EQ(Corners(), (std::vector<int>{1, 1, 3, 3}));
    // Lines as the containers read clipboard text: at LF, every CR dropped,
    // no line after a last LF.
    ASSERT_TRUE(SetClipboardText("p\rq|r\r\n\r\ns\n"));
    Select(1, 2);
    grid->PasteFromClipboard('|');
    EXPECT_EQ(GridCells()[1], (std::vector<std::string>{"b0", "x", "pq", "r"}));
    EXPECT_EQ(GridCells()[2], (std::vector<std::string>{"c0", "4", "c2", "c3"}));
    EXPECT_EQ(GridCells()[3], (std::vector<std::string>{"d0", "v", "s", "d3"}));
    // Nothing without a current cell or clipboard text.
    grid->ReleaseSelection(false);
    grid->ClearCells(false);
    grid->AppendLine({"k"}, false);
    grid->PasteFromClipboard('|');
    EXPECT_EQ(grid->GetCell(0, 0), "k");
}

TEST_F(QuickListEditingTest, CtrlCCopiesTheSelectionOrTheCurrentCell) {
    Select(1, 2);
    PressWith({VK_CONTROL}, 'C');
    EXPECT_EQ(ClipboardText(), "b2");
    grid->SetCell(2, 2, "", false);
    grid->SetSelectionCorners(3, 2, 1, 1, true);
    PressWith({VK_CONTROL}, 'C');
    EXPECT_EQ(ClipboardText(), "b1|b2|b3\nc1||c3");
    // Copied and pasted back elsewhere, a block comes out the same.
    Select(0, 0);
    grid->PasteFromClipboard('|');
    EXPECT_EQ(GridCells()[0], (std::vector<std::string>{"b1", "b2", "b3", "a3"}));
    EXPECT_EQ(GridCells()[1], (std::vector<std::string>{"c1", "", "c3", "b3"}));
    // A rectangle past the grid is kept to its cells.
    grid->CopyToClipboard(RECT{2, 3, 9, 7}, ';');
    EXPECT_EQ(ClipboardText(), "d2;d3");
}

TEST_F(QuickListEditingTest, InCellEditingTypesAtTheCaret) {
    grid->SetEditInCell(true);
    grid->SetCell(1, 1, "abc", false);
    Select(1, 1);
    AltEnter();
    EXPECT_TRUE(grid->GetInCellEditing());
    EXPECT_EQ(grid->GetCaretPosition(), 3);
    ASSERT_EQ(grid->GetUndoList().size(), 1u);
    driver.Press(VK_LEFT);
    driver.Type("x");
    EXPECT_EQ(grid->GetCell(1, 1), "abxc");
    EXPECT_EQ(grid->GetCaretPosition(), 3);
    driver.Press(VK_RETURN);
    EXPECT_FALSE(grid->GetInCellEditing());
    EXPECT_EQ(Current(), std::make_pair(1, 1));
    driver.Type("y");  // now appended
    EXPECT_EQ(grid->GetCell(1, 1), "abxcy");
}

TEST_F(QuickListEditingTest, TheEditBoxEditsOverTheCell) {
    std::vector<std::string> offered;
    grid->OnCellChanged = [&](TQuickList*, int, int, std::string& value, bool&) {
        offered.push_back(value);
        value += "!";
    };
    TEdit* box = grid->GetEditBox();
    Select(1, 1);
    AltEnter();
    ASSERT_TRUE(box->GetVisible());
    const RECT cell = grid->GetCurrentCellRect();
    EXPECT_EQ(box->GetLeft(), cell.left - 1);
    EXPECT_EQ(box->GetTop(), cell.top - 1);
    EXPECT_GE(box->GetWidth(), cell.right - cell.left + 3);
    EXPECT_EQ(box->GetText(), "b1");
    EXPECT_TRUE(box->Focused());
    driver.Type("z");
    driver.Press(VK_RETURN);
    EXPECT_FALSE(box->GetVisible());
    EXPECT_TRUE(grid->Focused());
    EXPECT_EQ(grid->GetCell(1, 1), "b1z!");
    EXPECT_EQ(offered, (std::vector<std::string>{"b1z"}));
    ASSERT_EQ(grid->GetUndoList().size(), 1u);
    EXPECT_EQ(grid->GetUndoList().back().text, "b1");

    // Escape and a press on the grid drop the edit.
    AltEnter();
    driver.Type("q");
    driver.Press(VK_ESCAPE);
    AltEnter();
    driver.Type("q");
    const POINT other = CellPoint(2, 2);
    driver.Click(Window(), other.x, other.y);
    EXPECT_FALSE(box->GetVisible());
    EXPECT_EQ(grid->GetCell(1, 1), "b1z!");
    EXPECT_EQ(offered.size(), 1u);

    // The box refuses what the edit mode refuses, and stays inside the view.
    grid->SetEditMode(qleInteger);
    grid->SetColWidth(2, 80, true);
    grid->SetCell(0, 3, "", false);
    Select(0, 3);
    AltEnter();
    EXPECT_EQ(box->GetLeft() + box->GetWidth(), grid->GetClientWidth() - grid->GetVertScrollBar()->GetWidth());
    driver.Type("1a-2");
    EXPECT_EQ(box->GetText(), "12");
    driver.Press(VK_BACK);
    EXPECT_EQ(box->GetText(), "1");
    driver.Press(VK_RETURN);
    EXPECT_EQ(grid->GetCell(0, 3), "1!");
}

TEST_F(QuickListEditingTest, TheCaretTimerBlinksTheCaretOnTheTestClock) {
    int paints = 0;
    grid->OnCellPaint = [&](TQuickList*, int, int, IMAGEDATA, RECT) { ++paints; };
    Select(1, 1);
    struct Case {
        const char* what;
        bool editCursor, edit;
        bool toggles, repaints;
    };
    const Case cases[] = {
        {"blinking", true, true, true, true},
        {"without Edit", true, false, true, false},
        {"EditCursor off", false, true, false, false},
    };
    for (const Case& c : cases) {
        grid->SetEditCursor(c.editCursor);
        grid->SetEdit(c.edit);
        driver.PumpUntilIdle();
        const bool shown = grid->GetCaretShown();
        paints = 0;
        driver.Advance(500);
        EXPECT_EQ(grid->GetCaretShown(), c.toggles ? !shown : shown) << c.what;
        EXPECT_EQ(paints > 0, c.repaints) << c.what;
    }
    // Nothing happens while a column border is dragged.
    grid->SetEditCursor(true);
    grid->SetEdit(true);
    driver.MoveMouse(Window(), 52, 50);
    driver.MouseDown(Window(), 52, 50);
    const bool shown = grid->GetCaretShown();
    paints = 0;
    driver.Advance(500);
    EXPECT_EQ(grid->GetCaretShown(), shown);
    EXPECT_EQ(paints, 0);
    driver.MouseUp(Window(), 52, 50);
    // Blinking, the caret's pixels come and go at the end of the text.
    const RECT cell = grid->GetCurrentCellRect();
    const int textEnd = cell.left + 1 + GetCHRTextWidth(grid->GetFontTable(), "b1");
    std::vector<TColor> caret;
    for (int tick = 0; tick < 2; ++tick) {
        driver.Advance(500);
        caret.push_back(BufferPixel(grid->GetBuffer(), textEnd, cell.top + 4));
    }
    EXPECT_NE(caret[0], caret[1]);
}

// Cells that go while they are edited: nothing is stored and nothing reads
// past a text.
TEST_F(QuickListEditingTest, CellsTakenAwayOrShortenedAreLeftAlone) {
    grid->SetEditInCell(true);
    // The caret past the text after an undo.
    grid->SetCell(1, 1, "ab", false);
    Select(1, 1);
    AltEnter();
    driver.Type("cdef");
    for (int i = 0; i < 3; ++i) PressWith({VK_CONTROL}, 'Z');
    EXPECT_EQ(grid->GetCell(1, 1), "abc");
    EXPECT_TRUE(grid->GetInCellEditing());
    EXPECT_EQ(grid->GetCaretPosition(), 3);
    driver.Press(VK_BACK);
    driver.Press(VK_DELETE);
    driver.Type("x");
    EXPECT_EQ(grid->GetCell(1, 1), "abx");
    // After a block paste shortens the cell.
    input->EditInCellAt(3);
    PutOnClipboard({"q"});
    grid->PasteFromClipboard('|');
    driver.Press(VK_DELETE);
    driver.Press(VK_BACK);
    EXPECT_EQ(grid->GetCell(1, 1), "");

    // A handler that deletes the current line: nothing is stored.
    grid->OnCellChanged = [](TQuickList* ql, int line, int, std::string&, bool&) { ql->DeleteLine(line, false); };
    Select(2, 0);
    driver.Type("z");
    EXPECT_EQ(grid->GetLineCount(), 3);
    EXPECT_EQ(grid->GetCell(1, 0), "b0");
    EXPECT_EQ(grid->GetCell(2, 0), "d0");
    grid->OnCellChanged = nullptr;
    grid->OnCellEditable = [](TQuickList* ql, int, int, bool&) { ql->ClearCells(false); };
    driver.Type("z");
    PressWith({VK_CONTROL}, 'V');
    EXPECT_EQ(grid->GetLineCount(), 0);
}

TEST_F(QuickListEditingTest, ACellRemovedByDeleteColTakesNoWrites) {
    grid->DeleteCol(3, true);
    // Column 3 still has its caption: a click makes its missing cell current.
    const POINT missing = CellPoint(1, 3);
    grid->SetFocus();
    driver.Click(Window(), missing.x, missing.y);
    ASSERT_EQ(Current(), std::make_pair(1, 3));
    std::string* cell = nullptr;
    EXPECT_FALSE(grid->Editable(cell));
    driver.Type("x");
    driver.Press(VK_BACK);
    PutOnClipboard({"v"});
    PressWith({VK_CONTROL}, 'V');
    EXPECT_FALSE(grid->StartCellEditing());
    grid->PasteFromClipboard('|');
    EXPECT_EQ(grid->GetCell(1, 3), "");
    EXPECT_EQ(grid->GetColCount(), 3);
    EXPECT_TRUE(grid->GetUndoList().empty());
}

}  // namespace
