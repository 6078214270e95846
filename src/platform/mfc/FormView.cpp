// Data exchange and the form view.
#include "platform/mfc/FormView.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    CWnd* pCtrl = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!pCtrl) {
        Fail();
        return nullptr;
    }
    return pCtrl->m_hWnd;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    CWnd* pCtrl = CWnd::FromHandle(pDX->PrepareEditCtrl(nIDC));
    if (!pCtrl) return;
    if (pDX->m_bSaveAndValidate)
        pCtrl->GetWindowText(value);
    else
        pCtrl->SetWindowText(value);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CWnd::DoDataExchange(CDataExchange*) {}

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
