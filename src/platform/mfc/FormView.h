// The form view: a view whose controls exchange data with its members
// (platform/mfc/DataExchange.h).
//
// Where the original differs: there are no dialog resources, so a form
// view's controls are made by the view itself (in its OnCreate, as children
// with the ids its DoDataExchange names), and CFormView derives from CView
// directly (there is no scrolling).
#pragma once

#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Docs.h"

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
