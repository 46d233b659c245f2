// The caret: owner window, size, position, hide count and blink, drawn by
// inverting the pixels of its rectangle in the owner's top-level surface.
#include "Caret.h"

#include "Gdi.h"
#include "Input.h"
#include "MessageClock.h"
#include "SystemMetrics.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

struct CaretState {
    HWND owner = nullptr;
    int width = 1;
    int height = 16;
    POINT position{0, 0};
    int hideCount = 1;   // ShowCaret / HideCaret
    int paintHides = 0;  // painting and scrolling in progress
    bool blinkOn = true;
    bool drawn = false;  // its pixels are inverted now
    uint32_t nextBlink = 0;
};
CaretState caret;
UINT blinkTime = 530;

void Invert() {
    Window* window = FindWindowQuietly(caret.owner);
    if (window == nullptr) return;
    Window* top = TopLevelOf(window);
    if (!top->surface) return;
    const POINT origin = ClientOriginInTopLevel(*window);
    const RECT rect{origin.x + caret.position.x, origin.y + caret.position.y,
                    origin.x + caret.position.x + caret.width, origin.y + caret.position.y + caret.height};
    const Region visible = VisibleRegionInTopLevel(*window, false);
    Surface& surface = *top->surface;
    visible.ForEachRectIn(IntersectRects(rect, surface.Bounds()), [&](LONG left, LONG y0, LONG right, LONG y1) {
        for (LONG y = y0; y < y1; ++y)
            for (LONG x = left; x < right; ++x) surface.Row(y)[x] ^= 0xFFFFFF;
    });
    SurfaceChanged(*top);
}

bool ShouldDraw() {
    Window* window = FindWindowQuietly(caret.owner);
    return window != nullptr && caret.hideCount == 0 && caret.paintHides == 0 && caret.blinkOn &&
           IsVisibleWithAncestors(*window);
}

void Refresh() {
    const bool draw = ShouldDraw();
    if (draw == caret.drawn) return;
    Invert();
    caret.drawn = draw;
}

void Undraw() {
    if (!caret.drawn) return;
    Invert();
    caret.drawn = false;
}

void RestartBlink() {
    caret.blinkOn = true;
    caret.nextBlink = MessageClockNow() + blinkTime;
}

bool SameTopLevel(HWND a, HWND b) {
    Window* first = FindWindowQuietly(a);
    Window* second = FindWindowQuietly(b);
    return first != nullptr && second != nullptr && TopLevelOf(first) == TopLevelOf(second);
}

}  // namespace

void ForgetCaretOf(HWND window) {
    if (caret.owner != window) return;
    Undraw();
    caret = CaretState();
}

void HideCaretForPaint(HWND window) {
    if (caret.owner == nullptr || !SameTopLevel(window, caret.owner)) return;
    ++caret.paintHides;
    Refresh();
}

void ShowCaretAfterPaint(HWND window) {
    if (caret.owner == nullptr || caret.paintHides == 0 || !SameTopLevel(window, caret.owner)) return;
    --caret.paintHides;
    Refresh();
}

void MoveCaretWithScroll(HWND window, const RECT& area, int dx, int dy) {
    if (caret.owner != window) return;
    const POINT p = caret.position;
    if (p.x < area.left || p.x >= area.right || p.y < area.top || p.y >= area.bottom) return;
    Undraw();
    caret.position = POINT{p.x + dx, p.y + dy};
    Refresh();
}

uint32_t NextCaretBlinkDue() {
    if (caret.owner == nullptr || caret.hideCount != 0 || blinkTime == 0) return 0;
    return caret.nextBlink == 0 ? 1 : caret.nextBlink;
}

void BlinkCaret(uint32_t now) {
    if (caret.owner == nullptr || caret.hideCount != 0 || blinkTime == 0) return;
    if (int32_t(now - caret.nextBlink) < 0) return;
    caret.blinkOn = !caret.blinkOn;
    caret.nextBlink = now + blinkTime;
    Refresh();
}

void ResetCaret() { caret = CaretState(); }

}  // namespace win32

using namespace win32;

BOOL CreateCaret(HWND window, HBITMAP bitmap, int width, int height) {
    if (FindWindowRecord(window) == nullptr) return FALSE;
    if (caret.owner != nullptr) DestroyCaret();
    caret = CaretState();
    caret.owner = window;
    // A real bitmap gives the caret its size; its pattern is not used (the caret inverts).
    BITMAP record{};
    if (bitmap != nullptr && GetObjectA(bitmap, sizeof record, &record) == int(sizeof record)) {
        width = record.bmWidth;
        height = record.bmHeight;
    }
    caret.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    caret.height = height > 0 ? height : 16;
    RestartBlink();
    return TRUE;
}

BOOL DestroyCaret() {
    if (caret.owner == nullptr) return FALSE;
    Undraw();
    caret = CaretState();
    return TRUE;
}

BOOL ShowCaret(HWND window) {
    if (caret.owner == nullptr || (window != nullptr && window != caret.owner) || caret.hideCount == 0) return FALSE;
    --caret.hideCount;
    RestartBlink();
    Refresh();
    return TRUE;
}

BOOL HideCaret(HWND window) {
    if (caret.owner == nullptr || (window != nullptr && window != caret.owner)) return FALSE;
    ++caret.hideCount;
    Refresh();
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    if (caret.owner == nullptr) return FALSE;
    Undraw();
    caret.position = POINT{x, y};
    RestartBlink();
    Refresh();
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    if (caret.owner == nullptr || point == nullptr) return FALSE;
    *point = caret.position;
    return TRUE;
}

UINT GetCaretBlinkTime() { return blinkTime; }

BOOL GetGUIThreadInfo(DWORD, LPGUITHREADINFO info) {
    if (info == nullptr || info->cbSize != sizeof(GUITHREADINFO)) return FALSE;
    *info = GUITHREADINFO{};
    info->cbSize = sizeof(GUITHREADINFO);
    info->hwndActive = GetActiveWindow();
    info->hwndFocus = GetFocus();
    info->hwndCapture = GetCapture();
    info->hwndCaret = caret.owner;
    if (caret.owner != nullptr) {
        info->rcCaret = RECT{caret.position.x, caret.position.y, caret.position.x + caret.width,
                             caret.position.y + caret.height};
        if (caret.hideCount == 0) info->flags |= GUI_CARETBLINKING;
    }
    return TRUE;
}

BOOL SetCaretBlinkTime(UINT milliseconds) {
    blinkTime = milliseconds;
    return TRUE;
}
