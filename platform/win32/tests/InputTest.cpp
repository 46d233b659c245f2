// Keyboard and mouse input as the original platform delivers it: key-down and
// its character, system keys, AltGr, key state, double clicks, the wheel,
// capture, leave tracking and focus.
#include <gtest/gtest.h>

#include <tuple>

#include "MessageRecorder.h"
#include "Win32.h"
#include "display/TestDriver.h"

namespace {

const std::vector<UINT> keyMessages = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR};
const std::vector<UINT> mouseButtons = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                        WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK};

struct Expected {
    UINT message;
    WPARAM wParam;
};

class InputTest : public ::testing::Test {
protected:
    void SetUp() override { recorder.Reset(); }
    // Handlers capture the test's locals; windows destroyed afterwards must not reach them.
    void TearDown() override { recorder.handler = nullptr; }
    HWND MakeWindow(const char* className = MessageRecorder::ClassName(), int left = 100) {
        HWND window = CreateWindowExA(0, className, "input", WS_POPUP | WS_VISIBLE, left, 100, 300, 200, nullptr,
                                      nullptr, nullptr, nullptr);
        driver.PumpUntilIdle();
        recorder.messages.clear();
        return window;
    }
    HWND MakeChild(HWND parent, const char* title, int top) {
        return CreateWindowExA(0, MessageRecorder::ClassName(), title, WS_CHILD | WS_VISIBLE, 0, top, 50, 20, parent,
                               nullptr, nullptr, nullptr);
    }
    void ExpectSequence(const std::vector<UINT>& filter, const std::vector<Expected>& expected) {
        const auto got = recorder.Only(filter);
        ASSERT_EQ(got.size(), expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].message, expected[i].message) << "at " << i;
            EXPECT_EQ(got[i].wParam, expected[i].wParam) << "at " << i;
        }
    }

    win32::TestDriver driver;
    MessageRecorder& recorder = MessageRecorder::Instance();
};

TEST_F(InputTest, KeyDownIsFollowedByItsCharacterBeforeTheKeyUp) {
    HWND window = MakeWindow();
    ASSERT_EQ(GetFocus(), window);
    driver.SetAutoPump(false);
    driver.Press({VK_SHIFT}, 'A');
    driver.Press('B');
    driver.PumpUntilIdle();
    ExpectSequence(keyMessages, {{WM_KEYDOWN, VK_SHIFT},
                                 {WM_KEYDOWN, 'A'},
                                 {WM_CHAR, 'A'},
                                 {WM_KEYUP, 'A'},
                                 {WM_KEYUP, VK_SHIFT},
                                 {WM_KEYDOWN, 'B'},
                                 {WM_CHAR, 'b'},
                                 {WM_KEYUP, 'B'}});
    const auto keys = recorder.Only({WM_KEYUP});
    EXPECT_NE(keys[0].lParam & (LPARAM(1) << 31), 0);  // transition bit of a release
}

TEST_F(InputTest, ControlCharactersEnterAndCodePageText) {
    MakeWindow();
    driver.Press({VK_CONTROL}, 'A');
    driver.Press(VK_RETURN);
    driver.Press(VK_BACK);
    driver.Press(VK_OEM_MINUS);
    driver.Type("\xE8x");  // c with caron, then x
    std::vector<WPARAM> characters;
    for (const auto& m : recorder.Only({WM_CHAR})) characters.push_back(m.wParam);
    EXPECT_EQ(characters, (std::vector<WPARAM>{1, '\r', '\b', '-', 0xE8, 'x'}));
}

TEST_F(InputTest, AltKeyGivesSystemMessagesAndSysChar) {
    MakeWindow();
    int altBitOfG = -1;
    recorder.handler = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (message == WM_SYSKEYDOWN && wParam == 'G') altBitOfG = int((lParam >> 29) & 1);
        return false;
    };
    driver.Press({VK_MENU}, 'G');
    ExpectSequence(keyMessages, {{WM_SYSKEYDOWN, VK_MENU},
                                 {WM_SYSKEYDOWN, 'G'},
                                 {WM_SYSCHAR, 'g'},
                                 {WM_SYSKEYUP, 'G'},
                                 {WM_SYSKEYUP, VK_MENU}});
    EXPECT_EQ(altBitOfG, 1);
}

