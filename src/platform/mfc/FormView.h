// Dialog data exchange and the form view: CDataExchange, DDX_Text, the
// UpdateData/DoDataExchange pair of CWnd, and CFormView.
//
// UpdateData runs the window's DoDataExchange with a CDataExchange; the
// DDX_ calls in it move data between member variables and the controls
// that are the window's children, found by their ids. There are no
// exceptions: a failed exchange (Fail, a control that is missing) makes
// UpdateData return FALSE.
//
// Where the original differs: there are no dialog resources, so a form
// view's controls are made by the view itself (in its OnCreate, as children
// with the ids its DoDataExchange names), and CFormView derives from CView
// directly (there is no scrolling).
#pragma once

#include "platform/mfc/Docs.h"

class PLATFORM_API CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The child control with that id, or null after marking the exchange
    // failed.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }
    // Marks the exchange failed; the remaining DDX_ calls still run.
    void Fail() { m_bFailed = TRUE; }

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;
    BOOL m_bFailed = FALSE;
};

// The control's text into value (saving) or value into the control.
PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

class PLATFORM_API CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
protected:
    explicit CFormView(UINT nIDTemplate);
    explicit CFormView(LPCTSTR lpszTemplateName);

public:
    // Puts the members into the controls (UpdateData(FALSE)), then runs
    // CView's.
    void OnInitialUpdate() override;
    // Leaving, the view remembers which of its controls had the focus.
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

protected:
    // The focus goes on to the control that had it last, or the first one.
    void OnSetFocus(CWnd* pOldWnd);

    LPCTSTR m_lpszTemplateName;  // kept only: there are no resources
    HWND m_hWndFocus = nullptr;

    DECLARE_MESSAGE_MAP()
};
