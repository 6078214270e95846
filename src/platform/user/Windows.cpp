// The window table, the per-thread message queues and the window calls.
//
// Sections: table and queues; painting state; classes and creation;
// destruction; messages; attributes; show state and placement; coordinates,
// focus and the screen; scrolling; watching windows go.
//
// One lock guards the table, the classes and every queue. It is never held
// while a window procedure runs, since procedures call back into these
// functions.
#include "platform/user/Windows.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/crt/Crt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/Painting.h"
#include "platform/shared/NoDestructor.h"

namespace {

// ---- Table and queues -------------------------------------------------------

struct Window {
    std::shared_ptr<const WindowProc> proc;  // shared, so a running call survives a replacement
    std::thread::id owner;
    HWND parent = nullptr;
    std::vector<HWND> children;  // in creation order
    std::string className;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    RECT rect{};                 // current rectangle
    RECT normal{};               // rectangle of the normal state
    POINT minPos{-1, -1};
    POINT maxPos{-1, -1};
    bool restoreToMax = false;  // a minimized window restores to maximized
    bool destroying = false;
    RECT update{};               // bounding box of what is to be painted; empty when nothing is
    bool erase = false;          // the background is to be erased first
    struct ScrollBar {
        int pos = 0;
        int min = 0;
        int max = 100;
    } scroll[2];                 // SB_HORZ, SB_VERT
};

struct Queue {
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
    HWND focus = nullptr;
    std::vector<HWND> needsPaint;  // this thread's windows with an update rectangle, oldest first
    std::condition_variable ready;
};

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return crt::_stricmp(a.c_str(), b.c_str()) < 0; }
};

// Never destroyed: windows may be destroyed or queried by static
// destructors while the process exits.
struct WindowSystem {
    std::mutex lock;
    std::unordered_map<HWND, Window> windows;
    std::unordered_map<std::thread::id, std::unique_ptr<Queue>> queues;
    std::vector<HWND> topLevel;  // in creation order
    std::map<std::string, WindowProcFactory, NoCaseLess> classes;
    std::map<const void*, WindowRemovalWatcher> removalWatchers;
    uintptr_t lastHandle = 0xFFFF;
    ATOM lastAtom = 0xC000;
};

WindowSystem& windowSystem() {
    static NoDestructor<WindowSystem> s;
    return *s;
}

Window* findLocked(WindowSystem& s, HWND hWnd) {
    auto it = s.windows.find(hWnd);
    return it == s.windows.end() ? nullptr : &it->second;
}

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
    if (auto q = s.queues.find(window->owner); q != s.queues.end()) {
        std::erase_if(q->second->posted, [hWnd](const MSG& m) { return m.hwnd == hWnd; });
        std::erase(q->second->needsPaint, hWnd);
        if (q->second->focus == hWnd) q->second->focus = nullptr;
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

void removeWindow(WindowSystem& s, HWND hWnd) {
    std::shared_ptr<const WindowProc> proc;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        proc = removeLocked(s, hWnd);
    }
    if (!proc) return;
    proc.reset();
    notifyRemoved(s, {hWnd});
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

Queue& currentQueueLocked(WindowSystem& s) {
    thread_local ThreadExit exitGuard;
    (void)exitGuard;
    std::unique_ptr<Queue>& q = s.queues[std::this_thread::get_id()];
    if (!q) q = std::make_unique<Queue>();
    return *q;
}

DWORD tickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

bool matches(const MSG& m, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (hWnd && m.hwnd != hWnd) return false;
    if (wMsgFilterMin == 0 && wMsgFilterMax == 0) return true;
    return m.message >= wMsgFilterMin && m.message <= wMsgFilterMax;
}

// Takes the first matching posted message, or else WM_QUIT when posted, or
// else WM_PAINT for a window with an update rectangle (which stays until
// the window is validated).
bool takeLocked(Queue& q, LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, bool bRemove) {
    auto it = std::find_if(q.posted.begin(), q.posted.end(),
                           [&](const MSG& m) { return matches(m, hWnd, wMsgFilterMin, wMsgFilterMax); });
    if (it != q.posted.end()) {
        *lpMsg = *it;
        if (bRemove) q.posted.erase(it);
        return true;
    }
    if (q.quit) {
        *lpMsg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, tickCount(), {0, 0}};
        if (bRemove) q.quit = false;
        return true;
    }
    for (HWND hPaint : q.needsPaint) {
        MSG paint{hPaint, WM_PAINT, 0, 0, tickCount(), {0, 0}};
        if (!matches(paint, hWnd, wMsgFilterMin, wMsgFilterMax)) continue;
        *lpMsg = paint;
        return true;
    }
    return false;
}

