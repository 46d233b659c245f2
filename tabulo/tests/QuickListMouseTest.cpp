// Tests of TQuickList's mouse: clicks on cells and captions with their
// events, the popup menu, selecting by dragging, resizing at the borders with
// the info form, double clicks and the pointer's shapes.
#include <gtest/gtest.h>

#include <climits>

#include "Edit.h"
#include "Label.h"
#include "Menus.h"
#include "QuickListFixtures.h"
#include "QuickListInfoForm.h"
#include "ScrollBarControl.h"

namespace {

// A 10 x 5 grid, "<line>:<col>" in each cell.
class QuickListMouseTest : public QuickListFixture {
protected:
    void SetUp() override {
        QuickListFixture::SetUp();
        std::vector<std::vector<std::string>> lines;
        for (int line = 0; line < 10; ++line) {
            std::vector<std::string> cells;
            for (int col = 0; col < 5; ++col) cells.push_back(std::to_string(line) + ":" + std::to_string(col));
            lines.push_back(cells);
        }
        input = MakeGrid<TInputQuickList>(lines);
        grid->SetFocus();
        driver.PumpUntilIdle();
    }
    void ClickCell(int line, int col, int button = 0) {
        const POINT at = CellPoint(line, col);
        driver.Click(Window(), at.x, at.y, button);
    }
    // A popup menu of one item on the grid.
    TPopupMenu* GiveMenu() {
        auto* menu = new TPopupMenu(form);
        auto* item = new TMenuItem(menu);
        item->SetCaption("Copy");
        menu->GetItems()->Add(item);
        grid->SetPopupMenu(menu);
        return menu;
    }

