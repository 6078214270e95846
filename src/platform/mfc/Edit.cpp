// CEdit: messages to its "EDIT" window.
#include "platform/mfc/Edit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

DWORD CEdit::GetSel() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, EM_GETSEL, 0, 0)); }

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    DWORD start = 0, end = 0;
    ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
}

void CEdit::SetSel(DWORD dwSelection, BOOL) {
    ::SendMessageA(m_hWnd, EM_SETSEL, LOWORD(dwSelection), HIWORD(dwSelection));
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL) {
    ::SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
}

void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo) {
    ::SendMessageA(m_hWnd, EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(lpszNewText));
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_SETREADONLY, bReadOnly, 0)); }

void CEdit::Clear() { ::SendMessageA(m_hWnd, WM_CLEAR, 0, 0); }

void CEdit::Copy() { ::SendMessageA(m_hWnd, WM_COPY, 0, 0); }

void CEdit::Cut() { ::SendMessageA(m_hWnd, WM_CUT, 0, 0); }

void CEdit::Paste() { ::SendMessageA(m_hWnd, WM_PASTE, 0, 0); }
