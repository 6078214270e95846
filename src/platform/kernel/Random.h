// ---- Randomness and per-process state across fork -------------------------
//
// What the GUID generator needs from the system, kept here so that the
// layers above include no POSIX header.
#pragma once

#include <cstddef>

namespace platform {

// Fills the buffer from the system's random source; false when it cannot.
bool FillRandom(void* buffer, size_t size);
// Zero-filled memory of size bytes (at most a page) that the child of a
// fork finds zero-filled again (MADV_WIPEONFORK); null where the kernel
// cannot wipe memory at fork.
void* AllocateWipedAtFork(size_t size);
// Runs reset in the child after every fork.
void AtFork(void (*reset)());
// Gives the processor to another thread.
void YieldProcessor();

}  // namespace platform
