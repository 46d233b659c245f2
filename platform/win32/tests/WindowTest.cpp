// The window tree: classes, creation messages, parents and children, z-order,
// rectangles and coordinates, visibility, enabling, text and window longs.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "MessageRecorder.h"
#include "Win32.h"
#include "display/TestDriver.h"

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { recorder.Reset(); }
    // Handlers capture the test's locals; windows destroyed afterwards must not reach them.
    void TearDown() override { recorder.handler = nullptr; }
    HWND Make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, DWORD exStyle = 0) {
        return CreateWindowExA(exStyle, MessageRecorder::ClassName(), "w", style, x, y, w, h, parent, nullptr,
                               nullptr, nullptr);
    }
    win32::TestDriver driver;
    MessageRecorder& recorder = MessageRecorder::Instance();
};

TEST_F(WindowTest, ClassRegistrationRejectsDuplicatesAndUnknownNames) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "WindowTestClass";
    EXPECT_NE(RegisterClassA(&windowClass), 0);
    windowClass.lpszClassName = "windowtestclass";
    EXPECT_EQ(RegisterClassA(&windowClass), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
    windowClass.lpfnWndProc = nullptr;
    windowClass.lpszClassName = "Other";
    EXPECT_EQ(RegisterClassA(&windowClass), 0);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CANNOT_FIND_WND_CLASS));
    HWND window = CreateWindowExA(0, "WINDOWTESTCLASS", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    char name[8];
    EXPECT_EQ(GetClassNameA(window, name, sizeof name), 7);  // cut to size - 1
    EXPECT_STREQ(name, "WindowT");
    EXPECT_FALSE(UnregisterClassA("WindowTestClass", nullptr));  // a window still uses it
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassA("WindowTestClass", nullptr));
}

TEST_F(WindowTest, CreationSendsItsMessagesInOrderAndCanBeRefused) {
    int createdWidth = 0;
    recorder.handler = [&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
        if (message == WM_CREATE) createdWidth = reinterpret_cast<CREATESTRUCTA*>(lParam)->cx;
        return false;
    };
    HWND window = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(recorder.Numbers({WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                                WM_ACTIVATE, WM_SETFOCUS}),
              (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                                 WM_ACTIVATE, WM_SETFOCUS}));
    EXPECT_EQ(createdWidth, 300);

    recorder.handler = [](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
        if (message != WM_CREATE) return false;
        *result = -1;
        return true;
    };
    recorder.messages.clear();
    EXPECT_EQ(Make(WS_POPUP, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(recorder.Numbers({WM_DESTROY, WM_NCDESTROY}), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(Make(WS_CHILD, 0, 0, 10, 10, nullptr), nullptr);
}

TEST_F(WindowTest, MinMaxInfoLimitsTheTrackingSize) {
    recorder.handler = [](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
        if (message != WM_GETMINMAXINFO) return false;
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = 250;
        *result = 0;
        return true;
    };
    HWND window = Make(WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 250);
    MoveWindow(window, 0, 0, 120, 100, TRUE);
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 250);
    MoveWindow(window, 0, 0, 400, 100, TRUE);
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 400);
}

TEST_F(WindowTest, ClientAreaAndCoordinatesThroughTheTree) {
    HWND top = Make(WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 50, 400, 300);
    HWND child = Make(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL | WS_VSCROLL, 20, 30, 100, 80, top);
    RECT rect;
    GetClientRect(top, &rect);
    EXPECT_EQ(rect.right, 398);
    EXPECT_EQ(rect.bottom, 298);
    GetClientRect(child, &rect);
    EXPECT_EQ(rect.right, 100 - 2 - 16);
    EXPECT_EQ(rect.bottom, 80 - 2 - 16);
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 100 + 1 + 20);
    EXPECT_EQ(rect.top, 50 + 1 + 30);
    POINT point{0, 0};
    ClientToScreen(child, &point);
    EXPECT_EQ(point.x, 122);
    EXPECT_EQ(point.y, 82);
    ScreenToClient(top, &point);
    EXPECT_EQ(point.x, 21);
    EXPECT_EQ(point.y, 31);
    POINT mapped{5, 5};
    MapWindowPoints(child, top, &mapped, 1);
    EXPECT_EQ(mapped.x, 26);
    EXPECT_EQ(WindowFromPoint(POINT{130, 90}), child);
    EXPECT_EQ(WindowFromPoint(POINT{110, 60}), top);
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), nullptr);
    EXPECT_FALSE(GetClientRect(nullptr, &rect));
}

