// Real windows on a desktop with a window manager (a virtual X server with
// openbox, started by the test): the layer keeps each window where the desktop
// shows it, the layer's caption is the only one and moves, raises, maximizes
// and closes the window, the screen metrics are the display's, and the wheel
// goes to the window under the pointer. The desktop is driven with its own
// requests (xdotool) and read with its own tools (xwininfo, xprop).
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Win32.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/TestDriver.h"
#include "display/VirtualDesktop.h"

namespace {

struct Seen {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    WINDOWPOS place;
};
std::vector<Seen> seen;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Seen record{window, message, wParam, lParam, WINDOWPOS{}};
    if (message == WM_WINDOWPOSCHANGED) record.place = *reinterpret_cast<const WINDOWPOS*>(lParam);
    seen.push_back(record);
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<Seen> Only(HWND window, UINT message) {
    std::vector<Seen> chosen;
    for (const Seen& s : seen)
        if (s.window == window && s.message == message) chosen.push_back(s);
    return chosen;
}

std::tuple<int, int, int, int> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A desktop of the given size for each test; the fixture's windows are
// framed, captioned and sizeable, as the forms are.
class DesktopWindowTest : public ::testing::Test {
protected:
    void StartDesktop(int width, int height) {
        std::string why;
        if (!win32::VirtualDesktop::Start(width, height, &why)) GTEST_SKIP() << why;
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        driver = std::make_unique<win32::TestDriver>();
        static const bool registered = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = Procedure;
            windowClass.lpszClassName = "DesktopTestWindow";
            return RegisterClassA(&windowClass) != 0;
        }();
        ASSERT_TRUE(registered);
        seen.clear();
    }
    void SetUp() override { StartDesktop(1280, 1024); }
    void TearDown() override { driver.reset(); }

    // A framed window, shown once the desktop maps it.
    HWND Open(const char* title, int x, int y, int width, int height, DWORD style = WS_OVERLAPPEDWINDOW) {
        HWND window = CreateWindowExA(0, "DesktopTestWindow", title, style | WS_VISIBLE, x, y, width, height, nullptr,
                                      nullptr, nullptr, nullptr);
        EXPECT_TRUE(Until([&] { return Edges(Desktop(window)) == Edges(WindowRect(window)); }))
            << title << " is not shown where it was placed";
        return window;
    }
    RECT Desktop(HWND window) { return win32::DesktopGeometry(win32::DesktopWindowName(window)); }
    bool Until(const std::function<bool()>& condition) { return win32::SettleUntil(*driver, condition); }
    void Do(const std::string& command) { win32::DesktopCommand(command); }
    // xdotool's pointer actions, with pauses a hand would make: the desktop
    // takes over a press on a caption in its own time.
    void Press(POINT at) { Do("xdotool mousemove " + Where(at) + " mousedown 1 sleep 0.1"); }
    void Release() { Do("xdotool mouseup 1 sleep 0.1"); }
    void Click(POINT at) { Do("xdotool mousemove " + Where(at) + " mousedown 1 sleep 0.05 mouseup 1 sleep 0.1"); }
    static std::string Where(POINT at) { return std::to_string(at.x) + " " + std::to_string(at.y); }

    std::unique_ptr<win32::TestDriver> driver;
};

