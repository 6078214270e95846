// Icons and cursors (Icons.h).
//
// Sections: the icon table; the standard icons and cursors; images from
// resources; loading, drawing and freeing.
#include "platform/user/Icons.h"

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Brushes.h"
#include "platform/kernel/Errors.h"
#include "platform/shared/NoDestructor.h"

namespace {

// ---- The icon table ------------------------------------------------------------------------------

struct Icon {
    bool isIcon = true;
    bool shared = false;  // loaded by name: never freed
    POINT hotSpot{};
    HBITMAP mask = nullptr;  // 1 bit a pixel: set where the background shows
    HBITMAP colour = nullptr;
};

struct IconTable {
    std::mutex lock;
    std::map<HICON, Icon> icons;
    uintptr_t next = 0x3000;
    // Shared icons by module, kind and name ("#n" for a number).
    std::map<std::tuple<HINSTANCE, bool, std::string>, HICON> shared;
};

IconTable& Table() {
    static NoDestructor<IconTable> table;
    return *table;
}

HICON Add(Icon icon) {
    IconTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto handle = reinterpret_cast<HICON>(t.next += 4);
    t.icons.emplace(handle, icon);
    return handle;
}

bool Find(HICON hIcon, Icon* out) {
    IconTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.icons.find(hIcon);
    if (it == t.icons.end()) return false;
    *out = it->second;
    return true;
}

HICON Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// ---- The standard icons and cursors --------------------------------------------------------------

constexpr int kStandardSize = 32;

// The standard icons: a disk of the kind's colour (the application's: a
// window); the standard cursors: an arrow. Pixels 0x00RRGGBB.
HICON MakeStandard(bool isIcon, WORD id) {
    std::vector<uint32_t> colour(kStandardSize * kStandardSize, 0), mask(colour.size(), 0xFFFFFF);
    uint32_t ink = id == 32513 ? 0xC00000u : id == 32515 ? 0xE0C000u : 0x2050C0u;  // hand, exclamation, others
    bool window = isIcon && (id == 32512 || id == 32517 || id == 32518);
    for (int y = 0; y < kStandardSize; ++y)
        for (int x = 0; x < kStandardSize; ++x) {
            size_t i = static_cast<size_t>(y) * kStandardSize + x;
            int dx = 2 * x - 31, dy = 2 * y - 31;
            bool inside = !isIcon  ? x <= y / 2 && y < 20
                          : window ? x >= 2 && x < 30 && y >= 4 && y < 28
                                   : dx * dx + dy * dy <= 29 * 29;
            if (!inside) continue;
            mask[i] = 0;
            colour[i] = !isIcon ? 0 : window ? (y < 9 ? 0x0A246Au : 0xFFFFFFu) : ink;
        }
    Icon icon;
    icon.isIcon = isIcon;
    icon.hotSpot = isIcon ? POINT{kStandardSize / 2, kStandardSize / 2} : POINT{0, 0};
    icon.colour = CreateBitmap(kStandardSize, kStandardSize, 1, 32, colour.data());
    std::vector<BYTE> bits(kStandardSize / 8 * kStandardSize, 0);
    for (size_t i = 0; i < mask.size(); ++i)
        if (mask[i]) bits[i / 8] |= static_cast<BYTE>(0x80 >> (i % 8));
    icon.mask = CreateBitmap(kStandardSize, kStandardSize, 1, 1, bits.data());
    return Add(icon);
}

bool IsStandardId(bool isIcon, WORD id) {
    if (isIcon) return id >= 32512 && id <= 32518;
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651 && id != 32647);
}

