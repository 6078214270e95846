// CLP: coordinate conversions of a scrolled window.
#include "windows/CLP.h"

#include "platform/mfc/Wnd.h"

CLP::CLP(CWnd* pWnd) : m_pWnd(pWnd) {}

CLP& CLP::operator=(const CLP& other) {
    m_pWnd = other.m_pWnd;
    return *this;
}

CPoint CLP::GetScrollPos() {
    if (!m_pWnd) return CPoint(0, 0);
    return CPoint(m_pWnd->GetScrollPos(SB_HORZ), m_pWnd->GetScrollPos(SB_VERT));
}

void CLP::ConvertToLP(CPoint& point) {
    if (!m_pWnd) return;
    m_pWnd->ScreenToClient(&point);
    CPoint scroll = GetScrollPos();
    point.Offset(scroll.x, scroll.y);
}

void CLP::ConvertToLP(CRect& rect) {
    if (!m_pWnd) return;
    m_pWnd->ScreenToClient(&rect);
    CPoint scroll = GetScrollPos();
    rect.OffsetRect(scroll.x, scroll.y);
}

void CLP::ConvertToDP(CPoint& point) {
    if (!m_pWnd) return;
    CPoint scroll = GetScrollPos();
    point.Offset(-scroll.x, -scroll.y);
    m_pWnd->ClientToScreen(&point);
}

void CLP::ConvertToDP(CRect& rect) {
    if (!m_pWnd) return;
    CPoint scroll = GetScrollPos();
    rect.SetRect(rect.left - scroll.x, rect.top - scroll.y, rect.right - scroll.x, rect.bottom - scroll.y);
    m_pWnd->ClientToScreen(&rect);
}

void CLP::ConvertLPToLocalScreen(CPoint& point) {
    CPoint scroll = GetScrollPos();
    point.Offset(-scroll.x, -scroll.y);
}

void CLP::ConvertLPToLocalScreen(CRect& rect) {
    CPoint scroll = GetScrollPos();
    rect.OffsetRect(-scroll.x, -scroll.y);
}
