// The common dialogs: the colour dialog (ChooseColorA; MFC's CColorDialog
// is in platform/mfc/ColorDialog.h) and the open-file dialog
// (GetOpenFileNameA).
//
// On the display's thread of a driver that shows windows, each is the
// desktop's own dialog, owned by hwndOwner's top-level window, in the modal
// loop (the owner takes no input until it is answered; Return is OK, Escape
// cancels):
//   - the colour dialog starts on rgbResult with CC_RGBINIT (otherwise
//     black), with its editor open for CC_FULLOPEN. OK gives the colour in
//     rgbResult and puts it first among the 16 custom colours, unless it is
//     one of them already (the others move along, the last drops off): the
//     desktop's dialog has no "add to custom colours" button of its own, and
//     this is where the original's puts such a colour;
//   - the open-file dialog shows lpstrTitle ("Open" when null), starts in
//     lpstrInitialDir, offers lpstrFilter's filters (patterns matched as the
//     finder matches them; an empty pattern shows every file), nFilterIndex
//     first, and takes only existing files. The path chosen goes to the
//     caller as a responder's path would (below).
//
// Without a screen (the headless driver, or another thread), nobody sits at
// the screen, so a responder stands in for the user: a
// function that a host or a test installs for each kind of dialog. It is
// called on the caller's thread, without any lock held, with the dialog's
// structure; without a responder every dialog is cancelled (FALSE, and
// CommDlgExtendedError 0), as a user closing it would do.
//
// - The colour responder may change rgbResult and the 16 colours of
//   lpCustColors, and answers TRUE for OK.
// - The open-file responder answers TRUE with the chosen file's path (in the
//   library's form, "C:\dir\file.txt"). The dialog copies it into lpstrFile
//   when it fits nMaxFile with its terminator, fills nFileOffset,
//   nFileExtension and lpstrFileTitle, and returns TRUE. A path that does
//   not fit gives FALSE with FNERR_BUFFERTOOSMALL and the size needed in the
//   first two bytes of lpstrFile, as on the original. With
//   OFN_FILEMUSTEXIST, a path that names no existing file gives FALSE, as a
//   user who cannot confirm it would end up cancelling.
//
// Structure sizes: lStructSize must be the size of the structure as this
// build lays it out or as the original 32-bit platform did (36 for
// CHOOSECOLORA; 76 or 88 for OPENFILENAMEA, and 136 for the 64-bit
// version-4 size); anything else gives CDERR_STRUCTSIZE.
#pragma once

#include <functional>

#include "platform/atl/Strings.h"
#include "platform/gdi/Brushes.h"

typedef UINT_PTR (*LPCCHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR (*LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

struct CHOOSECOLORA {
    DWORD lStructSize;
    HWND hwndOwner;
    HWND hInstance;
    COLORREF rgbResult;
    COLORREF* lpCustColors;  // 16 colours
    DWORD Flags;
    LPARAM lCustData;
    LPCCHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
};
typedef CHOOSECOLORA* LPCHOOSECOLORA;
typedef CHOOSECOLORA CHOOSECOLOR;

#define CC_RGBINIT 0x00000001u
#define CC_FULLOPEN 0x00000002u
#define CC_PREVENTFULLOPEN 0x00000004u
#define CC_SHOWHELP 0x00000008u
#define CC_ENABLEHOOK 0x00000010u
#define CC_SOLIDCOLOR 0x00000080u
#define CC_ANYCOLOR 0x00000100u

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
};
typedef OPENFILENAMEA* LPOPENFILENAMEA;
typedef OPENFILENAMEA OPENFILENAME;

#define OFN_READONLY 0x00000001u
#define OFN_OVERWRITEPROMPT 0x00000002u
#define OFN_HIDEREADONLY 0x00000004u
#define OFN_NOCHANGEDIR 0x00000008u
#define OFN_PATHMUSTEXIST 0x00000800u
#define OFN_FILEMUSTEXIST 0x00001000u
#define OFN_EXPLORER 0x00080000u

#define CDERR_STRUCTSIZE 0x0001u
#define CDERR_INITIALIZATION 0x0002u
#define FNERR_INVALIDFILENAME 0x3002u
#define FNERR_BUFFERTOOSMALL 0x3003u

// TRUE when the user chose OK (see above).
PLATFORM_API BOOL ChooseColorA(LPCHOOSECOLORA lpcc);
PLATFORM_API BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn);
// Why the calling thread's last dialog returned FALSE; 0 for a cancel.
PLATFORM_API DWORD CommDlgExtendedError();

using ColorDialogResponder = std::function<BOOL(CHOOSECOLORA& cc)>;
using OpenFileResponder = std::function<BOOL(const OPENFILENAMEA& ofn, CString& rPath)>;
// Install a responder and return the previous one; an empty one cancels
// every dialog again.
PLATFORM_API ColorDialogResponder PlatformSetColorDialogResponder(ColorDialogResponder responder);
PLATFORM_API OpenFileResponder PlatformSetOpenFileResponder(OpenFileResponder responder);

// The process's 16 saved custom colours, white until a dialog changes them.
PLATFORM_API COLORREF* PlatformSavedCustomColors();
