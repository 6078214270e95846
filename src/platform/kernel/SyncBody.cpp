// Event and mutex bodies: the waits, signals and releases of one object.
//
// Event rules (as the original platform's):
//   - auto-reset: each signal releases exactly one waiter; with nobody
//     waiting it leaves the event signalled until one wait takes it;
//   - manual-reset: a signal releases every waiter and the event stays set;
//   - PulseEvent releases what a signal would release, then resets.
// A signal given while threads wait is handed out at once: to one waiter as
// a grant (auto-reset) or to all of them through the pulse count
// (manual-reset), so a Reset right after a Set takes nothing back.
#include "platform/kernel/SyncBody.h"

#include <cerrno>
#include <climits>
#include <new>
#include <ctime>
#include <linux/futex.h>
#include <pthread.h>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Sync.h"
#include "platform/kernel/SyscallTable.h"


namespace platform::sync {

namespace {

struct Body {
    pthread_mutex_t lock;       // mutex: the mutex itself; event: guards the fields below
    std::atomic<uint32_t> seq;  // futex word; bumped whenever waiters are released
    uint32_t kind;
    uint32_t manual;
    uint32_t shared;
    uint32_t signalled;
    uint32_t waiters;           // threads of every process inside a wait
    uint32_t grants;            // auto-reset: signals handed to waiters, not yet taken
    uint32_t pulses;            // manual-reset: bumped by every Set or Pulse that released waiters
    uint32_t depth;             // mutex: the owner's recursion depth; touched by the owner only
};
static_assert(sizeof(Body) <= sizeof(BodyStorage) && alignof(Body) <= alignof(BodyStorage));
static_assert(std::atomic<uint32_t>::is_always_lock_free && sizeof(std::atomic<uint32_t>) == 4);

Body& Of(BodyStorage& storage) { return *reinterpret_cast<Body*>(storage.bytes); }

int64_t NowNs(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

timespec ToTimespec(int64_t ns) { return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)}; }

// The end of a wait on the monotonic clock; INFINITE never ends.
struct Deadline {
    explicit Deadline(DWORD ms) : infinite(ms == INFINITE), at(NowNs(CLOCK_MONOTONIC) + int64_t(ms) * 1000000) {}
    int64_t Left() const { return infinite ? INT64_MAX : at - NowNs(CLOCK_MONOTONIC); }
    bool Passed() const { return Left() <= 0; }
    bool infinite;
    int64_t at;
};

// Watches word for up to 4 microseconds while it holds expected. A partner
// running on another processor often answers within that time, and then
// neither side pays for a sleep and a wake-up in the kernel (several
// microseconds each). Nothing is gained on a single processor.
bool SpinWhile(std::atomic<uint32_t>& word, uint32_t expected) {
    static const bool worthIt = ::sysconf(_SC_NPROCESSORS_ONLN) > 1;
    if (!worthIt) return true;
    int64_t until = NowNs(CLOCK_MONOTONIC) + 4000;
    while (word.load() == expected) {
        if (NowNs(CLOCK_MONOTONIC) >= until) return true;
        for (int i = 0; i < 16; ++i) __builtin_ia32_pause();
    }
    return false;
}

// Sleeps while word holds expected, until woken or the deadline passes.
void FutexWait(std::atomic<uint32_t>& word, uint32_t expected, const Deadline& deadline, bool shared) {
    if (!SpinWhile(word, expected)) return;
    int op = shared ? 0 : FUTEX_PRIVATE_FLAG;
    uint32_t* address = reinterpret_cast<uint32_t*>(&word);
    if (deadline.infinite) {
        platform::sys::Futex(address, op | FUTEX_WAIT, expected, nullptr, nullptr, 0);
        return;
    }
    timespec at = ToTimespec(deadline.at);  // absolute, on the monotonic clock
    platform::sys::Futex(address, op | FUTEX_WAIT_BITSET, expected, &at, nullptr, FUTEX_BITSET_MATCH_ANY);
}

void FutexWake(std::atomic<uint32_t>& word, int count, bool shared) {
    int op = (shared ? 0 : FUTEX_PRIVATE_FLAG) | FUTEX_WAKE;
    platform::sys::Futex(reinterpret_cast<uint32_t*>(&word), op, static_cast<uint32_t>(count), nullptr, nullptr, 0);
}

// The calling thread's id (a kernel thread id, unique across processes).
thread_local int32_t t_tid = 0;

[[maybe_unused]] const bool g_tidAtFork = [] {
    pthread_atfork(nullptr, nullptr, [] { t_tid = 0; });  // the child's thread has a new id
    return true;
}();

int32_t Me() {
    if (t_tid == 0) t_tid = static_cast<int32_t>(::gettid());
    return t_tid;
}

// Whether the calling thread owns the mutex. A robust mutex's futex word
// holds its owner's thread id in the low bits (the kernel's robust-futex
// format; the kernel clears the id when the owner dies), so no unlock is
// ever tried by a thread that does not own the mutex.
bool OwnedByCaller(Body& b) {
    return static_cast<int32_t>(__atomic_load_n(&b.lock.__data.__lock, __ATOMIC_RELAXED) & FUTEX_TID_MASK) == Me();
}

BOOL Fail(DWORD code) {
    SetLastError(code);
    return FALSE;
}

// Locks an event's state. The lock is held for a few instructions, so a
// short spin first spares the sleep and wake-up in the kernel that a
// blocked lock costs (in a ping-pong the other side is often just
// registering as a waiter). A holder that died inside an operation left at
// most one count half-updated; the counts are brought back in line.
bool LockEvent(Body& b) {
    int r = pthread_mutex_trylock(&b.lock);
    for (int spin = 0; r == EBUSY && spin < 100; ++spin) {
        __builtin_ia32_pause();
        r = pthread_mutex_trylock(&b.lock);
    }
    if (r == EBUSY) r = pthread_mutex_lock(&b.lock);
    if (r == EOWNERDEAD) {
        pthread_mutex_consistent(&b.lock);
        if (b.grants > b.waiters) b.grants = b.waiters;
        return true;
    }
    return r == 0;
}

void UnlockEvent(Body& b) { pthread_mutex_unlock(&b.lock); }

// Takes what releases a waiter: a grant or the signalled state (which an
// auto-reset event gives up).
bool TakeSignal(Body& b) {
    if (b.manual) return b.signalled;
    if (b.grants > 0) {
        --b.grants;
        return true;
    }
    if (!b.signalled) return false;
    b.signalled = 0;
    return true;
}

// Releases what a signal releases; returns how many sleepers to wake.
int Release(Body& b) {
    if (b.manual) {
        if (b.waiters == 0) return 0;
        ++b.pulses;
        b.seq.fetch_add(1);
        return INT_MAX;
    }
    if (b.waiters <= b.grants) return 0;
    ++b.grants;
    b.seq.fetch_add(1);
    return 1;
}

DWORD WaitEvent(Body& b, DWORD ms, std::atomic<uint32_t>& waiting) {
    Deadline deadline(ms);
    if (!LockEvent(b)) return SetLastError(ERROR_GEN_FAILURE), WAIT_FAILED;
    DWORD result = WAIT_TIMEOUT;
    if (TakeSignal(b)) {
        result = WAIT_OBJECT_0;
    } else if (ms != 0) {
        ++b.waiters;
        waiting.fetch_add(1);
        uint32_t pulses = b.pulses;
        for (;;) {
            uint32_t seq = b.seq.load();
            UnlockEvent(b);
            FutexWait(b.seq, seq, deadline, b.shared);
            if (!LockEvent(b)) return SetLastError(ERROR_GEN_FAILURE), WAIT_FAILED;
            if (b.pulses != pulses || TakeSignal(b)) {
                result = WAIT_OBJECT_0;
                break;
            }
            if (deadline.Passed()) break;
        }
        --b.waiters;
        waiting.fetch_sub(1);
    }
    UnlockEvent(b);
    return result;
}

// A lock with a time limit. pthread_mutex_timedlock measures on the
// real-time clock; the wait is renewed while the monotonic deadline has not
// passed, so a clock set forward does not cut it short.
int TimedLock(pthread_mutex_t* m, DWORD ms) {
    if (ms == INFINITE) return pthread_mutex_lock(m);
    Deadline deadline(ms);
    int r = pthread_mutex_trylock(m);
    while (r == EBUSY && !deadline.Passed()) {
#if defined(__SANITIZE_THREAD__)
        // ThreadSanitizer's timedlock interceptor does not take an abandoned
        // mutex for an acquired one (its lock and trylock ones do), so its
        // builds poll.
        Sleep(1);
        r = pthread_mutex_trylock(m);
#else
        timespec at = ToTimespec(NowNs(CLOCK_REALTIME) + deadline.Left());
        r = pthread_mutex_timedlock(m, &at);
        if (r == ETIMEDOUT) r = EBUSY;
#endif
    }
    return r;
}

DWORD WaitMutex(Body& b, DWORD ms) {
    bool again = OwnedByCaller(b);
    int r = ms == 0 ? pthread_mutex_trylock(&b.lock) : TimedLock(&b.lock, ms);
    switch (r) {
    case 0:
        b.depth = again ? b.depth + 1 : 1;
        return WAIT_OBJECT_0;
    case EOWNERDEAD:
        pthread_mutex_consistent(&b.lock);
        b.depth = 1;  // the dead owner's levels went with it
        return WAIT_ABANDONED;
    case EBUSY:
    case ETIMEDOUT: return WAIT_TIMEOUT;
    default:  // EAGAIN (recursion limit), ENOTRECOVERABLE
        SetLastError(ERROR_GEN_FAILURE);
        return WAIT_FAILED;
    }
}

}  // namespace

