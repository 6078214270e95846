// Painting: update rectangles (what is to be painted), WM_PAINT's device
// contexts (GetDC, BeginPaint, EndPaint), UpdateWindow, and the default
// colours of WM_CTLCOLOR.
//
// Sections: painting state; device contexts; painting now.
#include "platform/user/Painting.h"

#include "platform/user/WindowTable.h"

using namespace user;

// ---- Painting state ---------------------------------------------------------------------

namespace user {

void markStaleLocked(WindowSystem& s, HWND hWnd) {
    if (Window* top = findLocked(s, rootLocked(s, hWnd)); top && top->onDisplay) top->stale = true;
}

void invalidateLocked(WindowSystem& s, HWND hWnd, Window& w, const RECT* lpRect, bool bErase, bool allChildren) {
    RECT r = lpRect ? intersection(*lpRect, clientOf(w)) : clientOf(w);
    if (isEmpty(r)) return;
    if (isEmpty(w.update)) {
        if (Queue* q = ownerQueueLocked(s, w)) {
            q->needsPaint.push_back(hWnd);
            wakeLocked(*q);
        }
    }
    w.update = unionOf(w.update, r);
    w.erase = w.erase || bErase;
    markStaleLocked(s, hWnd);
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
    if (Queue* q = ownerQueueLocked(s, w)) std::erase(q->needsPaint, hWnd);
}

void validateTreeLocked(WindowSystem& s, HWND hWnd, Window& w) {
    validateLocked(s, hWnd, w);
    for (HWND hChild : w.children)
        if (Window* c = findLocked(s, hChild)) validateTreeLocked(s, hChild, *c);
}

}  // namespace user

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

// ---- Device contexts -----------------------------------------------------------------------

HDC GetDC(HWND hWnd) {
    // A window's drawing goes with the window.
    static const bool watching = (PlatformWatchWindowRemoval(&watching, PlatformForgetWindowDrawing), true);
    RECT client{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (hWnd && !GetClientRect(hWnd, &client)) return nullptr;
    return PlatformCreateDC(hWnd, client);
}

int ReleaseDC(HWND hWnd, HDC hDC) {
    if (!PlatformDeleteDC(hWnd, hDC)) return 0;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    markStaleLocked(s, hWnd);  // what it drew is to be shown
    return 1;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    if (!lpPaint) return nullptr;
    *lpPaint = PAINTSTRUCT{};
    RECT update;
    BOOL bErase;
    if (!PlatformTakeUpdate(hWnd, &update, &bErase)) return nullptr;
    HDC hDC = GetDC(hWnd);
    if (!hDC) return nullptr;
    IntersectClipRect(hDC, update.left, update.top, update.right, update.bottom);
    lpPaint->hdc = hDC;
    lpPaint->rcPaint = update;
    lpPaint->fErase = bErase && !SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);
    return hDC;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (!lpPaint) return FALSE;
    ReleaseDC(hWnd, lpPaint->hdc);
    return TRUE;
}

// ---- Painting now ----------------------------------------------------------------------------

namespace {

void PaintNow(HWND hWnd) {
    if (GetUpdateRect(hWnd, nullptr, FALSE)) SendMessageA(hWnd, WM_PAINT, 0, 0);
    HWND hChild = GetWindow(hWnd, GW_CHILD);
    while (hChild) {
        HWND hNext = GetWindow(hChild, GW_HWNDNEXT);  // taken first: painting may destroy the child
        PaintNow(hChild);
        hChild = hNext;
    }
}

}  // namespace

BOOL UpdateWindow(HWND hWnd) {
    if (!IsWindow(hWnd)) return FALSE;
    PaintNow(hWnd);
    return TRUE;
}

LRESULT PlatformDefaultCtlColor(HDC hDC, int nSysColor) {
    SetTextColor(hDC, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hDC, GetSysColor(nSysColor));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(nSysColor));
}
