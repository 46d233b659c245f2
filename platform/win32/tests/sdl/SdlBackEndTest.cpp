// The SDL back end in a real window: presented pixels, SDL events turned into
// messages, the desktop clipboard, a message box answered by keys, and a
// program whose X server goes away. Needs a display (CI runs it under
// xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <SDL.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Responder.h"
#include "Win32.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"

// The desktop's message bus library, which SDL's video start-up loads, keeps
// a block past exit; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

extern char** environ;

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> seen;
COLORREF background = RGB(255, 0, 0);
// The width the windows answer WM_GETMINMAXINFO with; 0: no answer.
int minimumWidth = 0;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(Seen{message, wParam, lParam});
    if (message == WM_GETMINMAXINFO && minimumWidth > 0) {
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = minimumWidth;
        return 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        HBRUSH fill = CreateSolidBrush(background);
        FillRect(dc, &client, fill);
        DeleteObject(fill);
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        RECT mark{20, 20, 60, 50};
        FillRect(dc, &mark, blue);
        DeleteObject(blue);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<Seen> Only(UINT message) {
    std::vector<Seen> chosen;
    for (const Seen& s : seen)
        if (s.message == message) chosen.push_back(s);
    return chosen;
}

class SdlBackEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        setenv("SUITE_DISPLAY", "sdl", 1);
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        driver = std::make_unique<win32::TestDriver>();
        static const bool registered = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = Procedure;
            windowClass.lpszClassName = "SdlTestWindow";
            return RegisterClassA(&windowClass) != 0;
        }();
        ASSERT_TRUE(registered);
        background = RGB(255, 0, 0);
        window = CreateWindowExA(0, "SdlTestWindow", "SDL \x8A", WS_POPUP | WS_VISIBLE, 30, 40, 200, 150, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        Settle();
        seen.clear();
    }
    void TearDown() override { driver.reset(); }

    void Settle() { win32::SettleRealWindows(*driver); }
    void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }
    SDL_Event KeyEvent(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
        return win32::SdlKeyEvent(window, type, sym, scancode, mod);
    }
    SDL_Event WindowEvent(Uint8 change, int data1 = 0, int data2 = 0) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SdlId();
        event.window.event = change;
        event.window.data1 = data1;
        event.window.data2 = data2;
        return event;
    }
    Uint32 SdlId() { return win32::SdlWindowIdOf(window); }
    SDL_Event FocusGained(HWND target) {
        SDL_Event event = WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        event.window.windowID = win32::SdlWindowIdOf(target);
        return event;
    }

    std::unique_ptr<win32::TestDriver> driver;
    HWND window = nullptr;
};

TEST_F(SdlBackEndTest, TheWindowShowsWhatThePaintingDrew) {
    ASSERT_NE(SdlId(), 0u);
    EXPECT_EQ(win32::SdlPresentedPixel(window, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(win32::SdlPresentedPixel(window, 30, 30), RGB(0, 0, 255));
    EXPECT_EQ(win32::SdlPresentedPixel(window, 199, 149), RGB(255, 0, 0));
    EXPECT_EQ(win32::SdlPresentedPixel(window, 200, 150), CLR_INVALID);
    SDL_Window* shown = SDL_GetWindowFromID(SdlId());
    ASSERT_NE(shown, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(shown), "SDL \xC5\xA0");
    int width = 0, height = 0;
    SDL_GetWindowSize(shown, &width, &height);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 150);
    // A repaint is presented again; hiding the window hides the SDL window.
    background = RGB(0, 128, 0);
    InvalidateRect(window, nullptr, TRUE);
    Settle();
    EXPECT_EQ(win32::SdlPresentedPixel(window, 5, 5), RGB(0, 128, 0));
    ShowWindow(window, SW_HIDE);
    Settle();
    EXPECT_NE(SDL_GetWindowFlags(shown) & SDL_WINDOW_HIDDEN, 0u);
}

TEST_F(SdlBackEndTest, DrawingThroughAWindowDcShowsOnceTheDcIsReleased) {
    HDC dc = GetDC(window);
    HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
    RECT mark{100, 100, 120, 120};
    FillRect(dc, &mark, green);
    DeleteObject(green);
    ReleaseDC(window, dc);
    Settle();
    EXPECT_EQ(win32::SdlPresentedPixel(window, 110, 110), RGB(0, 160, 0));
    EXPECT_EQ(win32::SdlPresentedPixel(window, 5, 5), RGB(255, 0, 0));
}

TEST_F(SdlBackEndTest, KeysTextMouseAndWheelBecomeMessages) {
    ASSERT_EQ(GetFocus(), window);
    Push(KeyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A));
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = SdlId();
    std::strcpy(text.text.text, "\xC3\xA1");  // á: 0xE1 in the code page
    Push(text);
    Push(KeyEvent(SDL_KEYUP, SDLK_a, SDL_SCANCODE_A));
    Push(KeyEvent(SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL));
    Push(KeyEvent(SDL_KEYDOWN, SDLK_c, SDL_SCANCODE_C, KMOD_LCTRL));
    Push(KeyEvent(SDL_KEYUP, SDLK_c, SDL_SCANCODE_C, KMOD_LCTRL));
    Push(KeyEvent(SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL));
    Push(KeyEvent(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN));
    Push(KeyEvent(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN));
    SDL_Event button{};
    button.type = SDL_MOUSEBUTTONDOWN;
    button.button.windowID = SdlId();
    button.button.button = SDL_BUTTON_LEFT;
    button.button.state = SDL_PRESSED;
    button.button.x = 25;
    button.button.y = 35;
    Push(button);
    button.type = SDL_MOUSEBUTTONUP;
    button.button.state = SDL_RELEASED;
    Push(button);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = SdlId();
    wheel.wheel.y = -2;
    Push(wheel);
    Settle();

    const auto downs = Only(WM_KEYDOWN);
    ASSERT_GE(downs.size(), 1u);
    EXPECT_EQ(downs[0].wParam, WPARAM('A'));
    std::vector<WPARAM> characters;
    for (const Seen& s : Only(WM_CHAR)) characters.push_back(s.wParam);
    EXPECT_EQ(characters, (std::vector<WPARAM>{0xE1, 3, '\r'}));  // the key itself adds none to the text
    const auto clicks = Only(WM_LBUTTONDOWN);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(clicks[0].lParam), 25);
    EXPECT_EQ(GET_Y_LPARAM(clicks[0].lParam), 35);
    EXPECT_EQ(Only(WM_LBUTTONUP).size(), 1u);
    const auto wheels = Only(WM_MOUSEWHEEL);
    ASSERT_EQ(wheels.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].wParam), -240);
}

