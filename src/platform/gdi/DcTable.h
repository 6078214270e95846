// The device-context table, for the files of this folder that draw: a
// context's state, running code on a live context under the table's lock,
// turning logical units into device units, and recording (or, in memory,
// drawing) an operation.
#pragma once

#include <deque>
#include <memory>
#include <mutex>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/TextLayout.h"

namespace gdi {

struct DeviceContext {
    HWND window = nullptr;  // null: the screen, or memory
    bool memory = false;
    RECT client{};  // the window's client rectangle when the context was made; in memory, the bitmap's
    RECT clip{};
    COLORREF text = RGB(0, 0, 0);
    COLORREF bk = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int fillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    POINT position{0, 0};  // the current position, logical
    // The selected objects, with copies of what they were when selected
    // (objects cannot change once made).
    HGDIOBJ pen = nullptr, brush = nullptr, font = nullptr, bitmap = nullptr;
    Object penObject, brushObject, fontObject, bitmapObject;
    std::shared_ptr<const Font> resolvedFont;  // at the mapping of the moment; null until needed
    // The mapping: device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg.
    int mapMode = MM_TEXT;
    POINT windowOrg{0, 0}, viewportOrg{0, 0};
    SIZE windowExt{1, 1}, viewportExt{1, 1};
    std::deque<PlatformDrawing> drawn;

    POINT toDevice(POINT p) const;
    POINT toLogical(POINT p) const;
    // A rectangle in device units, left above right and top above bottom.
    RECT toDevice(const RECT& r) const;
    // Device pixels a logical unit, across and down (never 0).
    double scaleX() const;
    double scaleY() const;
    // The selected font at the current mapping.
    const Font& currentFont();
};

// Runs f on the live context under the table's lock; fallback otherwise.
template <class R, class F>
R WithContext(HDC hDC, R fallback, F f);

// The table's lock and lookup, for WithContext.
std::mutex& TableLock();
DeviceContext* FindContext(HDC hDC);

template <class R, class F>
R WithContext(HDC hDC, R fallback, F f) {
    std::lock_guard<std::mutex> guard(TableLock());
    DeviceContext* dc = FindContext(hDC);
    return dc ? f(*dc) : fallback;
}

// Records the operation (device units) with the context's clip box, or in
// memory draws it into the selected bitmap. Called under the lock.
void Record(HDC hDC, DeviceContext& dc, PlatformDrawing op);

}  // namespace gdi
