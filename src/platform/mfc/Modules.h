// Modules: the process's module state and the chain of extension modules.
// Loading, module handles and module file names are the kernel's
// (platform/kernel/Library.h).
//
// The process has one module state. Its class list holds the runtime classes
// of the platform and of the host program. An extension module (a shared
// object that compiles in module/DllEntry.cpp) parks that list while its
// static constructors run, takes the classes they registered into its
// AFX_EXTENSION_MODULE record and joins the chain through a CDynLinkLibrary,
// so CRuntimeClass::FromName finds its classes until it is unloaded.
//
#pragma once

#include "platform/kernel/Library.h"
#include "platform/mfc/Objects.h"

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

// Lock types of AfxLockGlobals. All of them share one recursive lock.
#define CRIT_RUNTIMECLASSLIST 0
#define CRIT_DYNLINKLIST 1

class CDynLinkLibrary;
class COleObjectFactory;  // no OLE factories here; the lists are kept for the module entry

// Cast to the export's real type before calling. A function type without
// parameters or result converts to any other without a warning.

struct PLATFORM_API AFX_MODULE_STATE {
    CRuntimeClass* m_pClassHead = nullptr;        // registered classes, newest first
    COleObjectFactory* m_pFactoryHead = nullptr;  // registered object factories
    CRuntimeClass* m_pClassInit = nullptr;        // class list parked by a loading module
    COleObjectFactory* m_pFactoryInit = nullptr;  // factory list parked by a loading module
    CDynLinkLibrary* m_pLibraryHead = nullptr;    // extension modules, newest first
    HINSTANCE m_hCurrentResourceHandle = nullptr;  // as set by AfxSetResourceHandle
};

// The process's module state; never null, never destroyed.
PLATFORM_API AFX_MODULE_STATE* AfxGetModuleState();
// Guards the module state's lists. Hold it while changing them directly.
PLATFORM_API void AfxLockGlobals(int nLockType);
PLATFORM_API void AfxUnlockGlobals(int nLockType);

// One extension module's record: zero-initialised and owned by the module.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
    CRuntimeClass* pFirstSharedClass;
    COleObjectFactory* pFirstSharedFactory;
};

// Called by a module's DllMain at attach, after its static constructors:
// moves the classes and factories registered since the module parked the
// lists into the record and restores the parked lists. TRUE on success, also
// when the record was initialised before (then nothing changes). FALSE when
// hInstance is null: the lists are restored and the module's registrations
// dropped, and the load is to fail.
PLATFORM_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hInstance);
// Called at detach: deletes the chain's CDynLinkLibrary objects of this
// module (of every module with bAll), so their classes can no longer be
// found. Nothing happens for a record that was never initialised.
PLATFORM_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// An extension module in the chain. Created on the heap by the module's
// DllMain; the chain owns it from then on and AfxTermExtensionModule deletes it.
class PLATFORM_API CDynLinkLibrary : public CObject {
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    CRuntimeClass* m_pFirstClass;          // the module's classes
    COleObjectFactory* m_pFirstFactory;    // the module's factories
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;
};

// LoadLibraryA and FreeLibrary under their class-library names.
PLATFORM_API HINSTANCE AfxLoadLibrary(LPCTSTR lpszModuleName);
PLATFORM_API BOOL AfxFreeLibrary(HINSTANCE hInstLib);

// The application's name: as set, or else the program file's name without
// its directory and extension (also after setting null or ""). Set it
// before other threads start.
PLATFORM_API LPCTSTR AfxGetAppName();
PLATFORM_API void AfxSetAppName(LPCTSTR lpszAppName);
// Whether the name was set (not the program file's).
PLATFORM_API BOOL PlatformAppNameSet();
