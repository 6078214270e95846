// Painting: device contexts for windows (GetDC), BeginPaint and EndPaint
// over the update rectangles the window table keeps (Windows.h),
// UpdateWindow and the colour kinds of WM_CTLCOLOR. CPaintDC and the
// message-map entries for painting are in platform/mfc/GdiObjects.h.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/user/Windows.h"

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

// A device context for the window's client area (the screen's for null);
// null when hWnd is not a window or the quota is used up.
PLATFORM_API HDC GetDC(HWND hWnd);
// 1 when the device context was hWnd's and is now released; 0 otherwise.
PLATFORM_API int ReleaseDC(HWND hWnd, HDC hDC);
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
