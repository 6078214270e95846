// The default window procedure: what a window does with the messages its
// own procedure passes on.
//
//   - text: WM_NCCREATE keeps the creation text, WM_SETTEXT and WM_GETTEXT
//     keep and give it (a top-level window on a display is retitled);
//   - painting: WM_PAINT validates, WM_ERASEBKGND erases nothing (there are
//     no class brushes), WM_CTLCOLOR* give the system colours;
//   - the caption of a child window (WS_CHILD with WS_CAPTION): WM_NCHITTEST
//     answers HTCAPTION over its bar, HTMINBUTTON, HTMAXBUTTON and HTCLOSE
//     over its buttons and the edge codes (HTLEFT, ...) over the outer
//     four pixels of a WS_THICKFRAME window; every other window is
//     HTCLIENT all over (a top-level window's frame is the window
//     manager's). A left button down on the bar moves the window, on an
//     edge sizes it (WM_SYSCOMMAND SC_MOVE or SC_SIZE, a loop of its own
//     that follows the mouse until the button goes up, or Escape puts the
//     window back), and on a button minimizes, maximizes (restores a
//     maximized window) or closes it at once; a double click on the bar
//     maximizes or restores;
//   - WM_SYSCOMMAND: SC_CLOSE sends WM_CLOSE, SC_MINIMIZE, SC_MAXIMIZE and
//     SC_RESTORE show the window so, SC_MOVE and SC_SIZE run the loop;
//   - WM_SYSKEYDOWN: Alt+F4 posts WM_SYSCOMMAND SC_CLOSE to the top-level
//     window; WM_SYSCHAR: Alt with an access key opens that item of the
//     top-level window's menu bar (MenuBar.h); WM_CLOSE destroys the window;
//   - WM_SIZE: a window with a menu lays its bar over its new width;
//   - WM_MOUSEACTIVATE and WM_SETCURSOR go to the parent first; the cursor
//     then follows the hit-test code; WM_ACTIVATE gives an activated,
//     not minimized window the focus.
#include <algorithm>

#include "platform/kernel/CodePage.h"
#include "platform/user/MenuBar.h"
#include "platform/user/Painting.h"
#include "platform/user/UserDriver.h"
#include "platform/user/WindowTable.h"

using namespace user;

namespace user {

CaptionLayout captionLayout(DWORD style, int width, int height) {
    CaptionLayout layout;
    if (!(style & WS_CHILD) || (style & WS_CAPTION) != WS_CAPTION) return layout;
    constexpr int kButton = 16;
    layout.bar = RECT{0, 0, width, std::min(height, PLATFORM_CAPTION_HEIGHT)};
    layout.frame = (style & WS_THICKFRAME) ? 4 : 0;
    int right = width - 2;
    auto place = [&](RECT& button) {
        button = RECT{right - kButton, 1, right, 1 + kButton};
        right -= kButton + 2;
    };
    if (style & WS_SYSMENU) place(layout.close);
    if (style & WS_MAXIMIZEBOX) place(layout.maximize);
    if (style & WS_MINIMIZEBOX) place(layout.minimize);
    return layout;
}

}  // namespace user

namespace {

bool inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

LRESULT hitTest(HWND hWnd, POINT screen) {
    RECT r;
    if (!GetWindowRect(hWnd, &r)) return HTNOWHERE;
    auto style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
    int width = r.right - r.left, height = r.bottom - r.top;
    CaptionLayout caption = captionLayout(style, width, height);
    if (isEmpty(caption.bar)) return HTCLIENT;
    POINT p{screen.x - r.left, screen.y - r.top};
    if (caption.frame && !(style & (WS_MAXIMIZE | WS_MINIMIZE))) {
        bool left = p.x < caption.frame, right = p.x >= width - caption.frame;
        bool top = p.y < caption.frame, bottom = p.y >= height - caption.frame;
        if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    if (inside(caption.close, p)) return HTCLOSE;
    if (inside(caption.maximize, p)) return HTMAXBUTTON;
    if (inside(caption.minimize, p)) return HTMINBUTTON;
    if (inside(caption.bar, p)) return HTCAPTION;
    return HTCLIENT;
}

// The window's rectangle in its parent's client coordinates.
RECT placeInParent(HWND hWnd) {
    RECT r;
    GetWindowRect(hWnd, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    if (HWND hParent = GetParent(hWnd)) {
        ScreenToClient(hParent, &corners[0]);
        ScreenToClient(hParent, &corners[1]);
    }
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// The rectangle a move (HTCAPTION) or a size by an edge gives for a pointer
// that went dx, dy from where the drag began.
RECT dragged(RECT r, int hit, int dx, int dy) {
    constexpr int kMinWidth = 100, kMinHeight = PLATFORM_CAPTION_HEIGHT + 8;
    if (hit == HTCAPTION) return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT) r.left = std::min(r.left + dx, r.right - kMinWidth);
    if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT) r.right = std::max(r.right + dx, r.left + kMinWidth);
    if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT) r.top = std::min(r.top + dy, r.bottom - kMinHeight);
    if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT)
        r.bottom = std::max(r.bottom + dy, r.top + kMinHeight);
    return r;
}

void moveTo(HWND hWnd, const RECT& r) { MoveWindow(hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE); }