TEST_F(WindowTest, ParentsChildrenAndZOrder) {
    HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND first = Make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
    HWND second = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top);
    EXPECT_EQ(GetParent(first), top);
    EXPECT_TRUE(IsChild(top, second));
    EXPECT_EQ(GetWindow(top, GW_CHILD), first);  // later children go below
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), second);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{20, 20}), second);

    HWND other = Make(WS_POPUP | WS_VISIBLE, 300, 0, 100, 100);
    EXPECT_EQ(SetParent(first, other), top);
    EXPECT_EQ(GetParent(first), other);
    EXPECT_FALSE(IsChild(top, first));
    EXPECT_EQ(SetParent(other, first), nullptr);  // no loops

    HWND topmost = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_TOPMOST);
    SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(nullptr), topmost);
    SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(nullptr), top);
    EXPECT_NE(GetWindowLongA(top, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_TRUE(IsWindow(first));  // moved away before
}

TEST_F(WindowTest, DestroyReachesChildrenAfterTheirParent) {
    HWND top = Make(WS_POPUP, 0, 0, 200, 200);
    HWND child = Make(WS_CHILD, 0, 0, 50, 50, top);
    HWND grandchild = Make(WS_CHILD, 0, 0, 5, 5, child);
    recorder.messages.clear();
    EXPECT_TRUE(DestroyWindow(top));
    const auto destroys = recorder.Only({WM_DESTROY});
    ASSERT_EQ(destroys.size(), 3u);
    EXPECT_EQ(destroys[0].window, top);
    EXPECT_EQ(destroys[1].window, child);
    EXPECT_EQ(destroys[2].window, grandchild);
    EXPECT_FALSE(IsWindow(grandchild));
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowTest, MoveSizeShowAndEnableSendTheirMessages) {
    HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND child = Make(WS_CHILD, 5, 5, 50, 50, top);
    recorder.messages.clear();
    MoveWindow(child, 10, 5, 50, 50, TRUE);
    MoveWindow(child, 10, 5, 60, 40, TRUE);
    MoveWindow(child, 10, 5, 60, 40, TRUE);
    EXPECT_EQ(recorder.Numbers({WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_MOVE, WM_SIZE}));
    EXPECT_EQ(LOWORD(recorder.Only({WM_SIZE})[0].lParam), 60);

    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_FALSE(ShowWindow(child, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(child));
    ShowWindow(top, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(child));  // hidden with its parent
    EXPECT_NE(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE, 0);

    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_TRUE(EnableWindow(child, FALSE));
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_EQ(recorder.Only({WM_ENABLE}).size(), 1u);
}

// A top-level window that moves and sizes hears where it now is first
// (WM_WINDOWPOSCHANGED, with what stayed as SWP_ flags), then WM_MOVE with its
// client area's screen place and WM_SIZE.
TEST_F(WindowTest, MovesAndSizesAreAnnouncedByWindowPosChanged) {
    HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 300, 200);
    std::vector<WINDOWPOS> places;
    recorder.handler = [&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
        if (message == WM_WINDOWPOSCHANGED) places.push_back(*reinterpret_cast<const WINDOWPOS*>(lParam));
        return false;
    };
    recorder.messages.clear();
    SetWindowPos(top, nullptr, 770, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    MoveWindow(top, 770, 600, 320, 240, TRUE);
    MoveWindow(top, 770, 600, 320, 240, TRUE);
    EXPECT_EQ(recorder.Numbers({WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGED, WM_MOVE, WM_WINDOWPOSCHANGED, WM_SIZE}));
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].hwnd, top);
    EXPECT_EQ(std::make_tuple(places[0].x, places[0].y, places[0].cx, places[0].cy),
              std::make_tuple(770, 600, 300, 200));
    EXPECT_EQ(places[0].flags & (SWP_NOMOVE | SWP_NOSIZE), UINT(SWP_NOSIZE));
    EXPECT_EQ(std::make_tuple(places[1].cx, places[1].cy), std::make_tuple(320, 240));
    EXPECT_EQ(places[1].flags & (SWP_NOMOVE | SWP_NOSIZE), UINT(SWP_NOMOVE));
    const LPARAM moved = recorder.Only({WM_MOVE})[0].lParam;
    POINT client{0, 0};
    ClientToScreen(top, &client);
    EXPECT_EQ(std::make_tuple(GET_X_LPARAM(moved), GET_Y_LPARAM(moved)), std::make_tuple(int(client.x), int(client.y)));
    EXPECT_EQ(std::make_tuple(int(client.x), int(client.y)),
              std::make_tuple(770 + GetSystemMetrics(SM_CXFRAME), 600 + GetSystemMetrics(SM_CYFRAME) +
                                                                      GetSystemMetrics(SM_CYCAPTION)));
}

