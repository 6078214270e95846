// Mapping modes, and a device context's conversions between logical and
// device units (DcTable.h).
#include "platform/gdi/Mapping.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/gdi/DcTable.h"

namespace gdi {
namespace {

constexpr int kDpi = 96;

LONG Scale(LONG value, LONG from, LONG to) {
    return static_cast<LONG>(std::lround(static_cast<double>(value) * to / from));
}

// Shrinks the larger of the viewport's scales to the smaller, keeping its sign.
void MakeIsotropic(DeviceContext& dc) {
    double sx = std::abs(static_cast<double>(dc.viewportExt.cx) / dc.windowExt.cx);
    double sy = std::abs(static_cast<double>(dc.viewportExt.cy) / dc.windowExt.cy);
    if (sx < sy) {
        LONG cy = static_cast<LONG>(std::lround(std::abs(static_cast<double>(dc.windowExt.cy)) * sx));
        dc.viewportExt.cy = std::max<LONG>(1, cy) * (dc.viewportExt.cy < 0 ? -1 : 1);
    } else if (sy < sx) {
        LONG cx = static_cast<LONG>(std::lround(std::abs(static_cast<double>(dc.windowExt.cx)) * sy));
        dc.viewportExt.cx = std::max<LONG>(1, cx) * (dc.viewportExt.cx < 0 ? -1 : 1);
    }
}

bool Scalable(const DeviceContext& dc) { return dc.mapMode == MM_ISOTROPIC || dc.mapMode == MM_ANISOTROPIC; }

}  // namespace

POINT DeviceContext::toDevice(POINT p) const {
    return POINT{Scale(p.x - windowOrg.x, windowExt.cx, viewportExt.cx) + viewportOrg.x,
                 Scale(p.y - windowOrg.y, windowExt.cy, viewportExt.cy) + viewportOrg.y};
}

POINT DeviceContext::toLogical(POINT p) const {
    return POINT{Scale(p.x - viewportOrg.x, viewportExt.cx, windowExt.cx) + windowOrg.x,
                 Scale(p.y - viewportOrg.y, viewportExt.cy, windowExt.cy) + windowOrg.y};
}

RECT DeviceContext::toDevice(const RECT& r) const {
    POINT a = toDevice(POINT{r.left, r.top});
    POINT b = toDevice(POINT{r.right, r.bottom});
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

double DeviceContext::scaleX() const { return std::abs(static_cast<double>(viewportExt.cx) / windowExt.cx); }

double DeviceContext::scaleY() const { return std::abs(static_cast<double>(viewportExt.cy) / windowExt.cy); }

const Font& DeviceContext::currentFont() {
    if (!resolvedFont) resolvedFont = ResolveFont(fontObject.font, scaleY());
    return *resolvedFont;
}

}  // namespace gdi

using gdi::DeviceContext;
using gdi::WithContext;

int SetMapMode(HDC hdc, int iMode) {
    if (iMode < MM_TEXT || iMode > MM_ANISOTROPIC) return 0;
    return WithContext(hdc, 0, [iMode](DeviceContext& dc) {
        static const LONG kUnitsAnInch[] = {0, 0, 254, 2540, 100, 1000, 1440};  // by mode
        int previous = std::exchange(dc.mapMode, iMode);
        if (iMode == MM_TEXT) {
            dc.windowExt = dc.viewportExt = SIZE{1, 1};
        } else if (iMode <= MM_TWIPS) {
            dc.windowExt = SIZE{kUnitsAnInch[iMode], kUnitsAnInch[iMode]};
            dc.viewportExt = SIZE{gdi::kDpi, -gdi::kDpi};
        } else if (iMode == MM_ISOTROPIC) {
            gdi::MakeIsotropic(dc);
        }
        dc.resolvedFont.reset();
        return previous;
    });
}

int GetMapMode(HDC hdc) {
    return WithContext(hdc, 0, [](DeviceContext& dc) { return dc.mapMode; });
}

namespace {

// Sets one of the context's points or sizes, giving the old value.
template <class T, class Set>
BOOL Change(HDC hdc, T* previous, Set set) {
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        set(dc, previous);
        dc.resolvedFont.reset();
        return TRUE;
    });
}

