// The module state and chain, and the application name.
//
// Sections: module state and lock; extension modules; names.
#include "platform/mfc/Modules.h"
#include "platform/shared/NoDestructor.h"

#include <filesystem>
#include <mutex>
#include <string>

namespace {

// ---- Module state and lock ------------------------------------------------

// Never destroyed: static destructors of any module may still register,
// look up or unregister classes while the process exits.
struct Globals {
    std::recursive_mutex lock;
    AFX_MODULE_STATE state;
    std::string appName;
    std::string defaultAppName;
};

Globals& globals() {
    static NoDestructor<Globals> g;
    return *g;
}

}  // namespace

AFX_MODULE_STATE* AfxGetModuleState() { return &globals().state; }

void AfxLockGlobals(int) { globals().lock.lock(); }

void AfxUnlockGlobals(int) { globals().lock.unlock(); }

// ---- Extension modules ------------------------------------------------------

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CObject)

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hInstance) {
    {
        std::lock_guard<std::recursive_mutex> guard(globals().lock);
        AFX_MODULE_STATE* pState = AfxGetModuleState();
        if (state.bInitialized) return TRUE;
        CRuntimeClass* pModuleClasses = pState->m_pClassHead;
        COleObjectFactory* pModuleFactories = pState->m_pFactoryHead;
        pState->m_pClassHead = pState->m_pClassInit;
        pState->m_pFactoryHead = pState->m_pFactoryInit;
        pState->m_pClassInit = nullptr;
        pState->m_pFactoryInit = nullptr;
        if (!hInstance) return FALSE;

        state.bInitialized = TRUE;
        state.hModule = hInstance;
        state.hResource = hInstance;
        state.pFirstSharedClass = pModuleClasses;
        state.pFirstSharedFactory = pModuleFactories;
    }
    PlatformNoteModuleAttached(hInstance, true);
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
    if (!state.bInitialized) return;
    {
        std::lock_guard<std::recursive_mutex> guard(globals().lock);
        CDynLinkLibrary* pDLL = AfxGetModuleState()->m_pLibraryHead;
        while (pDLL) {
            CDynLinkLibrary* pNextDLL = pDLL->m_pNextDLL;
            if (bAll || pDLL->m_hModule == state.hModule) delete pDLL;  // unlinks itself
            pDLL = pNextDLL;
        }
    }
    PlatformNoteModuleAttached(state.hModule, false);
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule),
      m_hResource(state.hResource),
      m_pFirstClass(state.pFirstSharedClass),
      m_pFirstFactory(state.pFirstSharedFactory),
      m_bSystem(bSystem),
      m_pNextDLL(nullptr) {
    std::lock_guard<std::recursive_mutex> guard(globals().lock);
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    m_pNextDLL = pState->m_pLibraryHead;
    pState->m_pLibraryHead = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
    std::lock_guard<std::recursive_mutex> guard(globals().lock);
    for (CDynLinkLibrary** ppLink = &AfxGetModuleState()->m_pLibraryHead; *ppLink; ppLink = &(*ppLink)->m_pNextDLL) {
        if (*ppLink == this) {
            *ppLink = m_pNextDLL;
            break;
        }
    }
}

HINSTANCE AfxLoadLibrary(LPCTSTR lpszModuleName) { return LoadLibraryA(lpszModuleName); }

BOOL AfxFreeLibrary(HINSTANCE hInstLib) { return FreeLibrary(hInstLib); }

LPCTSTR AfxGetAppName() {
    Globals& g = globals();
    std::lock_guard<std::recursive_mutex> guard(g.lock);
    if (!g.appName.empty()) return g.appName.c_str();
    if (g.defaultAppName.empty()) g.defaultAppName = std::filesystem::path(platform::ProgramPath()).stem().string();
    return g.defaultAppName.c_str();
}

BOOL PlatformAppNameSet() {
    Globals& g = globals();
    std::lock_guard<std::recursive_mutex> guard(g.lock);
    return !g.appName.empty();
}

void AfxSetAppName(LPCTSTR lpszAppName) {
    Globals& g = globals();
    std::lock_guard<std::recursive_mutex> guard(g.lock);
    g.appName = lpszAppName ? lpszAppName : "";
}
