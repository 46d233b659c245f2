// The mouse, focus and status events: clicks, drags, double clicks, the
// context menus, the word under the mouse and the events of focus.
#include <string>
#include <tuple>
#include <vector>

#include "Edit.h"
#include "Menus.h"
#include "RedaktFixture.h"
#include "Responder.h"

namespace {

class MouseTest : public EditorTest {
protected:
    // A focused 300 x 200 editor holding the lines, painted.
    TTextEditor* Focused(const std::vector<std::string>& text) {
        TTextEditor* editor = Place();
        ShowText(editor, text);
        editor->SetFocus();
        driver.PumpUntilIdle();
        return editor;
    }
    // The client point in the middle of a character cell.
    static POINT Cell(TTextEditor* editor, int col, int line) {
        const RECT cell = CellsRect(editor, line, col, 1);
        return POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    }
    // Each gesture starts after the double-click time, so that two in a row
    // at one place stay two single clicks.
    void Click(TTextEditor* editor, int col, int line, int button = 0) {
        const POINT p = Cell(editor, col, line);
        driver.Advance(1000);
        driver.Click(editor->GetHandle(), p.x, p.y, button);
    }
    void Drag(TTextEditor* editor, int fromCol, int fromLine, int toCol, int toLine) {
        const POINT from = Cell(editor, fromCol, fromLine), to = Cell(editor, toCol, toLine);
        driver.Advance(1000);
        driver.Drag(editor->GetHandle(), from.x, from.y, to.x, to.y);
    }
    static std::tuple<int, int> Caret(TTextEditor* editor) { return {editor->GetCurCol(), editor->GetCurLine()}; }
    static std::tuple<int, int> Block(TTextEditor* editor) {
        return {editor->selection.selStartLine, editor->selection.selEndLine};
    }
    static std::tuple<int, int, int> Columns(TTextEditor* editor) {
        return {editor->selection.selLine, editor->selection.selStartCol, editor->selection.selEndCol};
    }
    // Another control on the form to hold the focus.
    TEdit* other() {
        if (otherControl == nullptr) {
            otherControl = new TEdit(form);
            otherControl->SetParent(form);
            otherControl->SetBounds(10, 230, 100, 21);
            driver.PumpUntilIdle();
        }
        return otherControl;
    }
    TEdit* otherControl = nullptr;
    static bool OwnsCaret(TTextEditor* editor) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(0, &info) && info.hwndCaret == editor->GetHandle();
    }
};

const std::vector<std::string> kTenLines = {"line 0", "line 1", "line 2 is the longest line", "line 3", "line 4",
                                            "line 5", "line 6", "line 7", "line 8", "line 9"};

}  // namespace

TEST_F(MouseTest, AClickPlacesTheCaretWithinTheText) {
    TTextEditor* editor = Focused({"short", "a longer line here", "last"});
    Click(editor, 3, 1);
    EXPECT_EQ(Caret(editor), std::make_tuple(3, 1));
    // Below the last line the caret lands on it; right of the longest line at HMax.
    driver.Click(editor->GetHandle(), 250, 180);
    EXPECT_EQ(Caret(editor), std::make_tuple(18, 2));
    EXPECT_EQ(editor->GetHMax(), 18);
    // A click collapses a selection onto the caret; with PersistentBlocks it stays.
    editor->selection = TTextEditorSelection{0, 0, 0, 0, 2};
    Click(editor, 1, 0);
    EXPECT_EQ(Block(editor), std::make_tuple(0, 0));
    editor->SetPersistentBlocks(true);
    editor->selection = TTextEditorSelection{0, 0, 0, 0, 2};
    Click(editor, 2, 2);
    EXPECT_EQ(Caret(editor), std::make_tuple(2, 2));
    EXPECT_EQ(Block(editor), std::make_tuple(0, 2));
}

TEST_F(MouseTest, AClickIntoAnUnfocusedEditorOnlyFocusesIt) {
    TTextEditor* editor = Place();
    ShowText(editor, kTenLines);
    int presses = 0;
    editor->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
    Click(editor, 4, 5);
    EXPECT_TRUE(editor->Focused());
    EXPECT_EQ(Caret(editor), std::make_tuple(0, 0));
    EXPECT_FALSE(editor->mouseSelecting);
    EXPECT_EQ(presses, 1);
    Click(editor, 4, 5);
    EXPECT_EQ(Caret(editor), std::make_tuple(4, 5));
    // A double click into an unfocused editor: the first press focuses, the
    // second places the caret; no word is selected where the caret stood.
    other()->SetFocus();
    const POINT p = Cell(editor, 2, 7);
    driver.Advance(1000);
    driver.DoubleClick(editor->GetHandle(), p.x, p.y);
    EXPECT_TRUE(editor->Focused());
    EXPECT_EQ(Caret(editor), std::make_tuple(2, 7));
    EXPECT_EQ(editor->selection.selStartCol, editor->selection.selEndCol);
}

