// Global memory: GlobalAlloc and the calls on its blocks, the memory the
// clipboard and OLE data transfer move between windows.
//
// A fixed block's handle is its address; a moveable block's handle is an
// opaque id, never reused and never equal to an address, and GlobalLock
// turns it into the address. Every call looks the handle up in one
// process-wide table first, so a freed, made-up or foreign handle (a window
// handle, an interior pointer) fails with ERROR_INVALID_HANDLE instead of
// reaching memory. Blocks are exactly the size asked for (GlobalSize
// reports that size). Blocks handed to the clipboard belong to it:
// GlobalFree refuses them (ERROR_ACCESS_DENIED) until the clipboard lets
// them go.
#pragma once

#include "platform/shared/Types.h"

typedef HANDLE HGLOBAL;

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GMEM_SHARE 0x2000u
#define GMEM_DDESHARE 0x2000u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// A new block of dwBytes (zero-filled with GMEM_ZEROINIT; GMEM_SHARE and
// other flags change nothing). A moveable block of 0 bytes is a discarded
// block: it has a handle but GlobalLock gives null (ERROR_DISCARDED). Null
// with ERROR_NOT_ENOUGH_MEMORY when memory runs out.
PLATFORM_API HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
// The block's address. A moveable block's lock count rises by one; a fixed
// block has no lock count. Null for a discarded block or a bad handle.
PLATFORM_API LPVOID GlobalLock(HGLOBAL hMem);
// Lowers a moveable block's lock count: TRUE while it stays locked, FALSE
// when it reaches zero (last error NO_ERROR). FALSE with ERROR_NOT_LOCKED for
// a block that was not locked (always for a fixed block).
PLATFORM_API BOOL GlobalUnlock(HGLOBAL hMem);
// The block's size; 0 for a discarded block or a bad handle.
PLATFORM_API SIZE_T GlobalSize(HGLOBAL hMem);
// Frees the block, locked or not: null on success, and for a null handle.
// The handle itself when it is not a block of the table or the clipboard
// owns the block.
PLATFORM_API HGLOBAL GlobalFree(HGLOBAL hMem);

namespace platform {

// Used by the clipboard: marks the block as the clipboard's (false when it
// is not a block of the table, or already the clipboard's), and gives it
// back to the application for freeing.
bool GiveGlobalToClipboard(HGLOBAL hMem);
void TakeGlobalFromClipboard(HGLOBAL hMem);

// A new moveable block with the same size and bytes; null for a bad handle,
// a discarded block, or when memory runs out.
HGLOBAL DuplicateGlobal(HGLOBAL hMem);

}  // namespace platform
