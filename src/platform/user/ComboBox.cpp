// The "ComboBox" class: a field (an edit, or the selection shown) over a
// list that opens below it (Controls.h).
#include <memory>

#include "platform/gdi/TextMetrics.h"
#include "platform/user/ControlPaint.h"
#include "platform/user/Controls.h"
#include "platform/user/DialogBox.h"
#include "platform/user/EditCore.h"
#include "platform/user/ListBoxCore.h"
#include "platform/user/Painting.h"

namespace {

constexpr int kFieldHeight = PLATFORM_LINE_HEIGHT + 6;
constexpr int kButtonWidth = 16;
constexpr int kEditId = 1001;

struct ComboState {
    user::ListView view;
    HWND hEdit = nullptr;     // CBS_DROPDOWN's field
    HWND hDropped = nullptr;  // the open list, a sibling laid over what is below
    int listHeight = 0;
    bool settingEdit = false;  // our own change of the edit's text is no user's edit
};

DWORD TypeOf(HWND hWnd) { return static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE)) & 0x3u; }

// Map the combo's list messages onto the list box's.
UINT ListMessage(UINT message) {
    switch (message) {
    case CB_ADDSTRING: return LB_ADDSTRING;
    case CB_DELETESTRING: return LB_DELETESTRING;
    case CB_GETCOUNT: return LB_GETCOUNT;
    case CB_GETCURSEL: return LB_GETCURSEL;
    case CB_GETLBTEXT: return LB_GETTEXT;
    case CB_GETLBTEXTLEN: return LB_GETTEXTLEN;
    case CB_INSERTSTRING: return LB_INSERTSTRING;
    case CB_RESETCONTENT: return LB_RESETCONTENT;
    case CB_FINDSTRING: return LB_FINDSTRING;
    case CB_SELECTSTRING: return LB_SELECTSTRING;
    case CB_SETCURSEL: return LB_SETCURSEL;
    case CB_GETITEMDATA: return LB_GETITEMDATA;
    case CB_SETITEMDATA: return LB_SETITEMDATA;
    case CB_FINDSTRINGEXACT: return LB_FINDSTRINGEXACT;
    default: return 0;
    }
}

// The edit shows the selection's text after a change of selection.
void ShowSelection(HWND hWnd, ComboState& state) {
    if (state.hEdit) {
        const std::string* text = state.view.list.Text(state.view.list.Selection());
        state.settingEdit = true;
        SetWindowTextA(state.hEdit, text ? text->c_str() : "");
        state.settingEdit = false;
    }
    InvalidateRect(hWnd, nullptr, TRUE);
    if (state.hDropped) {
        state.view.ScrollToSelection(state.hDropped);
        InvalidateRect(state.hDropped, nullptr, TRUE);
    }
}

void UserSelect(HWND hWnd, ComboState& state, int index) {
    if (index < 0 || index == state.view.list.Selection()) return;
    state.view.list.Select(index);
    ShowSelection(hWnd, state);
    PlatformNotifyParent(hWnd, CBN_SELCHANGE);
}

void CloseList(HWND hWnd, ComboState& state) {
    if (!state.hDropped) return;
    HWND hList = state.hDropped;
    state.hDropped = nullptr;
    DestroyWindow(hList);
    PlatformNotifyParent(hWnd, CBN_CLOSEUP);
}

void OpenList(HWND hWnd, ComboState& state) {
    if (state.hDropped) return;
    PlatformNotifyParent(hWnd, CBN_DROPDOWN);
    RECT r;
    GetWindowRect(hWnd, &r);
    HWND hParent = GetParent(hWnd);
    POINT at{r.left, r.bottom};
    if (hParent) ScreenToClient(hParent, &at);
    HWND hCombo = hWnd;
    ComboState* pState = &state;
    state.hDropped = PlatformCreateWindowEx(
        [hCombo, pState](HWND hList, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            // The list lives only while its combo does (the combo closes it).
            switch (message) {
            case WM_PAINT: {
                PAINTSTRUCT ps;
                if (HDC hDC = BeginPaint(hList, &ps)) {
                    pState->view.Paint(hList, hDC, WM_CTLCOLORLISTBOX);
                    EndPaint(hList, &ps);
                }
                return 0;
            }
            case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
            case WM_LBUTTONDOWN: {
                int index = pState->view.ItemAt(hList, GET_Y_LPARAM(lParam));
                UserSelect(hCombo, *pState, index);
                CloseList(hCombo, *pState);
                return 0;
            }
            default: return DefWindowProcA(hList, message, wParam, lParam);
            }
        },
        0, "ComboLBox", "", WS_CHILD | WS_VISIBLE | WS_BORDER, at.x, at.y, r.right - r.left, state.listHeight, hParent,
        nullptr, nullptr);
    state.view.ScrollToSelection(state.hDropped);
}