BOOL SetExtent(HDC hdc, int x, int y, SIZE* previous, bool viewport) {
    if (x == 0 || y == 0) return FALSE;
    return Change(hdc, previous, [&](DeviceContext& dc, SIZE* old) {
        SIZE& ext = viewport ? dc.viewportExt : dc.windowExt;
        if (old) *old = ext;
        if (!gdi::Scalable(dc)) return;
        ext = SIZE{x, y};
        if (dc.mapMode == MM_ISOTROPIC) gdi::MakeIsotropic(dc);
    });
}

}  // namespace

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return Change(hdc, lppt, [&](DeviceContext& dc, LPPOINT old) {
        if (old) *old = dc.windowOrg;
        dc.windowOrg = POINT{x, y};
    });
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return Change(hdc, lppt, [&](DeviceContext& dc, LPPOINT old) {
        if (old) *old = dc.viewportOrg;
        dc.viewportOrg = POINT{x, y};
    });
}

BOOL OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return Change(hdc, lppt, [&](DeviceContext& dc, LPPOINT old) {
        if (old) *old = dc.windowOrg;
        dc.windowOrg = POINT{dc.windowOrg.x + x, dc.windowOrg.y + y};
    });
}

BOOL OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return Change(hdc, lppt, [&](DeviceContext& dc, LPPOINT old) {
        if (old) *old = dc.viewportOrg;
        dc.viewportOrg = POINT{dc.viewportOrg.x + x, dc.viewportOrg.y + y};
    });
}

BOOL SetWindowExtEx(HDC hdc, int x, int y, SIZE* lpsz) { return SetExtent(hdc, x, y, lpsz, false); }

BOOL SetViewportExtEx(HDC hdc, int x, int y, SIZE* lpsz) { return SetExtent(hdc, x, y, lpsz, true); }

BOOL GetWindowOrgEx(HDC hdc, LPPOINT lppoint) {
    return lppoint && WithContext(hdc, FALSE, [&](DeviceContext& dc) { return *lppoint = dc.windowOrg, TRUE; });
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppoint) {
    return lppoint && WithContext(hdc, FALSE, [&](DeviceContext& dc) { return *lppoint = dc.viewportOrg, TRUE; });
}

BOOL GetWindowExtEx(HDC hdc, SIZE* lpsize) {
    return lpsize && WithContext(hdc, FALSE, [&](DeviceContext& dc) { return *lpsize = dc.windowExt, TRUE; });
}

BOOL GetViewportExtEx(HDC hdc, SIZE* lpsize) {
    return lpsize && WithContext(hdc, FALSE, [&](DeviceContext& dc) { return *lpsize = dc.viewportExt, TRUE; });
}

BOOL LPtoDP(HDC hdc, LPPOINT lppt, int c) {
    if (c < 0 || (c > 0 && !lppt)) return FALSE;
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        for (int i = 0; i < c; ++i) lppt[i] = dc.toDevice(lppt[i]);
        return TRUE;
    });
}

BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c) {
    if (c < 0 || (c > 0 && !lppt)) return FALSE;
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        for (int i = 0; i < c; ++i) lppt[i] = dc.toLogical(lppt[i]);
        return TRUE;
    });
}

int GetDeviceCaps(HDC hdc, int index) {
    return WithContext(hdc, 0, [index](DeviceContext& dc) {
        int width = dc.client.right - dc.client.left, height = dc.client.bottom - dc.client.top;
        switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY: return gdi::kDpi;
        case HORZRES: return width;
        case VERTRES: return height;
        case HORZSIZE: return width * 254 / (gdi::kDpi * 10);
        case VERTSIZE: return height * 254 / (gdi::kDpi * 10);
        case BITSPIXEL: return 32;
        case PLANES: return 1;
        default: return 0;
        }
    });
}
