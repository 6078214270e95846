// The menu table, shared by the menu files of the user layer and by nothing
// else. Its own lock guards it; it is never held while a window procedure
// runs or the window table's lock is taken.
#pragma once

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/user/Menus.h"

namespace user {

struct MenuItem {
    UINT type = 0;   // MF_SEPARATOR, MF_POPUP, MFT_RADIOCHECK, breaks
    UINT state = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_DEFAULT
    UINT id = 0;
    HMENU submenu = nullptr;  // a popup's, owned by the item
    std::string text;
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

struct MenuSystem {
    std::mutex lock;
    std::unordered_map<HMENU, Menu> menus;
    uintptr_t lastHandle = 0x10000;
};

MenuSystem& TheMenus();
Menu* FindMenuLocked(MenuSystem& s, HMENU hMenu);

// A copy of the menu's items (empty for a handle that is not a menu), for
// drawing and walking them without the lock.
std::vector<MenuItem> MenuItems(HMENU hMenu);

// Some menu changed: the menu bars showing one are redrawn (MenuBar.cpp).
void PlatformMenuBarsChanged();

}  // namespace user
