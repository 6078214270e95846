// Accelerator tables: keys that become commands before they are typed.
//
// A table comes from an ACCELERATORS resource (entries of fFlags, key,
// command id and padding, 8 bytes each; the last has flag 0x80) or from an
// array. TranslateAcceleratorA matches WM_KEYDOWN and WM_SYSKEYDOWN against
// the virtual-key entries, with Shift, Ctrl and Alt down exactly as the
// entry says, and WM_CHAR and WM_SYSCHAR against the character entries
// (Alt as the entry says); a match sends WM_COMMAND with the id and 1 in the
// high word to the window. Menus are not opened or flashed on the way.
#pragma once

#include "platform/user/Input.h"
#include "platform/user/Windows.h"

typedef struct HACCEL__* HACCEL;

#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
typedef ACCEL* LPACCEL;

// The table named in the module's resources; null, with the reason
// FindResourceA gave, when there is none, and with ERROR_INVALID_DATA when
// the resource is not a whole table.
PLATFORM_API HACCEL LoadAcceleratorsA(HINSTANCE hInstance, LPCSTR lpTableName);
PLATFORM_API HACCEL CreateAcceleratorTableA(LPACCEL paccel, int cAccel);
// FALSE for a handle that is not a live table.
PLATFORM_API BOOL DestroyAcceleratorTable(HACCEL hAccel);
// Copies up to cAccelEntries entries into lpAccelDst; with a null
// destination, the number of entries. 0 for a handle that is not a table.
PLATFORM_API int CopyAcceleratorTableA(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries);
// TRUE when the key message became the command of an entry (and was sent).
PLATFORM_API int TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg);
