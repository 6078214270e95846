// Icons and cursors: the standard ones, those of a module's ICON and CURSOR
// resources, and drawing an icon through its mask.
//
// An icon is a colour image and a monochrome AND mask of the same size
// (set where the background shows through), as the original keeps them. A
// group resource (RT_GROUP_ICON, RT_GROUP_CURSOR) lists the images of one
// icon; LoadIconA and LoadCursorA take the one nearest 32 x 32. Images
// are DIBs of 1 to 32 bits a pixel; an image stored as PNG cannot be read
// here and fails loudly (a message on stderr, and null). Alpha is not
// blended: a pixel of a 32-bit image shows where its mask bit is clear.
// The standard icons draw as plain symbols of the platform's own; cursors
// are handles only: the screen shows the display's own cursor.
#pragma once

#include "platform/gdi/Objects.h"
#include "platform/kernel/Resources.h"

#define IDI_APPLICATION MAKEINTRESOURCE(32512)
#define IDI_HAND MAKEINTRESOURCE(32513)
#define IDI_QUESTION MAKEINTRESOURCE(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCE(32515)
#define IDI_ASTERISK MAKEINTRESOURCE(32516)
#define IDI_WINLOGO MAKEINTRESOURCE(32517)
#define IDI_SHIELD MAKEINTRESOURCE(32518)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_UPARROW MAKEINTRESOURCE(32516)
#define IDC_SIZE MAKEINTRESOURCE(32640)
#define IDC_ICON MAKEINTRESOURCE(32641)
#define IDC_SIZENWSE MAKEINTRESOURCE(32642)
#define IDC_SIZENESW MAKEINTRESOURCE(32643)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
#define IDC_HAND MAKEINTRESOURCE(32649)
#define IDC_APPSTARTING MAKEINTRESOURCE(32650)
#define IDC_HELP MAKEINTRESOURCE(32651)

// DrawIconEx flags.
#define DI_MASK 0x0001u
#define DI_IMAGE 0x0002u
#define DI_NORMAL 0x0003u
#define DI_COMPAT 0x0004u
#define DI_DEFAULTSIZE 0x0008u

#define ERROR_INVALID_CURSOR_HANDLE 1402L
#define ERROR_INVALID_ICON_HANDLE 1414L

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
};
typedef ICONINFO* PICONINFO;

// hInstance null: the standard icon (IDI_) or cursor (IDC_) of that id.
// Otherwise the module's icon or cursor group of that name, its image
// nearest 32 x 32; null with FindResourceA's last error when the module
// has no such group or image, ERROR_INVALID_DATA when it does not decode,
// ERROR_NOT_SUPPORTED for a PNG image. Both give shared handles, as on the
// original: the same handle for the same name each time, left by
// DestroyIcon. They last as long as the process (the original frees a
// module's with the module).
PLATFORM_API HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
PLATFORM_API HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
// The id of the image in a group resource's directory that fits cx x cy
// best (the nearest size, then the most colours); 0 when the directory is
// damaged or of the other kind.
PLATFORM_API int LookupIconIdFromDirectoryEx(const BYTE* presbits, BOOL fIcon, int cxDesired, int cyDesired,
                                             UINT Flags);
// An icon or cursor from one RT_ICON or RT_CURSOR image (a cursor's starts
// with its hot spot: two WORDs); null as LoadIconA says.
PLATFORM_API HICON CreateIconFromResourceEx(const BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer,
                                            int cxDesired, int cyDesired, UINT Flags);
PLATFORM_API HICON CreateIconFromResource(const BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer);
// Frees an icon or cursor made by CreateIconFromResource; TRUE also for a
// shared one (which stays). FALSE with ERROR_INVALID_ICON_HANDLE (_CURSOR_) for a handle that
// names none.
PLATFORM_API BOOL DestroyIcon(HICON hIcon);
PLATFORM_API BOOL DestroyCursor(HCURSOR hCursor);
// Copies of the icon's mask and colour bitmaps (the caller deletes them)
// and its hot spot (the centre for icons).
PLATFORM_API BOOL GetIconInfo(HICON hIcon, PICONINFO piconinfo);
// Draws the icon at its own size (DrawIcon), or stretched to cx x cy (0:
// its own size): the mask ANDed onto the destination, then the colour
// image XORed, as on the original. FALSE for a handle that is no icon.
PLATFORM_API BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
PLATFORM_API BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
                             HBRUSH hbrFlickerFreeDraw, UINT diFlags);
