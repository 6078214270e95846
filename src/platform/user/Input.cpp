// Turning raw input into messages (Input.h says what goes where), finding
// the window under a point, and TranslateMessage.
//
// Sections: finding windows; the mouse; the keyboard; the display's events;
// translating keys.
#include "platform/user/Input.h"

#include <cctype>

#include "platform/user/UserDriver.h"
#include "platform/user/WindowTable.h"

using namespace user;

namespace {

// ---- Finding windows ---------------------------------------------------------------------

bool contains(HWND hWnd, POINT screen) {
    RECT r;
    return GetWindowRect(hWnd, &r) && screen.x >= r.left && screen.x < r.right && screen.y >= r.top &&
           screen.y < r.bottom;
}

// The deepest visible window at the point under hWnd, asking each window on
// the way WM_NCHITTEST before looking at its children.
HWND hitWindow(HWND hWnd, POINT screen, LRESULT* pHit) {
    if (!IsWindowVisible(hWnd) || !contains(hWnd, screen)) return nullptr;
    LRESULT hit = SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (hit == HTTRANSPARENT) return nullptr;
    if (hit == HTCLIENT) {
        std::vector<HWND> children = paintOrder(hWnd);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (HWND hFound = hitWindow(*it, screen, pHit)) return hFound;
    }
    *pHit = hit;
    return hWnd;
}

HWND rootOf(HWND hWnd) {
    while (HWND hParent = GetParent(hWnd)) hWnd = hParent;
    return hWnd;
}

// A disabled window, or one inside a disabled window, takes no input.
bool disabled(HWND hWnd) {
    for (; hWnd; hWnd = GetParent(hWnd))
        if (!IsWindowEnabled(hWnd)) return true;
    return false;
}

void setKey(Queue& q, UINT vk, bool down) {
    BYTE& state = q.keys[vk & 0xFF];
    if (down && !(state & 0x80)) state ^= 0x01;
    state = down ? (state | 0x80) : (state & ~0x80);
}

void push(WindowSystem& s, const MSG& msg) {
    std::lock_guard<std::mutex> guard(s.lock);
    Queue& q = currentQueueLocked(s);
    // Moves are coalesced, as the original does: only the latest counts.
    if (msg.message == WM_MOUSEMOVE && !q.cooked.empty() && q.cooked.back().message == WM_MOUSEMOVE &&
        q.cooked.back().hwnd == msg.hwnd)
        q.cooked.back() = msg;
    else
        q.cooked.push_back(msg);
}

// ---- The mouse ------------------------------------------------------------------------------

UINT buttonKey(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return VK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return VK_MBUTTON;
    default: return 0;
    }
}

bool isButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

WPARAM mouseKeys(const Queue& q) {
    WPARAM keys = 0;
    if (q.keys[VK_LBUTTON] & 0x80) keys |= MK_LBUTTON;
    if (q.keys[VK_RBUTTON] & 0x80) keys |= MK_RBUTTON;
    if (q.keys[VK_MBUTTON] & 0x80) keys |= MK_MBUTTON;
    if (q.keys[VK_SHIFT] & 0x80) keys |= MK_SHIFT;
    if (q.keys[VK_CONTROL] & 0x80) keys |= MK_CONTROL;
    return keys;
}

void cookMouse(HWND hTop, const PlatformInput& in) {
    WindowSystem& s = windowSystem();
    HWND hCapture;
    WPARAM keys;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        Queue& q = currentQueueLocked(s);
        s.cursor = in.pt;
        if (UINT vk = buttonKey(in.message)) setKey(q, vk, isButtonDown(in.message));
        hCapture = q.capture;
        keys = mouseKeys(q);
    }
    if (in.message == WM_MOUSEWHEEL) {
        HWND hTarget = GetFocus();
        if (!hTarget || rootOf(hTarget) != hTop) hTarget = hTop;
        if (disabled(hTarget)) return;
        push(s, MSG{hTarget, WM_MOUSEWHEEL, MAKEWPARAM(keys, in.wheel), MAKELPARAM(in.pt.x, in.pt.y), in.time, in.pt});
        return;
    }
    LRESULT hit = HTCLIENT;
    HWND hTarget = hCapture ? hCapture : hitWindow(hTop, in.pt, &hit);
    if (!hTarget || disabled(hTarget)) return;
    if (!hCapture) {
        SendMessageA(hTarget, WM_SETCURSOR, reinterpret_cast<WPARAM>(hTarget), MAKELPARAM(hit, in.message));
        if (isButtonDown(in.message)) {
            HWND hRoot = rootOf(hTarget);
            LRESULT answer = SendMessageA(hTarget, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(hRoot),
                                          MAKELPARAM(hit, in.message));
            if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) && GetActiveWindow() != hRoot)
                activate(hRoot, WA_CLICKACTIVE);
            if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT || !IsWindow(hTarget)) return;
        }
    }
    MSG msg{hTarget, in.message, keys, 0, in.time, in.pt};
    if (hit == HTCLIENT) {
        POINT client = in.pt;
        ScreenToClient(hTarget, &client);
        msg.lParam = MAKELPARAM(client.x, client.y);
    } else {
        msg.message = in.message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        msg.wParam = static_cast<WPARAM>(hit);
        msg.lParam = MAKELPARAM(in.pt.x, in.pt.y);
    }
    push(s, msg);
}

// ---- The keyboard ----------------------------------------------------------------------------

constexpr size_t kKeyChars = 32;