// The key of a shared icon's name.
std::string NameKey(LPCSTR lpName) {
    if (IS_INTRESOURCE(lpName)) return "#" + std::to_string(reinterpret_cast<uintptr_t>(lpName));
    std::string name = lpName;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

// The shared icon of that module, kind and name, made by make the first
// time; null (make's last error) when make fails.
template <typename Make>
HICON Shared(HINSTANCE hInstance, bool isIcon, LPCSTR lpName, Make make) {
    IconTable& t = Table();
    auto key = std::make_tuple(hInstance, isIcon, NameKey(lpName));
    {
        std::lock_guard<std::mutex> guard(t.lock);
        if (auto it = t.shared.find(key); it != t.shared.end()) return it->second;
    }
    HICON made = make();
    if (!made) return nullptr;
    std::lock_guard<std::mutex> guard(t.lock);
    t.icons[made].shared = true;
    auto [it, added] = t.shared.emplace(key, made);
    if (!added) {  // another thread made it first: keep one
        Icon spare = t.icons[made];
        DeleteObject(spare.colour);
        DeleteObject(spare.mask);
        t.icons.erase(made);
    }
    return it->second;
}

HICON Standard(bool isIcon, LPCSTR lpName) {
    WORD id = IS_INTRESOURCE(lpName) ? static_cast<WORD>(reinterpret_cast<uintptr_t>(lpName)) : 0;
    if (!IsStandardId(isIcon, id)) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
    return Shared(nullptr, isIcon, lpName, [&] { return MakeStandard(isIcon, id); });
}

// ---- Images from resources -----------------------------------------------------------------------

WORD Word(const BYTE* p) { return static_cast<WORD>(p[0] | p[1] << 8); }

// A PNG image is said so on stderr: this platform reads DIB images only.
HICON RefusePng() {
    std::fprintf(stderr, "LoadIcon: an icon image stored as PNG cannot be read here; no icon is loaded\n");
    return Fail(ERROR_NOT_SUPPORTED);
}

// The icon of one image: a DIB whose height counts the colour rows and the
// mask rows after them.
HICON FromDib(const BYTE* dib, size_t size, bool isIcon, POINT hotSpot) {
    static const BYTE kPng[] = {0x89, 'P', 'N', 'G'};
    if (size >= 4 && std::memcmp(dib, kPng, 4) == 0) return RefusePng();
    BITMAPINFOHEADER h;
    if (size < sizeof h) return Fail(ERROR_INVALID_DATA);
    std::memcpy(&h, dib, sizeof h);
    if (h.biSize < sizeof h || h.biSize > size || h.biHeight <= 0 || h.biHeight % 2 || h.biWidth <= 0 ||
        h.biWidth > 1024 || h.biHeight > 2048 || h.biBitCount > 32 || h.biCompression != BI_RGB)
        return Fail(ERROR_INVALID_DATA);
    const LONG width = h.biWidth, height = h.biHeight / 2;
    size_t colours = h.biBitCount <= 8 ? (h.biClrUsed ? h.biClrUsed : size_t{1} << h.biBitCount) : 0;
    size_t stride = (static_cast<size_t>(width) * h.biBitCount + 31) / 32 * 4;
    size_t maskStride = (static_cast<size_t>(width) + 31) / 32 * 4;
    if (colours > 256 || h.biSize + colours * 4 + (stride + maskStride) * height > size)
        return Fail(ERROR_INVALID_DATA);
    const size_t rowsAt = h.biSize + colours * 4, maskAt = rowsAt + stride * height;

    // The colour image: the same header with the image's own height. A
    // 32-bit image's pixels under set mask bits are cleared, so that its
    // alpha-faded background does not show through the XOR.
    std::vector<BYTE> image(dib, dib + maskAt);
    std::memcpy(image.data() + offsetof(BITMAPINFOHEADER, biHeight), &height, sizeof height);
    if (h.biBitCount == 32)
        for (LONG y = 0; y < height; ++y)
            for (LONG x = 0; x < width; ++x)
                if ((dib[maskAt + maskStride * y + x / 8] >> (7 - x % 8)) & 1)
                    std::memset(&image[rowsAt + stride * y + 4 * x], 0, 4);
    // The mask: a 1-bit DIB of black and white over the mask rows.
    BITMAPINFOHEADER m{sizeof m, width, height, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
    std::vector<BYTE> maskDib(reinterpret_cast<const BYTE*>(&m), reinterpret_cast<const BYTE*>(&m) + sizeof m);
    const BYTE kBlackWhite[] = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0};
    maskDib.insert(maskDib.end(), kBlackWhite, kBlackWhite + sizeof kBlackWhite);
    maskDib.insert(maskDib.end(), dib + maskAt, dib + maskAt + maskStride * height);

    Icon icon;
    icon.isIcon = isIcon;
    icon.hotSpot = isIcon ? POINT{width / 2, height / 2} : hotSpot;
    icon.colour = PlatformBitmapFromDib(image.data(), image.size());
    icon.mask = PlatformBitmapFromDib(maskDib.data(), maskDib.size());
    if (!icon.colour || !icon.mask) {
        if (icon.colour) DeleteObject(icon.colour);
        if (icon.mask) DeleteObject(icon.mask);
        return Fail(ERROR_INVALID_DATA);
    }
    return Add(icon);
}

HICON LoadFromModule(HINSTANCE hInstance, LPCSTR lpName, bool isIcon) {
    HRSRC hGroup = FindResourceA(hInstance, lpName, isIcon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
    if (!hGroup) return nullptr;
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, hGroup)));
    DWORD dirSize = SizeofResource(hInstance, hGroup);
    if (!dir || dirSize < 6 || dirSize < 6 + 14u * Word(dir + 4)) return Fail(ERROR_INVALID_DATA);
    int id = LookupIconIdFromDirectoryEx(dir, isIcon, kStandardSize, kStandardSize, 0);
    if (!id) return Fail(ERROR_INVALID_DATA);
    HRSRC hImage = FindResourceA(hInstance, MAKEINTRESOURCE(id), isIcon ? RT_ICON : RT_CURSOR);
    if (!hImage) return nullptr;
    const auto* bits = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, hImage)));
    if (!bits) return Fail(ERROR_INVALID_DATA);
    return CreateIconFromResourceEx(bits, SizeofResource(hInstance, hImage), isIcon, 0x00030000, 0, 0, 0);
}

}  // namespace

