// Alt chords and AltGr pressed on the X server's own keyboard (xdotool) in a
// real window: the messages they become, AltGr letters of a Hungarian layout,
// and message boxes answered by Alt and a button's letter. Needs a display
// (CI runs it under xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Responder.h"
#include "Win32.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"

namespace {

struct KeyMessage {
    UINT message;
    WPARAM wParam;
};
std::vector<KeyMessage> keyMessages;

LRESULT CALLBACK RecordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR || message == WM_SYSCHAR)
        keyMessages.push_back(KeyMessage{message, wParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

// The layout the X server has now ("us" when it cannot tell).
std::string CurrentLayout() {
    std::string layout = "us";
    FILE* query = popen("setxkbmap -query", "r");
    if (query == nullptr) return layout;
    char line[256];
    char name[128];
    while (std::fgets(line, sizeof line, query) != nullptr)
        if (std::sscanf(line, "layout: %127s", name) == 1) layout = name;
    pclose(query);
    return layout;
}

class AltChordWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        setenv("SUITE_DISPLAY", "sdl", 1);
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        driver = std::make_unique<win32::TestDriver>();
        static const bool registered = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = RecordKeys;
            windowClass.lpszClassName = "AltChordTestWindow";
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            return RegisterClassA(&windowClass) != 0;
        }();
        ASSERT_TRUE(registered);
        window = CreateWindowExA(0, "AltChordTestWindow", "Alt chords", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        Settle();
        keyMessages.clear();
    }
    void TearDown() override { driver.reset(); }

    void Settle() { win32::SettleRealWindows(*driver); }
    void PressRealKeys(const std::string& keys) {
        ASSERT_TRUE(win32::SendRealKeys(window, keys)) << "xdotool key " << keys;
        Settle();
        Settle();
    }
    std::vector<WPARAM> Only(UINT message) {
        std::vector<WPARAM> chosen;
        for (const KeyMessage& seen : keyMessages)
            if (seen.message == message) chosen.push_back(seen.wParam);
        return chosen;
    }

    std::unique_ptr<win32::TestDriver> driver;
    HWND window = nullptr;
};

TEST_F(AltChordWindowTest, AltChordsAreSystemKeysAndTypeNothing) {
    struct Case {
        const char* keys;
        WPARAM key;
        WPARAM character;
    } cases[] = {
        {"alt+c", 'C', 'c'}, {"alt+x", 'X', 'x'}, {"alt+shift+c", 'C', 'C'}, {"alt+1", '1', '1'}, {"alt+n", 'N', 'n'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        keyMessages.clear();
        PressRealKeys(c.keys);
        const std::vector<WPARAM> systemKeys = Only(WM_SYSKEYDOWN);
        EXPECT_NE(std::find(systemKeys.begin(), systemKeys.end(), c.key), systemKeys.end());
        EXPECT_EQ(Only(WM_SYSCHAR), std::vector<WPARAM>{c.character});
        EXPECT_TRUE(Only(WM_CHAR).empty());
        EXPECT_TRUE(Only(WM_KEYDOWN).empty());
    }
}

// AltGr is Ctrl+Alt to the programs and types what the layout puts there:
// AltGr+Q a backslash on the Hungarian layout; its own letters type as well.
TEST_F(AltChordWindowTest, AltGrAndTheLettersOfAHungarianLayoutType) {
    const std::string previous = CurrentLayout();
    ASSERT_EQ(std::system("setxkbmap hu"), 0) << "setxkbmap could not set the Hungarian layout";
    PressRealKeys("ISO_Level3_Shift+q Odoubleacute Udoubleacute odoubleacute");
    std::system(("setxkbmap " + previous).c_str());
    EXPECT_EQ(Only(WM_CHAR), (std::vector<WPARAM>{'\\', 0xD5, 0xDB, 0xF5}));  // \ Ő Ű ő in the code page
    EXPECT_TRUE(Only(WM_SYSCHAR).empty());
    EXPECT_TRUE(Only(WM_SYSKEYDOWN).empty());
}

// The box is given the keyboard focus, as SDL gives it a window it shows
// without a window manager, or a click gives it with one. A box the keys
// left open is closed afterwards, so that the test fails instead of waiting.
TEST_F(AltChordWindowTest, AltAndAButtonsLetterAnswersAMessageBox) {
    struct Case {
        UINT type;
        const char* keys;
        int expected;
    } cases[] = {
        {MB_YESNOCANCEL, "alt+n", IDNO},
        {MB_RETRYCANCEL, "alt+r", IDRETRY},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, "alt+y", IDYES},
        {MB_YESNOCANCEL, "n", IDNO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            Settle();
            EXPECT_TRUE(win32::SendRealKeys(interaction.window, c.keys));
            Settle();
            Settle();
            PostMessageA(interaction.window, WM_CLOSE, 0, 0);
            return win32::ModalReply::Run();
        });
        EXPECT_EQ(MessageBoxA(window, "Save the changes?", "Alt chords", c.type | MB_ICONQUESTION), c.expected);
    }
}

}  // namespace
