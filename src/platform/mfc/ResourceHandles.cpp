// The resource handles, the search of the extension-module chain, and
// CString::LoadString on top of them.
#include "platform/mfc/ResourceHandles.h"

#include <functional>
#include <string>

#include "platform/mfc/App.h"

namespace {

// The resource handle, then the chain's modules (the system's last): the
// first that holds what is looked for; null when none does.
HINSTANCE searchModules(const std::function<bool(HINSTANCE)>& holds) {
    HINSTANCE hResource = AfxGetResourceHandle();
    if (holds(hResource)) return hResource;
    HINSTANCE hFound = nullptr;
    AfxLockGlobals(CRIT_DYNLINKLIST);
    for (BOOL bSystem : {FALSE, TRUE}) {
        for (CDynLinkLibrary* pDLL = AfxGetModuleState()->m_pLibraryHead; !hFound && pDLL; pDLL = pDLL->m_pNextDLL)
            if (pDLL->m_bSystem == bSystem && pDLL->m_hResource && holds(pDLL->m_hResource)) hFound = pDLL->m_hResource;
    }
    AfxUnlockGlobals(CRIT_DYNLINKLIST);
    return hFound;
}

}  // namespace

HINSTANCE AfxGetInstanceHandle() {
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->m_hInstance ? pApp->m_hInstance : GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    HINSTANCE hSet = AfxGetModuleState()->m_hCurrentResourceHandle;
    return hSet ? hSet : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource; }

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
    HINSTANCE hFound = searchModules([&](HINSTANCE h) { return FindResourceA(h, lpszName, lpszType) != nullptr; });
    return hFound ? hFound : AfxGetResourceHandle();
}

HINSTANCE AfxFindStringResourceHandle(UINT nID) {
    std::string text;
    return searchModules([&](HINSTANCE h) { return platform::LoadStringResource(h, nID, text); });
}

BOOL CString::LoadString(UINT nID) {
    HINSTANCE hInstance = AfxFindStringResourceHandle(nID);
    return hInstance && LoadString(hInstance, nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID) {
    std::string text;
    if (!platform::LoadStringResource(hInstance, nID, text)) return FALSE;
    *this = CString(text);
    return TRUE;
}
