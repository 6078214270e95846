// Where windows are: rectangles, moving and sizing, show states and
// placement, coordinates and the screen's metrics, and what the display
// reports of the top-level windows it shows.
//
// Sections: rectangles and moves; show state; placement; coordinates; the
// screen; changes made by the display.
#include <algorithm>
#include <atomic>

#include "platform/crt/Crt.h"
#include "platform/user/UserDriver.h"
#include "platform/user/WindowTable.h"

using namespace user;

namespace {

constexpr int kDefaultScreenWidth = 1024;
constexpr int kDefaultScreenHeight = 768;
constexpr int kBorder = 1;
constexpr int kMinimizedWidth = 160;
constexpr int kMinimizedHeight = 24;
std::atomic<int> screenWidth{kDefaultScreenWidth};
std::atomic<int> screenHeight{kDefaultScreenHeight};

// The screen's size and work area: the display's, or the virtual screen.
void screenSize(int* cx, int* cy, int* cxFull, int* cyFull) {
    if (auto get = PlatformUserDriver().pGetScreenSize) return get(cx, cy, cxFull, cyFull);
    *cx = *cxFull = screenWidth;
    *cy = *cyFull = screenHeight;
}

WPARAM sizeTypeOf(DWORD style) {
    if (style & WS_MINIMIZE) return SIZE_MINIMIZED;
    if (style & WS_MAXIMIZE) return SIZE_MAXIMIZED;
    return SIZE_RESTORED;
}

int showStateOf(DWORD style) {
    if (!(style & WS_VISIBLE)) return SW_HIDE;
    if (style & WS_MINIMIZE) return SW_SHOWMINIMIZED;
    if (style & WS_MAXIMIZE) return SW_SHOWMAXIMIZED;
    return SW_SHOWNORMAL;
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
        // Without a position of its own, a minimized child lies at its
        // parent's bottom-left corner, where it can be seen and restored.
        const Window* parent = findLocked(s, w.parent);
        POINT unset = parent ? POINT{0, parent->rect.bottom - parent->rect.top - kMinimizedHeight}
                             : POINT{-32000, -32000};
        POINT at = (w.minPos.x == -1 && w.minPos.y == -1) ? unset : w.minPos;
        return RECT{at.x, at.y, at.x + kMinimizedWidth, at.y + kMinimizedHeight};
    }
    if (w.style & WS_MAXIMIZE) {
        if (const Window* parent = findLocked(s, w.parent))
            return RECT{0, 0, parent->rect.right - parent->rect.left, parent->rect.bottom - parent->rect.top};
        int cx, cy, cxFull, cyFull;
        screenSize(&cx, &cy, &cxFull, &cyFull);
        int left = w.maxPos.x == -1 ? -kBorder : w.maxPos.x;
        int top = w.maxPos.y == -1 ? -kBorder : w.maxPos.y;
        return RECT{left, top, left + cxFull + 2 * kBorder, top + cyFull + 2 * kBorder};
    }
    return w.normal;
}

// Marks the window's old place in its parent, and the window itself, for
// painting after it moved or changed size.
void repaintAfterMoveLocked(WindowSystem& s, HWND hWnd, Window& w, const RECT& old, bool resized) {
    markStaleLocked(s, hWnd);
    if (!visibleLocked(s, &w)) return;
    if (resized) invalidateLocked(s, hWnd, w, nullptr, true, false);
    if (Window* parent = findLocked(s, w.parent); parent && visibleLocked(s, parent))
        invalidateLocked(s, w.parent, *parent, &old, true, false);
}

// Tells the driver where a window it shows now is.
void mirrorPlace(HWND hWnd, bool onDisplay, const RECT& now) {
    if (!onDisplay) return;
    if (auto place = PlatformUserDriver().pSetWindowPos) place(hWnd, &now);
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

bool activates(int nCmdShow) {
    switch (nCmdShow) {
    case SW_SHOWNORMAL:
    case SW_SHOW:
    case SW_SHOWMAXIMIZED:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: return true;
    default: return false;
    }
}

// Applies a show command; with a placement, its fields are taken first and
// its flag decides what a minimized window restores to. fromDisplay: the
// display did it already, so the driver is not told.
BOOL applyShow(HWND hWnd, int nCmdShow, const WINDOWPLACEMENT* placement, bool fromDisplay = false) {
    Show show = showOf(nCmdShow);
    if (show == Show::Invalid) return FALSE;
    WindowSystem& s = windowSystem();
    RECT old{}, now{};
    BOOL wasVisible = FALSE;
    WPARAM sizeType = SIZE_RESTORED;
    bool onDisplay = false, topLevel = false;
    int shownState = SW_HIDE;
    RECT normal{};
    BOOL restoreToMax = FALSE;
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
        bool moved = resized || old.left != now.left || old.top != now.top;
        if (!(w->style & WS_VISIBLE)) {
            validateTreeLocked(s, hWnd, *w);
            if (wasVisible) repaintAfterMoveLocked(s, hWnd, *w, old, false);
        } else if (!wasVisible && visibleLocked(s, w)) {
            invalidateLocked(s, hWnd, *w, nullptr, true, true);
        } else if (moved) {
            repaintAfterMoveLocked(s, hWnd, *w, old, resized);
        }
        onDisplay = w->onDisplay && !fromDisplay;
        topLevel = !w->parent;
        shownState = showStateOf(w->style);
        normal = w->normal;
        restoreToMax = w->restoreToMax ? TRUE : FALSE;
    }
    if (onDisplay) {
        if (auto showNative = PlatformUserDriver().pShowWindow)
            showNative(hWnd, shownState, activates(nCmdShow), &normal, &now, restoreToMax);
    }
    // Activation comes before the window hears of its new size, as on the original.
    if (topLevel && !fromDisplay) {
        if (shownState != SW_HIDE && activates(nCmdShow))
            SetActiveWindow(hWnd);
        else if (shownState == SW_HIDE && GetActiveWindow() == hWnd)
            SetActiveWindow(nullptr);
    }
    notifyMoved(hWnd, old, now, sizeType);
    return wasVisible;
}

}  // namespace

