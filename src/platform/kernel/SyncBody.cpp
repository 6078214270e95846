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

#include <linux/futex.h>

#include <climits>
#include <ctime>
#include <new>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Random.h"
#include "platform/kernel/Sync.h"
#include "platform/kernel/SyncLock.h"
#include "platform/kernel/SyscallTable.h"

namespace platform::sync {

namespace {

struct Body {
    SharedLock lock;            // mutex: the mutex itself; event: guards the fields below
    std::atomic<uint32_t> seq;  // futex word; bumped whenever waiters are released
    uint32_t kind;
    uint32_t manual;
    uint32_t shared;
    uint32_t signalled;
    uint32_t waiters;           // threads of every process inside a wait
    uint32_t grants;            // auto-reset: signals handed to waiters, not yet taken
    uint32_t pulses;            // manual-reset: bumped by every Set or Pulse that released waiters
    uint32_t depth;             // mutex: the owner's recursion depth; touched by the owner only
    uint64_t owner;             // mutex: the owning thread's token while owned, else 0
};
static_assert(sizeof(Body) <= sizeof(BodyStorage) && alignof(Body) <= alignof(BodyStorage));
static_assert(std::atomic<uint32_t>::is_always_lock_free && sizeof(std::atomic<uint32_t>) == 4);

Body& Of(BodyStorage& storage) { return *reinterpret_cast<Body*>(storage.bytes); }

bool Sound(const Body& b, Kind kind) {
    return b.kind == static_cast<uint32_t>(kind) && b.manual <= 1 && b.shared <= 1 && LockSound(b.lock, b.shared);
}

// The body behind storage when it is sound and of that kind, else null
// with the last error set.
Body* Usable(BodyStorage& storage, Kind kind) {
    Body& b = Of(storage);
    if (Sound(b, kind)) return &b;
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
}

timespec ToTimespec(int64_t ns) {
    return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

// Watches word for up to 4 microseconds while it holds expected. A partner
// running on another processor often answers within that time, and then
// neither side pays for a sleep and a wake-up in the kernel (several
// microseconds each). Nothing is gained on a single processor.
bool SpinWhile(std::atomic<uint32_t>& word, uint32_t expected) {
    static const bool worthIt = ::sysconf(_SC_NPROCESSORS_ONLN) > 1;
    if (!worthIt) return true;
    int64_t until = MonotonicNs() + 4000;
    while (word.load() == expected) {
        if (MonotonicNs() >= until) return true;
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

// The calling thread's token: random, so no other thread of any process
// has it. The child of a fork draws its own.
thread_local uint64_t t_token = 0;

[[maybe_unused]] const bool g_tokenAtFork = [] {
    AtFork([] { t_token = 0; });
    return true;
}();

uint64_t Token() {
    while (t_token == 0)
        if (!FillRandom(&t_token, sizeof t_token))
            t_token = (uint64_t(uint32_t(ThreadId())) << 32) ^ uint64_t(MonotonicNs());
    return t_token;
}

// Whether the calling thread owns the mutex: the lock's word names a thread
// of its id (the kernel clears the id when the owner dies) and the owner's
// token is the caller's, so no unlock is ever tried by a thread that does
// not own the mutex.
bool OwnedByCaller(const Body& b) {
    return WordNamesCaller(b.lock) && __atomic_load_n(&b.owner, __ATOMIC_RELAXED) == Token();
}

void TakeOwnership(Body& b) {
    __atomic_store_n(&b.owner, Token(), __ATOMIC_RELAXED);
    b.depth = 1;
}

BOOL Fail(DWORD code) {
    SetLastError(code);
    return FALSE;
}

// Locks an event's state, held for a few instructions (so the lock spins a
// little before it sleeps: in a ping-pong the other side is often just
// registering as a waiter). A holder that died inside an operation left at
// most one count half-updated; the counts are brought back in line. False
// with the last error set when the lock is damaged.
bool LockEvent(Body& b) {
    Locked r = Lock(b.lock, b.shared, Deadline(INFINITE), true);
    if (r == Locked::OwnerDied && b.grants > b.waiters) b.grants = b.waiters;
    if (r == Locked::Yes || r == Locked::OwnerDied) return true;
    SetLastError(ERROR_INVALID_DATA);
    return false;
}

void UnlockEvent(Body& b) { Unlock(b.lock); }

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
    if (!LockEvent(b)) return WAIT_FAILED;
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
            if (!LockEvent(b)) {
                waiting.fetch_sub(1);
                return WAIT_FAILED;
            }
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

DWORD WaitMutex(Body& b, DWORD ms) {
    if (OwnedByCaller(b)) {
        if (b.depth == UINT32_MAX) return SetLastError(ERROR_GEN_FAILURE), WAIT_FAILED;
        ++b.depth;
        return WAIT_OBJECT_0;
    }
    switch (Lock(b.lock, b.shared, Deadline(ms))) {
    case Locked::Yes: TakeOwnership(b); return WAIT_OBJECT_0;
    case Locked::OwnerDied:
        TakeOwnership(b);  // the dead owner's levels went with it
        return WAIT_ABANDONED;
    case Locked::TimedOut: return WAIT_TIMEOUT;
    case Locked::Damaged: break;
    }
    SetLastError(ERROR_INVALID_DATA);
    return WAIT_FAILED;
}

}  // namespace

void InitBody(BodyStorage& storage, Kind kind, bool manualReset, bool initialState, bool shared) {
    Body& b = *new (storage.bytes) Body{};
    b.kind = static_cast<uint32_t>(kind);
    b.manual = manualReset;
    b.shared = shared;
    InitLock(b.lock, shared);
    if (kind == Kind::Mutex && initialState && Lock(b.lock, shared, Deadline(0)) == Locked::Yes) TakeOwnership(b);
    if (kind == Kind::Event) b.signalled = initialState;
}

bool BodySound(const BodyStorage& storage, Kind kind, bool shared) {
    const Body& b = *reinterpret_cast<const Body*>(storage.bytes);
    return Sound(b, kind) && b.shared == shared;
}

bool EndBody(BodyStorage& storage) {
    Body& b = Of(storage);
    if (!Sound(b, b.kind == static_cast<uint32_t>(Kind::Mutex) ? Kind::Mutex : Kind::Event)) return false;
    if (b.kind == static_cast<uint32_t>(Kind::Mutex) && OwnedByCaller(b)) {
        __atomic_store_n(&b.owner, uint64_t(0), __ATOMIC_RELAXED);  // owned by the caller: let go
        Unlock(b.lock);
    } else {
        Locked r = Lock(b.lock, b.shared, Deadline(0));
        if (r != Locked::Yes && r != Locked::OwnerDied) return false;
        Unlock(b.lock);
    }
    EndLock(b.lock);
    b.~Body();
    return true;
}

bool HeldInProcess(const BodyStorage& storage) {
    const Body& b = *reinterpret_cast<const Body*>(storage.bytes);
    if (!Sound(b, Kind::Mutex)) return false;
    return HeldInProcess(b.lock);
}

DWORD WaitBody(BodyStorage& storage, Kind kind, DWORD ms, std::atomic<uint32_t>& waiting) {
    Body* b = Usable(storage, kind);
    if (!b) return WAIT_FAILED;
    return kind == Kind::Mutex ? WaitMutex(*b, ms) : WaitEvent(*b, ms, waiting);
}

namespace {

// Releases what a signal releases; then a set event is left signalled
// (auto-reset: only when nobody took the signal), a pulsed one cleared.
BOOL Signal(BodyStorage& storage, bool pulse) {
    Body* b = Usable(storage, Kind::Event);
    if (!b || !LockEvent(*b)) return FALSE;
    int wake = Release(*b);
    if (pulse)
        b->signalled = 0;
    else if (wake == 0 || b->manual)
        b->signalled = 1;
    UnlockEvent(*b);
    if (wake) FutexWake(b->seq, wake, b->shared);
    return TRUE;
}

}  // namespace

BOOL SetBody(BodyStorage& storage) { return Signal(storage, false); }

BOOL PulseBody(BodyStorage& storage) { return Signal(storage, true); }

BOOL ResetBody(BodyStorage& storage) {
    Body* b = Usable(storage, Kind::Event);
    if (!b || !LockEvent(*b)) return FALSE;
    b->signalled = 0;
    UnlockEvent(*b);
    return TRUE;
}

BOOL ReleaseBody(BodyStorage& storage) {
    Body* b = Usable(storage, Kind::Mutex);
    if (!b) return FALSE;
    if (!OwnedByCaller(*b)) return Fail(ERROR_NOT_OWNER);
    if (--b->depth == 0) {
        __atomic_store_n(&b->owner, uint64_t(0), __ATOMIC_RELAXED);
        Unlock(b->lock);
    }
    return TRUE;
}

void ForgetWaiters(BodyStorage& storage, uint32_t count) {
    Body* b = &Of(storage);
    if (count == 0 || !Sound(*b, Kind::Event) || !LockEvent(*b)) return;
    b->waiters -= count < b->waiters ? count : b->waiters;
    if (b->grants > b->waiters) {
        // Signals handed to the dead: one stays for the next waiter.
        b->grants = b->waiters;
        if (!b->manual) b->signalled = 1;
    }
    UnlockEvent(*b);
}

}  // namespace platform::sync
