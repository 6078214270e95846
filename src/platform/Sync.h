// Synchronisation objects: CSyncObject and the named CMutex.
//
// Two CMutex objects constructed with the same name in one process refer to
// one mutex; the name disappears with its last handle. A mutex without a name
// (null or empty) is private to its object. Names are case-sensitive.
//
// Ownership belongs to a thread, as on the original platform: the mutex is
// recursive for its owner (each Lock needs its Unlock), any CMutex of the
// owning thread on that mutex may unlock it, and destroying a CMutex does not
// release ownership. A thread that ends while owning a mutex abandons it; the
// next Lock then succeeds.
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

    // TRUE when the object was acquired within dwTimeout milliseconds
    // (INFINITE waits without limit, 0 only tries).
    virtual BOOL Lock(DWORD dwTimeout = INFINITE) = 0;
    virtual BOOL Unlock() = 0;

    CString m_strName;
};

class PLATFORM_API CMutex : public CSyncObject {
public:
    // bInitiallyOwn makes the calling thread the owner when this call creates
    // the mutex; opening an existing name ignores it and never blocks. The
    // security attributes are ignored.
    CMutex(BOOL bInitiallyOwn = FALSE, LPCTSTR lpszName = nullptr, LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    ~CMutex() override;

    BOOL Lock(DWORD dwTimeout = INFINITE) override;
    // FALSE when the calling thread does not own the mutex.
    BOOL Unlock() override;

    struct State;

private:
    std::shared_ptr<State> m_state;
};
