// Packed DIBs of any bytes: decoding one either gives a bitmap whose size
// matches its header, which then blits into a memory device context, or
// fails with ERROR_INVALID_DATA; none reads past the input or crashes.
#include <cstdlib>
#include <cstring>

#include "platform/gdi/Bitmaps.h"
#include "platform/kernel/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so a read past it is caught.
    auto* bytes = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(bytes, data, size);
    SetLastError(0);
    HBITMAP hBitmap = PlatformBitmapFromDib(bytes, size);
    if (!hBitmap) {
        if (GetLastError() != ERROR_INVALID_DATA) std::abort();
    } else {
        BITMAP bm{};
        BITMAPINFOHEADER h;
        std::memcpy(&h, bytes, sizeof h);
        if (GetObjectA(hBitmap, sizeof bm, &bm) != sizeof bm || bm.bmWidth != h.biWidth ||
            bm.bmHeight != (h.biHeight < 0 ? -h.biHeight : h.biHeight))
            std::abort();
        HDC hMem = CreateCompatibleDC(nullptr);
        HDC hTarget = CreateCompatibleDC(nullptr);
        HBITMAP hSmall = CreateBitmap(8, 8, 1, 32, nullptr);
        HGDIOBJ oldSource = SelectObject(hMem, hBitmap);
        HGDIOBJ oldTarget = SelectObject(hTarget, hSmall);
        StretchBlt(hTarget, 0, 0, 8, 8, hMem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
        SelectObject(hMem, oldSource);
        SelectObject(hTarget, oldTarget);
        DeleteDC(hMem);
        DeleteDC(hTarget);
        DeleteObject(hSmall);
        if (!DeleteObject(hBitmap)) std::abort();
    }
    std::free(bytes);
    return 0;
}
