// MFC's GDI classes, their temporary objects, and the painting members of
// CWnd.
#include "platform/mfc/GdiObjects.h"

#include <memory>
#include <unordered_map>
#include <utility>

namespace {

// Temporary CBrush objects of this thread, by handle. They are detached
// before they go, so they never delete the brush they stand for.
struct TempBrushes {
    std::unordered_map<HBRUSH, std::unique_ptr<CBrush>> objects;
    ~TempBrushes() { clear(); }
    void clear() {
        for (auto& entry : objects) entry.second->Detach();
        objects.clear();
    }
};
thread_local TempBrushes tempBrushes;

void DropTempBrush(HBRUSH hBrush) {
    auto it = tempBrushes.objects.find(hBrush);
    if (it == tempBrushes.objects.end()) return;
    it->second->Detach();
    tempBrushes.objects.erase(it);
}

// Temporary CDC objects of this thread, by handle.
thread_local std::unordered_map<HDC, std::unique_ptr<CDC>> tempContexts;

// A brush deleted or a device context released takes its temporary object
// of this thread with it.
void DropTemp(GdiHandle kind, const void* handle) {
    void* h = const_cast<void*>(handle);
    if (kind == GdiHandle::Brush)
        DropTempBrush(static_cast<HBRUSH>(h));
    else
        tempContexts.erase(static_cast<HDC>(h));
}

}  // namespace

// ---- CGdiObject and CBrush -----------------------------------------------------

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

CBrush* CBrush::FromHandle(HBRUSH hBrush) {
    if (!hBrush) return nullptr;
    PlatformWatchGdiRelease(DropTemp);
    std::unique_ptr<CBrush>& temp = tempBrushes.objects[hBrush];
    if (!temp) {
        temp = std::make_unique<CBrush>();
        temp->m_hObject = hBrush;
    }
    return temp.get();
}

void CBrush::DeleteTempMap() { tempBrushes.clear(); }

// ---- CDC and CClientDC -----------------------------------------------------------------

CDC* CDC::FromHandle(HDC hDC) {
    if (!PlatformIsDC(hDC)) return nullptr;
    PlatformWatchGdiRelease(DropTemp);
    std::unique_ptr<CDC>& temp = tempContexts[hDC];
    if (!temp) {
        temp = std::make_unique<CDC>();
        temp->m_hDC = hDC;
    }
    return temp.get();
}

void CDC::DeleteTempMap() { tempContexts.clear(); }

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
