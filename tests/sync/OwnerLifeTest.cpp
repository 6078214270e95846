// Owners and waiters that are alive although they look otherwise: a process
// whose main thread has ended while another thread works on, and a process
// of another PID namespace, whose pid means nothing here.
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "sync/CResources.h"
#include "sync/SyncTest.h"

namespace {

using OwnerLifeTest = NamespaceTest;

constexpr int kNoNamespace = 77;  // exit code: this system gives no PID namespace

enum class Host { MainThreadEnded, OtherPidNamespace };

const char* Describe(Host host) {
    return host == Host::MainThreadEnded ? "main thread ended" : "another PID namespace";
}

// Makes the calling process's next child the first process of a PID
// namespace of its own, with mounts of its own.
bool NewPidNamespace() {
    return ::unshare(CLONE_NEWPID | CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// A process running body (which never returns) the way host says: on a
// thread of a process whose main thread then ends, leaving a zombie leader
// behind, or as the first process of a new PID namespace (pid 1 there).
// The main thread ends by the system call itself: pthread_exit's unwinding
// would meet the test framework's handlers.
std::unique_ptr<Child> RunIn(Host host, std::function<void()> body) {
    if (host == Host::MainThreadEnded)
        return std::make_unique<Child>([body] {
            std::thread(body).detach();
            ::syscall(SYS_exit, 0);
            return 0;
        });
    return std::make_unique<Child>([body] {
        if (!NewPidNamespace()) return kNoNamespace;
        Child first([body] {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            // As in a container: /proc shows the namespace's own processes.
            if (::mount("proc", "/proc", "proc", 0, nullptr) != 0) return kNoNamespace;
            body();
            return 0;
        });
        return first.Wait(600000);
    });
}

// The state letter of a process in /proc/PID/stat.
char State(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() ? text[close + 2] : '?';
}

// Waits until the process is where the case wants it. False when it is not:
// a failure, or a system that cannot make the case (said, and skipped).
bool Settled(Host host, Child& child, const Pipe& ready) {
    if (!ready.Await()) {
        if (child.Wait(1000) != kNoNamespace) {
            ADD_FAILURE() << "the process did not get ready";
            return false;
        }
        std::printf("skipped: unshare(CLONE_NEWPID) and a /proc of its own are not permitted here\n");
        return false;
    }
    for (int ms = 0; host == Host::MainThreadEnded && State(child.Pid()) != 'Z'; ++ms, ::usleep(1000))
        if (ms == 5000) {
            ADD_FAILURE() << "the main thread did not end";
            return false;
        }
    return true;
}

// A second process's view of a mutex that a live thread elsewhere owns: the
// same object, not its own to take or release. 0 when so.
int SecondComerFindsItOwned(const char* name) {
    HANDLE m = CreateMutexA(nullptr, FALSE, name);
    if (!m) return 2;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return 3;  // a fresh object under the owner's name
    if (WaitForSingleObject(m, 0) != WAIT_TIMEOUT) return 4;
    if (ReleaseMutex(m) || GetLastError() != ERROR_NOT_OWNER) return 5;
    CloseHandle(m);
    return 0;
}

TEST_F(OwnerLifeTest, ALiveOwnerKeepsItsMutex) {
    for (Host host : {Host::MainThreadEnded, Host::OtherPidNamespace}) {
        SCOPED_TRACE(Describe(host));
        Pipe owns;
        auto owner = RunIn(host, [&owns] {
            HANDLE m = CreateMutexA(nullptr, FALSE, "held");
            if (WaitForSingleObject(m, INFINITE) == WAIT_OBJECT_0) owns.Signal();
            for (;;) ::pause();
        });
        if (!Settled(host, *owner, owns)) continue;
        Child other([] { return SecondComerFindsItOwned("held"); });
        EXPECT_EQ(other.Wait(), 0);
        EXPECT_EQ(SecondComerFindsItOwned("held"), 0);
        PlatformSweepNamespace();
        HANDLE mine = CreateMutexA(nullptr, FALSE, "held");
        EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
        EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_TIMEOUT);
        // Its end is the kernel's to report.
        owner->Kill();
        EXPECT_EQ(WaitForSingleObject(mine, 5000), WAIT_ABANDONED);
        EXPECT_TRUE(ReleaseMutex(mine));
        CloseHandle(mine);
    }
}

TEST_F(OwnerLifeTest, ALiveWaiterGetsTheSignal) {
    for (Host host : {Host::MainThreadEnded, Host::OtherPidNamespace}) {
        SCOPED_TRACE(Describe(host));
        Pipe waits, released;
        auto waiter = RunIn(host, [&waits, &released] {
            HANDLE e = CreateEventA(nullptr, FALSE, FALSE, "signal");
            waits.Signal();
            if (WaitForSingleObject(e, 20000) == WAIT_OBJECT_0) released.Signal();
            for (;;) ::pause();
        });
        if (!Settled(host, *waiter, waits)) continue;
        ASSERT_TRUE(AwaitWaiters(1));
        PlatformSweepNamespace();
        CResources resources;
        EXPECT_EQ(resources.HandleEvent("signal", true), 1);  // what `cbasis event set` does
        EXPECT_TRUE(released.Await(5000));
        EXPECT_TRUE(AwaitWaiters(0));
    }
}

// Two processes that are each the first of a PID namespace of their own
// have the same thread id (1); a thread id alone does not tell the owner.
TEST_F(OwnerLifeTest, EqualThreadIdsOfTwoPidNamespacesAreTwoThreads) {
    Pipe owns;
    auto owner = RunIn(Host::OtherPidNamespace, [&owns] {
        HANDLE m = CreateMutexA(nullptr, TRUE, "held");
        if (m && ::gettid() == 1) owns.Signal();
        for (;;) ::pause();
    });
    if (!Settled(Host::OtherPidNamespace, *owner, owns)) return;
    Child second([] {
        if (!NewPidNamespace()) return kNoNamespace;
        Child first([] {
            if (::mount("proc", "/proc", "proc", 0, nullptr) != 0) return kNoNamespace;
            return ::gettid() == 1 ? SecondComerFindsItOwned("held") : 9;
        });
        return first.Wait();
    });
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_EQ(SecondComerFindsItOwned("held"), 0);
}

}  // namespace
