// Text: drawing it in the selected font, and measuring it.
//
// Text is laid out with Pango in the font selected into the device context
// (TextLayout.h); the stock fonts keep a 12-pixel sans-serif face, 16
// pixels a line. Positions, extents and metrics are logical units. What a
// control computes from widths (a caret, a click in its text) lands where
// the pixels are, since the painter lays text out the same way.
#pragma once

#include "platform/gdi/DeviceContext.h"

#define PLATFORM_FONT_FACE "DejaVu Sans"
#define PLATFORM_FONT_SIZE 12
#define PLATFORM_FONT_ASCENT 12
#define PLATFORM_LINE_HEIGHT 16

// Text at (x, y), placed by the text alignment (by default (x, y) is its
// top-left); c characters of lpString, or up to its terminator when c is
// -1. With TA_UPDATECP the current position is used instead of (x, y) and
// moves past the text.
PLATFORM_API BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
// TextOutA with a rectangle: ETO_OPAQUE fills it with the background
// colour first, ETO_CLIPPED keeps the text inside it. Character spacings
// (lpDx) are not honoured: the font's own are used.
PLATFORM_API BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                              const int* lpDx);
// Text in the rectangle, placed by the DT_ format (an & underlines the
// next character unless DT_NOPREFIX; DT_VCENTER and DT_BOTTOM need
// DT_SINGLELINE, as on the original). Returns the height of the text, 0 on
// failure. DT_CALCRECT draws nothing and sets the rectangle's right and
// bottom to what the text takes.
PLATFORM_API int DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format);
// The previous alignment; GDI_ERROR for a bad handle.
PLATFORM_API UINT SetTextAlign(HDC hdc, UINT align);
PLATFORM_API UINT GetTextAlign(HDC hdc);
// The width and height of the first c characters of lpString in the
// selected font (a null hdc: the stock font). FALSE for a null string, a
// negative count, a null size or a handle that is not a device context.
PLATFORM_API BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, SIZE* psizl);
// The selected font's metrics; FALSE for a bad handle or a null buffer.
PLATFORM_API BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm);
// The selected font's face name (what it was created with), count bytes at
// most with the terminator; the length copied, 0 on failure.
PLATFORM_API int GetTextFaceA(HDC hdc, int c, LPSTR lpName);

