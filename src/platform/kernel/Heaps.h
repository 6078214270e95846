// Private heaps: HeapCreate, HeapAlloc, HeapFree, HeapDestroy.
//
// A heap carves zero-filled blocks out of chunks it obtains from the system
// (through the HeapChunk syscall, so tests can make chunk allocation fail),
// keeps per-size free lists, and releases every chunk at HeapDestroy. Calls
// with a null heap fail: HeapAlloc returns null, HeapFree returns FALSE.
//
// Every call is thread-safe unless the heap was created with
// HEAP_NO_SERIALIZE or the call passes it. Payloads are 16-byte aligned.
// HEAP_GENERATE_EXCEPTIONS is accepted and ignored: failures are results.
// A handle is an opaque value, not an address: a destroyed or invented handle
// is refused by every call instead of being followed.
#pragma once

#include "platform/shared/Types.h"

#define HEAP_NO_SERIALIZE 0x00000001
#define HEAP_GENERATE_EXCEPTIONS 0x00000004
#define HEAP_ZERO_MEMORY 0x00000008

// dwMaximumSize 0 makes a growable heap; otherwise the heap never holds more
// than that many bytes of chunks (block headers included) and allocations
// beyond it fail. Returns null when the first chunk cannot be obtained, or
// when dwInitialSize exceeds a non-zero dwMaximumSize.
PLATFORM_API HANDLE HeapCreate(DWORD flOptions, size_t dwInitialSize, size_t dwMaximumSize);
// Releases every block and chunk of the heap. FALSE for a handle that is not
// a live heap (null, already destroyed).
PLATFORM_API BOOL HeapDestroy(HANDLE hHeap);
// Blocks are always zero-filled, HEAP_ZERO_MEMORY or not. A request of 0
// bytes gives a distinct block of size 0.
PLATFORM_API LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, size_t dwBytes);
// FALSE for a null heap, a block that this heap did not hand out, a pointer
// into the middle of a block or a block already freed. A null lpMem on a live
// heap is TRUE and does nothing.
PLATFORM_API BOOL HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem);
// Size a block was requested with, for a live block of this heap;
// (size_t)-1 for anything else.
PLATFORM_API size_t HeapSize(HANDLE hHeap, DWORD dwFlags, const void* lpMem);

// Test switch: makes the nth future HeapAlloc call of the process (1 = the
// next one) return null, and with bRepeat every call from the nth on. nth 0
// removes the plan. Chunk allocation (and so HeapCreate) is failed through
// PlatformFailSyscall(Syscall::HeapChunk, ...) instead.
PLATFORM_API void HeapFailAlloc(int nth, bool bRepeat = false);
