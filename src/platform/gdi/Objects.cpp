// The object table: brushes, pens, fonts and bitmaps, the stock objects and
// the system colours.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/TextMetrics.h"
#include "platform/kernel/Errors.h"
#include "platform/shared/NoDestructor.h"

namespace {

constexpr size_t kQuota = 10000;
constexpr int kSysColors = COLOR_BTNHIGHLIGHT + 1;
constexpr int kStockCount = DEFAULT_GUI_FONT + 1;

// The classic scheme of the original platform.
constexpr COLORREF kSysColor[kSysColors] = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255),
};

gdi::Object Permanent(gdi::ObjectKind kind) {
    gdi::Object o;
    o.kind = kind;
    o.permanent = true;
    return o;
}

gdi::Object StockFont(const char* face, bool fixed) {
    gdi::Object o = Permanent(gdi::ObjectKind::font);
    o.font.lfWeight = FW_NORMAL;
    o.font.lfPitchAndFamily = fixed ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS;
    std::strncpy(o.font.lfFaceName, face, LF_FACESIZE - 1);
    return o;
}

// Never destroyed: objects may be deleted by static destructors at exit.
struct ObjectTable {
    std::mutex lock;
    std::unordered_map<uintptr_t, gdi::Object> objects;
    size_t created = 0;  // objects that count against the quota
    uintptr_t next = 0x10000;
    HGDIOBJ stock[kStockCount] = {};
    HBRUSH sysColor[kSysColors] = {};
    HBITMAP defaultBitmap = nullptr;

    ObjectTable() {
        const COLORREF stockColor[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128), RGB(64, 64, 64),
                                       RGB(0, 0, 0)};
        for (int i = WHITE_BRUSH; i <= BLACK_BRUSH; ++i) stock[i] = addBrush({BS_SOLID, stockColor[i], 0});
        stock[NULL_BRUSH] = addBrush({BS_NULL, 0, 0});
        for (int i = 0; i < kSysColors; ++i) sysColor[i] = static_cast<HBRUSH>(addBrush({BS_SOLID, kSysColor[i], 0}));
        const std::pair<int, LOGPEN> pens[] = {{WHITE_PEN, {PS_SOLID, {0, 0}, RGB(255, 255, 255)}},
                                               {BLACK_PEN, {PS_SOLID, {0, 0}, RGB(0, 0, 0)}},
                                               {NULL_PEN, {PS_NULL, {0, 0}, 0}}};
        for (const auto& [index, log] : pens) {
            gdi::Object o = Permanent(gdi::ObjectKind::pen);
            o.pen = log;
            stock[index] = add(std::move(o));
        }
        for (int i : {ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT, DEFAULT_GUI_FONT})
            stock[i] = add(StockFont(PLATFORM_FONT_FACE, false));
        for (int i : {OEM_FIXED_FONT, ANSI_FIXED_FONT, SYSTEM_FIXED_FONT}) stock[i] = add(StockFont("Courier", true));
        gdi::Object bitmap = Permanent(gdi::ObjectKind::bitmap);
        bitmap.bitmap = std::make_shared<PlatformPixels>(PlatformPixels{1, 1, 1, {0}});
        defaultBitmap = static_cast<HBITMAP>(add(std::move(bitmap)));
    }

    HGDIOBJ addBrush(const LOGBRUSH& log) {
        gdi::Object o = Permanent(gdi::ObjectKind::brush);
        o.brush = log;
        return add(std::move(o));
    }

    HGDIOBJ add(gdi::Object o) {
        uintptr_t value = next;
        next += 4;
        objects.emplace(value, std::move(o));
        return reinterpret_cast<HGDIOBJ>(value);
    }

    gdi::Object* find(HGDIOBJ h) {
        auto it = objects.find(reinterpret_cast<uintptr_t>(h));
        return it == objects.end() ? nullptr : &it->second;
    }

    // Adds an object counted against the quota; null beyond it.
    HGDIOBJ create(gdi::Object o) {
        std::lock_guard<std::mutex> guard(lock);
        if (created >= kQuota) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        ++created;
        return add(std::move(o));
    }
};

ObjectTable& Table() {
    static NoDestructor<ObjectTable> table;
    return *table;
}

