// The clipboard: one per process, shared by every thread and window.
//
// A caller opens it (OpenClipboard), empties it to become its owner, puts
// global memory blocks on it by format, and closes it. While it is open,
// every other opener fails (ERROR_ACCESS_DENIED); opening it again from the
// window (or, with a null window, the thread) that holds it succeeds, and one
// CloseClipboard closes it. A clipboard held by a window that was destroyed
// counts as closed. EmptyClipboard, SetClipboardData and GetClipboardData
// need the clipboard open by the caller (ERROR_CLIPBOARD_NOT_OPEN);
// IsClipboardFormatAvailable does not.
//
// On a display (the display's thread of a driver with a clipboard,
// UserDriver.h), CF_TEXT is the desktop's clipboard (X11's CLIPBOARD, not
// the primary selection), so text goes between this process and every other
// program:
//   - EmptyClipboard takes the desktop's clipboard with nothing on it, and
//     CF_TEXT put on it offers its text to every program, with CR LF line
//     ends as LF and the code page's bytes as UTF-8 (CodePage.h says what
//     becomes of bytes that are not UTF-8). Where the desktop has a
//     clipboard manager, the text is handed to it when the process exits,
//     so it can still be pasted, as on the original;
//   - while another program holds the desktop's clipboard, its text is what
//     CF_TEXT gives, with LF line ends as CR LF and cut at a zero byte. It
//     is fetched once per opening of the clipboard (at the first question
//     about CF_TEXT), or for every question while the clipboard is closed,
//     waiting at most a second for that program to answer; no host code
//     runs meanwhile. Its other formats are not offered.
// Other threads, and every thread under the headless driver, share the
// process's own clipboard.
//
// Where the original differs: there is no delayed rendering (SetClipboardData
// refuses a null block) and no formats are synthesised from others (CF_TEXT
// gives no CF_OEMTEXT). Without a display nothing is kept after the process
// ends.
#pragma once

#include "platform/kernel/GlobalMemory.h"

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_OEMTEXT 7
#define CF_UNICODETEXT 13

// FALSE when another window or thread holds the clipboard open, or hWndNewOwner
// is neither null nor a window.
PLATFORM_API BOOL OpenClipboard(HWND hWndNewOwner);
PLATFORM_API BOOL CloseClipboard();
// Frees every block on the clipboard and makes the window that opened it the
// owner.
PLATFORM_API BOOL EmptyClipboard();
// Puts the block on the clipboard for the format, replacing (and freeing) the
// format's block before; the clipboard owns the block from then on. Returns
// hMem, or null for format 0, a null hMem, a handle that is not a global
// block or a block the clipboard owns already.
PLATFORM_API HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// The format's block, still the clipboard's: the caller may lock and read it
// while the clipboard is open, and must not free it. Null when the format is
// not there.
PLATFORM_API HANDLE GetClipboardData(UINT uFormat);
PLATFORM_API BOOL IsClipboardFormatAvailable(UINT format);
// The window that last emptied the clipboard, or null.
PLATFORM_API HWND GetClipboardOwner();

namespace platform {

// Used by OLE data transfer. The clipboard's formats are replaced by copies
// of the given blocks in one step, as if a window had opened, emptied, filled
// and closed it; the object is kept and released (pfnRelease(pObject)) when
// the clipboard is next emptied. False, with nothing changed, when the
// clipboard is open or a copy cannot be made.
struct ClipboardFormat {
    UINT format;
    HGLOBAL hMem;
};
bool PutOnClipboard(const ClipboardFormat* pFormats, size_t nFormats, void* pObject, void (*pfnRelease)(void*));
// The object kept by PutOnClipboard, or null when the clipboard was emptied
// since; ForgetClipboardObject stops the clipboard from releasing it.
void* ClipboardObject();
void ForgetClipboardObject(void* pObject);
// A copy of the format's block, which the caller frees; null when the format
// is not there. Needs no open clipboard.
HGLOBAL CopyClipboardData(UINT format);

}  // namespace platform
