// Mapping modes: how a device context turns the logical units the drawing
// calls take into pixels. The fixed modes assume 96 pixels an inch (the
// DPI GetDeviceCaps reports), with y growing upwards as on the original;
// MM_ISOTROPIC keeps one scale both ways by shrinking the viewport's larger
// extent, and MM_ANISOTROPIC takes the extents as given.
#pragma once

#include "platform/gdi/DeviceContext.h"

// The previous mode; 0 for a bad handle or mode. A fixed mode sets its
// extents; switching to MM_ISOTROPIC or MM_ANISOTROPIC keeps the current ones.
PLATFORM_API int SetMapMode(HDC hdc, int iMode);
PLATFORM_API int GetMapMode(HDC hdc);
// Origins and extents; each gives the previous value in its last argument
// when not null. The extents change only in MM_ISOTROPIC and
// MM_ANISOTROPIC (TRUE otherwise, as on the original), and an extent of 0
// is refused.
PLATFORM_API BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
PLATFORM_API BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
PLATFORM_API BOOL SetWindowExtEx(HDC hdc, int x, int y, SIZE* lpsz);
PLATFORM_API BOOL SetViewportExtEx(HDC hdc, int x, int y, SIZE* lpsz);
PLATFORM_API BOOL GetWindowOrgEx(HDC hdc, LPPOINT lppoint);
PLATFORM_API BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppoint);
PLATFORM_API BOOL GetWindowExtEx(HDC hdc, SIZE* lpsize);
PLATFORM_API BOOL GetViewportExtEx(HDC hdc, SIZE* lpsize);
PLATFORM_API BOOL OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
PLATFORM_API BOOL OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
// Converts c points in place between logical and device units.
PLATFORM_API BOOL LPtoDP(HDC hdc, LPPOINT lppt, int c);
PLATFORM_API BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c);
// LOGPIXELSX/Y (96), HORZRES/VERTRES (the client area's or bitmap's size
// at creation), HORZSIZE/VERTSIZE (the same in millimetres), BITSPIXEL
// (32), PLANES (1); 0 for other indexes and bad handles.
PLATFORM_API int GetDeviceCaps(HDC hdc, int index);
