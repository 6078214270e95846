// ---- Failure plans for the system-call seam -------------------------------
//
// Every call the platform layer makes to the operating system goes through a
// wrapper made from SyscallList.inc (SyscallTable.h, internal to the kernel
// folder), so tests can make the Nth call of one kind fail with a chosen
// errno and exercise the error paths, one call after another.
#pragma once

#include "platform/shared/Types.h"

enum class Syscall {
#define SYSCALL(kind, ...) kind,
#define FAULT_POINT(kind) kind,
#include "platform/kernel/SyscallList.inc"
#undef SYSCALL
#undef FAULT_POINT
    Count
};

// Makes the nth future call (1 = the next one) of the given kind fail with
// err; with bRepeat every call from the nth on fails. A new plan replaces the
// old one for that kind.
PLATFORM_API void PlatformFailSyscall(Syscall kind, int nth, int err, bool bRepeat = false);
// Clears every failure plan.
PLATFORM_API void PlatformResetSyscalls();
// True when a planned failure has happened since the last reset: a sweep
// that raises N until this stays false has run the operation whole.
PLATFORM_API bool PlatformSyscallFailed();
// The kind's name as the list spells it ("OpenAt"), for messages.
PLATFORM_API const char* PlatformSyscallName(Syscall kind);
