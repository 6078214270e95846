// The brush table and the system colours.
#include "platform/gdi/Brushes.h"

#include <memory>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include "platform/kernel/Errors.h"
#include "platform/shared/NoDestructor.h"

namespace {

constexpr size_t kQuota = 10000;
constexpr int kSysColors = COLOR_BTNHIGHLIGHT + 1;

// The classic scheme of the original platform.
constexpr COLORREF kSysColor[kSysColors] = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255),
};

struct Brush {
    LOGBRUSH log;
    bool permanent;
};

// Never destroyed: brushes may be deleted by static destructors at exit.
struct BrushTable {
    std::mutex lock;
    std::unordered_map<uintptr_t, Brush> brushes;
    size_t created = 0;  // brushes that count against the quota
    uintptr_t next = 0x10000;
    HGDIOBJ stock[NULL_BRUSH + 1] = {};
    HBRUSH sysColor[kSysColors] = {};

    BrushTable() {
        const COLORREF stockColor[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128), RGB(64, 64, 64),
                                       RGB(0, 0, 0)};
        for (int i = WHITE_BRUSH; i <= BLACK_BRUSH; ++i) stock[i] = add({BS_SOLID, stockColor[i], 0}, true);
        stock[NULL_BRUSH] = add({BS_NULL, 0, 0}, true);
        for (int i = 0; i < kSysColors; ++i) sysColor[i] = static_cast<HBRUSH>(add({BS_SOLID, kSysColor[i], 0}, true));
    }

    HGDIOBJ add(const LOGBRUSH& log, bool permanent) {
        uintptr_t value = next;
        next += 4;
        brushes.emplace(value, Brush{log, permanent});
        return reinterpret_cast<HGDIOBJ>(value);
    }

    const Brush* find(HGDIOBJ h) const {
        auto it = brushes.find(reinterpret_cast<uintptr_t>(h));
        return it == brushes.end() ? nullptr : &it->second;
    }
};

BrushTable& Table() {
    static NoDestructor<BrushTable> table;
    return *table;
}

std::atomic<GdiReleaseWatcher> releaseWatcher{nullptr};

}  // namespace

void PlatformWatchGdiRelease(GdiReleaseWatcher watcher) { releaseWatcher.store(watcher); }

void PlatformGdiReleased(GdiHandle kind, const void* handle) {
    if (GdiReleaseWatcher watcher = releaseWatcher.load()) watcher(kind, handle);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    BrushTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    if (t.created >= kQuota) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    ++t.created;
    return static_cast<HBRUSH>(t.add({BS_SOLID, color & 0xFFFFFFu, 0}, false));
}

BOOL DeleteObject(HGDIOBJ hObject) {
    {
        BrushTable& t = Table();
        std::lock_guard<std::mutex> guard(t.lock);
        const Brush* brush = t.find(hObject);
        if (!brush) return FALSE;
        if (brush->permanent) return TRUE;
        t.brushes.erase(reinterpret_cast<uintptr_t>(hObject));
        --t.created;
    }
    PlatformGdiReleased(GdiHandle::Brush, hObject);
    return TRUE;
}

HGDIOBJ GetStockObject(int i) {
    if (i < WHITE_BRUSH || i > NULL_BRUSH) return nullptr;
    return Table().stock[i];
}

int GetObjectA(HGDIOBJ hObject, int cbBuffer, LPVOID lpvObject) {
    if (!lpvObject || cbBuffer < static_cast<int>(sizeof(LOGBRUSH))) return 0;
    BrushTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    const Brush* brush = t.find(hObject);
    if (!brush) return 0;
    *static_cast<LOGBRUSH*>(lpvObject) = brush->log;
    return sizeof(LOGBRUSH);
}

DWORD GetSysColor(int nIndex) { return nIndex >= 0 && nIndex < kSysColors ? kSysColor[nIndex] : 0; }

HBRUSH GetSysColorBrush(int nIndex) {
    return nIndex >= 0 && nIndex < kSysColors ? Table().sysColor[nIndex] : nullptr;
}

BOOL PlatformBrushColor(HBRUSH hBrush, COLORREF* pColor) {
    auto value = reinterpret_cast<uintptr_t>(hBrush);
    COLORREF color;
    if (value >= 1 && value <= kSysColors) {
        color = kSysColor[value - 1];
    } else {
        LOGBRUSH log;
        if (!GetObjectA(hBrush, sizeof log, &log)) return FALSE;
        color = log.lbStyle == BS_SOLID ? log.lbColor : CLR_INVALID;
    }
    if (pColor) *pColor = color;
    return TRUE;
}
