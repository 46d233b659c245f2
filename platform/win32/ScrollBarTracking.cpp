// Mouse handling of scroll bars: arrows and page areas that repeat while held,
// and thumb drags reported with SB_THUMBTRACK, SB_THUMBPOSITION and SB_ENDSCROLL.
#include "Input.h"
#include "MessageClock.h"
#include "MessageQueue.h"
#include "ScrollBarGeometry.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

const uint32_t firstRepeatDelay = 400;
const uint32_t repeatInterval = 50;

enum class BarPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };

struct Tracking {
    bool active = false;
    HWND window = nullptr;
    int bar = SB_VERT;
    BarPart part = BarPart::None;
    int grabOffset = 0;  // pointer distance from the thumb's leading edge
    POINT point{0, 0};   // last pointer position, top-level coordinates
    uint32_t nextRepeat = 0;
};
Tracking tracking;

int Axis(const ScrollBarLayout& layout, POINT point) { return layout.vertical ? point.y : point.x; }

BarPart PartAt(const ScrollBarLayout& layout, POINT point) {
    const RECT& r = layout.bar;
    if (point.x < r.left || point.x >= r.right || point.y < r.top || point.y >= r.bottom) return BarPart::None;
    const int at = Axis(layout, point);
    if (at < layout.trackStart) return BarPart::LineUp;
    if (at >= layout.trackEnd) return BarPart::LineDown;
    if (layout.thumbEnd > layout.thumbStart) {
        if (at < layout.thumbStart) return BarPart::PageUp;
        if (at >= layout.thumbEnd) return BarPart::PageDown;
        return BarPart::Thumb;
    }
    return BarPart::None;
}

int CodeOf(BarPart part) {
    switch (part) {
        case BarPart::LineUp: return SB_LINEUP;
        case BarPart::LineDown: return SB_LINEDOWN;
        case BarPart::PageUp: return SB_PAGEUP;
        case BarPart::PageDown: return SB_PAGEDOWN;
        default: return SB_ENDSCROLL;
    }
}

// WM_HSCROLL / WM_VSCROLL to the window of a standard bar, or to a control's parent.
void Notify(Window& window, int bar, int code, int position) {
    const UINT message = IsVerticalBar(window, bar) ? WM_VSCROLL : WM_HSCROLL;
    const WPARAM wParam = MAKEWPARAM(WORD(code), WORD(position));
    if (bar == SB_CTL) {
        if (window.IsChild()) SendMessageA(window.parent->handle, message, wParam, LPARAM(window.handle));
    } else {
        SendMessageA(window.handle, message, wParam, 0);
    }
}

POINT ScreenToTopLevel(const Window& window, POINT screen) {
    const Window* top = TopLevelOf(const_cast<Window*>(&window));
    return POINT{screen.x - top->rect.left, screen.y - top->rect.top};
}

ScrollBarLayout CurrentLayout(Window& window, int bar) {
    return LayOutScrollBar(ScrollBarRectInTopLevel(window, bar), IsVerticalBar(window, bar), *ScrollBarOf(window, bar));
}

// Whether the held part is still under the pointer (page areas end where the thumb arrives).
bool PartStillHeld(Window& window) {
    return PartAt(CurrentLayout(window, tracking.bar), tracking.point) == tracking.part;
}

void Begin(Window& window, int bar, POINT screen) {
    ScrollBarState* state = ScrollBarOf(window, bar);
    if (state == nullptr || (bar == SB_CTL ? false : !StandardBarVisible(window, bar))) return;
    if (state->disabledArrows == ESB_DISABLE_BOTH || !IsEnabledWithAncestors(window)) return;
    const POINT point = ScreenToTopLevel(window, screen);
    const ScrollBarLayout layout = CurrentLayout(window, bar);
    const BarPart part = PartAt(layout, point);
    if (part == BarPart::None) return;
    tracking = Tracking{true, window.handle, bar, part, Axis(layout, point) - layout.thumbStart, point,
                        MessageClockNow() + firstRepeatDelay};
    SetCapture(window.handle);
    if (part == BarPart::Thumb) {
        state->tracking = true;
        state->trackPosition = state->position;
        return;
    }
    Notify(window, bar, CodeOf(part), 0);
}

void Move(Window& window, POINT screen) {
    tracking.point = ScreenToTopLevel(window, screen);
    if (tracking.part != BarPart::Thumb) return;
    ScrollBarState* state = ScrollBarOf(window, tracking.bar);
    const ScrollBarLayout layout = CurrentLayout(window, tracking.bar);
    const int position = PositionForThumb(layout, *state, Axis(layout, tracking.point) - tracking.grabOffset);
    if (position == state->trackPosition) return;
    state->trackPosition = position;
    PaintScrollBar(window, tracking.bar);
    Notify(window, tracking.bar, SB_THUMBTRACK, position);
}

void End(Window& window) {
    const Tracking ended = tracking;
    tracking = Tracking();
    if (GetCapture() == window.handle) ReleaseCapture();
    if (!WindowStillExists(window.handle)) return;
    ScrollBarState* state = ScrollBarOf(window, ended.bar);
    if (ended.part == BarPart::Thumb && state != nullptr) {
        const int position = state->trackPosition;
        Notify(window, ended.bar, SB_THUMBPOSITION, position);
        if (!WindowStillExists(ended.window)) return;
        state->tracking = false;
    }
    Notify(window, ended.bar, SB_ENDSCROLL, 0);
    if (WindowStillExists(ended.window)) PaintScrollBar(window, ended.bar);
}

}  // namespace

bool ScrollTrackingActive() { return tracking.active; }

void ForgetScrollTrackingOf(HWND window) {
    if (tracking.window == window) tracking = Tracking();
}

LRESULT HandleScrollBarMouse(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool client = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_MOUSEMOVE ||
                        message == WM_LBUTTONUP;
    if (client) ClientToScreen(window.handle, &screen);
    switch (message) {
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (!tracking.active && (wParam == HTVSCROLL || wParam == HTHSCROLL))
                Begin(window, wParam == HTVSCROLL ? SB_VERT : SB_HORZ, screen);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!tracking.active && window.IsScrollBarControl()) Begin(window, SB_CTL, screen);
            return 0;
        case WM_NCMOUSEMOVE:
        case WM_MOUSEMOVE:
            if (tracking.active && tracking.window == window.handle) Move(window, screen);
            return 0;
        case WM_NCLBUTTONUP:
        case WM_LBUTTONUP:
            if (tracking.active && tracking.window == window.handle) End(window);
            return 0;
        default: return 0;
    }
}

void ScrollTrackingTimer() {
    if (!tracking.active || tracking.part == BarPart::Thumb) return;
    const uint32_t now = MessageClockNow();
    if (int32_t(now - tracking.nextRepeat) < 0) return;
    tracking.nextRepeat = now + repeatInterval;
    Window* window = FindWindowQuietly(tracking.window);
    if (window == nullptr) {
        tracking = Tracking();
        return;
    }
    if (PartStillHeld(*window)) Notify(*window, tracking.bar, CodeOf(tracking.part), 0);
}

uint32_t NextInternalTickDue() {
    uint32_t due = NextCaretBlinkDue();
    if (tracking.active && tracking.part != BarPart::Thumb && (due == 0 || int32_t(tracking.nextRepeat - due) < 0))
        due = tracking.nextRepeat;
    return due;
}

void RunInternalTicks(uint32_t now) {
    ScrollTrackingTimer();
    BlinkCaret(now);
}

void ResetScrollTracking() { tracking = Tracking(); }

}  // namespace win32
