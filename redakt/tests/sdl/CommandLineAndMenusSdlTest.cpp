// The editor's command box, its "Invalid command" box and its two context
// menus in a real window, in English and in Hungarian, each answered by keys
// fed as SDL events, as a user's would be; pictures are saved for looking at
// (SaveTestPicture's folder), and the open command box over a scrolled view
// on request (SUITE_SCREENSHOT=<file.bmp>). Needs a display (CI runs it
// under xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../RecordingEditor.h"
#include "RedaktSdlFixture.h"
#include "Form.h"
#include "Langtable.h"
#include "Menus.h"
#include "Responder.h"
#include "Edit.h"
#include "TextEditorResultDlgs.h"
#include "TextEditorTexts.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"

namespace {

// What the responder saw of one interaction before the keys answered it.
struct TSeen {
    std::string caption;
    std::string text;
    UINT style = 0;
    std::vector<win32::ModalItem> items;
    std::string picture;
};

class CommandLineAndMenusSdlTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        setenv("SUITE_DISPLAY", "sdl", 1);
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        driver = std::make_unique<win32::TestDriver>();
        table = UseTextEditorLangTable();
        ASSERT_NE(table, nullptr);
        previousLanguage = table->GetLang();
        table->SetLang(GetParam());
        form = new TForm(nullptr, 1);
        form->SetBounds(60, 60, 640, 420);
        form->SetColor(clBtnFace);
        form->SetText("Text editor");
        editor = new TRecordingEditor(form);
        editor->SetBounds(10, 10, 610, 360);
        editor->SetParent(form);
        editor->SetFontSize(10);
        TStringContainer text;
        for (int i = 0; i < 60; ++i)
            text.Add(TString("line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog " +
                             std::to_string(i * 7)));
        editor->NewStrings(text);
        form->Show();
        Settle();
        editor->SetFocus();
        Settle();
    }
    void TearDown() override {
        delete form;
        driver.reset();
        if (table) table->SetLang(previousLanguage);
    }

    void Settle() { win32::SettleRealWindows(*driver); }
    std::string Language() const { return GetParam() == 0 ? "english" : "hungarian"; }
    void Key(HWND window, SDL_Keycode sym, SDL_Scancode scancode) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event event = win32::SdlKeyEvent(window, type, sym, scancode);
            ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        }
    }
    // A key that makes text comes with its text, as SDL delivers it.
    void Text(HWND window, const char* text) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = win32::SdlWindowIdOf(window);
        std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }
    // A responder that looks at each interaction, saves its picture and then
    // lets the interaction run, answered by the key (and its text). Should
    // the key not end it, a watchdog closes the interaction's window, so the
    // test fails instead of waiting for ever.
    win32::ModalResponder AnswerByKey(std::vector<TSeen>& seen, const std::string& label, SDL_Keycode sym,
                                      SDL_Scancode scancode, const char* text = nullptr) {
        return [this, &seen, label, sym, scancode, text](const win32::ModalInteraction& interaction) {
            Settle();
            TSeen record{interaction.caption, interaction.text, interaction.style, interaction.items, ""};
            record.picture = win32::SaveTestPicture(interaction.window, label + "." + Language());
            std::printf("picture: %s\n", record.picture.c_str());
            seen.push_back(record);
            Key(interaction.window, sym, scancode);
            if (text != nullptr) Text(interaction.window, text);
            watched = interaction.window;
            SetTimer(nullptr, 0, 5000, &CloseWatched);
            return win32::ModalReply::Run();
        };
    }
    static void CALLBACK CloseWatched(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        if (IsWindow(watched)) {
            ADD_FAILURE() << "the key did not end the interaction";
            PostMessageA(watched, WM_CLOSE, 0, 0);
        }
    }
    static inline HWND watched = nullptr;

    std::unique_ptr<win32::TestDriver> driver;
    TLangTable* table = nullptr;
    int previousLanguage = -1;
    TForm* form = nullptr;
    TRecordingEditor* editor = nullptr;
};