void cookKey(HWND hTop, const PlatformInput& in) {
    WindowSystem& s = windowSystem();
    bool down = in.message == WM_KEYDOWN;
    MSG msg{nullptr, 0, in.vk, 0, in.time, {}};
    {
        std::lock_guard<std::mutex> guard(s.lock);
        Queue& q = currentQueueLocked(s);
        msg.pt = s.cursor;
        bool wasDown = (q.keys[in.vk & 0xFF] & 0x80) != 0;
        setKey(q, in.vk, down);
        bool alt = (q.keys[VK_MENU] & 0x80) != 0, ctrl = (q.keys[VK_CONTROL] & 0x80) != 0;
        HWND hTarget = q.focus && rootLocked(s, q.focus) == hTop ? q.focus : nullptr;
        bool sys = (alt && !ctrl) || in.vk == VK_F10 || (!hTarget && alt);
        if (!hTarget) hTarget = q.active ? q.active : hTop;
        msg.hwnd = hTarget;
        msg.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
        msg.lParam = static_cast<LPARAM>(1u | ((in.scan & 0xFFu) << 16) | (in.extended ? 1u << 24 : 0) |
                                         (alt ? 1u << 29 : 0) | ((wasDown || !down) ? 1u << 30 : 0) |
                                         (down ? 0 : 1u << 31));
        if (down && in.ch) {
            q.keyChars.push_back(Queue::KeyChar{msg.time, msg.wParam, msg.lParam, in.ch});
            if (q.keyChars.size() > kKeyChars) q.keyChars.pop_front();
        }
    }
    if (!disabled(msg.hwnd)) push(s, msg);
}

// ---- The display's events ----------------------------------------------------------------------

void cookDisplayEvent(HWND hTop, const PlatformInput& in) {
    switch (in.message) {
    case WM_WINDOWPOSCHANGED: applyDisplayRect(hTop, in.rect); break;
    case WM_SIZE: applyDisplayState(hTop, in.state); break;
    case WM_ACTIVATE:
        if (in.state != WA_INACTIVE)
            activate(hTop, WA_ACTIVE);
        else if (GetActiveWindow() == hTop)
            activate(nullptr, WA_INACTIVE);
        break;
    case WM_CLOSE: {
        WindowSystem& s = windowSystem();
        if (!disabled(hTop)) push(s, MSG{hTop, WM_SYSCOMMAND, SC_CLOSE, 0, in.time, in.pt});
        break;
    }
    case WM_PAINT: {
        WindowSystem& s = windowSystem();
        {
            std::lock_guard<std::mutex> guard(s.lock);
            Window* w = findLocked(s, hTop);
            if (!w || w->stale) return;  // newer pixels are on their way
            w->onScreen = true;
        }
        push(s, MSG{hTop, WM_NULL, 0, 0, in.time, in.pt});
        break;
    }
    default: break;
    }
}

// ---- Translating keys ----------------------------------------------------------------------------

// The key's character on a US layout, for key messages that did not come
// from the display.
char usLayoutChar(UINT vk, bool shift) {
    static const char kShiftedDigits[] = ")!@#$%^&*(";
    if (vk >= 'A' && vk <= 'Z') return static_cast<char>(shift ? vk : std::tolower(static_cast<int>(vk)));
    if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<char>(vk);
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 0x1B;
    default: return 0;
    }
}

}  // namespace

namespace user {

void cookInput(HWND hTop, const PlatformInput& input) {
    if (!IsWindow(hTop)) return;
    switch (input.message) {
    case WM_KEYDOWN:
    case WM_KEYUP: cookKey(hTop, input); break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL: cookMouse(hTop, input); break;
    default: cookDisplayEvent(hTop, input); break;
    }
}

}  // namespace user

HWND WindowFromPoint(POINT Point) {
    std::vector<HWND> tops;
    {
        WindowSystem& s = windowSystem();
        std::lock_guard<std::mutex> guard(s.lock);
        tops = s.topLevel;
    }
    LRESULT hit;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (HWND hFound = hitWindow(*it, Point, &hit)) return hFound;
    return nullptr;
}

BOOL PlatformIsOnScreen(HWND hWnd) {
    return withWindow(hWnd, FALSE, [](Window& w) { return w.onScreen ? TRUE : FALSE; });
}

BOOL TranslateMessage(const MSG* lpMsg) {
    if (!lpMsg) return FALSE;
    UINT message = lpMsg->message;
    if (message == WM_KEYUP || message == WM_SYSKEYUP) return TRUE;
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return FALSE;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Queue& q = currentQueueLocked(s);
    char ch = 0;
    for (auto it = q.keyChars.rbegin(); it != q.keyChars.rend() && !ch; ++it)
        if (it->time == lpMsg->time && it->vk == lpMsg->wParam && it->lParam == lpMsg->lParam) ch = it->ch;
    if (!ch) ch = usLayoutChar(static_cast<UINT>(lpMsg->wParam), (q.keys[VK_SHIFT] & 0x80) != 0);
    if ((q.keys[VK_CONTROL] & 0x80) && std::isalpha(static_cast<unsigned char>(ch))) ch = static_cast<char>(ch & 0x1F);
    if (!ch) return TRUE;
    Window* w = findLocked(s, lpMsg->hwnd);
    Queue* target = w ? ownerQueueLocked(s, *w) : nullptr;
    if (!target) return TRUE;
    UINT charMessage = message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    target->posted.push_front(MSG{lpMsg->hwnd, charMessage, static_cast<WPARAM>(static_cast<unsigned char>(ch)),
                                  lpMsg->lParam, lpMsg->time, lpMsg->pt});
    wakeLocked(*target);
    return TRUE;
}