// A desktop sends text for every key that has a character, Alt chords too:
// a chord's character stays its WM_SYSCHAR, while AltGr's text is typed.
TEST_F(InputTest, TextADesktopSendsForAnAltChordIsNotTyped) {
    MakeWindow();
    driver.SetAutoPump(false);
    driver.KeyDown(VK_LMENU);
    driver.KeyDown('C');
    driver.Text("c");
    driver.KeyUp('C');
    driver.KeyDown(VK_LSHIFT);
    driver.KeyDown('X');
    driver.Text("X");
    driver.KeyUp('X');
    driver.KeyUp(VK_LSHIFT);
    driver.KeyUp(VK_LMENU);
    driver.KeyDown(VK_LCONTROL);
    driver.KeyDown(VK_RMENU);
    driver.KeyDown('Q', "");
    driver.Text("\\");
    driver.KeyUp('Q');
    driver.KeyUp(VK_RMENU);
    driver.KeyUp(VK_LCONTROL);
    driver.Text("\xF5");
    driver.PumpUntilIdle();
    ExpectSequence({WM_CHAR, WM_SYSCHAR}, {{WM_SYSCHAR, 'c'}, {WM_SYSCHAR, 'X'}, {WM_CHAR, '\\'}, {WM_CHAR, 0xF5}});
}

TEST_F(InputTest, AltGrArrivesAsControlAndAlt) {
    MakeWindow();
    bool controlDown = false, altDown = false, rightAltDown = false, leftControlDown = false;
    recorder.handler = [&](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
        if (message == WM_KEYDOWN && wParam == 'Q') {
            controlDown = GetKeyState(VK_CONTROL) < 0;
            altDown = GetKeyState(VK_MENU) < 0;
            rightAltDown = GetKeyState(VK_RMENU) < 0;
            leftControlDown = GetKeyState(VK_LCONTROL) < 0;
        }
        return false;
    };
    driver.PressAltGr('Q', "\\");
    ExpectSequence(keyMessages, {{WM_KEYDOWN, VK_CONTROL},
                                 {WM_KEYDOWN, VK_MENU},
                                 {WM_KEYDOWN, 'Q'},
                                 {WM_CHAR, '\\'},
                                 {WM_KEYUP, 'Q'},
                                 {WM_KEYUP, VK_MENU},
                                 {WM_KEYUP, VK_CONTROL}});
    EXPECT_TRUE(controlDown && altDown && rightAltDown && leftControlDown);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

TEST_F(InputTest, KeyStateFollowsTheQueueAndLocksToggle) {
    MakeWindow();
    SHORT shiftWhileHandlingA = 0;
    recorder.handler = [&](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
        if (message == WM_KEYDOWN && wParam == 'A') shiftWhileHandlingA = GetKeyState(VK_SHIFT);
        return false;
    };
    driver.SetAutoPump(false);
    driver.Press({VK_LSHIFT}, 'A');
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);  // released already at the device
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);           // nothing retrieved yet
    driver.PumpUntilIdle();
    EXPECT_LT(shiftWhileHandlingA, 0);
    EXPECT_EQ(GetAsyncKeyState('A'), 1);  // pressed since the last query, up now
    EXPECT_EQ(GetAsyncKeyState('A'), 0);
    EXPECT_GE(GetKeyState(VK_LSHIFT), 0);

    driver.SetAutoPump(true);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    driver.Press(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    recorder.messages.clear();
    driver.Press('K');
    ASSERT_EQ(recorder.Only({WM_CHAR}).size(), 1u);
    EXPECT_EQ(recorder.Only({WM_CHAR})[0].wParam, WPARAM('K'));
    EXPECT_EQ(GetKeyState(0x1234), 0);
}

TEST_F(InputTest, HeldKeyRepeatsWithPreviousStateBit) {
    MakeWindow();
    driver.KeyDown(VK_DOWN);
    driver.KeyDown(VK_DOWN);
    driver.KeyUp(VK_DOWN);
    const auto downs = recorder.Only({WM_KEYDOWN});
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ((downs[0].lParam >> 30) & 1, 0);
    EXPECT_EQ((downs[1].lParam >> 30) & 1, 1);
    EXPECT_EQ(downs[0].lParam & 0xFFFF, 1);  // repeat count
}

