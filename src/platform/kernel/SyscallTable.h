// ---- The system-call wrappers ---------------------------------------------
//
// platform::sys::<Kind>(...) for every line of SyscallList.inc: the one way
// kernel code reaches the operating system. Internal to the kernel folder
// (the only folder that includes POSIX headers); the layers above call the
// kernel's services instead.
#pragma once

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <cstdint>
#include <ctime>

#include "platform/kernel/Syscalls.h"

namespace platform::sys {

// Counts the call and, when a plan says it fails, sets errno and returns
// true.
bool Fails(Syscall kind);

#define SYSCALL(kind, function, result, parameters, arguments, failure) result kind parameters;
#define FAULT_POINT(kind)
#include "platform/kernel/SyscallList.inc"
#undef SYSCALL
#undef FAULT_POINT

// Repeats a call that a signal interrupted (EINTR), as LLVM's
// sys::RetryAfterSignal does: fail is the call's failure value.
template <typename Fail, typename Call, typename... Args>
auto RetryAfterSignal(const Fail& fail, const Call& call, const Args&... args) {
    decltype(call(args...)) result;
    do result = call(args...);
    while (result == fail && errno == EINTR);
    return result;
}

}  // namespace platform::sys
