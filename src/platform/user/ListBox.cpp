// The "ListBox" class (Controls.h) and the drawing of a list that the combo
// box's open list shares.
#include <memory>

#include "platform/gdi/TextMetrics.h"
#include "platform/user/ControlPaint.h"
#include "platform/user/Controls.h"
#include "platform/user/DialogBox.h"
#include "platform/user/ListBoxCore.h"
#include "platform/user/Painting.h"

namespace user {

void ListView::SetFont(HFONT hFont) {
    font = hFont;
    HDC hDC = CreateCompatibleDC(nullptr);
    if (hFont) SelectObject(hDC, hFont);
    rowHeight = LineHeight(hDC);
    DeleteDC(hDC);
}

int ListView::VisibleRows(HWND hWnd) const {
    RECT client;
    GetClientRect(hWnd, &client);
    int rows = (client.bottom - client.top - 2) / rowHeight;
    return rows > 0 ? rows : 1;
}

void ListView::ScrollToSelection(HWND hWnd) {
    int sel = list.Selection();
    if (sel < 0) return;
    int rows = VisibleRows(hWnd);
    if (sel < top) top = sel;
    if (sel >= top + rows) top = sel - rows + 1;
}

int ListView::ItemAt(HWND hWnd, int y) const {
    if (y < 1) return -1;
    int index = top + (y - 1) / rowHeight;
    return index < list.Count() && index < top + VisibleRows(hWnd) ? index : -1;
}

void ListView::Paint(HWND hWnd, HDC hDC, UINT ctlColorMessage) const {
    RECT client = FillControlBackground(hWnd, hDC, ctlColorMessage, COLOR_WINDOW);
    SetBkMode(hDC, TRANSPARENT);
    if (font) SelectObject(hDC, font);
    int rows = VisibleRows(hWnd);
    for (int i = top; i < list.Count() && i < top + rows; ++i) {
        RECT line{client.left + 1, client.top + 1 + (i - top) * rowHeight, client.right - 1,
                  client.top + 1 + (i - top + 1) * rowHeight};
        bool selected = i == list.Selection();
        if (selected) FillRect(hDC, &line, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        line.left += 2;
        DrawTextA(hDC, list.Text(i)->c_str(), -1, &line, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    }
    DrawFrame(hDC, client, GetSysColor(COLOR_WINDOWFRAME), 1);
}

int ListView::KeyTarget(HWND hWnd, UINT vk) const {
    int sel = list.Selection();
    int last = list.Count() - 1;
    int page = VisibleRows(hWnd);
    switch (vk) {
    case VK_UP: return sel > 0 ? sel - 1 : 0;
    case VK_DOWN: return sel < last ? sel + 1 : last;
    case VK_HOME: return 0;
    case VK_END: return last;
    case VK_PRIOR: return sel - page > 0 ? sel - page : 0;
    case VK_NEXT: return sel + page < last ? sel + page : last;
    default: return -1;
    }
}

}  // namespace user

namespace {

struct ListBoxState {
    user::ListView view;
};

DWORD StyleOf(HWND hWnd) { return static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE)); }

// A selection the user made: shown, and told with LBS_NOTIFY.
void UserSelect(HWND hWnd, ListBoxState& state, int index) {
    if (index < 0 || index == state.view.list.Selection()) return;
    state.view.list.Select(index);
    state.view.ScrollToSelection(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
    if (StyleOf(hWnd) & LBS_NOTIFY) PlatformNotifyParent(hWnd, LBN_SELCHANGE);
}

LRESULT ListBoxMessage(ListBoxState& state, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (user::OnFontMessage(hWnd, message, wParam, lParam, &result)) {
        if (message == WM_SETFONT) state.view.SetFont(reinterpret_cast<HFONT>(wParam));
        return result;
    }
    if (message >= LB_ADDSTRING && message <= LB_FINDSTRINGEXACT &&
        state.view.list.OnMessage(message, wParam, lParam, StyleOf(hWnd) & LBS_SORT, &result)) {
        if (message == LB_SETCURSEL || message == LB_SELECTSTRING) state.view.ScrollToSelection(hWnd);
        InvalidateRect(hWnd, nullptr, TRUE);
        return result;
    }
    switch (message) {
    case LB_GETTOPINDEX: return state.view.top;
    case LB_SETTOPINDEX:
        if (static_cast<int>(wParam) < 0 || static_cast<int>(wParam) >= state.view.list.Count()) return LB_ERR;
        state.view.top = static_cast<int>(wParam);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC hDC = BeginPaint(hWnd, &ps)) {
            state.view.Paint(hWnd, hDC, WM_CTLCOLORLISTBOX);
            EndPaint(hWnd, &ps);
        }
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
        SetFocus(hWnd);
        UserSelect(hWnd, state, state.view.ItemAt(hWnd, GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONDBLCLK:
        if (state.view.ItemAt(hWnd, GET_Y_LPARAM(lParam)) >= 0 && (StyleOf(hWnd) & LBS_NOTIFY))
            PlatformNotifyParent(hWnd, LBN_DBLCLK);
        return 0;
    case WM_KEYDOWN: UserSelect(hWnd, state, state.view.KeyTarget(hWnd, static_cast<UINT>(wParam))); return 0;
    case WM_CHAR: {
        char prefix[2] = {static_cast<char>(wParam), '\0'};
        UserSelect(hWnd, state, state.view.list.Find(state.view.list.Selection(), prefix, false));
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SIZE: InvalidateRect(hWnd, nullptr, TRUE); return 0;
    default: return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

[[maybe_unused]] const ATOM kListBoxClass = PlatformRegisterClass("ListBox", [] {
    auto state = std::make_shared<ListBoxState>();
    return WindowProc([state](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return ListBoxMessage(*state, hWnd, message, wParam, lParam);
    });
});

}  // namespace
