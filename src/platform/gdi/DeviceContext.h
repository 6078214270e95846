// Device contexts without a screen: HDC handles that record what is drawn
// on them, memory device contexts that draw into a bitmap, and the drawing
// calls (GetDC and BeginPaint are the window manager's,
// platform/user/Painting.h; CDC is in platform/mfc/GdiObjects.h).
//
// A device context belongs to a window (GetDC, BeginPaint), to none
// (GetDC(NULL), the screen) or to memory (CreateCompatibleDC). It keeps a
// text colour (black), a background colour (white), a background mode
// (OPAQUE), the selected pen (BLACK_PEN), brush (WHITE_BRUSH), font
// (SYSTEM_FONT) and, in memory, bitmap (a 1 x 1 monochrome one), a current
// position, a text alignment, a polygon fill mode, a mapping mode, and a
// clip box: the window's client rectangle (the bitmap's, in memory),
// narrowed by IntersectClipRect (BeginPaint narrows it to the update
// rectangle). Coordinates given to the drawing calls are logical: the
// mapping mode turns them into pixels (device units) when they are drawn.
//
// On a window or the screen nothing is rendered: every operation is
// recorded in device units, with the clip box of the moment, on the device
// context and on the window's drawing, which lasts past the device context
// and is what a picture of the window shows (see Snapshot.h). An operation
// that hides the whole client area (a solid fill, a copying blit) starts
// the window's drawing afresh, since everything before it is hidden; a
// window's drawing keeps at most 100,000 operations and 64 MB of blitted
// pixels, dropping the oldest. In memory, each operation is drawn into the
// selected bitmap at once, by the same painter (Painter.h), and not kept.
//
// Handles are never reused: a released device context's handle names
// nothing, and every call refuses it. A process holds at most 10,000 device
// contexts at a time; GetDC and CreateCompatibleDC give null beyond that.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/atl/Geometry.h"
#include "platform/atl/Strings.h"
#include "platform/gdi/Objects.h"

struct PlatformPixels;
namespace gdi {
struct Font;
}

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Region kinds returned by the clip calls.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2

// DrawTextA formats.
#define DT_TOP 0x0000u
#define DT_LEFT 0x0000u
#define DT_CENTER 0x0001u
#define DT_RIGHT 0x0002u
#define DT_VCENTER 0x0004u
#define DT_BOTTOM 0x0008u
#define DT_WORDBREAK 0x0010u
#define DT_SINGLELINE 0x0020u
#define DT_EXPANDTABS 0x0040u
#define DT_NOCLIP 0x0100u
#define DT_EXTERNALLEADING 0x0200u
#define DT_CALCRECT 0x0400u
#define DT_NOPREFIX 0x0800u
#define DT_END_ELLIPSIS 0x8000u
#define DT_HIDEPREFIX 0x00100000u

// Text alignment (SetTextAlign).
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define GDI_ERROR 0xFFFFFFFFu

// ExtTextOutA options.
#define ETO_OPAQUE 0x0002u
#define ETO_CLIPPED 0x0004u

// Polygon fill modes.
#define ALTERNATE 1
#define WINDING 2

// Raster operations (BitBlt, StretchBlt, PatBlt).
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// StretchBlt modes.
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4

// Mapping modes.
#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

// GetDeviceCaps indexes.
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90

struct TEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
typedef TEXTMETRICA TEXTMETRIC;
typedef TEXTMETRICA* LPTEXTMETRICA;
typedef TEXTMETRICA* LPTEXTMETRIC;

// For the window manager (GetDC, BeginPaint): a new device context drawing
// on hWnd (null: the screen) whose clip box is the client rectangle; null,
// with ERROR_NOT_ENOUGH_MEMORY, when the quota is used up.
HDC PlatformCreateDC(HWND hWnd, const RECT& client);
// Ends a device context made for hWnd; FALSE when hDC is not one of hWnd's.
BOOL PlatformDeleteDC(HWND hWnd, HDC hDC);
// Drops the drawing of a window that is gone.
void PlatformForgetWindowDrawing(HWND hWnd);
// True for a live device context.
bool PlatformIsDC(HDC hDC);
// Fills the rectangle with the colour, as a solid brush of it would.
BOOL PlatformFillColor(HDC hDC, const RECT* lprc, COLORREF color);
// The window a device context draws on; null for the screen's and for
// handles that are not device contexts.
PLATFORM_API HWND WindowFromDC(HDC hDC);