void ToggleList(HWND hWnd, ComboState& state) {
    if (state.hDropped)
        CloseList(hWnd, state);
    else
        OpenList(hWnd, state);
}

// Keys the combo answers, whether it or its edit has the focus. True when
// the key was the combo's.
bool OnKey(HWND hWnd, ComboState& state, UINT message, UINT vk) {
    bool alt = message == WM_SYSKEYDOWN;
    if (vk == VK_F4 || (alt && (vk == VK_DOWN || vk == VK_UP))) {
        ToggleList(hWnd, state);
        return true;
    }
    if (message != WM_KEYDOWN) return false;
    if (state.hDropped && (vk == VK_RETURN || vk == VK_ESCAPE)) {
        CloseList(hWnd, state);
        return true;
    }
    if (vk == VK_UP || vk == VK_DOWN || (vk >= VK_PRIOR && vk <= VK_HOME && !state.hEdit)) {
        UserSelect(hWnd, state, state.view.KeyTarget(state.hDropped ? state.hDropped : hWnd, vk));
        return true;
    }
    return false;
}

void paint(HWND hWnd, ComboState& state) {
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hWnd, &ps);
    if (!hDC) return;
    RECT client = user::FillControlBackground(hWnd, hDC, WM_CTLCOLOREDIT, COLOR_WINDOW);
    RECT button{client.right - kButtonWidth, client.top, client.right, client.bottom};
    FillRect(hDC, &button, GetSysColorBrush(COLOR_BTNFACE));
    user::DrawFrame(hDC, button, GetSysColor(COLOR_BTNSHADOW), 1);
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, GetSysColor(COLOR_BTNTEXT));
    user::SelectControlFont(hWnd, hDC);
    DrawTextA(hDC, "\xE2\x96\xBE", -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);  // a small down triangle
    if (!state.hEdit) {
        RECT field{client.left + 1, client.top + 1, button.left - 1, client.bottom - 1};
        bool focused = GetFocus() == hWnd;
        if (focused) FillRect(hDC, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hDC, GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        const std::string* text = state.view.list.Text(state.view.list.Selection());
        field.left += 2;
        if (text) DrawTextA(hDC, text->c_str(), -1, &field, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    user::DrawFrame(hDC, client, GetSysColor(COLOR_WINDOWFRAME), 1);
    EndPaint(hWnd, &ps);
}

// The edit passes the combo's keys to it and asks for every key while the
// list is open.
void WrapEdit(HWND hCombo, ComboState& state) {
    auto pPrevious = std::make_shared<WindowProc>();
    ComboState* pState = &state;
    *pPrevious = PlatformSetWindowProc(
        state.hEdit, [hCombo, pState, pPrevious](HWND hEdit, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_GETDLGCODE && pState->hDropped)
                return static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTCHARS);
            if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) &&
                OnKey(hCombo, *pState, message, static_cast<UINT>(wParam)))
                return LRESULT{0};
            return (*pPrevious)(hEdit, message, wParam, lParam);
        });
}

