// CUtils: mutex creation.
#include "containers/CGenerateGuid.h"
#include "files/CUtils.h"
#include "platform/kernel/Errors.h"
#include "platform/mfc/SyncObjects.h"

int CUtils::CreateMutexA(CMutex*& out) {
    CString name;
    CGenerateGuid make(name);
    out = new CMutex(TRUE, name, nullptr);
    if (!out->m_hObject) {
        // The original's CMutex throws here; the caller hears it instead.
        m_strError = "The mutex could not be created: " + PlatformErrorText(GetLastError());
        return !m_bSuccess;
    }
    out->Unlock();
    return m_bSuccess;
}
