// Synchronisation objects: CSyncObject and the named CMutex.
//
// Two CMutex objects constructed with the same name in one process refer to
// one mutex; the name disappears with its last handle. A mutex is recursive
// for its owning thread, as the original platform's is.
#pragma once

#include <memory>

#include "platform/Strings.h"

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0u
#define WAIT_ABANDONED 0x80u
#define WAIT_TIMEOUT 258u
#define WAIT_FAILED 0xFFFFFFFFu

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

class PLATFORM_API CSyncObject {
public:
    explicit CSyncObject(LPCTSTR pstrName);
    virtual ~CSyncObject();
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    // TRUE when the object was acquired within dwTimeout milliseconds.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE) = 0;
    virtual BOOL Unlock() = 0;

    CString m_strName;
};

class PLATFORM_API CMutex : public CSyncObject {
public:
    CMutex(BOOL bInitiallyOwn = FALSE, LPCTSTR lpszName = nullptr, LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    ~CMutex() override;

    BOOL Lock(DWORD dwTimeout = INFINITE) override;
    // FALSE when the calling thread does not own the mutex.
    BOOL Unlock() override;

    struct State;

private:
    std::shared_ptr<State> m_state;
};
