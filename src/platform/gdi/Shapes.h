// Lines and shapes drawn with the selected pen and brush, in logical units.
//
// As on the original: LineTo draws up to its end point, not on it, and
// makes it the current position; a closed shape's box takes its right and
// bottom edges out, its outline is drawn with the pen centred on the box's
// edge pixels and its inside filled with the brush (a null pen leaves the
// fill one pixel short on the right and bottom); Arc, Pie and Chord run
// counter-clockwise from the start point's direction to the end point's.
// Every call gives FALSE for a handle that is not a live device context.
#pragma once

#include "platform/gdi/DeviceContext.h"

PLATFORM_API BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt);
PLATFORM_API BOOL LineTo(HDC hdc, int x, int y);
PLATFORM_API BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt);
PLATFORM_API BOOL Polyline(HDC hdc, const POINT* apt, int cpt);
// A closed outline through the points, filled by the poly-fill mode.
PLATFORM_API BOOL Polygon(HDC hdc, const POINT* apt, int cpt);
PLATFORM_API BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
PLATFORM_API BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height);
PLATFORM_API BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
PLATFORM_API BOOL Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
PLATFORM_API BOOL Pie(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
PLATFORM_API BOOL Chord(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
// A one-pixel (device) frame inside the rectangle in the brush's colour.
PLATFORM_API int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
// Inverts every pixel of the rectangle.
PLATFORM_API BOOL InvertRect(HDC hDC, const RECT* lprc);
// Sets one pixel; the colour set, or CLR_INVALID (-1) for a bad handle.
PLATFORM_API COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
// A pixel of a memory context's bitmap; CLR_INVALID outside the bitmap and
// on a window or the screen, whose pixels are not kept here.
PLATFORM_API COLORREF GetPixel(HDC hdc, int x, int y);