// ---- Loading, drawing and freeing ----------------------------------------------------------------

HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    if (!lpIconName) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
    if (!hInstance) return Standard(true, lpIconName);
    return Shared(hInstance, true, lpIconName, [&] { return LoadFromModule(hInstance, lpIconName, true); });
}

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (!lpCursorName) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
    if (!hInstance) return Standard(false, lpCursorName);
    return Shared(hInstance, false, lpCursorName, [&] { return LoadFromModule(hInstance, lpCursorName, false); });
}

// The directory: WORD 0, WORD type (1 icon, 2 cursor), WORD count, then
// 14-byte entries. An icon's: BYTE width, BYTE height (0 for 256), BYTE
// colours, BYTE 0, WORD planes, WORD bits, DWORD size, WORD id; a cursor's:
// WORD width, WORD height (doubled), WORD planes, WORD bits, DWORD size,
// WORD id.
int LookupIconIdFromDirectoryEx(const BYTE* presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT) {
    if (!presbits || Word(presbits) != 0 || Word(presbits + 2) != (fIcon ? 1 : 2)) return 0;
    int best = 0;
    long bestDistance = 0;
    int bestBits = 0;
    for (WORD i = 0, count = Word(presbits + 4); i < count; ++i) {
        const BYTE* e = presbits + 6 + 14 * i;
        int width = fIcon ? (e[0] ? e[0] : 256) : Word(e);
        int height = fIcon ? (e[1] ? e[1] : 256) : Word(e + 2) / 2;
        int bits = Word(e + 6);
        long distance = std::labs(width - cxDesired) + std::labs(height - cyDesired);
        if (!best || distance < bestDistance || (distance == bestDistance && bits > bestBits)) {
            best = Word(e + 12);
            bestDistance = distance;
            bestBits = bits;
        }
    }
    return best;
}

