// The headless test driver: resets, scripted input, the test clock and pixels.
#include "display/TestDriver.h"

#include <vector>

#include "Input.h"
#include "InputSink.h"
#include "MessageClock.h"
#include "MessageQueue.h"
#include "Responder.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

void DestroyAllWindows() {
    for (;;) {
        std::vector<Window*> windows = TopLevelWindows();
        if (windows.empty()) return;
        DestroyWindow(windows.front()->handle);
        if (!TopLevelWindows().empty() && TopLevelWindows().front() == windows.front()) {
            // A window that refuses to go (destroying already) is dropped from the list.
            TopLevelList().erase(TopLevelList().begin());
        }
    }
}

void ResetLayer() {
    DestroyAllWindows();
    ClearMessageQueue();
    ResetKeyboardState();
    ResetMouseState();
    ResetFocusState();
    ResetTimers();
    ResetCaret();
    ResetScrollTracking();
}

POINT ScreenPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

struct ShiftedKey {
    char character;
    UINT key;
    bool shift;
};
// ORDER: none; ASCII punctuation on the built-in US layout.
const ShiftedKey punctuation[] = {
    {' ', VK_SPACE, false},     {'\r', VK_RETURN, false},   {'\n', VK_RETURN, false},  {'\t', VK_TAB, false},
    {'\b', VK_BACK, false},     {27, VK_ESCAPE, false},     {')', '0', true},          {'!', '1', true},
    {'@', '2', true},           {'#', '3', true},           {'$', '4', true},          {'%', '5', true},
    {'^', '6', true},           {'&', '7', true},           {'*', '8', true},          {'(', '9', true},
    {';', VK_OEM_1, false},     {':', VK_OEM_1, true},      {'=', VK_OEM_PLUS, false}, {'+', VK_OEM_PLUS, true},
    {',', VK_OEM_COMMA, false}, {'<', VK_OEM_COMMA, true},  {'-', VK_OEM_MINUS, false}, {'_', VK_OEM_MINUS, true},
    {'.', VK_OEM_PERIOD, false}, {'>', VK_OEM_PERIOD, true}, {'/', VK_OEM_2, false},   {'?', VK_OEM_2, true},
    {'`', VK_OEM_3, false},     {'~', VK_OEM_3, true},      {'[', VK_OEM_4, false},    {'{', VK_OEM_4, true},
    {'\\', VK_OEM_5, false},    {'|', VK_OEM_5, true},      {']', VK_OEM_6, false},    {'}', VK_OEM_6, true},
    {'\'', VK_OEM_7, false},    {'"', VK_OEM_7, true},
};

bool KeyForCharacter(char c, UINT* key, bool* shift) {
    if (c >= 'a' && c <= 'z') {
        *key = UINT(c - 'a' + 'A');
        *shift = false;
        return true;
    }
    if (c >= 'A' && c <= 'Z') {
        *key = UINT(c);
        *shift = true;
        return true;
    }
    if (c >= '0' && c <= '9') {
        *key = UINT(c);
        *shift = false;
        return true;
    }
    for (const ShiftedKey& entry : punctuation)
        if (entry.character == c) {
            *key = entry.key;
            *shift = entry.shift;
            return true;
        }
    return false;
}

}  // namespace

TestDriver::TestDriver() {
    UseTestClock(true);
    ResetLayer();
}

TestDriver::~TestDriver() { ResetLayer(); }

void TestDriver::AfterInput() {
    if (autoPump_) PumpUntilIdle();
}

void TestDriver::KeyDown(UINT virtualKey) {
    KeyInput(virtualKey, true);
    AfterInput();
}

void TestDriver::KeyDown(UINT virtualKey, const std::string& characters) {
    KeyInput(virtualKey, true, &characters);
    AfterInput();
}

void TestDriver::KeyUp(UINT virtualKey) {
    KeyInput(virtualKey, false);
    AfterInput();
}

void TestDriver::Press(UINT virtualKey) { Press({}, virtualKey); }

void TestDriver::Press(std::initializer_list<UINT> modifiers, UINT virtualKey) {
    for (UINT modifier : modifiers) KeyInput(modifier, true);
    KeyInput(virtualKey, true);
    KeyInput(virtualKey, false);
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier)
        KeyInput(*modifier, false);
    AfterInput();
}

void TestDriver::PressAltGr(UINT virtualKey, const std::string& characters) {
    KeyInput(VK_LCONTROL, true);
    KeyInput(VK_RMENU, true);
    KeyInput(virtualKey, true, &characters);
    KeyInput(virtualKey, false);
    KeyInput(VK_RMENU, false);
    KeyInput(VK_LCONTROL, false);
    AfterInput();
}

void TestDriver::Type(const std::string& text) {
    for (char c : text) {
        UINT key = 0;
        bool shift = false;
        if (!KeyForCharacter(c, &key, &shift)) {
            TextInput(std::string(1, c));
            continue;
        }
        const bool shiftHeld = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
        if (shift && !shiftHeld) KeyInput(VK_LSHIFT, true);
        KeyInput(key, true);
        KeyInput(key, false);
        if (shift && !shiftHeld) KeyInput(VK_LSHIFT, false);
    }
    AfterInput();
}

