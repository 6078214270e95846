// Private heaps: HeapCreate, HeapAlloc, HeapFree, HeapDestroy.
//
// A heap carves zero-filled blocks out of chunks it obtains from the system
// (through the HeapChunk syscall, so tests can make chunk allocation fail),
// keeps per-size free lists, and releases every chunk at HeapDestroy. Calls
// with a null heap fail: HeapAlloc returns null, HeapFree returns FALSE.
#pragma once

#include "platform/Types.h"

#define HEAP_NO_SERIALIZE 0x00000001
#define HEAP_GENERATE_EXCEPTIONS 0x00000004
#define HEAP_ZERO_MEMORY 0x00000008

// dwMaximumSize 0 makes a growable heap. Returns null when the first chunk
// cannot be obtained.
PLATFORM_API HANDLE HeapCreate(DWORD flOptions, size_t dwInitialSize, size_t dwMaximumSize);
PLATFORM_API BOOL HeapDestroy(HANDLE hHeap);
// Blocks are always zero-filled, HEAP_ZERO_MEMORY or not.
PLATFORM_API LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, size_t dwBytes);
// FALSE for a null heap or a block that this heap did not hand out.
PLATFORM_API BOOL HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem);
// Size of a block handed out by this heap; (size_t)-1 for anything else.
PLATFORM_API size_t HeapSize(HANDLE hHeap, DWORD dwFlags, const void* lpMem);
