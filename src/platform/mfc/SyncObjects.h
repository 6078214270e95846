// MFC's CSyncObject, CMutex, CEvent and CSingleLock over the event and
// mutex calls (platform/kernel/Sync.h). No exceptions are thrown: a CMutex
// or CEvent whose object cannot be made has a null m_hObject, and its calls
// then fail with ERROR_INVALID_HANDLE.
#pragma once

#include "platform/kernel/Sync.h"
#include "platform/mfc/Objects.h"

class PLATFORM_API CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)
public:
    explicit CSyncObject(LPCTSTR pstrName);
    // Closes the handle.
    ~CSyncObject() override;

    operator HANDLE() const { return m_hObject; }

    // TRUE when the wait gives WAIT_OBJECT_0 or WAIT_ABANDONED.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG lCount, LONG* lpPrevCount = nullptr);

    HANDLE m_hObject;
    CString m_strName;
};

class PLATFORM_API CMutex : public CSyncObject {
    DECLARE_DYNAMIC(CMutex)
public:
    CMutex(BOOL bInitiallyOwn = FALSE, LPCTSTR lpszName = nullptr, LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    // ReleaseMutex.
    BOOL Unlock() override;
    using CSyncObject::Unlock;
};

class PLATFORM_API CEvent : public CSyncObject {
    DECLARE_DYNAMIC(CEvent)
public:
    // bInitiallyOwn: signalled when this call creates the event.
    CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCTSTR lpszName = nullptr,
           LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL SetEvent();
    BOOL PulseEvent();
    BOOL ResetEvent();
    // Does nothing and returns TRUE: a wait on an event holds nothing.
    BOOL Unlock() override;
    using CSyncObject::Unlock;
};

// Locks a synchronisation object for a scope: the destructor unlocks what
// this object locked.
class PLATFORM_API CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LONG* lPrevCount = nullptr);
    BOOL IsLocked() const { return m_bAcquired; }

protected:
    CSyncObject* m_pObject;
    HANDLE m_hObject;
    BOOL m_bAcquired;
};