// The desktop moves and sizes the window with its own requests: the layer's
// rectangle follows (WM_WINDOWPOSCHANGED and WM_MOVE tell the window), client
// coordinates map to where the desktop shows them, and the pointer is where
// the desktop put it. A move the program makes reaches the desktop.
TEST_F(DesktopWindowTest, TheLayerKeepsTheWindowWhereTheDesktopShowsIt) {
    HWND window = Open("Placed", 100, 80, 300, 200);
    seen.clear();
    Do("xdotool windowmove " + win32::DesktopWindowName(window) + " 770 600");
    ASSERT_TRUE(Until([&] { return WindowRect(window).left == 770; })) << "the layer did not follow the move";
    EXPECT_EQ(Edges(WindowRect(window)), Edges(Desktop(window)));
    EXPECT_EQ(Edges(WindowRect(window)), Edges(RECT{770, 600, 1070, 800}));
    const auto places = Only(window, WM_WINDOWPOSCHANGED);
    ASSERT_FALSE(places.empty());
    EXPECT_EQ(std::make_tuple(places.back().place.x, places.back().place.y), std::make_tuple(770, 600));
    const int clientLeft = 770 + GetSystemMetrics(SM_CXFRAME);
    const int clientTop = 600 + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION);
    const auto moves = Only(window, WM_MOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(std::make_tuple(GET_X_LPARAM(moves.back().lParam), GET_Y_LPARAM(moves.back().lParam)),
              std::make_tuple(clientLeft, clientTop));
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(std::make_tuple(int(origin.x), int(origin.y)), std::make_tuple(clientLeft, clientTop));
    Do("xdotool mousemove 900 700");
    EXPECT_TRUE(Until([] {
        POINT pointer{};
        GetCursorPos(&pointer);
        return pointer.x == 900 && pointer.y == 700;
    })) << "GetCursorPos is not where the desktop shows the pointer";

    Do("xdotool windowsize " + win32::DesktopWindowName(window) + " 420 260");
    ASSERT_TRUE(Until([&] { return WindowRect(window).right - WindowRect(window).left == 420; }));
    EXPECT_EQ(Edges(WindowRect(window)), Edges(Desktop(window)));
    SetWindowPos(window, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(Until([&] { return Edges(Desktop(window)) == Edges(RECT{200, 150, 620, 410}); }))
        << "the desktop did not follow the program's move";
    DestroyWindow(window);
}

// One caption, the layer's: the desktop draws no frame of its own around the
// window, dragging the caption moves it, a click raises it above another, a
// double click maximizes it over the work area and another restores it, and
// its close box closes it.
TEST_F(DesktopWindowTest, TheOneCaptionMovesRaisesMaximizesAndCloses) {
    HWND lower = Open("Lower", 100, 100, 400, 300);
    HWND upper = Open("Upper", 300, 200, 400, 300);
    EXPECT_NE(win32::DesktopCommand("xprop -id " + win32::DesktopWindowName(lower) + " _NET_FRAME_EXTENTS")
                  .find("= 0, 0, 0, 0"),
              std::string::npos)
        << "the desktop put a frame of its own around the window";
    EXPECT_EQ(win32::SdlPresentedPixel(lower, 200, 10), GetSysColor(COLOR_ACTIVECAPTION));

    // The press reaches SDL, which hands the move to the desktop, before the pointer moves on.
    Press(POINT{200, 110});
    win32::SettleRealWindows(*driver);
    Do("xdotool mousemove 230 150 sleep 0.1 mousemove 260 190 sleep 0.1");
    Release();
    ASSERT_TRUE(Until([&] { return WindowRect(lower).left == 160; })) << "dragging the caption did not move it";
    EXPECT_EQ(Edges(WindowRect(lower)), Edges(RECT{160, 180, 560, 480}));
    EXPECT_EQ(Edges(Desktop(lower)), Edges(WindowRect(lower)));

    // Stacking as the desktop keeps it, lowest first.
    auto upperIsOnTop = [&] {
        const std::string stacking = win32::DesktopCommand("xprop -root _NET_CLIENT_LIST_STACKING");
        auto place = [&](HWND window) {
            char hex[32];
            std::snprintf(hex, sizeof hex, "0x%lx", win32::SdlX11WindowOf(window));
            return stacking.find(hex);
        };
        return place(upper) > place(lower);
    };
    Click(POINT{600, 400});
    ASSERT_TRUE(Until(upperIsOnTop));
    EXPECT_EQ(GetActiveWindow(), upper);
    Click(POINT{200, 300});
    EXPECT_TRUE(Until([&] { return !upperIsOnTop(); })) << "a click did not raise the window";
    EXPECT_EQ(GetActiveWindow(), lower);

    Click(POINT{300, 190});
    Click(POINT{300, 190});
    EXPECT_TRUE(Until([&] { return Edges(Desktop(lower)) == Edges(RECT{0, 0, 1280, 1024}); }))
        << "a double click on the caption did not maximize the window";
    EXPECT_TRUE(IsZoomed(lower));
    Click(POINT{300, 10});
    Click(POINT{300, 10});
    EXPECT_TRUE(Until([&] { return Edges(Desktop(lower)) == Edges(RECT{160, 180, 560, 480}); }))
        << "a second double click did not restore it";

    seen.clear();
    Click(POINT{560 - 4 - 2 - 8, 180 + 4 + 9});
    EXPECT_TRUE(Until([&] { return !IsWindow(lower); })) << "the close box did not close the window";
    const auto commands = Only(lower, WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam & 0xFFF0, WPARAM(SC_CLOSE));
    DestroyWindow(upper);
}

// The wheel turns the window under the pointer, not the one with the focus.
TEST_F(DesktopWindowTest, TheWheelGoesToTheWindowUnderThePointer) {
    HWND focused = Open("Focused", 100, 100, 300, 200);
    HWND pointed = Open("Pointed", 500, 100, 300, 200);
    // The desktop focuses the window it mapped last; the focus then goes back.
    win32::SettleRealWindows(*driver);
    SetFocus(focused);
    seen.clear();
    Do("xdotool mousemove 650 200 sleep 0.1 click 5");
    ASSERT_TRUE(Until([&] { return !Only(pointed, WM_MOUSEWHEEL).empty(); }))
        << "the window under the pointer got no wheel";
    EXPECT_LT(GET_WHEEL_DELTA_WPARAM(Only(pointed, WM_MOUSEWHEEL)[0].wParam), 0);
    EXPECT_TRUE(Only(focused, WM_MOUSEWHEEL).empty());
    EXPECT_EQ(GetFocus(), focused);
    DestroyWindow(focused);
    DestroyWindow(pointed);
}

// The screen is the display's, at whatever size it has; a maximized window
// fills it (openbox leaves the whole screen to windows).
class DesktopScreenTest : public DesktopWindowTest, public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    void SetUp() override { StartDesktop(GetParam().first, GetParam().second); }
};

TEST_P(DesktopScreenTest, TheScreenMetricsAreTheDisplays) {
    const auto [width, height] = GetParam();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), width);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), height);
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXIMIZED), width);
    EXPECT_EQ(GetSystemMetrics(SM_CYMAXIMIZED), height);
    HWND window = Open("Screen", 50, 50, 300, 200);
    ShowWindow(window, SW_SHOWMAXIMIZED);
    EXPECT_EQ(Edges(WindowRect(window)), Edges(RECT{0, 0, width, height}));
    EXPECT_TRUE(Until([&] { return Edges(Desktop(window)) == Edges(RECT{0, 0, width, height}); }));
    DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(Displays, DesktopScreenTest,
                         ::testing::Values(std::make_pair(1280, 1024), std::make_pair(1600, 900)),
                         [](const ::testing::TestParamInfo<std::pair<int, int>>& info) {
                             return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

}  // namespace
