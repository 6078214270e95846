// Painting and notification helpers of the predefined controls (ControlPaint.h).
#include "platform/user/ControlPaint.h"

#include "platform/gdi/TextMetrics.h"
#include "platform/user/Controls.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/WindowTable.h"

namespace user {

HBRUSH ControlBrush(HWND hWnd, HDC hDC, UINT message, int nSysColor) {
    auto hBrush = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(hWnd), message, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hWnd)));
    return hBrush ? hBrush : GetSysColorBrush(nSysColor);
}

RECT FillControlBackground(HWND hWnd, HDC hDC, UINT message, int nSysColor) {
    RECT client;
    GetClientRect(hWnd, &client);
    FillRect(hDC, &client, ControlBrush(hWnd, hDC, message, nSysColor));
    return client;
}

void DrawFrame(HDC hDC, const RECT& r, COLORREF color, int thickness) {
    HBRUSH hBrush = CreateSolidBrush(color);
    const RECT sides[] = {{r.left, r.top, r.right, r.top + thickness},
                          {r.left, r.bottom - thickness, r.right, r.bottom},
                          {r.left, r.top, r.left + thickness, r.bottom},
                          {r.right - thickness, r.top, r.right, r.bottom}};
    for (const RECT& side : sides) FillRect(hDC, &side, hBrush);
    DeleteObject(hBrush);
}

std::string ControlCaption(HWND hWnd, bool bPrefix) {
    int length = GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hWnd, text.data(), length + 1)));
    if (!bPrefix) return text;
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

bool OnFontMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_GETFONT) {
        *pResult = reinterpret_cast<LRESULT>(withWindow(hWnd, HFONT{}, [](Window& w) { return w.font; }));
        return true;
    }
    if (message != WM_SETFONT) return false;
    withWindow(hWnd, 0, [&](Window& w) {
        w.font = reinterpret_cast<HFONT>(wParam);
        return 0;
    });
    if (LOWORD(lParam)) InvalidateRect(hWnd, nullptr, TRUE);
    *pResult = 0;
    return true;
}

void SelectControlFont(HWND hWnd, HDC hDC) {
    if (HFONT hFont = withWindow(hWnd, HFONT{}, [](Window& w) { return w.font; })) SelectObject(hDC, hFont);
}

int LineHeight(HDC hDC) {
    TEXTMETRICA tm{};
    return GetTextMetricsA(hDC, &tm) && tm.tmHeight > 0 ? tm.tmHeight : PLATFORM_LINE_HEIGHT;
}

int ControlLineHeight(HWND hWnd) { return LineHeight(MeasureDC(hWnd)); }

MeasureDC::MeasureDC(HWND hWnd) : m_dc(CreateCompatibleDC(nullptr)) {
    if (m_dc) SelectControlFont(hWnd, m_dc);
}

MeasureDC::~MeasureDC() {
    if (m_dc) DeleteDC(m_dc);
}

}  // namespace user

void PlatformNotifyParent(HWND hCtl, UINT nCode) {
    SendMessageA(GetParent(hCtl), WM_COMMAND, MAKEWPARAM(GetWindowLongPtrA(hCtl, GWLP_ID), nCode),
                 reinterpret_cast<LPARAM>(hCtl));
}
