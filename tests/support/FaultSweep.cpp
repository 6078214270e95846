#include "support/FaultSweep.h"

#include <gtest/gtest.h>

#include <filesystem>

int OpenDescriptors() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) count += !entry.path().empty();
    return count - 1;  // the iterator's own
}

void SweepFaults(std::initializer_list<Syscall> kinds, int err, const std::function<void()>& setup,
                 const std::function<void()>& operation, const std::function<void(const FaultRun&)>& check,
                 int maxRuns) {
    for (Syscall kind : kinds) {
        for (int nth = 1;; ++nth) {
            SCOPED_TRACE(std::string(PlatformSyscallName(kind)) + " call " + std::to_string(nth) + " fails");
            if (nth > maxRuns) {
                ADD_FAILURE() << "still failing after " << maxRuns << " runs";
                break;
            }
            setup();
            int before = OpenDescriptors();
            PlatformFailSyscall(kind, nth, err);
            operation();
            bool failed = PlatformSyscallFailed();
            PlatformResetSyscalls();
            EXPECT_EQ(OpenDescriptors(), before) << "a descriptor was left open";
            check(FaultRun{kind, nth, failed});
            if (!failed) break;
        }
    }
}
