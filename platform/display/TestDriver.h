// The test driver of the headless back end: resets the window layer, injects
// keys, text, mouse moves, clicks, drags and wheel notches at window
// coordinates, moves the test clock, pumps the queue and reads pixels.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "Win32Types.h"

namespace win32 {

class TestDriver {
public:
    // Destroys every window and forgets queued messages, key and button state,
    // focus, capture, timers and the caret; switches to the test clock, which
    // stays in use for the rest of the process.
    TestDriver();
    // Destroys the windows the test left behind.
    ~TestDriver();
    TestDriver(const TestDriver&) = delete;
    TestDriver& operator=(const TestDriver&) = delete;

    // Every input call pumps until idle afterwards unless auto-pumping is off.
    void SetAutoPump(bool enabled) { autoPump_ = enabled; }

    // Keys: side-specific codes allowed (VK_LSHIFT, VK_RMENU...). characters
    // replace what the built-in US layout makes of the key-down.
    void KeyDown(UINT virtualKey);
    void KeyDown(UINT virtualKey, const std::string& characters);
    void KeyUp(UINT virtualKey);
    // Down and up; with modifiers held around it (pressed in order, released in reverse).
    void Press(UINT virtualKey);
    void Press(std::initializer_list<UINT> modifiers, UINT virtualKey);
    // AltGr (left Ctrl + right Alt, as the original platform reports it) with the
    // key, producing the given characters.
    void PressAltGr(UINT virtualKey, const std::string& characters);
    // Types code-page text: ASCII through its keys (with Shift where needed),
    // other bytes as text input.
    void Type(const std::string& text);
    // Text as a desktop sends it beside the key-downs that made it (SDL's
    // text events), given to the layer as text input.
    void Text(const std::string& codePageText);

    // Mouse at client coordinates of window (button 0 left, 1 right, 2 middle).
    void MoveMouse(HWND window, int x, int y);
    void MouseDown(HWND window, int x, int y, int button = 0);
    void MouseUp(HWND window, int x, int y, int button = 0);
    void Click(HWND window, int x, int y, int button = 0);
    void DoubleClick(HWND window, int x, int y, int button = 0);
    // Down at the start, steps moves to the end, up there.
    void Drag(HWND window, int fromX, int fromY, int toX, int toY, int steps = 4, int button = 0);
    // Wheel notches (positive: away from the user, +120 each) or a raw delta.
    void Wheel(HWND window, int x, int y, int notches);
    void WheelDelta(HWND window, int x, int y, int delta);
    // The same at screen coordinates (for the non-client parts, such as standard scroll bars).
    void MoveMouseOnScreen(POINT screen);
    void MouseDownOnScreen(POINT screen, int button = 0);
    void MouseUpOnScreen(POINT screen, int button = 0);

    // Moves the test clock forward, stopping at every due timer, caret blink and
    // scroll-bar repeat on the way to dispatch what falls due there.
    void Advance(uint32_t milliseconds);
    uint32_t Now() const;

    // Retrieves, translates and dispatches messages until none is left (WM_PAINT
    // and due timers included), each offered to the message filter first, so
    // dialog keys reach forms as in the application's loops. Stops at WM_QUIT,
    // which it records. Returns the number of messages dispatched (or used by
    // the filter); stops after limit messages.
    int PumpUntilIdle(int limit = 100000);
    bool QuitSeen() const { return quitSeen_; }
    int QuitCode() const { return quitCode_; }

    // Pixel of a window's client point, as COLORREF; CLR_INVALID (0xFFFFFFFF)
    // outside its top-level surface or for a bad window.
    COLORREF Pixel(HWND window, int x, int y) const;
    // The same at window coordinates (non-client parts included).
    COLORREF WindowPixel(HWND window, int x, int y) const;

private:
    void AfterInput();
    bool autoPump_ = true;
    bool quitSeen_ = false;
    int quitCode_ = 0;
};

}  // namespace win32
