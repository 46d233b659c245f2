// Keyboard and scroll-bar arithmetic shared by the list controls.
#include "ListNavigation.h"

#include <algorithm>

int ListNavigationTarget(WORD key, int current, int count, int page) {
    if (count <= 0) return -2;
    page = std::max(1, page);
    switch (key) {
        case VK_UP: return current < 0 ? 0 : std::max(0, current - 1);
        case VK_DOWN: return current < 0 ? 0 : std::min(count - 1, current + 1);
        case VK_PRIOR: return std::max(0, current - page);
        case VK_NEXT: return std::min(count - 1, std::max(current, 0) + page);
        case VK_HOME: return 0;
        case VK_END: return count - 1;
        default: return -2;
    }
}

int ScrolledTopRow(WORD command, int thumb, int top, int page, int count) {
    page = std::max(1, page);
    switch (command) {
        case SB_LINEUP: return top - 1;
        case SB_LINEDOWN: return top + 1;
        case SB_PAGEUP: return top - page;
        case SB_PAGEDOWN: return top + page;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: return thumb;
        case SB_TOP: return 0;
        case SB_BOTTOM: return count;
        default: return top;
    }
}

void SetListScrollBar(HWND window, int count, int page, int top) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, count - 1);
    info.nPage = static_cast<UINT>(std::max(0, page));
    info.nPos = top;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}
