// The form view.
#include "platform/mfc/FormView.h"

IMPLEMENT_DYNAMIC(CFormView, CView)

BEGIN_MESSAGE_MAP(CFormView, CView)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CFormView::CFormView(UINT nIDTemplate) : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)) {}

CFormView::CFormView(LPCTSTR lpszTemplateName) : m_lpszTemplateName(lpszTemplateName) {}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CView::OnInitialUpdate();
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    HWND hFocus = ::GetFocus();
    if (!bActivate && hFocus && ::GetParent(hFocus) == m_hWnd) m_hWndFocus = hFocus;
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnSetFocus(CWnd*) {
    if (!::IsWindow(m_hWndFocus) || ::GetParent(m_hWndFocus) != m_hWnd) m_hWndFocus = ::GetWindow(m_hWnd, GW_CHILD);
    if (m_hWndFocus) ::SetFocus(m_hWndFocus);
}
