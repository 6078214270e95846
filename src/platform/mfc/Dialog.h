// CDialog and CDialogEx: dialogs made from templates (platform/user/
// DialogBox.h), modal or modeless, with data exchange (DataExchange.h).
//
// DoModal makes the dialog owned by its parent (the main window when none is
// given), runs the modal loop with the owner disabled and returns the
// EndDialog value: IDOK from OnOK once UpdateData(TRUE) succeeded, IDCANCEL
// from OnCancel, Escape and the window manager's close; -1 when the dialog
// could not be made. OnInitDialog puts the members into the controls
// (UpdateData(FALSE)); returning TRUE lets the first tab stop take the
// focus. Without a screen, the dialog responder of DialogBox.h answers.
//
// Templates by name or id come from the resources of the module
// AfxFindResourceHandle names (the application's, or an extension module's
// that holds it); CreateIndirect and InitModalIndirect take one in memory.
#pragma once

#include "platform/gdi/Brushes.h"
#include "platform/mfc/DataExchange.h"
#include "platform/user/DialogBox.h"

class PLATFORM_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // Modeless dialogs.
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    // A modal dialog from a template in memory, for DoModal.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    virtual INT_PTR DoModal();

    virtual BOOL OnInitDialog();
    void EndDialog(int nResult);
    // The focus to the next or previous tab stop, or to the control.
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    // The push button Return clicks; GetDefID gives DC_HASDEFID in the high
    // word, or 0 when there is none.
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    LPCTSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    // The template's bytes and size, and the module it came from (the
    // resource handle for a template in memory); false when it cannot be found.
    bool FindTemplate(const void** ppTemplate, size_t* pcbTemplate, HINSTANCE* phInst) const;
};

// A dialog that only adds a background colour to CDialog's behaviour: the
// dialog's background and its static controls' take it.
class PLATFORM_API CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)
public:
    CDialogEx() = default;
    explicit CDialogEx(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : CDialog(nIDTemplate, pParentWnd) {}
    explicit CDialogEx(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr) : CDialog(lpszTemplateName, pParentWnd) {}
    ~CDialogEx() override;

    void SetBackgroundColor(COLORREF color, BOOL bRepaint = TRUE);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HBRUSH m_hBackground = nullptr;
    COLORREF m_background = 0;
};
