// Search and replace in a real window: the search dialog over an editor,
// opened by Ctrl+F and answered by typed text and Enter fed as SDL events,
// F3 to the next hit, and the replace prompt
// under a hit in a scrolled view, answered by Enter and Esc. Pictures are
// saved for looking at (SaveTestPicture's folder), and with SUITE_SCREENSHOT
// set the search dialog goes to that file and the prompt to the same name
// with ".prompt" before its extension. Needs a display (CI runs it under
// xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Buttons.h"
#include "ComboBox.h"
#include "RedaktSdlFixture.h"
#include "Responder.h"
#include "TextEditor.h"
#include "TextEditorSearchDlg.h"
#include "display/TestPicture.h"

namespace {

// SUITE_SCREENSHOT's file, with suffix before its extension; "" when unset.
std::string ScreenshotPath(const std::string& suffix) {
    const char* path = std::getenv("SUITE_SCREENSHOT");
    if (path == nullptr || *path == '\0') return "";
    std::string file = path;
    const size_t dot = file.rfind('.');
    return dot == std::string::npos ? file + suffix : file.substr(0, dot) + suffix + file.substr(dot);
}

class SearchSdlTest : public RedaktSdlTest {
protected:
    void SetUp() override {
        RedaktSdlTest::SetUp();
        if (IsSkipped()) return;
        editor = new TTextEditor(form);
        editor->SetBounds(10, 10, 740, 510);
        editor->SetParent(form);
        editor->SetFontSize(10);
        editor->SetShowLineNumbers(true);
        TStringContainer text;
        for (int i = 0; i < 200; ++i)
            text.Add(TString("line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog" +
                             (i % 40 == 33 ? std::string(70, ' ') + "needle, then more text" : "")));
        editor->NewStrings(text);
        form->Show();
        Settle();
        editor->SetFocus();
        Settle();
    }

    // Saves what the responder sees: the test picture, and the screenshot when asked.
    std::string Picture(HWND window, const std::string& label, const std::string& screenshotSuffix) {
        Settle();
        const std::string picture = win32::SaveTestPicture(window, label);
        std::printf("picture: %s\n", picture.c_str());
        const std::string screenshot = ScreenshotPath(screenshotSuffix);
        if (!screenshot.empty()) {
            EXPECT_TRUE(win32::SaveWindowPicture(window, screenshot.c_str()));
        }
        return picture;
    }

    TTextEditor* editor = nullptr;
};

}  // namespace

TEST_F(SearchSdlTest, TheSearchDialogOverTheEditorTakesTheTypedTextAndEnter) {
    TTextEditorSearchDlg* dialog = SharedSearchDlg();
    ASSERT_NE(dialog, nullptr);
    dialog->cmbText->SetText("");
    editor->searchInfo->text.Clear();
    std::string caption, picture;
    RECT placed{};
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::MessageBox) return win32::ModalReply::Answer(IDOK);
        caption = interaction.caption;
        PushText(interaction.window, "NEEDLE");
        Settle();
        GetWindowRect(interaction.window, &placed);
        picture = Picture(interaction.window, "dialog", "");
        PushKey(interaction.window, SDLK_RETURN, SDL_SCANCODE_RETURN);
        CloseUnlessEnded(interaction.window);
        return win32::ModalReply::Run();
    });
    HWND top = form->GetHandle();
    SDL_Event control = win32::SdlKeyEvent(top, SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL);
    EXPECT_EQ(SDL_PushEvent(&control), 1) << SDL_GetError();
    PushKey(top, SDLK_f, SDL_SCANCODE_F, KMOD_LCTRL);
    control = win32::SdlKeyEvent(top, SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL);
    EXPECT_EQ(SDL_PushEvent(&control), 1) << SDL_GetError();
    Settle();
    EXPECT_EQ(caption, "Search text");
    EXPECT_FALSE(picture.empty());
    EXPECT_FALSE(IsWindowVisible(dialog->GetHandle()));
    // Centred over the editor.
    RECT editorRect{};
    GetWindowRect(editor->GetHandle(), &editorRect);
    EXPECT_LE(std::abs((placed.left + placed.right) - (editorRect.left + editorRect.right)), 2);
    EXPECT_LE(std::abs((placed.top + placed.bottom) - (editorRect.top + editorRect.bottom)), 2);
    // Case-blind, from the cursor: the first needle, selected, the caret after it.
    const TTextEditorSelection& s = editor->selection;
    EXPECT_EQ(s.selLine, 33);
    EXPECT_EQ(editor->GetCurLine(), 33);
    EXPECT_EQ(s.selEndCol - s.selStartCol, 6);
    EXPECT_EQ(editor->GetCurCol(), s.selEndCol);
    ExpectPresentedEqualsFullRepaint(editor, "the hit selected");
    std::printf("picture: %s\n", win32::SaveTestPicture(form->GetHandle(), "hit").c_str());
    // F3 finds the next one.
    PushKey(top, SDLK_F3, SDL_SCANCODE_F3);
    Settle();
    EXPECT_EQ(editor->GetCurLine(), 73);
    EXPECT_EQ(s.selLine, 73);
}

