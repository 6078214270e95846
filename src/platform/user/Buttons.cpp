// The "Button" class: push buttons, check boxes, radio buttons, group boxes
// and owner-drawn buttons (Controls.h).
#include <memory>

#include "platform/gdi/TextMetrics.h"
#include "platform/user/ControlPaint.h"
#include "platform/user/Controls.h"
#include "platform/user/DialogBox.h"
#include "platform/user/Painting.h"

namespace {

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;
};

DWORD TypeOf(HWND hWnd) { return static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsCheckBox(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsRadio(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool IsPush(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW; }

void PaintOwnerDrawn(HWND hWnd, HDC hDC, const RECT& client, const ButtonState& state) {
    DRAWITEMSTRUCT item{ODT_BUTTON,
                        static_cast<UINT>(GetWindowLongPtrA(hWnd, GWLP_ID)),
                        0,
                        ODA_DRAWENTIRE,
                        (GetFocus() == hWnd ? ODS_FOCUS : 0u) | (state.pushed ? ODS_SELECTED : 0u) |
                            (IsWindowEnabled(hWnd) ? 0u : ODS_DISABLED),
                        hWnd,
                        hDC,
                        client,
                        0};
    SendMessageA(GetParent(hWnd), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void paint(HWND hWnd, const ButtonState& state) {
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hWnd, &ps);
    if (!hDC) return;
    DWORD type = TypeOf(hWnd);
    RECT client;
    GetClientRect(hWnd, &client);
    if (type == BS_OWNERDRAW) {
        PaintOwnerDrawn(hWnd, hDC, client, state);
        EndPaint(hWnd, &ps);
        return;
    }
    user::FillControlBackground(hWnd, hDC, IsPush(type) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC, COLOR_BTNFACE);
    user::SelectControlFont(hWnd, hDC);
    std::string caption = user::ControlCaption(hWnd);
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, GetSysColor(IsWindowEnabled(hWnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    if (IsPush(type)) {
        if (state.pushed) {
            RECT inner{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
            FillRect(hDC, &inner, GetSysColorBrush(COLOR_BTNSHADOW));
        }
        user::DrawFrame(hDC, client, frame, type == BS_DEFPUSHBUTTON ? 2 : 1);
        DrawTextA(hDC, caption.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else if (type == BS_GROUPBOX) {
        int lineHeight = user::LineHeight(hDC);
        RECT box{client.left, client.top + lineHeight / 2, client.right, client.bottom};
        user::DrawFrame(hDC, box, GetSysColor(COLOR_BTNSHADOW), 1);
        if (!caption.empty()) {
            SIZE extent{};
            GetTextExtentPoint32A(hDC, caption.c_str(), static_cast<int>(caption.size()), &extent);
            RECT label{client.left + 6, client.top, client.left + 10 + extent.cx, client.top + lineHeight};
            FillRect(hDC, &label, user::ControlBrush(hWnd, hDC, WM_CTLCOLORSTATIC, COLOR_BTNFACE));
            label.left += 2;
            DrawTextA(hDC, caption.c_str(), -1, &label, DT_LEFT | DT_SINGLELINE);
        }
    } else {
        // A 13-pixel box (or ring) at the left, vertically centred, the
        // caption after it.
        int top = (client.top + client.bottom - 13) / 2;
        RECT box{client.left, top, client.left + 13, top + 13};
        FillRect(hDC, &box, GetSysColorBrush(COLOR_WINDOW));
        user::DrawFrame(hDC, box, frame, 1);
        if (state.check != BST_UNCHECKED) {
            RECT mark{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
            FillRect(hDC, &mark,
                     GetSysColorBrush(state.check == BST_INDETERMINATE ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        }
        RECT text{box.right + 4, client.top, client.right, client.bottom};
        DrawTextA(hDC, caption.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(hWnd, &ps);
}

// The automatic kinds change their check, then the parent hears of it.
void click(HWND hWnd, ButtonState& state) {
    DWORD type = TypeOf(hWnd);
    if (type == BS_AUTOCHECKBOX) {
        SendMessageA(hWnd, BM_SETCHECK, state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    } else if (type == BS_AUTO3STATE) {
        SendMessageA(hWnd, BM_SETCHECK, (state.check + 1) % 3, 0);
    } else if (type == BS_AUTORADIOBUTTON) {
        HWND hParent = GetParent(hWnd);
        for (HWND h = GetNextDlgGroupItem(hParent, hWnd, FALSE); h && h != hWnd;
             h = GetNextDlgGroupItem(hParent, h, FALSE))
            if (TypeOf(h) == BS_AUTORADIOBUTTON) SendMessageA(h, BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessageA(hWnd, BM_SETCHECK, BST_CHECKED, 0);
    }
    PlatformNotifyParent(hWnd, BN_CLICKED);
}

void SetPushed(HWND hWnd, ButtonState& state, bool pushed) {
    if (state.pushed == pushed) return;
    state.pushed = pushed;
    InvalidateRect(hWnd, nullptr, TRUE);
}

LRESULT ButtonMessage(ButtonState& state, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD type = TypeOf(hWnd);
    if (LRESULT result = 0; user::OnFontMessage(hWnd, message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_PAINT: paint(hWnd, state); return 0;
    case WM_NCHITTEST:
        // A group box lets clicks through to the controls inside it.
        return type == BS_GROUPBOX ? HTTRANSPARENT : DefWindowProcA(hWnd, message, wParam, lParam);
    case WM_GETDLGCODE:
        if (type == BS_GROUPBOX) return DLGC_STATIC;
        if (IsRadio(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (type == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        return DLGC_BUTTON;
    case BM_GETCHECK: return IsCheckBox(type) || IsRadio(type) ? state.check : BST_UNCHECKED;
    case BM_SETCHECK: {
        UINT check = static_cast<UINT>(wParam);
        if (check > BST_INDETERMINATE || (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE))
            check = check ? BST_CHECKED : BST_UNCHECKED;
        if ((IsCheckBox(type) || IsRadio(type)) && check != state.check) {
            state.check = check;
            InvalidateRect(hWnd, nullptr, TRUE);
        }
        return 0;
    }
    case BM_GETSTATE: return state.check | (state.pushed ? BST_PUSHED : 0) | (GetFocus() == hWnd ? BST_FOCUS : 0);
    case BM_SETSTATE: SetPushed(hWnd, state, wParam != 0); return 0;
    case BM_SETSTYLE: {
        DWORD style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
        SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>((style & ~BS_TYPEMASK) | (wParam & BS_TYPEMASK)));
        if (lParam) InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    }
    case BM_CLICK:
        if (type != BS_GROUPBOX && IsWindowEnabled(hWnd)) click(hWnd, state);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (type == BS_GROUPBOX) return 0;
        SetFocus(hWnd);
        SetCapture(hWnd);
        SetPushed(hWnd, state, true);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hWnd) {
            RECT client;
            GetClientRect(hWnd, &client);
            int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            SetPushed(hWnd, state, x >= client.left && x < client.right && y >= client.top && y < client.bottom);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hWnd) {
            bool inside = state.pushed;
            ReleaseCapture();
            SetPushed(hWnd, state, false);
            if (inside) click(hWnd, state);
        }
        return 0;
    case WM_CAPTURECHANGED: SetPushed(hWnd, state, false); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && type != BS_GROUPBOX) SetPushed(hWnd, state, true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && state.pushed) {
            SetPushed(hWnd, state, false);
            click(hWnd, state);
        }
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        if (message == WM_KILLFOCUS) SetPushed(hWnd, state, false);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(hWnd, message, wParam, lParam);
        InvalidateRect(hWnd, nullptr, TRUE);
        return result;
    }
    default: return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

[[maybe_unused]] const ATOM kButtonClass = PlatformRegisterClass("Button", [] {
    auto state = std::make_shared<ButtonState>();
    return WindowProc([state](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return ButtonMessage(*state, hWnd, message, wParam, lParam);
    });
});

}  // namespace
