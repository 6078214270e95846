// The "RICHEDIT" window class and CRichEditCtrl, over the edit core.
#include "platform/mfc/RichEdit.h"

#include <cstring>
#include <memory>

#include "platform/user/EditCore.h"

namespace {

// The character-range messages; the rest goes to the core.
bool OnRichEditMessage(platform::EditCore& core, UINT message, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case EM_EXGETSEL:
        if (auto* cr = reinterpret_cast<CHARRANGE*>(lParam))
            *cr = CHARRANGE{static_cast<LONG>(core.SelStart()), static_cast<LONG>(core.SelEnd())};
        *pResult = static_cast<LRESULT>(core.SelEnd());
        return true;
    case EM_EXSETSEL:
        if (auto* cr = reinterpret_cast<CHARRANGE*>(lParam)) core.SetSel(cr->cpMin, cr->cpMax);
        *pResult = static_cast<LRESULT>(core.SelEnd());
        return true;
    case EM_GETSELTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        size_t count = buffer ? core.SelEnd() - core.SelStart() : 0;
        if (buffer) {
            std::memcpy(buffer, core.Text().data() + core.SelStart(), count);
            buffer[count] = '\0';
        }
        *pResult = static_cast<LRESULT>(count);
        return true;
    }
    default:
        return false;
    }
}

WindowProc NewRichEditProc() {
    auto core = std::make_shared<platform::EditCore>();
    return [core](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result;
        if (OnRichEditMessage(*core, message, lParam, &result) ||
            core->OnMessage(hWnd, message, wParam, lParam, &result))
            return result;
        return DefWindowProcA(hWnd, message, wParam, lParam);
    };
}

[[maybe_unused]] const ATOM richEditClass = PlatformRegisterClass(RICHEDIT_CLASSA, NewRichEditProc);

}  // namespace

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(RICHEDIT_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CRichEditCtrl::GetSel(CHARRANGE& cr) const {
    cr = CHARRANGE{0, 0};
    ::SendMessageA(m_hWnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const {
    CHARRANGE cr;
    GetSel(cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

void CRichEditCtrl::SetSel(CHARRANGE& cr) { ::SendMessageA(m_hWnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr)); }

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar) {
    CHARRANGE cr{static_cast<LONG>(nStartChar), static_cast<LONG>(nEndChar)};
    SetSel(cr);
}

CString CRichEditCtrl::GetSelText() const {
    CHARRANGE cr;
    GetSel(cr);
    CString text;
    int length = cr.cpMax - cr.cpMin;
    ::SendMessageA(m_hWnd, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.GetBuffer(length)));
    text.ReleaseBuffer(length);
    return text;
}

long CRichEditCtrl::GetTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }

void CRichEditCtrl::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo) {
    ::SendMessageA(m_hWnd, EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(lpszNewText));
}

BOOL CRichEditCtrl::SetReadOnly(BOOL bReadOnly) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_SETREADONLY, bReadOnly, 0));
}

void CRichEditCtrl::Clear() { ::SendMessageA(m_hWnd, WM_CLEAR, 0, 0); }

void CRichEditCtrl::Copy() { ::SendMessageA(m_hWnd, WM_COPY, 0, 0); }

void CRichEditCtrl::Cut() { ::SendMessageA(m_hWnd, WM_CUT, 0, 0); }

void CRichEditCtrl::Paste() { ::SendMessageA(m_hWnd, WM_PASTE, 0, 0); }
