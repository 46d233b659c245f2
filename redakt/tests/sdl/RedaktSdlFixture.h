// The fixture of the editor's real-window tests: a form on the SDL display
// with a steady caret, settling, the check that the window presents what
// the layer drew, and keys and text fed as SDL events. Skips the test when
// DISPLAY is unset.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Form.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"
#include "display/WindowPicture.h"

class RedaktSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        setenv("SUITE_DISPLAY", "sdl", 1);
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        driver = std::make_unique<win32::TestDriver>();
        // A steady caret: presented and drawn pixels are compared while it shows.
        blinkTime = GetCaretBlinkTime();
        SetCaretBlinkTime(0);
        form = new TForm(nullptr, 1);
        form->SetBounds(40, 40, 760, 560);
        form->SetColor(clBtnFace);
        form->SetText("Text editor");
    }
    void TearDown() override {
        delete form;
        driver.reset();
        SetCaretBlinkTime(blinkTime);
    }

    void Settle() {
        win32::PumpMessagesFor(150);
        driver->PumpUntilIdle();
    }

    // Every 5th pixel of the editor as the real window presented it equals
    // what the layer drew, and a full repaint changes none of them.
    void ExpectPresentedEqualsFullRepaint(TWinControl* control, const std::string& what) {
        Settle();
        HWND top = form->GetHandle();
        const RECT client = control->GetClientRect();
        RECT frame;
        GetWindowRect(top, &frame);
        std::vector<COLORREF> shown;
        for (int y = 0; y < client.bottom; y += 5)
            for (int x = 0; x < client.right; x += 5) {
                POINT screen{x, y};
                ClientToScreen(control->GetHandle(), &screen);
                const COLORREF drawn = driver->Pixel(control->GetHandle(), x, y);
                const COLORREF presented = win32::SdlPresentedPixel(top, screen.x - frame.left, screen.y - frame.top);
                shown.push_back(drawn);
                if (presented != drawn) {
                    ADD_FAILURE() << what << ": the window shows " << std::hex << presented << " at " << std::dec << x
                                  << ", " << y << " where the layer drew " << std::hex << drawn;
                    return;
                }
            }
        control->Repaint();
        Settle();
        size_t i = 0;
        for (int y = 0; y < client.bottom; y += 5)
            for (int x = 0; x < client.right; x += 5)
                ASSERT_EQ(driver->Pixel(control->GetHandle(), x, y), shown[i++])
                    << what << " differs from a repaint at " << x << ", " << y;
    }

    // A key pressed and released (with modifiers held) in the SDL window of
    // a top-level window, as a keyboard gives it.
    static void PushKey(HWND topLevel, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event event = win32::SdlKeyEvent(topLevel, type, sym, scancode, mod);
            ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        }
    }
    // Typed text, as SDL delivers it after the keys that make it.
    static void PushText(HWND topLevel, const char* text) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = win32::SdlWindowIdOf(topLevel);
        std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }
    // Closes window after five seconds should the keys not have ended it,
    // so that a test fails instead of waiting for ever.
    static void CloseUnlessEnded(HWND window) {
        watched = window;
        SetTimer(nullptr, 0, 5000, &CloseWatched);
    }

    // The X window of a top-level window, found by its title; "" when there
    // is none. Input sent there with xdotool comes through the X server.
    static std::string XWindowOf(const char* title) {
        const std::string command =
            std::string("timeout 10 xdotool search --sync --limit 1 --name '^") + title + "$' 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return "";
        char id[64] = "";
        const bool read = std::fgets(id, sizeof id, pipe) != nullptr;
        pclose(pipe);
        std::string window = read ? id : "";
        while (!window.empty() && (window.back() == '\n' || window.back() == '\r')) window.pop_back();
        return window;
    }

    std::unique_ptr<win32::TestDriver> driver;
    TForm* form = nullptr;
    UINT blinkTime = 0;

private:
    static void CALLBACK CloseWatched(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        if (IsWindow(watched) && IsWindowVisible(watched)) {
            ADD_FAILURE() << "the keys did not end the interaction";
            PostMessageA(watched, WM_CLOSE, 0, 0);
        }
    }
    static inline HWND watched = nullptr;
};
