// Menu handles and their items, and the system menus of top-level windows.
#include <map>
#include <memory>

#include "LastError.h"
#include "MenuObject.h"
#include "Window.h"
#include "WindowMessages.h"

namespace win32 {
namespace {

std::map<uintptr_t, std::unique_ptr<Menu>>& Table() {
    static auto* table = new std::map<uintptr_t, std::unique_ptr<Menu>>;  // outlives static destructors
    return *table;
}

HMENU NewMenu(bool popup) {
    static uintptr_t nextHandle = 0x7A0000;
    nextHandle += 4;
    auto menu = std::make_unique<Menu>();
    menu->popup = popup;
    Table()[nextHandle] = std::move(menu);
    return reinterpret_cast<HMENU>(nextHandle);
}

// Where an item lives: its menu and its index there.
struct ItemPlace {
    Menu* menu = nullptr;
    size_t index = 0;
};

bool FindCommand(Menu& menu, UINT command, ItemPlace* place, int depth) {
    if (depth > 32) return false;  // guards against a submenu loop
    for (size_t i = 0; i < menu.items.size(); ++i) {
        MenuItem& item = menu.items[i];
        if (!item.IsSubmenu() && !item.IsSeparator() && item.command == command) {
            *place = ItemPlace{&menu, i};
            return true;
        }
        if (Menu* sub = item.IsSubmenu() ? FindMenu(item.submenu) : nullptr)
            if (FindCommand(*sub, command, place, depth + 1)) return true;
    }
    return false;
}

// The item an (item, MF_BYCOMMAND / MF_BYPOSITION) pair names; false with the error set.
bool Locate(HMENU handle, UINT item, UINT flags, ItemPlace* place) {
    Menu* menu = FindMenu(handle);
    if (menu == nullptr) return false;
    if (flags & MF_BYPOSITION) {
        if (item < menu->items.size()) {
            *place = ItemPlace{menu, item};
            return true;
        }
    } else if (FindCommand(*menu, item, place, 0)) {
        return true;
    }
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return false;
}

bool Contains(HMENU menu, HMENU wanted, int depth) {
    if (menu == wanted) return true;
    Menu* record = depth < 32 ? FindMenu(menu) : nullptr;
    if (record == nullptr) return false;
    for (const MenuItem& item : record->items)
        if (item.IsSubmenu() && Contains(item.submenu, wanted, depth + 1)) return true;
    return false;
}

// The item the flags describe; false (error set) for a bad submenu.
bool MakeItem(HMENU owner, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text, MenuItem* item) {
    item->flags = flags & ~UINT(MF_BYPOSITION | MF_APPEND | MF_DELETE | MF_REMOVE | MF_CHANGE);
    if (flags & MF_POPUP) {
        HMENU submenu = reinterpret_cast<HMENU>(idOrSubmenu);
        if (FindMenu(submenu) == nullptr) return false;
        if (Contains(submenu, owner, 0)) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return false;
        }
        item->submenu = submenu;
    } else {
        item->command = UINT(idOrSubmenu);
    }
    if (!(flags & MF_SEPARATOR) && text != nullptr) item->text = text;
    return true;
}

void DestroyMenuTree(HMENU handle, int depth) {
    auto found = Table().find(reinterpret_cast<uintptr_t>(handle));
    if (found == Table().end()) return;
    std::unique_ptr<Menu> menu = std::move(found->second);
    Table().erase(found);
    if (depth < 32)
        for (const MenuItem& item : menu->items)
            if (item.IsSubmenu()) DestroyMenuTree(item.submenu, depth + 1);
}

bool TakeOut(HMENU menu, UINT position, UINT flags, bool destroySubmenu) {
    ItemPlace place;
    if (!Locate(menu, position, flags, &place)) return false;
    HMENU submenu = place.menu->items[place.index].submenu;
    place.menu->items.erase(place.menu->items.begin() + std::ptrdiff_t(place.index));
    if (destroySubmenu && submenu != nullptr) DestroyMenuTree(submenu, 0);
    return true;
}

struct SystemCommandRow {
    UINT command;
    const char* text;
};

// ORDER SYSTEM MENU: as the window shows it.
const SystemCommandRow systemMenuRows[] = {
    {SC_RESTORE, "&Restore"}, {SC_MOVE, "&Move"},        {SC_SIZE, "&Size"}, {SC_MINIMIZE, "Mi&nimize"},
    {SC_MAXIMIZE, "Ma&ximize"}, {0, nullptr},            {SC_CLOSE, "&Close\tAlt+F4"},
};

std::map<HWND, HMENU>& SystemMenus() {
    static auto* menus = new std::map<HWND, HMENU>;
    return *menus;
}

// Windows are never given a handle twice, so a menu whose window is gone can go.
void ForgetMenusOfGoneWindows() {
    for (auto it = SystemMenus().begin(); it != SystemMenus().end();) {
        if (IsWindow(it->first)) {
            ++it;
            continue;
        }
        DestroyMenuTree(it->second, 0);
        it = SystemMenus().erase(it);
    }
}

HMENU MakeSystemMenu() {
    HMENU menu = NewMenu(true);
    for (const SystemCommandRow& row : systemMenuRows)
        AppendMenuA(menu, row.text != nullptr ? MF_STRING : MF_SEPARATOR, row.command, row.text);
    return menu;
}

}  // namespace

