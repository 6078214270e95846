// The state of one event or mutex, wherever it lives: in the namespace
// segment for a named object, in the process's own memory for an unnamed one.
// Used by the layer's own code; the layout is private to SyncBody.cpp.
//
// A mutex is a robust pthread mutex (SyncLock.h): ownership belongs to a
// thread, and when the owning thread or its process ends without releasing
// it, the kernel marks it so that the next locker gets WAIT_ABANDONED. The
// owner is told by the thread id in the lock's word together with a random
// token of the owning thread, since two PID namespaces can each have a
// thread of the same id; the recursion is counted here, so glibc is never
// asked to tell the owner by the thread id alone.
//
// An event is a short robust lock guarding its state and a futex word that
// waiters sleep on. No glibc condition variable is involved: a waiter killed
// inside pthread_cond_wait can swallow a later signal, a killed futex
// sleeper cannot. Waiters are counted per process by the caller (the
// namespace's holder records), so the count of a process that dies while
// waiting can be taken back (ForgetWaiters).
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/shared/Types.h"

namespace platform::sync {

enum class Kind : uint32_t { Event = 1, Mutex = 2 };

struct alignas(16) BodyStorage {
    unsigned char bytes[96];
};

// Makes a new body. For an event, initialState is "signalled"; for a mutex,
// "owned by the calling thread". shared: the storage is shared between
// processes (named objects).
void InitBody(BodyStorage& body, Kind kind, bool manualReset, bool initialState, bool shared);

// Whether the body is one that InitBody made with this kind and sharing,
// as far as its words tell. A body that is not is never locked or waited
// on: its calls fail with ERROR_INVALID_DATA.
bool BodySound(const BodyStorage& body, Kind kind, bool shared);

// Ends a body whose last handle has been closed. A mutex still owned by the
// calling thread is released first; FALSE when another live thread owns it,
// in which case the storage must stay as it is (it is on that thread's
// robust list) and EndBody may be tried again later, and FALSE for good for
// a body that is not sound.
bool EndBody(BodyStorage& body);

// Whether the body is a mutex whose lock a live thread of the calling
// process holds: that thread's robust list (walked by the C library on
// every lock and unlock, and by the kernel when the thread ends) then
// points into the body, so its memory must stay mapped.
bool HeldInProcess(const BodyStorage& body);

// WaitForSingleObject on a body of that kind. waiting is the calling
// process's count of threads waiting on the object (events only).
DWORD WaitBody(BodyStorage& body, Kind kind, DWORD dwMilliseconds, std::atomic<uint32_t>& waiting);

// SetEvent, ResetEvent, PulseEvent and ReleaseMutex; FALSE with the last
// error set on failure (ERROR_INVALID_DATA for a body of another kind or a
// damaged one).
BOOL SetBody(BodyStorage& body);
BOOL ResetBody(BodyStorage& body);
BOOL PulseBody(BodyStorage& body);
BOOL ReleaseBody(BodyStorage& body);

// Takes count waiting threads of a dead process off an event: signals that
// were handed to them stay with the event for the next waiter.
void ForgetWaiters(BodyStorage& body, uint32_t count);

}  // namespace platform::sync