// Fills the rectangle (logical; right and bottom excluded) with the brush. 0, and
// nothing recorded, for a null or deleted brush or a handle that is not a
// device context; a hollow brush succeeds and records nothing. A system
// colour given as (HBRUSH)(COLOR_x + 1) is accepted, as on the original.
PLATFORM_API int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
// The previous colour or mode; CLR_INVALID (modes: 0) for a bad handle.
PLATFORM_API COLORREF SetTextColor(HDC hdc, COLORREF color);
PLATFORM_API COLORREF GetTextColor(HDC hdc);
PLATFORM_API COLORREF SetBkColor(HDC hdc, COLORREF color);
PLATFORM_API COLORREF GetBkColor(HDC hdc);
PLATFORM_API int SetBkMode(HDC hdc, int mode);
PLATFORM_API int GetBkMode(HDC hdc);
// A memory device context holding a 1 x 1 monochrome bitmap until one is
// selected into it; hdc (which may be null, the screen) only has to be a
// live context. DeleteDC ends it (FALSE for any other kind of context).
PLATFORM_API HDC CreateCompatibleDC(HDC hdc);
PLATFORM_API BOOL DeleteDC(HDC hdc);
// Selects a pen, brush, font or (into a memory context) bitmap; returns the
// previous object of that kind, null when the handle names no object, the
// context is not live, a bitmap goes to a context not in memory, or the
// bitmap is selected in another context already.
PLATFORM_API HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
// The selected object of a kind (OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP).
PLATFORM_API HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
// ALTERNATE or WINDING: how Polygon decides what is inside; the previous
// mode, 0 for a bad handle or mode.
PLATFORM_API int SetPolyFillMode(HDC hdc, int mode);
PLATFORM_API int GetPolyFillMode(HDC hdc);
// OBJ_DC or OBJ_MEMDC for a live device context.
DWORD PlatformDCType(HDC hDC);

// Narrows the clip box to its intersection with the rectangle (logical).
PLATFORM_API int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
PLATFORM_API int GetClipBox(HDC hdc, LPRECT lprect);

// ---- The recording ----------------------------------------------------------------

struct PlatformDrawing {
    enum class Kind { fill, text, shape, blit };
    enum class Shape { polyline, polygon, rectangle, roundRect, ellipse, arc, pie, chord };
    Kind kind = Kind::fill;
    RECT rect{};           // fill; text: DrawText's rectangle, or the top-left (x, y, x, y) for TextOut;
                           // shape: the bounding box; blit: the destination
    RECT clip{};           // the clip box when it was drawn
    COLORREF color = 0;    // fill: the brush's colour; text: the text colour; shape: the brush's
                           // colour, CLR_INVALID for a hollow brush; blit: the brush's colour
    COLORREF bkColor = 0;  // text: the background colour, painted behind it when bkMode is OPAQUE
    int bkMode = OPAQUE;
    UINT format = 0;  // text: DT_ format (TextOut: DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX)
    std::string text;
    std::shared_ptr<const gdi::Font> font;  // text: the font, resolved at the device's scale
    Shape shape = Shape::polyline;
    std::vector<POINT> points;  // polyline and polygon: the vertices; arc, pie and chord: the start and end
                                // points; roundRect: the corner ellipse's width and height
    int fillMode = ALTERNATE;
    COLORREF penColor = 0;
    int penStyle = PS_NULL;
    int penWidth = 1;                              // device pixels
    std::shared_ptr<const PlatformPixels> source;  // blit: the source's pixels (null when the operation reads none)
    RECT sourceRect{};                             // blit: the part of source drawn into rect
    DWORD rop = SRCCOPY;
};

// What was drawn on a live window or screen device context, first to last;
// empty for a memory device context and for a handle that is not one.
PLATFORM_API std::vector<PlatformDrawing> PlatformGetDrawing(HDC hDC);
// What a window shows: the drawing on all its device contexts since its
// last whole-area fill, in client coordinates, first to last.
PLATFORM_API std::vector<PlatformDrawing> PlatformGetWindowDrawing(HWND hWnd);
