// Private heaps over chunks obtained from the system.
//
// A heap is one allocation holding the Heap record followed by its first
// chunk, so creating a small heap costs one zero-filled allocation. Further
// chunks are separate allocations, each twice the size of the one before (up
// to 64 KiB), linked for HeapDestroy and kept in a sorted range table so that
// HeapFree tells its own blocks from anything else without reading memory it
// does not own. Every block is an 8-byte header followed by its payload, the
// two a multiple of 16 bytes long and the payload 16-byte aligned (blocks
// start 8 bytes past a multiple of 16), carved from the current chunk or
// taken from the free list of its size class: a list node of 24 bytes takes
// 32, an element of 8 takes 16. A block above the largest class gets a chunk
// of its own, returned to the system when the block is freed.
//
// Handles are not pointers: a handle names a slot in a process-wide table and
// carries the slot's generation, so a destroyed or made-up handle is refused
// rather than followed.
#include "platform/kernel/Heaps.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>
#include <vector>

#include "platform/kernel/SyscallTable.h"
#include "platform/shared/NoDestructor.h"

namespace {

// Size classes of whole blocks (header and payload): steps of 16 bytes up to
// 1 KiB, then four per power of two up to 64 KiB.
constexpr size_t kStep = 16;
constexpr size_t kFineLimit = 1024;
constexpr size_t kLargeLimit = 65536;
constexpr int kFineClasses = kFineLimit / kStep;
constexpr int kClasses = kFineClasses + 4 * 6;
constexpr uint32_t kLargeClass = 0xFFu;

constexpr size_t kMinChunk = 512;
constexpr size_t kMaxChunk = size_t(1) << 16;  // below malloc's mmap threshold, so chunks are reused warm
constexpr size_t kMaxRequest = size_t(1) << 48;  // keeps every size sum far from overflow

constexpr size_t ClassSize(int cls) {
    if (cls < kFineClasses) return size_t(cls + 1) * kStep;
    int k = cls - kFineClasses;
    size_t base = kFineLimit << (k / 4);
    return base + base / 4 * size_t(k % 4 + 1);
}
static_assert(ClassSize(kClasses - 1) == kLargeLimit);

int ClassOf(size_t bytes) {
    if (bytes <= kFineLimit) return bytes == 0 ? 0 : int((bytes - 1) / kStep);
    int power = std::bit_width(bytes - 1) - 1;  // 2^power < bytes <= 2^(power+1)
    size_t base = size_t(1) << power;
    return kFineClasses + (power - 10) * 4 + int((bytes - base - 1) / (base / 4));
}

constexpr size_t RoundUp(size_t n) { return (n + kStep - 1) & ~(kStep - 1); }

struct Block {
    uint32_t tag;         // Tag(this, live or free): tells a real header from stray bytes
    uint32_t cls : 8;     // size class, or kLargeClass
    uint32_t size : 24;   // bytes the caller asked for (a large block keeps them in front of it)
    char* Payload() { return reinterpret_cast<char*>(this + 1); }
    static Block* Of(void* payload) { return static_cast<Block*>(payload) - 1; }
};
constexpr size_t kHeader = sizeof(Block);
static_assert(kHeader == 8 && kLargeLimit < (size_t(1) << 24));
// The largest payload of a small block.
constexpr size_t kSmallLimit = kLargeLimit - kHeader;

// A large block's chunk: its size, then its header, so the payload is aligned.
struct LargeChunk {
    uint64_t size;
    Block block;
};
static_assert(sizeof(LargeChunk) == kStep);

uint32_t Tag(const Block* block, bool live) {
    uint64_t mixed = reinterpret_cast<uintptr_t>(block) * 0x9E3779B97F4A7C15ull;
    return uint32_t(mixed >> 32) ^ (live ? 0x4C495645u : 0x46524545u);
}

// Header of every chunk after the first.
struct Chunk {
    Chunk* next;
    size_t size;
};
constexpr size_t kChunkHeader = RoundUp(sizeof(Chunk));

struct Range {
    uintptr_t begin, end;
};

struct Heap {
    std::mutex lock;
    bool serialize = true;
    size_t maximum = 0;   // 0: growable
    size_t obtained = 0;  // bytes of all chunks and large blocks
    char* cursor = nullptr;  // unused part of the newest chunk
    char* limit = nullptr;
    size_t nextChunk = 0;
    Block* freeLists[kClasses] = {};
    Range first = {};
    std::vector<Range> ranges;  // chunks after the first, sorted by address
    Chunk* chunks = nullptr;
    std::unordered_set<void*> large;  // payloads of large blocks
};
constexpr size_t kHeapHeader = RoundUp(sizeof(Heap));

// Full-size chunks of destroyed heaps are kept, up to kPoolChunks, for the
// next heaps: lists come and go by the thousand, and fresh memory from the
// system costs a page fault per page where a kept chunk costs one memset.
constexpr size_t kPoolChunks = 128;

struct ChunkPool {
    std::mutex lock;
    std::vector<void*> chunks;
    ChunkPool() { chunks.reserve(kPoolChunks); }
};

// Never destroyed: heaps may be destroyed by static destructors after it.
ChunkPool& Pool() {
    static NoDestructor<ChunkPool> pool;
    return *pool;
}

// Obtains zero-filled memory, through the fault seam.
void* ObtainChunk(size_t bytes) {
    if (platform::sys::Fails(Syscall::HeapChunk)) return nullptr;
    if (bytes == kMaxChunk) {
        ChunkPool& pool = Pool();
        void* chunk = nullptr;
        {
            std::lock_guard<std::mutex> guard(pool.lock);
            if (!pool.chunks.empty()) {
                chunk = pool.chunks.back();
                pool.chunks.pop_back();
            }
        }
        if (chunk) return std::memset(chunk, 0, bytes);
    }
    return std::calloc(1, bytes);
}

void ReleaseChunk(void* chunk, size_t bytes) {
    if (bytes == kMaxChunk) {
        ChunkPool& pool = Pool();
        std::lock_guard<std::mutex> guard(pool.lock);
        if (pool.chunks.size() < kPoolChunks) {
            pool.chunks.push_back(chunk);  // reserved up front: cannot throw
            return;
        }
    }
    std::free(chunk);
}

// --- Handle table -------------------------------------------------------

constexpr uint32_t kPageSlots = 1024;
constexpr uint32_t kPages = 16384;
constexpr uint32_t kNoSlot = 0xFFFFFFFFu;

struct Slot {
    std::atomic<Heap*> heap{nullptr};
    std::atomic<uint32_t> generation{0};
    uint32_t nextFree = kNoSlot;
};

struct HandleTable {
    std::mutex lock;
    std::atomic<Slot*> pages[kPages] = {};
    uint32_t used = 0;
    uint32_t freeHead = kNoSlot;
};

HandleTable& Handles() {
    static NoDestructor<HandleTable> table;  // pages live for the whole process
    return *table;
}

Slot* SlotAt(HandleTable& table, uint32_t index) {
    if (index / kPageSlots >= kPages) return nullptr;
    Slot* page = table.pages[index / kPageSlots].load(std::memory_order_acquire);
    return page ? &page[index % kPageSlots] : nullptr;
}

HANDLE Register(Heap* heap) {
    HandleTable& table = Handles();
    std::lock_guard<std::mutex> guard(table.lock);
    uint32_t index = table.freeHead;
    Slot* slot = nullptr;
    if (index != kNoSlot) {
        slot = SlotAt(table, index);
        table.freeHead = slot->nextFree;
    } else {
        index = table.used;
        if (index / kPageSlots >= kPages) return nullptr;
        std::atomic<Slot*>& page = table.pages[index / kPageSlots];
        if (!page.load(std::memory_order_relaxed)) {
            Slot* fresh = new (std::nothrow) Slot[kPageSlots];
            if (!fresh) return nullptr;
            page.store(fresh, std::memory_order_release);
        }
        ++table.used;
        slot = SlotAt(table, index);
    }
    slot->heap.store(heap, std::memory_order_release);
    uint64_t value = uint64_t(slot->generation.load(std::memory_order_relaxed)) << 32 | (uint64_t(index) + 1);
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
}

Slot* SlotOf(HANDLE handle) {
    uint64_t value = reinterpret_cast<uintptr_t>(handle);
    uint32_t index = uint32_t(value) - 1;
    Slot* slot = SlotAt(Handles(), index);
    if (!slot || slot->generation.load(std::memory_order_acquire) != uint32_t(value >> 32)) return nullptr;
    return slot;
}

Heap* Lookup(HANDLE handle) {
    Slot* slot = SlotOf(handle);
    return slot ? slot->heap.load(std::memory_order_acquire) : nullptr;
}

// Removes the handle; returns its heap, or null when it was not live.
Heap* Unregister(HANDLE handle) {
    HandleTable& table = Handles();
    std::lock_guard<std::mutex> guard(table.lock);
    Slot* slot = SlotOf(handle);
    Heap* heap = slot ? slot->heap.load(std::memory_order_relaxed) : nullptr;
    if (!heap) return nullptr;
    slot->heap.store(nullptr, std::memory_order_release);
    slot->generation.fetch_add(1, std::memory_order_release);
    slot->nextFree = table.freeHead;
    table.freeHead = uint32_t(reinterpret_cast<uintptr_t>(handle)) - 1;
    return heap;
}

// --- Allocation -----------------------------------------------------------

class HeapLock {
public:
    HeapLock(Heap* heap, DWORD flags) : m_lock(heap->serialize && !(flags & HEAP_NO_SERIALIZE) ? &heap->lock : nullptr) {
        if (m_lock) m_lock->lock();
    }
    ~HeapLock() {
        if (m_lock) m_lock->unlock();
    }
    HeapLock(const HeapLock&) = delete;
    HeapLock& operator=(const HeapLock&) = delete;

private:
    std::mutex* m_lock;
};

bool WithinMaximum(const Heap* heap, size_t bytes) {
    return heap->maximum == 0 || (bytes <= heap->maximum && heap->obtained <= heap->maximum - bytes);
}

// Starts a new chunk with room for at least `need` bytes of blocks.
bool Grow(Heap* heap, size_t need) {
    size_t bytes = std::max(need + kChunkHeader + kHeader, heap->nextChunk);
    if (!WithinMaximum(heap, bytes)) bytes = need + kChunkHeader + kHeader;
    if (!WithinMaximum(heap, bytes)) return false;
    char* memory = static_cast<char*>(ObtainChunk(bytes));
    if (!memory) return false;
    Range range{reinterpret_cast<uintptr_t>(memory), reinterpret_cast<uintptr_t>(memory) + bytes};
    try {
        auto at = std::lower_bound(heap->ranges.begin(), heap->ranges.end(), range,
                                   [](const Range& a, const Range& b) { return a.begin < b.begin; });
        heap->ranges.insert(at, range);
    } catch (const std::bad_alloc&) {
        std::free(memory);
        return false;
    }
    Chunk* chunk = reinterpret_cast<Chunk*>(memory);
    chunk->next = heap->chunks;
    chunk->size = bytes;
    heap->chunks = chunk;
    heap->obtained += bytes;
    heap->cursor = memory + kChunkHeader + kHeader;  // so that payloads are aligned
    heap->limit = memory + bytes;
    heap->nextChunk = std::min(heap->nextChunk * 2, kMaxChunk);
    return true;
}

void* AllocSmall(Heap* heap, size_t bytes) {
    int cls = ClassOf(bytes + kHeader);
    size_t need = ClassSize(cls);
    Block* block = heap->freeLists[cls];
    if (block) {
        Block* next;
        std::memcpy(&next, block->Payload(), sizeof next);
        heap->freeLists[cls] = next;
        std::memset(block->Payload(), 0, need - kHeader);
    } else {
        if (size_t(heap->limit - heap->cursor) < need && !Grow(heap, need)) return nullptr;
        block = reinterpret_cast<Block*>(heap->cursor);  // fresh chunk memory is zero
        heap->cursor += need;
        block->cls = uint32_t(cls);
    }
    block->tag = Tag(block, true);
    block->size = uint32_t(bytes);
    return block->Payload();
}

void* AllocLarge(Heap* heap, size_t bytes) {
    size_t total = sizeof(LargeChunk) + bytes;
    if (!WithinMaximum(heap, total)) return nullptr;
    LargeChunk* chunk = static_cast<LargeChunk*>(ObtainChunk(total));
    if (!chunk) return nullptr;
    Block* block = &chunk->block;
    try {
        heap->large.insert(block->Payload());
    } catch (const std::bad_alloc&) {
        std::free(chunk);
        return nullptr;
    }
    chunk->size = bytes;
    block->tag = Tag(block, true);
    block->cls = kLargeClass;
    heap->obtained += total;
    return block->Payload();
}

LargeChunk* LargeChunkOf(Block* block) {
    return reinterpret_cast<LargeChunk*>(reinterpret_cast<char*>(block) - offsetof(LargeChunk, block));
}

bool InRange(const Range& range, uintptr_t address) {
    return address >= range.begin + kHeader && address < range.end;
}

// The header of a live block this heap handed out, or null.
Block* OwnBlock(Heap* heap, void* memory) {
    uintptr_t address = reinterpret_cast<uintptr_t>(memory);
    if (address % kStep != 0) return nullptr;
    bool small = InRange(heap->first, address);
    if (!small) {
        auto after = std::upper_bound(heap->ranges.begin(), heap->ranges.end(), address,
                                      [](uintptr_t a, const Range& r) { return a < r.begin; });
        small = after != heap->ranges.begin() && InRange(*(after - 1), address);
    }
    if (small) {
        Block* block = Block::Of(memory);
        return block->tag == Tag(block, true) && block->cls < uint32_t(kClasses) ? block : nullptr;
    }
    return heap->large.count(memory) ? Block::Of(memory) : nullptr;
}

std::atomic<int> g_failCountdown{0};  // >0: calls left up to the failing one; <0: every call fails
std::atomic<bool> g_failRepeat{false};

bool AllocPlannedToFail() {
    int left = g_failCountdown.load(std::memory_order_relaxed);
    while (left > 0 && !g_failCountdown.compare_exchange_weak(
                           left, left == 1 ? (g_failRepeat.load() ? -1 : 0) : left - 1)) {
    }
    return left == 1 || left < 0;
}

}  // namespace

