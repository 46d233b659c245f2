// The settings dialog in a real window over an editor holding a C source:
// opened by Ctrl+Q then S, each of its five pages shown and saved as a picture
// (the colour list dropped down too), a bold word typed and added with
// Alt+N, and Enter answering OK, all fed as SDL events. Pictures are saved
// for looking at (SaveTestPicture's folder), and with SUITE_SCREENSHOT set
// each page goes to that file's name with ".<page>" before its extension.
// The pages are shown in Hungarian too.
// Needs a display (CI runs it under xvfb-run); skips itself when DISPLAY is
// unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Edit.h"
#include "GraphObjectComboBox.h"
#include "Langtable.h"
#include "ListBox.h"
#include "RedaktSdlFixture.h"
#include "Responder.h"
#include "TabControls.h"
#include "TextEditor.h"
#include "TextEditorSetupDlg.h"
#include "TextEditorTexts.h"
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

std::vector<std::string> Words(const TStringContainer& words) {
    std::vector<std::string> texts;
    for (int i = 0; i < words.GetCount(); ++i) texts.push_back(words[i].str());
    return texts;
}

// An editor holding a C source with the C scheme current, on the shown form.
class SetupSdlTest : public RedaktSdlTest {
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
        for (const char* line : {"#include <stdio.h>", "", "// Counts the arguments.",
                                 "int main(int argc, char** argv) {", "    int count = 0;",
                                 "    while (count < argc) count++;", "    printf(\"%d arguments\\n\", count);",
                                 "    return 0;", "}"})
            text.Add(TString(line));
        editor->NewStrings(text);
        for (const char* name : {"CPP;H;C", "PAS", "JAVA"}) editor->schemes.NewItem()->extensions = TString(name);
        TTextEditorScheme& c = editor->schemes[1];
        editor->InitProgLangScheme(&c);
        for (const char* word : {"int", "char", "while", "return", "include"}) c.boldWords.Add(TString(word));
        editor->SetScheme(1);
        editor->SetColGap(editor->GetLineHeight() + 2);
        form->Show();
        Settle();
        editor->SetFocus();
        Settle();
        dialog = SharedSetupDlg();
        ASSERT_NE(dialog, nullptr);
    }

    // Shows each page in turn and saves its picture as <prefix><page>; the
    // colour page with the comments' colour, and its list dropped down too.
    // beforePicture runs on each page first.
    void SavePages(HWND window, const std::string& prefix, const std::function<void()>& beforePicture) {
        const char* const kPages[] = {"editor", "appearance", "colors", "bold-words", "schemes"};
        for (int page = 0; page < 5; ++page) {
            dialog->pcTemak->SetActivePageIndex(page);
            if (dialog->pcTemak->OnChange) dialog->pcTemak->OnChange(dialog->pcTemak);
            if (dialog->pcTemak->GetActivePage() == dialog->tsSzinek) {
                dialog->lbElem->SetItemIndex(7);  // comments
                dialog->lbElem->OnClick(dialog->lbElem);
            }
            if (beforePicture) beforePicture();
            Settle();
            const std::string label = prefix + kPages[page];
            pictures.push_back(win32::SaveTestPicture(window, label));
            std::printf("picture: %s\n", pictures.back().c_str());
            if (const std::string path = ScreenshotPath("." + label); !path.empty()) {
                EXPECT_TRUE(win32::SaveWindowPicture(window, path.c_str()));
            }
            if (dialog->pcTemak->GetActivePage() != dialog->tsSzinek) continue;
            dialog->cmbElemszin->SetDroppedDown(true);
            Settle();
            if (TWinControl* list = dialog->cmbElemszin->GetDropList()) {
                pictures.push_back(win32::SaveTestPicture(list->GetHandle(), prefix + "colour-list"));
                std::printf("picture: %s\n", pictures.back().c_str());
            }
            dialog->cmbElemszin->SetDroppedDown(false);
            Settle();
        }
    }

    TTextEditor* editor = nullptr;
    TTextEditorSetupDlg* dialog = nullptr;
    std::vector<std::string> pictures;
};

}  // namespace

