// The menu bar and its popups: how a window's menu is shown and used.
//
// The bar is a child strip ("MenuBar", id PLATFORM_MENUBAR_ID) over the top
// PLATFORM_MENUBAR_HEIGHT pixels of the window's client area, drawn by the
// painter like any window, so the snapshot and the display show the same.
// A popup is a child window ("#32768") of the top-level window, over
// everything else in it; it stays inside that window's area.
//
// Using it, as on the original:
//   - a click on a bar item, or Alt with the item's access key (the letter
//     after "&"; DefWindowProcA's WM_SYSCHAR), opens its popup; a bar item
//     without a popup sends its command at once;
//   - before a popup opens, the window gets WM_INITMENU (once, when the
//     menu starts being used) and WM_INITMENUPOPUP (wParam: the popup's
//     menu, lParam: its position), so the items can be updated first;
//   - in a popup, Up and Down move the highlight (over separators), Return
//     or a click chooses, an access key chooses its item, Right opens a
//     nested popup or the next bar item's, Left closes a nested popup or
//     opens the previous bar item's, Escape or a click elsewhere closes;
//   - each highlight sends WM_MENUSELECT (wParam: MAKEWPARAM(id, or the
//     position of a popup item, flags), lParam: the menu), closing sends it
//     with flags 0xFFFF and no menu;
//   - a chosen item that is enabled posts WM_COMMAND (wParam: its id) to
//     the window, after the popups are gone; disabled ones do nothing.
// The popup has the keyboard focus and the mouse capture while open; the
// focus goes back to where it was when it closes.
#pragma once

#include "platform/user/Menus.h"

// Opens a popup menu at the screen point (inside hWnd's top-level window)
// and runs the menu's own message loop until it closes. The chosen item's
// command goes to hWnd as WM_COMMAND, or with TPM_RETURNCMD is the result
// instead (0 when nothing was chosen). A WM_QUIT closes the menu and is
// posted again.
PLATFORM_API BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect);

// The popup open on the calling thread (the innermost), or null.
PLATFORM_API HWND PlatformGetOpenMenuPopup();

// For DefWindowProcA: Alt with a key opens the bar item of hWnd's top-level
// window whose access key it is. TRUE when a menu took the key.
BOOL PlatformMenuAccessKey(HWND hWnd, char ch);
// For DefWindowProcA: a window with a menu lays its bar over its new width.
void PlatformMenuBarResize(HWND hWnd);