std::atomic<GdiReleaseWatcher> g_releaseWatcher{nullptr};

}  // namespace

// ---- For the device contexts ------------------------------------------------------------

namespace gdi {

bool Find(HGDIOBJ h, Object* out) {
    ObjectTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    const Object* o = t.find(h);
    if (!o) return false;
    if (out) *out = *o;
    return true;
}

bool Select(HGDIOBJ h, ObjectKind kind, Object* out) {
    ObjectTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    Object* o = t.find(h);
    if (!o || o->kind != kind) return false;
    if (kind == ObjectKind::bitmap && o->selections > 0 && h != t.defaultBitmap) return false;
    ++o->selections;
    *out = *o;
    return true;
}

void Deselect(HGDIOBJ h) {
    ObjectTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    if (Object* o = t.find(h); o && o->selections > 0) --o->selections;
}

HBITMAP DefaultBitmap() { return Table().defaultBitmap; }

bool BitmapSizeOk(long width, long height) {
    return width >= 1 && height >= 1 && width <= 16384 && height <= 16384 && width * height <= (1L << 25);
}

void KeepMonochrome(PlatformPixels& pixels) {
    for (uint32_t& p : pixels.data) {
        unsigned sum = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
        p = sum >= 384 ? 0xFFFFFFu : 0;
    }
}

HBITMAP AddBitmap(std::shared_ptr<PlatformPixels> pixels) {
    Object o;
    o.kind = ObjectKind::bitmap;
    o.bitmap = std::move(pixels);
    return static_cast<HBITMAP>(Table().create(std::move(o)));
}

}  // namespace gdi

// ---- The calls ---------------------------------------------------------------------------------

void PlatformWatchGdiRelease(GdiReleaseWatcher watcher) { g_releaseWatcher.store(watcher); }

void PlatformGdiReleased(GdiHandle kind, const void* handle) {
    if (GdiReleaseWatcher watcher = g_releaseWatcher.load()) watcher(kind, handle);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    gdi::Object o;
    o.brush = {BS_SOLID, color & 0xFFFFFFu, 0};
    return static_cast<HBRUSH>(Table().create(std::move(o)));
}

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
    if (iStyle < PS_SOLID || iStyle > PS_INSIDEFRAME) return nullptr;
    gdi::Object o;
    o.kind = gdi::ObjectKind::pen;
    o.pen = {static_cast<UINT>(iStyle), {std::max(cWidth, 0), 0}, color & 0xFFFFFFu};
    return static_cast<HPEN>(Table().create(std::move(o)));
}

HPEN CreatePenIndirect(const LOGPEN* plpen) {
    return plpen ? CreatePen(static_cast<int>(plpen->lopnStyle), plpen->lopnWidth.x, plpen->lopnColor) : nullptr;
}

HFONT CreateFontIndirectA(const LOGFONTA* lplf) {
    if (!lplf) return nullptr;
    gdi::Object o;
    o.kind = gdi::ObjectKind::font;
    o.font = *lplf;
    o.font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(Table().create(std::move(o)));
}

HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                  DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                  DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName) {
    LOGFONTA log{cHeight,
                 cWidth,
                 cEscapement,
                 cOrientation,
                 cWeight,
                 static_cast<BYTE>(bItalic != 0),
                 static_cast<BYTE>(bUnderline != 0),
                 static_cast<BYTE>(bStrikeOut != 0),
                 static_cast<BYTE>(iCharSet),
                 static_cast<BYTE>(iOutPrecision),
                 static_cast<BYTE>(iClipPrecision),
                 static_cast<BYTE>(iQuality),
                 static_cast<BYTE>(iPitchAndFamily),
                 {}};
    if (pszFaceName) std::strncpy(log.lfFaceName, pszFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&log);
}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
    if (!gdi::BitmapSizeOk(nWidth, nHeight) || nPlanes != 1 || (nBitCount != 1 && nBitCount != 24 && nBitCount != 32))
        return nullptr;
    auto pixels = std::make_shared<PlatformPixels>();
    pixels->width = nWidth;
    pixels->height = nHeight;
    pixels->bitsPixel = nBitCount == 1 ? 1 : 32;
    pixels->data.assign(static_cast<size_t>(nWidth) * nHeight, 0);
    if (lpBits) {
        const auto* bytes = static_cast<const BYTE*>(lpBits);
        size_t rowBytes = (static_cast<size_t>(nWidth) * nBitCount + 15) / 16 * 2;
        for (int y = 0; y < nHeight; ++y) {
            const BYTE* row = bytes + rowBytes * y;
            for (int x = 0; x < nWidth; ++x) {
                uint32_t& p = pixels->data[static_cast<size_t>(y) * nWidth + x];
                if (nBitCount == 1)
                    p = (row[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFFu : 0;
                else if (nBitCount == 24)
                    p = row[x * 3] | row[x * 3 + 1] << 8 | static_cast<uint32_t>(row[x * 3 + 2]) << 16;
                else
                    p = row[x * 4] | row[x * 4 + 1] << 8 | static_cast<uint32_t>(row[x * 4 + 2]) << 16;
            }
        }
    }
    return gdi::AddBitmap(std::move(pixels));
}

BOOL DeleteObject(HGDIOBJ hObject) {
    {
        ObjectTable& t = Table();
        std::lock_guard<std::mutex> guard(t.lock);
        const gdi::Object* o = t.find(hObject);
        if (!o) return FALSE;
        if (o->permanent) return TRUE;
        if (o->selections > 0) return FALSE;
        t.objects.erase(reinterpret_cast<uintptr_t>(hObject));
        --t.created;
    }
    PlatformGdiReleased(GdiHandle::Object, hObject);
    return TRUE;
}

HGDIOBJ GetStockObject(int i) { return i >= 0 && i < kStockCount ? Table().stock[i] : nullptr; }

DWORD GetObjectType(HGDIOBJ h) {
    gdi::Object o;
    if (!gdi::Find(h, &o)) return PlatformIsDC(static_cast<HDC>(h)) ? PlatformDCType(static_cast<HDC>(h)) : 0;
    switch (o.kind) {
    case gdi::ObjectKind::brush: return OBJ_BRUSH;
    case gdi::ObjectKind::pen: return OBJ_PEN;
    case gdi::ObjectKind::font: return OBJ_FONT;
    case gdi::ObjectKind::bitmap: return OBJ_BITMAP;
    }
    return 0;
}

int GetObjectA(HGDIOBJ hObject, int cbBuffer, LPVOID lpvObject) {
    gdi::Object o;
    if (!gdi::Find(hObject, &o)) return 0;
    auto give = [&](const auto& value) {
        if (!lpvObject) return static_cast<int>(sizeof value);  // the size asked for
        if (cbBuffer < static_cast<int>(sizeof value)) return 0;
        std::memcpy(lpvObject, &value, sizeof value);
        return static_cast<int>(sizeof value);
    };
    switch (o.kind) {
    case gdi::ObjectKind::brush: return give(o.brush);
    case gdi::ObjectKind::pen: return give(o.pen);
    case gdi::ObjectKind::font: return give(o.font);
    case gdi::ObjectKind::bitmap: {
        const PlatformPixels& p = *o.bitmap;
        LONG widthBytes = p.bitsPixel == 1 ? (p.width + 15) / 16 * 2 : p.width * 4;
        BITMAP bm{0, p.width, p.height, widthBytes, 1, static_cast<WORD>(p.bitsPixel), nullptr};
        return give(bm);
    }
    }
    return 0;
}

DWORD GetSysColor(int nIndex) { return nIndex >= 0 && nIndex < kSysColors ? kSysColor[nIndex] : 0; }

HBRUSH GetSysColorBrush(int nIndex) { return nIndex >= 0 && nIndex < kSysColors ? Table().sysColor[nIndex] : nullptr; }

BOOL PlatformBrushColor(HBRUSH hBrush, COLORREF* pColor) {
    auto value = reinterpret_cast<uintptr_t>(hBrush);
    COLORREF color;
    if (value >= 1 && value <= kSysColors) {
        color = kSysColor[value - 1];
    } else {
        gdi::Object o;
        if (!gdi::Find(hBrush, &o) || o.kind != gdi::ObjectKind::brush) return FALSE;
        color = o.brush.lbStyle == BS_SOLID ? o.brush.lbColor : CLR_INVALID;
    }
    if (pColor) *pColor = color;
    return TRUE;
}
