// BeginPaint, EndPaint, UpdateWindow, CPaintDC and the painting members of
// CWnd.
#include "platform/Painting.h"

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

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC() {
    if (m_hDC) EndPaint(m_hWnd, &m_ps);
    Detach();
}

// ---- CWnd --------------------------------------------------------------------------

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }

void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }

void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }

void CWnd::OnPaint() { DefWindowProc(WM_PAINT, 0, 0); }

BOOL CWnd::OnEraseBkgnd(CDC* pDC) {
    return static_cast<BOOL>(DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(pDC ? pDC->m_hDC : nullptr), 0));
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (nCtlColor > CTLCOLOR_STATIC) return nullptr;
    return reinterpret_cast<HBRUSH>(DefWindowProc(WM_CTLCOLORMSGBOX + nCtlColor,
                                                  reinterpret_cast<WPARAM>(pDC ? pDC->m_hDC : nullptr),
                                                  reinterpret_cast<LPARAM>(pWnd ? pWnd->m_hWnd : nullptr)));
}
