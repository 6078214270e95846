// What a dialog's font should make of its units, measured the way any
// program can measure a font: the template's point size at the screen's
// 96 pixels an inch, the alphabet's average width and the line height.
#pragma once

#include "platform/gdi/Mapping.h"
#include "platform/gdi/TextMetrics.h"
#include "platform/user/Windows.h"

namespace support {

// What a window answers to WM_GETFONT.
inline HFONT FontOf(HWND hWnd) { return reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0)); }

// A font of that size in points and face, as a template's FONT names it.
inline HFONT CreateDialogFont(int points, const char* face) {
    constexpr int kPixelsPerInch = 96, kPointsPerInch = 72;
    int pixels = (points * kPixelsPerInch + kPointsPerInch / 2) / kPointsPerInch;
    return CreateFontA(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

// The font's base units (null: the system font): cx the average width of
// "A".."Z" and "a".."z" rounded half up, cy its tmHeight.
inline SIZE FontBaseUnits(HFONT hFont) {
    HDC hDC = CreateCompatibleDC(nullptr);
    if (hFont) SelectObject(hDC, hFont);
    SIZE alphabet{};
    GetTextExtentPoint32A(hDC, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    TEXTMETRICA tm{};
    GetTextMetricsA(hDC, &tm);
    DeleteDC(hDC);
    return SIZE{(alphabet.cx / 26 + 1) / 2, tm.tmHeight};
}

// Dialog units to pixels in those base units, rounded to the nearest.
inline RECT ToPixels(SIZE base, int x, int y, int cx, int cy) {
    auto h = [&](int v) { return (v * base.cx + 2) / 4; };
    auto v = [&](int u) { return (u * base.cy + 4) / 8; };
    return RECT{h(x), v(y), h(x) + h(cx), v(y) + v(cy)};
}

}  // namespace support
