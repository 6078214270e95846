// Bitmaps drawn from and blitted: compatible bitmaps, BitBlt and
// StretchBlt with raster operations, PatBlt, and bitmaps decoded from a
// packed device-independent bitmap (the original's RT_BITMAP resource).
//
// The source of a blit is a memory device context (its selected bitmap);
// a window's or the screen's pixels are not kept here, so a blit from one
// fails with ERROR_NOT_SUPPORTED. Stretching takes the nearest source pixel
// whatever the stretch mode; negative extents (mirroring) are refused.
#pragma once

#include "platform/gdi/DeviceContext.h"

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
#define BI_RGB 0
#define BI_BITFIELDS 3

// A black bitmap of cx x cy pixels in the context's colour depth (32 bits;
// 1 bit for a memory context still holding its first, monochrome, bitmap).
PLATFORM_API HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);
// Copies the source's rectangle at (x1, y1) to the destination's at (x, y)
// through the raster operation (any of the original's 256; the pattern is
// the destination's brush).
PLATFORM_API BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
PLATFORM_API BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                             int wSrc, int hSrc, DWORD rop);
// A raster operation without a source (PATCOPY, PATINVERT, DSTINVERT,
// BLACKNESS, WHITENESS).
PLATFORM_API BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
// The previous mode, 0 for a bad handle or mode.
PLATFORM_API int SetStretchBltMode(HDC hdc, int mode);
PLATFORM_API int GetStretchBltMode(HDC hdc);
// A bitmap from a packed DIB: a BITMAPINFOHEADER (or a larger header of
// that shape), the colour table, the pixel rows (bottom-up, or top-down
// for a negative height); 1, 4, 8, 24 or 32 bits a pixel, uncompressed (32
// bits may give BI_BITFIELDS masks). Null, with ERROR_INVALID_DATA, when a
// size or count does not fit the bytes given or the format is another.
PLATFORM_API HBITMAP PlatformBitmapFromDib(const void* data, size_t size);
// Copies up to cb bytes of the bitmap's pixels to lpvBits, rows top first
// as GetObject's bmWidthBytes gives them (32 bits: blue, green, red, 0; 1
// bit: word-aligned rows, set for white); the bytes copied, 0 for a handle
// that is no bitmap or a null buffer.
PLATFORM_API LONG GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits);
// The module's RT_BITMAP resource of that name, decoded as above. Null when
// the module has no such resource (FindResourceA's last error) or it does
// not decode (ERROR_INVALID_DATA).
PLATFORM_API HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName);
