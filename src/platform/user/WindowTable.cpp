// The window table: its records and queues, window classes, creation and
// destruction, and the attributes a window keeps (text, parent, styles,
// ids).
//
// Sections: the table; rectangles; classes; creation; destruction;
// attributes; watching windows go.
#include "platform/user/WindowTable.h"

#include <algorithm>
#include <utility>

#include "platform/crt/Crt.h"
#include "platform/kernel/CodePage.h"
#include "platform/shared/NoDestructor.h"
#include "platform/user/UserDriver.h"

namespace user {

// ---- The table ----------------------------------------------------------------------

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const {
    return crt::_stricmp(a.c_str(), b.c_str()) < 0;
}

WindowSystem& windowSystem() {
    static NoDestructor<WindowSystem> s;
    return *s;
}

Window* findLocked(WindowSystem& s, HWND hWnd) {
    auto it = s.windows.find(hWnd);
    return it == s.windows.end() ? nullptr : &it->second;
}

Queue* ownerQueueLocked(WindowSystem& s, const Window& w) {
    auto it = s.queues.find(w.owner);
    return it == s.queues.end() ? nullptr : it->second.get();
}

HWND rootLocked(WindowSystem& s, HWND hWnd) {
    for (Window* w = findLocked(s, hWnd); w && w->parent; w = findLocked(s, hWnd)) hWnd = w->parent;
    return hWnd;
}

void Wakeup::Signal() {
    {
        std::lock_guard<std::mutex> guard(lock);
        set = true;
    }
    cv.notify_all();
}

bool Wakeup::Take() {
    std::lock_guard<std::mutex> guard(lock);
    return std::exchange(set, false);
}

void Wakeup::Wait(DWORD dwMilliseconds) {
    std::unique_lock<std::mutex> guard(lock);
    if (dwMilliseconds == INFINITE)
        cv.wait(guard, [this] { return set; });
    else
        cv.wait_for(guard, std::chrono::milliseconds(dwMilliseconds), [this] { return set; });
    set = false;
}

void wakeLocked(Queue& q) {
    q.wakeup->Signal();
    if (auto wake = PlatformUserDriver().pWake) wake();
}

DWORD tickCount() {
    auto now = Clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

namespace {

// Removes the window from the table: out of its parent's children, its
// remaining children orphaned, its queued messages discarded. Returns the
// procedure for the caller to release after unlocking, since what it holds
// may call back in when destroyed.
std::shared_ptr<const WindowProc> removeLocked(WindowSystem& s, HWND hWnd) {
    Window* window = findLocked(s, hWnd);
    if (!window) return nullptr;
    std::shared_ptr<const WindowProc> proc = std::move(window->proc);
    if (Window* parent = findLocked(s, window->parent))
        std::erase(parent->children, hWnd);
    else
        std::erase(s.topLevel, hWnd);
    for (HWND child : window->children)
        if (Window* c = findLocked(s, child)) {
            c->parent = nullptr;
            s.topLevel.push_back(child);
        }
    if (Queue* q = ownerQueueLocked(s, *window)) {
        std::erase_if(q->posted, [hWnd](const MSG& m) { return m.hwnd == hWnd; });
        std::erase_if(q->cooked, [hWnd](const MSG& m) { return m.hwnd == hWnd; });
        std::erase(q->needsPaint, hWnd);
        std::erase_if(q->timers, [hWnd](const Timer& t) { return t.hWnd == hWnd; });
        forgetWindowLocked(*q, hWnd);
    }
    s.windows.erase(hWnd);
    return proc;
}

void notifyRemoved(WindowSystem& s, const std::vector<HWND>& gone) {
    if (gone.empty()) return;
    std::vector<WindowRemovalWatcher> watchers;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        for (const auto& entry : s.removalWatchers) watchers.push_back(entry.second);
    }
    for (const WindowRemovalWatcher& watcher : watchers)
        for (HWND hWnd : gone) watcher(hWnd);
}

// Drops the thread's queue and windows when the thread ends.
struct ThreadExit {
    ~ThreadExit() {
        WindowSystem& s = windowSystem();
        std::vector<std::shared_ptr<const WindowProc>> procs;
        std::vector<HWND> owned;
        {
            std::lock_guard<std::mutex> guard(s.lock);
            std::thread::id self = std::this_thread::get_id();
            for (const auto& [hWnd, window] : s.windows)
                if (window.owner == self) owned.push_back(hWnd);
            for (HWND hWnd : owned) procs.push_back(removeLocked(s, hWnd));
            s.queues.erase(self);
        }
        procs.clear();
        notifyRemoved(s, owned);
    }
};

}  // namespace

Queue& currentQueueLocked(WindowSystem& s) {
    thread_local ThreadExit exitGuard;
    (void)exitGuard;
    std::unique_ptr<Queue>& q = s.queues[std::this_thread::get_id()];
    if (!q) q = std::make_unique<Queue>();
    return *q;
}

void removeWindow(WindowSystem& s, HWND hWnd) {
    std::shared_ptr<const WindowProc> proc;
    bool onDisplay = false;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (Window* w = findLocked(s, hWnd)) onDisplay = w->onDisplay;
        proc = removeLocked(s, hWnd);
    }
    if (!proc) return;
    proc.reset();
    if (onDisplay)
        if (auto destroy = PlatformUserDriver().pDestroyWindow) destroy(hWnd);
    notifyRemoved(s, {hWnd});
}

