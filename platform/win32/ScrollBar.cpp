// Scroll-bar state: SetScrollInfo and its relatives, with the original
// platform's clamping, and the hiding and showing of standard bars.
#include <algorithm>
#include <cstdint>

#include "LastError.h"
#include "ScrollBarGeometry.h"
#include "WindowHooks.h"

namespace win32 {

int HighestScrollPosition(const ScrollBarState& state) {
    const int64_t highest = int64_t(state.maximum) - std::max<int64_t>(int64_t(state.page) - 1, 0);
    return int(std::max<int64_t>(highest, state.minimum));
}

ScrollBarState* ScrollBarOf(Window& window, int bar) {
    if (bar == SB_CTL) return window.IsScrollBarControl() ? &window.bars[0] : nullptr;
    if (bar == SB_HORZ || bar == SB_VERT) return window.IsScrollBarControl() ? nullptr : &window.bars[bar];
    return nullptr;
}

bool IsVerticalBar(const Window& window, int bar) {
    return bar == SB_CTL ? (window.style & SBS_VERT) != 0 : bar == SB_VERT;
}

namespace {

bool CanScroll(const ScrollBarState& state) {
    return state.maximum > state.minimum && int64_t(state.page) <= int64_t(state.maximum) - state.minimum;
}

void Clamp(ScrollBarState& state) {
    if (state.maximum < state.minimum) state.maximum = state.minimum;
    const int64_t span = int64_t(state.maximum) - state.minimum + 1;
    if (int64_t(state.page) > span) state.page = UINT(std::min<int64_t>(span, UINT32_MAX));
    state.position = std::min(std::max(state.position, state.minimum), HighestScrollPosition(state));
}

DWORD StyleBit(int bar) { return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

// Shows or hides a standard bar; the client area changes and WM_SIZE follows at once.
void SetStandardBarShown(Window& window, int bar, bool show) {
    if (((window.style & StyleBit(bar)) != 0) == show) return;
    if (show)
        window.style |= StyleBit(bar);
    else
        window.style &= ~StyleBit(bar);
    if (IsVisibleWithAncestors(window)) InvalidateWholeWindow(window);
    SendSizeMessage(window);
}

void Redraw(Window& window, int bar) {
    if (!IsVisibleWithAncestors(window)) return;
    if (bar == SB_CTL)
        InvalidateClientRegion(window, Region(RECT{0, 0, ClientWidth(window), ClientHeight(window)}), true, false);
    else if ((window.style & StyleBit(bar)) != 0)
        PaintScrollBar(window, bar);
}

}  // namespace

}  // namespace win32

using namespace win32;

int SetScrollInfo(HWND handle, int bar, LPCSCROLLINFO info, BOOL redraw) {
    Window* window = FindWindowRecord(handle);
    ScrollBarState* state = window ? ScrollBarOf(*window, bar) : nullptr;
    if (state == nullptr || info == nullptr) {
        if (window != nullptr) SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (info->fMask & SIF_RANGE) {
        state->minimum = info->nMin;
        state->maximum = info->nMax;
    }
    if (info->fMask & SIF_PAGE) state->page = info->nPage;
    if (info->fMask & SIF_POS) state->position = info->nPos;
    Clamp(*state);
    const int position = state->position;
    if (bar != SB_CTL && (info->fMask & (SIF_RANGE | SIF_PAGE)) != 0) {
        if (CanScroll(*state)) {
            if (info->fMask & SIF_DISABLENOSCROLL) state->disabledArrows = ESB_ENABLE_BOTH;
            SetStandardBarShown(*window, bar, true);
        } else if (info->fMask & SIF_DISABLENOSCROLL) {
            state->disabledArrows = ESB_DISABLE_BOTH;
            SetStandardBarShown(*window, bar, true);
        } else {
            SetStandardBarShown(*window, bar, false);
        }
        window = FindWindowQuietly(handle);
        if (window == nullptr) return position;
        state = ScrollBarOf(*window, bar);
    }
    if (redraw) Redraw(*window, bar);
    return state->position;
}

BOOL GetScrollInfo(HWND handle, int bar, LPSCROLLINFO info) {
    Window* window = FindWindowRecord(handle);
    ScrollBarState* state = window ? ScrollBarOf(*window, bar) : nullptr;
    if (state == nullptr || info == nullptr || (info->fMask & SIF_ALL) == 0) return FALSE;
    if (info->fMask & SIF_RANGE) {
        info->nMin = state->minimum;
        info->nMax = state->maximum;
    }
    if (info->fMask & SIF_PAGE) info->nPage = state->page;
    if (info->fMask & SIF_POS) info->nPos = state->position;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = state->tracking ? state->trackPosition : state->position;
    return TRUE;
}

int SetScrollPos(HWND handle, int bar, int position, BOOL redraw) {
    Window* window = FindWindowRecord(handle);
    ScrollBarState* state = window ? ScrollBarOf(*window, bar) : nullptr;
    if (state == nullptr) return 0;
    const int previous = state->position;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position, 0};
    SetScrollInfo(handle, bar, &info, redraw);
    return previous;
}

int GetScrollPos(HWND handle, int bar) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(handle, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND handle, int bar, int minimum, int maximum, BOOL redraw) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || ScrollBarOf(*window, bar) == nullptr) return FALSE;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minimum, maximum, 0, 0, 0};
    SetScrollInfo(handle, bar, &info, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND handle, int bar, LPINT minimum, LPINT maximum) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(handle, bar, &info)) return FALSE;
    if (minimum) *minimum = info.nMin;
    if (maximum) *maximum = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND handle, int bar, BOOL show) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    if (bar == SB_CTL) {
        if (!window->IsScrollBarControl()) return FALSE;
        ShowWindow(handle, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    if (window->IsScrollBarControl() || bar < SB_HORZ || bar > SB_BOTH) return FALSE;
    if (bar == SB_HORZ || bar == SB_BOTH) SetStandardBarShown(*window, SB_HORZ, show != FALSE);
    window = FindWindowQuietly(handle);
    if (window != nullptr && (bar == SB_VERT || bar == SB_BOTH)) SetStandardBarShown(*window, SB_VERT, show != FALSE);
    return TRUE;
}

BOOL EnableScrollBar(HWND handle, UINT bar, UINT arrows) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    bool any = false;
    for (int which = SB_HORZ; which <= SB_CTL; ++which) {
        if (!(UINT(which) == bar || (bar == SB_BOTH && which != SB_CTL))) continue;
        if (ScrollBarState* state = ScrollBarOf(*window, which)) {
            state->disabledArrows = arrows & ESB_DISABLE_BOTH;
            Redraw(*window, which);
            any = true;
        }
    }
    return any;
}
