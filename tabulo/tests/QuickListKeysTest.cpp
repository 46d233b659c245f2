// Tests of TQuickList's keyboard: the key table from each state before to
// the current cell, the selection's anchor and corner, the scroll positions
// and the cell's text, typing under the edit modes, and the keys that start
// the search.
#include <gtest/gtest.h>

#include "Buttons.h"
#include "ComboBox.h"
#include "MessageBox.h"
#include "QuickListFindDlg.h"
#include "QuickListFixtures.h"
#include "ScrollBarControl.h"

namespace {

// A grid of 30 lines of 8 columns, "r<line>c<col>" in each cell, of which 7
// lines and the first 5 columns are whole in view.
class QuickListKeysTest : public QuickListFixture {
protected:
    void SetUp() override {
        QuickListFixture::SetUp();
        Table lines;
        for (int line = 0; line < 30; ++line) {
            std::vector<std::string> cells;
            for (int col = 0; col < 8; ++col) cells.push_back("r" + std::to_string(line) + "c" + std::to_string(col));
            lines.push_back(cells);
        }
        input = MakeGrid<TInputQuickList>(lines);
        grid->SetEdit(true);
    }
    using Table = std::vector<std::vector<std::string>>;

    TInputQuickList* input = nullptr;
};

const std::vector<int> kNoCorners{-1, -1, -1, -1};

// The state a key meets and the one it leaves.
struct KeyState {
    int line = 5, col = 2;
    std::vector<int> corners = kNoCorners;  // anchor col, anchor line, corner col, corner line
    int vertical = 0, horizontal = 0;
    std::string text = "abc";  // of the cell current before
    int caret = -1;            // in-cell editing at this caret when 0 or more
};

KeyState At(int line, int col) {
    KeyState state;
    state.line = line;
    state.col = col;
    return state;
}
KeyState With(KeyState state, std::vector<int> corners) {
    state.corners = std::move(corners);
    return state;
}
KeyState Scrolled(KeyState state, int vertical, int horizontal) {
    state.vertical = vertical;
    state.horizontal = horizontal;
    return state;
}
KeyState Text(KeyState state, const std::string& text, int caret = -1) {
    state.text = text;
    state.caret = caret;
    return state;
}

TEST_F(QuickListKeysTest, TheKeyTable) {
    struct Case {
        const char* what;
        UINT key;
        std::vector<UINT> modifiers;
        KeyState before, after;
    };
    const std::vector<int> block{1, 4, 3, 5};  // columns 1-3 of lines 4-5
    const Case cases[] = {
        {"Tab", VK_TAB, {}, At(5, 2), At(5, 3)},
        {"Tab on the last cell", VK_TAB, {}, At(5, 7), At(5, 7)},
        {"Tab wraps to the next line", VK_TAB, {}, With(At(4, 3), block), With(At(5, 1), block)},
        {"Tab wraps to the top", VK_TAB, {}, With(At(5, 3), block), With(At(4, 1), block)},
        {"Tab ends in-cell editing", VK_TAB, {}, Text(At(5, 2), "abc", 1), At(5, 3)},
        {"Enter", VK_RETURN, {}, At(5, 2), With(At(6, 2), {-1, 6, -1, -1})},
        {"Enter on the last line", VK_RETURN, {}, At(29, 2), With(At(29, 2), {-1, 29, -1, -1})},
        {"Enter wraps to the next column", VK_RETURN, {}, With(At(5, 2), block), With(At(4, 3), block)},
        {"Enter wraps to the left", VK_RETURN, {}, With(At(5, 3), block), With(At(4, 1), block)},
        {"Enter ends in-cell editing", VK_RETURN, {}, Text(At(5, 2), "abc", 1), At(5, 2)},
        {"Left", VK_LEFT, {}, At(5, 2), At(5, 1)},
        {"Left releases the selection", VK_LEFT, {}, With(At(5, 2), block), At(5, 1)},
        {"Left at the first column", VK_LEFT, {}, At(5, 0), At(5, 0)},
        {"Left scrolls back", VK_LEFT, {}, Scrolled(At(5, 2), 0, 2), Scrolled(At(5, 1), 0, 1)},
        {"Shift+Left starts a selection", VK_LEFT, {VK_SHIFT}, At(5, 2), With(At(5, 1), {1, 5, 2, 5})},
        {"Shift+Left grows at the left", VK_LEFT, {VK_SHIFT}, With(At(5, 1), {1, 5, 3, 5}), With(At(5, 0), {0, 5, 3, 5})},
        {"Shift+Left shrinks at the right", VK_LEFT, {VK_SHIFT}, With(At(5, 3), {1, 5, 3, 5}),
         With(At(5, 2), {1, 5, 2, 5})},
        {"Shift+Left at the first column", VK_LEFT, {VK_SHIFT}, At(5, 0), At(5, 0)},
        {"Ctrl+Left", VK_LEFT, {VK_CONTROL}, Scrolled(At(5, 4), 0, 2), At(5, 0)},
        {"Ctrl+Left inside a selection", VK_LEFT, {VK_CONTROL}, With(At(5, 2), block), With(At(5, 1), block)},
        {"Ctrl+Left at the selection's edge", VK_LEFT, {VK_CONTROL}, With(At(5, 1), block), With(At(5, 1), block)},
        {"Left moves the caret", VK_LEFT, {}, Text(At(5, 2), "abc", 2), Text(At(5, 2), "abc", 1)},
        {"Left stops at the text's start", VK_LEFT, {}, Text(At(5, 2), "abc", 0), Text(At(5, 2), "abc", 0)},
        {"Right", VK_RIGHT, {}, At(5, 3), At(5, 4)},
        {"Right scrolls on past the view", VK_RIGHT, {}, At(5, 4), Scrolled(At(5, 5), 0, 1)},
        {"Right at the last cell", VK_RIGHT, {}, Scrolled(At(5, 7), 0, 5), Scrolled(At(5, 7), 0, 5)},
        {"Shift+Right starts a selection", VK_RIGHT, {VK_SHIFT}, At(5, 2), With(At(5, 3), {2, 5, 3, 5})},
        {"Shift+Right grows at the right", VK_RIGHT, {VK_SHIFT}, With(At(5, 3), {1, 5, 3, 5}),
         With(At(5, 4), {1, 5, 4, 5})},
        {"Shift+Right shrinks at the left", VK_RIGHT, {VK_SHIFT}, With(At(5, 1), {1, 5, 3, 5}),
         With(At(5, 2), {2, 5, 3, 5})},
        {"Ctrl+Right", VK_RIGHT, {VK_CONTROL}, At(5, 2), Scrolled(At(5, 7), 0, 7)},
        {"Ctrl+Right inside a selection", VK_RIGHT, {VK_CONTROL}, With(At(5, 3), block), With(At(5, 3), block)},
        {"Right moves the caret", VK_RIGHT, {}, Text(At(5, 2), "abc", 2), Text(At(5, 2), "abc", 3)},
        {"Right stops at the text's end", VK_RIGHT, {}, Text(At(5, 2), "abc", 3), Text(At(5, 2), "abc", 3)},
        {"Up", VK_UP, {}, At(5, 2), At(4, 2)},
        {"Up scrolls back", VK_UP, {}, Scrolled(At(3, 2), 3, 0), Scrolled(At(2, 2), 2, 0)},
        {"Up ends in-cell editing", VK_UP, {}, Text(At(5, 2), "abc", 1), At(4, 2)},
        {"Shift+Up starts a selection", VK_UP, {VK_SHIFT}, At(5, 2), With(At(4, 2), {2, 4, 2, 5})},
        {"Shift+Up grows at the top", VK_UP, {VK_SHIFT}, With(At(4, 2), block), With(At(3, 2), {1, 3, 3, 5})},
        {"Ctrl+Up", VK_UP, {VK_CONTROL}, Scrolled(At(5, 2), 4, 0), At(0, 2)},
        {"Down", VK_DOWN, {}, At(5, 2), At(6, 2)},
        {"Down scrolls on past the view", VK_DOWN, {}, At(6, 2), Scrolled(At(7, 2), 1, 0)},
        {"Down on the last line", VK_DOWN, {}, Scrolled(At(29, 2), 26, 0), Scrolled(At(29, 2), 26, 0)},
        {"Shift+Down starts a selection", VK_DOWN, {VK_SHIFT}, At(5, 2), With(At(6, 2), {2, 5, 2, 6})},
        {"Shift+Down shrinks at the top", VK_DOWN, {VK_SHIFT}, With(At(4, 2), block), With(At(5, 2), {1, 5, 3, 5})},
        {"Ctrl+Down", VK_DOWN, {VK_CONTROL}, At(5, 2), Scrolled(At(29, 2), 29, 0)},
        {"Page Down", VK_NEXT, {}, At(5, 2), Scrolled(At(12, 2), 9, 0)},
        {"Page Down at the end", VK_NEXT, {}, Scrolled(At(27, 2), 20, 0), Scrolled(At(29, 2), 26, 0)},
        {"Page Up", VK_PRIOR, {}, Scrolled(At(12, 2), 9, 0), Scrolled(At(5, 2), 2, 0)},
        {"Page Up at the start", VK_PRIOR, {}, Scrolled(At(3, 2), 1, 0), At(0, 2)},
        {"Home", VK_HOME, {}, Scrolled(At(5, 4), 3, 2), Scrolled(At(5, 0), 3, 0)},
        {"Ctrl+Home", VK_HOME, {VK_CONTROL}, Scrolled(At(5, 4), 3, 2), At(0, 0)},
        {"End", VK_END, {}, At(5, 2), Scrolled(At(5, 7), 0, 7)},
        {"Ctrl+End", VK_END, {VK_CONTROL}, Scrolled(At(5, 4), 0, 2), Scrolled(At(29, 0), 29, 2)},
        {"Backspace", VK_BACK, {}, At(5, 2), Text(At(5, 2), "ab")},
        {"Backspace at the caret", VK_BACK, {}, Text(At(5, 2), "abc", 1), Text(At(5, 2), "bc", 0)},
        {"Backspace at the text's start", VK_BACK, {}, Text(At(5, 2), "abc", 0), Text(At(5, 2), "abc", 0)},
        {"Backspace on an empty cell", VK_BACK, {}, Text(At(5, 2), ""), Text(At(5, 2), "")},
        {"Delete", VK_DELETE, {}, At(5, 2), Text(At(5, 2), "")},
        {"Delete at the caret", VK_DELETE, {}, Text(At(5, 2), "abc", 1), Text(At(5, 2), "ac", 1)},
        {"Delete at the text's end", VK_DELETE, {}, Text(At(5, 2), "abc", 3), Text(At(5, 2), "abc", 3)},
    };
    for (const Case& c : cases) {
        const KeyState& before = c.before;
        grid->SetCell(before.line, before.col, before.text, false);
        Select(before.line, before.col);
        const std::vector<int>& corners = before.corners;
        grid->SetSelectionCorners(corners[0], corners[1], corners[2], corners[3], false);
        grid->GetVertScrollBar()->SetPosition(before.vertical);
        grid->GetHorzScrollBar()->SetPosition(before.horizontal);
        if (before.caret >= 0) input->EditInCellAt(before.caret);
        grid->Refresh();
        PressWith(c.modifiers, c.key);

        const KeyState& after = c.after;
        EXPECT_EQ(Current(), std::make_pair(after.line, after.col)) << c.what;
        EXPECT_EQ(Corners(), after.corners) << c.what;
        EXPECT_EQ(grid->GetVertScrollBar()->GetPosition(), after.vertical) << c.what;
        EXPECT_EQ(grid->GetHorzScrollBar()->GetPosition(), after.horizontal) << c.what;
        EXPECT_EQ(grid->GetCell(before.line, before.col), after.text) << c.what;
        EXPECT_EQ(grid->GetInCellEditing(), after.caret >= 0) << c.what;
        if (after.caret >= 0) {
            EXPECT_EQ(grid->GetCaretPosition(), after.caret) << c.what;
        }
        // Put the cell back for the next case.
        grid->SetCell(before.line, before.col, "r" + std::to_string(before.line) + "c" + std::to_string(before.col),
                      false);
        grid->StopCellEditing(VK_ESCAPE);
        driver.Press(VK_RETURN);  // ends in-cell editing a case may have left on
    }
}

TEST_F(QuickListKeysTest, KeysDoNothingWithoutACurrentCell) {
    grid->SetFocus();
    driver.PumpUntilIdle();
    for (UINT key : {VK_TAB, VK_RETURN, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_NEXT, VK_PRIOR, VK_HOME, VK_END,
                     VK_BACK, VK_DELETE}) {
        driver.Press(key);
        EXPECT_EQ(Current(), std::make_pair(-1, -1)) << key;
    }
    driver.Type("x");
    EXPECT_EQ(grid->GetUndoList().size(), 0u);
}

TEST_F(QuickListKeysTest, TypingFollowsTheEditMode) {
    struct Case {
        TQuickListEditMode mode;
        const char* typed;
        const char* text;
    };
    const Case cases[] = {
        {qleFloat, "-1.5e-3", "-1.5e-3"},
        {qleFloat, "1.5.", "1.5"},         // a second point
        {qleFloat, "1-", "1"},             // a minus after a digit
        {qleFloat, "1eE-2x", "1eE-2"},     // e and E are counted apart
        {qleInteger, "-12a3", "123"},
        {qleString, "-a B!", "-a B!"},
        {qleString, "x\xC8y", "xy"},       // a code of 200 is ignored
    };
    for (const Case& c : cases) {
        grid->SetEditMode(c.mode);
        grid->SetCell(2, 1, "", false);
        Select(2, 1);
        driver.Type(c.typed);
        EXPECT_EQ(grid->GetCell(2, 1), c.text) << c.typed;
    }
    // Without Edit typing does nothing.
    grid->SetEdit(false);
    driver.Type("7");
    EXPECT_EQ(grid->GetCell(2, 1), "xy");
}

TEST_F(QuickListKeysTest, CtrlFCtrlRAndF3RunTheSearch) {
    grid->SetCell(8, 3, "needle", false);
    grid->SetCell(20, 6, "needles", false);
    Select(0, 0);
    std::vector<std::string> captions;
    ScriptedResponder responder({
        ScriptedResponder::Act<TQuickListFindDlg>([](TQuickListFindDlg& dialog) {
            dialog.cmbText->SetText("NEEDLE");
            dialog.btnOk->Click();
        }),
        ScriptedResponder::Act<TQuickListFindDlg>([](TQuickListFindDlg& dialog) { dialog.btnCancel->Click(); }),
    });
    driver.Press({VK_CONTROL}, 'F');
    EXPECT_EQ(Current(), std::make_pair(8, 3));
    driver.Press(VK_F3);
    EXPECT_EQ(Current(), std::make_pair(20, 6));
    EXPECT_EQ(grid->GetVertScrollBar()->GetPosition(), 20);
    driver.Press({VK_CONTROL}, 'R');
    ASSERT_EQ(responder.seen.size(), 2u);
    EXPECT_EQ(responder.seen[0].caption, "Find");
    EXPECT_EQ(responder.seen[1].caption, "QuickListReplaceDlg");
    // A plain F, R or V is typed, not a command.
    Select(0, 0);
    grid->SetCell(0, 0, "", false);
    driver.Type("frv");
    EXPECT_EQ(grid->GetCell(0, 0), "frv");
    EXPECT_EQ(responder.seen.size(), 2u);
}

}  // namespace