// ---- Rectangles -----------------------------------------------------------------------

bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT intersection(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return isEmpty(r) ? RECT{} : r;
}

RECT unionOf(const RECT& a, const RECT& b) {
    if (isEmpty(a)) return b;
    if (isEmpty(b)) return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

RECT clientOf(const Window& w) { return RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top}; }

bool visibleLocked(WindowSystem& s, const Window* w) {
    for (; w; w = findLocked(s, w->parent))
        if (!(w->style & WS_VISIBLE)) return false;
    return true;
}

RECT screenRectLocked(WindowSystem& s, const Window& w) {
    RECT rect = w.rect;
    for (Window* parent = findLocked(s, w.parent); parent; parent = findLocked(s, parent->parent)) {
        rect.left += parent->rect.left;
        rect.right += parent->rect.left;
        rect.top += parent->rect.top;
        rect.bottom += parent->rect.top;
    }
    return rect;
}

}  // namespace user

using namespace user;

// ---- Classes ----------------------------------------------------------------------------

ATOM RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (!lpWndClass || !lpWndClass->lpfnWndProc) return 0;
    WNDPROC proc = lpWndClass->lpfnWndProc;
    return PlatformRegisterClass(lpWndClass->lpszClassName, [proc] { return WindowProc(proc); });
}

ATOM PlatformRegisterClass(LPCSTR lpClassName, WindowProcFactory factory) {
    if (!lpClassName || !*lpClassName || !factory) return 0;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.classes.emplace(lpClassName, std::move(factory)).second) return 0;
    return ++s.lastAtom;
}

WindowProc PlatformNewClassProc(LPCSTR lpClassName) {
    if (!lpClassName) return {};
    WindowProcFactory factory;
    {
        WindowSystem& s = windowSystem();
        std::lock_guard<std::mutex> guard(s.lock);
        auto it = s.classes.find(lpClassName);
        if (it == s.classes.end()) return {};
        factory = it->second;
    }
    return factory();
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    if (!lpClassName) return FALSE;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.classes.erase(lpClassName) != 0;
}

// ---- Creation -----------------------------------------------------------------------------

