// Tests of TQuickList's data: lines, columns and captions, the colour maps
// with the line limit, the current cell and selection, undo records, the
// properties, the messages it answers and its resources.
#include "QuickList.h"

#include <algorithm>

#include "Edit.h"
#include "Registration.h"
#include "ScrollBarControl.h"
#include "Streaming.h"
#include "TabuloFixtures.h"
#include "TabuloResources.h"
#include "TimerComponent.h"

namespace {

class QuickListTest : public TabuloTest {
protected:
    TQuickList* MakeGrid(int columns = 2) {
        TQuickList* grid = new TQuickList(form);
        grid->SetParent(form);
        grid->SetBounds(10, 10, 300, 200);
        std::vector<std::string> captions;
        for (int i = 0; i < columns; ++i) captions.push_back(std::string(1, char('A' + i)));
        grid->SetCaptions(captions, false);
        return grid;
    }
    // Lines named by their first cell.
    static void Append(TQuickList* grid, std::initializer_list<const char*> names) {
        for (const char* name : names) grid->AppendLine({name, std::string(name) + "2"}, false);
    }
    static std::vector<std::string> FirstCells(const TQuickList* grid) {
        std::vector<std::string> cells;
        for (int line = 0; line < grid->GetLineCount(); ++line) cells.push_back(grid->GetCell(line, 0));
        return cells;
    }
    static int LineBackground(const TQuickList* grid, int line) {
        TQuickListColors colours{};
        return grid->GetLineColor(line, colours) ? colours.background : -1;
    }
    static int CellBackground(const TQuickList* grid, int line, int col) {
        TQuickListColors colours{};
        return grid->GetCellColor(line, col, colours) ? colours.background : -1;
    }
};

TEST_F(QuickListTest, ANewGridHasNoCellAndItsPartsInPlace) {
    TQuickList* grid = new TQuickList(form);
    EXPECT_EQ(grid->GetWidth(), 48);
    EXPECT_EQ(grid->GetHeight(), 48);
    EXPECT_TRUE(grid->GetTabStop());
    EXPECT_EQ(grid->GetSelectedLine(), -1);
    EXPECT_EQ(grid->GetSelectedCol(), -1);
    EXPECT_EQ(grid->GetSelectedHeaderLine(), -1);
    EXPECT_EQ(grid->GetColCount(), -1);
    EXPECT_EQ(grid->GetFontName(), "arial");
    EXPECT_EQ(grid->GetFontTable().GetHeight(), 5);
    EXPECT_FALSE(grid->GetEditBox()->GetVisible());
    EXPECT_EQ(grid->GetEditBox()->GetHeight(), 21);
    EXPECT_EQ(grid->GetEditBox()->GetLeft(), -grid->GetEditBox()->GetWidth());
    ASSERT_NE(grid->GetCaretTimer(), nullptr);
    EXPECT_EQ(grid->GetCaretTimer()->GetInterval(), 500u);
    EXPECT_EQ(grid->GetHorzScrollBar()->GetMax(), 0);
    EXPECT_EQ(grid->GetVertScrollBar()->GetKind(), sbVertical);
    RECT selection;
    EXPECT_FALSE(grid->GetSelection(selection));
    EXPECT_EQ(selection.left, -1);
    EXPECT_EQ(selection.bottom, -1);

    // Placed on the form, the bars lie along the bottom and the right.
    grid->SetParent(form);
    grid->SetBounds(10, 10, 200, 120);
    driver.PumpUntilIdle();
    TScrollBar* vertical = grid->GetVertScrollBar();
    TScrollBar* horizontal = grid->GetHorzScrollBar();
    EXPECT_EQ(vertical->GetLeft(), grid->GetClientWidth() - vertical->GetWidth());
    EXPECT_EQ(vertical->GetHeight(), grid->GetClientHeight() - horizontal->GetHeight());
    EXPECT_EQ(horizontal->GetTop(), grid->GetClientHeight() - horizontal->GetHeight());
    EXPECT_EQ(horizontal->GetWidth(), grid->GetClientWidth() - vertical->GetWidth());
    EXPECT_EQ(grid->GetBuffer()->GetWidth(), grid->GetClientWidth() - vertical->GetWidth());
    EXPECT_EQ(grid->GetBuffer()->GetHeight(), grid->GetClientHeight() - horizontal->GetHeight());

    // At design time there is no caret timer.
    form->SetDesigning(true);
    TQuickList* designed = new TQuickList(form);
    EXPECT_EQ(designed->GetCaretTimer(), nullptr);
    form->SetDesigning(false);
}

TEST_F(QuickListTest, TheLineLimitDropsLineZeroAndItsColoursWhileTheOthersKeepTheirs) {
    TQuickList* grid = MakeGrid();
    grid->SetMaxLines(3);
    Append(grid, {"A", "B", "C"});
    grid->SetLineColor(1, 0x11, 0, false);
    grid->SetLineColor(0, 0x22, 0, false);
    grid->SetCellColor(2, 1, 0x33, 0, false);
    grid->SetCellColor(0, 0, 0x44, 0, false);
    Append(grid, {"D"});
    EXPECT_EQ(FirstCells(grid), (std::vector<std::string>{"B", "C", "D"}));
    EXPECT_EQ(LineBackground(grid, 0), 0x11);
    EXPECT_EQ(CellBackground(grid, 1, 1), 0x33);
    for (int line = 1; line < 3; ++line) EXPECT_EQ(LineBackground(grid, line), -1) << line;
    EXPECT_EQ(CellBackground(grid, 2, 0), -1);
    EXPECT_EQ(CellBackground(grid, -1, 0), -1);
    // Line -1 is the last line.
    grid->SetLineColor(-1, 0x55, 0, false);
    grid->SetCellColor(-1, 1, 0x66, 0, false);
    EXPECT_EQ(LineBackground(grid, 2), 0x55);
    EXPECT_EQ(CellBackground(grid, 2, 1), 0x66);
    // A line appended later takes no colour of a dropped one.
    Append(grid, {"E", "F", "G"});
    EXPECT_EQ(FirstCells(grid), (std::vector<std::string>{"E", "F", "G"}));
    for (int line = 0; line < 3; ++line) EXPECT_EQ(LineBackground(grid, line), -1) << line;
}

TEST_F(QuickListTest, LoweringTheLimitDropsLaterLinesWithTheirHeightsAndColours) {
    TQuickList* grid = MakeGrid();
    Append(grid, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    for (int line = 0; line < 10; ++line) {
        grid->SetLineColor(line, 0x100 + line, 0, false);
        grid->SetCellColor(line, 1, 0x200 + line, 0, false);
        grid->SetLineHeight(line, 30 + line, false);
    }
    grid->SetMaxLines(5);
    EXPECT_EQ(grid->GetVertScrollBar()->GetMax(), 4);
    Append(grid, {"a", "b", "c"});
    EXPECT_EQ(FirstCells(grid), (std::vector<std::string>{"3", "4", "a", "b", "c"}));
    const int lineColours[] = {0x103, 0x104, -1, -1, -1};
    const int heights[] = {33, 34, 20, 20, 20};
    for (int line = 0; line < 5; ++line) {
        EXPECT_EQ(LineBackground(grid, line), lineColours[line]) << line;
        EXPECT_EQ(CellBackground(grid, line, 1), lineColours[line] == -1 ? -1 : lineColours[line] + 0x100) << line;
        EXPECT_EQ(grid->GetLineHeight(line), heights[line]) << line;
    }
}

TEST_F(QuickListTest, DeletingALineTakesItsColoursAndHeightAndMovesTheLaterOnesUp) {
    TQuickList* grid = MakeGrid();
    Append(grid, {"0", "1", "2", "3"});
    for (int line = 0; line < 4; ++line) {
        grid->SetLineColor(line, 0x100 + line, 0, false);
        grid->SetCellColor(line, 0, 0x200 + line, 0, false);
        grid->SetLineHeight(line, 30 + line, false);
    }
    grid->SetSelectedLine(2);
    grid->DeleteLine(1, true);
    EXPECT_EQ(FirstCells(grid), (std::vector<std::string>{"0", "2", "3"}));
    EXPECT_EQ(grid->GetSelectedLine(), 1);
    const int expected[] = {0, 2, 3};
    for (int line = 0; line < 3; ++line) {
        EXPECT_EQ(LineBackground(grid, line), 0x100 + expected[line]) << line;
        EXPECT_EQ(CellBackground(grid, line, 0), 0x200 + expected[line]) << line;
        EXPECT_EQ(grid->GetLineHeight(line), 30 + expected[line]) << line;
    }
    EXPECT_EQ(LineBackground(grid, 3), -1);
    for (int bad : {-1, 3}) grid->DeleteLine(bad, false);
    EXPECT_EQ(grid->GetLineCount(), 3);
    // After Clear new lines are of the default height, with no colours.
    grid->Clear(true);
    grid->SetCaptions({"A"}, false);
    Append(grid, {"x", "y"});
    for (int line = 0; line < 2; ++line) {
        EXPECT_EQ(grid->GetLineHeight(line), 20);
        EXPECT_EQ(LineBackground(grid, line), -1);
    }
    grid->SetLineHeight(0, 5, false);
    EXPECT_EQ(grid->GetLineHeight(0), 20);
    grid->ClearCells(false);
    Append(grid, {"z"});
    EXPECT_EQ(grid->GetLineHeight(0), 20);
}

TEST_F(QuickListTest, CellAccessStaysWithinEachLinesOwnCells) {
    TQuickList* grid = MakeGrid(3);
    grid->AppendLine({"a", "b", "c"}, false);
    grid->AppendLine({"d", "e", "f"}, false);
    grid->SetSelectedLine(0);
    grid->SetSelectedCol(2);
    grid->DeleteCol(1, true);
    EXPECT_EQ(grid->GetColCount(), 2);
    EXPECT_EQ(grid->GetColumnCount(), 3);  // captions and widths stay
    EXPECT_EQ(grid->GetSelectedCol(), 1);
    EXPECT_EQ(grid->GetCell(0, 1), "c");
    // Column 2 still has a caption but no cell: reads are empty, writes do nothing.
    grid->SetCell(0, 2, "x", true);
    grid->SetCol(2, {"y", "z"}, true);
    EXPECT_EQ(grid->GetCell(0, 2), "");
    EXPECT_EQ(grid->GetCell(1, 2), "");
    grid->SetLine(1, {"1", "2", "3", "4"}, true);
    EXPECT_EQ(grid->GetCell(1, 0), "1");
    EXPECT_EQ(grid->GetCell(1, 1), "2");
    grid->DeleteCol(2, false);
    EXPECT_EQ(grid->GetColCount(), 2);
    // Captions reset the lines to their count.
    grid->SetCaptions({"A", "B", "C"}, true);
    EXPECT_EQ(grid->GetColCount(), 3);
    EXPECT_EQ(grid->GetCell(1, 2), "");
}

TEST_F(QuickListTest, CellSettersTakeOnlyCellsInRange) {
    struct Case {
        const char* what;
        void (*operate)(TQuickList* grid);
        std::vector<std::string> expected;  // line 0, then line 1
    };
    const Case cases[] = {
        {"SetCell", [](TQuickList* g) { g->SetCell(1, 0, "x", false); }, {"a", "b", "x", "d"}},
        {"SetCell line -1", [](TQuickList* g) { g->SetCell(-1, 0, "x", false); }, {"a", "b", "c", "d"}},
        {"SetCell past the lines", [](TQuickList* g) { g->SetCell(2, 0, "x", false); }, {"a", "b", "c", "d"}},
        {"SetCell past the captions", [](TQuickList* g) { g->SetCell(0, 2, "x", false); }, {"a", "b", "c", "d"}},
        {"SetLine fewer cells", [](TQuickList* g) { g->SetLine(0, {"x"}, false); }, {"x", "b", "c", "d"}},
        {"SetLine more cells", [](TQuickList* g) { g->SetLine(1, {"x", "y", "z"}, false); }, {"a", "b", "x", "y"}},
        {"SetLine -1", [](TQuickList* g) { g->SetLine(-1, {"x"}, false); }, {"a", "b", "c", "d"}},
        {"SetLine past the lines", [](TQuickList* g) { g->SetLine(2, {"x"}, false); }, {"a", "b", "c", "d"}},
        {"SetCol", [](TQuickList* g) { g->SetCol(1, {"x", "y", "z"}, false); }, {"a", "x", "c", "y"}},
        {"SetCol fewer cells", [](TQuickList* g) { g->SetCol(0, {"x"}, false); }, {"x", "b", "c", "d"}},
        {"SetCol -1", [](TQuickList* g) { g->SetCol(-1, {"x", "y"}, false); }, {"a", "b", "c", "d"}},
        {"SetCol past the captions", [](TQuickList* g) { g->SetCol(2, {"x", "y"}, false); }, {"a", "b", "c", "d"}},
    };
    for (const Case& c : cases) {
        TQuickList* grid = MakeGrid();
        grid->AppendLine({"a", "b"}, false);
        grid->AppendLine({"c", "d", "ignored"}, false);
        c.operate(grid);
        EXPECT_EQ((std::vector<std::string>{grid->GetCell(0, 0), grid->GetCell(0, 1), grid->GetCell(1, 0),
                                            grid->GetCell(1, 1)}),
                  c.expected)
            << c.what;
        delete grid;
    }
}

TEST_F(QuickListTest, CountsCaptionsAndWidths) {
    struct Case {
        const char* what;
        void (*operate)(TQuickList* grid);
        int lines, columns, colCount;
        std::vector<int> widths;
    };
    // Each starts from captions A, B of widths 70 and 80, and three lines.
    const Case cases[] = {
        {"SetCaptions more", [](TQuickList* g) { g->SetCaptions({"1", "2", "3"}, false); }, 3, 3, 3, {70, 80, 50}},
        {"SetCaptions fewer", [](TQuickList* g) { g->SetCaptions({"1"}, false); }, 3, 1, 1, {70}},
        {"ColumnCount 4", [](TQuickList* g) { g->SetColumnCount(4); }, 3, 4, 4, {70, 80, 50, 50}},
        {"ColumnCount -1", [](TQuickList* g) { g->SetColumnCount(-1); }, 3, 2, 2, {70, 80}},
        {"CellLines 5", [](TQuickList* g) { g->SetCellLines(5); }, 5, 2, 2, {70, 80}},
        {"CellLines 1", [](TQuickList* g) { g->SetCellLines(1); }, 1, 2, 2, {70, 80}},
        {"CellLines 0", [](TQuickList* g) { g->SetCellLines(0); }, 0, 2, -1, {70, 80}},
        {"CellLines -2", [](TQuickList* g) { g->SetCellLines(-2); }, 3, 2, 2, {70, 80}},
        {"MaxLines 2", [](TQuickList* g) { g->SetMaxLines(2); }, 2, 2, 2, {70, 80}},
        {"MaxLines -1", [](TQuickList* g) { g->SetMaxLines(-1); }, 3, 2, 2, {70, 80}},
        {"SetColWidths all", [](TQuickList* g) { g->SetColWidths(9, false); }, 3, 2, 2, {9, 9}},
        {"SetColWidths list", [](TQuickList* g) { g->SetColWidths(std::vector<int>{1, 2, 3}, false); }, 3, 2, 2, {1, 2}},
        {"SetColWidths short list", [](TQuickList* g) { g->SetColWidths(std::vector<int>{1}, false); }, 3, 2, 2, {70, 80}},
        {"SetColWidth out of range", [](TQuickList* g) { g->SetColWidth(2, 1, false); }, 3, 2, 2, {70, 80}},
        {"Clear", [](TQuickList* g) { g->Clear(true); }, 0, 0, -1, {}},
        {"ClearCells", [](TQuickList* g) { g->ClearCells(true); }, 0, 2, -1, {70, 80}},
    };
    for (const Case& c : cases) {
        TQuickList* grid = MakeGrid();
        grid->SetColWidth(0, 70, false);
        grid->SetColWidth(1, 80, false);
        Append(grid, {"a", "b", "c"});
        c.operate(grid);
        EXPECT_EQ(grid->GetLineCount(), c.lines) << c.what;
        EXPECT_EQ(grid->GetColumnCount(), c.columns) << c.what;
        EXPECT_EQ(grid->GetColCount(), c.colCount) << c.what;
        std::vector<int> widths;
        for (int col = 0; col < grid->GetColumnCount(); ++col) widths.push_back(grid->GetColWidth(col));
        EXPECT_EQ(widths, c.widths) << c.what;
        for (int line = 0; line < grid->GetLineCount(); ++line)
            EXPECT_EQ(grid->GetLineHeight(line), 20) << c.what;
        delete grid;
    }
    TQuickList* grid = new TQuickList(form);
    grid->SetCaptions({"1", "2", "3", "4", "5"}, false);
    EXPECT_EQ(grid->GetColumnCount(), 5);
    for (int col = 0; col < 5; ++col) EXPECT_EQ(grid->GetColWidth(col), 50);
}

TEST_F(QuickListTest, AZeroLimitAppendsNothingAndLinesAreCutToTheCaptions) {
    TQuickList* grid = MakeGrid();
    grid->SetMaxLines(0);
    Append(grid, {"a", "b"});
    EXPECT_EQ(grid->GetLineCount(), 0);
    grid->SetMaxLines(-1);
    grid->AppendLine({"1", "2", "3"}, false);
    grid->AppendLine({}, true);
    EXPECT_EQ(grid->GetColCount(), 2);
    EXPECT_EQ(grid->GetCell(1, 1), "");
    EXPECT_EQ(grid->GetVertScrollBar()->GetMax(), 1);
}

TEST_F(QuickListTest, HidingAColumnKeepsItsWidthAndTheBarCountsShownColumns) {
    TQuickList* grid = MakeGrid(4);
    grid->SetColWidth(1, 80, false);
    grid->SetColWidth(3, 0, false);
    grid->SetColVisibility(1, false, true);
    EXPECT_EQ(grid->GetColWidth(1), -80);
    EXPECT_EQ(grid->GetHorzScrollBar()->GetMax(), 1);  // columns 0 and 2 shown
    grid->SetColVisibility(1, false, true);
    EXPECT_EQ(grid->GetColWidth(1), -80);
    grid->SetColVisibility(1, true, true);
    EXPECT_EQ(grid->GetColWidth(1), 80);
    grid->SetColVisibility(3, true, true);
    EXPECT_EQ(grid->GetColWidth(3), 50);
    EXPECT_EQ(grid->GetHorzScrollBar()->GetMax(), 3);
    grid->InvertColVisibility(0, true);
    EXPECT_EQ(grid->GetColWidth(0), -50);
    EXPECT_EQ(grid->GetHorzScrollBar()->GetMax(), 2);
    for (int bad : {-1, 4}) {
        grid->SetColVisibility(bad, false, true);
        grid->InvertColVisibility(bad, true);
    }
    // The first visible column skips hidden ones and as many shown as the bar's position.
    EXPECT_EQ(grid->GetFirstVisibleColX(), 1);
    grid->GetHorzScrollBar()->SetPosition(2);
    EXPECT_EQ(grid->GetFirstVisibleColX(), 3);
}

TEST_F(QuickListTest, CurrentCellAndSelection) {
    TQuickList* grid = MakeGrid(3);
    Append(grid, {"a", "b", "c"});
    for (int bad : {-1, 3}) grid->SetSelectedLine(bad);
    grid->SetSelectedCol(3);
    EXPECT_EQ(grid->GetSelectedLine(), -1);
    EXPECT_EQ(grid->GetSelectedCol(), -1);
    grid->SetSelectedLine(2);
    grid->SetSelectedCol(1);
    RECT rect;
    EXPECT_FALSE(grid->GetSelection(rect));
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.right, 1);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.bottom, 2);
    grid->SetSelectionCorners(2, 2, 0, 1, true);
    ASSERT_TRUE(grid->GetSelection(rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<LONG>{0, 1, 2, 2}));
    EXPECT_TRUE(grid->CellInSelection(1, 0));
    EXPECT_TRUE(grid->CellInSelection(2, 2));
    EXPECT_FALSE(grid->CellInSelection(0, 0));
    // One cell is no selection; setting the current cell releases one.
    grid->SetSelectionCorners(1, 1, 1, 1, false);
    EXPECT_FALSE(grid->ValidSelection());
    grid->SetSelectionCorners(0, 0, 1, 1, false);
    grid->SetSelectedLine(0);
    EXPECT_FALSE(grid->ValidSelection());
}

