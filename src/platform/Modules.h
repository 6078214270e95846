// Modules: the process's module state, the chain of extension modules,
// dynamic libraries and module file names.
//
// The process has one module state. Its class list holds the runtime classes
// of the platform and of the host program. An extension module (a shared
// object that compiles in module/DllEntry.cpp) parks that list while its
// static constructors run, takes the classes they registered into its
// AFX_EXTENSION_MODULE record and joins the chain through a CDynLinkLibrary,
// so CRuntimeClass::FromName finds its classes until it is unloaded.
//
// A module handle (HMODULE, HINSTANCE) is the handle dlopen gives for the
// shared object. The calls here accept only handles of modules they know to
// be loaded (loaded through LoadLibraryA, or attached as extension modules),
// so a stale or made-up handle fails instead of reaching the loader.
#pragma once

#include "platform/Objects.h"

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
typedef void (*FARPROC)();

struct PLATFORM_API AFX_MODULE_STATE {
    CRuntimeClass* m_pClassHead = nullptr;        // registered classes, newest first
    COleObjectFactory* m_pFactoryHead = nullptr;  // registered object factories
    CRuntimeClass* m_pClassInit = nullptr;        // class list parked by a loading module
    COleObjectFactory* m_pFactoryInit = nullptr;  // factory list parked by a loading module
    CDynLinkLibrary* m_pLibraryHead = nullptr;    // extension modules, newest first
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

// Used by module/DllEntry.cpp: the handle of the module whose code or data
// lies at address (null if none), and the report that a module refused to
// attach, which makes the LoadLibraryA call loading it unload it and fail.
PLATFORM_API HMODULE PlatformModuleFromAddress(const void* address);
PLATFORM_API void PlatformRefuseModuleLoad();

// Loads a shared object (dlopen, symbols resolved at once and kept local).
// The name is a library path: backslashes and drive prefixes are translated.
// A bare name is looked for in the program's directory first, then where the
// system's loader looks. Loading a loaded module again returns the same
// handle and must be matched by another FreeLibrary. Null on failure,
// including when an extension module's entry refused to attach.
PLATFORM_API HMODULE LoadLibraryA(LPCSTR lpLibFileName);
PLATFORM_API HINSTANCE AfxLoadLibrary(LPCTSTR lpszModuleName);
// Releases one load made by LoadLibraryA; the module is unloaded with its
// last release. FALSE for null, for handles with no outstanding load, and for
// handles that were never valid.
PLATFORM_API BOOL FreeLibrary(HMODULE hLibModule);
PLATFORM_API BOOL AfxFreeLibrary(HINSTANCE hInstLib);
// The exported function or variable of that name, or null.
PLATFORM_API FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);

// Copies the module's full path in backslash form (Paths.h) into lpFilename;
// a null module means the program itself. Returns the length copied; when
// the buffer is too small the path is cut, still terminated, and nSize is
// returned. 0 for an unknown module or nSize 0.
PLATFORM_API DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

// The application's name: as set, or else the program file's name without
// its directory and extension (also after setting null or ""). Set it
// before other threads start.
PLATFORM_API LPCTSTR AfxGetAppName();
PLATFORM_API void AfxSetAppName(LPCTSTR lpszAppName);
