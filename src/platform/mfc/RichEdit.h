// The rich edit control: the window class "RICHEDIT" and CRichEditCtrl.
//
// A rich edit keeps its text and selection in the same core as the plain
// edit control (platform/user/EditCore.h), so the edit messages (WM_SETTEXT,
// EM_SETSEL, EM_REPLACESEL, WM_CLEAR deleting the selection, the clipboard
// messages) behave exactly as there. On top it answers the rich edit's
// character-range messages. There is no formatting: the text is plain.
#pragma once

#include "platform/mfc/Edit.h"

#define RICHEDIT_CLASSA "RICHEDIT"

struct CHARRANGE {
    LONG cpMin;
    LONG cpMax;
};

// lParam: CHARRANGE* receiving the selection; the result is its end.
#define EM_EXGETSEL (WM_USER + 52)
// lParam: CHARRANGE* with the new selection (EM_SETSEL's rules); the result
// is the selection's end.
#define EM_EXSETSEL (WM_USER + 55)
// lParam: a buffer large enough for the selection and a terminator; the
// result is the count of characters copied.
#define EM_GETSELTEXT (WM_USER + 62)

class PLATFORM_API CRichEditCtrl : public CWnd {
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    CRichEditCtrl() = default;

    // Creates the control as a child of pParentWnd with the id nID.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void GetSel(CHARRANGE& cr) const;
    void GetSel(long& nStartChar, long& nEndChar) const;
    void SetSel(CHARRANGE& cr);
    void SetSel(long nStartChar, long nEndChar);
    CString GetSelText() const;
    long GetTextLength() const;
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void Clear();
    void Copy();
    void Cut();
    void Paste();
};
