#include "sync/CResources.h"

#include "platform/mfc/SyncObjects.h"

int CResources::HandleEvent(const char* name, bool set) {
    CEvent event(TRUE, FALSE, name, nullptr);
    if (set)
        event.SetEvent();
    else
        event.ResetEvent();
    event.Unlock();
    return 1;
}

int CResources::HandleEvent(const char* name, bool set, CString) { return HandleEvent(name, set); }

void CResources::WaitForEvent(const char* name) {
    CEvent event(FALSE, FALSE, name, nullptr);
    event.Lock(INFINITE);
    event.Unlock();
}

void CResources::WaitForEvent(const char* name, CString) { WaitForEvent(name); }