HICON CreateIconFromResourceEx(const BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD, int, int, UINT) {
    if (!presbits) return Fail(ERROR_INVALID_DATA);
    if (fIcon) return FromDib(presbits, dwResSize, true, POINT{});
    if (dwResSize < 4) return Fail(ERROR_INVALID_DATA);
    return FromDib(presbits + 4, dwResSize - 4, false, POINT{Word(presbits), Word(presbits + 2)});
}

HICON CreateIconFromResource(const BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer) {
    return CreateIconFromResourceEx(presbits, dwResSize, fIcon, dwVer, 0, 0, 0);
}

namespace {

BOOL Destroy(HICON hIcon, DWORD error) {
    Icon icon;
    {
        IconTable& t = Table();
        std::lock_guard<std::mutex> guard(t.lock);
        auto it = t.icons.find(hIcon);
        if (it == t.icons.end()) {
            SetLastError(error);
            return FALSE;
        }
        if (it->second.shared) return TRUE;
        icon = it->second;
        t.icons.erase(it);
    }
    DeleteObject(icon.colour);
    DeleteObject(icon.mask);
    return TRUE;
}

}  // namespace

BOOL DestroyIcon(HICON hIcon) { return Destroy(hIcon, ERROR_INVALID_ICON_HANDLE); }

BOOL DestroyCursor(HCURSOR hCursor) { return Destroy(hCursor, ERROR_INVALID_CURSOR_HANDLE); }

BOOL GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    Icon icon;
    if (!piconinfo || !Find(hIcon, &icon)) {
        SetLastError(ERROR_INVALID_ICON_HANDLE);
        return FALSE;
    }
    auto copy = [](HBITMAP from) -> HBITMAP {
        BITMAP bm{};
        GetObjectA(from, sizeof bm, &bm);
        std::vector<BYTE> bits(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight);
        GetBitmapBits(from, static_cast<LONG>(bits.size()), bits.data());
        return CreateBitmap(bm.bmWidth, bm.bmHeight, 1, bm.bmBitsPixel, bits.data());
    };
    *piconinfo = ICONINFO{icon.isIcon, static_cast<DWORD>(icon.hotSpot.x), static_cast<DWORD>(icon.hotSpot.y),
                          copy(icon.mask), copy(icon.colour)};
    return TRUE;
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) { return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, nullptr, DI_NORMAL); }

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT, HBRUSH, UINT diFlags) {
    Icon icon;
    if (!Find(hIcon, &icon)) {
        SetLastError(ERROR_INVALID_ICON_HANDLE);
        return FALSE;
    }
    BITMAP bm{};
    GetObjectA(icon.colour, sizeof bm, &bm);
    if (diFlags & DI_DEFAULTSIZE) cxWidth = cyWidth = kStandardSize;
    if (cxWidth <= 0) cxWidth = bm.bmWidth;
    if (cyWidth <= 0) cyWidth = bm.bmHeight;
    HDC hMemory = CreateCompatibleDC(hdc);
    if (!hMemory) return FALSE;
    HGDIOBJ old = SelectObject(hMemory, icon.mask);
    BOOL done = TRUE;
    if (diFlags & DI_MASK)
        done = StretchBlt(hdc, xLeft, yTop, cxWidth, cyWidth, hMemory, 0, 0, bm.bmWidth, bm.bmHeight,
                          (diFlags & DI_IMAGE) ? SRCAND : SRCCOPY);
    if (done && (diFlags & DI_IMAGE)) {
        SelectObject(hMemory, icon.colour);
        done = StretchBlt(hdc, xLeft, yTop, cxWidth, cyWidth, hMemory, 0, 0, bm.bmWidth, bm.bmHeight,
                          (diFlags & DI_MASK) ? SRCINVERT : SRCCOPY);
    }
    SelectObject(hMemory, old);
    DeleteDC(hMemory);
    return done;
}
