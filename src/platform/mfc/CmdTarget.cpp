// CCmdTarget's map look-up and command dispatch, and CCmdUI.
#include "platform/mfc/CmdTarget.h"

#include "platform/mfc/Menu.h"
#include "platform/mfc/Unsupported.h"
#include "platform/mfc/Wnd.h"

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode, UINT nID) {
    bool bRouted = nMsg == WM_COMMAND || nMsg == WM_NOTIFY;
    for (; lpEntry->pfnCall; ++lpEntry) {
        if (lpEntry->pnRegistered) {
            if (!bRouted && *lpEntry->pnRegistered == nMsg) return lpEntry;
            continue;
        }
        if (lpEntry->nMessage != nMsg) continue;
        if (!bRouted) return lpEntry;
        if (lpEntry->nCode == nCode && lpEntry->nID <= nID && nID <= lpEntry->nLastID) return lpEntry;
    }
    return nullptr;
}

// ---- CCmdTarget -----------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // WM_NOTIFY's code comes packed with the message in its high word.
    UINT nMsg = WM_COMMAND;
    UINT code = static_cast<UINT>(nCode);
    if (code != CN_UPDATE_COMMAND_UI && HIWORD(code) != 0) {
        nMsg = HIWORD(code);
        code = LOWORD(code);
    }
    nID = LOWORD(nID);
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(map->lpEntries, nMsg, code, nID);
        if (!entry) continue;
        if (pHandlerInfo) {
            pHandlerInfo->pTarget = this;
            pHandlerInfo->pfnCall = entry->pfnCall;
            return TRUE;
        }
        auto extra = reinterpret_cast<LPARAM>(pExtra);
        if (code == CN_UPDATE_COMMAND_UI && nMsg == WM_COMMAND) {
            auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
            pCmdUI->m_bContinueRouting = FALSE;
            entry->pfnCall(this, nID, extra);
            return !pCmdUI->m_bContinueRouting;
        }
        return entry->pfnCall(this, nID, extra) != 0;
    }
    return FALSE;
}

void CCmdTarget::EnableAutomation() { PlatformReportUnsupported("CCmdTarget::EnableAutomation", "it does nothing"); }

// ---- CCmdUI ---------------------------------------------------------------------

// A menu item is set by its position in m_pMenu; a control window by
// itself.
void CCmdUI::Enable(BOOL bOn) {
    if (m_pMenu) {
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

// BM_SETCHECK: a button shows the state (check boxes and radio buttons).
void CCmdUI::SetCheck(int nCheck) {
    if (m_pMenu)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    else if (m_pOther)
        m_pOther->SendMessage(0x00F1, static_cast<WPARAM>(nCheck), 0);
}

void CCmdUI::SetRadio(BOOL bOn) {
    if (m_pMenu && bOn)
        m_pMenu->CheckMenuRadioItem(m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
    else
        SetCheck(bOn ? 1 : 0);
}

// A menu item keeps its state and id with the new text.
void CCmdUI::SetText(LPCTSTR lpszText) {
    if (m_pMenu && lpszText) {
        UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
        return;
    }
    if (!m_pOther || !lpszText) return;
    CString current;
    m_pOther->GetWindowText(current);
    if (current != lpszText) m_pOther->SetWindowText(lpszText);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (!pTarget || m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // not a command
    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return bResult;
}
