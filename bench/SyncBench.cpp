// Named events and mutexes.
//
// Cross-process wake-up: a ping-pong between this process and a forked one,
// each side waking the other in turn, through two named auto-reset events,
// against the same ping-pong on two raw futex words in shared memory and on
// two POSIX named semaphores. The "one-way" counter is the time of one wake
// (half a round trip). Event waits watch the event for up to 4 us before
// they sleep; the raw futex ping-pong is also run with that same spin, to
// show what the events cost beyond it.
//
// Creating and closing a GUID-named mutex, as every list and log does
// (LinkedListBench has the empty list itself).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <linux/futex.h>
#include <semaphore.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <cstdlib>
#include <string>

#include "containers/CGenerateGuid.h"
#include "platform/kernel/Handles.h"
#include "platform/mfc/SyncObjects.h"

namespace {

// The benchmark's own namespace segment, removed at exit.
struct BenchNamespace {
    BenchNamespace() : name("/cbasis1-bench-" + std::to_string(::getpid())) { PlatformUseNamespace(name.c_str()); }
    ~BenchNamespace() { PlatformRemoveNamespace(name.c_str()); }
    std::string name;
} g_namespace;

std::string Name(const char* what) { return "bench-" + std::to_string(::getpid()) + "-" + what; }

// Flags both sides see: the child stops when stop is set.
struct Shared {
    std::atomic<uint32_t> ping, pong, stop;
};

Shared* MapShared() {
    void* p = ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    return new (p) Shared{};
}

// Runs answer() in a child until stop is set; answer returns false to end.
template <class Answer>
pid_t Partner(Answer answer) {
    pid_t pid = ::fork();
    if (pid == 0) {
        while (answer()) {
        }
        ::_exit(0);
    }
    return pid;
}

void SetOneWay(benchmark::State& state) {
    state.counters["one-way"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 2, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_NamedEventPingPong(benchmark::State& state) {
    std::string pingName = Name("ping"), pongName = Name("pong");
    HANDLE ping = CreateEventA(nullptr, FALSE, FALSE, pingName.c_str());
    HANDLE pong = CreateEventA(nullptr, FALSE, FALSE, pongName.c_str());
    Shared* shared = MapShared();
    pid_t child = Partner([&, opened = false, myPing = HANDLE(), myPong = HANDLE()]() mutable {
        if (!opened) {  // a forked child opens handles of its own
            myPing = CreateEventA(nullptr, FALSE, FALSE, pingName.c_str());
            myPong = CreateEventA(nullptr, FALSE, FALSE, pongName.c_str());
            opened = true;
        }
        WaitForSingleObject(myPing, INFINITE);
        if (shared->stop) return false;
        SetEvent(myPong);
        return true;
    });
    for (auto _ : state) {
        SetEvent(ping);
        WaitForSingleObject(pong, INFINITE);
    }
    shared->stop = 1;
    SetEvent(ping);
    ::waitpid(child, nullptr, 0);
    CloseHandle(ping);
    CloseHandle(pong);
    ::munmap(shared, sizeof(Shared));
    SetOneWay(state);
}
BENCHMARK(BM_NamedEventPingPong)->UseRealTime();

int64_t NowNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

template <bool spin>
void FutexWait(std::atomic<uint32_t>& word) {
    if (spin) {
        for (int64_t until = NowNs() + 4000; word.load() == 0 && NowNs() < until;)
            for (int i = 0; i < 16; ++i) __builtin_ia32_pause();
    }
    while (word.load() == 0) ::syscall(SYS_futex, &word, FUTEX_WAIT, 0, nullptr, nullptr, 0);
    word.store(0);
}

void FutexWake(std::atomic<uint32_t>& word) {
    word.store(1);
    ::syscall(SYS_futex, &word, FUTEX_WAKE, 1, nullptr, nullptr, 0);
}

template <bool spin>
void BM_RawFutexPingPong(benchmark::State& state) {
    Shared* shared = MapShared();
    pid_t child = Partner([shared] {
        FutexWait<spin>(shared->ping);
        if (shared->stop) return false;
        FutexWake(shared->pong);
        return true;
    });
    for (auto _ : state) {
        FutexWake(shared->ping);
        FutexWait<spin>(shared->pong);
    }
    shared->stop = 1;
    FutexWake(shared->ping);
    ::waitpid(child, nullptr, 0);
    ::munmap(shared, sizeof(Shared));
    SetOneWay(state);
}
BENCHMARK(BM_RawFutexPingPong<false>)->Name("BM_RawFutexPingPong")->UseRealTime();
BENCHMARK(BM_RawFutexPingPong<true>)->Name("BM_RawFutexSpinPingPong")->UseRealTime();

void BM_PosixSemaphorePingPong(benchmark::State& state) {
    std::string pingName = "/" + Name("sem-ping"), pongName = "/" + Name("sem-pong");
    sem_t* ping = ::sem_open(pingName.c_str(), O_CREAT | O_EXCL, 0600, 0);
    sem_t* pong = ::sem_open(pongName.c_str(), O_CREAT | O_EXCL, 0600, 0);
    ::sem_unlink(pingName.c_str());
    ::sem_unlink(pongName.c_str());
    Shared* shared = MapShared();
    pid_t child = Partner([=] {
        ::sem_wait(ping);
        if (shared->stop) return false;
        ::sem_post(pong);
        return true;
    });
    for (auto _ : state) {
        ::sem_post(ping);
        ::sem_wait(pong);
    }
    shared->stop = 1;
    ::sem_post(ping);
    ::waitpid(child, nullptr, 0);
    ::sem_close(ping);
    ::sem_close(pong);
    ::munmap(shared, sizeof(Shared));
    SetOneWay(state);
}
BENCHMARK(BM_PosixSemaphorePingPong)->UseRealTime();

void BM_GuidNamedMutexCreateClose(benchmark::State& state) {
    for (auto _ : state) {
        CString name;
        CGenerateGuid make(name);
        CMutex mutex(TRUE, name);
        mutex.Unlock();
    }
}
BENCHMARK(BM_GuidNamedMutexCreateClose);

// The parts of the above: the GUID alone, and the mutex with a name made
// beforehand.
void BM_GuidAlone(benchmark::State& state) {
    for (auto _ : state) {
        CString name;
        CGenerateGuid make(name);
        benchmark::DoNotOptimize(name.GetLength());
    }
}
BENCHMARK(BM_GuidAlone);

void BM_NamedMutexCreateClose(benchmark::State& state) {
    CString name;
    CGenerateGuid make(name);
    for (auto _ : state) {
        CMutex mutex(TRUE, name);
        mutex.Unlock();
    }
}
BENCHMARK(BM_NamedMutexCreateClose);

}  // namespace
