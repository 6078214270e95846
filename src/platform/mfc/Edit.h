// CEdit over the window class "EDIT" (platform/user/EditCore.h).
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/user/EditCore.h"

class PLATFORM_API CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;

    // Creates the control as a child of pParentWnd with the id nID.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    // dwSelection: the start in the low word, the end in the high word.
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void Clear();
    void Copy();
    void Cut();
    void Paste();
};