TEST_F(MouseTest, AClickInTheGutterFiresTheGapClickOnTheCaretLine) {
    TTextEditor* editor = Focused(kTenLines);
    std::vector<int> gapLines;
    editor->OnGapClick = [&](TTextEditor*, int line) { gapLines.push_back(line); };
    const POINT text = Cell(editor, 0, 4);
    driver.Click(editor->GetHandle(), 3, text.y);
    Click(editor, 1, 6);
    EXPECT_EQ(gapLines, std::vector<int>{4});
    EXPECT_EQ(Caret(editor), std::make_tuple(1, 6));
}

// The press opens the menu of the part the mouse last moved over; the
// release's context-menu request is not passed on to the form's own menu.
TEST_F(MouseTest, ARightClickOpensTheMenuOfThePartUnderTheMouseAndMovesNothing) {
    TTextEditor* editor = Focused(kTenLines);
    auto* textMenu = new TPopupMenu(form);
    textMenu->GetItems()->Add("Text item");
    auto* gutterMenu = new TPopupMenu(form);
    gutterMenu->GetItems()->Add("Gutter item");
    auto* formMenu = new TPopupMenu(form);
    formMenu->GetItems()->Add("Form item");
    form->SetPopupMenu(formMenu);
    editor->editPopup = editor->activePopup = textMenu;
    editor->gapPopup = gutterMenu;
    std::vector<std::string> opened;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::PopupMenu && !interaction.items.empty())
            opened.push_back(interaction.items[0].text);
        return win32::ModalReply::Answer(0);
    });
    editor->selection = TTextEditorSelection{2, 5, 3, 3, 3};
    Click(editor, 2, 1);
    const auto caret = Caret(editor);
    Click(editor, 5, 7, 1);
    EXPECT_EQ(editor->gapClickLine, 7);
    const POINT gutter{3, Cell(editor, 0, 2).y};
    driver.Click(editor->GetHandle(), gutter.x, gutter.y, 1);
    EXPECT_EQ(editor->gapClickLine, 2);
    EXPECT_EQ(opened, (std::vector<std::string>{"Text item", "Gutter item"}));
    EXPECT_EQ(Caret(editor), caret);
    EXPECT_EQ(Columns(editor), std::make_tuple(3, 2, 2));
    EXPECT_TRUE(OwnsCaret(editor));
    // A menu asked for from the keyboard still goes its usual way.
    SendMessageA(editor->GetHandle(), WM_CONTEXTMENU, WPARAM(editor->GetHandle()), MAKELPARAM(0xFFFF, 0xFFFF));
    EXPECT_EQ(opened.back(), "Form item");
}

TEST_F(MouseTest, DraggingAcrossLinesSelectsFromTheAnchorLineToTheLineBeforeTheMouse) {
    TTextEditor* editor = Focused(kTenLines);
    int changes = 0;
    editor->OnSelectionChange = [&](TTextEditor*, bool, int, int) { ++changes; };
    Drag(editor, 2, 3, 4, 6);
    EXPECT_EQ(Block(editor), std::make_tuple(3, 6));
    EXPECT_EQ(Caret(editor), std::make_tuple(4, 6));
    EXPECT_FALSE(editor->mouseSelecting);
    EXPECT_GT(changes, 0);
    ExpectShowsFullRepaint(editor);
    Drag(editor, 2, 6, 4, 3);
    EXPECT_EQ(Block(editor), std::make_tuple(3, 6));
    // Down past the anchor and back above it turns the block round.
    const POINT anchor = Cell(editor, 1, 5), below = Cell(editor, 1, 8), above = Cell(editor, 1, 2);
    driver.MouseDown(editor->GetHandle(), anchor.x, anchor.y);
    driver.MoveMouse(editor->GetHandle(), below.x, below.y);
    EXPECT_EQ(Block(editor), std::make_tuple(5, 8));
    driver.MoveMouse(editor->GetHandle(), above.x, above.y);
    EXPECT_EQ(Block(editor), std::make_tuple(2, 5));
    ExpectShowsFullRepaint(editor);
    // Back on the anchor's line the line block gives way to the columns.
    driver.MoveMouse(editor->GetHandle(), Cell(editor, 4, 5).x, anchor.y);
    EXPECT_EQ(Block(editor), std::make_tuple(5, 5));
    EXPECT_EQ(Columns(editor), std::make_tuple(5, 1, 4));
    driver.MouseUp(editor->GetHandle(), Cell(editor, 4, 5).x, anchor.y);
    ExpectShowsFullRepaint(editor);
}

