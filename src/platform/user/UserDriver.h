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
#pragma once

#include "platform/kernel/Sync.h"  // INFINITE
#include "platform/user/Windows.h"

#define CBASIS_DISPLAY_DRIVER_VERSION 1

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
    // when the window is to take the display's focus.
    void (*pShowWindow)(HWND hWnd, int nState, BOOL bActivate);
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
};

// The entry a driver module exports: its table, or null when it cannot
// open a display (it then says why in *ppszWhy).
typedef const UserDriverFuncs* (*CBASIS_DISPLAY_ENTRY)(int nVersion, const char** ppszWhy);

// The driver in use (chosen on first call, see above).
PLATFORM_API const UserDriverFuncs& PlatformUserDriver();
// True on the display's thread of a driver that shows windows.
PLATFORM_API bool PlatformIsDisplayThread();
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
