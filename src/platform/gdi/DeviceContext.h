// Device contexts without a screen: HDC handles that record what is drawn
// on them, and the drawing calls (GetDC and BeginPaint are the window
// manager's, platform/user/Painting.h; CDC is in platform/mfc/GdiObjects.h).
//
// A device context belongs to a window (GetDC, BeginPaint) or to none
// (GetDC(NULL), the screen). It keeps a text colour (black), a background
// colour (white), a background mode (OPAQUE) and a clip box: the window's
// client rectangle, narrowed by IntersectClipRect (BeginPaint narrows it to
// the update rectangle). Nothing is rendered: every fill and text is
// recorded, with the clip box of the moment, on the device context and on
// the window's drawing, which lasts past the device context and is what a
// picture of the window shows (see Snapshot.h). A fill that covers the
// whole client area with a solid brush starts the window's drawing afresh,
// since everything before it is hidden; a window's drawing keeps at most
// 100,000 operations, dropping the oldest.
//
// Handles are never reused: a released device context's handle names
// nothing, and every call refuses it. A process holds at most 10,000 device
// contexts at a time; GetDC gives null beyond that.
//
// Text has no real font here: a line is 16 pixels high (DrawTextA's
// result), and where the text lands is decided when it is rendered.
#pragma once

#include <string>
#include <vector>

#include "platform/atl/Geometry.h"
#include "platform/atl/Strings.h"
#include "platform/gdi/Brushes.h"

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Region kinds returned by the clip calls.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2

// DrawTextA formats that the recording keeps and a picture honours.
#define DT_TOP 0x0000u
#define DT_LEFT 0x0000u
#define DT_CENTER 0x0001u
#define DT_RIGHT 0x0002u
#define DT_VCENTER 0x0004u
#define DT_BOTTOM 0x0008u
#define DT_WORDBREAK 0x0010u
#define DT_SINGLELINE 0x0020u
#define DT_NOCLIP 0x0100u

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

// Fills the rectangle (right and bottom excluded) with the brush. 0, and
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
// Text at (x, y) (its top-left corner); c characters of lpString, or up to
// its terminator when c is -1.
PLATFORM_API BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
// Text in the rectangle, placed by the DT_ format; returns the height of
// the text (16 per line, lines counted by their line feeds), 0 on failure.
PLATFORM_API int DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format);
// Narrows the clip box to its intersection with the rectangle.
PLATFORM_API int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
PLATFORM_API int GetClipBox(HDC hdc, LPRECT lprect);

// ---- The recording ----------------------------------------------------------------

struct PlatformDrawing {
    enum class Kind { fill, text };
    Kind kind;
    RECT rect;         // fill: the rectangle; text: DrawText's rectangle, or (x, y, x, y) for TextOut
    RECT clip;         // the clip box when it was drawn
    COLORREF color;    // fill: the brush's colour; text: the text colour
    COLORREF bkColor;  // text: the background colour, painted behind it when bkMode is OPAQUE
    int bkMode;
    UINT format;       // text: DT_ format (TextOut: DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP)
    std::string text;
};

// What was drawn on a live device context, first to last; empty for a
// handle that is not one.
PLATFORM_API std::vector<PlatformDrawing> PlatformGetDrawing(HDC hDC);
// What a window shows: the drawing on all its device contexts since its
// last whole-area fill, in client coordinates, first to last.
PLATFORM_API std::vector<PlatformDrawing> PlatformGetWindowDrawing(HWND hWnd);