HANDLE HeapCreate(DWORD flOptions, size_t dwInitialSize, size_t dwMaximumSize) {
    if (dwInitialSize > kMaxRequest || dwMaximumSize > kMaxRequest) return nullptr;
    size_t maximum = dwMaximumSize ? RoundUp(dwMaximumSize) : 0;
    if (maximum && dwInitialSize > maximum) return nullptr;
    size_t firstChunk = RoundUp(std::max(dwInitialSize, kMinChunk));
    if (maximum) firstChunk = std::min(firstChunk, maximum);
    char* memory = static_cast<char*>(ObtainChunk(kHeapHeader + firstChunk));
    if (!memory) return nullptr;
    Heap* heap = new (memory) Heap;
    heap->serialize = !(flOptions & HEAP_NO_SERIALIZE);
    heap->maximum = maximum;
    heap->obtained = firstChunk;
    heap->cursor = memory + kHeapHeader + kHeader;  // so that payloads are aligned
    heap->limit = memory + kHeapHeader + firstChunk;
    heap->first = {reinterpret_cast<uintptr_t>(memory + kHeapHeader), reinterpret_cast<uintptr_t>(heap->limit)};
    heap->nextChunk = std::min(std::max(firstChunk, kMinChunk) * 2, kMaxChunk);
    HANDLE handle = Register(heap);
    if (!handle) {
        heap->~Heap();
        std::free(memory);
    }
    return handle;
}

