// The dialog's keyboard: tab stops, groups, the default button, Escape and
// mnemonics (IsDialogMessageA and the navigation calls of DialogBox.h).
#include <cctype>
#include <vector>

#include "platform/user/Controls.h"
#include "platform/user/DialogBox.h"

namespace {

std::vector<HWND> children(HWND hDlg) {
    std::vector<HWND> list;
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) list.push_back(h);
    return list;
}

DWORD StyleOf(HWND hWnd) { return static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE)); }

bool usable(HWND hWnd) { return IsWindowVisible(hWnd) && IsWindowEnabled(hWnd); }

LRESULT DlgCode(HWND hWnd, const MSG* pMsg) {
    return SendMessageA(hWnd, WM_GETDLGCODE, pMsg ? pMsg->wParam : 0, reinterpret_cast<LPARAM>(pMsg));
}

// The direct child of hDlg that holds hWnd, or null.
HWND ChildOf(HWND hDlg, HWND hWnd) {
    while (hWnd && GetParent(hWnd) != hDlg) hWnd = GetParent(hWnd);
    return hWnd;
}

bool IsRadio(HWND hWnd) { return DlgCode(hWnd, nullptr) & DLGC_RADIOBUTTON; }

// Entering a group of radio buttons lands on its checked one.
HWND CheckedInGroup(HWND hDlg, HWND hCtl) {
    if (!IsRadio(hCtl) || SendMessageA(hCtl, BM_GETCHECK, 0, 0) == BST_CHECKED) return hCtl;
    for (HWND h = GetNextDlgGroupItem(hDlg, hCtl, FALSE); h && h != hCtl; h = GetNextDlgGroupItem(hDlg, h, FALSE))
        if (IsRadio(h) && SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) return h;
    return hCtl;
}

void SendCommand(HWND hDlg, int id) {
    HWND hCtl = GetDlgItem(hDlg, id);
    if (hCtl && !IsWindowEnabled(hCtl)) return;
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hCtl));
}

// The id Return stands for: the focused push button, else the default one.
int ReturnId(HWND hDlg, HWND hFocus) {
    if (hFocus && (DlgCode(hFocus, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) return GetDlgCtrlID(hFocus);
    LRESULT def = SendMessageA(hDlg, DM_GETDEFID, 0, 0);
    return HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
}

// The character after the '&' of a control's text (an "&&" is a plain '&').
char MnemonicOf(HWND hWnd) {
    char text[256];
    GetWindowTextA(hWnd, text, sizeof text);
    for (const char* p = text; *p; ++p) {
        if (*p != '&') continue;
        if (p[1] == '&') {
            ++p;
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
    }
    return 0;
}

// Alt and a letter: a button is clicked (a push button sends its command),
// a label hands the focus to the control after it.
bool OnMnemonic(HWND hDlg, char ch) {
    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (HWND h : children(hDlg)) {
        if (!usable(h) && !(DlgCode(h, nullptr) & DLGC_STATIC)) continue;
        if (MnemonicOf(h) != ch) continue;
        LRESULT code = DlgCode(h, nullptr);
        if (code & DLGC_STATIC) {
            for (HWND n = GetWindow(h, GW_HWNDNEXT); n; n = GetWindow(n, GW_HWNDNEXT))
                if (usable(n) && !(DlgCode(n, nullptr) & DLGC_STATIC)) {
                    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(n), TRUE);
                    break;
                }
        } else if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            SendCommand(hDlg, GetDlgCtrlID(h));
        } else if (code & DLGC_BUTTON) {
            SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(h), TRUE);
            SendMessageA(h, BM_CLICK, 0, 0);
        } else {
            SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(h), TRUE);
        }
        return true;
    }
    return false;
}

bool OnKeyDown(HWND hDlg, const MSG& msg) {
    HWND hFocus = ChildOf(hDlg, GetFocus());
    LRESULT code = hFocus ? DlgCode(msg.hwnd, &msg) : 0;
    if (code & DLGC_WANTALLKEYS) return false;
    switch (msg.wParam) {
    case VK_TAB: {
        if (code & DLGC_WANTTAB) return false;
        bool back = GetKeyState(VK_SHIFT) < 0;
        HWND hNext = GetNextDlgTabItem(hDlg, hFocus, back);
        if (hNext) SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(CheckedInGroup(hDlg, hNext)), TRUE);
        return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (!hFocus || (code & DLGC_WANTARROWS)) return false;
        HWND hNext = GetNextDlgGroupItem(hDlg, hFocus, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
        if (hNext && hNext != hFocus) {
            SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hNext), TRUE);
            if ((StyleOf(hNext) & BS_TYPEMASK) == BS_AUTORADIOBUTTON && IsRadio(hNext))
                SendMessageA(hNext, BM_CLICK, 0, 0);
        }
        return true;
    }
    case VK_RETURN: SendCommand(hDlg, ReturnId(hDlg, hFocus)); return true;
    case VK_ESCAPE: SendCommand(hDlg, IDCANCEL); return true;
    default: return false;
    }
}

}  // namespace

BOOL IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    if (!lpMsg || !IsWindow(hDlg)) return FALSE;
    if (lpMsg->hwnd != hDlg && !ChildOf(hDlg, lpMsg->hwnd)) return FALSE;
    bool handled = false;
    if (lpMsg->message == WM_KEYDOWN)
        handled = OnKeyDown(hDlg, *lpMsg);
    else if (lpMsg->message == WM_SYSCHAR)
        handled = OnMnemonic(hDlg, static_cast<char>(lpMsg->wParam));
    if (!handled) {
        TranslateMessage(lpMsg);
        DispatchMessageA(lpMsg);
    }
    return TRUE;
}

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    std::vector<HWND> list = children(hDlg);
    size_t n = list.size();
    size_t at = n;
    for (size_t i = 0; i < n; ++i)
        if (list[i] == hCtl) at = i;
    for (size_t step = 1; step <= n; ++step) {
        size_t i = at == n ? (bPrevious ? n - step : step - 1) : (bPrevious ? at + n - step : at + step) % n;
        if ((StyleOf(list[i]) & WS_TABSTOP) && usable(list[i])) return list[i];
    }
    return hCtl;
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    std::vector<HWND> list = children(hDlg);
    size_t at = 0;
    while (at < list.size() && list[at] != hCtl) ++at;
    if (at == list.size()) return nullptr;
    // The group runs from its WS_GROUP control to the one before the next.
    size_t first = at;
    while (first > 0 && !(StyleOf(list[first]) & WS_GROUP)) --first;
    size_t last = at + 1;
    while (last < list.size() && !(StyleOf(list[last]) & WS_GROUP)) ++last;
    size_t count = last - first;
    for (size_t step = 1; step < count; ++step) {
        size_t offset = (at - first + (bPrevious ? count - step : step)) % count;
        if (usable(list[first + offset])) return list[first + offset];
    }
    return hCtl;
}