// ---- Painting state -----------------------------------------------------------

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

// The window and all its ancestors have WS_VISIBLE.
bool visibleLocked(WindowSystem& s, const Window* w) {
    for (; w; w = findLocked(s, w->parent))
        if (!(w->style & WS_VISIBLE)) return false;
    return true;
}

// Adds the rectangle (client coordinates; null: all) to the window's update
// rectangle, then to its visible children's: to all of them with
// allChildren, else only when the window lacks WS_CLIPCHILDREN. The caller
// has checked that the window is visible.
void invalidateLocked(WindowSystem& s, HWND hWnd, Window& w, const RECT* lpRect, bool bErase, bool allChildren) {
    RECT r = lpRect ? intersection(*lpRect, clientOf(w)) : clientOf(w);
    if (isEmpty(r)) return;
    if (isEmpty(w.update)) {
        if (auto q = s.queues.find(w.owner); q != s.queues.end()) {
            q->second->needsPaint.push_back(hWnd);
            q->second->ready.notify_one();
        }
    }
    w.update = unionOf(w.update, r);
    w.erase = w.erase || bErase;
    if (!allChildren && (w.style & WS_CLIPCHILDREN)) return;
    for (HWND hChild : w.children) {
        Window* c = findLocked(s, hChild);
        if (!c || !(c->style & WS_VISIBLE)) continue;
        RECT inChild{r.left - c->rect.left, r.top - c->rect.top, r.right - c->rect.left, r.bottom - c->rect.top};
        invalidateLocked(s, hChild, *c, &inChild, bErase, allChildren);
    }
}

void validateLocked(WindowSystem& s, HWND hWnd, Window& w) {
    if (isEmpty(w.update)) return;
    w.update = RECT{};
    w.erase = false;
    if (auto q = s.queues.find(w.owner); q != s.queues.end()) std::erase(q->second->needsPaint, hWnd);
}

// A hidden window has nothing to paint, nor have its descendants.
void validateTreeLocked(WindowSystem& s, HWND hWnd, Window& w) {
    validateLocked(s, hWnd, w);
    for (HWND hChild : w.children)
        if (Window* c = findLocked(s, hChild)) validateTreeLocked(s, hChild, *c);
}

// ---- Classes and creation ---------------------------------------------------

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
        window.style = dwStyle & ~(WS_MINIMIZE | WS_MAXIMIZE);
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
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hWnd);
    if (!window) return nullptr;
    if (visibleLocked(s, window)) invalidateLocked(s, hWnd, *window, nullptr, true, true);
    return hWnd;
}

// ---- Destruction ------------------------------------------------------------

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

// Runs f on the window under the lock; fallback when hWnd is not a window.
template <class F, class R>
R withWindow(HWND hWnd, R fallback, F f) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hWnd);
    return window ? f(*window) : fallback;
}

// ---- Show state and placement ------------------------------------------------

constexpr int kDefaultScreenWidth = 1024;
constexpr int kDefaultScreenHeight = 768;
constexpr int kBorder = 1;
constexpr int kMinimizedWidth = 160;
constexpr int kMinimizedHeight = 24;
std::atomic<int> screenWidth{kDefaultScreenWidth};
std::atomic<int> screenHeight{kDefaultScreenHeight};

WPARAM sizeTypeOf(DWORD style) {
    if (style & WS_MINIMIZE) return SIZE_MINIMIZED;
    if (style & WS_MAXIMIZE) return SIZE_MAXIMIZED;
    return SIZE_RESTORED;
}