TEST_F(SdlBackEndTest, ResizeAndCloseReachTheWindow) {
    Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 300, 220));
    Settle();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 220);
    EXPECT_FALSE(Only(WM_SIZE).empty());
    EXPECT_EQ(win32::SdlPresentedPixel(window, 290, 210), RGB(255, 0, 0));
    Push(WindowEvent(SDL_WINDOWEVENT_CLOSE));
    Settle();
    const auto commands = Only(WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, WPARAM(SC_CLOSE));
    EXPECT_FALSE(IsWindow(window));
}

// The desktop learns the smallest size a window takes, so that it cannot be
// made narrower than the surface the layer keeps for it.
TEST_F(SdlBackEndTest, AWindowsMinimumTrackingSizeBindsTheRealWindow) {
    minimumWidth = 700;
    HWND framed = CreateWindowExA(0, "SdlTestWindow", "Framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 800, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(framed, nullptr);
    Settle();
    SDL_Window* shown = SDL_GetWindowFromID(win32::SdlWindowIdOf(framed));
    ASSERT_NE(shown, nullptr);
    int width = 0, height = 0;
    SDL_GetWindowMinimumSize(shown, &width, &height);
    EXPECT_EQ(width, 700);
    SDL_SetWindowSize(shown, 400, 300);
    Settle();
    SDL_GetWindowSize(shown, &width, &height);
    EXPECT_EQ(width, 700);
    RECT frame{};
    GetWindowRect(framed, &frame);
    EXPECT_EQ(frame.right - frame.left, 700);
    // A minimum that changes later reaches the real window at the next presentation.
    minimumWidth = 750;
    InvalidateRect(framed, nullptr, TRUE);
    Settle();
    SDL_GetWindowMinimumSize(shown, &width, &height);
    EXPECT_EQ(width, 750);
    minimumWidth = 0;
    DestroyWindow(framed);
}

// The desktop focuses a pop-up (the fixture's window) when it maps it, and a
// disabled owner under a modal box when another window goes: the activation
// stays where the program put it. A captioned window the desktop focuses
// becomes active.
TEST_F(SdlBackEndTest, FocusTheDesktopGivesAPopupLeavesTheActivation) {
    HWND captioned = CreateWindowExA(0, "SdlTestWindow", "Captioned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 260, 40, 200,
                                     150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(captioned, nullptr);
    Settle();
    ASSERT_EQ(GetActiveWindow(), captioned);
    Push(FocusGained(window));
    Settle();
    EXPECT_EQ(GetActiveWindow(), captioned);
    SetActiveWindow(window);
    EnableWindow(captioned, FALSE);
    Push(FocusGained(captioned));
    Settle();
    EXPECT_EQ(GetActiveWindow(), window);
    EnableWindow(captioned, TRUE);
    Push(FocusGained(captioned));
    Settle();
    EXPECT_EQ(GetActiveWindow(), captioned);
    DestroyWindow(captioned);
}

TEST_F(SdlBackEndTest, ClipboardTextGoesToTheDesktopAsUtf8) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 5);
    std::memcpy(GlobalLock(block), "\x8A\r\nx", 4);
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    char* desktop = SDL_GetClipboardText();
    EXPECT_STREQ(desktop, "\xC5\xA0\nx");
    SDL_free(desktop);
    ASSERT_EQ(SDL_SetClipboardText("\xC5\x91\n"), 0);  // ő: 0xF5 in the code page
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "\xF5\r\n");
    GlobalUnlock(GetClipboardData(CF_TEXT));
    CloseClipboard();
}

