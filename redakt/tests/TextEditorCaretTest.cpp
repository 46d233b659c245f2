// The system caret of the editor, read through the thread's GUI information:
// made and destroyed, its shape by typing mode, and its visibility.
#include "RedaktFixture.h"

namespace {

GUITHREADINFO CaretInfo() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(0, &info);
    return info;
}

bool Shows(const GUITHREADINFO& info) { return (info.flags & GUI_CARETBLINKING) != 0; }

}  // namespace

TEST_F(EditorTest, CaretOnMakesTheCaretOfAVisibleEditorAndCaretOffDestroysIt) {
    TTestEditor* editor = Place<TTestEditor>();
    editor->CaretOn();
    GUITHREADINFO info = CaretInfo();
    EXPECT_EQ(info.hwndCaret, editor->GetHandle());
    EXPECT_TRUE(Shows(info));
    EXPECT_EQ(info.rcCaret.right - info.rcCaret.left, 1);  // insert mode: a bar
    EXPECT_EQ(info.rcCaret.bottom - info.rcCaret.top, editor->GetLineHeight());
    EXPECT_EQ(info.rcCaret.left, editor->GetColGap());
    editor->CaretOff();
    EXPECT_EQ(CaretInfo().hwndCaret, nullptr);

    editor->EditMode = emOverwrite;
    editor->CaretOn();
    info = CaretInfo();
    EXPECT_EQ(info.rcCaret.right - info.rcCaret.left, editor->GetCharWidth());  // a block
    editor->Hide();
    editor->CaretOff();  // a hidden editor leaves the caret alone
    EXPECT_EQ(CaretInfo().hwndCaret, editor->GetHandle());
}

TEST_F(EditorTest, AReadOnlyCaretIsMadeButNeverShown) {
    TTestEditor* editor = Place<TTestEditor>();
    ShowText(editor, {"some text"});
    editor->SetReadOnly(true);
    editor->CaretOn();
    EXPECT_EQ(CaretInfo().hwndCaret, editor->GetHandle());
    EXPECT_FALSE(Shows(CaretInfo()));
    editor->Repaint();
    driver.PumpUntilIdle();
    EXPECT_FALSE(Shows(CaretInfo()));
    editor->ScrollClientArea(SB_VERT, 0);
    EXPECT_FALSE(Shows(CaretInfo()));
}

TEST_F(EditorTest, TheCaretShowsAgainAfterPaintAndAfterAScroll) {
    TTestEditor* editor = Place<TTestEditor>();
    std::vector<std::string> text(100, "line");
    ShowText(editor, text);
    editor->CaretOn();
    editor->Repaint();
    driver.PumpUntilIdle();
    EXPECT_TRUE(Shows(CaretInfo()));
    editor->Paint();  // also when painted directly, outside the paint cycle
    EXPECT_TRUE(Shows(CaretInfo()));
    const int top = CaretInfo().rcCaret.top;
    editor->SetVPos(1);
    EXPECT_TRUE(Shows(CaretInfo()));
    EXPECT_EQ(CaretInfo().rcCaret.top, top - editor->GetLineHeight());  // it moved with the pixels
    editor->ScrollClientArea(SB_VERT, 1);
    EXPECT_TRUE(Shows(CaretInfo()));
}

TEST_F(EditorTest, RefreshCaretPlacesTheNewCaretAtTheCaretPosition) {
    TTestEditor* editor = Place<TTestEditor>();
    ShowText(editor, {"abcdef", "ghijkl"});
    editor->SetFocus();
    editor->SetCurLine(1);
    editor->SetCurCol(4);
    editor->RefreshCaret();
    const GUITHREADINFO info = CaretInfo();
    EXPECT_EQ(info.rcCaret.left, 4 * editor->GetCharWidth() + editor->GetColGap());
    EXPECT_EQ(info.rcCaret.top, editor->GetLineHeight());
    EXPECT_TRUE(Shows(info));
}

TEST_F(EditorTest, NewTextGivesAFocusedEditorTheInsertModeBar) {
    TTestEditor* editor = Place<TTestEditor>();
    editor->SetFocus();
    editor->EditMode = emOverwrite;
    editor->CaretOn();
    ASSERT_EQ(CaretInfo().rcCaret.right - CaretInfo().rcCaret.left, editor->GetCharWidth());
    TStringContainer text;
    text.Add("new");
    editor->NewStrings(text);
    EXPECT_EQ(CaretInfo().rcCaret.right - CaretInfo().rcCaret.left, 1);
    EXPECT_TRUE(Shows(CaretInfo()));
}
