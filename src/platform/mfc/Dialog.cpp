// CDialog and CDialogEx (Dialog.h).
#include "platform/mfc/Dialog.h"

#include "platform/kernel/Resources.h"
#include "platform/mfc/App.h"
#include "platform/mfc/ResourceHandles.h"
#include "platform/user/Painting.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

bool CDialog::FindTemplate(const void** ppTemplate, size_t* pcbTemplate, HINSTANCE* phInst) const {
    *phInst = AfxGetResourceHandle();
    if (m_lpDialogTemplate) {
        *ppTemplate = m_lpDialogTemplate;
        *pcbTemplate = SIZE_MAX;  // the caller's memory, as on the original
        return true;
    }
    *phInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    return PlatformFindDialogTemplate(*phInst, m_lpszTemplateName, ppTemplate, pcbTemplate) != FALSE;
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    const void* pTemplate = nullptr;
    size_t cbTemplate = 0;
    HINSTANCE hInst = nullptr;
    return FindTemplate(&pTemplate, &cbTemplate, &hInst) && CreateDlgIndirect(pTemplate, cbTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDHelp = nIDTemplate;
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate && CreateDlgIndirect(lpDialogTemplate, SIZE_MAX, pParentWnd, AfxGetResourceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

INT_PTR CDialog::DoModal() {
    const void* pTemplate = nullptr;
    size_t cbTemplate = 0;
    HINSTANCE hInst = nullptr;
    if (m_hWnd || !FindTemplate(&pTemplate, &cbTemplate, &hInst)) return -1;
    CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (!CreateDlgIndirect(pTemplate, cbTemplate, pOwner, hInst)) return -1;
    return PlatformRunModalDialog(m_hWnd);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;  // the failing control has the focus; the dialog stays
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }

void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl) ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }

DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

// A modeless dialog's keys go through the dialog manager, which dispatches
// them itself.
BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message < WM_KEYDOWN || pMsg->message > WM_SYSCHAR) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---- CDialogEx -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDialogEx, CDialog)

CDialogEx::~CDialogEx() {
    if (m_hBackground) ::DeleteObject(m_hBackground);
}

void CDialogEx::SetBackgroundColor(COLORREF color, BOOL bRepaint) {
    if (m_hBackground) ::DeleteObject(m_hBackground);
    m_background = color;
    m_hBackground = ::CreateSolidBrush(color);
    if (bRepaint && m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CDialogEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    bool ours = message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN;
    if (!ours || !m_hBackground) return CDialog::WindowProc(message, wParam, lParam);
    auto hDC = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(hDC, m_background);
    ::SetTextColor(hDC, ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(m_hBackground);
}
