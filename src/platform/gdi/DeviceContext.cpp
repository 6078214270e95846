// The device-context table and the recorded drawing.
#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "platform/kernel/Errors.h"
#include "platform/shared/NoDestructor.h"

namespace {

constexpr size_t kQuota = 10000;
constexpr size_t kMaxOperations = 100000;
constexpr int kLineHeight = 16;

struct DeviceContext {
    HWND window;  // null: the screen
    RECT client;  // the window's client rectangle when the context was made
    RECT clip;
    COLORREF text = RGB(0, 0, 0);
    COLORREF bk = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    std::deque<PlatformDrawing> drawn;
};

using Drawing = std::deque<PlatformDrawing>;

// Never destroyed: windows may go, and contexts be released, while the
// process exits.
struct DcTable {
    std::mutex lock;
    std::unordered_map<uintptr_t, DeviceContext> contexts;
    std::unordered_map<HWND, Drawing> windows;  // each window's drawing
    uintptr_t next = 0x20000;

    DeviceContext* find(HDC hDC) {
        auto it = contexts.find(reinterpret_cast<uintptr_t>(hDC));
        return it == contexts.end() ? nullptr : &it->second;
    }
};

DcTable& Table() {
    static NoDestructor<DcTable> table;
    return *table;
}

bool Covers(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

void Append(Drawing& drawing, const PlatformDrawing& op) {
    if (drawing.size() >= kMaxOperations) drawing.pop_front();
    drawing.push_back(op);
}

// Records the operation with the context's clip box; FALSE for a handle that
// is not a device context.
BOOL Record(HDC hDC, PlatformDrawing op) {
    DcTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    DeviceContext* dc = t.find(hDC);
    if (!dc) return FALSE;
    op.clip = dc->clip;
    if (op.kind == PlatformDrawing::Kind::text) {
        op.color = dc->text;
        op.bkColor = dc->bk;
        op.bkMode = dc->bkMode;
    }
    Append(dc->drawn, op);
    if (dc->window) {
        Drawing& drawing = t.windows[dc->window];
        bool wholeArea = op.kind == PlatformDrawing::Kind::fill &&
                         Covers(CRect(std::max(op.rect.left, op.clip.left), std::max(op.rect.top, op.clip.top),
                                      std::min(op.rect.right, op.clip.right), std::min(op.rect.bottom, op.clip.bottom)),
                                dc->client);
        if (wholeArea) drawing.clear();  // everything before it is hidden
        Append(drawing, op);
    }
    return TRUE;
}

BOOL FillColor(HDC hDC, const RECT* lprc, COLORREF color) {
    if (!lprc) return FALSE;
    PlatformDrawing op{PlatformDrawing::Kind::fill, *lprc, {}, color, 0, 0, 0, {}};
    return Record(hDC, std::move(op));
}

BOOL Text(HDC hDC, const RECT& rect, LPCSTR text, int count, UINT format) {
    if (count == -1) count = text ? static_cast<int>(std::strlen(text)) : 0;
    if (count < 0 || (count > 0 && !text)) return FALSE;
    PlatformDrawing op{PlatformDrawing::Kind::text, rect, {}, 0, 0, 0, format, std::string(text ? text : "", count)};
    return Record(hDC, std::move(op));
}

// Runs f on the live context under the lock; fallback otherwise.
template <class R, class F>
R WithContext(HDC hDC, R fallback, F f) {
    DcTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    DeviceContext* dc = t.find(hDC);
    return dc ? f(*dc) : fallback;
}

bool IsLive(HDC hDC) {
    return WithContext(hDC, false, [](DeviceContext&) { return true; });
}

}  // namespace

HDC PlatformCreateDC(HWND hWnd, const RECT& client) {
    DcTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    if (t.contexts.size() >= kQuota) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    uintptr_t value = t.next;
    t.next += 4;
    DeviceContext dc;
    dc.window = hWnd;
    dc.client = dc.clip = client;
    t.contexts.emplace(value, std::move(dc));
    return reinterpret_cast<HDC>(value);
}

BOOL PlatformDeleteDC(HWND hWnd, HDC hDC) {
    {
        DcTable& t = Table();
        std::lock_guard<std::mutex> guard(t.lock);
        DeviceContext* dc = t.find(hDC);
        if (!dc || dc->window != hWnd) return FALSE;
        t.contexts.erase(reinterpret_cast<uintptr_t>(hDC));
    }
    PlatformGdiReleased(GdiHandle::DeviceContext, hDC);
    return TRUE;
}

void PlatformForgetWindowDrawing(HWND hWnd) {
    DcTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    t.windows.erase(hWnd);
}

bool PlatformIsDC(HDC hDC) { return IsLive(hDC); }

BOOL PlatformFillColor(HDC hDC, const RECT* lprc, COLORREF color) { return FillColor(hDC, lprc, color); }

HWND WindowFromDC(HDC hDC) {
    return WithContext(hDC, HWND(nullptr), [](DeviceContext& dc) { return dc.window; });
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    COLORREF color;
    if (!lprc || !PlatformBrushColor(hbr, &color)) return 0;
    if (color == CLR_INVALID) return IsLive(hDC);  // a hollow brush paints nothing
    return FillColor(hDC, lprc, color);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return WithContext(hdc, COLORREF(CLR_INVALID), [color](DeviceContext& dc) { return std::exchange(dc.text, color); });
}

COLORREF GetTextColor(HDC hdc) {
    return WithContext(hdc, COLORREF(CLR_INVALID), [](DeviceContext& dc) { return dc.text; });
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return WithContext(hdc, COLORREF(CLR_INVALID), [color](DeviceContext& dc) { return std::exchange(dc.bk, color); });
}

COLORREF GetBkColor(HDC hdc) {
    return WithContext(hdc, COLORREF(CLR_INVALID), [](DeviceContext& dc) { return dc.bk; });
}

int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return WithContext(hdc, 0, [mode](DeviceContext& dc) { return std::exchange(dc.bkMode, mode); });
}