void TestDriver::Text(const std::string& codePageText) {
    TextInput(codePageText);
    AfterInput();
}

void TestDriver::MoveMouse(HWND window, int x, int y) { MoveMouseOnScreen(ScreenPoint(window, x, y)); }

void TestDriver::MouseDown(HWND window, int x, int y, int button) {
    MouseDownOnScreen(ScreenPoint(window, x, y), button);
}

void TestDriver::MouseUp(HWND window, int x, int y, int button) { MouseUpOnScreen(ScreenPoint(window, x, y), button); }

void TestDriver::Click(HWND window, int x, int y, int button) {
    const POINT point = ScreenPoint(window, x, y);
    MouseMoveInput(point);
    MouseButtonInput(button, true, point);
    MouseButtonInput(button, false, point);
    AfterInput();
}

void TestDriver::DoubleClick(HWND window, int x, int y, int button) {
    const POINT point = ScreenPoint(window, x, y);
    MouseMoveInput(point);
    for (int i = 0; i < 2; ++i) {
        MouseButtonInput(button, true, point);
        MouseButtonInput(button, false, point);
    }
    AfterInput();
}

void TestDriver::Drag(HWND window, int fromX, int fromY, int toX, int toY, int steps, int button) {
    const POINT start = ScreenPoint(window, fromX, fromY);
    const POINT end = ScreenPoint(window, toX, toY);
    MouseMoveInput(start);
    MouseButtonInput(button, true, start);
    AfterInput();
    steps = steps < 1 ? 1 : steps;
    for (int i = 1; i <= steps; ++i) {
        MouseMoveInput(POINT{start.x + (end.x - start.x) * i / steps, start.y + (end.y - start.y) * i / steps});
        AfterInput();
    }
    MouseButtonInput(button, false, end);
    AfterInput();
}

void TestDriver::Wheel(HWND window, int x, int y, int notches) { WheelDelta(window, x, y, notches * 120); }

void TestDriver::WheelDelta(HWND window, int x, int y, int delta) {
    const POINT point = ScreenPoint(window, x, y);
    MouseMoveInput(point);
    MouseWheelInput(delta, point);
    AfterInput();
}

void TestDriver::MoveMouseOnScreen(POINT screen) {
    MouseMoveInput(screen);
    AfterInput();
}

void TestDriver::MouseDownOnScreen(POINT screen, int button) {
    MouseMoveInput(screen);
    MouseButtonInput(button, true, screen);
    AfterInput();
}

void TestDriver::MouseUpOnScreen(POINT screen, int button) {
    MouseMoveInput(screen);
    MouseButtonInput(button, false, screen);
    AfterInput();
}

void TestDriver::Advance(uint32_t milliseconds) {
    const uint32_t target = MessageClockNow() + milliseconds;
    PumpUntilIdle();
    uint32_t due = 0;
    while (NextClockDue(&due) && int32_t(due - target) <= 0) {
        const int32_t step = int32_t(due - MessageClockNow());
        if (step > 0) AdvanceTestClock(uint32_t(step));
        PumpUntilIdle();
        uint32_t after = 0;
        // Something due that the pump cannot take (it stays due): stop stepping.
        if (NextClockDue(&after) && after == due && int32_t(after - MessageClockNow()) <= 0) break;
    }
    const int32_t rest = int32_t(target - MessageClockNow());
    if (rest > 0) AdvanceTestClock(uint32_t(rest));
    PumpUntilIdle();
}

uint32_t TestDriver::Now() const { return MessageClockNow(); }

int TestDriver::PumpUntilIdle(int limit) {
    int count = 0;
    MSG msg;
    while (count < limit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitSeen_ = true;
            quitCode_ = int(msg.wParam);
            break;
        }
        FilterAndDispatch(msg);
        ++count;
    }
    return count;
}

COLORREF TestDriver::WindowPixel(HWND handle, int x, int y) const {
    Window* window = FindWindowQuietly(handle);
    if (window == nullptr) return 0xFFFFFFFF;
    Window* top = TopLevelOf(window);
    const POINT origin = WindowOriginInTopLevel(*window);
    const int px = origin.x + x, py = origin.y + y;
    if (!top->surface || px < 0 || py < 0 || px >= top->surface->Width() || py >= top->surface->Height())
        return 0xFFFFFFFF;
    return ColourFromPixel(top->surface->Row(py)[px]);
}

COLORREF TestDriver::Pixel(HWND handle, int x, int y) const {
    Window* window = FindWindowQuietly(handle);
    if (window == nullptr) return 0xFFFFFFFF;
    const RECT client = ClientAreaInWindow(*window);
    return WindowPixel(handle, client.left + x, client.top + y);
}

}  // namespace win32
