// Robust locks that live in memory other processes may share: the
// namespace table's lock, and the lock of every event and mutex body. Used
// by the layer's own code (SyncBody.cpp, SyncSegment.cpp).
//
// A lock is a robust pthread mutex, so the kernel reports a holder that
// ended while holding it (Locked::OwnerDied), and the id of the thread that
// holds it, written by that thread just after taking it. Shared memory can
// be damaged by any program of the user; a lock is never trusted blindly:
//   - a mutex whose type word is not the one this code makes is refused
//     before glibc sees it (a damaged type can lead glibc into an abort);
//   - a lock whose word names a thread that has not recorded itself as the
//     holder for a whole second was not taken by this code, and the wait
//     ends with Locked::Damaged instead of lasting for ever.
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstdint>

#include "platform/shared/Types.h"

namespace platform::sync {

struct SharedLock {
    pthread_mutex_t mutex;
    std::atomic<int32_t> holder;  // the holding thread's id while held, else 0
};

enum class Locked { Yes, OwnerDied, TimedOut, Damaged };

// The end of a wait on the monotonic clock; INFINITE never ends.
struct Deadline {
    explicit Deadline(DWORD ms);
    int64_t Left() const;  // nanoseconds
    bool Passed() const { return Left() <= 0; }
    bool infinite;
    int64_t at;
};

int64_t MonotonicNs();

// The calling thread's id; a kernel thread id, unique within its PID
// namespace.
int32_t ThreadId();

// Makes a new lock. shared: other processes use it too.
void InitLock(SharedLock& lock, bool shared);
// Whether the mutex is of the type InitLock makes.
bool LockSound(const SharedLock& lock, bool shared);
// Takes the lock: at once when it is free, else waiting until the
// deadline. With OwnerDied the lock is taken and made consistent again;
// the caller repairs what the holder left half-done. spin: tries a few
// times before sleeping, for locks held only for a few instructions.
// damaged, where given, keeps the word of a lock found damaged, so that
// the next call finds it so at once while the word stays as it was.
Locked Lock(SharedLock& lock, bool shared, const Deadline& deadline, bool spin = false,
            std::atomic<uint32_t>* damaged = nullptr);
void Unlock(SharedLock& lock);
// Whether the lock's word names the calling thread (ids of other PID
// namespaces may be equal to the caller's: callers that care check more).
bool WordNamesCaller(const SharedLock& lock);
// Whether the lock's word names a live thread of the calling process (or
// a thread of another PID namespace with an id equal to one of ours: the
// answer errs towards yes).
bool HeldInProcess(const SharedLock& lock);
// Ends a lock that nobody holds.
void EndLock(SharedLock& lock);

}  // namespace platform::sync