LRESULT ComboMessage(ComboState& state, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; user::OnFontMessage(hWnd, message, wParam, lParam, &result)) {
        if (message == WM_SETFONT) {
            state.view.SetFont(reinterpret_cast<HFONT>(wParam));
            if (state.hEdit) SendMessageA(state.hEdit, WM_SETFONT, wParam, lParam);
        }
        return result;
    }
    if (UINT lb = ListMessage(message)) {
        LRESULT result = CB_ERR;
        bool sorted = GetWindowLongA(hWnd, GWL_STYLE) & CBS_SORT;
        state.view.list.OnMessage(lb, wParam, lParam, sorted, &result);
        if (lb == LB_SETCURSEL || lb == LB_SELECTSTRING || lb == LB_DELETESTRING || lb == LB_RESETCONTENT)
            ShowSelection(hWnd, state);
        if (state.hDropped) InvalidateRect(state.hDropped, nullptr, TRUE);
        return result;
    }
    switch (message) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        state.listHeight =
            cs->cy > kFieldHeight + 3 * PLATFORM_LINE_HEIGHT ? cs->cy - kFieldHeight : 3 * PLATFORM_LINE_HEIGHT + 2;
        MoveWindow(hWnd, cs->x, cs->y, cs->cx, kFieldHeight, FALSE);
        if (TypeOf(hWnd) != CBS_DROPDOWNLIST) {
            state.hEdit = CreateWindowExA(0, "Edit", cs->lpszName, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 1, 1,
                                          cs->cx - kButtonWidth - 2, kFieldHeight - 2, hWnd,
                                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditId)), nullptr, nullptr);
            if (!state.hEdit) return -1;
            WrapEdit(hWnd, state);
        }
        return 0;
    }
    case WM_DESTROY: CloseList(hWnd, state); return 0;
    case WM_SETTEXT:
        if (state.hEdit) {
            state.settingEdit = true;
            LRESULT result = SendMessageA(state.hEdit, message, wParam, lParam);
            state.settingEdit = false;
            return result;
        }
        {
            int found = state.view.list.Find(-1, reinterpret_cast<const char*>(lParam), true);
            if (found < 0) return CB_ERR;
            state.view.list.Select(found);
            ShowSelection(hWnd, state);
            return TRUE;
        }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        if (state.hEdit) return SendMessageA(state.hEdit, message, wParam, lParam);
        const std::string* text = state.view.list.Text(state.view.list.Selection());
        std::string shown = text ? *text : std::string();
        if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(shown.size());
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0) return 0;
        size_t n = shown.size() < wParam - 1 ? shown.size() : wParam - 1;
        shown.copy(buffer, n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case CB_SHOWDROPDOWN:
        if (wParam)
            OpenList(hWnd, state);
        else
            CloseList(hWnd, state);
        return TRUE;
    case CB_GETDROPPEDSTATE: return state.hDropped != nullptr;
    case CB_GETEDITSEL: return state.hEdit ? SendMessageA(state.hEdit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
        if (!state.hEdit) return CB_ERR;
        SendMessageA(state.hEdit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                     static_cast<short>(HIWORD(lParam)));
        return TRUE;
    case CB_LIMITTEXT: return TRUE;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == state.hEdit && HIWORD(wParam) == EN_CHANGE && !state.settingEdit)
            PlatformNotifyParent(hWnd, CBN_EDITCHANGE);
        return 0;
    case WM_PAINT: paint(hWnd, state); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (state.hDropped ? DLGC_WANTALLKEYS : 0);
    case WM_LBUTTONDOWN:
        SetFocus(state.hEdit ? state.hEdit : hWnd);
        ToggleList(hWnd, state);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (OnKey(hWnd, state, message, static_cast<UINT>(wParam))) return 0;
        return DefWindowProcA(hWnd, message, wParam, lParam);
    case WM_CHAR:
        if (!state.hEdit) {
            char prefix[2] = {static_cast<char>(wParam), '\0'};
            UserSelect(hWnd, state, state.view.list.Find(state.view.list.Selection(), prefix, false));
        }
        return 0;
    case WM_SETFOCUS:
        if (state.hEdit) SetFocus(state.hEdit);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_KILLFOCUS: InvalidateRect(hWnd, nullptr, TRUE); return 0;
    default: return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

[[maybe_unused]] const ATOM kComboClass = PlatformRegisterClass("ComboBox", [] {
    auto state = std::make_shared<ComboState>();
    return WindowProc([state](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return ComboMessage(*state, hWnd, message, wParam, lParam);
    });
});

}  // namespace