TEST_F(InputTest, DoubleClickOrderNeedsTheClassStyleAndTime) {
    HWND plain = MakeWindow();
    driver.DoubleClick(plain, 10, 10);
    ExpectSequence(mouseButtons, {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}});
    DestroyWindow(plain);

    HWND window = MakeWindow(MessageRecorder::DoubleClickClassName());
    driver.DoubleClick(window, 10, 10);
    ExpectSequence(mouseButtons, {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}, {WM_LBUTTONDBLCLK, MK_LBUTTON}, {WM_LBUTTONUP, 0}});
    const auto down = recorder.Only({WM_LBUTTONDOWN})[0];
    EXPECT_EQ(GET_X_LPARAM(down.lParam), 10);
    EXPECT_EQ(GET_Y_LPARAM(down.lParam), 10);

    // Too slow, or too far apart: two single clicks.
    recorder.messages.clear();
    driver.Advance(1000);
    driver.Click(window, 50, 50);
    driver.Advance(GetDoubleClickTime() + 1);
    driver.Click(window, 50, 50);
    driver.Click(window, 80, 50);
    EXPECT_TRUE(recorder.Only({WM_LBUTTONDBLCLK}).empty());
    EXPECT_EQ(recorder.Only({WM_LBUTTONDOWN}).size(), 3u);
}

TEST_F(InputTest, WheelDeltaIsSignedInTheHighWord) {
    HWND window = MakeWindow();
    bool leftControl = false;
    recorder.handler = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT*) {
        if (message == WM_MOUSEWHEEL) leftControl = GetKeyState(VK_LCONTROL) < 0;
        return message == WM_MOUSEWHEEL;
    };
    driver.Wheel(window, 20, 30, 1);
    driver.Wheel(window, 20, 30, -2);
    driver.KeyDown(VK_LCONTROL);
    driver.WheelDelta(window, 20, 30, 60);
    driver.KeyUp(VK_LCONTROL);
    const auto wheels = recorder.Only({WM_MOUSEWHEEL});
    ASSERT_EQ(wheels.size(), 3u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].wParam), 120);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[1].wParam), -240);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[2].wParam), 60);
    EXPECT_EQ(GET_KEYSTATE_WPARAM(wheels[2].wParam) & MK_CONTROL, MK_CONTROL);
    EXPECT_TRUE(leftControl);
    // The point is in screen coordinates.
    EXPECT_EQ(GET_X_LPARAM(wheels[0].lParam), 120);
    EXPECT_EQ(GET_Y_LPARAM(wheels[0].lParam), 130);
}

