// Runtime classes: type tests, creation, registration and look-up by name.
#include "platform/mfc/Objects.h"

#include <cstring>
#include <new>

#include "platform/mfc/Modules.h"

namespace {

CRuntimeClass* findIn(CRuntimeClass* pClass, LPCSTR lpszClassName) {
    for (; pClass; pClass = pClass->m_pNextClass)
        if (std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0) return pClass;
    return nullptr;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr,
                                       nullptr};
static const AFX_CLASSINIT classInit_CObject(&CObject::classCObject);

CObject::~CObject() = default;

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}

CObject* CRuntimeClass::CreateObject() {
    if (!m_pfnCreateObject) return nullptr;
    try {
        return m_pfnCreateObject();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    if (!pBaseClass) return FALSE;
    for (const CRuntimeClass* pClass = this; pClass; pClass = pClass->m_pBaseClass)
        if (pClass == pBaseClass) return TRUE;
    return FALSE;
}

// The parked list is searched too: while a module loads, the application's
// classes sit there rather than on the list head.
CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
    if (!lpszClassName) return nullptr;
    AfxLockGlobals(CRIT_RUNTIMECLASSLIST);
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    CRuntimeClass* pFound = findIn(pState->m_pClassHead, lpszClassName);
    if (!pFound) pFound = findIn(pState->m_pClassInit, lpszClassName);
    for (CDynLinkLibrary* pDLL = pState->m_pLibraryHead; !pFound && pDLL; pDLL = pDLL->m_pNextDLL)
        pFound = findIn(pDLL->m_pFirstClass, lpszClassName);
    AfxUnlockGlobals(CRIT_RUNTIMECLASSLIST);
    return pFound;
}

void AfxClassInit(CRuntimeClass* pNewClass) {
    AfxLockGlobals(CRIT_RUNTIMECLASSLIST);
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    pNewClass->m_pNextClass = pState->m_pClassHead;
    pState->m_pClassHead = pNewClass;
    AfxUnlockGlobals(CRIT_RUNTIMECLASSLIST);
}
