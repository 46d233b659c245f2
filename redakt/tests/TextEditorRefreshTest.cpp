// Bringing the view up to date: repainting the visible lines, moving
// bookmarks, resetting the view after new text, the horizontal range and
// placing dialogs over the editor.
#include <string>
#include <vector>

#include "RedaktFixture.h"

TEST_F(EditorTest, NewTextResetsCaretViewModeAndModified) {
    TTestEditor* editor = Place<TTestEditor>();
    editor->RefreshSettings(true, true);
    EXPECT_EQ(editor->GetVMax(), 0);  // not -1 for an empty text
    EXPECT_EQ(editor->GetHMax(), 0);

    std::vector<std::string> old(200, std::string(90, 'o'));
    ShowText(editor, old);
    editor->SetVPos(50);
    editor->SetHPos(20);
    editor->SetCurLine(60);
    editor->SetCurCol(30);
    editor->EditMode = emOverwrite;
    editor->selection = TTextEditorSelection{1, 2, 3, 4, 9};
    editor->SetModified(true);
    TStringContainer text;
    text.Add("a\tb");
    text.Add("longest line here");
    editor->NewStrings(text);
    EXPECT_EQ(editor->GetCurLine(), 0);
    EXPECT_EQ(editor->GetCurCol(), 0);
    EXPECT_EQ(editor->prevLine, 0);
    EXPECT_EQ(editor->prevCol, 0);
    EXPECT_EQ(editor->GetVPos(), 0);
    EXPECT_EQ(editor->GetHPos(), 0);
    EXPECT_EQ(editor->GetVMax(), 1);
    EXPECT_EQ(editor->GetHMax(), 17);
    EXPECT_FALSE(editor->GetModified());
    EXPECT_EQ(editor->GetEditMode(), emInsert);
    EXPECT_EQ(editor->selection.selStartLine, editor->selection.selEndLine);
    EXPECT_EQ(editor->selection.selStartCol, editor->selection.selEndCol);
    EXPECT_EQ(editor->lines[0].str(), "a       b");  // tabs expanded
    EXPECT_EQ(text[0].str(), "a\tb");                // the source stays as it was
}

TEST_F(EditorTest, TheHorizontalRangeOnlyWidens) {
    TTestEditor* editor = Place<TTestEditor>();
    ShowText(editor, {"0123456789"});
    EXPECT_EQ(editor->GetMaxLineLength(), 10);
    editor->SetHMax(TString("abc"));
    EXPECT_EQ(editor->GetHMax(), 10);
    editor->SetHMax(TString(std::string(25, 'x')));
    EXPECT_EQ(editor->GetHMax(), 25);
}

TEST(TextEditorRefresh, BookmarksFromALineOnMoveByTheDelta) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    for (TEXT_EDITOR_MARKER marker : {TEXT_EDITOR_MARKER{5, 1}, TEXT_EDITOR_MARKER{4, 2}, TEXT_EDITOR_MARKER{9, 3},
                                      TEXT_EDITOR_MARKER{-1, 4}})
        editor.markers += marker;
    editor.RefreshMarkers(5, -2);
    EXPECT_EQ(editor.markers[0].line, 3);
    EXPECT_EQ(editor.markers[1].line, 4);
    EXPECT_EQ(editor.markers[2].line, 7);
    EXPECT_EQ(editor.markers[3].line, -1);  // unset stays unset
}

TEST_F(EditorTest, RefreshLinesRepaintsTheVisibleLinesOnly) {
    TTestEditor* editor = Place<TTestEditor>();
    std::vector<std::string> text(300, "line");
    ShowText(editor, text);
    editor->SetVPos(100);
    driver.PumpUntilIdle();
    const int visible = editor->GetClientHeight() / editor->GetLineHeight();
    editor->painted.clear();
    editor->RefreshLines(-1);
    ASSERT_EQ(editor->painted.size(), size_t(visible + 1));
    EXPECT_EQ(editor->painted.front(), 100);
    editor->painted.clear();
    editor->RefreshLines(0);  // from line 0: only what the view shows
    EXPECT_EQ(editor->painted.front(), 100);
    EXPECT_LE(editor->painted.size(), size_t(visible + 1));
    editor->painted.clear();
    editor->RefreshLines(105);
    EXPECT_EQ(editor->painted.front(), 105);
    EXPECT_EQ(editor->painted.back(), editor->painted.front() + int(editor->painted.size()) - 1);
    // Past the text's end one empty line is painted, to clear a removed one.
    editor->SetVPos(0);
    ShowText(editor, {"a", "b"});
    editor->painted.clear();
    editor->RefreshLines(-1);
    EXPECT_EQ(editor->painted, (std::vector<int>{0, 1, 2}));
}

TEST_F(EditorTest, DialogsAreCentredOverTheEditorInScreenCoordinates) {
    TTestEditor* editor = Place<TTestEditor>(30, 20, 301, 151);
    const POINT origin = form->ClientToScreen(POINT{30, 20});
    ASSERT_NE(origin.x, 30);  // the form's client area is not at the screen's origin
    const struct {
        int width, height;
    } kDialogs[] = {{100, 50}, {120, 80}, {400, 300}};  // odd differences, larger than the editor
    for (const auto& size : kDialogs) {
        TForm dialog(nullptr, 1);
        dialog.SetBounds(0, 0, size.width, size.height);
        editor->SetupDlgPos(&dialog);
        EXPECT_EQ(dialog.GetLeft(), origin.x + (301 - size.width) / 2) << size.width;
        EXPECT_EQ(dialog.GetTop(), origin.y + (151 - size.height) / 2) << size.height;
    }
    editor->SetupDlgPos(nullptr);
}