BOOL HeapDestroy(HANDLE hHeap) {
    Heap* heap = Unregister(hHeap);
    if (!heap) return FALSE;
    for (void* payload : heap->large) std::free(LargeChunkOf(Block::Of(payload)));
    for (Chunk* chunk = heap->chunks; chunk;) {
        Chunk* next = chunk->next;
        ReleaseChunk(chunk, chunk->size);
        chunk = next;
    }
    heap->~Heap();
    std::free(heap);
    return TRUE;
}

LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, size_t dwBytes) {
    Heap* heap = Lookup(hHeap);
    if (!heap || dwBytes > kMaxRequest || AllocPlannedToFail()) return nullptr;
    HeapLock guard(heap, dwFlags);
    return dwBytes <= kSmallLimit ? AllocSmall(heap, dwBytes) : AllocLarge(heap, dwBytes);
}

BOOL HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem) {
    Heap* heap = Lookup(hHeap);
    if (!heap) return FALSE;
    if (!lpMem) return TRUE;
    HeapLock guard(heap, dwFlags);
    Block* block = OwnBlock(heap, lpMem);
    if (!block) return FALSE;
    if (block->cls == kLargeClass) {
        LargeChunk* chunk = LargeChunkOf(block);
        heap->large.erase(lpMem);
        heap->obtained -= sizeof(LargeChunk) + chunk->size;
        std::free(chunk);
        return TRUE;
    }
    block->tag = Tag(block, false);
    std::memcpy(block->Payload(), &heap->freeLists[block->cls], sizeof(Block*));
    heap->freeLists[block->cls] = block;
    return TRUE;
}

size_t HeapSize(HANDLE hHeap, DWORD dwFlags, const void* lpMem) {
    Heap* heap = Lookup(hHeap);
    if (!heap || !lpMem) return size_t(-1);
    HeapLock guard(heap, dwFlags);
    Block* block = OwnBlock(heap, const_cast<void*>(lpMem));
    if (!block) return size_t(-1);
    return block->cls == kLargeClass ? size_t(LargeChunkOf(block)->size) : size_t(block->size);
}

void HeapFailAlloc(int nth, bool bRepeat) {
    g_failRepeat = bRepeat;
    g_failCountdown = nth > 0 ? nth : 0;
}
