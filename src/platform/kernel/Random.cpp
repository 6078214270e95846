// ---- Randomness and per-process state across fork -------------------------
#include "platform/kernel/Random.h"

#include <pthread.h>
#include <sched.h>

#include "platform/kernel/SyscallTable.h"

namespace platform {

bool FillRandom(void* buffer, size_t size) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    for (size_t got = 0; got < size;) {
        ssize_t n = sys::RetryAfterSignal(-1, sys::GetRandom, bytes + got, size - got, 0u);
        if (n < 0) return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

void* AllocateWipedAtFork(size_t size) {
    void* page = sys::Mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) return nullptr;
    if (sys::Madvise(page, size, MADV_WIPEONFORK) == 0) return page;
    sys::Munmap(page, size);
    return nullptr;
}

void AtFork(void (*reset)()) { ::pthread_atfork(nullptr, nullptr, reset); }

void YieldProcessor() { ::sched_yield(); }

}  // namespace platform