namespace {

// A top-level window of the display's thread goes on the display.
void putOnDisplay(WindowSystem& s, HWND hWnd, const RECT& rect, LPCSTR lpWindowName) {
    const UserDriverFuncs& driver = PlatformUserDriver();
    std::string title = PlatformToUtf8(lpWindowName ? lpWindowName : "");
    if (!driver.pCreateWindow || !driver.pCreateWindow(hWnd, &rect, title.c_str())) return;
    std::lock_guard<std::mutex> guard(s.lock);
    if (Window* w = findLocked(s, hWnd)) w->onDisplay = true;
}

HWND createWindow(WindowProc proc, DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                  int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
    if (!proc) return nullptr;
    WindowSystem& s = windowSystem();
    HWND hWnd;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        Window* parent = nullptr;
        if (hWndParent && !(parent = findLocked(s, hWndParent))) return nullptr;
        hWnd = reinterpret_cast<HWND>(++s.lastHandle);
        Window window;
        window.proc = std::make_shared<const WindowProc>(std::move(proc));
        window.owner = std::this_thread::get_id();
        window.parent = hWndParent;
        window.className = lpClassName ? lpClassName : "";
        window.style = dwStyle & ~(WS_MINIMIZE | WS_MAXIMIZE | WS_VISIBLE);
        window.exStyle = dwExStyle;
        window.id = reinterpret_cast<LONG_PTR>(hMenu);
        window.rect = window.normal = RECT{X, Y, X + nWidth, Y + nHeight};
        s.windows.emplace(hWnd, std::move(window));
        if (parent)
            parent->children.push_back(hWnd);
        else
            s.topLevel.push_back(hWnd);
        currentQueueLocked(s);
    }
    if (!hWndParent && PlatformShowsNewTopLevel())
        putOnDisplay(s, hWnd, RECT{X, Y, X + nWidth, Y + nHeight}, lpWindowName);
    CREATESTRUCTA cs{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, Y, X,
                     static_cast<LONG>(dwStyle & ~(WS_MINIMIZE | WS_MAXIMIZE)),
                     lpWindowName, lpClassName, dwExStyle};
    if (!SendMessageA(hWnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
        removeWindow(s, hWnd);
        return nullptr;
    }
    if (SendMessageA(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hWnd);
        return nullptr;
    }
    // As on the original, the new window learns its size and place before
    // anything else happens to it.
    RECT rect;
    if (!withWindow(hWnd, false, [&rect](Window& w) { return rect = w.rect, true; })) return nullptr;
    SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rect.right - rect.left, rect.bottom - rect.top));
    SendMessageA(hWnd, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
    if ((dwStyle & WS_VISIBLE) && IsWindow(hWnd)) {
        ShowWindow(hWnd, SW_SHOWNA);  // shown as the style asks, without activating
    }
    return IsWindow(hWnd) ? hWnd : nullptr;
}

}  // namespace

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
    WindowProc proc = PlatformNewClassProc(lpClassName);
    if (!proc) return nullptr;
    return createWindow(std::move(proc), dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight,
                        hWndParent, hMenu, hInstance, lpParam);
}

HWND PlatformCreateWindowEx(WindowProc proc, DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, LPVOID lpParam) {
    return createWindow(std::move(proc), dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight,
                        hWndParent, hMenu, nullptr, lpParam);
}

WindowProc PlatformSetWindowProc(HWND hWnd, WindowProc proc) {
    if (!proc) return {};
    auto next = std::make_shared<const WindowProc>(std::move(proc));
    std::shared_ptr<const WindowProc> replaced;  // released after the lock, as in removeLocked
    return withWindow(hWnd, WindowProc(), [&](Window& w) {
        replaced = std::exchange(w.proc, next);
        return *replaced;
    });
}

BOOL IsWindow(HWND hWnd) {
    return withWindow(hWnd, FALSE, [](Window&) { return TRUE; });
}

// ---- Destruction ------------------------------------------------------------------------------

