// A modal dialog of the class library in a real window, answered only by
// keys fed as SDL events: dialog keys go through the SDL back end and the
// window layer's loops as a user's would. Needs a display (CI: xvfb-run);
// skips itself when DISPLAY is unset. Saves a picture of the dialog.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "Forms.h"
#include "Responder.h"
#include "StdCtrls.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"

// The desktop's message bus library, which SDL's video start-up loads, keeps
// a block past exit; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

class ModalFormSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        driver = std::make_unique<win32::TestDriver>();
    }
    void TearDown() override { driver.reset(); }

    void Settle() { win32::SettleRealWindows(*driver); }
    void Key(HWND window, SDL_Keycode sym, SDL_Scancode scancode) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event event = win32::SdlKeyEvent(window, type, sym, scancode);
            ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        }
    }
    void Text(HWND window, const char* utf8) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = win32::SdlWindowIdOf(window);
        std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    std::unique_ptr<win32::TestDriver> driver;
};

TEST_F(ModalFormSdlTest, TabTextAndEnterFillTheSecondEditAndConfirm) {
    TForm form(nullptr, 0);
    form.SetBounds(60, 60, 260, 150);
    form.SetCaption("Name");
    auto* first = new TEdit(&form);
    auto* second = new TEdit(&form);
    auto* ok = new TButton(&form);
    for (TControl* control : std::initializer_list<TControl*>{first, second, ok}) {
        control->SetParent(&form);
        control->SetBounds(10, 10 + 35 * (control == second) + 70 * (control == ok), 150, 23);
    }
    ok->SetWidth(75);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);

    std::string picture;
    bool secondFocusedBeforeEnter = false;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        Settle();
        Key(interaction.window, SDLK_TAB, SDL_SCANCODE_TAB);
        Text(interaction.window, "Ada \xC5\xA0");  // Š: 0x8A in the code page
        Settle();
        secondFocusedBeforeEnter = second->Focused();
        picture = win32::SaveTestPicture(interaction.window);
        Key(interaction.window, SDLK_RETURN, SDL_SCANCODE_RETURN);
        Settle();
        // Should Enter not have closed it, end the loop rather than wait for ever.
        if (form.GetVisible() && form.GetModalResult() == mrNone) form.SetModalResult(mrAbort);
        return win32::ModalReply::Run();
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_TRUE(secondFocusedBeforeEnter);
    EXPECT_EQ(first->GetText(), "");
    EXPECT_EQ(second->GetText(), "Ada \x8A");
    EXPECT_FALSE(picture.empty()) << "no picture saved";
}

}  // namespace