TEST_F(MouseTest, DraggingWithinALineSelectsTheColumnsInsideTheText) {
    TTextEditor* editor = Focused({"0123456789abc", "short", "a line of twenty-two."});
    const struct {
        int fromCol, toCol, line;
        int start, end;
    } kDrags[] = {
        {8, 2, 0, 2, 8},    // leftwards
        {2, 8, 0, 2, 8},    // rightwards
        {2, 15, 1, 2, 5},   // right past the end stops at the end
        {15, 1, 1, 1, 5},   // from past the end
        {3, 3, 0, 3, 3},    // back at the anchor: nothing
    };
    for (const auto& drag : kDrags) {
        Drag(editor, drag.fromCol, drag.line, drag.toCol, drag.line);
        EXPECT_EQ(Columns(editor), std::make_tuple(drag.line, drag.start, drag.end))
            << drag.fromCol << " to " << drag.toCol << " on line " << drag.line;
        EXPECT_EQ(Block(editor), std::make_tuple(drag.line, drag.line));
    }
    ExpectShowsFullRepaint(editor);
}

// The drag holds the capture, so moves outside the window keep arriving.
TEST_F(MouseTest, DraggingOutOfTheWindowKeepsTheCaretInsideTheText) {
    TTextEditor* editor = Focused(kTenLines);
    const POINT start = Cell(editor, 2, 3);
    driver.Drag(editor->GetHandle(), start.x, start.y, start.x, -40);
    driver.Advance(1000);
    EXPECT_EQ(Caret(editor), std::make_tuple(2, 0));
    EXPECT_EQ(Block(editor), std::make_tuple(0, 3));
    EXPECT_EQ(editor->GetVPos(), 0);
    driver.Drag(editor->GetHandle(), start.x, start.y, start.x, 400);
    EXPECT_EQ(std::get<1>(Caret(editor)), 9);
    EXPECT_EQ(Block(editor), std::make_tuple(3, 9));
}

TEST_F(MouseTest, ADoubleClickSelectsTheWordAndTheFlaggedPressChangesNothing) {
    TTextEditor* editor = Focused({"x = foo(bar);", "second line"});
    int presses = 0, doubleClicks = 0;
    editor->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
    editor->OnDblClick = [&](TObject*) { ++doubleClicks; };
    const POINT foo = Cell(editor, 5, 0);
    driver.DoubleClick(editor->GetHandle(), foo.x, foo.y);
    EXPECT_EQ(Columns(editor), std::make_tuple(0, 4, 7));
    EXPECT_EQ(Caret(editor), std::make_tuple(7, 0));
    EXPECT_EQ(presses, 1) << "the press flagged as a double click was not ignored";
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_FALSE(editor->ignoreMouseDown);
    ExpectShowsFullRepaint(editor);
    Click(editor, 3, 1);
    EXPECT_EQ(Caret(editor), std::make_tuple(3, 1));
    EXPECT_EQ(Columns(editor), std::make_tuple(0, 3, 3));
    // On a separator nothing is selected and the flagged press counts.
    const POINT blank = Cell(editor, 1, 0);
    driver.DoubleClick(editor->GetHandle(), blank.x, blank.y);
    EXPECT_EQ(Caret(editor), std::make_tuple(1, 0));
    EXPECT_EQ(editor->selection.selStartCol, editor->selection.selEndCol);
    EXPECT_EQ(presses, 4);
}

TEST_F(MouseTest, WithDoubleClickLineADoubleClickSelectsTheWholeLine) {
    TTextEditor* editor = Focused({"first", "x = foo(bar);"});
    editor->SetDoubleClickLine(true);
    const POINT p = Cell(editor, 2, 1);
    driver.DoubleClick(editor->GetHandle(), p.x, p.y);
    EXPECT_EQ(Columns(editor), std::make_tuple(1, 0, 13));
    EXPECT_EQ(Caret(editor), std::make_tuple(2, 1));
    ExpectShowsFullRepaint(editor);
}

