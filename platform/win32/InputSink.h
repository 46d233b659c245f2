// Where a display back end (or the test driver) hands in device input; the
// layer turns it into the messages the original platform delivers.
// Internal to the Win32 subset and its back ends.
#pragma once

#include <string>

#include "Win32Types.h"

namespace win32 {

// A key went down or up. virtualKey may be side-specific (VK_LSHIFT, VK_RCONTROL,
// VK_RMENU ...; VK_SHIFT/VK_CONTROL/VK_MENU count as the left key). A key-down
// while the key is already down is an auto-repeat. characters, when not null,
// are the code-page bytes the keyboard layout makes of this key-down (they
// replace what the built-in US layout would give); TranslateMessage delivers them.
// Goes to the focus window, or as a system key to the active window when no
// window has the focus; dropped when neither exists.
void KeyInput(UINT virtualKey, bool down, const std::string* characters = nullptr);
// Text without a key of its own (a character the layout reaches only through an
// input method): one WM_CHAR per byte to the focus window. Dropped while Alt
// is held without Ctrl: the character of an Alt chord is its WM_SYSCHAR.
void TextInput(const std::string& codePageText);
// Pointer moved to a screen point (WM_MOUSEMOVE to the window under it or the
// capture window; WM_MOUSELEAVE for tracked windows left; scroll-bar drags).
void MouseMoveInput(POINT screen);
// button: 0 left, 1 right, 2 middle. Double clicks follow the class's CS_DBLCLKS.
void MouseButtonInput(int button, bool down, POINT screen);
// Where a wheel turn goes: to the focus window (the classic rule, which the
// headless test driver keeps), or, as desktops do, to the window under the
// pointer (the capture window while one holds the mouse; nothing over a
// disabled window; the focus window when the pointer is over none of ours).
enum class WheelRouting { ToFocus, UnderPointer };
// Wheel turned by delta (120 a notch, positive away from the user). Windows
// that leave WM_MOUSEWHEEL to DefWindowProcA pass it on to their parents.
void MouseWheelInput(int delta, POINT screen, WheelRouting routing = WheelRouting::ToFocus);
// Forgets key, button, capture, focus and click state (test reset).
void ResetInputState();

}  // namespace win32
