// The go-to-line dialog in a real window, in English and in Hungarian: Alt+g
// opens it over the editor, the entry is typed and Enter answers it, all fed
// as SDL events; the editor then shows the line half a page from the edge.
// Pictures are saved for looking at (SaveTestPicture's folder). Needs a
// display (CI runs it under xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ComboBox.h"
#include "Langtable.h"
#include "RedaktSdlFixture.h"
#include "Responder.h"
#include "TextEditor.h"
#include "TextEditorGoToLineDlg.h"
#include "TextEditorTexts.h"
#include "display/TestPicture.h"

namespace {

// What the responder saw of the dialog before the keys answered it.
struct TSeenDialog {
    std::string caption;
    std::string picture;
    bool caretInEditor = true;
};

class GoToLineSdlTest : public RedaktSdlTest {
protected:
    void SetUp() override {
        RedaktSdlTest::SetUp();
        if (IsSkipped()) return;
        table = UseTextEditorLangTable();
        ASSERT_NE(table, nullptr);
        previousLanguage = table->GetLang();
        editor = new TTextEditor(form);
        editor->SetBounds(10, 10, 740, 510);
        editor->SetParent(form);
        editor->SetFontSize(10);
        editor->SetShowLineNumbers(true);
        TStringContainer text;
        for (int i = 0; i < 300; ++i)
            text.Add(TString("line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog"));
        editor->NewStrings(text);
        form->Show();
        Settle();
        editor->SetFocus();
        Settle();
    }
    void TearDown() override {
        if (table != nullptr) table->SetLang(previousLanguage);
        RedaktSdlTest::TearDown();
    }

    // Alt+g, then the responder looks at the dialog, saves its picture and
    // lets it run: the entry is typed into it and Enter pressed.
    TSeenDialog GoToLineByKeys(const std::string& label, const char* entry) {
        TSeenDialog seen;
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            Settle();
            seen.caption = interaction.caption;
            seen.caretInEditor = CaretWindow() == editor->GetHandle();
            seen.picture = win32::SaveTestPicture(interaction.window, label);
            std::printf("picture: %s\n", seen.picture.c_str());
            PushText(interaction.window, entry);
            PushKey(interaction.window, SDLK_RETURN, SDL_SCANCODE_RETURN);
            CloseUnlessEnded(interaction.window);
            return win32::ModalReply::Run();
        });
        HWND top = form->GetHandle();
        SDL_Event alt = win32::SdlKeyEvent(top, SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT);
        EXPECT_EQ(SDL_PushEvent(&alt), 1) << SDL_GetError();
        PushKey(top, SDLK_g, SDL_SCANCODE_G, KMOD_LALT);
        alt = win32::SdlKeyEvent(top, SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT);
        EXPECT_EQ(SDL_PushEvent(&alt), 1) << SDL_GetError();
        Settle();
        return seen;
    }

    static HWND CaretWindow() {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(0, &info) ? info.hwndCaret : nullptr;
    }

    TLangTable* table = nullptr;
    int previousLanguage = 0;
    TTextEditor* editor = nullptr;
};

}  // namespace

TEST_F(GoToLineSdlTest, AltGAsksForTheLineAndTheKeysAnswerInBothLanguages) {
    const struct {
        int language;
        const char* name;
        const char* caption;
        const char* entry;
        int line;
    } kRuns[] = {
        {0, "english", "Go to line", "50%", 150},
        {1, "hungarian", "Ugr\xE1s sorra", "10%", 30},
    };
    const int rows = editor->GetClientHeight() / editor->GetLineHeight();
    const int half = (rows - 1) / 2;
    TTextEditorGoToLineDlg* dialog = SharedGoToLineDlg();
    ASSERT_NE(dialog, nullptr);
    dialog->cmbSorszam->GetItems()->Clear();
    for (const auto& run : kRuns) {
        table->SetLang(run.language);
        table->SetText(dialog);
        const TSeenDialog seen = GoToLineByKeys(std::string("dialog.") + run.name, run.entry);
        EXPECT_EQ(seen.caption, run.caption);
        EXPECT_FALSE(seen.picture.empty());
        EXPECT_FALSE(seen.caretInEditor) << "the caret is off while the dialog shows";
        EXPECT_FALSE(IsWindowVisible(dialog->GetHandle()));
        EXPECT_EQ(editor->GetCurLine(), run.line) << run.name;
        // Down from the top the line lands half a page above the bottom; up
        // from below, half a page under the top.
        const int expectedTop = run.language == 0 ? run.line - (rows - 1) + half : run.line - half;
        EXPECT_EQ(editor->GetVPos(), expectedTop) << run.name;
        EXPECT_EQ(CaretWindow(), editor->GetHandle()) << "the caret is back";
        ExpectPresentedEqualsFullRepaint(editor, std::string("after going to the line, ") + run.name);
        std::printf("picture: %s\n", win32::SaveTestPicture(form->GetHandle(), std::string("after.") + run.name).c_str());
    }
    EXPECT_EQ(dialog->cmbSorszam->GetItems()->GetCount(), 2);
}