TEST_F(SearchSdlTest, TheReplacePromptOpensUnderTheHitInAScrolledViewAndTheKeysAnswerIt) {
    editor->SetVPos(60);
    editor->SetHPos(30);
    editor->SetCursorPosX(0);
    editor->SetCursorPosY(70);
    editor->selection = {0, 0, 70, 70, 70};
    Settle();
    TTextEditorReplaceDlg* dialog = SharedReplaceDlg();
    TTextEditorReplacePromptDlg* prompt = SharedReplacePromptDlg();
    ASSERT_TRUE(dialog != nullptr && prompt != nullptr);
    int prompts = 0;
    RECT promptRect{}, hitOnScreen{};
    POINT view{};
    std::string picture;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::MessageBox) return win32::ModalReply::Answer(IDOK);
        if (interaction.window == dialog->GetHandle()) {
            dialog->cmbText->SetText("needle");
            dialog->cmbReplaceText->SetText("pin");
            dialog->cbPromptOnReplace->SetChecked(true);
            dialog->rbForward->SetChecked(true);
            dialog->rbEntire->SetChecked(true);
            dialog->rbCurPos->SetChecked(true);
            Settle();
            dialog->Button4->Click();
            return win32::ModalReply::Run();
        }
        if (++prompts == 1) {
            Settle();
            GetWindowRect(interaction.window, &promptRect);
            view = POINT{editor->GetHPos(), editor->GetVPos()};
            const TTextEditorSelection& s = editor->selection;
            const int w = editor->GetCharWidth(), h = editor->GetLineHeight();
            POINT topLeft{(s.selStartCol - view.x) * w + editor->GetColGap(), (s.selLine - view.y) * h};
            POINT bottomRight{(s.selEndCol - view.x) * w + editor->GetColGap() - 1, (s.selLine + 1 - view.y) * h - 1};
            ClientToScreen(editor->GetHandle(), &topLeft);
            ClientToScreen(editor->GetHandle(), &bottomRight);
            hitOnScreen = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
            // The whole screen area around the editor's form with the prompt on top.
            picture = Picture(form->GetHandle(), "form", ".form");
            Picture(interaction.window, "prompt", ".prompt");
            RECT formRect{};
            GetWindowRect(form->GetHandle(), &formRect);
            std::printf("prompt at %d, %d in the form's picture\n", static_cast<int>(promptRect.left - formRect.left),
                        static_cast<int>(promptRect.top - formRect.top));
        }
        PushKey(interaction.window, prompts == 1 ? SDLK_RETURN : SDLK_ESCAPE,
                prompts == 1 ? SDL_SCANCODE_RETURN : SDL_SCANCODE_ESCAPE);
        CloseUnlessEnded(interaction.window);
        return win32::ModalReply::Run();
    });
    editor->Replace();
    Settle();
    EXPECT_EQ(prompts, 2) << "Enter answered the first, Esc stopped at the second";
    EXPECT_FALSE(picture.empty());
    EXPECT_GT(view.x, 0);
    EXPECT_GT(view.y, 0);
    EXPECT_EQ(promptRect.left, hitOnScreen.left);
    EXPECT_EQ(promptRect.top, hitOnScreen.bottom);
    EXPECT_NE(editor->lines[73].str().find("pin, then"), std::string::npos);
    EXPECT_NE(editor->lines[113].str().find("needle, then"), std::string::npos);
    EXPECT_EQ(editor->GetCurLine(), 70) << "the caret is back";
    ExpectPresentedEqualsFullRepaint(editor, "after the replace");
    std::printf("picture: %s\n", win32::SaveTestPicture(form->GetHandle(), "after").c_str());
}
