// The "Static" class: labels, rectangles, frames and icons (Controls.h).
#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>

#include "platform/gdi/TextMetrics.h"
#include "platform/kernel/Library.h"
#include "platform/shared/NoDestructor.h"
#include "platform/user/ControlPaint.h"
#include "platform/user/Controls.h"
#include "platform/user/DialogBox.h"
#include "platform/user/Icons.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"

namespace {

// The icon each SS_ICON static shows.
struct StaticIcons {
    std::mutex lock;
    std::map<HWND, HICON> icons;
};

StaticIcons& Icons() {
    static NoDestructor<StaticIcons> icons;
    return *icons;
}

HICON IconOf(HWND hWnd) {
    StaticIcons& t = Icons();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.icons.find(hWnd);
    return it == t.icons.end() ? nullptr : it->second;
}

// An icon static takes its icon's size, as on the original.
void FitIcon(HWND hWnd, HICON hIcon) {
    ICONINFO info{};
    if (!GetIconInfo(hIcon, &info)) return;
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    RECT r{};
    GetWindowRect(hWnd, &r);
    POINT at{r.left, r.top};
    if (HWND hParent = GetParent(hWnd)) ScreenToClient(hParent, &at);
    MoveWindow(hWnd, at.x, at.y, bm.bmWidth, bm.bmHeight, TRUE);
}

HICON SetIcon(HWND hWnd, HICON hIcon) {
    if (hIcon) FitIcon(hWnd, hIcon);
    HICON old;
    {
        StaticIcons& t = Icons();
        std::lock_guard<std::mutex> guard(t.lock);
        HICON& slot = t.icons[hWnd];
        old = std::exchange(slot, hIcon);
    }
    InvalidateRect(hWnd, nullptr, TRUE);
    return old;
}

// The icon the static's text names: the creating module's, else a
// standard one.
void LoadNamedIcon(HWND hWnd, const CREATESTRUCTA& cs) {
    if (!cs.lpszName || !*cs.lpszName) return;
    HINSTANCE hInst = cs.hInstance ? cs.hInstance : reinterpret_cast<HINSTANCE>(GetModuleHandleA(nullptr));
    HICON hIcon = LoadIconA(hInst, cs.lpszName);
    if (!hIcon)
        hIcon = LoadIconA(nullptr, cs.lpszName[0] == '#' ? MAKEINTRESOURCE(std::atoi(cs.lpszName + 1)) : cs.lpszName);
    if (hIcon) SetIcon(hWnd, hIcon);
}

void PaintText(HWND hWnd, HDC hDC, DWORD style, RECT client) {
    DWORD type = style & SS_TYPEMASK;
    UINT format = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
    format |= type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK;
    std::string text = user::ControlCaption(hWnd, !(style & SS_NOPREFIX));
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, GetSysColor(IsWindowEnabled(hWnd) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    user::SelectControlFont(hWnd, hDC);
    DrawTextA(hDC, text.c_str(), -1, &client, format);
}

void paint(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hWnd, &ps);
    if (!hDC) return;
    DWORD style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
    RECT client = user::FillControlBackground(hWnd, hDC, WM_CTLCOLORSTATIC, COLOR_BTNFACE);
    switch (style & SS_TYPEMASK) {
    case SS_BLACKRECT: FillRect(hDC, &client, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
    case SS_GRAYRECT: FillRect(hDC, &client, GetSysColorBrush(COLOR_BTNSHADOW)); break;
    case SS_WHITERECT: FillRect(hDC, &client, GetSysColorBrush(COLOR_WINDOW)); break;
    case SS_BLACKFRAME: user::DrawFrame(hDC, client, GetSysColor(COLOR_WINDOWFRAME), 1); break;
    case SS_ICON:
        if (HICON hIcon = IconOf(hWnd)) DrawIcon(hDC, client.left, client.top, hIcon);
        break;
    case SS_GRAYFRAME:
    case SS_ETCHEDFRAME: user::DrawFrame(hDC, client, GetSysColor(COLOR_BTNSHADOW), 1); break;
    case SS_WHITEFRAME: user::DrawFrame(hDC, client, GetSysColor(COLOR_WINDOW), 1); break;
    case SS_ETCHEDHORZ: {
        RECT line{client.left, client.top, client.right, client.top + 1};
        FillRect(hDC, &line, GetSysColorBrush(COLOR_BTNSHADOW));
        break;
    }
    case SS_ETCHEDVERT: {
        RECT line{client.left, client.top, client.left + 1, client.bottom};
        FillRect(hDC, &line, GetSysColorBrush(COLOR_BTNSHADOW));
        break;
    }
    default: PaintText(hWnd, hDC, style, client); break;
    }
    if (style & SS_SUNKEN) user::DrawFrame(hDC, client, GetSysColor(COLOR_BTNSHADOW), 1);
    EndPaint(hWnd, &ps);
}

LRESULT StaticProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; user::OnFontMessage(hWnd, message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_PAINT: paint(hWnd); return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_CREATE:
        if ((GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            LoadNamedIcon(hWnd, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return 0;
    case STM_SETICON: return reinterpret_cast<LRESULT>(SetIcon(hWnd, reinterpret_cast<HICON>(wParam)));
    case STM_GETICON: return reinterpret_cast<LRESULT>(IconOf(hWnd));
    case WM_NCHITTEST:
        // Clicks go through a label to what lies under it, unless it
        // is to report them.
        return GetWindowLongA(hWnd, GWL_STYLE) & SS_NOTIFY ? HTCLIENT : HTTRANSPARENT;
    case WM_LBUTTONDOWN: PlatformNotifyParent(hWnd, 0 /* STN_CLICKED */); return 0;
    case WM_SETTEXT:
    case WM_ENABLE: {
        LRESULT result = DefWindowProcA(hWnd, message, wParam, lParam);
        InvalidateRect(hWnd, nullptr, TRUE);
        return result;
    }
    default: return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

[[maybe_unused]] const ATOM kStaticClass = PlatformRegisterClass("Static", [] { return WindowProc(StaticProc); });

const bool kWatching = [] {
    PlatformWatchWindowRemoval(&Icons(), [](HWND hWnd) {
        StaticIcons& t = Icons();
        std::lock_guard<std::mutex> guard(t.lock);
        t.icons.erase(hWnd);
    });
    return true;
}();

}  // namespace
