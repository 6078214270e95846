// Frames and their menu bars: the items' update before a popup opens, the
// prompt of the highlighted item, the MDI shared menus and the Window menu
// that lists the MDI children.
#include <string>
#include <utility>

#include "platform/mfc/Docs.h"
#include "platform/mfc/Frames.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/StandardIds.h"

// ---- CFrameWnd ----------------------------------------------------------------------------

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || !pPopupMenu) return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;  // a separator or a popup
        // The system's own ids (0xF000 and up, the Window menu's child list)
        // have no handlers here and stay as they are.
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        // A handler may have taken items out: the count is read again.
        state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
    if (nFlags == 0xFFFF && !hSysMenu)
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;  // the menu closed
    else if (nFlags & (MF_SEPARATOR | MF_POPUP))
        m_nIDTracking = 0;
    else
        m_nIDTracking = nItemID;
    if (m_nIDTracking != m_nIDLastMessage) {
        SetMessageText(m_nIDTracking);
        m_nIDLastMessage = m_nIDTracking;
    }
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    HMENU hMenu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
    if (hMenu && ::GetMenu(m_hWnd) != hMenu) {
        ::SetMenu(m_hWnd, hMenu);
        RecalcLayout();
    }
}

// ---- CMDIFrameWnd -----------------------------------------------------------------------

namespace {

// The child list's items and the separator before them.
void RemoveChildList(HMENU hMenu) {
    int n = ::GetMenuItemCount(hMenu);
    int first = n;
    while (first > 0 && ::GetMenuItemID(hMenu, first - 1) >= AFX_IDM_FIRST_MDICHILD &&
           ::GetMenuItemID(hMenu, first - 1) != static_cast<UINT>(-1))
        --first;
    if (first == n) return;
    if (first > 0 && (::GetMenuState(hMenu, first - 1, MF_BYPOSITION) & MF_SEPARATOR)) --first;
    for (int i = n - 1; i >= first; --i) ::DeleteMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
}

}  // namespace

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    if (m_bDestroying) return;
    if (CMDIChildWnd* pActive = MDIGetActive()) {
        pActive->OnUpdateFrameMenu(TRUE, pActive, hMenuAlt);
        return;
    }
    HMENU hMenu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
    if (hMenu) MDISetMenu(CMenu::FromHandle(hMenu), CMenu::FromHandle(GetWindowMenuPopup(hMenu)));
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
    HMENU hOld = ::GetMenu(m_hWnd);
    if (m_bDestroying) return CMenu::FromHandle(hOld);
    HMENU hNew = pFrameMenu ? pFrameMenu->m_hMenu : hOld;
    HMENU hWindowMenu = pWindowMenu ? pWindowMenu->m_hMenu : nullptr;
    if (m_hWindowMenu != hWindowMenu) {
        if (::IsMenu(m_hWindowMenu)) RemoveChildList(m_hWindowMenu);  // the list leaves the menu going away
        m_hWindowMenu = hWindowMenu;
    }
    if (hNew != hOld) {
        ::SetMenu(m_hWnd, hNew);
        RecalcLayout();
    }
    UpdateWindowMenu();
    return CMenu::FromHandle(hOld);
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
    for (int i = ::GetMenuItemCount(hMenuBar) - 1; i >= 0; --i) {
        HMENU hPopup = ::GetSubMenu(hMenuBar, i);
        for (int j = 0, n = ::GetMenuItemCount(hPopup); j < n; ++j) {
            UINT id = ::GetMenuItemID(hPopup, j);
            if (id >= AFX_IDM_WINDOW_FIRST && id <= AFX_IDM_WINDOW_LAST) return hPopup;
        }
    }
    return nullptr;
}

void CMDIFrameWnd::UpdateWindowMenu(HWND hExcept) {
    if (m_bDestroying || !::IsMenu(m_hWindowMenu)) return;
    RemoveChildList(m_hWindowMenu);
    m_listedChildren.clear();
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (h != hExcept && ::IsWindowVisible(h)) m_listedChildren.push_back(h);
    if (m_listedChildren.empty()) return;
    ::AppendMenuA(m_hWindowMenu, MF_SEPARATOR, 0, nullptr);
    CMDIChildWnd* pActive = MDIGetActive();
    for (size_t n = 0; n < m_listedChildren.size(); ++n) {
        HWND h = m_listedChildren[n];
        char title[256] = {};
        ::GetWindowTextA(h, title, sizeof title);
        std::string text = "&" + std::to_string(n + 1) + " " + title;
        UINT flags = MF_STRING | (pActive && pActive->m_hWnd == h ? MF_CHECKED : MF_UNCHECKED);
        ::AppendMenuA(m_hWindowMenu, flags, AFX_IDM_FIRST_MDICHILD + n, text.c_str());
    }
}

void CMDIFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    if (pPopupMenu && pPopupMenu->m_hMenu == m_hWindowMenu) UpdateWindowMenu();  // titles may have changed
    CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    if (lParam == 0 && id >= AFX_IDM_FIRST_MDICHILD) {
        size_t n = id - AFX_IDM_FIRST_MDICHILD;
        if (n < m_listedChildren.size() && ::IsWindow(m_listedChildren[n])) {
            if (::IsIconic(m_listedChildren[n])) ::ShowWindow(m_listedChildren[n], SW_RESTORE);
            MDIActivate(CWnd::FromHandle(m_listedChildren[n]));
        }
        return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
}

// ---- CMDIChildWnd -------------------------------------------------------------------------

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame) return;
    if (!bActivate && pActivateWnd) return;  // another child takes over and sets its own
    if (!bActivate) {
        pFrame->OnUpdateFrameMenu(nullptr);  // the last child went: the frame's own menu
        return;
    }
    HMENU hMenu = hMenuAlt ? hMenuAlt : m_hMenuShared;
    if (!hMenu) hMenu = pFrame->m_hMenuDefault;
    if (!hMenu) {
        pFrame->UpdateWindowMenu();
        return;
    }
    pFrame->MDISetMenu(CMenu::FromHandle(hMenu), CMenu::FromHandle(pFrame->GetWindowMenuPopup(hMenu)));
}
