// The process's clipboard.
#include "platform/user/Clipboard.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/user/Windows.h"
#include "platform/shared/NoDestructor.h"

namespace {

struct Entry {
    UINT format;
    HGLOBAL hMem;
};

// Never destroyed: its blocks and object stay reachable until the process
// ends.
struct Clipboard {
    std::mutex lock;
    bool open = false;
    std::thread::id holderThread;
    HWND holderWindow = nullptr;
    HWND owner = nullptr;
    std::vector<Entry> entries;  // in the order they were set
    void* object = nullptr;
    void (*releaseObject)(void*) = nullptr;
};

Clipboard& clipboard() {
    static NoDestructor<Clipboard> c;
    return *c;
}

// A holder window that was destroyed leaves the clipboard closed.
bool openLocked(Clipboard& c) {
    if (c.open && c.holderWindow && !IsWindow(c.holderWindow)) c.open = false;
    return c.open;
}

bool heldByCaller(Clipboard& c) {
    if (openLocked(c) && c.holderThread == std::this_thread::get_id()) return true;
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return false;
}

std::vector<Entry>::iterator findLocked(Clipboard& c, UINT format) {
    return std::find_if(c.entries.begin(), c.entries.end(), [format](const Entry& e) { return e.format == format; });
}

// Takes everything off the clipboard under the lock; the caller frees it
// after unlocking, since releasing the object may run arbitrary code.
struct Removed {
    std::vector<Entry> entries;
    void* object = nullptr;
    void (*releaseObject)(void*) = nullptr;

    ~Removed() {
        for (const Entry& e : entries) {
            platform::TakeGlobalFromClipboard(e.hMem);
            GlobalFree(e.hMem);
        }
        if (object && releaseObject) releaseObject(object);
    }
};

void takeAllLocked(Clipboard& c, Removed& removed) {
    removed.entries = std::exchange(c.entries, {});
    removed.object = std::exchange(c.object, nullptr);
    removed.releaseObject = std::exchange(c.releaseObject, nullptr);
}

}  // namespace

BOOL OpenClipboard(HWND hWndNewOwner) {
    if (hWndNewOwner && !IsWindow(hWndNewOwner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    std::thread::id self = std::this_thread::get_id();
    if (openLocked(c)) {
        if (c.holderThread == self && c.holderWindow == hWndNewOwner) return TRUE;
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    c.open = true;
    c.holderThread = self;
    c.holderWindow = hWndNewOwner;
    return TRUE;
}

BOOL CloseClipboard() {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    if (!heldByCaller(c)) return FALSE;
    c.open = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    Removed removed;
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    if (!heldByCaller(c)) return FALSE;
    takeAllLocked(c, removed);
    c.owner = c.holderWindow;
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem) {
    HGLOBAL hReplaced = nullptr;
    {
        Clipboard& c = clipboard();
        std::lock_guard<std::mutex> guard(c.lock);
        if (!heldByCaller(c)) return nullptr;
        auto it = findLocked(c, uFormat);
        if (it != c.entries.end() && it->hMem == hMem) return hMem;
        if (uFormat == 0 || !hMem || !platform::GiveGlobalToClipboard(hMem)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        if (it != c.entries.end())
            hReplaced = std::exchange(it->hMem, hMem);
        else
            c.entries.push_back(Entry{uFormat, hMem});
    }
    if (hReplaced) {
        platform::TakeGlobalFromClipboard(hReplaced);
        GlobalFree(hReplaced);
    }
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat) {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    if (!heldByCaller(c)) return nullptr;
    auto it = findLocked(c, uFormat);
    return it == c.entries.end() ? nullptr : it->hMem;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    return findLocked(c, format) != c.entries.end();
}

HWND GetClipboardOwner() {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    return IsWindow(c.owner) ? c.owner : nullptr;
}

namespace platform {

bool PutOnClipboard(const ClipboardFormat* pFormats, size_t nFormats, void* pObject, void (*pfnRelease)(void*)) {
    Removed added;  // the copies, freed if they cannot all go on
    for (size_t i = 0; i < nFormats; ++i) {
        HGLOBAL hCopy = DuplicateGlobal(pFormats[i].hMem);
        if (!hCopy) return false;
        GiveGlobalToClipboard(hCopy);
        added.entries.push_back(Entry{pFormats[i].format, hCopy});
    }
    Removed removed;
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    if (openLocked(c)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    takeAllLocked(c, removed);
    c.entries = std::move(added.entries);
    added.entries.clear();
    c.owner = nullptr;
    c.object = pObject;
    c.releaseObject = pfnRelease;
    return true;
}

void* ClipboardObject() {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    return c.object;
}

void ForgetClipboardObject(void* pObject) {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    if (c.object == pObject) {
        c.object = nullptr;
        c.releaseObject = nullptr;
    }
}

HGLOBAL CopyClipboardData(UINT format) {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    auto it = findLocked(c, format);
    return it == c.entries.end() ? nullptr : DuplicateGlobal(it->hMem);
}

}  // namespace platform
