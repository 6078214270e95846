// The device-context table, selection, the recorded drawing, and the calls
// on a context's state.
#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "platform/gdi/DcTable.h"
#include "platform/gdi/Painter.h"
#include "platform/gdi/Shapes.h"
#include "platform/kernel/Errors.h"
#include "platform/shared/NoDestructor.h"

namespace gdi {
namespace {

constexpr size_t kQuota = 10000;
constexpr size_t kMaxOperations = 100000;
constexpr size_t kMaxBlitBytes = 64u << 20;

using Drawing = std::deque<PlatformDrawing>;

// A window's drawing, and the bytes of pixels its blits hold.
struct WindowDrawing {
    Drawing ops;
    size_t blitBytes = 0;
};

size_t BlitBytes(const PlatformDrawing& op) { return op.source ? op.source->data.size() * sizeof(uint32_t) : 0; }

// Never destroyed: windows may go, and contexts be released, while the
// process exits.
struct DcTable {
    std::mutex lock;
    std::unordered_map<uintptr_t, DeviceContext> contexts;
    std::unordered_map<HWND, WindowDrawing> windows;
    uintptr_t next = 0x20000;
};

DcTable& Table() {
    static NoDestructor<DcTable> table;
    return *table;
}

bool Covers(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

// True for an operation that paints every pixel of its rectangle without
// reading what was there.
bool Opaque(const PlatformDrawing& op) {
    if (op.kind == PlatformDrawing::Kind::fill) return true;
    if (op.kind != PlatformDrawing::Kind::blit) return false;
    switch (op.rop) {
    case BLACKNESS:
    case WHITENESS:
    case PATCOPY: return op.color != CLR_INVALID;
    case SRCCOPY:
    case NOTSRCCOPY: return op.source != nullptr;
    default: return false;
    }
}

void Append(Drawing& drawing, const PlatformDrawing& op) {
    if (drawing.size() >= kMaxOperations) drawing.pop_front();
    drawing.push_back(op);
}

void AppendToWindow(WindowDrawing& drawing, const PlatformDrawing& op) {
    drawing.blitBytes += BlitBytes(op);
    while (drawing.ops.size() >= kMaxOperations || (drawing.blitBytes > kMaxBlitBytes && !drawing.ops.empty())) {
        drawing.blitBytes -= BlitBytes(drawing.ops.front());
        drawing.ops.pop_front();
    }
    drawing.ops.push_back(op);
}

// Selects the object's previous holder out and the new one in; the previous
// handle, or null when the object cannot be selected.
HGDIOBJ Swap(HGDIOBJ& slot, Object& held, HGDIOBJ hObject, ObjectKind kind) {
    Object selected;
    if (!Select(hObject, kind, &selected)) return nullptr;
    HGDIOBJ previous = std::exchange(slot, hObject);
    held = std::move(selected);
    if (previous) Deselect(previous);
    return previous;
}

void DeselectAll(DeviceContext& dc) {
    for (HGDIOBJ h : {dc.pen, dc.brush, dc.font, dc.bitmap})
        if (h) Deselect(h);
}

}  // namespace

std::mutex& TableLock() { return Table().lock; }

DeviceContext* FindContext(HDC hDC) {
    auto& contexts = Table().contexts;
    auto it = contexts.find(reinterpret_cast<uintptr_t>(hDC));
    return it == contexts.end() ? nullptr : &it->second;
}

void Record(HDC, DeviceContext& dc, PlatformDrawing op) {
    op.clip = dc.clip;
    if (dc.memory) {
        PaintIntoBitmap(*dc.bitmapObject.bitmap, op);
        return;
    }
    Append(dc.drawn, op);
    if (!dc.window) return;
    WindowDrawing& drawing = Table().windows[dc.window];
    bool wholeArea =
        Opaque(op) && Covers(CRect(std::max(op.rect.left, op.clip.left), std::max(op.rect.top, op.clip.top),
                                   std::min(op.rect.right, op.clip.right), std::min(op.rect.bottom, op.clip.bottom)),
                             dc.client);
    if (wholeArea) drawing = WindowDrawing{};  // everything before it is hidden
    AppendToWindow(drawing, op);
}

HDC CreateContext(HWND hWnd, const RECT& client, bool memory) {
    DcTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    if (t.contexts.size() >= kQuota) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    DeviceContext dc;
    dc.window = hWnd;
    dc.memory = memory;
    dc.client = dc.clip = client;
    Swap(dc.pen, dc.penObject, GetStockObject(BLACK_PEN), ObjectKind::pen);
    Swap(dc.brush, dc.brushObject, GetStockObject(WHITE_BRUSH), ObjectKind::brush);
    Swap(dc.font, dc.fontObject, GetStockObject(SYSTEM_FONT), ObjectKind::font);
    if (memory) Swap(dc.bitmap, dc.bitmapObject, DefaultBitmap(), ObjectKind::bitmap);
    uintptr_t value = t.next;
    t.next += 4;
    t.contexts.emplace(value, std::move(dc));
    return reinterpret_cast<HDC>(value);
}

// Ends a context when check accepts it; FALSE otherwise.
template <class Check>
BOOL DeleteContext(HDC hDC, Check check) {
    {
        DcTable& t = Table();
        std::lock_guard<std::mutex> guard(t.lock);
        DeviceContext* dc = FindContext(hDC);
        if (!dc || !check(*dc)) return FALSE;
        DeselectAll(*dc);
        t.contexts.erase(reinterpret_cast<uintptr_t>(hDC));
    }
    PlatformGdiReleased(GdiHandle::DeviceContext, hDC);
    return TRUE;
}

}  // namespace gdi

using gdi::DeviceContext;
using gdi::WithContext;

HDC PlatformCreateDC(HWND hWnd, const RECT& client) { return gdi::CreateContext(hWnd, client, false); }

BOOL PlatformDeleteDC(HWND hWnd, HDC hDC) {
    return gdi::DeleteContext(hDC, [hWnd](const DeviceContext& dc) { return !dc.memory && dc.window == hWnd; });
}

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc && !PlatformIsDC(hdc)) return nullptr;
    return gdi::CreateContext(nullptr, RECT{0, 0, 1, 1}, true);
}

