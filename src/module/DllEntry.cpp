// Entry of an extension module: joins the process's module chain when the
// shared object is loaded and leaves it when it is unloaded. Every extension
// module compiles this file in as its last source; its names have internal
// linkage, so each module keeps its own record and entry.
//
// ELF has no DllMain, so the entry steps are placed by initialisation order:
//  1. RawDllMain runs from a constructor of priority 101, which the linker
//     places before every unprioritised initialiser of the module. It parks
//     the process's class and factory lists, so the static constructors that
//     follow register the module's classes on empty lists.
//  2. The module's static constructors run, registering its classes.
//  3. DllMain(DLL_PROCESS_ATTACH) runs from an unprioritised constructor in
//     this file. Initialisers run in link order and this object is linked
//     last, so every other static constructor has run: AfxInitExtensionModule
//     takes the registered classes into the record and restores the parked
//     lists, and a CDynLinkLibrary puts the module into the chain.
//
// At unload DllMain(DLL_PROCESS_DETACH) must run before the static
// destructors, while the module's classes are still intact. The compiler
// registers each static destructor with __cxa_atexit under the module's
// __dso_handle as the object is constructed; step 3 registers the detach the
// same way, after all of them. The handlers of a module run in reverse order
// of registration, at dlclose for a module loaded at run time and at exit for
// one loaded with the program, so the detach comes first. (A function-local
// static first constructed after the attach is destroyed before the detach.)
// The raw entry has nothing to do at unload.
#include <cxxabi.h>

#include <new>

#include "platform/mfc/Modules.h"

extern "C" void* __dso_handle __attribute__((visibility("hidden")));

namespace {

AFX_EXTENSION_MODULE extensionModule = {};
HINSTANCE moduleInstance = nullptr;

BOOL RawDllMain(HINSTANCE, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        AfxLockGlobals(CRIT_RUNTIMECLASSLIST);
        AFX_MODULE_STATE* pState = AfxGetModuleState();
        pState->m_pClassInit = pState->m_pClassHead;
        pState->m_pFactoryInit = pState->m_pFactoryHead;
        pState->m_pClassHead = nullptr;
        pState->m_pFactoryHead = nullptr;
        AfxUnlockGlobals(CRIT_RUNTIMECLASSLIST);
    }
    return TRUE;
}

BOOL DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(extensionModule, hInstance)) return 0;
        // Owned by the chain from here on; a failed allocation leaves the
        // module loaded but out of the chain.
        new (std::nothrow) CDynLinkLibrary(extensionModule);
    } else if (dwReason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(extensionModule);
    }
    return 1;
}

void Detach(void*) { DllMain(moduleInstance, DLL_PROCESS_DETACH, nullptr); }

__attribute__((constructor(101))) void EnterBeforeStaticConstructors() {
    moduleInstance = PlatformModuleFromAddress(&extensionModule);
    RawDllMain(moduleInstance, DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((constructor)) void AttachAfterStaticConstructors() {
    if (!DllMain(moduleInstance, DLL_PROCESS_ATTACH, nullptr)) {
        PlatformRefuseModuleLoad();
        return;
    }
    __cxxabiv1::__cxa_atexit(Detach, nullptr, &__dso_handle);
}

}  // namespace
