// MFC's GDI classes over the handles of platform/gdi: CGdiObject and
// CBrush, CDC, CClientDC and CPaintDC, and the message-map entries for
// painting.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Painting.h"

// ---- CGdiObject and CBrush ---------------------------------------------------

class PLATFORM_API CGdiObject : public CObject {
public:
    CGdiObject() = default;
    // Deletes the attached object.
    ~CGdiObject() override;

    HGDIOBJ m_hObject = nullptr;
    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }
};

class PLATFORM_API CBrush : public CGdiObject {
public:
    CBrush() = default;
    // A solid brush of that colour (no brush when the quota is used up).
    explicit CBrush(COLORREF crColor);

    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    BOOL CreateSolidBrush(COLORREF crColor);
    int GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }

    // A temporary CBrush for the handle, kept until the handle is deleted on
    // this thread, DeleteTempMap runs or the thread ends; it never deletes
    // the brush. Null for a null handle.
    static CBrush* FromHandle(HBRUSH hBrush);
    static void DeleteTempMap();
};

// ---- CDC, CClientDC and CPaintDC -------------------------------------------------------------

class PLATFORM_API CDC : public CObject {
public:
    CDC() = default;
    // A CDC never releases the device context it is attached to; CClientDC
    // and CPaintDC do.
    ~CDC() override = default;

    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // A temporary CDC for the handle, kept until the device context is
    // released on this thread, DeleteTempMap runs or the thread ends. Null
    // for a handle that is not a live device context.
    static CDC* FromHandle(HDC hDC);
    static void DeleteTempMap();
    BOOL Attach(HDC hDC);
    HDC Detach();
    // The window drawn on, or null.
    CWnd* GetWindow() const;

    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }

    // A null brush fills nothing.
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    // Fills with the colour, which becomes the background colour (as on the
    // original).
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount) { return ::TextOutA(m_hDC, x, y, lpszString, nCount); }
    BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
        return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
        return DrawText(str, str.GetLength(), lpRect, nFormat);
    }
    int IntersectClipRect(LPCRECT lpRect) {
        return ::IntersectClipRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
};

// The client area's device context for the object's life. A null window
// gives the screen's.
class PLATFORM_API CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

    HWND m_hWnd;
};

// BeginPaint and EndPaint for the object's life; no device context when the
// window is null or gone.
class PLATFORM_API CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};
