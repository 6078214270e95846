// Pens, fonts and bitmaps as GDI object handles, and the stock objects
// (brushes and the calls every object shares are in Brushes.h; MFC's CPen,
// CFont and CBitmap are in platform/mfc/GdiObjects.h).
//
// Every object lives in the one process-wide table of Brushes.h: handles
// are never reused, a deleted object's handle names nothing, stock objects
// are permanent, and at most 10,000 objects of all kinds live at a time.
// An object selected into a device context is not deleted: DeleteObject
// refuses it (FALSE) until it is selected out or the context ends.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/Brushes.h"

typedef struct HPEN__* HPEN;
typedef struct HFONT__* HFONT;
typedef struct HBITMAP__* HBITMAP;

// Object types (GetObjectType).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

// Stock objects beyond the brushes of Brushes.h.
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// Pen styles.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK 0x0000000F

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;  // only x counts
    COLORREF lopnColor;
};
typedef LOGPEN* LPLOGPEN;

// Fonts.
#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

struct LOGFONTA {
    LONG lfHeight;  // negative: the character (em) height; positive: the cell height; 0: the default
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
};
typedef LOGFONTA LOGFONT;
typedef LOGFONTA* LPLOGFONTA;
typedef LOGFONTA* LPLOGFONT;

// Bitmaps.
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
typedef BITMAP* LPBITMAP;

// A pen of the style, width (0: one pixel whatever the mapping) and colour;
// null for an unknown style or when the quota is used up. Styled pens wider
// than one pixel draw solid, as on the original.
PLATFORM_API HPEN CreatePen(int iStyle, int cWidth, COLORREF color);
PLATFORM_API HPEN CreatePenIndirect(const LOGPEN* plpen);
// A font as described; the face is matched by fontconfig (docs/platform.md
// lists how the original's usual faces are mapped). Null for a null
// description or when the quota is used up.
PLATFORM_API HFONT CreateFontIndirectA(const LOGFONTA* lplf);
PLATFORM_API HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                               DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                               DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName);
// A bitmap of cx x cy pixels at 1 bit (monochrome) or 24/32 bits a pixel
// (kept as 32), its rows from lpBits when given (word-aligned rows, top
// first), black otherwise. Null for a size outside 1..16384 or above 2^25
// pixels, other depths, or when the quota is used up.
PLATFORM_API HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits);
// OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_DC or OBJ_MEMDC; 0 for a
// handle that names nothing.
PLATFORM_API DWORD GetObjectType(HGDIOBJ h);
