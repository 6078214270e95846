// The display-driver table: the one way the user layer reaches a screen.
//
// The layer keeps every window, message and pixel itself; a driver only
// mirrors the top-level windows on a display and reports what the user did
// there (Input.h, PlatformPostInput). Two drivers exist: the headless one,
// built in (a virtual screen; nothing is shown), and the GTK 3 one, a
// module loaded at run time (libCBasis1Display-gtk3.so), so neither the
// layer nor a host links a toolkit.
//
// Choosing the driver happens once, at the first call that needs it:
//   - CBASIS_DISPLAY=headless: the headless driver;
//   - CBASIS_DISPLAY=gtk3, or unset with DISPLAY or WAYLAND_DISPLAY set:
//     the module (CBASIS_DISPLAY_MODULE names its file, by default the one
//     beside the platform library), whose entry CBasisDisplayDriver opens
//     the display. When the module is missing or no display opens, the
//     layer says so in one line on stderr and goes on headless;
//   - otherwise headless, silently.
//
// Threads: the thread that chose the driver (in practice the first to
// create a window or ask for the screen's size) is the display's thread.
// Only its top-level windows are shown; those of other threads stay off
// screen, as under the headless driver, and the first such window is
// reported once on stderr.
//
// Every entry but pWake is called on the display's thread, never with the
// layer's lock held, and never from inside the driver's own event
// handlers; an entry that is null is simply not called.
//
// Texts cross the table in UTF-8 (the layer converts its code page,
// platform/kernel/CodePage.h), paths as POSIX paths.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/Brushes.h"  // COLORREF
#include "platform/kernel/Sync.h"  // INFINITE
#include "platform/user/Windows.h"

#define CBASIS_DISPLAY_DRIVER_VERSION 2

// pGetClipboardText's answers.
enum class DisplayClipboard { Own, Text, NoText };

// A driver calls this, from its event handler, once the user has answered a
// modal dialog; the dialog is gone by then. The layer only records the
// answer and wakes its modal loop.
typedef void (*DisplayDialogDone)(void* pContext, int nResult);

// A message box: its texts in UTF-8, its icon (MB_ICONHAND, MB_ICONQUESTION,
// MB_ICONEXCLAMATION, MB_ICONASTERISK or 0), its buttons in order with the
// answer each gives ("&" marks a label's access key), the default one, and
// what Escape and the window manager's close answer (0: nothing).
struct DisplayMessageBoxRequest {
    std::string text;
    std::string caption;
    UINT icon = 0;
    std::vector<std::pair<std::string, int>> buttons;
    int defaultAnswer = 0;
    int escapeAnswer = 0;
};

// The colour dialog's request and answer.
struct DisplayColorRequest {
    COLORREF color = 0;  // in: the colour shown first (when bInit); out: the one chosen
    bool bInit = false;
    bool bFullOpen = false;  // the editor open from the start
};

// The open-file dialog's request and answer.
struct DisplayOpenFileRequest {
    std::string title;       // UTF-8
    std::string initialDir;  // a POSIX directory, or empty
    // (description in UTF-8, patterns such as "*.txt;*.doc", matched as the
    // layer's finder matches them: PlatformMatchWildcard; empty: every file).
    std::vector<std::pair<std::string, std::string>> filters;
    size_t filterIndex = 0;  // the filter shown first
    std::string path;        // out: the POSIX path chosen
};

struct UserDriverFuncs {
    const char* name;  // "headless", "gtk3"

    // The screen's size in pixels; the work area (the screen less panels)
    // in *pcxFull, *pcyFull. Null: the virtual screen (PlatformSetScreenSize).
    void (*pGetScreenSize)(int* pcx, int* pcy, int* pcxFull, int* pcyFull);