Menu* FindMenu(HMENU handle) {
    auto found = Table().find(reinterpret_cast<uintptr_t>(handle));
    if (found != Table().end()) return found->second.get();
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
}

bool MenuOffersCommand(HMENU handle, UINT command) {
    Menu* menu = FindMenu(handle);
    ItemPlace place;
    return menu != nullptr && FindCommand(*menu, command, &place, 0) && place.menu->items[place.index].IsEnabled();
}

}  // namespace win32

using win32::FindMenu;
using win32::ItemPlace;
using win32::MenuItem;

HMENU CreateMenu() { return win32::NewMenu(false); }
HMENU CreatePopupMenu() { return win32::NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
    if (FindMenu(menu) == nullptr) return FALSE;
    for (auto it = win32::SystemMenus().begin(); it != win32::SystemMenus().end(); ++it)
        if (it->second == menu) {
            win32::SystemMenus().erase(it);
            break;
        }
    win32::DestroyMenuTree(menu, 0);
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return win32::Table().count(reinterpret_cast<uintptr_t>(menu)) != 0; }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
    win32::Menu* record = FindMenu(menu);
    MenuItem item;
    if (record == nullptr || !win32::MakeItem(menu, flags, idOrSubmenu, text, &item)) return FALSE;
    record->items.push_back(item);
    return TRUE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
    win32::Menu* record = FindMenu(menu);
    if (record == nullptr) return FALSE;
    MenuItem item;
    if (!win32::MakeItem(menu, flags, idOrSubmenu, text, &item)) return FALSE;
    if ((flags & MF_BYPOSITION) && position >= record->items.size()) {
        record->items.push_back(item);
        return TRUE;
    }
    ItemPlace place;
    if (!win32::Locate(menu, position, flags, &place)) return FALSE;
    place.menu->items.insert(place.menu->items.begin() + std::ptrdiff_t(place.index), item);
    return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
    ItemPlace place;
    MenuItem item;
    if (!win32::Locate(menu, position, flags, &place) || !win32::MakeItem(menu, flags, idOrSubmenu, text, &item))
        return FALSE;
    MenuItem& old = place.menu->items[place.index];
    if (old.submenu != nullptr && old.submenu != item.submenu) win32::DestroyMenuTree(old.submenu, 0);
    old = item;
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return win32::TakeOut(menu, position, flags, true); }
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return win32::TakeOut(menu, position, flags, false); }

int GetMenuItemCount(HMENU menu) {
    win32::Menu* record = FindMenu(menu);
    return record != nullptr ? int(record->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    win32::Menu* record = FindMenu(menu);
    if (record == nullptr || position < 0 || size_t(position) >= record->items.size()) return UINT(-1);
    const MenuItem& item = record->items[size_t(position)];
    return item.IsSubmenu() ? UINT(-1) : item.command;
}

HMENU GetSubMenu(HMENU menu, int position) {
    win32::Menu* record = FindMenu(menu);
    if (record == nullptr || position < 0 || size_t(position) >= record->items.size()) return nullptr;
    return record->items[size_t(position)].submenu;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    ItemPlace place;
    if (!win32::Locate(menu, item, flags, &place)) return UINT(-1);
    const MenuItem& found = place.menu->items[place.index];
    UINT state = found.flags & ~UINT(MF_POPUP);
    if (found.IsSubmenu()) state |= MF_POPUP | (UINT(GetMenuItemCount(found.submenu)) << 8);
    return state;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int size, UINT flags) {
    ItemPlace place;
    if (!win32::Locate(menu, item, flags, &place)) return 0;
    const std::string& caption = place.menu->items[place.index].text;
    if (text == nullptr || size <= 0) return int(caption.size());
    const size_t copied = std::min(caption.size(), size_t(size - 1));
    caption.copy(text, copied);
    text[copied] = '\0';
    return int(copied);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    ItemPlace place;
    if (!win32::Locate(menu, item, check, &place)) return DWORD(-1);
    UINT& flags = place.menu->items[place.index].flags;
    const DWORD previous = flags & MF_CHECKED;
    flags = (flags & ~UINT(MF_CHECKED)) | (check & MF_CHECKED);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    ItemPlace place;
    if (!win32::Locate(menu, item, enable, &place)) return -1;
    UINT& flags = place.menu->items[place.index].flags;
    const BOOL previous = BOOL(flags & (MF_GRAYED | MF_DISABLED));
    flags = (flags & ~UINT(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

HMENU GetSystemMenu(HWND window, BOOL revert) {
    win32::ForgetMenusOfGoneWindows();
    if (!IsWindow(window)) return nullptr;
    auto found = win32::SystemMenus().find(window);
    if (revert) {
        if (found != win32::SystemMenus().end()) {
            win32::DestroyMenuTree(found->second, 0);
            win32::SystemMenus().erase(found);
        }
        return nullptr;
    }
    if (found != win32::SystemMenus().end()) return found->second;
    HMENU menu = win32::MakeSystemMenu();
    win32::SystemMenus()[window] = menu;
    return menu;
}
