// The ON_WM_ message-map entries, one for every message the platform sends
// (and a few the original's hosts commonly name), each calling the handler
// of the original's name and signature: write ON_WM_SIZE() and define
// afx_msg void OnSize(UINT nType, int cx, int cy). CWnd has a base handler
// for each (it passes the message on to the default procedure), so a
// handler may call its base class's.
//
// Points are in client coordinates, except for the wheel, the context menu
// and the non-client mouse messages (screen coordinates), as on the
// original.
#pragma once

#include "platform/mfc/MessageMaps.h"
#include "platform/user/Input.h"
#include "platform/user/Menus.h"

#define AFX_POINT_OF(l) CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l))
#define AFX_WND_OF(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))
#define AFX_DC_OF(w) CDC::FromHandle(reinterpret_cast<HDC>(w))

// ---- Life, size, placement and activation ----------------------------------------

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, return AFX_THIS(p)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(l));)
#define ON_WM_NCCREATE() AFX_WM_ENTRY(WM_NCCREATE, return AFX_THIS(p)->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(l));)
#define ON_WM_DESTROY() ON_MESSAGE_VOID(WM_DESTROY, OnDestroy)
#define ON_WM_NCDESTROY() ON_MESSAGE_VOID(WM_NCDESTROY, OnNcDestroy)
#define ON_WM_CLOSE() ON_MESSAGE_VOID(WM_CLOSE, OnClose)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, AFX_THIS(p)->OnSize(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0;)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, AFX_THIS(p)->OnMove(GET_X_LPARAM(l), GET_Y_LPARAM(l)); return 0;)
#define ON_WM_SHOWWINDOW() \
    AFX_WM_ENTRY(WM_SHOWWINDOW, AFX_THIS(p)->OnShowWindow(static_cast<BOOL>(w), static_cast<UINT>(l)); return 0;)
#define ON_WM_ENTERSIZEMOVE() ON_MESSAGE_VOID(WM_ENTERSIZEMOVE, OnEnterSizeMove)
#define ON_WM_EXITSIZEMOVE() ON_MESSAGE_VOID(WM_EXITSIZEMOVE, OnExitSizeMove)
#define ON_WM_ACTIVATE() \
    AFX_WM_ENTRY(WM_ACTIVATE, AFX_THIS(p)->OnActivate(LOWORD(w), AFX_WND_OF(l), HIWORD(w)); return 0;)
#define ON_WM_MOUSEACTIVATE() \
    AFX_WM_ENTRY(WM_MOUSEACTIVATE, return AFX_THIS(p)->OnMouseActivate(AFX_WND_OF(w), LOWORD(l), HIWORD(l));)
#define ON_WM_CHILDACTIVATE() ON_MESSAGE_VOID(WM_CHILDACTIVATE, OnChildActivate)
#define ON_WM_MDIACTIVATE()                                                                                   \
    AFX_WM_ENTRY(WM_MDIACTIVATE, AFX_THIS(p)->OnMDIActivate(reinterpret_cast<HWND>(l) == AFX_THIS(p)->m_hWnd, \
                                                            AFX_WND_OF(l), AFX_WND_OF(w));                    \
                 return 0;)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, AFX_THIS(p)->OnSetFocus(AFX_WND_OF(w)); return 0;)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, AFX_THIS(p)->OnKillFocus(AFX_WND_OF(w)); return 0;)
#define ON_WM_CAPTURECHANGED() AFX_WM_ENTRY(WM_CAPTURECHANGED, AFX_THIS(p)->OnCaptureChanged(AFX_WND_OF(l)); return 0;)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, AFX_THIS(p)->OnSysCommand(static_cast<UINT>(w), l); return 0;)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, AFX_THIS(p)->OnTimer(static_cast<UINT_PTR>(w)); return 0;)
#define ON_WM_COPYDATA() \
    AFX_WM_ENTRY(WM_COPYDATA, return AFX_THIS(p)->OnCopyData(AFX_WND_OF(w), reinterpret_cast<COPYDATASTRUCT*>(l));)

// ---- Painting and controls ----------------------------------------------------------

#define ON_WM_PAINT() ON_MESSAGE_VOID(WM_PAINT, OnPaint)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, return AFX_THIS(p)->OnEraseBkgnd(AFX_DC_OF(w));)
// Every WM_CTLCOLOR* message reaches OnCtlColor with its CTLCOLOR_ kind.
#define AFX_ON_CTLCOLOR_KIND(kind)           \
    AFX_WM_ENTRY(WM_CTLCOLORMSGBOX + (kind), \
                 return reinterpret_cast<LRESULT>(AFX_THIS(p)->OnCtlColor(AFX_DC_OF(w), AFX_WND_OF(l), (kind)));)
