// AfxMessageBox over MessageBoxA.
#include "platform/mfc/MessageBox.h"

#include "platform/mfc/App.h"
#include "platform/user/Input.h"

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    CWinApp* pApp = AfxGetApp();
    CWnd* pMain = AfxGetMainWnd();
    HWND hOwner = pMain && ::IsWindow(pMain->m_hWnd) ? pMain->m_hWnd : ::GetActiveWindow();
    return MessageBoxA(hOwner, lpszText, pApp && pApp->m_pszAppName ? pApp->m_pszAppName : nullptr, nType);
}

MessageBoxHook AfxSetMessageBoxHook(MessageBoxHook hook) { return PlatformSetMessageBoxHook(std::move(hook)); }

bool AfxSetMessageBoxEcho(bool bEcho) { return PlatformSetMessageBoxEcho(bEcho); }
