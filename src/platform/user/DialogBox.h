// The dialog manager: dialogs made from DLGTEMPLATE and DLGTEMPLATEEX
// bytes, their controls, keyboard navigation and the modal loop.
//
// A template is read byte by byte with the original's layout (little-endian
// words, UTF-16 strings, each item on a DWORD boundary from the template's
// start); every field is checked against the template's size, so a
// truncated or hostile template makes creation fail (null, -1 for the modal
// calls) without reading past it. The indirect calls take no size, as on
// the original: the caller vouches for the memory; PlatformCreateDialog and
// the resource calls know it.
//
// The dialog is a window of the class "#32770" (a child with WS_CHILD, a
// top-level window otherwise) whose client area is the template's size in
// dialog units; each item becomes a child window of its class (the
// predefined ordinals 0x0080 Button, 0x0081 Edit, 0x0082 Static, 0x0083
// ListBox, 0x0084 ScrollBar, 0x0085 ComboBox, or a registered class by
// name) with its id, style, text and creation data (lpCreateParams). The
// dialog then gets WM_INITDIALOG (wParam: the first WS_TABSTOP control,
// lParam: the caller's value); when the answer is non-zero the focus goes
// to that control. WS_VISIBLE in the template shows the dialog afterwards.
//
// Dialog units: a horizontal unit is a quarter of the font's average
// character width (the width of "A".."Z" and "a".."z" over 52, rounded), a
// vertical one an eighth of its tmHeight. The font is the template's
// (DS_SETFONT: its point size at the screen's 96 pixels an inch, weight,
// italic and face), which the dialog owns while it lives and hands to
// itself and to each control with WM_SETFONT as it makes them; DefDlgProcA
// answers WM_GETFONT with it. A template without one, or with the size
// 0x7FFF, uses the system font, whose units GetDialogBaseUnits reports.
//
// The modal loop (DialogBoxIndirectParamA) disables the owner's top-level
// window, shows the dialog and runs the thread's messages, each through
// IsDialogMessageA first, until EndDialog; then the owner is enabled and
// activated again. Without a screen (the headless driver, or another
// thread) nobody is at the keyboard: the dialog responder a host or a test
// installs is called once the dialog is initialised, and may set controls,
// click buttons and send keys; then the queue is run dry, and a dialog
// still open is cancelled as a user closing it would (WM_COMMAND IDCANCEL,
// then EndDialog(IDCANCEL) if that did not end it), so a modal dialog never
// waits for an answer that cannot come.
#pragma once

#include <functional>

#include "platform/user/Input.h"
#include "platform/user/MessageBox.h"  // IDOK, IDCANCEL

typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#pragma pack(push, 2)
struct DLGTEMPLATE {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
};
struct DLGITEMTEMPLATE {
    DWORD style;
    DWORD dwExtendedStyle;
    short x;
    short y;
    short cx;
    short cy;
    WORD id;
};
#pragma pack(pop)
typedef const DLGTEMPLATE* LPCDLGTEMPLATEA;
typedef LPCDLGTEMPLATEA LPCDLGTEMPLATE;

#define WC_DIALOG "#32770"

#define WM_INITDIALOG 0x0110
#define WM_NEXTDLGCTL 0x0028
#define WM_GETDLGCODE 0x0087
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
// DM_GETDEFID's answer carries this in its high word.
#define DC_HASDEFID 0x534B

// WM_GETDLGCODE's answers.
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

#define DS_ABSALIGN 0x01u
#define DS_SYSMODAL 0x02u
#define DS_LOCALEDIT 0x20u
#define DS_SETFONT 0x40u
#define DS_MODALFRAME 0x80u
#define DS_NOIDLEMSG 0x100u
#define DS_SETFOREGROUND 0x200u
#define DS_3DLOOK 0x0004u
#define DS_FIXEDSYS 0x0008u
#define DS_NOFAILCREATE 0x0010u
#define DS_CONTROL 0x0400u
#define DS_CENTER 0x0800u
#define DS_CENTERMOUSE 0x1000u
#define DS_CONTEXTHELP 0x2000u
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

// ---- Creating dialogs ------------------------------------------------------------

// A modeless dialog; null when the template is malformed, a control's class
// is unknown, or the dialog refused (WM_INITDIALOG's procedure may destroy
// it).
PLATFORM_API HWND CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA lpTemplate, HWND hWndParent,
                                             DLGPROC lpDialogFunc, LPARAM dwInitParam);
