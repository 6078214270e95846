// ---- The system-call wrappers and their failure plans ---------------------
//
// Each wrapper asks the plan of its kind first, then makes the call. A plan
// is per kind and process-wide; tests set and clear them from one thread.
#include "platform/kernel/SyscallTable.h"

#include <atomic>
#include <mutex>

namespace {

struct Plan {
    int countdown = 0;  // calls left before the failing one; 0 = no plan
    int err = 0;
    bool repeat = false;
    bool failing = false;
};

std::mutex g_lock;
Plan g_plans[static_cast<int>(Syscall::Count)];
std::atomic<bool> g_anyPlan{false};
std::atomic<bool> g_failed{false};

constexpr const char* kNames[] = {
#define SYSCALL(kind, ...) #kind,
#define FAULT_POINT(kind) #kind,
#include "platform/kernel/SyscallList.inc"
#undef SYSCALL
#undef FAULT_POINT
};

// A descriptor or directory stream is released whatever the plan says, as
// the kernel releases it when close fails.
int ReleaseAndFail(int fd) {
    int err = errno;
    ::close(fd);
    errno = err;
    return -1;
}

int ReleaseAndFail(DIR* dir) {
    int err = errno;
    ::closedir(dir);
    errno = err;
    return -1;
}

}  // namespace

void PlatformFailSyscall(Syscall kind, int nth, int err, bool bRepeat) {
    std::lock_guard<std::mutex> guard(g_lock);
    Plan& plan = g_plans[static_cast<int>(kind)];
    plan = Plan{nth > 0 ? nth : 1, err, bRepeat, false};
    g_anyPlan = true;
}

void PlatformResetSyscalls() {
    std::lock_guard<std::mutex> guard(g_lock);
    for (Plan& plan : g_plans) plan = Plan{};
    g_anyPlan = false;
    g_failed = false;
}

bool PlatformSyscallFailed() { return g_failed; }

const char* PlatformSyscallName(Syscall kind) {
    int index = static_cast<int>(kind);
    return index >= 0 && index < static_cast<int>(Syscall::Count) ? kNames[index] : "?";
}

namespace platform::sys {

bool Fails(Syscall kind) {
    if (!g_anyPlan.load(std::memory_order_relaxed)) return false;
    std::lock_guard<std::mutex> guard(g_lock);
    Plan& plan = g_plans[static_cast<int>(kind)];
    if (!plan.failing) {
        if (plan.countdown == 0 || --plan.countdown > 0) return false;
        plan.failing = plan.repeat;
    }
    errno = plan.err;
    g_failed = true;
    return true;
}

#define SYSCALL(kind, function, result, parameters, arguments, failure) \
    result kind parameters {                                            \
        if (Fails(Syscall::kind)) return failure;                       \
        return ::function arguments;                                    \
    }
#define FAULT_POINT(kind)
#include "platform/kernel/SyscallList.inc"
#undef SYSCALL
#undef FAULT_POINT

}  // namespace platform::sys