void notifyMoved(HWND hWnd, const RECT& old, const RECT& now, WPARAM sizeType) {
    int width = now.right - now.left, height = now.bottom - now.top;
    if (old.left != now.left || old.top != now.top) SendMessageA(hWnd, WM_MOVE, 0, MAKELPARAM(now.left, now.top));
    if (old.right - old.left != width || old.bottom - old.top != height)
        SendMessageA(hWnd, WM_SIZE, sizeType, MAKELPARAM(width, height));
}

// The rectangle the window's state gives it.
RECT stateRectLocked(WindowSystem& s, const Window& w) {
    if (w.style & WS_MINIMIZE) {
        POINT at = (w.minPos.x == -1 && w.minPos.y == -1) ? POINT{-32000, -32000} : w.minPos;
        return RECT{at.x, at.y, at.x + kMinimizedWidth, at.y + kMinimizedHeight};
    }
    if (w.style & WS_MAXIMIZE) {
        if (const Window* parent = findLocked(s, w.parent))
            return RECT{0, 0, parent->rect.right - parent->rect.left, parent->rect.bottom - parent->rect.top};
        int left = w.maxPos.x == -1 ? -kBorder : w.maxPos.x;
        int top = w.maxPos.y == -1 ? -kBorder : w.maxPos.y;
        return RECT{left, top, left + screenWidth + 2 * kBorder, top + screenHeight + 2 * kBorder};
    }
    return w.normal;
}

enum class Show { Hide, Keep, Normal, Restore, Minimize, Maximize, Invalid };

Show showOf(int nCmdShow) {
    switch (nCmdShow) {
    case SW_HIDE: return Show::Hide;
    case SW_SHOW:
    case SW_SHOWNA: return Show::Keep;
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE:
    case SW_SHOWDEFAULT: return Show::Normal;
    case SW_RESTORE: return Show::Restore;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: return Show::Minimize;
    case SW_SHOWMAXIMIZED: return Show::Maximize;
    default: return Show::Invalid;
    }
}

// Applies a show command; with a placement, its fields are taken first and
// its flag decides what a minimized window restores to.
BOOL applyShow(HWND hWnd, int nCmdShow, const WINDOWPLACEMENT* placement) {
    Show show = showOf(nCmdShow);
    if (show == Show::Invalid) return FALSE;
    WindowSystem& s = windowSystem();
    RECT old{}, now{};
    BOOL wasVisible = FALSE;
    WPARAM sizeType = SIZE_RESTORED;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        Window* w = findLocked(s, hWnd);
        if (!w) return FALSE;
        wasVisible = (w->style & WS_VISIBLE) != 0;
        if (placement) {
            w->normal = placement->rcNormalPosition;
            w->minPos = placement->ptMinPosition;
            w->maxPos = placement->ptMaxPosition;
            w->restoreToMax = (placement->flags & WPF_RESTORETOMAXIMIZED) != 0;
        }
        DWORD state = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
        switch (show) {
        case Show::Hide: w->style &= ~WS_VISIBLE; break;
        case Show::Keep: break;
        case Show::Normal: state = 0; break;
        case Show::Restore: state = (state & WS_MINIMIZE) && w->restoreToMax ? WS_MAXIMIZE : 0; break;
        case Show::Minimize:
            if (!placement && !(state & WS_MINIMIZE)) w->restoreToMax = (state & WS_MAXIMIZE) != 0;
            state = WS_MINIMIZE;
            break;
        case Show::Maximize: state = WS_MAXIMIZE; break;
        case Show::Invalid: break;
        }
        if (show != Show::Hide) w->style |= WS_VISIBLE;
        w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | state;
        old = w->rect;
        now = w->rect = stateRectLocked(s, *w);
        sizeType = sizeTypeOf(w->style);
        bool resized = old.right - old.left != now.right - now.left || old.bottom - old.top != now.bottom - now.top;
        if (!(w->style & WS_VISIBLE))
            validateTreeLocked(s, hWnd, *w);
        else if ((!wasVisible || resized) && visibleLocked(s, w))
            invalidateLocked(s, hWnd, *w, nullptr, true, !wasVisible);
    }
    notifyMoved(hWnd, old, now, sizeType);
    return wasVisible;
}

