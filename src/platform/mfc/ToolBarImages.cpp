// Tool bar images: mapping a bitmap's colour table to the system colours,
// and embossing the images of disabled buttons (ToolBarImages.h).
#include "platform/mfc/ToolBarImages.h"

#include <cstring>
#include <vector>

#include "platform/gdi/Brushes.h"
#include "platform/kernel/Errors.h"

namespace {

struct ColourMap {
    COLORREF from;
    int to;  // a system colour
};

constexpr ColourMap kSysColourMap[] = {
    {RGB(0x00, 0x00, 0x00), COLOR_BTNTEXT},
    {RGB(0x80, 0x80, 0x80), COLOR_BTNSHADOW},
    {RGB(0xC0, 0xC0, 0xC0), COLOR_BTNFACE},
    {RGB(0xFF, 0xFF, 0xFF), COLOR_BTNHIGHLIGHT},
};

// A colour table entry (blue, green, red, 0) and a COLORREF (red, green, blue).
COLORREF FromQuad(const BYTE* q) { return RGB(q[2], q[1], q[0]); }

void ToQuad(BYTE* q, COLORREF c) {
    q[0] = GetBValue(c);
    q[1] = GetGValue(c);
    q[2] = GetRValue(c);
    q[3] = 0;
}

// Maps the colour table of a packed DIB of 8 bits a pixel or fewer; leaves
// other DIBs, and tables that do not fit the bytes, to the decoder.
void MapColourTable(std::vector<BYTE>& dib, bool mono) {
    BITMAPINFOHEADER h;
    if (dib.size() < sizeof h) return;
    std::memcpy(&h, dib.data(), sizeof h);
    if (h.biBitCount > 8 || h.biSize < sizeof h || h.biSize > dib.size()) return;
    size_t colours = h.biClrUsed ? h.biClrUsed : size_t{1} << h.biBitCount;
    if (colours > (dib.size() - h.biSize) / 4) return;
    for (size_t i = 0; i < colours; ++i) {
        BYTE* quad = dib.data() + h.biSize + 4 * i;
        COLORREF colour = FromQuad(quad);
        for (const ColourMap& entry : kSysColourMap) {
            if (entry.from != colour) continue;
            if (!mono)
                ToQuad(quad, GetSysColor(entry.to));
            else if (entry.to != COLOR_BTNTEXT)
                ToQuad(quad, RGB(0xFF, 0xFF, 0xFF));
            break;
        }
    }
}

}  // namespace

HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono) {
    const void* data = hRsrc ? LockResource(LoadResource(hInst, hRsrc)) : nullptr;
    if (!data) return nullptr;
    const auto* bytes = static_cast<const BYTE*>(data);
    std::vector<BYTE> dib(bytes, bytes + SizeofResource(hInst, hRsrc));
    MapColourTable(dib, bMono != FALSE);
    return PlatformBitmapFromDib(dib.data(), dib.size());
}

HBITMAP PlatformDisabledImages(HBITMAP hbmImages, int cxImage) {
    BITMAP bm{};
    if (cxImage <= 0 || GetObjectA(hbmImages, sizeof bm, &bm) != sizeof bm) return nullptr;
    const size_t width = static_cast<size_t>(bm.bmWidth), height = static_cast<size_t>(bm.bmHeight);
    std::vector<BYTE> bits(static_cast<size_t>(bm.bmWidthBytes) * height);
    if (GetBitmapBits(hbmImages, static_cast<LONG>(bits.size()), bits.data()) == 0) return nullptr;
    std::vector<uint32_t> pixels(width * height);
    for (size_t y = 0; y < height; ++y) {
        const BYTE* row = bits.data() + static_cast<size_t>(bm.bmWidthBytes) * y;
        for (size_t x = 0; x < width; ++x) {
            if (bm.bmBitsPixel == 1)
                pixels[y * width + x] = (row[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFFu : 0;  // set: white
            else
                std::memcpy(&pixels[y * width + x], row + 4 * x, 4);
        }
    }
    // Pixels hold 0x00RRGGBB; COLORREFs hold 0x00BBGGRR.
    auto pixel = [](COLORREF c) { return uint32_t{GetRValue(c)} << 16 | uint32_t{GetGValue(c)} << 8 | GetBValue(c); };
    const uint32_t face = pixel(GetSysColor(COLOR_BTNFACE)), highlight = pixel(GetSysColor(COLOR_BTNHIGHLIGHT)),
                   shadow = pixel(GetSysColor(COLOR_BTNSHADOW));
    std::vector<uint32_t> out(pixels.size(), face);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            uint32_t p = pixels[y * width + x];
            if (p == face || p == highlight) continue;
            bool inCell = (x + 1) % static_cast<size_t>(cxImage) != 0;  // the next column is the same image's
            if (inCell && y + 1 < height && out[(y + 1) * width + x + 1] == face)
                out[(y + 1) * width + x + 1] = highlight;
            out[y * width + x] = shadow;
        }
    return CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 32, out.data());
}
