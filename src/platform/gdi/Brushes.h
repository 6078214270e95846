// Colours and brushes: COLORREF, the system colours, solid and stock
// brushes as GDI object handles, and the calls every GDI object shares
// (pens, fonts and bitmaps are in Objects.h; MFC's CGdiObject and CBrush in
// platform/mfc/GdiObjects.h).
//
// An object is an entry in one process-wide table. Its handle is never
// reused, so a deleted object's handle names nothing: every call refuses it
// (GetObjectA 0, DeleteObject FALSE, FillRect draws nothing) and none ever
// reads freed memory. Stock objects and the system colours' brushes are
// permanent: DeleteObject accepts them and does nothing, as the original
// does. A process holds at most 10,000 objects at a time (the original's
// default GDI quota); the Create calls give null beyond that.
#pragma once

#include "platform/shared/Types.h"

typedef DWORD COLORREF;
typedef void* HGDIOBJ;

#define RGB(r, g, b) \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))
#define CLR_INVALID 0xFFFFFFFFu

// Brush styles (LOGBRUSH::lbStyle).
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};
typedef LOGBRUSH* LPLOGBRUSH;

// Stock brushes (the other stock objects are in Objects.h).
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH

// System colours, with the values of the original's classic scheme.
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DFACE COLOR_BTNFACE

// A new solid brush, or null when the quota is used up.
PLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
// Deletes an object; TRUE also for permanent objects (which stay). FALSE
// for null, deleted and unknown handles, and for an object selected into a
// device context.
PLATFORM_API BOOL DeleteObject(HGDIOBJ hObject);
// A stock object (WHITE_BRUSH .. DEFAULT_GUI_FONT); null for an index that
// names none.
PLATFORM_API HGDIOBJ GetStockObject(int i);
// Fills the object's LOGBRUSH, LOGPEN, LOGFONTA or BITMAP; returns the bytes
// written (with a null buffer, the bytes needed), 0 when the handle names
// nothing or the buffer is too small.
PLATFORM_API int GetObjectA(HGDIOBJ hObject, int cbBuffer, LPVOID lpvObject);
// The colour of a system colour index; 0 for an unknown index.
PLATFORM_API DWORD GetSysColor(int nIndex);
// The permanent brush of a system colour; null for an unknown index.
PLATFORM_API HBRUSH GetSysColorBrush(int nIndex);

// The colour a brush paints with: TRUE and the colour for a live solid
// brush (also a system colour given as (HBRUSH)(COLOR_x + 1), as FillRect
// accepts it), TRUE and CLR_INVALID for a hollow one, FALSE for a handle
// that is no brush.
PLATFORM_API BOOL PlatformBrushColor(HBRUSH hBrush, COLORREF* pColor);

// For the class framework: called on the releasing thread once DeleteObject
// ends an object or ReleaseDC/DeleteDC a device context, so that a
// temporary object standing for the handle goes with it. One watcher; a
// later call replaces it.
enum class GdiHandle { Object, DeviceContext };
using GdiReleaseWatcher = void (*)(GdiHandle kind, const void* handle);
void PlatformWatchGdiRelease(GdiReleaseWatcher watcher);
// Tells the watcher that the handle has ended.
void PlatformGdiReleased(GdiHandle kind, const void* handle);
