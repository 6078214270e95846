// CButton over the window class "Button" (platform/user/Controls.h), and
// the handing on of owner drawing.
//
// A CButton object passes the messages it does not handle to the class's
// procedure. A CWnd that receives WM_DRAWITEM without handling it hands the
// item to the control's own DrawItem when the control is a CButton object,
// as the original's reflection does.
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/user/Controls.h"

class PLATFORM_API CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;

    // A child button of class "Button" with the caption, the BS_ style and
    // the control id.
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The check state (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE).
    int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int nCheck) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0); }
    // Draws an owner-drawn button; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
};