TEST_F(QuickListTest, UndoKeepsAtMostUndoSizeRecords) {
    TQuickList* grid = MakeGrid();
    Append(grid, {"a"});
    grid->SetSelectedLine(0);
    grid->SetSelectedCol(0);
    for (int i = 0; i < 257; ++i) {
        grid->SetCell(0, 0, std::to_string(i), false);
        grid->RegisterUndoData();
    }
    ASSERT_EQ(grid->GetUndoList().size(), 256u);
    EXPECT_EQ(grid->GetUndoList().front().text, "1");
    EXPECT_EQ(grid->GetUndoList().back().text, "256");
    EXPECT_EQ(grid->GetUndoList().back().line, 0);
    grid->SetUndoSize(2);
    grid->RegisterUndoData();
    EXPECT_EQ(grid->GetUndoList().size(), 2u);
    for (int size : {0, -4}) {
        grid->SetUndoSize(size);
        grid->RegisterUndoData();
        EXPECT_TRUE(grid->GetUndoList().empty());
    }
}

TEST_F(QuickListTest, MessagesItAnswersItself) {
    TQuickList* grid = MakeGrid();
    EXPECT_EQ(grid->Perform(WM_GETDLGCODE, 0, 0), 0x83);
    EXPECT_EQ(grid->Perform(WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(QuickListTest, TheCaptionCursorsComeFromThePackagesResources) {
    TQuickList* grid = MakeGrid();
    const HCURSOR down = LoadCursorA(TabuloResourceModule(), "QUICK_LIST_DOWN_ARROW");
    const HCURSOR right = LoadCursorA(TabuloResourceModule(), "quick_list_right_arrow");
    ASSERT_NE(down, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_NE(down, right);
    EXPECT_EQ(grid->GetColCaptionCursor(), down);
    EXPECT_EQ(grid->GetLineCaptionCursor(), right);
    // Without a module the program, then every loaded library, is searched.
    EXPECT_NE(LoadCursorA(nullptr, "QUICK_LIST_DOWN_ARROW"), nullptr);
    EXPECT_EQ(LoadCursorA(TabuloResourceModule(), "QUICK_LIST_NO_SUCH_ARROW"), nullptr);
}

TEST_F(QuickListTest, StoredPropertiesComeBack) {
    TQuickList* grid = MakeGrid();
    grid->SetName("QuickList1");
    grid->SetShowLineCaption(true);
    grid->SetShowLineNumber(true);
    grid->SetEditInCell(true);
    grid->SetSelectLine(true);
    grid->SetSelectCol(true);
    grid->SetEditMode(qleFloat);
    form->SetName("Statistical");
    const std::string text = WriteComponentText(form);
    EXPECT_NE(text.find("SelectedLine = -1"), std::string::npos) << text;
    EXPECT_NE(text.find("Font = 'arial'"), std::string::npos) << text;
    EXPECT_EQ(text.find("SelectedHeaderLine"), std::string::npos) << text;

    auto* loaded = new TForm(nullptr, 1);
    ReadComponentText(loaded, text);
    auto* copy = dynamic_cast<TQuickList*>(loaded->FindComponent("QuickList1"));
    ASSERT_NE(copy, nullptr) << text;
    EXPECT_TRUE(copy->GetShowLineCaption());
    EXPECT_TRUE(copy->GetShowLineNumber());
    EXPECT_TRUE(copy->GetSelectCol());
    EXPECT_EQ(copy->GetEditMode(), qleFloat);
    EXPECT_EQ(copy->GetSelectedLine(), -1);
    EXPECT_EQ(copy->GetFontName(), "arial");
    delete loaded;

    const std::vector<TPalettePage> pages = PalettePages();
    auto page = std::find_if(pages.begin(), pages.end(), [](const TPalettePage& p) { return p.name == "Statora"; });
    ASSERT_NE(page, pages.end());
    EXPECT_NE(std::find(page->classes.begin(), page->classes.end(), TQuickList::StaticClassInfo()),
              page->classes.end());
}

}  // namespace
