// MFC's GDI classes, their temporary objects, and the painting members of
// CWnd.
#include "platform/mfc/GdiObjects.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>

#include "platform/mfc/ResourceHandles.h"

namespace {

// Temporary GDI objects of this thread, by handle. They are detached
// before they go, so they never delete the object they stand for.
struct TempObjects {
    std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> objects;
    ~TempObjects() { clear(); }
    void clear() {
        for (auto& entry : objects) entry.second->Detach();
        objects.clear();
    }
    void drop(HGDIOBJ h) {
        auto it = objects.find(h);
        if (it == objects.end()) return;
        it->second->Detach();
        objects.erase(it);
    }
};
thread_local TempObjects g_tempObjects;

// Temporary CDC objects of this thread, by handle; detached before they go
// too, so they never delete a memory device context.
struct TempContexts {
    std::unordered_map<HDC, std::unique_ptr<CDC>> contexts;
    ~TempContexts() { clear(); }
    void clear() {
        for (auto& entry : contexts) entry.second->Detach();
        contexts.clear();
    }
};
thread_local TempContexts g_tempContexts;

// An object deleted or a device context released takes its temporary
// object of this thread with it.
void DropTemp(GdiHandle kind, const void* handle) {
    void* h = const_cast<void*>(handle);
    if (kind == GdiHandle::Object) {
        g_tempObjects.drop(h);
    } else if (auto it = g_tempContexts.contexts.find(static_cast<HDC>(h)); it != g_tempContexts.contexts.end()) {
        it->second->Detach();
        g_tempContexts.contexts.erase(it);
    }
}

std::unique_ptr<CGdiObject> MakeFor(DWORD type) {
    switch (type) {
    case OBJ_PEN: return std::make_unique<CPen>();
    case OBJ_FONT: return std::make_unique<CFont>();
    case OBJ_BITMAP: return std::make_unique<CBitmap>();
    default: return std::make_unique<CBrush>();  // brushes, and system colours as brushes
    }
}

}  // namespace

// ---- CGdiObject, CBrush, CFont and CBitmap ----------------------------------------------

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject) return FALSE;
    DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    DWORD type = ::GetObjectType(hObject);
    if (!hObject || (!type && !PlatformBrushColor(static_cast<HBRUSH>(hObject), nullptr))) return nullptr;
    PlatformWatchGdiRelease(DropTemp);
    std::unique_ptr<CGdiObject>& temp = g_tempObjects.objects[hObject];
    if (!temp) {
        temp = MakeFor(type);
        temp->m_hObject = hObject;
    }
    return temp.get();
}

void CGdiObject::DeleteTempMap() { g_tempObjects.clear(); }

CBrush* CBrush::FromHandle(HBRUSH hBrush) {
    if (!hBrush) return nullptr;
    DWORD type = ::GetObjectType(hBrush);
    if (type && type != OBJ_BRUSH) return nullptr;
    PlatformWatchGdiRelease(DropTemp);
    std::unique_ptr<CGdiObject>& temp = g_tempObjects.objects[hBrush];
    if (!temp) {
        temp = std::make_unique<CBrush>();
        temp->m_hObject = hBrush;
    }
    return static_cast<CBrush*>(temp.get());
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONT log{};
    log.lfCharSet = DEFAULT_CHARSET;
    log.lfHeight = nPointSize;
    if (lpszFaceName) std::strncpy(log.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&log, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
    if (!lpLogFont) return FALSE;
    HDC hDC = pDC ? pDC->m_hDC : ::GetDC(nullptr);
    // Tenths of a point to device pixels, then to the context's logical units.
    POINT points[2] = {{0, ::GetDeviceCaps(hDC, LOGPIXELSY) * lpLogFont->lfHeight / 720}, {0, 0}};
    ::DPtoLP(hDC, points, 2);
    if (!pDC) ::ReleaseDC(nullptr, hDC);
    LOGFONT log = *lpLogFont;
    log.lfHeight = -std::abs(points[0].y - points[1].y);
    return CreateFontIndirect(&log);
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
    return Attach(::LoadBitmapA(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

// ---- CDC and CClientDC -----------------------------------------------------------------

CDC::~CDC() { DeleteDC(); }

BOOL CDC::DeleteDC() {
    if (GetObjectType(m_hDC) != OBJ_MEMDC) return FALSE;
    return ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) {
    if (!PlatformIsDC(hDC)) return nullptr;
    PlatformWatchGdiRelease(DropTemp);
    std::unique_ptr<CDC>& temp = g_tempContexts.contexts[hDC];
    if (!temp) {
        temp = std::make_unique<CDC>();
        temp->m_hDC = hDC;
    }
    return temp.get();
}

void CDC::DeleteTempMap() { g_tempContexts.clear(); }

CPoint CDC::MoveTo(int x, int y) {
    CPoint previous;
    ::MoveToEx(m_hDC, x, y, &previous);
    return previous;
}

CPoint CDC::GetCurrentPosition() const {
    CPoint point;
    ::GetCurrentPositionEx(m_hDC, &point);
    return point;
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    CSize size;
    if (!m_hDC || !::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size)) return CSize(0, 0);
    return size;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    CPoint previous;
    ::SetViewportOrgEx(m_hDC, x, y, &previous);
    return previous;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
    CPoint previous;
    ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &previous);
    return previous;
}

CPoint CDC::GetViewportOrg() const {
    CPoint point;
    ::GetViewportOrgEx(m_hDC, &point);
    return point;
}

CSize CDC::SetViewportExt(int cx, int cy) {
    CSize previous;
    ::SetViewportExtEx(m_hDC, cx, cy, &previous);
    return previous;
}

CSize CDC::GetViewportExt() const {
    CSize size;
    ::GetViewportExtEx(m_hDC, &size);
    return size;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    CPoint previous;
    ::SetWindowOrgEx(m_hDC, x, y, &previous);
    return previous;
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
    CPoint previous;
    ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &previous);
    return previous;
}

CPoint CDC::GetWindowOrg() const {
    CPoint point;
    ::GetWindowOrgEx(m_hDC, &point);
    return point;
}

CSize CDC::SetWindowExt(int cx, int cy) {
    CSize previous;
    ::SetWindowExtEx(m_hDC, cx, cy, &previous);
    return previous;
}

CSize CDC::GetWindowExt() const {
    CSize size;
    ::GetWindowExtEx(m_hDC, &size);
    return size;
}

BOOL CDC::Attach(HDC hDC) {
    if (!hDC) return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach() { return std::exchange(m_hDC, nullptr); }

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(WindowFromDC(m_hDC)); }

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    ::FillRect(m_hDC, lpRect, pBrush ? static_cast<HBRUSH>(pBrush->m_hObject) : nullptr);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    SetBkColor(clr);
    PlatformFillColor(m_hDC, lpRect, clr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, clr);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

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