TEST_F(MouseTest, TheWordAtTheCaretAndUnderTheMouse) {
    TTextEditor* editor = Focused({"x = foo(bar);", "   "});
    const struct {
        int col, line;
        const char* word;
        int start, end;
    } kCases[] = {
        {4, 0, "foo", 4, 6}, {6, 0, "foo", 4, 6}, {9, 0, "bar", 8, 10}, {0, 0, "x", 0, 0},
        {3, 0, "", 0, 0},    {7, 0, "", 0, 0},    {20, 0, "", 0, 0},    {1, 1, "", 0, 0},
    };
    for (const auto& row : kCases) {
        editor->SetCursorPosX(row.col);
        editor->SetCursorPosY(row.line);
        int start = -1, end = -1;
        EXPECT_EQ(editor->GetCurWord(start, end).str(), row.word) << row.col << ", " << row.line;
        EXPECT_EQ(std::make_tuple(start, end), std::make_tuple(row.start, row.end)) << row.col << ", " << row.line;
    }
    std::vector<std::tuple<std::string, int, int>> heard;
    editor->OnOverWord = [&](TTextEditor*, TString word, int x, int y) { heard.emplace_back(word.str(), x, y); };
    for (const POINT p : {Cell(editor, 5, 0), Cell(editor, 3, 0), Cell(editor, 9, 0), Cell(editor, 1, 1)})
        driver.MoveMouse(editor->GetHandle(), p.x, p.y);
    EXPECT_EQ(heard, (std::vector<std::tuple<std::string, int, int>>{{"foo", 5, 0}, {"bar", 9, 0}}));
    EXPECT_EQ(editor->lastWord.str(), "bar");
}

TEST_F(MouseTest, AnEditorWithoutLinesTakesEveryMouseActionCalmly) {
    TTextEditor* editor = Place();
    editor->SetFocus();
    editor->OnOverWord = [](TTextEditor*, TString, int, int) {};
    HWND window = editor->GetHandle();
    driver.Click(window, 40, 30);
    driver.DoubleClick(window, 40, 30);
    driver.Drag(window, 40, 30, 200, 150);
    driver.Drag(window, 40, 30, 40, -50);
    editor->SetDoubleClickLine(true);
    driver.DoubleClick(window, 40, 30);
    driver.Click(window, 40, 30, 1);
    int start = -1, end = -1;
    EXPECT_TRUE(editor->GetCurWord(start, end).IsEmpty());
    EXPECT_EQ(Caret(editor), std::make_tuple(0, 0));
    EXPECT_EQ(editor->lines.GetCount(), 0);
}

// The events a host shows in its status bar, fired whenever the editor gains
// the focus, which also makes the caret; losing the focus destroys it.
TEST_F(MouseTest, FocusMakesTheCaretAndFiresTheStatusEventsInOrder) {
    TTextEditor* editor = Place();
    ShowText(editor, kTenLines);
    driver.Press(VK_CAPITAL);
    driver.Press(VK_SCROLL);
    std::vector<std::string> events;
    auto state = [&](const char* name) {
        return [&events, name](TTextEditor*, bool value) { events.push_back(std::string(name) + (value ? "+" : "-")); };
    };
    editor->OnEditModeChange = [&](TTextEditor*, TTextEditorEditMode mode) {
        events.push_back(mode == emInsert ? "insert" : "overwrite");
    };
    editor->OnModifyChange = state("modified");
    editor->OnCapsChange = state("caps");
    editor->OnNumChange = state("num");
    editor->OnScrollChange = state("scroll");
    editor->OnTabsChange = state("tabs");
    int entered = 0;
    editor->OnEnter = [&](TObject*) { ++entered; };
    editor->SetCursorPosX(3);
    editor->SetCursorPosY(2);
    editor->SetFocus();
    driver.PumpUntilIdle();
    const std::vector<std::string> expected = {"insert", "modified-", "caps+", "num-", "scroll+", "tabs+"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(entered, 1);
    EXPECT_TRUE(OwnsCaret(editor));
    POINT caret{};
    GetCaretPos(&caret);
    const RECT cell = CellsRect(editor, 2, 3, 1);
    EXPECT_EQ(caret.x, cell.left);
    EXPECT_EQ(caret.y, cell.top);
    other()->SetFocus();
    driver.PumpUntilIdle();
    EXPECT_FALSE(OwnsCaret(editor));
    events.clear();
    editor->SetModified(true);
    events.clear();
    driver.Press(VK_CAPITAL);
    editor->CallEventHandlers();
    EXPECT_EQ(events, (std::vector<std::string>{"insert", "modified+", "caps-", "num-", "scroll+", "tabs+"}));
    driver.Press(VK_SCROLL);
}
