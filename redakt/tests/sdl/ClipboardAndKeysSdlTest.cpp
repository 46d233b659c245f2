// The editor's clipboard and editing keys in a real window: a copied block
// reaches the desktop's clipboard as UTF-8 text with LF line ends, desktop
// text with accented letters and a tab pastes in as code-page lines, and the
// bookmarks, the overwrite caret, a selection filled to the margin and a
// pasted block show as the layer drew them. Pictures are saved for looking
// at (SaveTestPicture's folder). Needs a display (CI runs it under
// xvfb-run); skips itself when DISPLAY is unset.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RedaktSdlFixture.h"
#include "TextEditor.h"
#include "display/TestPicture.h"

namespace {

class ClipboardAndKeysSdlTest : public RedaktSdlTest {
protected:
    void SetUp() override {
        RedaktSdlTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        form->SetBounds(60, 60, 620, 420);
        form->SetText("Redakt clipboard and keys");
        editor = new TTextEditor(form);
        editor->SetBounds(10, 10, 590, 360);
        editor->SetParent(form);
        editor->SetFontSize(10);
        editor->SetShowLineNumbers(true);
        editor->SetShowMargin(true);
        editor->SetMarginPos(40);
        TStringContainer text;
        // "árvíztűrő tükörfúrógép" in the code page, then plain lines.
        text.Add("\xE1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p");
        for (int i = 1; i < 16; ++i) text.Add("line " + std::to_string(i) + " of the text");
        editor->NewStrings(text);
        form->Show();
        Settle();
        editor->SetFocus();
        Settle();
    }
    std::string Picture(const std::string& label) {
        const std::string picture = win32::SaveTestPicture(form->GetHandle(), label);
        EXPECT_FALSE(picture.empty());
        std::printf("picture: %s\n", picture.c_str());
        return picture;
    }

    TTextEditor* editor = nullptr;
};

std::string DesktopText() {
    char* text = SDL_GetClipboardText();
    std::string copy = text != nullptr ? text : "";
    SDL_free(text);
    return copy;
}

}  // namespace

TEST_F(ClipboardAndKeysSdlTest, CopyAndPasteGoThroughTheDesktopClipboard) {
    editor->selection = TTextEditorSelection{0, 0, 0, 0, 2};
    editor->Copy();
    EXPECT_EQ(
        DesktopText(),
        "\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91 t\xC3\xBCk\xC3\xB6rf\xC3\xBAr\xC3\xB3g\xC3\xA9p\nline 1 of the text\n");

    // "első sor", then a tab and "második" from the desktop, at the caret.
    ASSERT_EQ(SDL_SetClipboardText("els\xC5\x91 sor\n\tm\xC3\xA1sodik\n"), 0);
    editor->selection = TTextEditorSelection{};
    editor->SetCursorPosX(0);
    editor->SetCursorPosY(4);
    editor->Paste();
    EXPECT_EQ(editor->lines[4].str(), "els\xF5 sor");
    EXPECT_EQ(editor->lines[5].str(), "        m\xE1sodik");
    EXPECT_EQ(editor->lines[6].str(), "line 4 of the text");
    EXPECT_EQ(editor->selection.selStartLine, 4);
    EXPECT_EQ(editor->selection.selEndLine, 6);
    ExpectPresentedEqualsFullRepaint(editor, "the pasted block");
    Picture("pasted");
}

TEST_F(ClipboardAndKeysSdlTest, BookmarksTheOverwriteCaretAndAFillToTheMarginShow) {
    for (int line : {1, 3, 8}) {
        editor->SetCursorPosY(line);
        editor->MakeMarker(line);
    }
    editor->SetCursorPosY(3);
    editor->SetCursorPosX(editor->lines[3].Length());
    editor->selection = TTextEditorSelection{editor->GetCurCol(), editor->GetCurCol(), 3, 3, 3};
    editor->EndPress(TShiftState{ssShift});  // fills line 3 to the margin and selects the fill
    EXPECT_EQ(editor->lines[3].Length(), 40);
    EXPECT_EQ(editor->GetCurCol(), 40);
    editor->SetCursorPosY(6);
    editor->SetCursorPosX(5);
    editor->InsertPress(TShiftState{});  // overwrite mode: a block caret
    editor->SetCaretPos(editor->GetCurCol(), editor->GetCurLine());
    EXPECT_EQ(editor->GetEditMode(), emOverwrite);
    ExpectPresentedEqualsFullRepaint(editor, "bookmarks, fill and caret");
    Picture("bookmarks and fill");

    editor->NextMarker();
    EXPECT_EQ(editor->GetCurLine(), 8);
    editor->HomePress(TShiftState{ssCtrl, ssShift});
    EXPECT_EQ(editor->selection.selEndLine, 8);
    ExpectPresentedEqualsFullRepaint(editor, "lines above selected");
    Picture("lines above selected");
}
