// The text editor's mouse and its insert-text dialog in a real window: a drag
// sent through the X server (xdotool) selects lines, and the dialog shows
// over the editor. Pictures are saved for looking at (SaveTestPicture's
// folder). Needs a display and xdotool (CI runs it under xvfb-run); skips
// itself without either.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ComboBox.h"
#include "RedaktSdlFixture.h"
#include "Responder.h"
#include "TextEditor.h"
#include "TextEditorLineInsertTextDlg.h"
#include "display/TestPicture.h"

namespace {

const char* const kCaption = "Redakt mouse selection";

class RedaktMouseWindowTest : public RedaktSdlTest {
protected:
    void SetUp() override {
        RedaktSdlTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        form->SetBounds(60, 60, 560, 400);
        form->SetText(kCaption);
        editor = new TTextEditor(form);
        editor->SetBounds(10, 10, 530, 340);
        editor->SetParent(form);
        editor->SetFontSize(10);
        editor->SetShowLineNumbers(true);
        TStringContainer text;
        for (int i = 0; i < 14; ++i) text.Add("line " + std::to_string(i) + ": the quick brown fox jumps");
        editor->NewStrings(text);
        form->Show();
        Settle();
    }
    // The middle of a character cell in the coordinates of the top-level
    // window, which are those of its X window.
    POINT WindowPoint(int col, int line) {
        const int w = editor->GetCharWidth(), h = editor->GetLineHeight();
        POINT point{editor->GetColGap() + col * w + w / 2, line * h + h / 2};
        ClientToScreen(editor->GetHandle(), &point);
        RECT frame{};
        GetWindowRect(form->GetHandle(), &frame);
        return POINT{point.x - frame.left, point.y - frame.top};
    }

    TTextEditor* editor = nullptr;
};

std::string MoveTo(const std::string& window, POINT point) {
    return " mousemove --sync --window " + window + " " + std::to_string(point.x) + " " + std::to_string(point.y);
}

}  // namespace

TEST_F(RedaktMouseWindowTest, ADragThroughTheXServerSelectsTheLinesPassed) {
    if (std::system("command -v xdotool > /dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
    const std::string window = XWindowOf(kCaption);
    ASSERT_FALSE(window.empty()) << "the form's X window was not found";
    const POINT from = WindowPoint(6, 3), middle = WindowPoint(9, 5), to = WindowPoint(12, 6);
    // The pointer enters first, so that the window's focus has settled
    // before the editor takes it; a press into an unfocused editor would
    // only focus it.
    ASSERT_EQ(std::system(("timeout 10 xdotool" + MoveTo(window, from)).c_str()), 0);
    Settle();
    editor->SetFocus();
    Settle();
    ASSERT_TRUE(editor->Focused());
    const std::string drag = "timeout 10 xdotool mousedown 1 sleep 0.05" + MoveTo(window, middle) + " sleep 0.05" +
                             MoveTo(window, to) + " sleep 0.05 mouseup 1";
    ASSERT_EQ(std::system(drag.c_str()), 0);
    Settle();
    EXPECT_EQ(editor->selection.selStartLine, 3);
    EXPECT_EQ(editor->selection.selEndLine, 6);
    EXPECT_EQ(editor->GetCurLine(), 6);
    EXPECT_EQ(editor->GetCurCol(), 12);
    EXPECT_FALSE(editor->mouseSelecting);
    const std::string picture = win32::SaveTestPicture(form->GetHandle(), "drag");
    EXPECT_FALSE(picture.empty());
    std::printf("picture: %s\n", picture.c_str());
}

TEST_F(RedaktMouseWindowTest, TheInsertTextDialogShowsOverTheEditor) {
    std::string picture;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind != win32::ModalKind::Form) return win32::ModalReply::Answer(mrCancel);
        TTextEditorLineInsertTextDlg* dialog = SharedLineInsertTextDlg();
        dialog->cmbText->SetText("-> ");
        dialog->cmbMode->SetItemIndex(1);
        dialog->cmbModeClick(dialog->cmbMode);
        dialog->cmbPosition->SetText("8");
        Settle();
        picture = win32::SaveTestPicture(interaction.window, "dialog");
        driver->SetAutoPump(false);
        driver->Press(VK_RETURN);
        return win32::ModalReply::Run();
    });
    editor->SetFocus();
    editor->LineInsertText();
    driver->SetAutoPump(true);
    Settle();
    EXPECT_FALSE(picture.empty());
    std::printf("picture: %s\n", picture.c_str());
    EXPECT_EQ(editor->lines[0].str(), "line 0: -> the quick brown fox jumps");
    EXPECT_FALSE(win32::SaveTestPicture(form->GetHandle(), "inserted").empty());
}
