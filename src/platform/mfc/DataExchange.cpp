// Dialog data exchange and validation (DataExchange.h), and CWnd's
// UpdateData.
#include "platform/mfc/DataExchange.h"

#include <cfloat>
#include <cstdlib>
#include <limits>

#include "platform/mfc/MessageBox.h"
#include "platform/user/Controls.h"
#include "platform/user/DecimalText.h"
#include "platform/user/DialogBox.h"
#include "platform/user/EditCore.h"

namespace {

// The messages the original shows for what cannot be taken.
constexpr char kNotInteger[] = "Please enter an integer.";
constexpr char kNotPositive[] = "Please enter a positive integer.";
constexpr char kNotNumber[] = "Please enter a number.";
constexpr char kIntegerRange[] = "Please enter an integer between %1 and %2.";
constexpr char kNumberRange[] = "Please enter a number between %1 and %2.";
constexpr char kTooLong[] = "Please enter no more than %1 characters.";

void FailWith(CDataExchange* pDX, CString message) {
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}

void FailWith(CDataExchange* pDX, const char* pattern, const CString& first, const CString& second = CString()) {
    CString message(pattern);
    message.Replace("%1", first);
    message.Replace("%2", second);
    FailWith(pDX, message);
}

CString TextOf(HWND hWnd) {
    CString text;
    CWnd::FromHandle(hWnd)->GetWindowText(text);
    return text;
}

template <typename T>
void ExchangeInteger(CDataExchange* pDX, int nIDC, T& value, const char* format) {
    HWND hCtl = pDX->PrepareEditCtrl(nIDC);
    if (!hCtl) return;
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format(format, value);
        ::SetWindowTextA(hCtl, text);
    } else if (!user::ParseDecimal(static_cast<LPCSTR>(TextOf(hCtl)), &value)) {
        FailWith(pDX, CString(std::numeric_limits<T>::is_signed ? kNotInteger : kNotPositive));
    }
}

template <typename T>
void ExchangeReal(CDataExchange* pDX, int nIDC, T& value, int digits) {
    HWND hCtl = pDX->PrepareEditCtrl(nIDC);
    if (!hCtl) return;
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format("%.*g", digits, static_cast<double>(value));
        ::SetWindowTextA(hCtl, text);
        return;
    }
    CString text = TextOf(hCtl);
    text.TrimLeft();
    text.TrimRight();
    const char* begin = text;
    char* end = nullptr;
    double parsed = std::strtod(begin, &end);
    if (text.IsEmpty() || *end != '\0' || !(parsed == parsed)) {
        FailWith(pDX, CString(kNotNumber));
        return;
    }
    value = static_cast<T>(parsed);
}

bool validating(const CDataExchange* pDX) { return pDX->m_bSaveAndValidate && !pDX->m_bFailed; }

template <typename T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal, const char* format) {
    if (!validating(pDX) || (value >= minVal && value <= maxVal)) return;
    CString low, high;
    low.Format(format, minVal);
    high.Format(format, maxVal);
    FailWith(pDX, std::numeric_limits<T>::is_integer ? kIntegerRange : kNumberRange, low, high);
}

}  // namespace

// ---- CDataExchange ------------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    if (m_bFailed && m_bSaveAndValidate) return nullptr;
    HWND hCtl = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!hCtl) {
        Fail();
        return nullptr;
    }
    m_hWndLastControl = hCtl;
    m_bEditLastControl = FALSE;
    return hCtl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hCtl = PrepareCtrl(nIDC);
    if (hCtl) m_bEditLastControl = TRUE;
    return hCtl;
}

void CDataExchange::Fail() {
    if (m_bFailed) return;
    m_bFailed = TRUE;
    if (!m_bSaveAndValidate || !::IsWindow(m_hWndLastControl)) return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CWnd::DoDataExchange(CDataExchange*) {}

// ---- DDX_ ----------------------------------------------------------------------------

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hCtl = pDX->PrepareEditCtrl(nIDC);
    if (!hCtl) return;
    if (pDX->m_bSaveAndValidate)
        value = TextOf(hCtl);
    else
        ::SetWindowTextA(hCtl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { ExchangeInteger(pDX, nIDC, value, "%d"); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { ExchangeInteger(pDX, nIDC, value, "%u"); }
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) { ExchangeInteger(pDX, nIDC, value, "%ld"); }
void DDX_Text(CDataExchange* pDX, int nIDC, unsigned long& value) { ExchangeInteger(pDX, nIDC, value, "%lu"); }
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) { ExchangeInteger(pDX, nIDC, value, "%hd"); }
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) { ExchangeInteger(pDX, nIDC, value, "%hhu"); }
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) { ExchangeReal(pDX, nIDC, value, DBL_DIG); }
void DDX_Text(CDataExchange* pDX, int nIDC, float& value) { ExchangeReal(pDX, nIDC, value, FLT_DIG); }

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (!hCtl) return;
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hCtl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hCtl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hFirst = pDX->PrepareCtrl(nIDC);
    if (!hFirst) return;
    if (pDX->m_bSaveAndValidate) value = -1;
    int index = 0;
    HWND hCtl = hFirst;
    do {
        if (::SendMessageA(hCtl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hCtl, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            } else {
                ::SendMessageA(hCtl, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        hCtl = ::GetWindow(hCtl, GW_HWNDNEXT);
    } while (hCtl && !(::GetWindowLongA(hCtl, GWL_STYLE) & WS_GROUP));
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (!hCtl) return;
    if (pDX->m_bSaveAndValidate) {
        value = TextOf(hCtl);
    } else if (::SendMessageA(hCtl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value))) == CB_ERR) {
        ::SetWindowTextA(hCtl, value);
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (!hCtl) return;
    if (pDX->m_bSaveAndValidate) {
        value = TextOf(hCtl);
        return;
    }
    LRESULT found = ::SendMessageA(hCtl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value)));
    if (found == CB_ERR)
        ::SetWindowTextA(hCtl, value);
    else
        ::SendMessageA(hCtl, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (!hCtl) return;
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(hCtl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(hCtl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (!hCtl) return;
    if (!pDX->m_bSaveAndValidate) {
        if (::SendMessageA(hCtl, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value))) == LB_ERR)
            ::SendMessageA(hCtl, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return;
    }
    value.Empty();
    auto sel = static_cast<WPARAM>(::SendMessageA(hCtl, LB_GETCURSEL, 0, 0));
    LRESULT length = ::SendMessageA(hCtl, LB_GETTEXTLEN, sel, 0);
    if (length == LB_ERR) return;
    ::SendMessageA(hCtl, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(value.GetBuffer(static_cast<int>(length))));
    value.ReleaseBuffer(static_cast<int>(length));
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (!hCtl) return;
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(hCtl, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(hCtl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) return;
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (hCtl && !rControl.SubclassWindow(hCtl)) pDX->Fail();
}

// ---- DDV_ ----------------------------------------------------------------------------

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%d");
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%u");
}
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%ld");
}
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%u");
}
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%hd");
}
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%hhu");
}
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal) {
    CheckRange(pDX, value, minVal, maxVal, "%.15g");
}
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal) {
    CheckRange(pDX, static_cast<double>(value), static_cast<double>(minVal), static_cast<double>(maxVal), "%.6g");
}

void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars) {
    if (!validating(pDX) || value.GetLength() <= nChars) return;
    CString count;
    count.Format("%d", nChars);
    FailWith(pDX, kTooLong, count);
}
