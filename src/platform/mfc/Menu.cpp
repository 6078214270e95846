// CMenu over the user layer's menus, and its handle maps.
#include "platform/mfc/Menu.h"

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/mfc/ResourceHandles.h"
#include "platform/mfc/Wnd.h"
#include "platform/shared/NoDestructor.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

// The objects attached to menus, and the temporary ones FromHandle made.
struct MenuMaps {
    std::mutex lock;
    std::unordered_map<HMENU, CMenu*> permanent;
    std::unordered_map<HMENU, std::unique_ptr<CMenu>> temporary;
};

MenuMaps& TheMenuMaps() {
    static NoDestructor<MenuMaps> maps;  // static CMenu objects may be destroyed after it
    return *maps;
}

}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (!hMenu || !::IsMenu(hMenu)) return nullptr;
    MenuMaps& maps = TheMenuMaps();
    std::lock_guard<std::mutex> guard(maps.lock);
    if (auto it = maps.permanent.find(hMenu); it != maps.permanent.end()) return it->second;
    std::erase_if(maps.temporary, [](auto& entry) {
        if (::IsMenu(entry.first)) return false;
        entry.second->m_hMenu = nullptr;  // the menu is gone: nothing to destroy
        return true;
    });
    std::unique_ptr<CMenu>& temp = maps.temporary[hMenu];
    if (!temp) {
        temp = std::make_unique<CMenu>();
        temp->m_hMenu = hMenu;  // not attached: the temporary object never destroys the menu
    }
    return temp.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (m_hMenu || !::IsMenu(hMenu)) return FALSE;
    m_hMenu = hMenu;
    MenuMaps& maps = TheMenuMaps();
    std::lock_guard<std::mutex> guard(maps.lock);
    maps.permanent[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    if (hMenu) {
        MenuMaps& maps = TheMenuMaps();
        std::lock_guard<std::mutex> guard(maps.lock);
        if (auto it = maps.permanent.find(hMenu); it != maps.permanent.end() && it->second == this)
            maps.permanent.erase(it);
    }
    return hMenu;
}

BOOL CMenu::CreateMenu() { return !m_hMenu && Attach(::CreateMenu()); }

BOOL CMenu::CreatePopupMenu() { return !m_hMenu && Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
    if (m_hMenu) return FALSE;
    HMENU hMenu = ::LoadMenuA(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName);
    return hMenu && Attach(hMenu);
}

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }

BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate) {
    if (m_hMenu) return FALSE;
    HMENU hMenu = ::LoadMenuIndirectA(lpMenuTemplate);
    return hMenu && Attach(hMenu);
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }

UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
    return ::GetMenuStringA(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    int length = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetMenuStringA(m_hMenu, nIDItem, text.data(), length + 1, nFlags);
    rString = CString(text.c_str());
    return copied;
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}

HMENU PlatformLoadFrameMenu(UINT nID) {
    LPCSTR name = MAKEINTRESOURCE(nID);
    return ::LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name);
}