// A modal dialog: EndDialog's result, or -1 when it could not be made.
PLATFORM_API INT_PTR DialogBoxIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA hDialogTemplate, HWND hWndParent,
                                             DLGPROC lpDialogFunc, LPARAM dwInitParam);
// The same from the module's RT_DIALOG resource (null hInstance: the
// program's).
PLATFORM_API HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                                     LPARAM dwInitParam);
PLATFORM_API INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                                     LPARAM dwInitParam);
// The module's RT_DIALOG resource of that name: its bytes and size; FALSE
// (with the last error FindResourceA gave) when there is none.
PLATFORM_API BOOL PlatformFindDialogTemplate(HINSTANCE hInstance, LPCSTR lpTemplateName, const void** ppTemplate,
                                             size_t* pcbTemplate);
// From a template of cbTemplate bytes, with proc as the dialog window's
// procedure (empty: the dialog class's own). A framework whose objects
// stand between the window and DefDlgProcA passes its dispatcher and hands
// the messages it does not handle to the "#32770" class procedure. The
// controls are created with hInstance, the module whose resources they
// name (a static's icon).
PLATFORM_API HWND PlatformCreateDialog(const void* pTemplate, size_t cbTemplate, HWND hWndParent, DLGPROC lpDialogFunc,
                                       LPARAM dwInitParam, WindowProc proc = {}, HINSTANCE hInstance = nullptr);
// Runs the modal loop for a dialog made hidden and not yet ended; the
// result as DialogBoxIndirectParamA's.
PLATFORM_API INT_PTR PlatformRunModalDialog(HWND hDlg);

// Called once a modal dialog without a screen is initialised (see above).
using DialogResponder = std::function<void(HWND hDlg)>;
// Installs a responder and returns the previous one; an empty one leaves
// every such dialog to be cancelled.
PLATFORM_API DialogResponder PlatformSetDialogResponder(DialogResponder responder);

// The dialog procedure's defaults: the dialog's procedure first (a non-zero
// answer handles the message), then Escape and the window manager's close as
// WM_COMMAND IDCANCEL, the background in the WM_CTLCOLORDLG brush, the
// focus restored to the control that had it, DM_GETDEFID/DM_SETDEFID and
// WM_NEXTDLGCTL.
PLATFORM_API LRESULT DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
// Marks a modal dialog to end with nResult once the current message is
// done (a modeless one is only hidden). FALSE when hDlg is not a dialog.
PLATFORM_API BOOL EndDialog(HWND hDlg, INT_PTR nResult);

// ---- Controls of a dialog ----------------------------------------------------------

PLATFORM_API HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
PLATFORM_API int GetDlgCtrlID(HWND hWnd);
PLATFORM_API LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
PLATFORM_API BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
PLATFORM_API UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax);
PLATFORM_API BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned);
// Blanks, an optional sign (bSigned only) and decimal digits; anything else,
// or a number out of range, gives 0 with *lpTranslated FALSE.
PLATFORM_API UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned);
PLATFORM_API BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
PLATFORM_API UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
// Checks nIDCheckButton and clears the other radio buttons from
// nIDFirstButton to nIDLastButton.
PLATFORM_API BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);

// ---- Navigation and units ------------------------------------------------------------

// Tab and Shift+Tab move among the visible, enabled WS_TABSTOP controls;
// the arrows move within a group (a WS_GROUP control starts one), checking
// an automatic radio button they land on; Return clicks the default push
// button (DM_GETDEFID, else IDOK); Escape sends IDCANCEL; Alt with a
// control's underlined letter clicks it (or focuses the control after a
// static label). Keys a control asks for (WM_GETDLGCODE) are left to it.
// TRUE when the message was for the dialog (and dispatched).
PLATFORM_API BOOL IsDialogMessageA(HWND hDlg, LPMSG lpMsg);
// The next (or with bPrevious the previous) tab stop after hCtl, wrapping.
PLATFORM_API HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
// The next (previous) control in hCtl's group, wrapping within the group.
PLATFORM_API HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
// Dialog units to pixels for the dialog's font.
PLATFORM_API BOOL MapDialogRect(HWND hDlg, LPRECT lpRect);
// The base units (width in the low word, height in the high word) of the
// font dialogs are drawn in.
PLATFORM_API LONG GetDialogBaseUnits();