TEST_F(SetupSdlTest, TheSettingsDialogShowsItsFivePagesAndTakesAWordTypedIntoIt) {
    std::string caption;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::MessageBox) return win32::ModalReply::Answer(IDOK);
        caption = interaction.caption;
        SavePages(interaction.window, "", [&] {
            if (dialog->pcTemak->GetActivePage() != dialog->tsKiemeltSzavak) return;
            // A word typed and added with Alt+N.
            dialog->edWord->SetFocus();
            PushText(interaction.window, "printf");
            SDL_Event alt = win32::SdlKeyEvent(interaction.window, SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT);
            EXPECT_EQ(SDL_PushEvent(&alt), 1) << SDL_GetError();
            PushKey(interaction.window, SDLK_n, SDL_SCANCODE_N, KMOD_LALT);
            alt = win32::SdlKeyEvent(interaction.window, SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT);
            EXPECT_EQ(SDL_PushEvent(&alt), 1) << SDL_GetError();
        });
        // Enter answers OK from the word box.
        dialog->pcTemak->SetActivePage(dialog->tsKiemeltSzavak);
        dialog->edWord->SetFocus();
        PushKey(interaction.window, SDLK_RETURN, SDL_SCANCODE_RETURN);
        CloseUnlessEnded(interaction.window);
        return win32::ModalReply::Run();
    });
    // Ctrl+Q, then S.
    HWND top = form->GetHandle();
    SDL_Event control = win32::SdlKeyEvent(top, SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL);
    EXPECT_EQ(SDL_PushEvent(&control), 1) << SDL_GetError();
    PushKey(top, SDLK_q, SDL_SCANCODE_Q, KMOD_LCTRL);
    control = win32::SdlKeyEvent(top, SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL);
    EXPECT_EQ(SDL_PushEvent(&control), 1) << SDL_GetError();
    PushKey(top, SDLK_s, SDL_SCANCODE_S);
    Settle();
    EXPECT_EQ(caption, "Editor settings");
    ASSERT_EQ(pictures.size(), 6u);
    for (const std::string& picture : pictures) EXPECT_FALSE(picture.empty());
    EXPECT_FALSE(IsWindowVisible(dialog->GetHandle()));
    EXPECT_EQ(Words(editor->boldWords),
              (std::vector<std::string>{"int", "char", "while", "return", "include", "printf"}));
    EXPECT_EQ(Words(editor->schemes[1].boldWords), Words(editor->boldWords));
    EXPECT_EQ(editor->schemeIndex, 1);
    ExpectPresentedEqualsFullRepaint(editor, "after the dialog closed");
    std::printf("picture: %s\n", win32::SaveTestPicture(form->GetHandle(), "editor-after-ok").c_str());
}

// The same pages with the Hungarian texts, which are longer; Esc cancels.
TEST_F(SetupSdlTest, TheSettingsDialogShowsItsPagesInHungarian) {
    TLangTable* table = GetTextEditorLangTable();
    ASSERT_NE(table, nullptr);
    const int previous = table->GetLang();
    editor->SetLang(1);
    std::string caption;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::MessageBox) return win32::ModalReply::Answer(IDOK);
        caption = interaction.caption;
        SavePages(interaction.window, "hu-", nullptr);
        PushKey(interaction.window, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
        CloseUnlessEnded(interaction.window);
        return win32::ModalReply::Run();
    });
    editor->Setup();
    Settle();
    editor->SetLang(previous);
    EXPECT_EQ(caption, "Szerkeszt\xF5 be\xE1ll\xEDt\xE1sai");
    EXPECT_EQ(pictures.size(), 6u);
    EXPECT_FALSE(IsWindowVisible(dialog->GetHandle()));
    EXPECT_EQ(dialog->GetCaption(), "Editor settings");
}