std::vector<std::string> Texts(const std::vector<win32::ModalItem>& items) {
    std::vector<std::string> texts;
    for (const win32::ModalItem& item : items) texts.push_back(item.separator ? "-" : item.text);
    return texts;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Languages, CommandLineAndMenusSdlTest, ::testing::Values(0, 1));

TEST_P(CommandLineAndMenusSdlTest, TheCommandBoxOpensOverTheCaretCellAndAnUnknownWordIsRefused) {
    editor->SetVPos(20);
    editor->SetHPos(3);
    editor->SetCursorPosX(12);
    editor->SetCursorPosY(25);
    editor->SetCaretPos(12, 25);
    editor->DoCommand();
    Settle();
    driver->Type("stats 1");
    Settle();
    TComboBox* box = editor->commandCombo;
    ASSERT_TRUE(box->GetVisible());
    ASSERT_TRUE(box->Focused());
    EXPECT_EQ(box->GetLeft(), 9 * editor->GetCharWidth() + editor->GetColGap());
    EXPECT_EQ(box->GetTop(), 5 * editor->GetLineHeight());
    const std::string picture = win32::SaveTestPicture(form->GetHandle(), "command box." + Language());
    EXPECT_FALSE(picture.empty());
    std::printf("picture: %s\n", picture.c_str());

    // Enter in the box runs the line; the unknown word's box closes by Enter.
    std::vector<TSeen> seen;
    win32::ScopedResponder responder(AnswerByKey(seen, "invalid command", SDLK_RETURN, SDL_SCANCODE_RETURN));
    Key(form->GetHandle(), SDLK_RETURN, SDL_SCANCODE_RETURN);
    Settle();
    ASSERT_EQ(seen.size(), 1u);
    const bool english = GetParam() == 0;
    EXPECT_EQ(seen[0].caption, english ? "Exec command" : "Parancs v\xE9grehajt\xE1sa");
    EXPECT_EQ(seen[0].text, english ? "Invalid command" : "\xC9rv\xE9nytelen parancs");
    EXPECT_EQ(seen[0].style & MB_ICONMASK, UINT(MB_ICONERROR));
    ASSERT_EQ(seen[0].items.size(), 1u);
    EXPECT_TRUE(seen[0].items[0].isDefault);
    EXPECT_FALSE(seen[0].picture.empty());
    EXPECT_TRUE(box->GetVisible());
    EXPECT_EQ(box->GetText(), "stats 1");
    EXPECT_TRUE(editor->lastCommand.IsEmpty());
}

