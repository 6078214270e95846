// Menus: the menu table and the calls on its items (Menus.h).
#include "platform/user/Menus.h"

#include <algorithm>
#include <cstring>

#include "platform/shared/NoDestructor.h"
#include "platform/user/MenuTable.h"

namespace user {

MenuSystem& TheMenus() {
    static NoDestructor<MenuSystem> system;  // menus may still be touched by static destructors
    return *system;
}

Menu* FindMenuLocked(MenuSystem& s, HMENU hMenu) {
    auto it = s.menus.find(hMenu);
    return it == s.menus.end() ? nullptr : &it->second;
}

namespace {

// The item uItem names in menu (by position, or by command searching
// popups depth first), with the menu that holds it.
struct Found {
    Menu* menu = nullptr;
    size_t index = 0;
    MenuItem* item() const { return &menu->items[index]; }
};

Found FindByCommand(MenuSystem& s, Menu& menu, UINT id, int depth) {
    for (size_t i = 0; i < menu.items.size(); ++i) {
        MenuItem& item = menu.items[i];
        if (item.submenu) {
            Menu* sub = depth < 32 ? FindMenuLocked(s, item.submenu) : nullptr;
            if (sub)
                if (Found found = FindByCommand(s, *sub, id, depth + 1); found.menu) return found;
        } else if (item.id == id && !(item.type & MF_SEPARATOR)) {
            return Found{&menu, i};
        }
    }
    return {};
}

Found FindItemLocked(MenuSystem& s, HMENU hMenu, UINT uItem, UINT uFlags) {
    Menu* menu = FindMenuLocked(s, hMenu);
    if (!menu) return {};
    if (uFlags & MF_BYPOSITION) return uItem < menu->items.size() ? Found{menu, uItem} : Found{};
    return FindByCommand(s, *menu, uItem, 0);
}

void DestroyLocked(MenuSystem& s, HMENU hMenu, int depth) {
    auto it = s.menus.find(hMenu);
    if (it == s.menus.end()) return;
    std::vector<MenuItem> items = std::move(it->second.items);
    s.menus.erase(it);
    if (depth < 32)
        for (const MenuItem& item : items)
            if (item.submenu) DestroyLocked(s, item.submenu, depth + 1);
}

// An item from the flags and arguments of AppendMenu, InsertMenu and
// ModifyMenu; false when a popup's submenu is not a menu.
bool MakeItem(MenuSystem& s, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem, MenuItem& item) {
    item = MenuItem{};
    item.type = uFlags & (MF_SEPARATOR | MF_POPUP | MF_MENUBARBREAK | MF_MENUBREAK | MF_HELP | MFT_RADIOCHECK);
    item.state = uFlags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT);
    if (uFlags & MF_POPUP) {
        item.submenu = reinterpret_cast<HMENU>(uIDNewItem);
        if (!FindMenuLocked(s, item.submenu)) return false;
    } else {
        item.id = static_cast<UINT>(uIDNewItem);
    }
    if (!(uFlags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && lpNewItem) item.text = lpNewItem;
    return true;
}

HMENU NewMenu(bool popup) {
    MenuSystem& s = TheMenus();
    std::lock_guard<std::mutex> guard(s.lock);
    auto hMenu = reinterpret_cast<HMENU>(++s.lastHandle);
    s.menus[hMenu].popup = popup;
    return hMenu;
}

// Tells the windows showing the menu as their bar that it changed.
void MenuChanged() { PlatformMenuBarsChanged(); }

}  // namespace
}  // namespace user

using namespace user;

HMENU CreateMenu() { return NewMenu(false); }

HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU hMenu) {
    MenuSystem& s = TheMenus();
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (!FindMenuLocked(s, hMenu)) return FALSE;
        DestroyLocked(s, hMenu, 0);
    }
    MenuChanged();
    return TRUE;
}

BOOL IsMenu(HMENU hMenu) {
    MenuSystem& s = TheMenus();
    std::lock_guard<std::mutex> guard(s.lock);
    return FindMenuLocked(s, hMenu) != nullptr;
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    return InsertMenuA(hMenu, static_cast<UINT>(-1), uFlags | MF_BYPOSITION, uIDNewItem, lpNewItem);
}

BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    MenuSystem& s = TheMenus();
    {
        std::lock_guard<std::mutex> guard(s.lock);
        MenuItem item;
        if (!MakeItem(s, uFlags, uIDNewItem, lpNewItem, item)) return FALSE;
        if (uFlags & MF_BYPOSITION) {
            Menu* menu = FindMenuLocked(s, hMenu);
            if (!menu) return FALSE;
            size_t at = std::min<size_t>(uPosition, menu->items.size());
            menu->items.insert(menu->items.begin() + static_cast<ptrdiff_t>(at), std::move(item));
        } else {
            Found found = FindItemLocked(s, hMenu, uPosition, uFlags);
            if (!found.menu) return FALSE;
            found.menu->items.insert(found.menu->items.begin() + static_cast<ptrdiff_t>(found.index), std::move(item));
        }
    }
    MenuChanged();
    return TRUE;
}

BOOL ModifyMenuA(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    MenuSystem& s = TheMenus();
    {
        std::lock_guard<std::mutex> guard(s.lock);
        Found found = FindItemLocked(s, hMnu, uPosition, uFlags);
        MenuItem item;
        if (!found.menu || !MakeItem(s, uFlags, uIDNewItem, lpNewItem, item)) return FALSE;
        HMENU old = found.item()->submenu;
        *found.item() = std::move(item);
        if (old && old != found.item()->submenu) DestroyLocked(s, old, 0);  // the original destroys a replaced popup
    }
    MenuChanged();
    return TRUE;
}

