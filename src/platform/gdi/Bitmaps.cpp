// Compatible bitmaps, blits, and decoding packed DIBs (Bitmaps.h).
#include "platform/gdi/Bitmaps.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/gdi/DcTable.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Resources.h"

using gdi::DeviceContext;
using gdi::WithContext;

namespace {

// Whether the raster operation's result depends on the source, and on the pattern.
bool UsesSource(DWORD rop) {
    unsigned code = (rop >> 16) & 0xFF;
    return ((code >> 2) & 0x33) != (code & 0x33);
}

bool UsesPattern(DWORD rop) {
    unsigned code = (rop >> 16) & 0xFF;
    return ((code >> 4) & 0x0F) != (code & 0x0F);
}

// The part of the bitmap inside the rectangle (device units), copied, with
// the rectangle made relative to the copy; null when they do not meet.
std::shared_ptr<const PlatformPixels> CopyPart(const PlatformPixels& bitmap, RECT& r) {
    RECT part{std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, bitmap.width),
              std::min<LONG>(r.bottom, bitmap.height)};
    if (part.left >= part.right || part.top >= part.bottom) return nullptr;
    auto copy = std::make_shared<PlatformPixels>();
    copy->width = part.right - part.left;
    copy->height = part.bottom - part.top;
    copy->bitsPixel = bitmap.bitsPixel;
    copy->data.resize(static_cast<size_t>(copy->width) * copy->height);
    for (int y = 0; y < copy->height; ++y) {
        const uint32_t* from = bitmap.data.data() + static_cast<size_t>(part.top + y) * bitmap.width + part.left;
        std::copy(from, from + copy->width, copy->data.begin() + static_cast<ptrdiff_t>(y) * copy->width);
    }
    r = RECT{r.left - part.left, r.top - part.top, r.right - part.left, r.bottom - part.top};
    return copy;
}

BOOL Blit(HDC hdc, RECT dest, HDC hdcSrc, RECT src, DWORD rop) {
    if (dest.right <= dest.left || dest.bottom <= dest.top) return FALSE;
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        PlatformDrawing op;
        op.kind = PlatformDrawing::Kind::blit;
        op.rect = dc.toDevice(dest);
        op.rop = rop;
        const LOGBRUSH& brush = dc.brushObject.brush;
        op.color = brush.lbStyle == BS_SOLID ? brush.lbColor : CLR_INVALID;
        if (UsesPattern(rop) && op.color == CLR_INVALID) return TRUE;  // a hollow pattern paints nothing
        if (UsesSource(rop)) {
            DeviceContext* source = gdi::FindContext(hdcSrc);
            if (!source) return FALSE;
            if (!source->memory) {
                SetLastError(ERROR_NOT_SUPPORTED);
                return FALSE;
            }
            op.sourceRect = source->toDevice(src);
            op.source = CopyPart(*source->bitmapObject.bitmap, op.sourceRect);
            if (!op.source) return TRUE;  // nothing of the source is there to copy
        }
        gdi::Record(hdc, dc, std::move(op));
        return TRUE;
    });
}

}  // namespace

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    bool mono =
        WithContext(hdc, false, [](DeviceContext& dc) { return dc.memory && dc.bitmap == gdi::DefaultBitmap(); });
    if (!PlatformIsDC(hdc)) return nullptr;
    return CreateBitmap(cx, cy, 1, mono ? 1 : 32, nullptr);
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    return Blit(hdc, RECT{x, y, x + cx, y + cy}, hdcSrc, RECT{x1, y1, x1 + cx, y1 + cy}, rop);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop) {
    if (wSrc <= 0 || hSrc <= 0 || wDest <= 0 || hDest <= 0) return FALSE;
    return Blit(hdcDest, RECT{xDest, yDest, xDest + wDest, yDest + hDest}, hdcSrc,
                RECT{xSrc, ySrc, xSrc + wSrc, ySrc + hSrc}, rop);
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    if (UsesSource(rop)) return FALSE;
    return Blit(hdc, RECT{x, y, x + w, y + h}, nullptr, RECT{}, rop);
}

int SetStretchBltMode(HDC hdc, int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return WithContext(hdc, 0, [mode](DeviceContext& dc) { return std::exchange(dc.stretchMode, mode); });
}

int GetStretchBltMode(HDC hdc) {
    return WithContext(hdc, 0, [](DeviceContext& dc) { return dc.stretchMode; });
}

