// The button procedure, CButton, and CWnd's handing on of owner drawing.
#include "platform/mfc/Controls.h"

#include "platform/gdi/TextMetrics.h"
#include "platform/user/Painting.h"

namespace {

void PaintButton(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hWnd, &ps);
    if (!hDC) return;
    RECT client;
    GetClientRect(hWnd, &client);
    HWND hParent = GetParent(hWnd);
    if ((GetWindowLongA(hWnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
        DRAWITEMSTRUCT item{ODT_BUTTON,  static_cast<UINT>(GetWindowLongPtrA(hWnd, GWLP_ID)),
                            0,           ODA_DRAWENTIRE,
                            GetFocus() == hWnd ? ODS_FOCUS : 0u,
                            hWnd,        hDC,
                            client,      0};
        SendMessageA(hParent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    } else {
        auto hBrush = reinterpret_cast<HBRUSH>(
            SendMessageA(hParent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hWnd)));
        FillRect(hDC, &client, hBrush ? hBrush : GetSysColorBrush(COLOR_BTNFACE));
        char caption[256];
        GetWindowTextA(hWnd, caption, sizeof caption);
        SetBkMode(hDC, TRANSPARENT);
        DrawTextA(hDC, caption, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(hWnd, &ps);
}

LRESULT ButtonProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(hWnd, message, wParam, lParam);
    PaintButton(hWnd);
    return 0;
}

[[maybe_unused]] const ATOM buttonClass = PlatformRegisterClass("Button", [] { return WindowProc(ButtonProc); });

}  // namespace

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("Button", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (!lpDrawItemStruct) return;
    if (auto* pButton = DYNAMIC_DOWNCAST(CButton, FromHandlePermanent(lpDrawItemStruct->hwndItem)))
        pButton->DrawItem(lpDrawItemStruct);
}
