// The table of global memory blocks.
#include "platform/kernel/GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/kernel/Errors.h"
#include "platform/kernel/SyscallTable.h"
#include "platform/shared/NoDestructor.h"

namespace {

struct Block {
    void* data = nullptr;  // null for a discarded block
    SIZE_T size = 0;
    bool moveable = false;
    int locks = 0;
    bool clipboard = false;
};

// Never destroyed: the clipboard may still hold blocks while the process
// exits.
struct BlockTable {
    std::mutex lock;
    std::unordered_map<HGLOBAL, Block> blocks;
    // Moveable handles are 4 modulo 16, which no allocation's address is.
    uintptr_t lastId = 0x10004;
};

BlockTable& table() {
    static NoDestructor<BlockTable> t;
    return *t;
}

// The block of a handle, or null with ERROR_INVALID_HANDLE.
Block* findLocked(BlockTable& t, HGLOBAL hMem) {
    auto it = t.blocks.find(hMem);
    if (it != t.blocks.end()) return &it->second;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

// Raw memory for a block through the fault seam; never a null address for
// a size of 0, so every fixed block has an address of its own.
void* obtain(SIZE_T dwBytes, bool zero) {
    if (platform::sys::Fails(Syscall::GlobalBlock)) return nullptr;
    size_t bytes = dwBytes ? dwBytes : 1;
    return zero ? std::calloc(1, bytes) : std::malloc(bytes);
}

}  // namespace

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
    bool moveable = (uFlags & GMEM_MOVEABLE) != 0;
    void* data = nullptr;
    if (!moveable || dwBytes) {
        data = obtain(dwBytes, (uFlags & GMEM_ZEROINIT) != 0);
        if (!data) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    BlockTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    HGLOBAL hMem = moveable ? reinterpret_cast<HGLOBAL>(t.lastId += 16) : static_cast<HGLOBAL>(data);
    t.blocks[hMem] = Block{data, data ? dwBytes : 0, moveable, 0, false};
    return hMem;
}

LPVOID GlobalLock(HGLOBAL hMem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    Block* block = findLocked(t, hMem);
    if (!block) return nullptr;
    if (!block->data) {
        SetLastError(ERROR_DISCARDED);
        return nullptr;
    }
    if (block->moveable) ++block->locks;
    return block->data;
}

BOOL GlobalUnlock(HGLOBAL hMem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    Block* block = findLocked(t, hMem);
    if (!block) return FALSE;
    if (block->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--block->locks > 0) return TRUE;
    SetLastError(NO_ERROR);
    return FALSE;
}

SIZE_T GlobalSize(HGLOBAL hMem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    Block* block = findLocked(t, hMem);
    return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem) {
    if (!hMem) return nullptr;
    void* data;
    {
        BlockTable& t = table();
        std::lock_guard<std::mutex> guard(t.lock);
        Block* block = findLocked(t, hMem);
        if (!block) return hMem;
        if (block->clipboard) {
            SetLastError(ERROR_ACCESS_DENIED);
            return hMem;
        }
        data = block->data;
        t.blocks.erase(hMem);
    }
    std::free(data);
    return nullptr;
}

namespace platform {

bool GiveGlobalToClipboard(HGLOBAL hMem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    Block* block = findLocked(t, hMem);
    if (!block || block->clipboard) return false;
    block->clipboard = true;
    return true;
}

void TakeGlobalFromClipboard(HGLOBAL hMem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    if (Block* block = findLocked(t, hMem)) block->clipboard = false;
}

HGLOBAL DuplicateGlobal(HGLOBAL hMem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    Block* block = findLocked(t, hMem);
    if (!block || !block->data) return nullptr;
    SIZE_T size = block->size;
    void* copy = obtain(size, false);
    if (!copy) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memcpy(copy, block->data, size);
    HGLOBAL hCopy = reinterpret_cast<HGLOBAL>(t.lastId += 16);
    t.blocks[hCopy] = Block{copy, size, true, 0, false};
    return hCopy;
}

}  // namespace platform