// ---- Rectangles and moves -------------------------------------------------------------------

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    if (!lpRect) return FALSE;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hWnd);
    if (!window) return FALSE;
    *lpRect = screenRectLocked(s, *window);
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    if (!lpRect) return FALSE;
    return withWindow(hWnd, FALSE, [lpRect](Window& w) {
        *lpRect = clientOf(w);
        return TRUE;
    });
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    RECT old{}, now{X, Y, X + nWidth, Y + nHeight};
    WPARAM sizeType = SIZE_RESTORED;
    bool onDisplay = false;
    {
        WindowSystem& s = windowSystem();
        std::lock_guard<std::mutex> guard(s.lock);
        Window* w = findLocked(s, hWnd);
        if (!w) return FALSE;
        old = w->rect;
        w->rect = now;
        if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normal = w->rect;
        sizeType = sizeTypeOf(w->style);
        bool resized = old.right - old.left != nWidth || old.bottom - old.top != nHeight;
        bool moved = resized || old.left != X || old.top != Y;
        if (moved && bRepaint) repaintAfterMoveLocked(s, hWnd, *w, old, resized);
        onDisplay = w->onDisplay && moved;
    }
    mirrorPlace(hWnd, onDisplay, now);
    notifyMoved(hWnd, old, now, sizeType);
    return TRUE;
}

// ---- Show state -------------------------------------------------------------------------------

BOOL ShowWindow(HWND hWnd, int nCmdShow) { return applyShow(hWnd, nCmdShow, nullptr); }

BOOL IsWindowVisible(HWND hWnd) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hWnd);
    return window && visibleLocked(s, window) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hWnd) { return (GetWindowLongA(hWnd, GWL_STYLE) & WS_MINIMIZE) != 0; }

BOOL IsZoomed(HWND hWnd) { return (GetWindowLongA(hWnd, GWL_STYLE) & WS_MAXIMIZE) != 0; }

// ---- Placement ----------------------------------------------------------------------------------

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

// ---- Coordinates ----------------------------------------------------------------------------------

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

// ---- The screen -------------------------------------------------------------------------------------

int GetSystemMetrics(int nIndex) {
    int cx, cy, cxFull, cyFull;
    screenSize(&cx, &cy, &cxFull, &cyFull);
    switch (nIndex) {
    case SM_CXSCREEN: return cx;
    case SM_CYSCREEN: return cy;
    case SM_CXFULLSCREEN:
    case SM_CXMAXIMIZED: return cxFull;
    case SM_CYFULLSCREEN:
    case SM_CYMAXIMIZED: return cyFull;
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

// ---- Z-order --------------------------------------------------------------------------------------

namespace user {

std::vector<HWND> paintOrder(HWND hWnd) {
    std::vector<HWND> children;
    char name[16];
    HWND hActive = nullptr;
    if (GetClassNameA(hWnd, name, sizeof name) && !crt::_stricmp(name, "MDIClient"))
        hActive = reinterpret_cast<HWND>(SendMessageA(hWnd, WM_MDIGETACTIVE, 0, 0));
    for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        if ((GetWindowLongA(hChild, GWL_STYLE) & WS_VISIBLE) && hChild != hActive) children.push_back(hChild);
    if (hActive && (GetWindowLongA(hActive, GWL_STYLE) & WS_VISIBLE)) children.push_back(hActive);
    return children;
}

}  // namespace user

// ---- Changes made by the display ----------------------------------------------------------------------

namespace user {

void applyDisplayRect(HWND hWnd, const RECT& rect) {
    RECT old{};
    WPARAM sizeType = SIZE_RESTORED;
    {
        WindowSystem& s = windowSystem();
        std::lock_guard<std::mutex> guard(s.lock);
        Window* w = findLocked(s, hWnd);
        if (!w || w->parent) return;
        old = w->rect;
        if (old.left == rect.left && old.top == rect.top && old.right == rect.right && old.bottom == rect.bottom)
            return;
        w->rect = rect;
        if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normal = rect;
        sizeType = sizeTypeOf(w->style);
        bool resized = old.right - old.left != rect.right - rect.left || old.bottom - old.top != rect.bottom - rect.top;
        if (resized && visibleLocked(s, w)) invalidateLocked(s, hWnd, *w, nullptr, true, false);
        markStaleLocked(s, hWnd);
    }
    notifyMoved(hWnd, old, rect, sizeType);
}

void applyDisplayState(HWND hWnd, WPARAM sizeType) {
    int command = sizeType == SIZE_MINIMIZED ? SW_SHOWMINNOACTIVE
                  : sizeType == SIZE_MAXIMIZED ? SW_SHOWMAXIMIZED
                                               : SW_SHOWNORMAL;
    if (sizeTypeOf(static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE))) == sizeType) return;
    applyShow(hWnd, command, nullptr, true);
}

}  // namespace user
