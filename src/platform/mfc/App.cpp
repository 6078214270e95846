// The application object, its message loop and template list, and the INI
// profile.
#include "platform/mfc/App.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/Paths.h"
#include "platform/kernel/Profile.h"
#include "platform/mfc/ControlBars.h"
#include "platform/mfc/Modules.h"
#include "platform/mfc/ResourceHandles.h"
#include "platform/mfc/StandardIds.h"

namespace {

std::atomic<CWinApp*> currentApp{nullptr};

char* duplicate(LPCTSTR text) { return ::strdup(text ? text : ""); }

}  // namespace

// ---- CWinThread ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

int CWinThread::Run() {
    for (LONG idle = 0;;) {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) OnIdle(idle++);
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) m_nExitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        idle = 0;
    }
    return ExitInstance();
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    HWND hStop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
        if (hWnd == hStop) break;
    }
    return FALSE;
}

// The first idle call updates the main window's control bars (each item
// through its update handler).
BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0 && m_pMainWnd && m_pMainWnd->m_hWnd && m_pMainWnd->IsWindowVisible())
        m_pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    CWnd::DeleteTempMap();
    return FALSE;
}

// ---- CWinApp ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

CWinApp::CWinApp(LPCTSTR lpszAppName) {
    if (lpszAppName) AfxSetAppName(lpszAppName);
    m_pszAppName = duplicate(AfxGetAppName());
    m_pszProfileName = duplicate(PlatformDefaultProfile(m_pszAppName));
    currentApp = this;
}

void PlatformNameAfterTitle(CWinApp& app) {
    CString title;
    if (PlatformAppNameSet() || !title.LoadString(AFX_IDS_APP_TITLE) || title.IsEmpty()) return;
    bool defaultProfile = PlatformDefaultProfile(app.m_pszAppName) == app.m_pszProfileName;
    AfxSetAppName(title);
    std::free(const_cast<char*>(app.m_pszAppName));
    app.m_pszAppName = duplicate(title);
    if (!defaultProfile) return;
    std::free(const_cast<char*>(app.m_pszProfileName));
    app.m_pszProfileName = duplicate(PlatformDefaultProfile(app.m_pszAppName));
}

CWinApp::~CWinApp() {
    CloseAllDocuments(TRUE);
    while (!m_templateList.IsEmpty()) delete static_cast<CDocTemplate*>(m_templateList.RemoveHead());
    delete m_pRecentFileList;
    std::free(const_cast<char*>(m_pszRegistryKey));
    std::free(const_cast<char*>(m_pszExeName));
    std::free(const_cast<char*>(m_pszAppName));
    std::free(const_cast<char*>(m_pszProfileName));
    CWinApp* self = this;
    currentApp.compare_exchange_strong(self, nullptr);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (!pTemplate || m_templateList.Find(pTemplate)) return;
    m_templateList.AddTail(pTemplate);
    pTemplate->LoadTemplate();
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& rPosition) const {
    return static_cast<CDocTemplate*>(m_templateList.GetNext(rPosition));
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::SaveAllModified() {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        if (!GetNextDocTemplate(pos)->SaveAllModified()) return FALSE;
    return TRUE;
}

void CWinApp::SetProfileFile(LPCTSTR lpszPath) {
    std::free(const_cast<char*>(m_pszProfileName));
    m_pszProfileName = duplicate(lpszPath);
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    return GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    return WritePrivateProfileStringA(lpszSection, lpszEntry, std::to_string(nValue).c_str(), m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    CString value;
    if (!PlatformGetProfileValue(m_pszProfileName, lpszSection, lpszEntry, value)) value = lpszDefault ? lpszDefault : "";
    return value;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    return WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

CWinApp* AfxGetApp() { return currentApp; }

CWinThread* AfxGetThread() { return currentApp; }

CWnd* AfxGetMainWnd() {
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetMainWnd() : nullptr;
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
    return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const {
    return ::LoadCursorA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}
