// Calls between the units of the window layer (tree, queue, input, painting,
// caret, timers, scroll bars, display). Internal to the Win32 subset.
#pragma once

#include <string>

#include "MessageQueue.h"
#include "Region.h"
#include "WindowObject.h"

namespace win32 {

// A window is going away: the units drop what they keep about it.
void ForgetFocusOf(Window& window);    // focus, activation, capture, mouse tracking
void ForgetCaretOf(HWND window);
void ForgetTimersOf(HWND window);
void ForgetMessagesOf(HWND window);   // posted messages; pending cross-thread sends answer 0
void ForgetScrollTrackingOf(HWND window);

// Painting: adds a region in client coordinates (or the whole client area) to
// the update region, with children unless the window clips them.
void InvalidateClientRegion(Window& window, const Region& region, bool erase, bool withChildren);
void InvalidateWholeWindow(Window& window);  // client and non-client, children too
// Part of the window's parent (or top-level surface) uncovered when the window
// moved or hid: repaint it. rect is in the parent's client coordinates.
void InvalidateParentArea(Window& window, const RECT& rectInParent);
Window* NextWindowToPaint();
// Draws the layer's own non-client parts (standard scroll bars, borders).
void DrawNonClient(Window& window);
// Presents the top-level window's surface when a back end shows it.
void SurfaceChanged(Window& topLevel);
// The same for the top-level window of window, when it still exists: what
// was drawn through one of its DCs (a paint DC or a released window DC) shows.
void WindowDrawingDone(HWND window);

// Activation helper used by ShowWindow.
void ActivateOnShow(Window& window);
void ActivateAnotherWindow(Window* leaving);

// Scroll bars: geometry of a window's standard bar in window coordinates, and
// the mouse handling of bars (standard and controls) by DefWindowProcA.
bool StandardBarVisible(const Window& window, int bar);
RECT StandardBarRect(const Window& window, int bar);
LRESULT HandleScrollBarMouse(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
void DrawScrollBarControl(Window& window, HDC dc);
bool ScrollTrackingActive();
void ScrollTrackingTimer();  // repeats a held arrow or page area when due

// Keyboard / mouse delivery from the queue: key state follows each retrieved input message.
void ApplyInputToKeyState(UINT message, WPARAM wParam, LPARAM lParam);

// Caret hide/show around painting and scrolling, and its blink.
void HideCaretForPaint(HWND window);
void ShowCaretAfterPaint(HWND window);
void MoveCaretWithScroll(HWND window, const RECT& scrolledRect, int dx, int dy);
// Due time of the next internal tick (caret blink, scroll-bar repeat); 0 when none.
uint32_t NextInternalTickDue();
void RunInternalTicks(uint32_t now);
uint32_t NextCaretBlinkDue();
void BlinkCaret(uint32_t now);

// Timers: the next due WM_TIMER (fills msg and returns true), and the earliest due time.
bool TakeDueTimer(HWND filter, UINT filterMin, UINT filterMax, bool remove, MSG* msg);
bool EarliestTimerDue(uint32_t* due);
// Whether procedure belongs to that live timer (a posted WM_TIMER cannot smuggle in a call).
bool IsTimerProcedure(HWND window, UINT_PTR id, LPARAM procedure);

// Mouse: the window under a screen point, as input goes there.
Window* WindowAtScreenPoint(POINT screen);


// ---- Queue ----
// Queues an input message (keyboard or mouse) behind everything posted before
// it. characters are what TranslateMessage makes of a key-down (may be empty).
void PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const std::string& characters);
// Wakes a waiting message loop (the clock moved, a back end has events).
void WakeMessageLoop();
// Drops every queued, sent and quit message (test reset).
void ClearMessageQueue();
// The characters the back end attached to this key-down, if it is the last one retrieved.
bool CharactersOfRetrievedKey(const MSG& msg, std::string* characters);


// Puts a WM_CHAR / WM_SYSCHAR at the front of the queue (TranslateMessage).
void PostCharacterMessage(HWND window, UINT message, WPARAM character, LPARAM lParam);

// Earliest due moment of anything the clock generates (timers, caret blink,
// scroll-bar repeat); false when nothing waits on the clock.
bool NextClockDue(uint32_t* due);
// Test resets of each unit's state.
void ResetKeyboardState();
void ResetMouseState();
void ResetFocusState();
void ResetTimers();
void ResetCaret();
void ResetScrollTracking();
}  // namespace win32
