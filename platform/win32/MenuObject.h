// The records behind menu handles. Internal to the Win32 subset.
#pragma once

#include <string>
#include <vector>

#include "Menu.h"

namespace win32 {

struct MenuItem {
    UINT flags = 0;         // MF_ kind and state bits
    UINT command = 0;
    HMENU submenu = nullptr;
    std::string text;

    bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
    bool IsEnabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) == 0; }
    bool IsSubmenu() const { return submenu != nullptr; }
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

// Null (and ERROR_INVALID_MENU_HANDLE) for a bad handle.
Menu* FindMenu(HMENU handle);
// Whether an enabled command item with that command is in the menu or its submenus.
bool MenuOffersCommand(HMENU handle, UINT command);

}  // namespace win32