// The frame and caption as the mouse finds them (a framed window at (100, 100),
// 300 x 200: a 4-pixel sizing frame, an 18-pixel caption, a 16 x 14 close box
// 2 pixels in from the caption's right end), and what the caption does: a
// double click maximizes or restores where the window has a maximize box,
// and a press released on the close box closes the window.
TEST_F(InputTest, FrameAndCaptionAnswerTheMouse) {
    // A sizeable window with a maximize box, and a fixed one without.
    const struct {
        DWORD style;
        int left;
    } kinds[] = {{WS_OVERLAPPEDWINDOW, 100}, {WS_CAPTION | WS_SYSMENU | WS_BORDER, 500}};
    HWND windows[2] = {};
    auto make = [&](int kind) {
        windows[kind] = CreateWindowExA(0, MessageRecorder::ClassName(), "framed", kinds[kind].style | WS_VISIBLE,
                                        kinds[kind].left, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
    };
    make(0);
    make(1);
    const struct {
        int kind;
        POINT at;
        int hit;
    } parts[] = {
        {0, {250, 112}, HTCAPTION},     {0, {101, 200}, HTLEFT},       {0, {398, 200}, HTRIGHT},
        {0, {250, 101}, HTTOP},         {0, {250, 298}, HTBOTTOM},     {0, {101, 101}, HTTOPLEFT},
        {0, {110, 101}, HTTOPLEFT},     {0, {398, 101}, HTTOPRIGHT},   {0, {101, 298}, HTBOTTOMLEFT},
        {0, {398, 298}, HTBOTTOMRIGHT}, {0, {250, 200}, HTCLIENT},     {0, {386, 113}, HTCLOSE},
        {1, {500, 200}, HTBORDER},      {1, {650, 111}, HTCAPTION},    {1, {786, 111}, HTCLOSE},
    };
    for (const auto& part : parts) {
        recorder.messages.clear();
        driver.Advance(1000);
        driver.MouseDownOnScreen(part.at);
        driver.MouseUpOnScreen(part.at);
        const auto downs = recorder.Only({WM_NCLBUTTONDOWN, WM_LBUTTONDOWN});
        ASSERT_EQ(downs.size(), 1u) << part.at.x << "," << part.at.y;
        EXPECT_EQ(downs[0].window, windows[part.kind]);
        EXPECT_EQ(downs[0].message, UINT(part.hit == HTCLIENT ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN));
        if (part.hit != HTCLIENT) {
            EXPECT_EQ(downs[0].wParam, WPARAM(part.hit)) << part.at.x << "," << part.at.y;
        }
        // Released on the close box, the press closed the window.
        EXPECT_EQ(bool(IsWindow(windows[part.kind])), part.hit != HTCLOSE);
        if (part.hit == HTCLOSE) make(part.kind);
    }

    // Pressed on the close box, released on the caption: the window stays.
    driver.MouseDownOnScreen(POINT{386, 113});
    driver.MouseUpOnScreen(POINT{250, 112});
    EXPECT_TRUE(IsWindow(windows[0]));
    // A double click on the caption maximizes, and another restores; without
    // a maximize box it changes nothing.
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const struct {
        int kind;
        POINT at;
        RECT after;
    } doubleClicks[] = {
        {0, {250, 112}, screen}, {0, {250, 12}, {100, 100, 400, 300}}, {1, {650, 112}, {500, 100, 800, 300}}};
    for (const auto& doubleClick : doubleClicks) {
        driver.Advance(1000);
        for (int click = 0; click < 2; ++click) {
            driver.MouseDownOnScreen(doubleClick.at);
            driver.MouseUpOnScreen(doubleClick.at);
        }
        RECT now{};
        GetWindowRect(windows[doubleClick.kind], &now);
        EXPECT_EQ(std::make_tuple(now.left, now.top, now.right, now.bottom),
                  std::make_tuple(doubleClick.after.left, doubleClick.after.top, doubleClick.after.right,
                                  doubleClick.after.bottom));
        EXPECT_EQ(bool(IsZoomed(windows[doubleClick.kind])), doubleClick.after.left == 0);
    }
    for (HWND window : windows) DestroyWindow(window);
}

TEST_F(InputTest, CaptureTakesMouseOutsideAndReportsItsLoss) {
    HWND window = MakeWindow();
    EXPECT_EQ(SetCapture(window), nullptr);
    EXPECT_EQ(GetCapture(), window);
    driver.MoveMouseOnScreen(POINT{50, 60});  // left of and above the window
    const auto moves = recorder.Only({WM_MOUSEMOVE});
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), -50);
    EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), -40);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 50);
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    const auto changed = recorder.Only({WM_CAPTURECHANGED});
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].lParam, 0);
    driver.MoveMouseOnScreen(POINT{40, 40});
    EXPECT_EQ(recorder.Only({WM_MOUSEMOVE}).size(), 1u);  // nothing under the pointer now
}

TEST_F(InputTest, MouseLeaveAfterTrackMouseEvent) {
    HWND window = MakeWindow();
    driver.MoveMouse(window, 10, 10);
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
    ASSERT_TRUE(TrackMouseEvent(&track));
    driver.MoveMouse(window, 20, 10);
    EXPECT_TRUE(recorder.Only({WM_MOUSELEAVE}).empty());
    driver.MoveMouse(window, 400, 10);
    EXPECT_EQ(recorder.Only({WM_MOUSELEAVE}).size(), 1u);
    driver.MoveMouse(window, 20, 10);
    driver.MoveMouse(window, 400, 10);
    EXPECT_EQ(recorder.Only({WM_MOUSELEAVE}).size(), 1u);  // one request, one message
}

TEST_F(InputTest, RightClickGivesContextMenuAtScreenPoint) {
    HWND window = MakeWindow();
    driver.Click(window, 5, 7, 1);
    const auto menus = recorder.Only({WM_CONTEXTMENU});
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(menus[0].wParam), window);
    EXPECT_EQ(GET_X_LPARAM(menus[0].lParam), 105);
    EXPECT_EQ(GET_Y_LPARAM(menus[0].lParam), 107);
}

