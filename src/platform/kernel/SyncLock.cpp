// Robust shared locks that say when they have been damaged.
#include "platform/kernel/SyncLock.h"

#include <linux/futex.h>

#include <cerrno>
#include <ctime>
#include <unistd.h>

#include "platform/kernel/Random.h"
#include "platform/kernel/Sync.h"
#include "platform/kernel/SyscallTable.h"

namespace platform::sync {

namespace {

constexpr int64_t kMs = 1000000;
// How long a lock's word may name a thread that is not on record as its
// holder. The holder records itself a few instructions after taking the
// lock, so only a holder stopped in between for this long is mistaken.
constexpr int64_t kDamagedAfter = 1000 * kMs;

int64_t NowNs(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// The mutex type word pthread_mutex_init writes for the attributes InitLock
// uses, read from a lock made for the purpose.
int ExpectedType(bool shared) {
    static const int types[2] = {[] {
                                     SharedLock probe{};
                                     InitLock(probe, false);
                                     return probe.mutex.__data.__kind;
                                 }(),
                                 [] {
                                     SharedLock probe{};
                                     InitLock(probe, true);
                                     return probe.mutex.__data.__kind;
                                 }()};
    return types[shared];
}

uint32_t Word(const SharedLock& lock) {
    return __atomic_load_n(&lock.mutex.__data.__lock, __ATOMIC_RELAXED) & FUTEX_TID_MASK;
}

// One bounded sleep on a busy lock; the lock's result, EBUSY when the time
// ran out. pthread_mutex_timedlock measures on the real-time clock; the
// caller renews short sleeps against its monotonic deadline, so a clock set
// forward does not cut a wait short.
int WaitSlice(pthread_mutex_t* mutex, int64_t ns) {
#if defined(__SANITIZE_THREAD__)
    // ThreadSanitizer's timedlock interceptor does not take an abandoned
    // mutex for an acquired one (its lock and trylock ones do), so its
    // builds poll.
    Sleep(ns >= kMs ? 1 : 0);
    return pthread_mutex_trylock(mutex);
#else
    int64_t at = NowNs(CLOCK_REALTIME) + ns;
    timespec ts{static_cast<time_t>(at / 1000000000), static_cast<long>(at % 1000000000)};
    int r = pthread_mutex_timedlock(mutex, &ts);
    return r == ETIMEDOUT ? EBUSY : r;
#endif
}

thread_local int32_t t_tid = 0;

[[maybe_unused]] const bool g_tidAtFork = [] {
    AtFork([] { t_tid = 0; });  // the child's thread has an id of its own
    return true;
}();

}  // namespace

int64_t MonotonicNs() { return NowNs(CLOCK_MONOTONIC); }

Deadline::Deadline(DWORD ms) : infinite(ms == INFINITE), at(MonotonicNs() + int64_t(ms) * kMs) {}

int64_t Deadline::Left() const { return infinite ? INT64_MAX : at - MonotonicNs(); }

int32_t ThreadId() {
    if (t_tid == 0) t_tid = static_cast<int32_t>(::gettid());
    return t_tid;
}

void InitLock(SharedLock& lock, bool shared) {
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
    if (shared) pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
    pthread_mutex_init(&lock.mutex, &attr);
    pthread_mutexattr_destroy(&attr);
    lock.holder.store(0);
}

bool LockSound(const SharedLock& lock, bool shared) {
    return __atomic_load_n(&lock.mutex.__data.__kind, __ATOMIC_RELAXED) == ExpectedType(shared);
}

Locked Lock(SharedLock& lock, bool shared, const Deadline& deadline, bool spin, std::atomic<uint32_t>* damaged) {
    if (!LockSound(lock, shared)) return Locked::Damaged;
    int r = pthread_mutex_trylock(&lock.mutex);
    if (r == EBUSY && damaged && *damaged != 0 && Word(lock) == *damaged &&
        static_cast<int32_t>(*damaged) != lock.holder.load())
        return Locked::Damaged;
    for (int i = 0; spin && r == EBUSY && i < 100; ++i) {
        __builtin_ia32_pause();
        r = pthread_mutex_trylock(&lock.mutex);
    }
    uint32_t suspect = 0;
    int64_t since = 0;
    while (r == EBUSY) {
        int64_t left = deadline.Left();
        if (left <= 0) return Locked::TimedOut;
        uint32_t word = Word(lock);
        if (word != 0 && static_cast<int32_t>(word) != lock.holder.load()) {
            int64_t now = MonotonicNs();
            if (word != suspect) {
                suspect = word;
                since = now;
            } else if (now - since >= kDamagedAfter) {
                if (damaged) *damaged = word;
                return Locked::Damaged;
            }
        } else {
            suspect = 0;
        }
        // Short sleeps while the holder is not on record, so a damaged
        // word is told within about a second; long ones otherwise.
        int64_t slice = suspect ? 100 * kMs : 1000 * kMs;
        r = WaitSlice(&lock.mutex, left < slice ? left : slice);
    }
    switch (r) {
    case 0: lock.holder.store(ThreadId()); return Locked::Yes;
    case EOWNERDEAD:
        pthread_mutex_consistent(&lock.mutex);
        lock.holder.store(ThreadId());
        return Locked::OwnerDied;
    default:  // ENOTRECOVERABLE: left inconsistent, which this code never does
        return Locked::Damaged;
    }
}

void Unlock(SharedLock& lock) {
    lock.holder.store(0);
    pthread_mutex_unlock(&lock.mutex);
}

bool WordNamesCaller(const SharedLock& lock) { return static_cast<int32_t>(Word(lock)) == ThreadId(); }

bool HeldInProcess(const SharedLock& lock) {
    const auto tid = static_cast<pid_t>(Word(lock));
    return tid != 0 && platform::sys::Tgkill(::getpid(), tid, 0) == 0;
}

void EndLock(SharedLock& lock) { pthread_mutex_destroy(&lock.mutex); }

}  // namespace platform::sync