    TInputQuickList* input = nullptr;
};

TEST_F(QuickListMouseTest, ALeftClickMovesTheCurrentCellAndAMiddleOneNever) {
    for (int line = 9; line >= 5; --line) grid->DeleteLine(line, true);
    std::vector<std::pair<int, int>> clicked;
    grid->OnCellClick = [&](TQuickList*, int line, int col) { clicked.push_back({line, col}); };
    ClickCell(2, 1);
    EXPECT_EQ(Current(), std::make_pair(2, 1));
    ClickCell(2, 1);  // the same cell: no event
    ClickCell(4, 3, 2);
    EXPECT_EQ(Current(), std::make_pair(2, 1));
    // Below the last line only the column moves.
    driver.Click(Window(), CellPoint(0, 3).x, 160);
    EXPECT_EQ(Current(), std::make_pair(2, 3));
    EXPECT_EQ(clicked, (std::vector<std::pair<int, int>>{{2, 1}, {2, 3}}));
    EXPECT_FALSE(grid->ValidSelection());
}

TEST_F(QuickListMouseTest, CaptionClicksRaiseTheirEventsAndSelectWholeLinesOrColumns) {
    grid->SetShowLineCaption(true);
    grid->SetLineCaptionWidth(30);
    std::vector<std::string> events;
    grid->OnLineClick = [&](TQuickList*, int line) { events.push_back("line " + std::to_string(line)); };
    grid->OnColClick = [&](TQuickList*, int col) { events.push_back("col " + std::to_string(col)); };
    const int captionX = 2 + 10, columnX = 2 + 31 + 51 * 2 + 10;  // line captions, column 2
    const int lineY = 2 + 21 + 21 * 3 + 5, captionY = 2 + 8;       // line 3, the caption row

    // Without SelectLine and SelectCol only the events come.
    Select(5, 4);
    driver.Click(Window(), captionX, lineY);
    driver.Click(Window(), columnX, captionY);
    EXPECT_EQ(events, (std::vector<std::string>{"line 3", "col 2"}));
    EXPECT_EQ(Current(), std::make_pair(5, 4));
    EXPECT_FALSE(grid->ValidSelection());

    grid->SetSelectLine(true);
    grid->SetSelectCol(true);
    grid->GetHorzScrollBar()->SetPosition(1);
    driver.MouseDown(Window(), captionX, lineY);
    EXPECT_EQ(grid->GetSelectedHeaderLine(), 3);
    driver.MouseUp(Window(), captionX, lineY);
    EXPECT_EQ(grid->GetSelectedHeaderLine(), -1);
    EXPECT_EQ(Corners(), (std::vector<int>{0, 3, 4, 3}));
    EXPECT_EQ(Current(), std::make_pair(3, 1));

    grid->GetHorzScrollBar()->SetPosition(0);
    grid->GetVertScrollBar()->SetPosition(2);
    driver.MouseDown(Window(), columnX, captionY);
    EXPECT_EQ(grid->GetSelectedHeaderCol(), 2);
    driver.MouseUp(Window(), columnX, captionY);
    EXPECT_EQ(grid->GetSelectedHeaderCol(), -1);
    EXPECT_EQ(Corners(), (std::vector<int>{2, 0, 2, 9}));
    EXPECT_EQ(Current(), std::make_pair(2, 2));
    EXPECT_EQ(events.size(), 4u);
}

TEST_F(QuickListMouseTest, ARightClickOpensThePopupOnceAtThePointer) {
    TPopupMenu* menu = GiveMenu();
    std::vector<std::string> order;
    grid->OnBeforePopup = [&](TQuickList*) { order.push_back("before"); };
    ScriptedResponder responder({[&](const win32::ModalInteraction&) {
        order.push_back("menu");
        return win32::ModalReply::Answer(0);
    }});
    // Inside a selection the current cell stays.
    Select(1, 1);
    grid->SetSelectionCorners(1, 1, 3, 3, true);
    ClickCell(2, 2, 1);
    EXPECT_EQ(Current(), std::make_pair(1, 1));
    EXPECT_TRUE(grid->ValidSelection());
    ASSERT_EQ(responder.seen.size(), 1u);
    EXPECT_EQ(responder.seen[0].kind, win32::ModalKind::PopupMenu);
    const POINT pointer = grid->ClientToScreen(CellPoint(2, 2));
    EXPECT_EQ(responder.seen[0].window.left, pointer.x);
    EXPECT_EQ(responder.seen[0].window.top, pointer.y);
    EXPECT_EQ(menu->GetPopupCount(), 1u);
    // Outside it the current cell moves and the selection goes.
    ClickCell(6, 4, 1);
    EXPECT_EQ(Current(), std::make_pair(6, 4));
    EXPECT_FALSE(grid->ValidSelection());
    EXPECT_EQ(menu->GetPopupCount(), 2u);
    EXPECT_EQ(order, (std::vector<std::string>{"before", "menu", "before", "menu"}));
    // The press ended before the menu: moving afterwards selects nothing.
    driver.MoveMouse(Window(), CellPoint(8, 1).x, CellPoint(8, 1).y);
    EXPECT_FALSE(grid->ValidSelection());
}

TEST_F(QuickListMouseTest, APressDragReleaseSelectsARectangle) {
    int paints = 0;
    grid->OnCellPaint = [&](TQuickList*, int, int, IMAGEDATA, RECT) { ++paints; };
    const POINT from = CellPoint(4, 3), to = CellPoint(1, 1);
    driver.MouseDown(Window(), from.x, from.y);
    driver.MoveMouse(Window(), to.x, to.y);
    EXPECT_EQ(Corners(), (std::vector<int>{3, 4, 1, 1}));
    // Moving inside the same cell repaints nothing.
    paints = 0;
    driver.MoveMouse(Window(), to.x + 5, to.y + 3);
    EXPECT_EQ(paints, 0);
    driver.MouseUp(Window(), to.x + 5, to.y + 3);
    EXPECT_EQ(Current(), std::make_pair(4, 3));
    EXPECT_EQ(Corners(), (std::vector<int>{1, 1, 3, 4}));
    RECT selection;
    ASSERT_TRUE(grid->GetSelection(selection));
    EXPECT_EQ((std::vector<LONG>{selection.left, selection.top, selection.right, selection.bottom}),
              (std::vector<LONG>{1, 1, 3, 4}));
}

TEST_F(QuickListMouseTest, BordersResizeColumnsAndLinesWithTheInfoForm) {
    TPopupMenu* menu = GiveMenu();
    TQuickListInfoForm* info = grid->GetInfoForm();
    struct Case {
        const char* what;
        int width, height;  // of column 1 and line 1 before
        POINT border;       // client point on the border
        HCURSOR cursor;
        POINT to;
        const char* shown;  // the info form's text during the drag
        int widthAfter, heightAfter;
    };
    const HCURSOR split = LoadCursorA(nullptr, IDC_SIZEWE), lineSplit = LoadCursorA(nullptr, IDC_SIZENS);
    // Column 1 starts at x = 51 of the drawing area, its border at 51 + width;
    // line 1 starts at y = 42, its border at 42 + height.
    const Case cases[] = {
        {"column wider", 50, 20, {103, 50}, split, {123, 50}, "Width = 70", 70, 20},
        {"column past its left border", 70, 20, {123, 50}, split, {20, 50}, "Width = 16", 16, 20},
        {"line higher", 50, 20, {150, 64}, lineSplit, {150, 100}, "Height = 56", 50, 56},
        {"line above its top", 50, 56, {150, 100}, lineSplit, {150, 30}, "Height = 20", 50, 20},
    };
    for (const Case& c : cases) {
        grid->SetColWidth(1, c.width, false);
        grid->SetLineHeight(1, c.height, true);
        driver.MoveMouse(Window(), c.border.x, c.border.y);
        EXPECT_EQ(grid->GetShownCursor(), c.cursor) << c.what;
        EXPECT_EQ(GetCursor(), c.cursor) << c.what;
        driver.MouseDown(Window(), c.border.x, c.border.y);
        EXPECT_TRUE(info->InfoShown()) << c.what;
        EXPECT_EQ(grid->GetPopupMenu(), nullptr) << c.what;
        driver.MoveMouse(Window(), c.to.x, c.to.y);
        EXPECT_EQ(info->lbInfo->GetCaption(), c.shown) << c.what;
        const POINT pointer = grid->ClientToScreen(c.to);
        EXPECT_EQ(info->GetLeft(), pointer.x + 4) << c.what;
        EXPECT_EQ(info->GetTop(), pointer.y + 4) << c.what;
        driver.MouseUp(Window(), c.to.x, c.to.y);
        EXPECT_FALSE(info->InfoShown()) << c.what;
        EXPECT_EQ(grid->GetPopupMenu(), menu) << c.what;
        EXPECT_EQ(grid->GetColWidth(1), c.widthAfter) << c.what;
        EXPECT_EQ(grid->GetLineHeight(1), c.heightAfter) << c.what;
    }
    EXPECT_EQ(Current(), std::make_pair(-1, -1));  // no press on a border chose a cell
    // Without ShowInfoForm the drag goes on without the form.
    grid->SetShowInfoForm(false);
    driver.MoveMouse(Window(), 103, 50);
    driver.MouseDown(Window(), 103, 50);
    driver.MoveMouse(Window(), 143, 50);
    EXPECT_FALSE(info->InfoShown());
    driver.MouseUp(Window(), 143, 50);
    EXPECT_EQ(grid->GetColWidth(1), 90);
}

TEST_F(QuickListMouseTest, ThePointerShowsTheCaptionCursors) {
    grid->SetShowLineCaption(true);
    grid->SetLineCaptionWidth(30);
    grid->FullRefresh();
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    struct Case {
        bool selectLine, selectCol;
        POINT at;
        HCURSOR cursor;
    };
    const Case cases[] = {
        {true, true, {12, 50}, grid->GetLineCaptionCursor()},
        {true, true, {70, 10}, grid->GetColCaptionCursor()},
        {true, true, {70, 50}, arrow},
        {false, false, {12, 50}, arrow},
        {false, false, {70, 10}, arrow},
    };
    for (const Case& c : cases) {
        grid->SetSelectLine(c.selectLine);
        grid->SetSelectCol(c.selectCol);
        driver.MoveMouse(Window(), c.at.x, c.at.y);
        EXPECT_EQ(grid->GetShownCursor(), c.cursor) << c.at.x << "," << c.at.y;
        EXPECT_EQ(GetCursor(), c.cursor) << c.at.x << "," << c.at.y;
    }
}

TEST_F(QuickListMouseTest, ADoubleClickOnTheCurrentCellStartsEditing) {
    grid->SetEdit(true);
    // The edit box stays: the mouse-down that follows the double click is ignored.
    const POINT at = CellPoint(3, 2);
    driver.DoubleClick(Window(), at.x, at.y);
    EXPECT_EQ(Current(), std::make_pair(3, 2));
    ASSERT_TRUE(grid->GetEditBox()->GetVisible());
    EXPECT_EQ(grid->GetEditBox()->GetText(), "3:2");
    ClickCell(6, 0);  // a press on the grid, away from the box over the cell
    EXPECT_FALSE(grid->GetEditBox()->GetVisible());
    // In the cell, with the caret after its text.
    driver.Advance(1000);
    grid->SetEditInCell(true);
    driver.DoubleClick(Window(), at.x, at.y);
    EXPECT_TRUE(grid->GetInCellEditing());
    EXPECT_EQ(grid->GetCaretPosition(), 3);
}

// In-cell editing goes on when another cell is clicked; the caret is kept
// within the shorter text.
TEST_F(QuickListMouseTest, TheCaretStaysInsideAShorterCellClickedWhileEditing) {
    grid->SetEdit(true);
    grid->SetEditInCell(true);
    grid->SetCell(1, 1, "abcdef", false);
    grid->SetCell(2, 2, "q", false);
    Select(1, 1);
    PressWith({VK_MENU}, VK_RETURN);
    EXPECT_EQ(grid->GetCaretPosition(), 6);
    ClickCell(2, 2);
    EXPECT_TRUE(grid->GetInCellEditing());
    EXPECT_EQ(input->RawCaret(), 6);
    EXPECT_EQ(grid->GetCaretPosition(), 1);
    driver.Press(VK_DELETE);
    driver.Type("z");
    driver.Press(VK_LEFT);
    driver.Press(VK_BACK);
    EXPECT_EQ(grid->GetCell(2, 2), "z");
}

// Sizes far beyond any screen, from a form or a caller, are painted and
// clicked as sizes just beyond the screen; the published ones keep their values.
TEST_F(QuickListMouseTest, SizesBeyondAnyScreenPaintAndAnswerClicks) {
    const int beyond = 1 << 24;
    for (int size : {INT_MAX, INT_MIN}) {
        grid->SetShowLineCaption(true);
        grid->SetShowLineNumber(true);
        grid->SetLineCaptionWidth(size);
        grid->SetSelectedFrameWidth(size);
        grid->SetColWidth(1, size, false);
        grid->SetLineHeight(0, size, false);
        grid->SetColVisibility(1, true, false);
        EXPECT_EQ(grid->GetLineCaptionWidth(), size);
        EXPECT_EQ(grid->GetSelectedFrameWidth(), size);
        EXPECT_EQ(grid->GetColWidth(1), beyond);
        EXPECT_EQ(grid->GetLineHeight(0), size > 0 ? beyond : 20);
        std::vector<int> clickedLines;
        grid->OnLineClick = [&clickedLines](TQuickList*, int line) { clickedLines.push_back(line); };
        Select(0, 1);
        grid->FullRefresh();
        driver.Drag(Window(), 100, 60, 150, 90);
        for (UINT key : {VK_RIGHT, VK_DOWN, VK_NEXT, VK_END, VK_HOME}) driver.Press(key);
        // A caption column wider than the view takes every click on a line.
        EXPECT_EQ(!clickedLines.empty(), size > 0) << size;
        EXPECT_EQ(grid->GetSelectedCol(INT_MAX, 0), -1);
        grid->OnLineClick = nullptr;
    }
}

}  // namespace
