// The edit control: the window class "EDIT" and CEdit.
//
// An "EDIT" window keeps its text and selection (platform/EditCore.h) and
// does what the original's edit control does with the clipboard messages:
// WM_COPY puts the selection on the clipboard as CF_TEXT (nothing happens
// for an empty selection), WM_CUT does the same and then deletes the
// selection, WM_PASTE replaces the selection with the clipboard's CF_TEXT
// (only its first line in a control without ES_MULTILINE), WM_CLEAR deletes
// the selection. With ES_READONLY, WM_CUT, WM_PASTE and WM_CLEAR change
// nothing; WM_SETTEXT and EM_REPLACESEL still do. WM_SETTEXT puts the caret
// at the start of the new text.
//
// The window's procedure holds the control's state, so a window made with
// CreateWindowExA("EDIT", ...) and a CEdit (whose object passes the
// messages it does not handle to that procedure) behave the same.
#pragma once

#include "platform/Wnd.h"

#define ES_LEFT 0x0000u
#define ES_MULTILINE 0x0004u
#define ES_AUTOHSCROLL 0x0080u
#define ES_READONLY 0x0800u
#define ES_WANTRETURN 0x1000u

// wParam and lParam: DWORD* receiving the start and the end (either may be
// null). The result holds both in its low and high words, or -1 when
// either passes 65535.
#define EM_GETSEL 0x00B0
// wParam: start, lParam: end (see EditCore::SetSel).
#define EM_SETSEL 0x00B1
// wParam: can undo (ignored), lParam: the new text.
#define EM_REPLACESEL 0x00C2
// wParam: TRUE sets ES_READONLY, FALSE clears it; the result is TRUE.
#define EM_SETREADONLY 0x00CF

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