void InitBody(BodyStorage& storage, Kind kind, bool manualReset, bool initialState, bool shared) {
    Body& b = *new (storage.bytes) Body{};
    b.kind = static_cast<uint32_t>(kind);
    b.manual = manualReset;
    b.shared = shared;
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
    if (shared) pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
    if (kind == Kind::Mutex) pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&b.lock, &attr);
    pthread_mutexattr_destroy(&attr);
    if (kind == Kind::Mutex && initialState && pthread_mutex_trylock(&b.lock) == 0) b.depth = 1;  // fresh: succeeds
    if (kind == Kind::Event) b.signalled = initialState;
}

bool EndBody(BodyStorage& storage) {
    Body& b = Of(storage);
    if (b.kind == static_cast<uint32_t>(Kind::Mutex) && OwnedByCaller(b)) {
        for (; b.depth > 0; --b.depth) pthread_mutex_unlock(&b.lock);  // owned by the caller: let go
    } else {
        int r = pthread_mutex_trylock(&b.lock);
        if (r == EBUSY) return false;
        if (r == EOWNERDEAD) pthread_mutex_consistent(&b.lock);
        if (r == 0 || r == EOWNERDEAD) pthread_mutex_unlock(&b.lock);
    }
    pthread_mutex_destroy(&b.lock);
    b.~Body();
    return true;
}

