// The edit controls' core (text, selection and the clipboard messages) and
// the window class "EDIT".
#include "platform/user/EditCore.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/user/Clipboard.h"
#include "platform/user/ControlPaint.h"
#include "platform/user/Controls.h"
#include "platform/user/DialogBox.h"

namespace platform {

namespace {

DWORD styleOf(HWND hWnd) { return static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE)); }

std::string_view textOf(LPARAM lParam) {
    const char* psz = reinterpret_cast<const char*>(lParam);
    return psz ? std::string_view(psz) : std::string_view();
}

}  // namespace

bool EditCore::OnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = 0;
    if (user::OnFontMessage(hWnd, message, wParam, lParam, pResult)) return true;
    if (OnInput(hWnd, message, wParam, lParam)) return true;
    switch (message) {
    case WM_SETTEXT:
    case EM_SETSEL:
    case EM_REPLACESEL:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
        InvalidateRect(hWnd, nullptr, TRUE);  // below, the text or selection changes
        break;
    default:
        break;
    }
    switch (message) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetText(cs ? textOf(reinterpret_cast<LPARAM>(cs->lpszName)) : std::string_view());
        *pResult = TRUE;
        return true;
    }
    case WM_SETTEXT:
        SetText(textOf(lParam));
        *pResult = TRUE;
        return true;
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0) return true;
        size_t n = std::min(m_text.size(), static_cast<size_t>(wParam) - 1);
        m_text.copy(buffer, n);
        buffer[n] = '\0';
        *pResult = static_cast<LRESULT>(n);
        return true;
    }
    case WM_GETTEXTLENGTH: *pResult = static_cast<LRESULT>(m_text.size()); return true;
    case EM_GETSEL: {
        if (auto* pStart = reinterpret_cast<DWORD*>(wParam)) *pStart = static_cast<DWORD>(SelStart());
        if (auto* pEnd = reinterpret_cast<DWORD*>(lParam)) *pEnd = static_cast<DWORD>(SelEnd());
        *pResult = SelEnd() > 0xFFFF ? -1 : MAKELONG(SelStart(), SelEnd());
        return true;
    }
    case EM_SETSEL:
        SetSel(static_cast<long>(static_cast<INT_PTR>(wParam)), static_cast<long>(lParam));
        return true;
    case EM_REPLACESEL:
        ReplaceSel(textOf(lParam));
        return true;
    case WM_GETDLGCODE: *pResult = DialogCode(hWnd, reinterpret_cast<const MSG*>(lParam)); return true;
    case EM_SETREADONLY: {
        DWORD style = styleOf(hWnd);
        style = wParam ? style | ES_READONLY : style & ~ES_READONLY;
        SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(style));
        *pResult = TRUE;
        return true;
    }
    case WM_COPY:
        CopySelection(hWnd);
        return true;
    case WM_CUT:
        if (!(styleOf(hWnd) & ES_READONLY) && CopySelection(hWnd)) ReplaceSel({});
        return true;
    case WM_PASTE:
        if (!(styleOf(hWnd) & ES_READONLY)) Paste(hWnd);
        return true;
    case WM_CLEAR:
        if (!(styleOf(hWnd) & ES_READONLY)) ReplaceSel({});
        return true;
    default:
        return false;
    }
}

LRESULT EditCore::DialogCode(HWND hWnd, const MSG* pMsg) const {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (!(styleOf(hWnd) & ES_MULTILINE) || !pMsg || pMsg->message != WM_KEYDOWN) return code;
    // A multi-line control takes every key but Tab, Escape, and Return
    // without ES_WANTRETURN, which stay the dialog's.
    bool dialogKey = pMsg->wParam == VK_TAB || pMsg->wParam == VK_ESCAPE ||
                     (pMsg->wParam == VK_RETURN && !(styleOf(hWnd) & ES_WANTRETURN));
    return dialogKey ? code : code | DLGC_WANTALLKEYS;
}

bool EditCore::TakeChanged() {
    bool was = m_changed;
    m_changed = false;
    return was;
}

void EditCore::SetText(std::string_view newText) {
    m_changed = m_changed || m_text != newText;
    m_text.assign(newText);
    m_anchor = m_caret = 0;
}

void EditCore::SetSel(long start, long end) {
    auto clamp = [this](long position) {
        return position < 0 ? m_text.size() : std::min(static_cast<size_t>(position), m_text.size());
    };
    if (start < 0) {
        m_anchor = m_caret;
        return;
    }
    m_anchor = clamp(start);
    m_caret = clamp(end);
}

void EditCore::ReplaceSel(std::string_view newText) {
    size_t start = SelStart();
    m_changed = m_changed || SelEnd() > start || !newText.empty();
    m_text.replace(start, SelEnd() - start, newText);
    m_anchor = m_caret = start + newText.size();
}

bool EditCore::CopySelection(HWND hWnd) const {
    size_t start = SelStart(), length = SelEnd() - start;
    if (length == 0 || !OpenClipboard(hWnd)) return false;
    bool copied = false;
    if (HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, length + 1)) {
        char* p = static_cast<char*>(GlobalLock(hMem));
        m_text.copy(p, length, start);
        p[length] = '\0';
        GlobalUnlock(hMem);
        copied = EmptyClipboard() && SetClipboardData(CF_TEXT, hMem);
        if (!copied) GlobalFree(hMem);
    }
    CloseClipboard();
    return copied;
}

void EditCore::Paste(HWND hWnd) {
    if (!OpenClipboard(hWnd)) return;
    HGLOBAL hMem = GetClipboardData(CF_TEXT);
    if (const char* p = static_cast<const char*>(GlobalLock(hMem))) {
        std::string_view pasted(p, strnlen(p, GlobalSize(hMem)));
        if (!(styleOf(hWnd) & ES_MULTILINE)) pasted = pasted.substr(0, pasted.find_first_of("\r\n"));
        ReplaceSel(pasted);
        GlobalUnlock(hMem);
    }
    CloseClipboard();
}

}  // namespace platform

namespace {

// Each window gets a core of its own, released with its procedure.
WindowProc newEditProc() {
    auto core = std::make_shared<platform::EditCore>();
    return [core](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result;
        if (!core->OnMessage(hWnd, message, wParam, lParam, &result))
            result = DefWindowProcA(hWnd, message, wParam, lParam);
        // The parent hears of every change but the initial text.
        if (core->TakeChanged() && message != WM_NCCREATE) PlatformNotifyParent(hWnd, EN_CHANGE);
        return result;
    };
}

[[maybe_unused]] const ATOM editClass = PlatformRegisterClass("EDIT", newEditProc);

}  // namespace
