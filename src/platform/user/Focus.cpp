// Focus, activation and capture, each kept per thread as on the original,
// enabled and disabled windows, and the key state and pointer position that
// input leaves behind.
#include <utility>

#include "platform/user/WindowTable.h"

using namespace user;

namespace user {

void forgetWindowLocked(Queue& q, HWND hWnd) {
    if (q.focus == hWnd) q.focus = nullptr;
    if (q.active == hWnd) q.active = nullptr;
    if (q.capture == hWnd) q.capture = nullptr;
}

HWND activate(HWND hTop, WPARAM nState) {
    WindowSystem& s = windowSystem();
    HWND previous;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (hTop && !findLocked(s, hTop)) return nullptr;
        previous = std::exchange(currentQueueLocked(s).active, hTop);
    }
    if (previous == hTop) return previous;
    if (previous) SendMessageA(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hTop));
    if (hTop) SendMessageA(hTop, WM_ACTIVATE, nState, reinterpret_cast<LPARAM>(previous));
    return previous;
}

}  // namespace user

namespace {

// One of the calling thread's focus, active and capture windows.
HWND queueWindow(HWND Queue::*which) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    return currentQueueLocked(s).*which;
}

}  // namespace

HWND SetFocus(HWND hWnd) {
    WindowSystem& s = windowSystem();
    HWND previous;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (hWnd && !findLocked(s, hWnd)) return nullptr;
        Queue& q = currentQueueLocked(s);
        previous = std::exchange(q.focus, hWnd);
        if (hWnd) markStaleLocked(s, hWnd);  // a caret may move
        if (previous) markStaleLocked(s, previous);
    }
    if (previous == hWnd) return previous;
    if (previous) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd) SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() { return queueWindow(&Queue::focus); }

HWND SetActiveWindow(HWND hWnd) {
    HWND hTop = nullptr;
    if (hWnd) {
        WindowSystem& s = windowSystem();
        std::lock_guard<std::mutex> guard(s.lock);
        if (!findLocked(s, hWnd)) return nullptr;
        hTop = rootLocked(s, hWnd);
    }
    return activate(hTop, WA_ACTIVE);
}

HWND GetActiveWindow() { return queueWindow(&Queue::active); }

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    WindowSystem& s = windowSystem();
    bool wasDisabled;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        Window* w = findLocked(s, hWnd);
        if (!w) return FALSE;
        wasDisabled = (w->style & WS_DISABLED) != 0;
        w->style = bEnable ? (w->style & ~WS_DISABLED) : (w->style | WS_DISABLED);
    }
    if (wasDisabled != !bEnable) SendMessageA(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd) {
    return withWindow(hWnd, FALSE, [](Window& w) { return (w.style & WS_DISABLED) ? FALSE : TRUE; });
}

HWND SetCapture(HWND hWnd) {
    WindowSystem& s = windowSystem();
    HWND previous;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (hWnd && !findLocked(s, hWnd)) return nullptr;
        previous = std::exchange(currentQueueLocked(s).capture, hWnd);
    }
    if (previous && previous != hWnd)
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return previous;
}

BOOL ReleaseCapture() {
    SetCapture(nullptr);
    return TRUE;
}

HWND GetCapture() { return queueWindow(&Queue::capture); }

SHORT GetKeyState(int nVirtKey) {
    if (nVirtKey < 0 || nVirtKey > 255) return 0;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    BYTE state = currentQueueLocked(s).keys[nVirtKey];
    return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

BOOL GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    *lpPoint = s.cursor;
    return TRUE;
}
