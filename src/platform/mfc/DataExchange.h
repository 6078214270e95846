// Dialog data exchange and validation: CDataExchange, the DDX_ calls that
// move data between a window's members and its child controls (found by
// their ids), and the DDV_ calls that check what was taken.
//
// UpdateData (CWnd) runs DoDataExchange with a CDataExchange; saving
// (m_bSaveAndValidate TRUE) takes the controls' data into the members,
// loading puts the members into the controls. There are no exceptions: a
// failed exchange (text that is not a number, a value out of its range, a
// control that is missing) tells the user with the original's message,
// puts the focus on the control concerned (its text selected in an edit),
// and marks the exchange failed, so UpdateData returns FALSE. The DDX_ and
// DDV_ calls after a failure change nothing and say nothing, as the
// original's exception would have skipped them.
//
// Numbers are read as the dialog manager reads them (blanks, a sign for the
// signed types, decimal digits; any decimal form for double and float) and
// written in C's %d, %u, %ld, %lu and %.15g / %.6g forms.
#pragma once

#include "platform/mfc/Wnd.h"

class PLATFORM_API CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The child control with that id, or null after marking the exchange
    // failed (and null, quietly, once it has failed while saving). The
    // control becomes the one a later failure puts the focus on.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Marks the exchange failed and, the first time, puts the focus on the
    // control prepared last.
    void Fail();

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;
    BOOL m_bFailed = FALSE;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, unsigned long& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
// A check box's state (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE).
PLATFORM_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a WS_GROUP group; value is the index of
// the checked one in the group, -1 for none.
PLATFORM_API void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// A combo box's text; loading selects the first item that begins with it,
// or puts the text in the edit field when none does.
PLATFORM_API void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// Loading selects only an item equal to the text.
PLATFORM_API void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
PLATFORM_API void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// A list box's selected text (empty for none) and index (-1 for none).
PLATFORM_API void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
PLATFORM_API void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Attaches rControl to the control the first time (SubclassWindow).
PLATFORM_API void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Checked only while saving, against the control of the DDX_ call before.
PLATFORM_API void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
PLATFORM_API void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
PLATFORM_API void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
PLATFORM_API void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
PLATFORM_API void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
PLATFORM_API void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
PLATFORM_API void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
PLATFORM_API void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal);
PLATFORM_API void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars);
