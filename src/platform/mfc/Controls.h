// Controls: owner drawing (DRAWITEMSTRUCT, WM_DRAWITEM) and the button,
// the window class "Button" and CButton.
//
// A button paints itself when it gets WM_PAINT (a CButton object passes the
// messages it does not handle to the class's procedure). An owner-drawn one
// (BS_OWNERDRAW) sends WM_DRAWITEM to its parent with the item's device
// context and client rectangle; any other asks its parent for a brush with
// WM_CTLCOLORBTN, fills its client area with it (with the button face when
// the answer is null) and draws its caption centred. A CWnd that receives
// WM_DRAWITEM without handling it hands the item to the control's own
// DrawItem when the control is a CButton object, as the original's
// reflection does.
#pragma once

#include "platform/mfc/Wnd.h"

#define WM_DRAWITEM 0x002B

// Owner-drawn control types, actions and states.
#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5
#define ODA_DRAWENTIRE 0x0001u
#define ODA_SELECT 0x0002u
#define ODA_FOCUS 0x0004u
#define ODS_SELECTED 0x0001u
#define ODS_GRAYED 0x0002u
#define ODS_DISABLED 0x0004u
#define ODS_CHECKED 0x0008u
#define ODS_FOCUS 0x0010u

// Button styles.
#define BS_PUSHBUTTON 0x00000000u
#define BS_DEFPUSHBUTTON 0x00000001u
#define BS_OWNERDRAW 0x0000000Bu
#define BS_TYPEMASK 0x0000000Fu

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

class PLATFORM_API CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;

    // A child button of class "Button" with the caption, the BS_ style and
    // the control id.
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Draws an owner-drawn button; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
};