BOOL DeleteDC(HDC hdc) {
    return gdi::DeleteContext(hdc, [](const DeviceContext& dc) { return dc.memory; });
}

void PlatformForgetWindowDrawing(HWND hWnd) {
    std::lock_guard<std::mutex> guard(gdi::TableLock());
    gdi::Table().windows.erase(hWnd);
}

bool PlatformIsDC(HDC hDC) {
    return WithContext(hDC, false, [](DeviceContext&) { return true; });
}

DWORD PlatformDCType(HDC hDC) {
    return WithContext(hDC, DWORD(0), [](DeviceContext& dc) { return DWORD(dc.memory ? OBJ_MEMDC : OBJ_DC); });
}

HWND WindowFromDC(HDC hDC) {
    return WithContext(hDC, HWND(nullptr), [](DeviceContext& dc) { return dc.window; });
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    gdi::Object object;
    if (!gdi::Find(h, &object)) return nullptr;
    return WithContext(hdc, HGDIOBJ(nullptr), [&](DeviceContext& dc) -> HGDIOBJ {
        switch (object.kind) {
        case gdi::ObjectKind::pen: return gdi::Swap(dc.pen, dc.penObject, h, object.kind);
        case gdi::ObjectKind::brush: return gdi::Swap(dc.brush, dc.brushObject, h, object.kind);
        case gdi::ObjectKind::font: {
            HGDIOBJ previous = gdi::Swap(dc.font, dc.fontObject, h, object.kind);
            if (previous) dc.resolvedFont.reset();
            return previous;
        }
        case gdi::ObjectKind::bitmap: {
            if (!dc.memory) return nullptr;  // only a memory context holds a bitmap
            HGDIOBJ previous = gdi::Swap(dc.bitmap, dc.bitmapObject, h, object.kind);
            if (previous) {
                dc.client = RECT{0, 0, dc.bitmapObject.bitmap->width, dc.bitmapObject.bitmap->height};
                dc.clip = dc.client;
            }
            return previous;
        }
        }
        return nullptr;
    });
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    return WithContext(hdc, HGDIOBJ(nullptr), [type](DeviceContext& dc) -> HGDIOBJ {
        switch (type) {
        case OBJ_PEN: return dc.pen;
        case OBJ_BRUSH: return dc.brush;
        case OBJ_FONT: return dc.font;
        case OBJ_BITMAP: return dc.bitmap;
        default: return nullptr;
        }
    });
}

BOOL PlatformFillColor(HDC hDC, const RECT* lprc, COLORREF color) {
    if (!lprc) return FALSE;
    return WithContext(hDC, FALSE, [&](DeviceContext& dc) {
        PlatformDrawing op;
        op.kind = PlatformDrawing::Kind::fill;
        op.rect = dc.toDevice(*lprc);
        op.color = color;
        gdi::Record(hDC, dc, std::move(op));
        return TRUE;
    });
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    COLORREF color;
    if (!lprc || !PlatformBrushColor(hbr, &color)) return 0;
    if (color == CLR_INVALID) return PlatformIsDC(hDC);  // a hollow brush paints nothing
    return PlatformFillColor(hDC, lprc, color);
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

int SetPolyFillMode(HDC hdc, int mode) {
    if (mode != ALTERNATE && mode != WINDING) return 0;
    return WithContext(hdc, 0, [mode](DeviceContext& dc) { return std::exchange(dc.fillMode, mode); });
}

int GetPolyFillMode(HDC hdc) {
    return WithContext(hdc, 0, [](DeviceContext& dc) { return dc.fillMode; });
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    return WithContext(hdc, int(ERROR), [&](DeviceContext& dc) {
        RECT r = dc.toDevice(RECT{left, top, right, bottom});
        CRect clip(std::max(dc.clip.left, r.left), std::max(dc.clip.top, r.top), std::min(dc.clip.right, r.right),
                   std::min(dc.clip.bottom, r.bottom));
        dc.clip = clip.IsRectEmpty() ? RECT{} : RECT(clip);
        return clip.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
    });
}

int GetClipBox(HDC hdc, LPRECT lprect) {
    if (!lprect) return ERROR;
    return WithContext(hdc, int(ERROR), [lprect](DeviceContext& dc) {
        POINT a = dc.toLogical(POINT{dc.clip.left, dc.clip.top});
        POINT b = dc.toLogical(POINT{dc.clip.right, dc.clip.bottom});
        *lprect = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        return CRect(dc.clip).IsRectEmpty() ? NULLREGION : SIMPLEREGION;
    });
}

std::vector<PlatformDrawing> PlatformGetDrawing(HDC hDC) {
    return WithContext(hDC, std::vector<PlatformDrawing>(), [](DeviceContext& dc) {
        return std::vector<PlatformDrawing>(dc.drawn.begin(), dc.drawn.end());
    });
}

std::vector<PlatformDrawing> PlatformGetWindowDrawing(HWND hWnd) {
    std::lock_guard<std::mutex> guard(gdi::TableLock());
    auto& windows = gdi::Table().windows;
    auto it = windows.find(hWnd);
    if (it == windows.end()) return {};
    return std::vector<PlatformDrawing>(it->second.ops.begin(), it->second.ops.end());
}