TEST_F(InputTest, FocusMovesWithKillBeforeSetAndSkipsDisabledWindows) {
    HWND window = MakeWindow();
    HWND first = MakeChild(window, "a", 0);
    HWND second = MakeChild(window, "b", 30);
    recorder.messages.clear();
    EXPECT_EQ(SetFocus(first), window);
    EXPECT_EQ(SetFocus(second), first);
    const auto focus = recorder.Only({WM_SETFOCUS, WM_KILLFOCUS});
    ASSERT_EQ(focus.size(), 4u);
    EXPECT_EQ(focus[0].message, UINT(WM_KILLFOCUS));
    EXPECT_EQ(focus[0].window, window);
    EXPECT_EQ(focus[2].message, UINT(WM_KILLFOCUS));
    EXPECT_EQ(focus[2].window, first);
    EXPECT_EQ(reinterpret_cast<HWND>(focus[2].wParam), second);
    EXPECT_EQ(focus[3].message, UINT(WM_SETFOCUS));
    EXPECT_EQ(reinterpret_cast<HWND>(focus[3].wParam), first);

    EnableWindow(first, FALSE);
    EXPECT_EQ(SetFocus(first), nullptr);
    EXPECT_EQ(GetFocus(), second);
    EnableWindow(second, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), window);
    // Keys with no focus go to the active window as system keys.
    recorder.messages.clear();
    driver.Press('X');
    EXPECT_EQ(recorder.Numbers({WM_SYSKEYDOWN, WM_KEYDOWN}), (std::vector<UINT>{WM_KEYDOWN}));
}

TEST_F(InputTest, KeysTypedAheadOfAFocusChangeGoToTheNewFocus) {
    HWND window = MakeWindow();
    HWND first = MakeChild(window, "a", 0);
    HWND second = MakeChild(window, "b", 30);
    SetFocus(first);
    recorder.handler = [&](HWND target, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
        if (target == first && message == WM_KEYDOWN && wParam == VK_TAB) SetFocus(second);
        return false;
    };
    recorder.messages.clear();
    // All of it queued before any is handled, as a fast typist's keys arrive.
    driver.SetAutoPump(false);
    driver.Press(VK_TAB);
    driver.Type("ok");
    driver.PumpUntilIdle();
    std::vector<HWND> charTargets;
    for (const auto& m : recorder.Only({WM_CHAR}))
        if (m.wParam != '\t') charTargets.push_back(m.window);
    EXPECT_EQ(charTargets, (std::vector<HWND>{second, second}));
}

TEST_F(InputTest, ActivationMovesBetweenTopLevelWindows) {
    HWND first = MakeWindow();
    HWND second = MakeWindow(MessageRecorder::ClassName(), 500);
    EXPECT_EQ(GetActiveWindow(), second);
    recorder.messages.clear();
    driver.Click(first, 5, 5);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);
    const auto activations = recorder.Only({WM_ACTIVATE});
    ASSERT_EQ(activations.size(), 2u);
    EXPECT_EQ(activations[0].window, second);
    EXPECT_EQ(LOWORD(activations[0].wParam), WA_INACTIVE);
    EXPECT_EQ(activations[1].window, first);
    EXPECT_EQ(LOWORD(activations[1].wParam), WA_ACTIVE);
    DestroyWindow(first);
    EXPECT_EQ(GetActiveWindow(), second);
}

}  // namespace

namespace {

TEST_F(InputTest, CursorShapeComesFromTheClassUnlessTheParentChooses) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    windowClass.lpszClassName = "CursorChild";
    RegisterClassA(&windowClass);
    HWND parent = MakeWindow();
    HWND child = CreateWindowExA(0, "CursorChild", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent, nullptr, nullptr,
                                 nullptr);
    driver.MoveMouse(child, 5, 5);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_IBEAM));
    const auto asked = recorder.Only({WM_SETCURSOR});
    ASSERT_EQ(asked.size(), 1u);  // the parent was asked first
    EXPECT_EQ(reinterpret_cast<HWND>(asked[0].wParam), child);
    EXPECT_EQ(LOWORD(asked[0].lParam), HTCLIENT);
    EXPECT_EQ(HIWORD(asked[0].lParam), WM_MOUSEMOVE);
    driver.MoveMouse(parent, 200, 150);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));

    recorder.handler = [](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
        if (message != WM_SETCURSOR) return false;
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        *result = TRUE;
        return true;
    };
    driver.MoveMouse(child, 6, 6);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    DestroyWindow(parent);
    UnregisterClassA("CursorChild", nullptr);
}

}  // namespace
