// CFrameWnd's control bars: laying them out, showing and hiding them, the
// status bar's message pane and its key indicators.
#include "platform/mfc/ControlBars.h"
#include "platform/mfc/Frames.h"
#include "platform/mfc/StandardIds.h"
#include "platform/mfc/Unsupported.h"
#include "platform/user/Input.h"

void CFrameWnd::EnableDocking(DWORD) {}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT, LPCRECT) {
    if (pBar && pBar->m_pDockSite == this) RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL) {
    if (!pBar || !pBar->m_hWnd) return;
    pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar*, CPoint, DWORD) {
    PlatformReportUnsupported("CFrameWnd::FloatControlBar", "bars stay docked");
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    for (CControlBar* pBar : m_listControlBars)
        if (pBar->m_hWnd && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID) return pBar;
    return nullptr;
}

void CFrameWnd::RepositionControlBars(CRect& client) {
    for (CControlBar* pBar : m_listControlBars) {
        if (!pBar->m_hWnd || !(pBar->GetStyle() & WS_VISIBLE)) continue;
        DWORD align = pBar->GetBarStyle() & CBRS_ALIGN_ANY;
        bool horizontal = align & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        CSize size = pBar->CalcFixedLayout(TRUE, horizontal);
        CRect place = client;
        if (align & CBRS_ALIGN_TOP) {
            place.bottom = std::min(client.bottom, client.top + size.cy);
            client.top = place.bottom;
        } else if (align & CBRS_ALIGN_BOTTOM) {
            place.top = std::max(client.top, client.bottom - size.cy);
            client.bottom = place.top;
        } else if (align & CBRS_ALIGN_LEFT) {
            place.right = std::min(client.right, client.left + size.cx);
            client.left = place.right;
        } else if (align & CBRS_ALIGN_RIGHT) {
            place.left = std::max(client.left, client.right - size.cx);
            client.right = place.left;
        } else {
            continue;
        }
        pBar->MoveWindow(&place);
    }
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText) {
    if (CWnd* pBar = GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE)) pBar->SetWindowText(lpszText ? lpszText : "");
}

void CFrameWnd::SetMessageText(UINT nID) {
    CString message;
    GetMessageString(nID, message);
    SetMessageText(message);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    CString text = nID ? PlatformLoadBarString(nID) : CString();
    int newline = text.Find('\n');
    rMessage = newline >= 0 ? text.Left(newline) : text;
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* pBar = GetControlBar(nID);
    if (!pBar) return FALSE;
    ShowControlBar(pBar, !(pBar->GetStyle() & WS_VISIBLE), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    pCmdUI->Enable(pBar != nullptr);
    pCmdUI->SetCheck(pBar && (pBar->GetStyle() & WS_VISIBLE));
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    if (wParam)
        SetMessageText(static_cast<UINT>(wParam));
    else
        SetMessageText(reinterpret_cast<LPCTSTR>(lParam));
    m_nIDLastMessage = static_cast<UINT>(wParam);
    return 0;
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
    int key = pCmdUI->m_nID == ID_INDICATOR_CAPS  ? VK_CAPITAL
              : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                  : VK_SCROLL;
    pCmdUI->Enable(::GetKeyState(key) & 1);
}