TEST_P(CommandLineAndMenusSdlTest, TheContextMenusShowTheirItemsAndAnswerTheKeyboard) {
    const bool english = GetParam() == 0;
    POINT at{120, 80};
    ClientToScreen(editor->GetHandle(), &at);

    std::vector<TSeen> seen;
    {
        win32::ScopedResponder responder(AnswerByKey(seen, "text menu", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE));
        editor->editPopup->Popup(at.x, at.y);
        Settle();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(Texts(seen[0].items),
              english ? (std::vector<std::string>{"Cu&t", "&Copy", "&Paste", "&Delete", "-", "Select &all"})
                      : (std::vector<std::string>{"&Kiv\xE1g\xE1s", "&M\xE1sol\xE1s", "&Beilleszt\xE9s",
                                                  "&T\xF6rl\xE9s", "-", "\xD6&sszes kijel\xF6l\xE9se"}));
    EXPECT_TRUE(editor->calls.empty()) << "Esc chose an item";

    // The digit is the item's accelerator: 7 sets bookmark 7 on the menu's line.
    editor->gapClickLine = 30;
    editor->SetCurLine(26);
    {
        win32::ScopedResponder responder(AnswerByKey(seen, "gap menu", SDLK_7, SDL_SCANCODE_7, "7"));
        editor->gapPopup->Popup(at.x, at.y);
        Settle();
    }
    ASSERT_EQ(seen.size(), 2u);
    const std::vector<std::string> gap = Texts(seen[1].items);
    ASSERT_EQ(gap.size(), 14u);
    EXPECT_EQ(gap.front(), english ? "Previous" : "El\xF5z\xF5");
    EXPECT_EQ(gap[9], "&7");
    EXPECT_EQ(gap.back(), english ? "Next" : "K\xF6vetkez\xF5");
    EXPECT_EQ(editor->calls, std::vector<std::string>{"MakeMarker 7 on line 30"});
    EXPECT_EQ(editor->GetCurLine(), 26);
    const std::string picture = win32::SaveTestPicture(form->GetHandle(), "after menus." + Language());
    std::printf("picture: %s\n", picture.c_str());
}

// The command box as a user sees it once the command key opened it (DoCommand
// is what the key runs) over a view scrolled down and to the right: on the
// caret's cell, two thirds of the editor wide, the typed line in it.
namespace {

// A 600 x 400 editor with these lines, focused on the shown form.
class CommandFrameSdlTest : public RedaktSdlTest {
protected:
    TTextEditor* ShowFocusedEditor(TStringContainer text) {
        auto* editor = new TTextEditor(form);
        editor->SetBounds(10, 10, 600, 400);
        editor->SetParent(form);
        editor->SetFontSize(10);
        editor->NewStrings(text);
        form->Show();
        Settle();
        editor->SetFocus();
        Settle();
        return editor;
    }
};

}  // namespace

TEST_F(CommandFrameSdlTest, TheOpenCommandBoxOverAScrolledViewIsSavedWhenAsked) {
    const char* path = std::getenv("SUITE_SCREENSHOT");
    if (path == nullptr || *path == '\0') GTEST_SKIP() << "SUITE_SCREENSHOT names no file";
    TStringContainer text;
    for (int i = 0; i < 120; ++i)
        text.Add(TString("line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog, " +
                         "and then over the fence " + std::to_string(i * 13)));
    TTextEditor* editor = ShowFocusedEditor(text);
    editor->SetVPos(20);
    editor->SetHPos(4);
    editor->SetCursorPosX(16);
    editor->SetCursorPosY(27);
    editor->SetCaretPos(16, 27);
    Settle();
    ASSERT_EQ(editor->GetVPos(), 20);
    ASSERT_EQ(editor->GetHPos(), 4);
    editor->DoCommand();
    Settle();
    PushText(form->GetHandle(), "sort 3");
    Settle();
    TComboBox* box = editor->commandCombo;
    ASSERT_TRUE(box->GetVisible());
    ASSERT_TRUE(box->Focused());
    EXPECT_EQ(box->GetText(), "sort 3");
    EXPECT_EQ(box->GetLeft(), 12 * editor->GetCharWidth() + editor->GetColGap());
    EXPECT_EQ(box->GetTop(), 7 * editor->GetLineHeight());
    EXPECT_EQ(box->GetWidth(), 400);
    EXPECT_TRUE(win32::SaveWindowPicture(form->GetHandle(), path));
}

// The calc result in a real window: the text selected in the focused box;
// Enter closes the dialog by its default button.
TEST_F(CommandFrameSdlTest, TheCalcResultDialogShowsItsTextSelectedAndEnterClosesIt) {
    TTextEditor* editor = ShowFocusedEditor(TStringContainer());
    TTextEditorCalcResultDlg* dialog = SharedCalcResultDlg();
    ASSERT_NE(dialog, nullptr);
    std::vector<std::string> pictures;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        Settle();
        EXPECT_EQ(interaction.caption, "calc result");
        EXPECT_TRUE(dialog->edResult->Focused());
        EXPECT_EQ(dialog->edResult->GetSelLength(), 13);
        pictures.push_back(win32::SaveTestPicture(interaction.window));
        std::printf("picture: %s\n", pictures.back().c_str());
        PushKey(interaction.window, SDLK_RETURN, SDL_SCANCODE_RETURN);
        CloseUnlessEnded(interaction.window);
        return win32::ModalReply::Run();
    });
    editor->ShowCalcResult(TString("123456.789000"));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_FALSE(pictures[0].empty());
    EXPECT_FALSE(dialog->GetVisible());
}