LONG GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits) {
    gdi::Object o;
    if (!lpvBits || cb <= 0 || !gdi::Find(hbit, &o) || o.kind != gdi::ObjectKind::bitmap) return 0;
    const PlatformPixels& p = *o.bitmap;
    size_t rowBytes =
        p.bitsPixel == 1 ? (static_cast<size_t>(p.width) + 15) / 16 * 2 : static_cast<size_t>(p.width) * 4;
    std::vector<BYTE> bits(rowBytes * p.height);
    for (int y = 0; y < p.height; ++y) {
        BYTE* row = bits.data() + rowBytes * y;
        for (int x = 0; x < p.width; ++x) {
            uint32_t v = p.data[static_cast<size_t>(y) * p.width + x];
            if (p.bitsPixel == 1) {
                if (v) row[x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
            } else {
                std::memcpy(row + 4 * x, &v, 4);  // 0x00RRGGBB, little-endian: blue first
            }
        }
    }
    size_t count = std::min(bits.size(), static_cast<size_t>(cb));
    std::memcpy(lpvBits, bits.data(), count);
    return static_cast<LONG>(count);
}

// ---- Packed DIBs -------------------------------------------------------------------------------

namespace {

uint32_t Le32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// A colour from a BI_BITFIELDS pixel: each mask's bits scaled to 8.
BYTE Channel(uint32_t value, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    uint64_t bits = mask >> shift, v = (value & mask) >> shift;
    return static_cast<BYTE>(v * 255 / bits);
}

HBITMAP Invalid() {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
}

}  // namespace

HBITMAP PlatformBitmapFromDib(const void* data, size_t size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    if (!bytes || size < sizeof(BITMAPINFOHEADER)) return Invalid();
    BITMAPINFOHEADER h;
    std::memcpy(&h, bytes, sizeof h);
    if (h.biSize < sizeof h || h.biSize > size || h.biPlanes != 1) return Invalid();
    long width = h.biWidth, height = h.biHeight < 0 ? -static_cast<long>(h.biHeight) : h.biHeight;
    bool topDown = h.biHeight < 0;
    if (!gdi::BitmapSizeOk(width, height)) return Invalid();
    unsigned bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return Invalid();
    bool bitfields = h.biCompression == BI_BITFIELDS && bpp == 32;
    if (h.biCompression != BI_RGB && !bitfields) return Invalid();

    size_t offset = h.biSize;
    uint32_t masks[3] = {0xFF0000u, 0x00FF00u, 0x0000FFu};
    if (bitfields) {
        size_t at = h.biSize >= 52 ? sizeof h : h.biSize;  // inside a larger header, or after a small one
        if (at + 12 > size) return Invalid();
        for (int i = 0; i < 3; ++i) masks[i] = Le32(bytes + at + 4 * i);
        if (h.biSize < 52) offset += 12;
    }
    size_t colors = 0;
    if (bpp <= 8) {
        size_t most = size_t{1} << bpp;
        colors = h.biClrUsed ? h.biClrUsed : most;
        if (colors > most) return Invalid();
    }
    if (offset > size || colors * 4 > size - offset) return Invalid();
    const BYTE* palette = bytes + offset;
    offset += colors * 4;
    size_t stride = (static_cast<size_t>(width) * bpp + 31) / 32 * 4;
    if (stride * static_cast<size_t>(height) > size - offset) return Invalid();
    const BYTE* rows = bytes + offset;

    auto pixels = std::make_shared<PlatformPixels>();
    pixels->width = static_cast<int>(width);
    pixels->height = static_cast<int>(height);
    pixels->bitsPixel = bpp == 1 ? 1 : 32;
    pixels->data.resize(static_cast<size_t>(width) * height);
    auto fromPalette = [&](size_t index) -> uint32_t {
        if (index >= colors) return 0;  // past the table: black
        const BYTE* q = palette + index * 4;
        return q[0] | q[1] << 8 | static_cast<uint32_t>(q[2]) << 16;
    };
    for (long y = 0; y < height; ++y) {
        const BYTE* row = rows + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
        uint32_t* out = pixels->data.data() + static_cast<size_t>(y) * width;
        for (long x = 0; x < width; ++x) {
            switch (bpp) {
            case 1: out[x] = fromPalette((row[x / 8] >> (7 - x % 8)) & 1); break;
            case 4: out[x] = fromPalette((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF); break;
            case 8: out[x] = fromPalette(row[x]); break;
            case 24: out[x] = row[x * 3] | row[x * 3 + 1] << 8 | static_cast<uint32_t>(row[x * 3 + 2]) << 16; break;
            default: {
                uint32_t v = Le32(row + x * 4);
                out[x] = bitfields ? static_cast<uint32_t>(Channel(v, masks[0])) << 16 | Channel(v, masks[1]) << 8 |
                                         Channel(v, masks[2])
                                   : v & 0xFFFFFFu;
            }
            }
        }
    }
    if (pixels->bitsPixel == 1) gdi::KeepMonochrome(*pixels);
    return gdi::AddBitmap(std::move(pixels));
}

HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName) {
    HRSRC hResource = FindResourceA(hInstance, lpBitmapName, RT_BITMAP);
    if (!hResource) return nullptr;
    const void* data = LockResource(LoadResource(hInstance, hResource));
    if (!data) return nullptr;
    return PlatformBitmapFromDib(data, SizeofResource(hInstance, hResource));
}
