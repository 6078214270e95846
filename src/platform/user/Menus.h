// Menus: HMENU objects and the calls that build, change and read them,
// the window's menu (SetMenu, GetMenu), and menus made from the binary
// menu templates resource scripts compile to (LoadMenuIndirectA).
//
// A menu is an entry in one process-wide table, like a window: its HMENU
// is an opaque id that is never reused, so a stale handle names no menu
// and every call on it fails. A menu holds items in order; an item is a
// string with a command id, a separator, or a popup that opens another
// menu (its submenu, which the item owns: DeleteMenu and DestroyMenu
// destroy it, RemoveMenu leaves it alone). MF_BYCOMMAND finds the first
// item with the id, searching each popup's submenu before going on, as the
// original does; MF_BYPOSITION counts from 0 in the menu itself.
//
// A window with a menu shows it as a menu bar: a child strip of
// PLATFORM_MENUBAR_HEIGHT pixels over the top of its client area (there is
// no non-client area, see Windows.h), which frames leave out of the area
// they lay their panes in. How the bar and its popups are drawn and used:
// MenuBar.h.
#pragma once

#include "platform/kernel/Resources.h"
#include "platform/user/Windows.h"

#define MF_INSERT 0x0000u
#define MF_CHANGE 0x0080u
#define MF_APPEND 0x0100u
#define MF_DELETE 0x0200u
#define MF_REMOVE 0x1000u
#define MF_BYCOMMAND 0x0000u
#define MF_BYPOSITION 0x0400u
#define MF_SEPARATOR 0x0800u
#define MF_ENABLED 0x0000u
#define MF_GRAYED 0x0001u
#define MF_DISABLED 0x0002u
#define MF_UNCHECKED 0x0000u
#define MF_CHECKED 0x0008u
#define MF_USECHECKBITMAPS 0x0200u
#define MF_STRING 0x0000u
#define MF_BITMAP 0x0004u
#define MF_OWNERDRAW 0x0100u
#define MF_POPUP 0x0010u
#define MF_MENUBARBREAK 0x0020u
#define MF_MENUBREAK 0x0040u
#define MF_UNHILITE 0x0000u
#define MF_HILITE 0x0080u
#define MF_DEFAULT 0x1000u
#define MF_SYSMENU 0x2000u
#define MF_HELP 0x4000u
#define MF_RIGHTJUSTIFY 0x4000u
#define MF_MOUSESELECT 0x8000u
#define MF_END 0x0080u

#define MFT_STRING MF_STRING
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RADIOCHECK 0x0200u
#define MFS_GRAYED 0x0003u
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_DEFAULT MF_DEFAULT

#define TPM_LEFTBUTTON 0x0000u
#define TPM_RIGHTBUTTON 0x0002u
#define TPM_LEFTALIGN 0x0000u
#define TPM_CENTERALIGN 0x0004u
#define TPM_RIGHTALIGN 0x0008u
#define TPM_NONOTIFY 0x0080u
#define TPM_RETURNCMD 0x0100u

#define WM_INITMENU 0x0116
#define WM_INITMENUPOPUP 0x0117
#define WM_MENUSELECT 0x011F
#define WM_ENTERMENULOOP 0x0211
#define WM_EXITMENULOOP 0x0212

// The height of a window's menu bar.
#define PLATFORM_MENUBAR_HEIGHT 20
// The control id of a window's menu-bar strip (a child window of class
// "MenuBar").
#define PLATFORM_MENUBAR_ID 0xE7FF

PLATFORM_API HMENU CreateMenu();
PLATFORM_API HMENU CreatePopupMenu();
// Destroys the menu and the submenus of its popups. FALSE for a handle that
// is not a menu.
PLATFORM_API BOOL DestroyMenu(HMENU hMenu);
PLATFORM_API BOOL IsMenu(HMENU hMenu);

// uFlags: MF_STRING (lpNewItem is the text, "&" before the access key, "\t"
// before the shortcut's text), MF_SEPARATOR, or MF_POPUP (uIDNewItem is the
// submenu's HMENU, which the menu then owns), with MF_GRAYED, MF_DISABLED
// and MF_CHECKED. FALSE for a handle that is not a menu, a popup whose
// submenu is not a menu, or (Insert, Modify) no such item.
PLATFORM_API BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
// Inserts before the item uPosition names (MF_BYPOSITION: past the end
// appends, as the original does with -1).
PLATFORM_API BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
PLATFORM_API BOOL ModifyMenuA(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
PLATFORM_API BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
PLATFORM_API BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);

// The previous check state (MF_CHECKED or MF_UNCHECKED), or -1 for no such
// item.
PLATFORM_API DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
// Checks idCheck and clears the others from idFirst to idLast (ids, or
// positions with MF_BYPOSITION), marking them as radio items.
PLATFORM_API BOOL CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags);
// The previous state (MF_ENABLED, MF_GRAYED or MF_DISABLED), or -1.
PLATFORM_API BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
// The item's flags; for a popup the submenu's item count in the high byte
// and MF_POPUP. -1 for no such item.
PLATFORM_API UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
// -1 for a handle that is not a menu.
PLATFORM_API int GetMenuItemCount(HMENU hMenu);
// The item's command id; -1 for a popup or no such item, 0 for a separator.
PLATFORM_API UINT GetMenuItemID(HMENU hMenu, int nPos);
// The popup's submenu at the position; null when that item is no popup.
PLATFORM_API HMENU GetSubMenu(HMENU hMenu, int nPos);
// Copies at most cchMax - 1 characters and a terminator; the count copied
// (the whole length when lpString is null); 0 for no such item.
PLATFORM_API int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags);

// The window's menu, shown as its menu bar; a null menu takes the bar
// away. The window does not own the menu: DestroyWindow leaves it alone.
PLATFORM_API BOOL SetMenu(HWND hWnd, HMENU hMenu);
PLATFORM_API HMENU GetMenu(HWND hWnd);
// Redraws the window's menu bar after its menu changed.
PLATFORM_API BOOL DrawMenuBar(HWND hWnd);

// A menu from a menu template in memory: the normal layout (a header of
// two zero WORDs, then items: WORD flags, WORD id unless MF_POPUP, UTF-16
// text; MF_END ends a level, a popup's items follow it) or the extended one
// (WORD 1, WORD offset, DWORD help id, then DWORD-aligned items: DWORD type,
// DWORD state, DWORD id, WORD flags (0x01 popup, 0x80 last), UTF-16 text,
// and for a popup a DWORD help id before its items). Null for a layout it
// does not know.
PLATFORM_API HMENU LoadMenuIndirectA(const void* lpMenuTemplate);
// The same from at most cb bytes: null when the template runs past them.
PLATFORM_API HMENU PlatformLoadMenuTemplate(const void* pTemplate, size_t cb);
// The module's menu resource (RT_MENU; a null module: the program's). Null
// when there is none (the last error says why) or it is not a template.
PLATFORM_API HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR lpMenuName);