DWORD WaitBody(BodyStorage& storage, DWORD ms, std::atomic<uint32_t>& waiting) {
    Body& b = Of(storage);
    return b.kind == static_cast<uint32_t>(Kind::Mutex) ? WaitMutex(b, ms) : WaitEvent(b, ms, waiting);
}

namespace {

// Releases what a signal releases; then a set event is left signalled
// (auto-reset: only when nobody took the signal), a pulsed one cleared.
BOOL Signal(BodyStorage& storage, bool pulse) {
    Body& b = Of(storage);
    if (!LockEvent(b)) return Fail(ERROR_GEN_FAILURE);
    int wake = Release(b);
    if (pulse)
        b.signalled = 0;
    else if (wake == 0 || b.manual)
        b.signalled = 1;
    UnlockEvent(b);
    if (wake) FutexWake(b.seq, wake, b.shared);
    return TRUE;
}

}  // namespace

BOOL SetBody(BodyStorage& storage) { return Signal(storage, false); }

BOOL PulseBody(BodyStorage& storage) { return Signal(storage, true); }

BOOL ResetBody(BodyStorage& storage) {
    Body& b = Of(storage);
    if (!LockEvent(b)) return Fail(ERROR_GEN_FAILURE);
    b.signalled = 0;
    UnlockEvent(b);
    return TRUE;
}

BOOL ReleaseBody(BodyStorage& storage) {
    Body& b = Of(storage);
    if (!OwnedByCaller(b)) return Fail(ERROR_NOT_OWNER);
    --b.depth;
    int r = pthread_mutex_unlock(&b.lock);
    return r == 0 ? TRUE : Fail(ERROR_GEN_FAILURE);
}

void ForgetWaiters(BodyStorage& storage, uint32_t count) {
    Body& b = Of(storage);
    if (count == 0 || !LockEvent(b)) return;
    b.waiters -= count < b.waiters ? count : b.waiters;
    if (b.grants > b.waiters) {
        // Signals handed to the dead: one stays for the next waiter.
        b.grants = b.waiters;
        if (!b.manual) b.signalled = 1;
    }
    UnlockEvent(b);
}

}  // namespace platform::sync