    // A top-level window was created (hidden, rect in screen coordinates);
    // TRUE when the driver made a native window for it. Only such windows
    // get the calls below.
    BOOL (*pCreateWindow)(HWND hWnd, const RECT* rect, LPCSTR lpszTitle);
    void (*pDestroyWindow)(HWND hWnd);
    // The layer moved or sized it (screen coordinates).
    void (*pSetWindowPos)(HWND hWnd, const RECT* rect);
    // SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED; bActivate
    // when the window is to take the display's focus. pNormal is the normal
    // rectangle, which a window manager keeps for a minimized or maximized
    // window and gives back when it is restored; pRect the rectangle the
    // state gives the window, for a display without a window manager;
    // bRestoreToMaximized, for a minimized window, that it is restored
    // maximized.
    void (*pShowWindow)(HWND hWnd, int nState, BOOL bActivate, const RECT* pNormal, const RECT* pRect,
                        BOOL bRestoreToMaximized);
    void (*pSetWindowText)(HWND hWnd, LPCSTR lpszText);
    // The window's pixels changed: render them again (PlatformRenderWindow,
    // Render.h) and put them on the screen.
    void (*pPresent)(HWND hWnd);
    // The pointer's shape for a hit-test code (HTCLIENT, HTCAPTION, HTLEFT,
    // ...) over the window.
    void (*pSetCursor)(HWND hWnd, int nHitCode);

    // Waits until the calling thread is woken (PlatformTakeWakeup), the
    // display has had an event, or the time (INFINITE: none) is up.
    void (*pMsgWait)(DWORD dwMilliseconds);
    // Ends a pMsgWait of the display's thread; called from any thread.
    void (*pWake)();

    // ---- The clipboard: text in UTF-8 with LF line ends ----
    // This process takes the desktop's clipboard with the text, which stays
    // pasteable after the process ends where the desktop has a clipboard
    // manager; with a null text it takes the clipboard with nothing on it.
    void (*pSetClipboardText)(const char* pszText);
    // The desktop's clipboard text: Own when this process holds the
    // clipboard (the layer's copy is the text), Text (in *pText) when the
    // program holding it gave text within dwMilliseconds, NoText when it gave
    // none in time or nobody holds the clipboard. No host code runs
    // meanwhile: the driver's handlers only post.
    DisplayClipboard (*pGetClipboardText)(DWORD dwMilliseconds, std::string* pText);

    // ---- Modal dialogs (the layer runs the loop: Modal.h) ----
    // Each shows its dialog, owned by hOwner's native window when it has one,
    // and returns at once: an id for pEndDialog, or null when it cannot show
    // it. The answer comes through pfnDone: the button's answer for the
    // message box, IDOK or IDCANCEL for the others, with their request
    // filled in for IDOK. Return answers the default button; Escape and the
    // window manager's close answer the request's escape answer (IDCANCEL
    // for the other dialogs), and do nothing when it is 0.
    void* (*pMessageBox)(HWND hOwner, const DisplayMessageBoxRequest* pRequest, DisplayDialogDone pfnDone,
                         void* pContext);
    void* (*pChooseColor)(HWND hOwner, DisplayColorRequest* pRequest, DisplayDialogDone pfnDone, void* pContext);
    void* (*pOpenFile)(HWND hOwner, DisplayOpenFileRequest* pRequest, DisplayDialogDone pfnDone, void* pContext);
    // Closes a dialog that has not answered yet, without pfnDone.
    void (*pEndDialog)(void* pDialog);
};

// The entry a driver module exports: its table, or null when it cannot
// open a display (it then says why in *ppszWhy).
typedef const UserDriverFuncs* (*CBASIS_DISPLAY_ENTRY)(int nVersion, const char** ppszWhy);

// The driver in use (chosen on first call, see above).
PLATFORM_API const UserDriverFuncs& PlatformUserDriver();
// True on the display's thread of a driver that shows windows.
PLATFORM_API bool PlatformIsDisplayThread();
// Whether a new top-level window of the calling thread goes on the
// display: PlatformIsDisplayThread, and the first time a window stays off
// screen for being another thread's, a line on stderr says so.
PLATFORM_API bool PlatformShowsNewTopLevel();
// The headless driver's table.
PLATFORM_API const UserDriverFuncs& PlatformHeadlessDriver();

// TRUE once the display has shown the top-level window's latest pixels
// (the driver reports it with a WM_PAINT input); FALSE while new pixels
// wait to be shown, and always under the headless driver.
PLATFORM_API BOOL PlatformIsOnScreen(HWND hWnd);

// The calling thread's wake-up, set by every message or input posted to it:
// TRUE (and cleared) when it was set.
PLATFORM_API BOOL PlatformTakeWakeup();
// Waits until the wake-up is set (then clears it) or the time is up.
PLATFORM_API void PlatformWaitWakeup(DWORD dwMilliseconds);