#define ON_WM_CTLCOLOR()                                                                                          \
    AFX_ON_CTLCOLOR_KIND(CTLCOLOR_MSGBOX)                                                                         \
    AFX_ON_CTLCOLOR_KIND(CTLCOLOR_EDIT) AFX_ON_CTLCOLOR_KIND(CTLCOLOR_LISTBOX) AFX_ON_CTLCOLOR_KIND(CTLCOLOR_BTN) \
        AFX_ON_CTLCOLOR_KIND(CTLCOLOR_DLG) AFX_ON_CTLCOLOR_KIND(CTLCOLOR_SCROLLBAR)                               \
            AFX_ON_CTLCOLOR_KIND(CTLCOLOR_STATIC)
#define ON_WM_DRAWITEM()                                                                                           \
    AFX_WM_ENTRY(WM_DRAWITEM, AFX_THIS(p)->OnDrawItem(static_cast<int>(w), reinterpret_cast<LPDRAWITEMSTRUCT>(l)); \
                 return TRUE;)
#define ON_WM_HSCROLL()                                                                                      \
    AFX_WM_ENTRY(WM_HSCROLL,                                                                                 \
                 AFX_THIS(p)->OnHScroll(LOWORD(w), HIWORD(w), reinterpret_cast<CScrollBar*>(AFX_WND_OF(l))); \
                 return 0;)
#define ON_WM_VSCROLL()                                                                                      \
    AFX_WM_ENTRY(WM_VSCROLL,                                                                                 \
                 AFX_THIS(p)->OnVScroll(LOWORD(w), HIWORD(w), reinterpret_cast<CScrollBar*>(AFX_WND_OF(l))); \
                 return 0;)

// ---- Mouse ---------------------------------------------------------------------------

#define AFX_MOUSE_ENTRY(message, memberFxn) \
    AFX_WM_ENTRY(message, AFX_THIS(p)->memberFxn(static_cast<UINT>(w), AFX_POINT_OF(l)); return 0;)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL()      \
    AFX_WM_ENTRY(WM_MOUSEWHEEL, \
                 return AFX_THIS(p)->OnMouseWheel(LOWORD(w), static_cast<short>(HIWORD(w)), AFX_POINT_OF(l));)
#define ON_WM_INITMENU() \
    AFX_WM_ENTRY(WM_INITMENU, AFX_THIS(p)->OnInitMenu(CMenu::FromHandle(reinterpret_cast<HMENU>(w))); return 0;)
#define ON_WM_INITMENUPOPUP()                                                                                       \
    AFX_WM_ENTRY(WM_INITMENUPOPUP,                                                                                  \
                 AFX_THIS(p)->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(w)), LOWORD(l), HIWORD(l)); \
                 return 0;)
#define ON_WM_MENUSELECT() \
    AFX_WM_ENTRY(WM_MENUSELECT, AFX_THIS(p)->OnMenuSelect(LOWORD(w), HIWORD(w), reinterpret_cast<HMENU>(l)); return 0;)
#define ON_WM_CONTEXTMENU() \
    AFX_WM_ENTRY(WM_CONTEXTMENU, AFX_THIS(p)->OnContextMenu(AFX_WND_OF(w), AFX_POINT_OF(l)); return 0;)
#define ON_WM_SETCURSOR() \
    AFX_WM_ENTRY(WM_SETCURSOR, return AFX_THIS(p)->OnSetCursor(AFX_WND_OF(w), LOWORD(l), HIWORD(l));)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, return AFX_THIS(p)->OnNcHitTest(AFX_POINT_OF(l));)
#define AFX_NCMOUSE_ENTRY(message, memberFxn) \
    AFX_WM_ENTRY(message, AFX_THIS(p)->memberFxn(static_cast<UINT>(w), AFX_POINT_OF(l)); return 0;)
#define ON_WM_NCMOUSEMOVE() AFX_NCMOUSE_ENTRY(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_NCMOUSE_ENTRY(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_NCMOUSE_ENTRY(WM_NCRBUTTONUP, OnNcRButtonUp)
#define ON_WM_NCMBUTTONDOWN() AFX_NCMOUSE_ENTRY(WM_NCMBUTTONDOWN, OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() AFX_NCMOUSE_ENTRY(WM_NCMBUTTONUP, OnNcMButtonUp)

// ---- Keyboard --------------------------------------------------------------------------

#define AFX_KEY_ENTRY(message, memberFxn) \
    AFX_WM_ENTRY(message, AFX_THIS(p)->memberFxn(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0;)
#define ON_WM_KEYDOWN() AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_KEY_ENTRY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_KEY_ENTRY(WM_SYSCHAR, OnSysChar)
