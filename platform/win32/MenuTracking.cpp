// Popup menus on screen: one window per open level, drawn by the layer, with
// the mouse and keyboard handling of TrackPopupMenu and the system menu.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "Gdi.h"
#include "Input.h"
#include "LastError.h"
#include "MenuObject.h"
#include "MessageQueue.h"
#include "ModalWindows.h"
#include "Paint.h"
#include "Responder.h"
#include "SystemMetrics.h"
#include "Text.h"
#include "Window.h"

namespace win32 {
namespace {

const char* const menuClassName = "SuiteMenuPopup";
const int itemHeight = 20;
const int separatorHeight = 9;
const int checkColumn = 20;     // room for the check mark before the text
const int arrowColumn = 20;     // room for the submenu arrow after it
const int shortcutGap = 24;

struct MenuLevel {
    HMENU menu = nullptr;
    HWND window = nullptr;
    std::vector<RECT> itemRects;  // client coordinates
    int highlighted = -1;
    int shortcutLeft = 0;
};

struct Tracker {
    std::vector<MenuLevel> levels;
    UINT flags = 0;
    UINT result = 0;
    bool finished = false;
};

Tracker* activeTracker = nullptr;

const MenuItem* ItemOf(const MenuLevel& level, int index) {
    Menu* menu = FindMenu(level.menu);
    if (menu == nullptr || index < 0 || size_t(index) >= menu->items.size()) return nullptr;
    return &menu->items[size_t(index)];
}

void Finish(Tracker& tracker, UINT command) {
    tracker.result = command;
    tracker.finished = true;
}

// ---- Drawing -------------------------------------------------------------------

void SplitAtTab(const std::string& text, std::string* label, std::string* shortcut) {
    const size_t tab = text.find('\t');
    *label = text.substr(0, tab);
    *shortcut = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

void DrawCheckMark(HDC dc, const RECT& row) {
    const int x = row.left + 6, y = (row.top + row.bottom) / 2;
    const POINT mark[3] = {{x, y}, {x + 3, y + 3}, {x + 9, y - 3}};
    HPEN pen = CreatePen(PS_SOLID, 2, GetTextColor(dc));
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, mark, 3);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawSubmenuArrow(HDC dc, const RECT& row) {
    const int x = row.right - 12, y = (row.top + row.bottom) / 2;
    const POINT arrow[3] = {{x, y - 4}, {x + 4, y}, {x, y + 4}};
    HBRUSH brush = CreateSolidBrush(GetTextColor(dc));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, arrow, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

void DrawItem(HDC dc, const MenuLevel& level, size_t index, const MenuItem& item) {
    const RECT row = level.itemRects[index];
    if (item.IsSeparator()) {
        RECT line{row.left + 2, (row.top + row.bottom) / 2, row.right - 2, (row.top + row.bottom) / 2 + 1};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
        return;
    }
    const bool lit = int(index) == level.highlighted;
    FillRect(dc, &row, GetSysColorBrush(lit ? COLOR_HIGHLIGHT : COLOR_MENU));
    SetTextColor(dc, GetSysColor(!item.IsEnabled() ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    std::string label, shortcut;
    SplitAtTab(item.text, &label, &shortcut);
    RECT text{row.left + checkColumn, row.top, row.right, row.bottom};
    DrawTextA(dc, label.c_str(), int(label.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    text.left = row.left + level.shortcutLeft;
    DrawTextA(dc, shortcut.c_str(), int(shortcut.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.flags & MF_CHECKED) DrawCheckMark(dc, row);
    if (item.IsSubmenu()) DrawSubmenuArrow(dc, row);
}

void PaintLevel(HWND window, const MenuLevel& level) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    if (Menu* menu = FindMenu(level.menu))
        for (size_t i = 0; i < menu->items.size() && i < level.itemRects.size(); ++i)
            DrawItem(dc, level, i, menu->items[i]);
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

// ---- Levels --------------------------------------------------------------------

MenuLevel* LevelOfWindow(HWND window) {
    if (activeTracker == nullptr) return nullptr;
    for (MenuLevel& level : activeTracker->levels)
        if (level.window == window) return &level;
    return nullptr;
}

// Places the items; returns the client size.
SIZE LayOutLevel(MenuLevel& level) {
    Menu* menu = FindMenu(level.menu);
    HDC dc = GetDC(level.window);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int labelWidth = 0, shortcutWidth = 0;
    for (const MenuItem& item : menu->items) {
        std::string label, shortcut;
        SplitAtTab(item.text, &label, &shortcut);
        RECT measured{0, 0, 0, 0};
        DrawTextA(dc, label.c_str(), int(label.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
        SIZE extent{0, 0};
        GetTextExtentPoint32A(dc, shortcut.c_str(), int(shortcut.size()), &extent);
        labelWidth = std::max<int>(labelWidth, measured.right - measured.left);
        shortcutWidth = std::max<int>(shortcutWidth, extent.cx);
    }
    SelectObject(dc, oldFont);
    ReleaseDC(level.window, dc);
    level.shortcutLeft = checkColumn + labelWidth + shortcutGap;
    const int width = level.shortcutLeft + shortcutWidth + arrowColumn;
    int y = 0;
    level.itemRects.clear();
    for (const MenuItem& item : menu->items) {
        const int height = item.IsSeparator() ? separatorHeight : itemHeight;
        level.itemRects.push_back(RECT{0, y, width, y + height});
        y += height;
    }
    return SIZE{width, y};
}

POINT KeepOnScreen(POINT place, SIZE size) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    place.x = std::max(0, std::min<int>(place.x, width - size.cx));
    place.y = std::max(0, std::min<int>(place.y, height - size.cy));
    return place;
}

LRESULT CALLBACK MenuWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens a level; place(size) gives its screen position. False when the window cannot be made.
template <typename Placement>
bool OpenLevel(Tracker& tracker, HMENU menu, HWND owner, Placement place) {
    RegisterLayerClass(menuClassName, MenuWindowProcedure);
    MenuLevel level;
    level.menu = menu;
    level.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, menuClassName, "", WS_POPUP | WS_BORDER, 0, 0,
                                   100, 100, owner, nullptr, nullptr, nullptr);
    if (level.window == nullptr) return false;
    const SIZE outer = WindowSizeForClient(level.window, LayOutLevel(level));
    const POINT at = KeepOnScreen(place(outer), outer);
    MoveWindow(level.window, at.x, at.y, outer.cx, outer.cy, FALSE);
    tracker.levels.push_back(level);
    ShowWindow(level.window, tracker.levels.size() == 1 ? SW_SHOW : SW_SHOWNOACTIVATE);
    UpdateWindow(level.window);
    return true;
}

void CloseLevelsAfter(Tracker& tracker, size_t keep) {
    while (tracker.levels.size() > keep) {
        HWND window = tracker.levels.back().window;
        tracker.levels.pop_back();
        DestroyWindow(window);
    }
}

void Highlight(MenuLevel& level, int index) {
    if (level.highlighted == index) return;
    level.highlighted = index;
    InvalidateRect(level.window, nullptr, FALSE);
}

// Opens the submenu of the highlighted item of level `depth` beside it.
void OpenSubmenu(Tracker& tracker, size_t depth, bool selectFirst) {
    MenuLevel& parent = tracker.levels[depth];
    const MenuItem* item = ItemOf(parent, parent.highlighted);
    if (item == nullptr || !item->IsSubmenu() || !item->IsEnabled() || FindMenu(item->submenu) == nullptr) return;
    if (tracker.levels.size() > depth + 1 && tracker.levels[depth + 1].menu == item->submenu) return;
    CloseLevelsAfter(tracker, depth + 1);
    RECT parentRect{};
    GetWindowRect(parent.window, &parentRect);
    POINT row{0, parent.itemRects[size_t(parent.highlighted)].top};
    ClientToScreen(parent.window, &row);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    HWND owner = GetWindow(parent.window, GW_OWNER);
    const bool opened = OpenLevel(tracker, item->submenu, owner, [&](SIZE size) {
        const bool fitsRight = parentRect.right - 2 + size.cx <= screenWidth;
        return POINT{fitsRight ? parentRect.right - 2 : parentRect.left - size.cx + 2, row.y - 1};
    });
    if (opened && selectFirst) {
        Menu* menu = FindMenu(item->submenu);
        for (size_t i = 0; menu != nullptr && i < menu->items.size(); ++i)
            if (!menu->items[i].IsSeparator()) {
                Highlight(tracker.levels.back(), int(i));
                break;
            }
    }
}

// Acts on an item as Enter does: opens its submenu or chooses it.
void Activate(Tracker& tracker, size_t depth, int index) {
    MenuLevel& level = tracker.levels[depth];
    const MenuItem* item = ItemOf(level, index);
    if (item == nullptr || item->IsSeparator()) return;
    Highlight(level, index);
    if (item->IsSubmenu())
        OpenSubmenu(tracker, depth, true);
    else if (item->IsEnabled())
        Finish(tracker, item->command);
}

// ---- Keyboard ------------------------------------------------------------------

void MoveHighlight(MenuLevel& level, int step) {
    Menu* menu = FindMenu(level.menu);
    if (menu == nullptr || menu->items.empty()) return;
    const int count = int(menu->items.size());
    int index = level.highlighted < 0 ? (step > 0 ? -1 : count) : level.highlighted;
    for (int tries = 0; tries < count; ++tries) {
        index = ((index + step) % count + count) % count;
        if (!menu->items[size_t(index)].IsSeparator()) {
            Highlight(level, index);
            return;
        }
    }
}

void TypeLetter(Tracker& tracker, char typed) {
    const size_t depth = tracker.levels.size() - 1;
    MenuLevel& level = tracker.levels[depth];
    Menu* menu = FindMenu(level.menu);
    if (menu == nullptr) return;
    std::vector<int> matches;
    for (size_t i = 0; i < menu->items.size(); ++i)
        if (!menu->items[i].IsSeparator() && AcceleratorOf(menu->items[i].text) == typed) matches.push_back(int(i));
    if (matches.size() == 1) return Activate(tracker, depth, matches[0]);
    if (matches.empty()) return;
    auto next = std::upper_bound(matches.begin(), matches.end(), level.highlighted);
    Highlight(level, next == matches.end() ? matches.front() : *next);
}

void KeyDown(Tracker& tracker, WPARAM key) {
    const size_t depth = tracker.levels.size() - 1;
    MenuLevel& level = tracker.levels[depth];
    switch (key) {
        case VK_DOWN: MoveHighlight(level, 1); break;
        case VK_UP: MoveHighlight(level, -1); break;
        case VK_RIGHT: OpenSubmenu(tracker, depth, true); break;
        case VK_LEFT:
            if (depth > 0) CloseLevelsAfter(tracker, depth);
            break;
        case VK_ESCAPE:
            if (depth > 0)
                CloseLevelsAfter(tracker, depth);
            else
                Finish(tracker, 0);
            break;
        case VK_RETURN: Activate(tracker, depth, level.highlighted); break;
        case VK_MENU:
        case VK_F10: Finish(tracker, 0); break;
    }
}

// ---- Mouse ---------------------------------------------------------------------

// The deepest level under the screen point and the item there (-1: none).
bool HitTest(Tracker& tracker, POINT screen, size_t* depth, int* index) {
    for (size_t d = tracker.levels.size(); d-- > 0;) {
        RECT frame{};
        GetWindowRect(tracker.levels[d].window, &frame);
        if (screen.x < frame.left || screen.x >= frame.right || screen.y < frame.top || screen.y >= frame.bottom)
            continue;
        POINT client = screen;
        ScreenToClient(tracker.levels[d].window, &client);
        *depth = d;
        *index = -1;
        const std::vector<RECT>& rects = tracker.levels[d].itemRects;
        for (size_t i = 0; i < rects.size(); ++i)
            if (client.y >= rects[i].top && client.y < rects[i].bottom && client.x >= 0 && client.x < rects[i].right)
                *index = int(i);
        return true;
    }
    return false;
}

void Hover(Tracker& tracker, size_t depth, int index) {
    MenuLevel& level = tracker.levels[depth];
    const MenuItem* item = ItemOf(level, index);
    Highlight(level, item != nullptr && !item->IsSeparator() ? index : -1);
    if (item != nullptr && item->IsSubmenu()) {
        OpenSubmenu(tracker, depth, false);
    } else if (index >= 0) {
        CloseLevelsAfter(tracker, depth + 1);
    }
}

bool ButtonSelects(const Tracker& tracker, UINT message) {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) return true;
    return (tracker.flags & TPM_RIGHTBUTTON) != 0;
}

void Mouse(Tracker& tracker, HWND window, UINT message, LPARAM lParam) {
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &screen);
    size_t depth = 0;
    int index = -1;
    const bool inside = HitTest(tracker, screen, &depth, &index);
    switch (message) {
        case WM_MOUSEMOVE:
            if (inside) Hover(tracker, depth, index);
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (!inside)
                Finish(tracker, 0);
            else
                Hover(tracker, depth, index);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (inside && ButtonSelects(tracker, message)) {
                const MenuItem* item = ItemOf(tracker.levels[depth], index);
                if (item != nullptr && !item->IsSeparator() && !item->IsSubmenu() && item->IsEnabled())
                    Finish(tracker, item->command);
            }
            break;
    }
}

LRESULT CALLBACK MenuWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MenuLevel* level = LevelOfWindow(window);
    if (level == nullptr || activeTracker->finished) return DefWindowProcA(window, message, wParam, lParam);
    Tracker& tracker = *activeTracker;
    switch (message) {
        case WM_PAINT: PaintLevel(window, *level); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: KeyDown(tracker, wParam); return 0;
        case WM_CHAR:
        case WM_SYSCHAR: TypeLetter(tracker, char(std::tolower(int(wParam & 0xFF)))); return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            Mouse(tracker, window, message == WM_LBUTTONDBLCLK   ? WM_LBUTTONDOWN
                                   : message == WM_RBUTTONDBLCLK ? WM_RBUTTONDOWN
                                                                 : message,
                  lParam);
            return 0;
        case WM_CLOSE: Finish(tracker, 0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- Tracking ------------------------------------------------------------------

POINT AlignedPlace(UINT flags, int x, int y, SIZE size) {
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    return POINT{x, y};
}

ModalInteraction Describe(const Tracker& tracker, HWND owner, bool systemMenu) {
    ModalInteraction interaction;
    interaction.kind = systemMenu ? ModalKind::SystemMenu : ModalKind::PopupMenu;
    interaction.owner = owner;
    interaction.window = tracker.levels[0].window;
    interaction.style = tracker.flags;
    interaction.defaultAnswer = 0;
    if (systemMenu) {
        char title[256] = "";
        GetWindowTextA(owner, title, sizeof title);
        interaction.caption = title;
    }
    const Menu* menu = FindMenu(tracker.levels[0].menu);
    for (size_t i = 0; menu != nullptr && i < menu->items.size(); ++i) {
        const MenuItem& source = menu->items[i];
        ModalItem item;
        item.identifier = source.IsSubmenu() ? -1 : int(source.command);
        item.text = source.text;
        item.enabled = source.IsEnabled();
        item.checked = (source.flags & MF_CHECKED) != 0;
        item.separator = source.IsSeparator();
        item.submenu = source.IsSubmenu();
        item.isDefault = (source.flags & MF_DEFAULT) != 0;
        item.rect = tracker.levels[0].itemRects[i];
        interaction.items.push_back(item);
    }
    return interaction;
}

// Runs the menu and returns the command chosen (0 when closed); -1 when it
// could not start (the last error tells why).
long Track(HMENU menu, UINT flags, int x, int y, HWND window, bool systemMenu) {
    Menu* record = FindMenu(menu);
    if (record == nullptr) return -1;
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    if (activeTracker != nullptr) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return -1;
    }
    if (record->items.empty()) return 0;
    Tracker tracker;
    tracker.flags = flags;
    activeTracker = &tracker;
    HWND previousFocus = GetFocus();
    HWND owner = GetAncestor(window, GA_ROOT);
    if (!OpenLevel(tracker, menu, owner, [&](SIZE size) { return AlignedPlace(flags, x, y, size); })) {
        activeTracker = nullptr;
        return -1;
    }
    HWND first = tracker.levels[0].window;
    SetFocus(first);
    SetCapture(first);
    const ModalReply reply = AskResponder(Describe(tracker, window, systemMenu));
    if (!reply.run)
        Finish(tracker, reply.result > 0 && MenuOffersCommand(menu, UINT(reply.result)) ? UINT(reply.result) : 0);
    else if (!RunModalLoop(&tracker.finished))
        Finish(tracker, 0);
    if (GetCapture() == first) ReleaseCapture();
    CloseLevelsAfter(tracker, 0);
    activeTracker = nullptr;
    if (previousFocus != nullptr && IsWindow(previousFocus)) SetFocus(previousFocus);
    return long(tracker.result);
}

}  // namespace

UINT TrackSystemMenu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) return 0;
    RECT frame{};
    GetWindowRect(window, &frame);
    const int top = frame.top + GetSystemMetrics(SM_CYCAPTION);
    const long command = Track(menu, TPM_RETURNCMD, frame.left, top, window, true);
    if (command <= 0) return 0;
    PostMessageA(window, WM_SYSCOMMAND, WPARAM(command), 0);
    return UINT(command);
}

}  // namespace win32

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND window, LPTPMPARAMS) {
    const long command = win32::Track(menu, flags, x, y, window, false);
    if (command < 0) return FALSE;
    if (flags & TPM_RETURNCMD) return BOOL(command);
    if (command > 0 && !(flags & TPM_NONOTIFY)) PostMessageA(window, WM_COMMAND, WPARAM(command), 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND window, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, window, nullptr);
}
