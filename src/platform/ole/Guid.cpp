// CoCreateGuid from a per-process generator.
//
// Every list and log names a mutex with a fresh GUID, so a GUID must cost no
// system call. The process draws a 128-bit key from the system's random
// source once; each GUID is then the next value of a 64-bit counter mixed
// with the key (two rounds of a 64-bit finaliser, one per half), so no two
// GUIDs of a process repeat and two processes differ by their keys.
//
// A child of fork must not repeat its parent's sequence: the generator's
// state lives in a page the kernel hands a child zero-filled
// (MADV_WIPEONFORK), so the child draws a key of its own. Where the kernel
// cannot wipe the page, a fork handler clears the state instead.
#include "platform/ole/Guid.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>

#include "platform/kernel/Random.h"

namespace {

enum : uint32_t { kUnseeded = 0, kSeeding = 1, kReady = 2 };

struct Generator {
    std::atomic<uint32_t> phase;  // zero (unseeded) in a new page and in a wiped one
    uint64_t key[2];
    std::atomic<uint64_t> counter;
};
static_assert(std::atomic<uint32_t>::is_always_lock_free && std::atomic<uint64_t>::is_always_lock_free);

Generator* MakeGenerator() {
    if (void* page = platform::AllocateWipedAtFork(sizeof(Generator))) return new (page) Generator{};
    static Generator fallback{};
    platform::AtFork([] { fallback.phase.store(kUnseeded, std::memory_order_relaxed); });
    return &fallback;
}

Generator& TheGenerator() {
    static Generator* generator = MakeGenerator();
    return *generator;
}

// True once the generator holds a key; the first caller draws it.
bool Seeded(Generator& g) {
    for (;;) {
        uint32_t phase = g.phase.load(std::memory_order_acquire);
        if (phase == kReady) return true;
        if (phase == kSeeding) {
            platform::YieldProcessor();  // another thread draws the key
            continue;
        }
        if (!g.phase.compare_exchange_weak(phase, kSeeding, std::memory_order_acquire)) continue;
        uint64_t key[2];
        bool drawn = platform::FillRandom(key, sizeof key);
        if (drawn) {
            std::memcpy(g.key, key, sizeof key);
            g.counter.store(0, std::memory_order_relaxed);
        }
        g.phase.store(drawn ? kReady : kUnseeded, std::memory_order_release);
        return drawn;
    }
}

uint64_t Mix(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

HRESULT CoCreateGuid(GUID* pGuid) {
    if (!pGuid) return E_FAIL;
    Generator& g = TheGenerator();
    if (!Seeded(g)) return E_FAIL;
    uint64_t n = g.counter.fetch_add(1, std::memory_order_relaxed);
    uint64_t halves[2] = {Mix(n ^ g.key[0]), Mix(Mix(n) ^ g.key[1])};
    unsigned char bytes[16];
    std::memcpy(bytes, halves, sizeof bytes);
    bytes[7] = static_cast<unsigned char>((bytes[7] & 0x0F) | 0x40);  // version 4 (Data3 is little-endian)
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    std::memcpy(pGuid, bytes, sizeof bytes);
    return S_OK;
}