TEST_F(WindowTest, TextGoesThroughMessagesAndIsCutToTheBuffer) {
    HWND window = Make(WS_POPUP, 0, 0, 10, 10);
    EXPECT_TRUE(SetWindowTextA(window, "Hello world"));
    char buffer[6];
    EXPECT_EQ(GetWindowTextA(window, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "Hello");
    EXPECT_EQ(GetWindowTextLengthA(window), 11);
    EXPECT_EQ(GetWindowTextA(window, buffer, 0), 0);
    EXPECT_TRUE(SetWindowTextA(window, nullptr));
    EXPECT_EQ(GetWindowTextLengthA(window), 0);
    EXPECT_EQ(recorder.Only({WM_SETTEXT}).size(), 2u);
}

LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) return 99;
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongA(window, GWL_USERDATA));
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

TEST_F(WindowTest, WindowLongsKeepPointersAndExtraBytes) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.cbWndExtra = 16;
    windowClass.lpszClassName = "WithExtraBytes";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "WithExtraBytes", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    int local = 0;
    EXPECT_EQ(SetWindowLongA(window, 8, reinterpret_cast<LONG_PTR>(&local)), 0);
    EXPECT_EQ(GetWindowLongA(window, 8), reinterpret_cast<LONG_PTR>(&local));
    EXPECT_EQ(GetWindowLongA(window, 16), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));

    const LONG_PTR previous = SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass));
    SetWindowLongA(window, GWL_USERDATA, previous);
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 99);
    SetWindowTextA(window, "through");
    char text[16];
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "through");
    // WS_CHILD stays as it was.
    SetWindowLongA(window, GWL_STYLE, WS_CHILD | WS_POPUP);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_CHILD, 0);
    DestroyWindow(window);
    UnregisterClassA("WithExtraBytes", nullptr);
}

TEST_F(WindowTest, CloseMessageDestroysByDefault) {
    HWND window = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    PostMessageA(window, WM_CLOSE, 0, 0);
    driver.PumpUntilIdle();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowTest, SystemMetricsAndColours) {
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), 4);
    EXPECT_EQ(GetSystemMetrics(9999), 0);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    EXPECT_EQ(GetSysColor(-1), 0u);
}

TEST_F(WindowTest, CursorsFromStandardShapesAndResources) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(LoadCursorA(nullptr, IDC_IBEAM), arrow);
    EXPECT_EQ(win32::StandardCursorId(LoadCursorA(nullptr, IDC_WAIT)), 32514);
    EXPECT_EQ(LoadCursorA(nullptr, "NoSuchCursor"), nullptr);
    HCURSOR resource = LoadCursorA(nullptr, "POINTER");  // a CURSOR resource of the program
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, "pointer"), resource);
    EXPECT_EQ(win32::StandardCursorId(resource), 0);
    DWORD size = 0;
    EXPECT_NE(win32::CursorResourceBytes(resource, &size), nullptr);
    EXPECT_EQ(size, SizeofResource(nullptr, FindResourceA(nullptr, "Pointer", RT_CURSOR)));
    SetCursor(arrow);
    EXPECT_EQ(SetCursor(nullptr), arrow);
}

}  // namespace
