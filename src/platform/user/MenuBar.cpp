// The menu bar and its popups (MenuBar.h): SetMenu and GetMenu, drawing
// the bar and the popups, and the mouse and keyboard while a menu is open.
//
// Sections: labels; the windows with menus; drawing; tracking; the bar's
// and the popup's procedures; the calls.
#include "platform/user/MenuBar.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/gdi/Brushes.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/TextMetrics.h"
#include "platform/kernel/CodePage.h"
#include "platform/shared/NoDestructor.h"
#include "platform/user/Input.h"
#include "platform/user/MenuTable.h"
#include "platform/user/Painting.h"

using namespace user;

namespace {

constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 8;
constexpr int kBarPadding = 7;
constexpr int kPopupTextLeft = 22;
constexpr int kTextTop = 2;

// ---- Labels ---------------------------------------------------------------------------

// An item's text as shown: "&" marks the access key ("&&" is one "&"),
// "\t" starts the shortcut's text.
struct Label {
    std::string text;
    std::string shortcut;
    int accessAt = -1;  // byte offset in text of the access key, or -1
};

Label LabelOf(const std::string& raw) {
    Label label;
    size_t tab = raw.find('\t');
    std::string head = raw.substr(0, tab);
    if (tab != std::string::npos) label.shortcut = raw.substr(tab + 1);
    for (size_t i = 0; i < head.size(); ++i) {
        if (head[i] == '&' && i + 1 < head.size()) {
            ++i;
            if (head[i] != '&' && label.accessAt < 0) label.accessAt = static_cast<int>(label.text.size());
        }
        label.text += head[i];
    }
    return label;
}

char AccessKey(const MenuItem& item) {
    Label label = LabelOf(item.text);
    return label.accessAt < 0 ? 0
                              : static_cast<char>(std::tolower(static_cast<unsigned char>(label.text[label.accessAt])));
}

bool selectable(const MenuItem& item) { return !(item.type & MF_SEPARATOR); }
bool enabled(const MenuItem& item) { return !(item.state & (MF_GRAYED | MF_DISABLED)); }

int TextWidth(HDC hDC, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(hDC, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// ---- The windows with menus -------------------------------------------------------------

struct Bars {
    std::mutex lock;
    std::map<HWND, HMENU> menus;  // window -> its menu
};

Bars& bars() {
    static NoDestructor<Bars> table;  // windows may still go while static destructors run
    return *table;
}

HWND BarOf(HWND hWnd) {
    if (!hWnd) return nullptr;
    for (HWND h = GetWindow(hWnd, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char name[16] = {};
        if (GetWindowLongPtrA(h, GWLP_ID) == PLATFORM_MENUBAR_ID && GetClassNameA(h, name, sizeof name) &&
            std::string(name) == "MenuBar")
            return h;
    }
    return nullptr;
}

HWND RootOf(HWND hWnd) {
    while (HWND parent = GetParent(hWnd)) hWnd = parent;
    return hWnd;
}

// The bar's items laid out left to right, in the bar's coordinates.
std::vector<RECT> BarLayout(HWND hBar, const std::vector<MenuItem>& items) {
    std::vector<RECT> rects;
    HDC hDC = GetDC(hBar);
    int x = 2;
    for (const MenuItem& item : items) {
        int width = TextWidth(hDC, LabelOf(item.text).text) + 2 * kBarPadding;
        rects.push_back(RECT{x, 1, x + width, PLATFORM_MENUBAR_HEIGHT - 2});
        x += width;
    }
    ReleaseDC(hBar, hDC);
    return rects;
}

int ItemAt(const std::vector<RECT>& rects, POINT p) {
    for (size_t i = 0; i < rects.size(); ++i)
        if (p.x >= rects[i].left && p.x < rects[i].right && p.y >= rects[i].top && p.y < rects[i].bottom)
            return static_cast<int>(i);
    return -1;
}

// ---- Drawing ------------------------------------------------------------------------------

void fill(HDC hDC, RECT r, int sysColor) { FillRect(hDC, &r, GetSysColorBrush(sysColor)); }

// The label at (x, y), its access key underlined.
void DrawLabel(HDC hDC, const Label& label, int x, int y, int sysColor) {
    SetTextColor(hDC, GetSysColor(sysColor));
    TextOutA(hDC, x, y, label.text.c_str(), static_cast<int>(label.text.size()));
    if (label.accessAt < 0) return;
    size_t length = PlatformUtf8SequenceLength(std::string_view(label.text).substr(label.accessAt));
    int left = x + TextWidth(hDC, label.text.substr(0, label.accessAt));
    int right = left + TextWidth(hDC, label.text.substr(label.accessAt, std::max<size_t>(length, 1)));
    fill(hDC, RECT{left, y + 15, right, y + 16}, sysColor);
}

int LabelColor(const MenuItem& item, bool hot) {
    if (!enabled(item)) return COLOR_GRAYTEXT;
    return hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
}

void PaintBar(HWND hBar, int hot) {
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hBar, &ps);
    RECT client;
    GetClientRect(hBar, &client);
    fill(hDC, client, COLOR_MENU);
    fill(hDC, RECT{0, client.bottom - 1, client.right, client.bottom}, COLOR_BTNSHADOW);
    HMENU hMenu = GetMenu(GetParent(hBar));
    std::vector<MenuItem> items = MenuItems(hMenu);
    std::vector<RECT> rects = BarLayout(hBar, items);
    SetBkMode(hDC, TRANSPARENT);
    for (size_t i = 0; i < items.size(); ++i) {
        bool isHot = static_cast<int>(i) == hot;
        if (isHot) fill(hDC, rects[i], COLOR_HIGHLIGHT);
        DrawLabel(hDC, LabelOf(items[i].text), rects[i].left + kBarPadding, kTextTop, LabelColor(items[i], isHot));
    }
    EndPaint(hBar, &ps);
}

// The popup's items from top to bottom, in its coordinates.
std::vector<RECT> PopupLayout(const std::vector<MenuItem>& items, int width) {
    std::vector<RECT> rects;
    int y = 2;
    for (const MenuItem& item : items) {
        int height = selectable(item) ? kItemHeight : kSeparatorHeight;
        rects.push_back(RECT{2, y, width - 2, y + height});
        y += height;
    }
    return rects;
}

SIZE PopupSize(HWND hWnd, const std::vector<MenuItem>& items) {
    HDC hDC = GetDC(hWnd);
    int text = 0, shortcut = 0;
    for (const MenuItem& item : items) {
        Label label = LabelOf(item.text);
        text = std::max(text, TextWidth(hDC, label.text));
        if (!label.shortcut.empty()) shortcut = std::max(shortcut, TextWidth(hDC, label.shortcut) + 24);
    }
    ReleaseDC(hWnd, hDC);
    std::vector<RECT> rects = PopupLayout(items, 0);
    int height = rects.empty() ? 4 : static_cast<int>(rects.back().bottom) + 2;
    return SIZE{kPopupTextLeft + text + shortcut + 28, height};
}

void PaintPopup(HWND hPopup, HMENU hMenu, int hot) {
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hPopup, &ps);
    RECT client;
    GetClientRect(hPopup, &client);
    fill(hDC, client, COLOR_MENU);
    std::vector<MenuItem> items = MenuItems(hMenu);
    std::vector<RECT> rects = PopupLayout(items, client.right);
    SetBkMode(hDC, TRANSPARENT);
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        RECT r = rects[i];
        if (!selectable(item)) {
            int mid = (r.top + r.bottom) / 2;
            fill(hDC, RECT{r.left + 2, mid, r.right - 2, mid + 1}, COLOR_BTNSHADOW);
            continue;
        }
        bool isHot = static_cast<int>(i) == hot;
        if (isHot) fill(hDC, r, COLOR_HIGHLIGHT);
        int color = LabelColor(item, isHot);
        Label label = LabelOf(item.text);
        int y = r.top + kTextTop;
        if (item.state & MF_CHECKED) {
            const char* mark = (item.type & MFT_RADIOCHECK) ? "\xE2\x80\xA2" : "\xE2\x9C\x93";  // a bullet, a tick
            SetTextColor(hDC, GetSysColor(color));
            TextOutA(hDC, r.left + 5, y, mark, 3);
        }
        DrawLabel(hDC, label, r.left + kPopupTextLeft, y, color);
        std::string right = item.submenu ? "\xE2\x96\xB8" : label.shortcut;  // a small arrow for a popup
        if (!right.empty()) {
            SetTextColor(hDC, GetSysColor(color));
            TextOutA(hDC, r.right - 8 - TextWidth(hDC, right), y, right.c_str(), static_cast<int>(right.size()));
        }
    }
    EndPaint(hPopup, &ps);
}

// ---- Tracking -------------------------------------------------------------------------------

struct Popup {
    HWND hWnd = nullptr;
    HMENU menu = nullptr;
    int hot = -1;
};

// The menu in use on this thread: the window its commands go to, the bar
// item whose popup is open (-1: a popup of TrackPopupMenu), and the open
// popups, outermost first.
struct Tracking {
    HWND owner = nullptr;
    HWND bar = nullptr;
    int barItem = -1;
    HWND focusBefore = nullptr;
    std::vector<Popup> popups;
    bool returnCmd = false;  // TrackPopupMenu with TPM_RETURNCMD: the choice is kept, not sent
};

thread_local Tracking t_tracking;
thread_local UINT t_chosen = 0;  // the command of the item chosen last

Popup* PopupOf(HWND hWnd) {
    for (Popup& popup : t_tracking.popups)
        if (popup.hWnd == hWnd) return &popup;
    return nullptr;
}

void MenuSelect(HMENU hMenu, int index) {
    std::vector<MenuItem> items = MenuItems(hMenu);
    if (index < 0 || index >= static_cast<int>(items.size())) return;
    const MenuItem& item = items[index];
    UINT flags = (item.type | item.state) & 0xFFFF;
    UINT id = item.submenu ? static_cast<UINT>(index) : item.id;
    if (item.submenu) flags |= MF_POPUP;
    SendMessageA(t_tracking.owner, WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(hMenu));
}

void SetHot(Popup& popup, int hot) {
    if (popup.hot == hot) return;
    popup.hot = hot;
    InvalidateRect(popup.hWnd, nullptr, TRUE);
    MenuSelect(popup.menu, hot);
}

void SetBarHot(int item) {
    t_tracking.barItem = item;
    if (IsWindow(t_tracking.bar)) InvalidateRect(t_tracking.bar, nullptr, TRUE);
}

// Closes the popups from level on (all of them for 0); with everything
// closed the menu is done with.
void CloseFrom(size_t level) {
    while (t_tracking.popups.size() > level) {
        HWND hWnd = t_tracking.popups.back().hWnd;
        t_tracking.popups.pop_back();
        if (IsWindow(hWnd)) DestroyWindow(hWnd);
    }
    if (level > 0) {
        if (!t_tracking.popups.empty() && IsWindow(t_tracking.popups.back().hWnd)) {
            SetCapture(t_tracking.popups.back().hWnd);
            SetFocus(t_tracking.popups.back().hWnd);
        }
        return;
    }
    Tracking done = std::exchange(t_tracking, Tracking{});  // the popups took their capture with them
    if (IsWindow(done.bar)) InvalidateRect(done.bar, nullptr, TRUE);
    if (IsWindow(done.focusBefore)) SetFocus(done.focusBefore);
    if (IsWindow(done.owner)) {
        SendMessageA(done.owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessageA(done.owner, WM_EXITMENULOOP, 0, 0);
    }
}

LRESULT PopupProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Opens hMenu's popup at the point in the top-level window hTop's client
// coordinates; with bKeyboard the first item is highlighted.
void OpenPopup(HWND hTop, HMENU hMenu, int position, POINT at, bool bKeyboard) {
    SendMessageA(t_tracking.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(position, 0));
    if (!IsMenu(hMenu) || !IsWindow(hTop)) return;
    std::vector<MenuItem> items = MenuItems(hMenu);
    SIZE size = PopupSize(hTop, items);
    RECT area;
    GetClientRect(hTop, &area);
    int x = std::max(0, std::min<int>(at.x, area.right - size.cx));
    int y = std::max(0, std::min<int>(at.y, area.bottom - size.cy));
    HWND hPopup = PlatformCreateWindowEx(PopupProc, 0, "#32768", "", WS_CHILD | WS_BORDER, x, y, size.cx, size.cy, hTop,
                                         nullptr, nullptr);
    if (!hPopup) return;
    t_tracking.popups.push_back(Popup{hPopup, hMenu, -1});
    ShowWindow(hPopup, SW_SHOWNA);
    SetCapture(hPopup);
    SetFocus(hPopup);
    if (bKeyboard)
        for (size_t i = 0; i < items.size(); ++i)
            if (selectable(items[i])) {
                SetHot(t_tracking.popups.back(), static_cast<int>(i));
                break;
            }
}

// Starts using the menu: the window learns of it once.
void BeginTracking(HWND hOwner, HWND hBar, HMENU hMenu) {
    if (t_tracking.owner) return;
    t_tracking.owner = hOwner;
    t_tracking.bar = hBar;
    t_tracking.focusBefore = GetFocus();
    SendMessageA(hOwner, WM_ENTERMENULOOP, 0, 0);
    SendMessageA(hOwner, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
}

// Opens the bar item's popup, or sends the command of an item without one.
void OpenBarItem(HWND hTop, int index, bool bKeyboard) {
    HWND hBar = BarOf(hTop);
    HMENU hMenu = GetMenu(hTop);
    std::vector<MenuItem> items = MenuItems(hMenu);
    if (!hBar || index < 0 || index >= static_cast<int>(items.size())) return;
    CloseFrom(0);
    const MenuItem& item = items[index];
    if (!item.submenu) {
        if (enabled(item) && selectable(item)) PostMessageA(hTop, WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
        return;
    }
    BeginTracking(hTop, hBar, hMenu);
    SetBarHot(index);
    RECT r = BarLayout(hBar, items)[index];
    OpenPopup(hTop, item.submenu, index, POINT{r.left, PLATFORM_MENUBAR_HEIGHT}, bKeyboard);
}

// Moves the bar's open popup by step items, wrapping.
void StepBar(int step) {
    HWND hTop = t_tracking.owner;
    int count = GetMenuItemCount(GetMenu(hTop));
    if (t_tracking.barItem < 0 || count <= 0) return;
    OpenBarItem(hTop, (t_tracking.barItem + step + count) % count, true);
}

void choose(size_t level, int index) {
    Popup popup = t_tracking.popups[level];
    std::vector<MenuItem> items = MenuItems(popup.menu);
    if (index < 0 || index >= static_cast<int>(items.size())) return;
    const MenuItem& item = items[index];
    if (!selectable(item) || !enabled(item)) return;
    if (item.submenu) {
        CloseFrom(level + 1);
        RECT r = PopupLayout(items, 0)[index];
        POINT at{r.left, r.top};
        ClientToScreen(popup.hWnd, &at);
        RECT window;
        GetWindowRect(popup.hWnd, &window);
        at.x = window.right - 4;
        HWND hTop = RootOf(popup.hWnd);
        ScreenToClient(hTop, &at);
        OpenPopup(hTop, item.submenu, index, at, true);
        return;
    }
    HWND hOwner = t_tracking.owner;
    bool send = !t_tracking.returnCmd;
    t_chosen = item.id;
    CloseFrom(0);
    if (send) PostMessageA(hOwner, WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
}

// ---- The procedures ---------------------------------------------------------------------------

int ItemAtPoint(HWND hPopup, HMENU hMenu, POINT p) {
    RECT client;
    GetClientRect(hPopup, &client);
    if (p.x < 0 || p.x >= client.right) return -1;
    return ItemAt(PopupLayout(MenuItems(hMenu), client.right), p);
}

// A press outside the popups: on the bar it opens that item, anywhere
// else it closes the menu.
void PressOutside(HWND hPopup, POINT p) {
    ClientToScreen(hPopup, &p);
    for (const Popup& popup : t_tracking.popups) {
        RECT r;
        GetWindowRect(popup.hWnd, &r);
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return;
    }
    HWND hBar = t_tracking.bar;
    if (IsWindow(hBar)) {
        POINT inBar = p;
        ScreenToClient(hBar, &inBar);
        int item = ItemAt(BarLayout(hBar, MenuItems(GetMenu(GetParent(hBar)))), inBar);
        if (item >= 0) {
            if (item == t_tracking.barItem)
                CloseFrom(0);
            else
                OpenBarItem(GetParent(hBar), item, false);
            return;
        }
    }
    CloseFrom(0);
}

void PopupKey(size_t level, WPARAM vk) {
    Popup& popup = t_tracking.popups[level];
    std::vector<MenuItem> items = MenuItems(popup.menu);
    int count = static_cast<int>(items.size());
    switch (vk) {
    case VK_UP:
    case VK_DOWN: {
        int step = vk == VK_DOWN ? 1 : -1;
        int at = popup.hot;
        for (int n = 0; n < count; ++n) {
            at = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
            if (selectable(items[at])) break;
        }
        if (count > 0) SetHot(popup, at);
        break;
    }
    case VK_RETURN: choose(level, popup.hot); break;
    case VK_ESCAPE:
        if (level > 0)
            CloseFrom(level);
        else
            CloseFrom(0);
        break;
    case VK_RIGHT:
        if (popup.hot >= 0 && popup.hot < count && items[popup.hot].submenu)
            choose(level, popup.hot);
        else
            StepBar(1);
        break;
    case VK_LEFT:
        if (level > 0)
            CloseFrom(level);
        else
            StepBar(-1);
        break;
    default: break;
    }
}

void PopupChar(size_t level, char ch) {
    std::vector<MenuItem> items = MenuItems(t_tracking.popups[level].menu);
    char key = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (size_t i = 0; i < items.size(); ++i)
        if (key && AccessKey(items[i]) == key && selectable(items[i])) {
            SetHot(t_tracking.popups[level], static_cast<int>(i));
            choose(level, static_cast<int>(i));
            return;
        }
}

size_t LevelOf(HWND hWnd) {
    for (size_t i = 0; i < t_tracking.popups.size(); ++i)
        if (t_tracking.popups[i].hWnd == hWnd) return i;
    return t_tracking.popups.size();
}

LRESULT PopupProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    size_t level = LevelOf(hWnd);
    bool tracked = level < t_tracking.popups.size();
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT:
        if (tracked) {
            PaintPopup(hWnd, t_tracking.popups[level].menu, t_tracking.popups[level].hot);
            return 0;
        }
        break;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
        if (tracked) {
            int item = ItemAtPoint(hWnd, t_tracking.popups[level].menu, p);
            if (item >= 0) SetHot(t_tracking.popups[level], item);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (tracked && ItemAtPoint(hWnd, t_tracking.popups[level].menu, p) < 0) {
            RECT client;
            GetClientRect(hWnd, &client);
            if (p.x < 0 || p.y < 0 || p.x >= client.right || p.y >= client.bottom) PressOutside(hWnd, p);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (tracked) {
            int item = ItemAtPoint(hWnd, t_tracking.popups[level].menu, p);
            if (item >= 0) choose(level, item);
        }
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (tracked) PopupKey(level, wParam);
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (tracked) PopupChar(level, static_cast<char>(wParam));
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (not one of our popups): the menu closes.
        if (tracked && level == t_tracking.popups.size() - 1 && !PopupOf(reinterpret_cast<HWND>(lParam))) CloseFrom(0);
        return 0;
    default: break;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT BarProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: PaintBar(hWnd, t_tracking.bar == hWnd ? t_tracking.barItem : -1); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_LBUTTONDOWN: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        HWND hTop = GetParent(hWnd);
        int item = ItemAt(BarLayout(hWnd, MenuItems(GetMenu(hTop))), p);
        if (item >= 0) OpenBarItem(hTop, item, false);
        return 0;
    }
    default: return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

}  // namespace

// ---- The calls ----------------------------------------------------------------------------------

namespace user {

void PlatformMenuBarsChanged() {
    std::vector<HWND> windows;
    {
        Bars& b = bars();
        std::lock_guard<std::mutex> guard(b.lock);
        for (const auto& entry : b.menus) windows.push_back(entry.first);
    }
    for (HWND hWnd : windows)
        if (HWND hBar = BarOf(hWnd)) InvalidateRect(hBar, nullptr, TRUE);
    for (const Popup& popup : t_tracking.popups) InvalidateRect(popup.hWnd, nullptr, TRUE);
}

}  // namespace user

BOOL SetMenu(HWND hWnd, HMENU hMenu) {
    if (!IsWindow(hWnd) || (hMenu && !IsMenu(hMenu))) return FALSE;
    static bool watching = [] {
        PlatformWatchWindowRemoval(&bars(), [](HWND hGone) {
            Bars& b = bars();
            std::lock_guard<std::mutex> guard(b.lock);
            b.menus.erase(hGone);
        });
        return true;
    }();
    (void)watching;
    if (t_tracking.owner == hWnd) CloseFrom(0);
    {
        Bars& b = bars();
        std::lock_guard<std::mutex> guard(b.lock);
        if (hMenu)
            b.menus[hWnd] = hMenu;
        else
            b.menus.erase(hWnd);
    }
    HWND hBar = BarOf(hWnd);
    if (!hMenu) {
        if (hBar) DestroyWindow(hBar);
        return TRUE;
    }
    if (!hBar) {
        RECT client;
        GetClientRect(hWnd, &client);
        hBar = PlatformCreateWindowEx(BarProc, 0, "MenuBar", "", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                      PLATFORM_MENUBAR_HEIGHT, hWnd,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(PLATFORM_MENUBAR_ID)), nullptr);
        return hBar != nullptr;
    }
    InvalidateRect(hBar, nullptr, TRUE);
    return TRUE;
}

HMENU GetMenu(HWND hWnd) {
    Bars& b = bars();
    std::lock_guard<std::mutex> guard(b.lock);
    auto it = b.menus.find(hWnd);
    return it == b.menus.end() ? nullptr : it->second;
}

BOOL DrawMenuBar(HWND hWnd) {
    HWND hBar = BarOf(hWnd);
    return hBar && InvalidateRect(hBar, nullptr, TRUE);
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*) {
    if (!IsMenu(hMenu) || !IsWindow(hWnd)) return FALSE;
    CloseFrom(0);
    HWND hTop = RootOf(hWnd);
    BeginTracking(hWnd, nullptr, hMenu);
    t_tracking.returnCmd = (uFlags & TPM_RETURNCMD) != 0;
    t_chosen = 0;
    POINT at{x, y};
    ScreenToClient(hTop, &at);
    OpenPopup(hTop, hMenu, 0, at, false);
    // The menu's own loop: until it closes, or the application quits (the
    // quit is put back for the application's loop).
    MSG msg;
    while (!t_tracking.popups.empty() && IsWindow(t_tracking.popups.front().hWnd)) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            CloseFrom(0);
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (t_tracking.owner) CloseFrom(0);
    return (uFlags & TPM_RETURNCMD) ? static_cast<BOOL>(t_chosen) : TRUE;
}

HWND PlatformGetOpenMenuPopup() { return t_tracking.popups.empty() ? nullptr : t_tracking.popups.back().hWnd; }

BOOL PlatformMenuAccessKey(HWND hWnd, char ch) {
    HWND hTop = RootOf(hWnd);
    std::vector<MenuItem> items = MenuItems(GetMenu(hTop));
    char key = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (size_t i = 0; i < items.size(); ++i)
        if (key && AccessKey(items[i]) == key) {
            OpenBarItem(hTop, static_cast<int>(i), true);
            return TRUE;
        }
    return FALSE;
}

void PlatformMenuBarResize(HWND hWnd) {
    if (HWND hBar = BarOf(hWnd)) {
        RECT client;
        GetClientRect(hWnd, &client);
        MoveWindow(hBar, 0, 0, client.right, PLATFORM_MENUBAR_HEIGHT, TRUE);
    }
}
