// Menus: menu handles and their items, popup menus tracked with mouse and
// keyboard (through the responder, Responder.h), and each top-level window's
// system menu. Menus belong to the user-interface thread.
#pragma once

#include "Win32Types.h"

#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_STRING 0x00000000L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

#define ERROR_INVALID_MENU_HANDLE 1401L
#define ERROR_MENU_ITEM_NOT_FOUND 1456L
#define ERROR_POPUP_ALREADY_ACTIVE 1446L

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
typedef TPMPARAMS* LPTPMPARAMS;

// An empty menu bar / popup menu; null only when memory runs out.
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and the submenus its MF_POPUP items hold. FALSE with
// ERROR_INVALID_MENU_HANDLE for a bad handle.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// Adds an item at the end. flags: MF_STRING (text, null as empty), MF_SEPARATOR
// (text ignored), MF_POPUP (idOrSubmenu is the submenu's HMENU, which the menu
// then owns), with MF_CHECKED, MF_GRAYED, MF_DISABLED. FALSE with
// ERROR_INVALID_MENU_HANDLE for a bad menu or submenu, or a menu made its own submenu.
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text);
// Inserts before the item at position (MF_BYPOSITION; beyond the end appends)
// or before the item with that command (MF_BYCOMMAND, searched in submenus too;
// FALSE with ERROR_MENU_ITEM_NOT_FOUND when there is none).
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text);
// Replaces the item's kind, state, command and text.
BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text);
// Removes an item (by position or command); DeleteMenu destroys its submenu,
// RemoveMenu leaves it to the caller. FALSE with ERROR_MENU_ITEM_NOT_FOUND.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);

// -1 for a bad menu.
int GetMenuItemCount(HMENU menu);
// The item's command; -1 (as UINT) for a submenu item or a bad position.
UINT GetMenuItemID(HMENU menu, int position);
// The submenu of an MF_POPUP item; null otherwise.
HMENU GetSubMenu(HMENU menu, int position);
// MF_ state bits of the item (for a submenu item, the item count in the high
// byte of the low word as well); -1 (as UINT) when the item does not exist.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Copies the text (at most size-1 bytes and a zero); with size 0 or a null
// buffer returns the length only. 0 when the item does not exist.
int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int size, UINT flags);
// Return the previous MF_CHECKED / MF_GRAYED|MF_DISABLED state, -1 (as DWORD /
// BOOL) when the item does not exist.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);

// Shows the popup menu at the screen point (aligned by TPM_ flags and kept on
// the screen) and tracks it: arrows move, Right/Enter open submenus, Left and
// Escape close one level, Enter or Space choose, an item's '&' letter chooses it;
// clicking an enabled item chooses it and clicking outside closes the menu.
// With TPM_RETURNCMD returns the command chosen (0 when closed); otherwise
// posts WM_COMMAND with it to window (unless TPM_NONOTIFY) and returns TRUE.
// 0 for a bad menu (ERROR_INVALID_MENU_HANDLE), a bad window
// (ERROR_INVALID_WINDOW_HANDLE) or while another menu is tracked
// (ERROR_POPUP_ALREADY_ACTIVE). A menu without items returns 0 at once.
// Headless without a responder the menu closes unchosen; a responder's answer
// that is not an enabled command of the menu or its submenus closes it too.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND window, const RECT* ignored);
// The same; the parameters' rectangle is ignored.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND window, LPTPMPARAMS parameters);

// The window's system menu (restore, move, size, minimise, maximise, a
// separator and close), made on first use and kept until the window goes;
// items chosen in it reach the window as WM_SYSCOMMAND. revert TRUE drops the
// window's copy (the next call makes a fresh one) and returns null. Null for a
// bad window.
HMENU GetSystemMenu(HWND window, BOOL revert);

namespace win32 {
// Opens the window's system menu below its top-left corner; the command chosen
// is posted to it as WM_SYSCOMMAND. Returns the command, 0 when closed.
UINT TrackSystemMenu(HWND window);
}  // namespace win32
