// The caret's text position and the scrolling that keeps it in view.
#include <string>
#include <tuple>
#include <vector>

#include "RedaktFixture.h"

namespace {

POINT CaretCorner() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(0, &info);
    return POINT{info.rcCaret.left, info.rcCaret.top};
}

}  // namespace

TEST_F(EditorTest, SettingTheCaretColumnOrLineKeepsThePreviousOneAndLeavesTheSystemCaret) {
    TTestEditor* editor = Place<TTestEditor>();
    ShowText(editor, {"0123456789", "0123456789"});
    editor->SetFocus();
    editor->CaretOn();
    editor->SetCurCol(3);
    const POINT before = CaretCorner();
    editor->SetCursorPosX(7);
    EXPECT_EQ(editor->prevCol, 3);
    EXPECT_EQ(editor->GetCurCol(), 7);
    editor->SetCursorPosY(1);
    EXPECT_EQ(editor->prevLine, 0);
    EXPECT_EQ(editor->GetCurLine(), 1);
    EXPECT_EQ(CaretCorner().x, before.x);
    EXPECT_EQ(CaretCorner().y, before.y);
}

TEST_F(EditorTest, PlacingTheCaretScrollsJustFarEnoughAndPutsTheSystemCaretOnIt) {
    TTestEditor* editor = Place<TTestEditor>();
    ShowText(editor, std::vector<std::string>(300, std::string(400, 'x')));
    editor->SetFocus();
    editor->CaretOn();
    const int w = editor->GetCharWidth();
    const int h = editor->GetLineHeight();
    const int gap = editor->GetColGap();
    const int rows = editor->GetClientHeight() / h;
    const int columns = (editor->GetClientWidth() - gap) / w;
    std::vector<std::tuple<int, int>> moves;
    editor->OnCursorMove = [&moves](TTextEditor*, int x, int y) { moves.emplace_back(x, y); };
    const struct {
        const char* move;
        int col, line;
        int vPos, hPos;  // the view afterwards
        int scrolled;    // what SetCaretPos returns
    } kMoves[] = {
        {"inside the view", 3, 2, 0, 0, 0},
        {"below the view", 3, 100, 100 - rows + 1, 0, 100 - rows + 1},
        {"up above the view", 3, 40, 40, 0, 100 - rows + 1 - 40},
        {"right of the view", 250, 40, 40, 250 - columns + 1, 0},
        {"left of the view", 10, 41, 40, 10, 0},
        {"the last visible line", 10, 40 + rows - 1, 40, 10, 0},
    };
    for (const auto& row : kMoves) {
        editor->SetCursorPosX(row.col);
        editor->SetCursorPosY(row.line);
        EXPECT_EQ(editor->SetCaretPos(row.col, row.line), row.scrolled) << row.move;
        EXPECT_EQ(editor->GetVPos(), row.vPos) << row.move;
        EXPECT_EQ(editor->GetHPos(), row.hPos) << row.move;
        const POINT caret = CaretCorner();
        EXPECT_EQ(caret.x, w * (row.col - row.hPos) + gap) << row.move;
        EXPECT_EQ(caret.y, h * (row.line - row.vPos)) << row.move;
        ASSERT_FALSE(moves.empty());
        EXPECT_EQ(moves.back(), std::make_tuple(row.col, row.line)) << row.move;
    }
    EXPECT_EQ(moves.size(), std::size(kMoves));
}

TEST_F(EditorTest, PlacingTheCaretOfAnEditorWithoutTheCaretMovesNoOtherCaret) {
    TTestEditor* first = Place<TTestEditor>(10, 10, 150, 100);
    TTestEditor* second = Place<TTestEditor>(200, 10, 150, 100);
    ShowText(first, {"abc", "def"});
    ShowText(second, {"abc", "def"});
    first->SetFocus();
    first->CaretOn();
    const POINT before = CaretCorner();
    second->SetCaretPos(2, 1);
    EXPECT_EQ(CaretCorner().x, before.x);
    EXPECT_EQ(CaretCorner().y, before.y);
}
