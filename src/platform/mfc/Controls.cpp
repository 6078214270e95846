// CButton and CWnd's handing on of owner drawing.
#include "platform/mfc/Controls.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("Button", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (!lpDrawItemStruct) return;
    if (auto* pButton = DYNAMIC_DOWNCAST(CButton, FromHandlePermanent(lpDrawItemStruct->hwndItem)))
        pButton->DrawItem(lpDrawItemStruct);
}