int GetBkMode(HDC hdc) {
    return WithContext(hdc, 0, [](DeviceContext& dc) { return dc.bkMode; });
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
    return Text(hdc, RECT{x, y, x, y}, lpString, c, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
}

int DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    if (!lprc || !Text(hdc, *lprc, lpchText, cchText, format)) return 0;
    int count = cchText == -1 ? static_cast<int>(std::strlen(lpchText)) : cchText;
    int lines = (format & DT_SINGLELINE) ? 1 : 1 + static_cast<int>(std::count(lpchText, lpchText + count, '\n'));
    return lines * kLineHeight;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    return WithContext(hdc, int(ERROR), [&](DeviceContext& dc) {
        CRect clip(std::max(dc.clip.left, static_cast<LONG>(left)), std::max(dc.clip.top, static_cast<LONG>(top)),
                   std::min(dc.clip.right, static_cast<LONG>(right)),
                   std::min(dc.clip.bottom, static_cast<LONG>(bottom)));
        dc.clip = clip.IsRectEmpty() ? RECT{} : RECT(clip);
        return clip.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
    });
}

int GetClipBox(HDC hdc, LPRECT lprect) {
    if (!lprect) return ERROR;
    return WithContext(hdc, int(ERROR), [lprect](DeviceContext& dc) {
        *lprect = dc.clip;
        return CRect(dc.clip).IsRectEmpty() ? NULLREGION : SIMPLEREGION;
    });
}

std::vector<PlatformDrawing> PlatformGetDrawing(HDC hDC) {
    return WithContext(hDC, std::vector<PlatformDrawing>(), [](DeviceContext& dc) {
        return std::vector<PlatformDrawing>(dc.drawn.begin(), dc.drawn.end());
    });
}

std::vector<PlatformDrawing> PlatformGetWindowDrawing(HWND hWnd) {
    DcTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.windows.find(hWnd);
    if (it == t.windows.end()) return {};
    return std::vector<PlatformDrawing>(it->second.begin(), it->second.end());
}