namespace {

BOOL RemoveItem(HMENU hMenu, UINT uPosition, UINT uFlags, bool destroySubmenu) {
    MenuSystem& s = TheMenus();
    {
        std::lock_guard<std::mutex> guard(s.lock);
        Found found = FindItemLocked(s, hMenu, uPosition, uFlags);
        if (!found.menu) return FALSE;
        HMENU sub = found.item()->submenu;
        found.menu->items.erase(found.menu->items.begin() + static_cast<ptrdiff_t>(found.index));
        if (sub && destroySubmenu) DestroyLocked(s, sub, 0);
    }
    MenuChanged();
    return TRUE;
}

// Runs f on the item under the lock; fallback when there is none.
template <class F, class R>
R WithItem(HMENU hMenu, UINT uItem, UINT uFlags, R fallback, F f) {
    MenuSystem& s = TheMenus();
    std::lock_guard<std::mutex> guard(s.lock);
    Found found = FindItemLocked(s, hMenu, uItem, uFlags);
    return found.menu ? f(s, *found.item()) : fallback;
}

}  // namespace

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) { return RemoveItem(hMenu, uPosition, uFlags, false); }

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) { return RemoveItem(hMenu, uPosition, uFlags, true); }

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
    DWORD previous = WithItem(hMenu, uIDCheckItem, uCheck, static_cast<DWORD>(-1), [&](MenuSystem&, MenuItem& item) {
        DWORD was = item.state & MF_CHECKED;
        item.state = (item.state & ~MF_CHECKED) | (uCheck & MF_CHECKED);
        return was;
    });
    if (previous != static_cast<DWORD>(-1)) MenuChanged();
    return previous;
}

BOOL CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags) {
    MenuSystem& s = TheMenus();
    bool checked = false;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (flags & MF_BYPOSITION) {
            Menu* menu = FindMenuLocked(s, hmenu);
            if (!menu || first > last) return FALSE;
            for (size_t i = first; i <= last && i < menu->items.size(); ++i) {
                MenuItem& item = menu->items[i];
                bool on = i == check;
                item.state = on ? (item.state | MF_CHECKED) : (item.state & ~MF_CHECKED);
                if (on) item.type |= MFT_RADIOCHECK;
                checked = checked || on;
            }
        } else {
            for (UINT id = first; id <= last && id >= first; ++id) {
                Found found = FindItemLocked(s, hmenu, id, MF_BYCOMMAND);
                if (!found.menu) continue;
                MenuItem& item = *found.item();
                bool on = id == check;
                item.state = on ? (item.state | MF_CHECKED) : (item.state & ~MF_CHECKED);
                if (on) item.type |= MFT_RADIOCHECK;
                checked = checked || on;
                if (id == last) break;
            }
        }
    }
    MenuChanged();
    return checked;
}

BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
    int previous = WithItem(hMenu, uIDEnableItem, uEnable, -1, [&](MenuSystem&, MenuItem& item) {
        int was = static_cast<int>(item.state & (MF_GRAYED | MF_DISABLED));
        item.state = (item.state & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
        return was;
    });
    if (previous != -1) MenuChanged();
    return previous;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
    return WithItem(hMenu, uId, uFlags, static_cast<UINT>(-1), [](MenuSystem& s, MenuItem& item) {
        UINT flags = item.type | item.state;
        if (item.submenu) {
            Menu* sub = FindMenuLocked(s, item.submenu);
            UINT count = sub ? static_cast<UINT>(std::min<size_t>(sub->items.size(), 0xFF)) : 0;
            flags = (count << 8) | (flags & 0xFF) | MF_POPUP;
        }
        return flags;
    });
}

int GetMenuItemCount(HMENU hMenu) {
    MenuSystem& s = TheMenus();
    std::lock_guard<std::mutex> guard(s.lock);
    Menu* menu = FindMenuLocked(s, hMenu);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos) {
    if (nPos < 0) return static_cast<UINT>(-1);
    return WithItem(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION, static_cast<UINT>(-1),
                    [](MenuSystem&, MenuItem& item) { return item.submenu ? static_cast<UINT>(-1) : item.id; });
}

HMENU GetSubMenu(HMENU hMenu, int nPos) {
    if (nPos < 0) return nullptr;
    return WithItem(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION, HMENU{},
                    [](MenuSystem&, MenuItem& item) { return item.submenu; });
}

int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags) {
    return WithItem(hMenu, uIDItem, flags, 0, [&](MenuSystem&, MenuItem& item) {
        int length = static_cast<int>(item.text.size());
        if (!lpString) return length;
        if (cchMax <= 0) return 0;
        int count = std::min(length, cchMax - 1);
        std::memcpy(lpString, item.text.data(), static_cast<size_t>(count));
        lpString[count] = '\0';
        return count;
    });
}

namespace user {

std::vector<MenuItem> MenuItems(HMENU hMenu) {
    MenuSystem& s = TheMenus();
    std::lock_guard<std::mutex> guard(s.lock);
    Menu* menu = FindMenuLocked(s, hMenu);
    return menu ? menu->items : std::vector<MenuItem>{};
}

}  // namespace user