BOOL setText(HWND hWnd, const char* text) {
    return withWindow(hWnd, FALSE, [text](Window& w) {
        w.text = text ? text : "";
        return TRUE;
    });
}

}  // namespace

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

BOOL DestroyWindow(HWND hWnd) {
    WindowSystem& s = windowSystem();
    {
        std::lock_guard<std::mutex> guard(s.lock);
        Window* window = findLocked(s, hWnd);
        if (!window || window->destroying || window->owner != std::this_thread::get_id()) return FALSE;
        window->destroying = true;
    }
    destroyMarked(s, hWnd);
    return TRUE;
}

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (BeginPaint(hWnd, &ps)) EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 0;  // there are no class brushes: the background stays as it is
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return PlatformDefaultCtlColor(reinterpret_cast<HDC>(wParam), COLOR_WINDOW);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return PlatformDefaultCtlColor(reinterpret_cast<HDC>(wParam), COLOR_3DFACE);
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs) setText(hWnd, cs->lpszName);
        return TRUE;
    }
    case WM_SETTEXT:
        return setText(hWnd, reinterpret_cast<const char*>(lParam));
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0) return 0;
        return withWindow(hWnd, LRESULT(0), [&](Window& w) {
            size_t n = std::min(w.text.size(), static_cast<size_t>(wParam) - 1);
            w.text.copy(buffer, n);
            buffer[n] = '\0';
            return static_cast<LRESULT>(n);
        });
    }
    case WM_GETTEXTLENGTH:
        return withWindow(hWnd, LRESULT(0), [](Window& w) { return static_cast<LRESULT>(w.text.size()); });
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    default:
        return 0;
    }
}

// ---- Messages ---------------------------------------------------------------

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<const WindowProc> proc =
        withWindow(hWnd, std::shared_ptr<const WindowProc>(), [](Window& w) { return w.proc; });
    return proc ? (*proc)(hWnd, Msg, wParam, lParam) : 0;
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Queue* q;
    if (!hWnd) {
        q = &currentQueueLocked(s);
    } else {
        Window* window = findLocked(s, hWnd);
        if (!window) return FALSE;
        auto it = s.queues.find(window->owner);
        if (it == s.queues.end()) return FALSE;
        q = it->second.get();
    }
    q->posted.push_back(MSG{hWnd, Msg, wParam, lParam, tickCount(), {0, 0}});
    q->ready.notify_one();
    return TRUE;
}

BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg) return -1;
    WindowSystem& s = windowSystem();
    std::unique_lock<std::mutex> lock(s.lock);
    Queue& q = currentQueueLocked(s);
    for (;;) {
        if (hWnd && !findLocked(s, hWnd)) return -1;
        if (takeLocked(q, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true)) return lpMsg->message == WM_QUIT ? 0 : 1;
        q.ready.wait(lock);
    }
}

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) return FALSE;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    if (hWnd && !findLocked(s, hWnd)) return FALSE;
    return takeLocked(currentQueueLocked(s), lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg & PM_REMOVE);
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg || !lpMsg->hwnd) return 0;
    return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

void PostQuitMessage(int nExitCode) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Queue& q = currentQueueLocked(s);
    q.quit = true;
    q.quitCode = nExitCode;
    q.ready.notify_one();
}

int PlatformPumpMessages() {
    WindowSystem& s = windowSystem();
    int count = 0;
    for (;;) {
        MSG msg{};
        {
            std::lock_guard<std::mutex> guard(s.lock);
            Queue& q = currentQueueLocked(s);
            if (!q.posted.empty()) {
                msg = q.posted.front();
                q.posted.pop_front();
            } else if (!q.needsPaint.empty()) {
                msg = MSG{q.needsPaint.front(), WM_PAINT, 0, 0, tickCount(), {0, 0}};
            } else {
                return count;
            }
        }
        DispatchMessageA(&msg);
        ++count;
        if (msg.message != WM_PAINT) continue;
        // A handler that never validates would be painted forever; the pump
        // paints each request once.
        std::lock_guard<std::mutex> guard(s.lock);
        if (Window* window = findLocked(s, msg.hwnd)) validateLocked(s, msg.hwnd, *window);
    }
}

