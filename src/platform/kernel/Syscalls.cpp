// Failure plans for the syscall seam. A plan is per kind and process-wide;
// tests set and clear them from one thread.
#include "platform/kernel/Syscalls.h"

#include <atomic>
#include <cerrno>
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
}

bool PlatformSyscallFails(Syscall kind) {
    if (!g_anyPlan) return false;
    std::lock_guard<std::mutex> guard(g_lock);
    Plan& plan = g_plans[static_cast<int>(kind)];
    if (plan.failing) {
        errno = plan.err;
        return true;
    }
    if (plan.countdown == 0) return false;
    if (--plan.countdown > 0) return false;
    if (plan.repeat) plan.failing = true;
    errno = plan.err;
    return true;
}