namespace {

// The first child not yet being destroyed, marked; null when none is left.
HWND nextChildToDestroy(WindowSystem& s, HWND hWnd) {
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hWnd);
    if (!window) return nullptr;
    for (HWND child : window->children) {
        Window* c = findLocked(s, child);
        if (c && !c->destroying) {
            c->destroying = true;
            return child;
        }
    }
    return nullptr;
}

void destroyMarked(WindowSystem& s, HWND hWnd) {
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    while (HWND child = nextChildToDestroy(s, hWnd)) destroyMarked(s, child);
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    removeWindow(s, hWnd);
}

}  // namespace

BOOL DestroyWindow(HWND hWnd) {
    WindowSystem& s = windowSystem();
    HWND hParent;
    bool visible;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        Window* window = findLocked(s, hWnd);
        if (!window || window->destroying || window->owner != std::this_thread::get_id()) return FALSE;
        window->destroying = true;
        hParent = window->parent;
        visible = visibleLocked(s, window);
    }
    if (visible && hParent) {
        RECT r;
        GetWindowRect(hWnd, &r);
        POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
        ScreenToClient(hParent, &corners[0]);
        ScreenToClient(hParent, &corners[1]);
        r = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        InvalidateRect(hParent, &r, TRUE);  // what it covered shows again
    }
    destroyMarked(s, hWnd);
    return TRUE;
}

// ---- Attributes ---------------------------------------------------------------------------------

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = '\0';
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                         reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthA(HWND hWnd) { return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0)); }

HWND GetParent(HWND hWnd) {
    return withWindow(hWnd, HWND(nullptr), [](Window& w) { return w.parent; });
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hWnd);
    if (!window) return nullptr;
    if (uCmd == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
    if (uCmd != GW_HWNDNEXT) return nullptr;
    Window* parent = findLocked(s, window->parent);
    const std::vector<HWND>& siblings = parent ? parent->children : s.topLevel;
    auto it = std::find(siblings.begin(), siblings.end(), hWnd);
    return it == siblings.end() || ++it == siblings.end() ? nullptr : *it;
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    if (!lpClassName || nMaxCount <= 0) return 0;
    return withWindow(hWnd, 0, [&](Window& w) {
        size_t n = std::min(w.className.size(), static_cast<size_t>(nMaxCount) - 1);
        w.className.copy(lpClassName, n);
        lpClassName[n] = '\0';
        return static_cast<int>(n);
    });
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex) {
    return withWindow(hWnd, LONG_PTR(0), [nIndex](Window& w) -> LONG_PTR {
        switch (nIndex) {
        case GWL_STYLE: return static_cast<LONG>(w.style);
        case GWL_EXSTYLE: return static_cast<LONG>(w.exStyle);
        case GWLP_ID: return w.id;
        case GWLP_USERDATA: return w.userData;
        default: return 0;
        }
    });
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    return withWindow(hWnd, LONG_PTR(0), [nIndex, dwNewLong](Window& w) -> LONG_PTR {
        LONG_PTR previous;
        switch (nIndex) {
        case GWL_STYLE:
            previous = static_cast<LONG>(w.style);
            w.style = static_cast<DWORD>(dwNewLong);
            return previous;
        case GWL_EXSTYLE:
            previous = static_cast<LONG>(w.exStyle);
            w.exStyle = static_cast<DWORD>(dwNewLong);
            return previous;
        case GWLP_ID:
            return std::exchange(w.id, dwNewLong);
        case GWLP_USERDATA:
            return std::exchange(w.userData, dwNewLong);
        default:
            return 0;
        }
    });
}

LONG GetWindowLongA(HWND hWnd, int nIndex) { return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex)); }

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, dwNewLong));
}

// ---- Watching windows go ------------------------------------------------------------------------

void PlatformWatchWindowRemoval(const void* owner, WindowRemovalWatcher watcher) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    if (watcher)
        s.removalWatchers[owner] = std::move(watcher);
    else
        s.removalWatchers.erase(owner);
}