// ---- Attributes -------------------------------------------------------------

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

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    if (!lpRect) return FALSE;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hWnd);
    if (!window) return FALSE;
    RECT rect = window->rect;
    for (Window* parent = findLocked(s, window->parent); parent; parent = findLocked(s, parent->parent)) {
        rect.left += parent->rect.left;
        rect.right += parent->rect.left;
        rect.top += parent->rect.top;
        rect.bottom += parent->rect.top;
    }
    *lpRect = rect;
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    if (!lpRect) return FALSE;
    return withWindow(hWnd, FALSE, [lpRect](Window& w) {
        *lpRect = RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
        return TRUE;
    });
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    RECT old{};
    WPARAM sizeType = SIZE_RESTORED;
    {
        WindowSystem& s = windowSystem();
        std::lock_guard<std::mutex> guard(s.lock);
        Window* w = findLocked(s, hWnd);
        if (!w) return FALSE;
        old = w->rect;
        w->rect = RECT{X, Y, X + nWidth, Y + nHeight};
        if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normal = w->rect;
        sizeType = sizeTypeOf(w->style);
        bool resized = old.right - old.left != nWidth || old.bottom - old.top != nHeight;
        if (bRepaint && resized && visibleLocked(s, w)) invalidateLocked(s, hWnd, *w, nullptr, true, false);
    }
    notifyMoved(hWnd, old, RECT{X, Y, X + nWidth, Y + nHeight}, sizeType);
    return TRUE;
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

// ---- Show state and placement -------------------------------------------------

BOOL ShowWindow(HWND hWnd, int nCmdShow) { return applyShow(hWnd, nCmdShow, nullptr); }

BOOL IsWindowVisible(HWND hWnd) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hWnd);
    if (!window) return FALSE;
    for (; window; window = findLocked(s, window->parent))
        if (!(window->style & WS_VISIBLE)) return FALSE;
    return TRUE;
}

BOOL IsIconic(HWND hWnd) { return (GetWindowLongA(hWnd, GWL_STYLE) & WS_MINIMIZE) != 0; }

BOOL IsZoomed(HWND hWnd) { return (GetWindowLongA(hWnd, GWL_STYLE) & WS_MAXIMIZE) != 0; }

BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl) {
    if (!lpwndpl) return FALSE;
    return withWindow(hWnd, FALSE, [lpwndpl](Window& w) {
        bool minimized = (w.style & WS_MINIMIZE) != 0;
        lpwndpl->length = sizeof(WINDOWPLACEMENT);
        lpwndpl->flags = minimized && w.restoreToMax ? WPF_RESTORETOMAXIMIZED : 0;
        lpwndpl->showCmd = minimized ? SW_SHOWMINIMIZED : (w.style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        lpwndpl->ptMinPosition = w.minPos;
        lpwndpl->ptMaxPosition = w.maxPos;
        lpwndpl->rcNormalPosition = w.normal;
        return TRUE;
    });
}

BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* lpwndpl) {
    if (!lpwndpl || lpwndpl->length != sizeof(WINDOWPLACEMENT) || !IsWindow(hWnd)) return FALSE;
    applyShow(hWnd, static_cast<int>(lpwndpl->showCmd), lpwndpl);
    return TRUE;
}

// ---- Coordinates, focus and the screen ------------------------------------------

BOOL ClientToScreen(HWND hWnd, POINT* lpPoint) {
    RECT rect;
    if (!lpPoint || !GetWindowRect(hWnd, &rect)) return FALSE;
    lpPoint->x += rect.left;
    lpPoint->y += rect.top;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, POINT* lpPoint) {
    RECT rect;
    if (!lpPoint || !GetWindowRect(hWnd, &rect)) return FALSE;
    lpPoint->x -= rect.left;
    lpPoint->y -= rect.top;
    return TRUE;
}