TEST_F(SdlBackEndTest, AMessageBoxRunsInARealWindow) {
    COLORREF face = 0;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        Settle();
        face = win32::SdlPresentedPixel(interaction.window, 3, 60);
        Push(KeyEvent(SDL_KEYDOWN, SDLK_TAB, SDL_SCANCODE_TAB));
        Push(KeyEvent(SDL_KEYUP, SDLK_TAB, SDL_SCANCODE_TAB));
        Push(KeyEvent(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN));
        return win32::ModalReply::Run();
    });
    EXPECT_EQ(MessageBoxA(window, "Really?", "Question", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE));
}

// A program with a real window whose X server goes away is ended by Xlib;
// the back end's teardown on the way out must not wait on the dead connection.
// The test starts a server of its own and this program again as the child
// (below) that shows the window.
const char kWindowChildVariable[] = "SDL_BACK_END_TEST_WINDOW_CHILD";

// One line from the descriptor, or "" when none comes within the seconds.
std::string ReadLine(int descriptor, int seconds) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    char byte = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{descriptor, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0) continue;
        if (read(descriptor, &byte, 1) != 1) return "";
        if (byte == '\n') return line;
        line += byte;
    }
    return "";
}

pid_t Spawn(const std::vector<std::string>& arguments, char** environment, int output) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    pid_t child = -1;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environment) != 0) child = -1;
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

// Whether the child ended by itself within the seconds; one that did not is killed.
bool EndsWithin(pid_t child, int seconds, int* status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(child, status, WNOHANG) == child) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(child, SIGKILL);
    waitpid(child, status, 0);
    return false;
}

class ServerLoss : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
    }
    void TearDown() override {
        if (server > 0) {
            kill(server, SIGKILL);
            waitpid(server, nullptr, 0);
        }
    }

    // An X server on a display number it chooses itself; its name, or "".
    std::string StartServer() {
        int pipe[2];
        if (::pipe(pipe) != 0) return "";
        server = Spawn({"Xvfb", "-displayfd", std::to_string(pipe[1]), "-nolisten", "tcp", "-screen", "0", "640x480x24"},
                       environ, -1);
        close(pipe[1]);
        const std::string number = server > 0 ? ReadLine(pipe[0], 30) : "";
        close(pipe[0]);
        return number.empty() ? "" : ":" + number;
    }

    // This program again, as the child that shows a window on the display.
    pid_t StartWindowChild(const std::string& display, int output) {
        std::vector<std::string> variables = {"DISPLAY=" + display, "SUITE_DISPLAY=sdl",
                                              std::string(kWindowChildVariable) + "=1"};
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string entry = *variable;
            if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("SUITE_DISPLAY=", 0) != 0) variables.push_back(entry);
        }
        std::vector<char*> environment;
        for (std::string& variable : variables) environment.push_back(variable.data());
        environment.push_back(nullptr);
        return Spawn({"/proc/self/exe"}, environment.data(), output);
    }

    pid_t server = -1;
};

TEST_F(ServerLoss, AProgramWhoseXServerDiesEnds) {
    const std::string display = StartServer();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = StartWindowChild(display, pipe[1]);
    close(pipe[1]);
    ASSERT_GT(child, 0);
    const std::string said = ReadLine(pipe[0], 30);
    close(pipe[0]);
    int status = 0;
    if (said != "ready") {
        EndsWithin(child, 0, &status);
        FAIL() << "the child showed no window; status " << status;
    }
    kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
    server = -1;
    ASSERT_TRUE(EndsWithin(child, 30, &status)) << "the child still ran after its X server went away";
    EXPECT_TRUE(WIFEXITED(status));
}

// The child's side: a real window, "ready" on standard output once SDL shows
// it, then the message loop until the program ends.
int ShowAWindowUntilTheEnd() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "ServerLossWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "ServerLossWindow", "Server loss", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 40, 200,
                                  150, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) return 2;
    MSG message;
    // Painted first: the back end shows a window once its surface holds a picture.
    for (int round = 0; round < 1000 && win32::SdlWindowIdOf(window) == 0; ++round) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (win32::SdlWindowIdOf(window) == 0) return 3;
    std::printf("ready\n");
    std::fflush(stdout);
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

const bool windowChildRan = [] {
    if (std::getenv(kWindowChildVariable) != nullptr) std::exit(ShowAWindowUntilTheEnd());
    return false;
}();

}  // namespace
