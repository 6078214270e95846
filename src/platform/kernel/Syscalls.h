// The one seam between the platform layer and the operating system.
//
// Every raw call the layer makes (open, stat, readdir, mmap, allocation of
// heap chunks, ...) goes through PlatformSyscall(), so tests can make the Nth
// call of one kind fail with a chosen errno and exercise the error paths.
#pragma once

#include "platform/shared/Types.h"

enum class Syscall {
    Open, Read, Write, Close, Stat, Lstat, OpenDir, ReadDir, Mkdir, Rmdir, Unlink, Rename,
    Utime, Chmod, Mmap, Ftruncate, Fallocate, HeapChunk, Spawn, ShmOpen, GlobalBlock, Count
};

// Makes the nth future call (1 = the next one) of the given kind fail with
// err; with bRepeat every call from the nth on fails. A new plan replaces the
// old one for that kind.
PLATFORM_API void PlatformFailSyscall(Syscall kind, int nth, int err, bool bRepeat = false);
// Clears every failure plan.
PLATFORM_API void PlatformResetSyscalls();

// Used by the layer's own code: counts the call and, when it is planned to
// fail, sets errno and returns true.
PLATFORM_API bool PlatformSyscallFails(Syscall kind);
