// The process's clipboard, and its text on the desktop's clipboard.
//
// Sections: the process's clipboard; the desktop's text; the calls.
#include "platform/user/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/Errors.h"
#include "platform/shared/NoDestructor.h"
#include "platform/user/UserDriver.h"
#include "platform/user/Windows.h"

namespace {

// ---- The process's clipboard ------------------------------------------------------------

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
    bool desktopRead = false;  // the desktop's text was fetched since the clipboard was opened
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

// ---- The desktop's text ------------------------------------------------------------------

// How long a read waits for the program that holds the desktop's clipboard.
constexpr DWORD kDesktopAnswerTime = 1000;

bool onDesktop() { return PlatformUserDriver().pGetClipboardText && PlatformIsDisplayThread(); }

bool callerHolds() {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    return heldByCaller(c);
}

// A block's text, up to its first zero byte.
std::string textOf(HGLOBAL hMem) {
    std::string text;
    if (const auto* p = static_cast<const char*>(GlobalLock(hMem))) {
        text.assign(p, strnlen(p, GlobalSize(hMem)));
        GlobalUnlock(hMem);
    }
    return text;
}

// CR LF line ends become LF, and the code page's text UTF-8.
std::string toDesktop(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
    return PlatformToUtf8(lines);
}

// A CF_TEXT block of the desktop's text: cut at a zero byte, lone LFs as CR LF.
HGLOBAL fromDesktop(const std::string& text) {
    std::string lines;
    size_t end = std::min(text.size(), text.find('\0'));
    lines.reserve(end + end / 16);
    for (size_t i = 0; i < end; ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
        lines += text[i];
    }
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, lines.size() + 1);
    if (auto* p = static_cast<char*>(GlobalLock(hMem))) {
        std::memcpy(p, lines.c_str(), lines.size() + 1);
        GlobalUnlock(hMem);
    }
    return hMem;
}

// Puts the text (null: nothing) on the desktop's clipboard, from the display's thread.
void offerToDesktop(const std::string* text) {
    if (!onDesktop()) return;
    if (auto set = PlatformUserDriver().pSetClipboardText) set(text ? toDesktop(*text).c_str() : nullptr);
}

// Whether a question about CF_TEXT should fetch the desktop's text first:
// on the display's thread, while the clipboard is closed or at the first
// question since it was opened.
bool wantsDesktopText(UINT format) {
    if (format != CF_TEXT || !onDesktop()) return false;
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    if (!openLocked(c)) return true;
    return !std::exchange(c.desktopRead, true);
}

// While another program holds the desktop's clipboard, its text replaces
// what the process's clipboard held (nothing, when it has no text).
void fetchDesktopText() {
    std::string text;
    DisplayClipboard answer = PlatformUserDriver().pGetClipboardText(kDesktopAnswerTime, &text);
    if (answer == DisplayClipboard::Own) return;
    HGLOBAL hText = answer == DisplayClipboard::Text ? fromDesktop(text) : nullptr;
    if (hText) platform::GiveGlobalToClipboard(hText);
    Removed removed;
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    takeAllLocked(c, removed);
    if (hText) c.entries.push_back(Entry{CF_TEXT, hText});
    c.owner = nullptr;
}

void refreshText(UINT format) {
    if (wantsDesktopText(format)) fetchDesktopText();
}

}  // namespace

// ---- The calls ------------------------------------------------------------------------------

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
    c.desktopRead = false;
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
    {
        Removed removed;
        Clipboard& c = clipboard();
        std::lock_guard<std::mutex> guard(c.lock);
        if (!heldByCaller(c)) return FALSE;
        takeAllLocked(c, removed);
        c.owner = c.holderWindow;
        c.desktopRead = true;  // what is on it now is this process's
    }
    offerToDesktop(nullptr);
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem) {
    HGLOBAL hReplaced = nullptr;
    std::string text;
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
        if (uFormat == CF_TEXT) text = textOf(hMem);
    }
    if (uFormat == CF_TEXT) offerToDesktop(&text);
    if (hReplaced) {
        platform::TakeGlobalFromClipboard(hReplaced);
        GlobalFree(hReplaced);
    }
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat) {
    if (!callerHolds()) return nullptr;
    refreshText(uFormat);
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    if (!heldByCaller(c)) return nullptr;
    auto it = findLocked(c, uFormat);
    return it == c.entries.end() ? nullptr : it->hMem;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    refreshText(format);
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
    std::string text;
    bool hasText = false;
    {
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
        if (auto it = findLocked(c, CF_TEXT); it != c.entries.end()) {
            text = textOf(it->hMem);
            hasText = true;
        }
    }
    offerToDesktop(hasText ? &text : nullptr);
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
    refreshText(format);
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> guard(c.lock);
    auto it = findLocked(c, format);
    return it == c.entries.end() ? nullptr : DuplicateGlobal(it->hMem);
}

}  // namespace platform