HWND SetFocus(HWND hWnd) {
    WindowSystem& s = windowSystem();
    HWND previous;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (hWnd && !findLocked(s, hWnd)) return nullptr;
        Queue& q = currentQueueLocked(s);
        previous = std::exchange(q.focus, hWnd);
    }
    if (previous == hWnd) return previous;
    if (previous) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd) SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    return currentQueueLocked(s).focus;
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXMAXIMIZED: return screenWidth;
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
    case SM_CYMAXIMIZED: return screenHeight;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXMINIMIZED: return kMinimizedWidth;
    case SM_CYMINIMIZED: return kMinimizedHeight;
    default: return 0;
    }
}

void PlatformSetScreenSize(int cx, int cy) {
    bool valid = cx > 0 && cy > 0;
    screenWidth = valid ? cx : kDefaultScreenWidth;
    screenHeight = valid ? cy : kDefaultScreenHeight;
}

// ---- Painting state -------------------------------------------------------------

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* w = findLocked(s, hWnd);
    if (!w) return FALSE;
    if (visibleLocked(s, w)) invalidateLocked(s, hWnd, *w, lpRect, bErase, false);
    return TRUE;
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* w = findLocked(s, hWnd);
    if (!w) return FALSE;
    const RECT& u = w->update;
    if (!lpRect || (lpRect->left <= u.left && lpRect->top <= u.top && lpRect->right >= u.right &&
                    lpRect->bottom >= u.bottom))
        validateLocked(s, hWnd, *w);
    return TRUE;
}

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL) {
    return withWindow(hWnd, FALSE, [lpRect](Window& w) {
        if (lpRect) *lpRect = w.update;
        return isEmpty(w.update) ? FALSE : TRUE;
    });
}

BOOL PlatformTakeUpdate(HWND hWnd, LPRECT lpRect, BOOL* pbErase) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* w = findLocked(s, hWnd);
    if (!w) return FALSE;
    if (lpRect) *lpRect = w->update;
    if (pbErase) *pbErase = w->erase && !isEmpty(w->update);
    validateLocked(s, hWnd, *w);
    return TRUE;
}

// ---- Scrolling -----------------------------------------------------------------------

int GetScrollPos(HWND hWnd, int nBar) {
    if (nBar != SB_HORZ && nBar != SB_VERT) return 0;
    return withWindow(hWnd, 0, [nBar](Window& w) { return w.scroll[nBar].pos; });
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL) {
    if (nBar != SB_HORZ && nBar != SB_VERT) return 0;
    return withWindow(hWnd, 0, [nBar, nPos](Window& w) {
        Window::ScrollBar& bar = w.scroll[nBar];
        return std::exchange(bar.pos, std::clamp(nPos, bar.min, bar.max));
    });
}

BOOL GetScrollRange(HWND hWnd, int nBar, int* lpMinPos, int* lpMaxPos) {
    if ((nBar != SB_HORZ && nBar != SB_VERT) || !lpMinPos || !lpMaxPos) return FALSE;
    return withWindow(hWnd, FALSE, [&](Window& w) {
        *lpMinPos = w.scroll[nBar].min;
        *lpMaxPos = w.scroll[nBar].max;
        return TRUE;
    });
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL) {
    if ((nBar != SB_HORZ && nBar != SB_VERT) || nMinPos > nMaxPos) return FALSE;
    return withWindow(hWnd, FALSE, [&](Window& w) {
        Window::ScrollBar& bar = w.scroll[nBar];
        bar.min = nMinPos;
        bar.max = nMaxPos;
        bar.pos = std::clamp(bar.pos, nMinPos, nMaxPos);
        return TRUE;
    });
}

// ---- Watching windows go ----------------------------------------------------------------

void PlatformWatchWindowRemoval(const void* owner, WindowRemovalWatcher watcher) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    if (watcher)
        s.removalWatchers[owner] = std::move(watcher);
    else
        s.removalWatchers.erase(owner);
}
