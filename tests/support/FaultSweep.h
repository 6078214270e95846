// Sweeps the system-call seam: for each kind, the Nth call fails for
// N = 1, 2, ... until a run goes through without a planned failure (the
// operation ran whole). After every run the caller's check sees whether a
// failure was made, and the sweep itself checks that no descriptor was left
// open. The way SQLite's test_syscall drives its error paths.
#pragma once

#include <functional>
#include <initializer_list>

#include "platform/kernel/Syscalls.h"

struct FaultRun {
    Syscall kind;
    int nth;      // the call that failed
    bool failed;  // false for the last run, which went through whole
};

// setup prepares each run afresh (before the plan is set); operation is
// what fails; check verifies the state after it, with the plan cleared.
// Stops after maxRuns runs of one kind (a test failure: the operation
// keeps making calls of that kind).
void SweepFaults(std::initializer_list<Syscall> kinds, int err, const std::function<void()>& setup,
                 const std::function<void()>& operation, const std::function<void(const FaultRun&)>& check,
                 int maxRuns = 500);

// The number of descriptors this process has open.
int OpenDescriptors();
