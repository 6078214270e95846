// GetDC, BeginPaint, EndPaint and UpdateWindow.
#include "platform/user/Painting.h"

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

HDC GetDC(HWND hWnd) {
    // A window's drawing goes with the window.
    static const bool watching = (PlatformWatchWindowRemoval(&watching, PlatformForgetWindowDrawing), true);
    RECT client{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (hWnd && !GetClientRect(hWnd, &client)) return nullptr;
    return PlatformCreateDC(hWnd, client);
}

int ReleaseDC(HWND hWnd, HDC hDC) { return PlatformDeleteDC(hWnd, hDC) ? 1 : 0; }

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