// SC_MOVE and SC_SIZE: follows the mouse with the capture until the left
// button goes up; Escape puts the window back. Other messages are
// dispatched as usual meanwhile.
void moveSizeLoop(HWND hWnd, int hit, POINT start) {
    RECT origin = placeInParent(hWnd);
    SetCapture(hWnd);
    SendMessageA(hWnd, WM_ENTERSIZEMOVE, 0, 0);
    while (IsWindow(hWnd) && GetCapture() == hWnd) {
        MSG msg;
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
            break;
        }
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWnd) {
            moveTo(hWnd, dragged(origin, hit, msg.pt.x - start.x, msg.pt.y - start.y));
        } else if (msg.message == WM_LBUTTONUP) {
            break;
        } else if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE) {
            moveTo(hWnd, origin);
            break;
        } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (GetCapture() == hWnd) ReleaseCapture();
    if (IsWindow(hWnd)) SendMessageA(hWnd, WM_EXITSIZEMOVE, 0, 0);
}

void sysCommand(HWND hWnd, WPARAM command, LPARAM lParam) {
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (command & 0xFFF0) {
    case SC_CLOSE: SendMessageA(hWnd, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(hWnd, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(hWnd, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(hWnd, SW_RESTORE); break;
    case SC_MOVE: moveSizeLoop(hWnd, HTCAPTION, at); break;
    case SC_SIZE: moveSizeLoop(hWnd, static_cast<int>(command & 0x000F) + HTLEFT - 1, at); break;
    default: break;
    }
}

// A left button down outside a window's client area.
void nonClientDown(HWND hWnd, WPARAM hit, LPARAM lParam) {
    switch (hit) {
    case HTCAPTION: SendMessageA(hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam); break;
    case HTMINBUTTON: SendMessageA(hWnd, WM_SYSCOMMAND, SC_MINIMIZE, lParam); break;
    case HTMAXBUTTON: SendMessageA(hWnd, WM_SYSCOMMAND, IsZoomed(hWnd) ? SC_RESTORE : SC_MAXIMIZE, lParam); break;
    case HTCLOSE: SendMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, lParam); break;
    default:
        // SC_SIZE's low bits name the edge: WMSZ_LEFT (1) ... WMSZ_BOTTOMRIGHT (8), HTLEFT - 1 apart.
        if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) SendMessageA(hWnd, WM_SYSCOMMAND, SC_SIZE + hit - HTLEFT + 1, lParam);
        break;
    }
}

BOOL setText(HWND hWnd, const char* text) {
    bool onDisplay = false;
    {
        WindowSystem& s = windowSystem();
        std::lock_guard<std::mutex> guard(s.lock);
        Window* w = findLocked(s, hWnd);
        if (!w) return FALSE;
        w->text = text ? text : "";
        onDisplay = w->onDisplay;
        markStaleLocked(s, hWnd);  // captions show it
    }
    if (onDisplay)
        if (auto title = PlatformUserDriver().pSetWindowText) title(hWnd, PlatformToUtf8(text ? text : "").c_str());
    return TRUE;
}

}  // namespace

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (BeginPaint(hWnd, &ps)) EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 0;  // there are no class brushes: the background stays as it is
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return PlatformDefaultCtlColor(reinterpret_cast<HDC>(wParam), COLOR_WINDOW);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return PlatformDefaultCtlColor(reinterpret_cast<HDC>(wParam), COLOR_3DFACE);
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs) setText(hWnd, cs->lpszName);
        return TRUE;
    }
    case WM_SETTEXT:
        return setText(hWnd, reinterpret_cast<const char*>(lParam));
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0) return 0;
        return withWindow(hWnd, LRESULT(0), [&](Window& w) {
            size_t n = std::min(w.text.size(), static_cast<size_t>(wParam) - 1);
            w.text.copy(buffer, n);
            buffer[n] = '\0';
            return static_cast<LRESULT>(n);
        });
    }
    case WM_GETTEXTLENGTH:
        return withWindow(hWnd, LRESULT(0), [](Window& w) { return static_cast<LRESULT>(w.text.size()); });
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_NCHITTEST:
        return hitTest(hWnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCLBUTTONDOWN:
        nonClientDown(hWnd, wParam, lParam);
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION && (GetWindowLongA(hWnd, GWL_STYLE) & WS_MAXIMIZEBOX))
            SendMessageA(hWnd, WM_SYSCOMMAND, IsZoomed(hWnd) || IsIconic(hWnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    case WM_SYSCOMMAND:
        sysCommand(hWnd, wParam, lParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & (1 << 29))) {
            HWND hTop = hWnd;
            while (HWND hParent = GetParent(hTop)) hTop = hParent;
            PostMessageA(hTop, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSCHAR: PlatformMenuAccessKey(hWnd, static_cast<char>(wParam)); return 0;
    case WM_SIZE: PlatformMenuBarResize(hWnd); return 0;
    case WM_MOUSEACTIVATE:
        if (HWND hParent = GetParent(hWnd))
            if (LRESULT answer = SendMessageA(hParent, WM_MOUSEACTIVATE, wParam, lParam)) return answer;
        return MA_ACTIVATE;
    case WM_SETCURSOR:
        if (HWND hParent = GetParent(hWnd))
            if (SendMessageA(hParent, WM_SETCURSOR, wParam, lParam)) return TRUE;
        if (reinterpret_cast<HWND>(wParam) == hWnd)
            if (auto cursor = PlatformUserDriver().pSetCursor; cursor && PlatformIsDisplayThread()) {
                HWND hTop = hWnd;
                while (HWND hParent = GetParent(hTop)) hTop = hParent;
                cursor(hTop, static_cast<SHORT>(LOWORD(lParam)));
            }
        return FALSE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hWnd)) SetFocus(hWnd);
        return 0;
    case WM_RBUTTONUP: {
        // The context menu is asked for where the button came up, in
        // screen coordinates.
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hWnd, &at);
        SendMessageA(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(at.x, at.y));
        return 0;
    }
    case WM_CONTEXTMENU:
        if (HWND hParent = GetParent(hWnd)) return SendMessageA(hParent, WM_CONTEXTMENU, wParam, lParam);
        return 0;
    default:
        return 0;
    }
}
