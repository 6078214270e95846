// Painting: BeginPaint and EndPaint over the update rectangles the window
// table keeps (Windows.h), UpdateWindow, CPaintDC, the colour kinds of
// WM_CTLCOLOR and the message-map entries for painting.
#pragma once

#include "platform/DeviceContext.h"
#include "platform/Wnd.h"

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

// The nCtlColor kinds of OnCtlColor: WM_CTLCOLORMSGBOX + kind is the message.
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6

// Takes the window's update rectangle (the window is valid afterwards) and
// gives a device context clipped to it; when the background was to be
// erased, WM_ERASEBKGND goes to the window with that device context first,
// and fErase is TRUE when it answered 0 (nothing erased). Null, with
// *lpPaint zeroed, when hWnd is not a window.
PLATFORM_API HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
// Releases the device context of BeginPaint.
PLATFORM_API BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
// Sends WM_PAINT at once to the window, then to each of its descendants,
// that has an update rectangle. FALSE when hWnd is not a window.
PLATFORM_API BOOL UpdateWindow(HWND hWnd);
// DefWindowProcA's answer to WM_CTLCOLOR*: the text colour becomes
// COLOR_WINDOWTEXT and the background colour nSysColor; the answer is that
// system colour's brush.
PLATFORM_API LRESULT PlatformDefaultCtlColor(HDC hDC, int nSysColor);

// BeginPaint and EndPaint for the object's life; no device context when the
// window is null or gone.
class PLATFORM_API CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};

// Handlers: void OnPaint(); BOOL OnEraseBkgnd(CDC* pDC);
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor), which receives
// every WM_CTLCOLOR* message with its CTLCOLOR_ kind.
#define ON_WM_PAINT() ON_MESSAGE_VOID(WM_PAINT, OnPaint)
#define ON_WM_ERASEBKGND()                                                                 \
    {WM_ERASEBKGND, [](CCmdTarget* p, WPARAM w, LPARAM) -> LRESULT {                       \
         return AFX_THIS(p)->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(w))); }},
#define AFX_ON_CTLCOLOR_KIND(kind)                                                                   \
    {WM_CTLCOLORMSGBOX + (kind), [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                  \
         return reinterpret_cast<LRESULT>(AFX_THIS(p)->OnCtlColor(                                   \
             CDC::FromHandle(reinterpret_cast<HDC>(w)), CWnd::FromHandle(reinterpret_cast<HWND>(l)), \
             (kind))); }},
#define ON_WM_CTLCOLOR()                                                                                \
    AFX_ON_CTLCOLOR_KIND(CTLCOLOR_MSGBOX) AFX_ON_CTLCOLOR_KIND(CTLCOLOR_EDIT)                           \
    AFX_ON_CTLCOLOR_KIND(CTLCOLOR_LISTBOX) AFX_ON_CTLCOLOR_KIND(CTLCOLOR_BTN)                           \
    AFX_ON_CTLCOLOR_KIND(CTLCOLOR_DLG) AFX_ON_CTLCOLOR_KIND(CTLCOLOR_SCROLLBAR)                         \
    AFX_ON_CTLCOLOR_KIND(CTLCOLOR_STATIC)
