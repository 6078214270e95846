// Windows: window handles, window procedures, messages and per-thread
// message queues, all kept inside the process; a display driver
// (UserDriver.h) only mirrors the top-level windows on a screen.
//
// A window is an entry in one process-wide table. Its HWND is an opaque id
// that is never reused, so a stale handle simply names no window: calls on
// it fail (IsWindow FALSE, SendMessageA 0, PostMessageA FALSE) and never
// reach freed memory. Each window has a procedure, the thread that created
// it (its owner), a parent and children, a class name, text, styles, a
// control id, a user value and a rectangle in its parent's client
// coordinates (the screen's for a top-level window). There is no non-client
// area: a window's client area is its whole rectangle (a top-level window's
// frame and title bar are the window manager's, outside it; a child
// window's caption lies over its top PLATFORM_CAPTION_HEIGHT pixels and
// answers WM_NCHITTEST there, see DefWindowProc.cpp).
//
// SendMessageA calls the procedure at once, on the calling thread.
// PostMessageA queues the message to the owner's queue; the owner takes it
// with GetMessageA/PeekMessageA and hands it to DispatchMessageA. When a
// thread ends, its queue and the windows it owns go with it (without
// messages: no thread is left to run their procedures). Input, timers and
// the order messages come out in: Input.h and Messages.cpp.
//
// A new window gets WM_NCCREATE, WM_CREATE, then WM_SIZE and WM_MOVE; one
// created with WS_VISIBLE is then shown (without activation). Defaults
// live in DefWindowProcA, as on the original platform: the text is kept by
// its WM_NCCREATE, WM_SETTEXT and WM_GETTEXT handling, so a window
// procedure passes the messages it does not handle on to DefWindowProcA.
//
// Show states and placement: a window is normal, minimized or maximized,
// and visible or hidden (the WS_VISIBLE, WS_MINIMIZE and WS_MAXIMIZE style
// bits). It keeps its normal rectangle while minimized or maximized. A
// maximized top-level window covers the screen's work area with its border
// outside it; a maximized child covers its parent's client area; a
// minimized window is a 160 x 24 rectangle at its minimized position
// (-32000, -32000 until one is set). The headless screen is 1024 x 768
// with a border of 1 unless set otherwise; on a display, the display's.
// Showing a top-level window with a command that activates (SW_SHOWNORMAL,
// SW_SHOW, SW_SHOWMAXIMIZED, SW_RESTORE, SW_SHOWDEFAULT) makes it the
// active window (SetActiveWindow).
//
// Painting: a window has an update rectangle (the bounding box of what was
// invalidated) and a pending-erase flag. Only visible windows are
// invalidated; a window is invalidated whole when it becomes visible or
// changes size, its parent where it was when it moves, and invalidating a
// window without WS_CLIPCHILDREN also invalidates its visible children
// under the rectangle. A window with an update rectangle gets WM_PAINT from
// GetMessageA and PeekMessageA when no posted message or input matches
// (after WM_QUIT), and from PlatformPumpMessages once its queue is empty;
// the message stays until the window is validated (BeginPaint does that,
// and DefWindowProcA's WM_PAINT runs BeginPaint and EndPaint).
//
// Scrolling: each window has a horizontal and a vertical scroll position,
// each in a range that is 0 to 100 until set, as for the original's
// standard scroll bars; positions are kept inside their range. There is no
// scroll bar to draw.
#pragma once

#include <functional>

#include "platform/kernel/Resources.h"
#include "platform/shared/Types.h"

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;  // milliseconds of a monotonic clock when the message was posted
    POINT pt;    // where the pointer was then, in screen coordinates
};
typedef MSG* LPMSG;

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
// A window procedure that may carry state (a class object attaching itself).
using WindowProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// Only lpfnWndProc and lpszClassName are used; the rest is kept for callers
// that fill it.
struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

// lParam of WM_NCCREATE and WM_CREATE.
struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

// lParam of WM_COPYDATA.
struct COPYDATASTRUCT {
    ULONG_PTR dwData;
    DWORD cbData;
    LPVOID lpData;
};

// GetWindowPlacement and SetWindowPlacement. length is 44, as on the
// original platform (the structure has no pointers).
struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};
static_assert(sizeof(WINDOWPLACEMENT) == 44);

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_SHOWWINDOW 0x0018
// wParam: the font (null: the system font), lParam: repaint now.
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_COPYDATA 0x004A
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_CONTEXTMENU 0x007B
#define WM_COMMAND 0x0111
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_CHILDACTIVATE 0x0022
#define WM_MDICREATE 0x0220
#define WM_MDIDESTROY 0x0221
#define WM_MDIACTIVATE 0x0222
#define WM_MDINEXT 0x0224
#define WM_MDIGETACTIVE 0x0229
// wParam: the control's HDC; lParam: the control's HWND; the answer is an
// HBRUSH for its background.
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSCROLLBAR 0x0137
#define WM_CTLCOLORSTATIC 0x0138
#define WM_CUT 0x0300
#define WM_COPY 0x0301
#define WM_PASTE 0x0302
#define WM_CLEAR 0x0303
#define WM_USER 0x0400
#define WM_APP 0x8000

// The height of a child window's caption, drawn over the top of its rectangle.
#define PLATFORM_CAPTION_HEIGHT 18

#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

#define WPF_SETMINPOSITION 0x0001u
#define WPF_RESTORETOMAXIMIZED 0x0002u

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_CXMINIMIZED 57
#define SM_CYMINIMIZED 58
#define SM_CXMAXIMIZED 61
#define SM_CYMAXIMIZED 62

#define GW_HWNDNEXT 2
#define GW_CHILD 5

#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u

#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)
#define GWLP_ID (-12)

// Class styles, as hosts name them when they register a class
// (AfxRegisterWndClass); the window system does not act on them.
#define CS_VREDRAW 0x0001u
#define CS_HREDRAW 0x0002u
#define CS_DBLCLKS 0x0008u
#define CS_OWNDC 0x0020u
#define CS_CLASSDC 0x0040u
#define CS_PARENTDC 0x0080u
#define CS_NOCLOSE 0x0200u
#define CS_SAVEBITS 0x0800u
#define CS_GLOBALCLASS 0x4000u

#define WS_OVERLAPPED 0x00000000u
#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_MINIMIZE 0x20000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_CLIPSIBLINGS 0x04000000u
#define WS_MAXIMIZE 0x01000000u
#define WS_DISABLED 0x08000000u
#define WS_CAPTION 0x00C00000u
#define WS_BORDER 0x00800000u
#define WS_SYSMENU 0x00080000u
#define WS_THICKFRAME 0x00040000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_MAXIMIZEBOX 0x00010000u
#define WS_CLIPCHILDREN 0x02000000u
#define WS_VSCROLL 0x00200000u
#define WS_HSCROLL 0x00100000u
#define WS_DLGFRAME 0x00400000u
#define WS_GROUP 0x00020000u
#define WS_TABSTOP 0x00010000u
#define WS_CHILDWINDOW WS_CHILD
#define WS_TILEDWINDOW WS_OVERLAPPEDWINDOW

#define WS_EX_TOPMOST 0x00000008u
#define WS_EX_ACCEPTFILES 0x00000010u
#define WS_EX_TRANSPARENT 0x00000020u
#define WS_EX_TOOLWINDOW 0x00000080u
#define WS_EX_WINDOWEDGE 0x00000100u
#define WS_EX_CLIENTEDGE 0x00000200u
#define WS_EX_APPWINDOW 0x00040000u
#define WS_OVERLAPPEDWINDOW \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)

#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))

// ---- Classes and creation ---------------------------------------------------

// Registers a class by name (names compare case-insensitively). 0 when the
// class has no name or procedure, or the name is taken.
PLATFORM_API ATOM RegisterClassA(const WNDCLASSA* lpWndClass);
PLATFORM_API BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);
// The platform's own control classes ("EDIT") register a factory instead of
// a procedure: each window of the class gets a procedure of its own from
// it, which keeps the control's state and goes with the window.
using WindowProcFactory = std::function<WindowProc()>;
PLATFORM_API ATOM PlatformRegisterClass(LPCSTR lpClassName, WindowProcFactory factory);
// The procedure a new window of the class gets (a fresh one from a factory);
// empty when no such class is registered. CWnd objects of a registered
// class pass the messages they do not handle to it.
PLATFORM_API WindowProc PlatformNewClassProc(LPCSTR lpClassName);

// Creates a window owned by the calling thread, in the normal state
// (WS_MINIMIZE and WS_MAXIMIZE are dropped from the style; use ShowWindow).
// The procedure receives
// WM_NCCREATE (FALSE refuses: WM_NCDESTROY follows) and WM_CREATE (-1
// refuses: the window is destroyed), both with a CREATESTRUCTA. Null when
// the class is unknown, the parent is not a window, or creation was refused.
// hMenu is the control id of a child window.
PLATFORM_API HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                                  int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                  LPVOID lpParam);
// The same with a procedure of the caller's instead of a registered class;
// lpClassName is only recorded.
PLATFORM_API HWND PlatformCreateWindowEx(WindowProc proc, DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName,
                                         DWORD dwStyle, int X, int Y, int nWidth, int nHeight, HWND hWndParent,
                                         HMENU hMenu, LPVOID lpParam);
// Replaces the window's procedure and returns the previous one (empty when
// hWnd is not a window or proc is empty; nothing changes then). The new
// procedure may call the previous one for what it does not handle.
PLATFORM_API WindowProc PlatformSetWindowProc(HWND hWnd, WindowProc proc);

PLATFORM_API BOOL IsWindow(HWND hWnd);
// Destroys the window and its children: WM_DESTROY goes to the window, then
// each child is destroyed the same way (depth first, in creation order),
// then WM_NCDESTROY goes to the window and its handle dies; so every child
// is dead before its parent. Posted messages still queued for a destroyed
// window are discarded. FALSE when hWnd is not a window, is being destroyed
// already, or belongs to another thread.
PLATFORM_API BOOL DestroyWindow(HWND hWnd);
PLATFORM_API LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// ---- Messages ---------------------------------------------------------------

// The procedure's result; 0 when hWnd is not a window.
PLATFORM_API LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Queues the message to the window's owning thread (to the calling thread
// for a null hWnd) and returns at once; FALSE when hWnd is not a window.
PLATFORM_API BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// A message number in 0xC000..0xFFFF for the name, the same for every call
// with that name (compared case-insensitively) in the process; 0 for a null
// or empty name, or when the range is used up.
PLATFORM_API UINT RegisterWindowMessageA(LPCSTR lpString);
// Waits for a posted message of the calling thread that matches the filter
// (window hWnd, or any for null; message number in wMsgFilterMin..Max, or
// any when both are 0). WM_QUIT, once posted, matches every filter and is
// taken when no matching message is queued. Returns 0 for WM_QUIT, -1 when
// lpMsg is null or hWnd is not (or stops being) a window, else non-zero.
PLATFORM_API BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
// Like GetMessageA without waiting: TRUE when a message was there. It stays
// queued with PM_NOREMOVE.
PLATFORM_API BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// For WM_KEYDOWN and WM_SYSKEYDOWN, posts WM_CHAR (WM_SYSCHAR) with the
// key's character ahead of the queue's other messages: the character the
// display gave for that key, or else the key's character on a US layout
// with the Shift and Ctrl state then (Ctrl+letter gives 1 to 26). TRUE for
// the four key messages, FALSE for any other.
PLATFORM_API BOOL TranslateMessage(const MSG* lpMsg);
// Calls the procedure of the message's window (a WM_TIMER whose lParam is
// a TIMERPROC calls that instead); 0 for thread messages and windows that
// are gone.
PLATFORM_API LRESULT DispatchMessageA(const MSG* lpMsg);
// Marks the calling thread's queue to deliver WM_QUIT with the exit code.
PLATFORM_API void PostQuitMessage(int nExitCode);
// Dispatches the calling thread's posted messages and input, including
// those posted while it runs, and paints, until the queue is empty; a
// pending WM_QUIT and timers stay for GetMessageA. Returns the number of
// messages taken.
PLATFORM_API int PlatformPumpMessages();

// Timers of the calling thread's loop. A window timer (hWnd not null) is
// known by its window and id, and setting it again replaces it; a thread
// timer (hWnd null) gets an id of its own, which is the result. Every
// uElapse milliseconds (at least 10) at which nothing else is queued,
// GetMessageA gives WM_TIMER (wParam: the id, lParam: lpTimerFunc) once,
// however many periods went by. 0 when hWnd is not a window.
PLATFORM_API UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
// FALSE when there is no such timer.
PLATFORM_API BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);

// ---- Attributes -------------------------------------------------------------

// Send WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH. GetWindowTextA copies at
// most nMaxCount - 1 characters and a terminator and returns the count.
PLATFORM_API BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString);
PLATFORM_API int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
PLATFORM_API int GetWindowTextLengthA(HWND hWnd);
// Null for a top-level window or when hWnd is not a window.
PLATFORM_API HWND GetParent(HWND hWnd);
// GW_CHILD: the first child; GW_HWNDNEXT: the next sibling (the next
// top-level window for a top-level one). Creation order stands for the
// z-order. Null when there is none or for any other command.
PLATFORM_API HWND GetWindow(HWND hWnd, UINT uCmd);
// The class name given at creation; returns the count copied, 0 on failure.
PLATFORM_API int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount);
// GWL_STYLE, GWL_EXSTYLE, GWLP_ID, GWLP_USERDATA. Set returns the previous
// value; both give 0 for other indexes and for handles that are not windows.
PLATFORM_API LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex);
PLATFORM_API LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
PLATFORM_API LONG GetWindowLongA(HWND hWnd, int nIndex);
PLATFORM_API LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong);
// The window's rectangle in screen coordinates (its parents' offsets added),
// and its client rectangle, which starts at (0, 0).
PLATFORM_API BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);
PLATFORM_API BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
// Moves and sizes the window in its parent's client coordinates; sends
// WM_MOVE when the position changed and WM_SIZE (SIZE_RESTORED) when the
// size changed. A top-level window on a display moves there too.
PLATFORM_API BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);

// ---- Show state and placement -------------------------------------------------

// SW_HIDE hides; SW_SHOW, SW_SHOWNA show in the current state;
// SW_SHOWNORMAL, SW_SHOWNOACTIVATE and SW_SHOWDEFAULT show normal;
// SW_RESTORE shows normal, or maximized when a minimized window was
// maximized before; SW_SHOWMINIMIZED, SW_MINIMIZE and SW_SHOWMINNOACTIVE
// minimize (remembering whether the window was maximized); SW_SHOWMAXIMIZED
// maximizes. The rectangle follows, with WM_MOVE and WM_SIZE (SIZE_RESTORED,
// SIZE_MINIMIZED or SIZE_MAXIMIZED) when it changes. Returns whether the
// window was visible before.
PLATFORM_API BOOL ShowWindow(HWND hWnd, int nCmdShow);
// TRUE when the window and all its ancestors have WS_VISIBLE.
PLATFORM_API BOOL IsWindowVisible(HWND hWnd);
PLATFORM_API BOOL IsIconic(HWND hWnd);
PLATFORM_API BOOL IsZoomed(HWND hWnd);
// length 44; showCmd SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED or SW_SHOWNORMAL
// (also for a hidden window); flags WPF_RESTORETOMAXIMIZED for a minimized
// window that restores to maximized, else 0. The normal position is in
// the parent's client coordinates (the screen's for a top-level window).
PLATFORM_API BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl);
// Takes the normal position, both positions and the WPF_RESTORETOMAXIMIZED
// flag (which decides what a minimized window restores to), then applies
// showCmd as ShowWindow does. FALSE for a null placement or a length other
// than 44.
PLATFORM_API BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* lpwndpl);

// ---- Coordinates, focus and the screen ------------------------------------------

// There is no non-client area: a window's client origin is the top-left of
// its window rectangle.
PLATFORM_API BOOL ClientToScreen(HWND hWnd, POINT* lpPoint);
PLATFORM_API BOOL ScreenToClient(HWND hWnd, POINT* lpPoint);

// The calling thread's focus window. SetFocus sends WM_KILLFOCUS to the old
// one and WM_SETFOCUS to the new one and returns the old one; a null hWnd
// clears the focus, a handle that is not a window changes nothing (null).
// A destroyed window loses the focus.
PLATFORM_API HWND SetFocus(HWND hWnd);
PLATFORM_API HWND GetFocus();
// A disabled window (WS_DISABLED), and every window inside a disabled one,
// takes no mouse or keyboard input, and a disabled top-level window is not
// closed by the window manager. EnableWindow sends WM_ENABLE when the state
// changes and returns TRUE when the window was disabled before.
PLATFORM_API BOOL EnableWindow(HWND hWnd, BOOL bEnable);
PLATFORM_API BOOL IsWindowEnabled(HWND hWnd);

// SM_CXSCREEN (and CY) answer the screen's size, SM_CXFULLSCREEN and
// SM_CXMAXIMIZED (and CY) its work area (the headless screen's are the
// same), SM_CXBORDER and SM_CYBORDER 1, SM_CXMINIMIZED 160 and
// SM_CYMINIMIZED 24; anything else 0.
PLATFORM_API int GetSystemMetrics(int nIndex);
// Sets the headless screen's size; a width or height of 0 or less restores
// the default 1024 x 768.
PLATFORM_API void PlatformSetScreenSize(int cx, int cy);

// ---- Painting state --------------------------------------------------------------

// Adds the rectangle (in client coordinates; null: the whole client area) to
// the update rectangle, and with bErase marks the background for erasing.
// TRUE for a window (also a hidden one, which is left alone); FALSE for null
// (there is no screen to redraw) and for handles that are not windows.
PLATFORM_API BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
// Removes the rectangle (null: everything) from the update rectangle. The
// update rectangle is a bounding box: it goes only when lpRect covers it.
PLATFORM_API BOOL ValidateRect(HWND hWnd, const RECT* lpRect);
// TRUE when the window has something to paint; lpRect (may be null)
// receives the update rectangle, or an empty one. bErase is not acted on:
// erasing is BeginPaint's.
PLATFORM_API BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase);
// For BeginPaint: validates the window and hands back its update rectangle
// and whether the background was to be erased. FALSE for a handle that is
// not a window.
PLATFORM_API BOOL PlatformTakeUpdate(HWND hWnd, LPRECT lpRect, BOOL* pbErase);

// ---- Scrolling ---------------------------------------------------------------------

// SB_HORZ and SB_VERT; 0 (FALSE) for any other bar and for handles that are
// not windows. SetScrollPos keeps the position inside the range and returns
// the previous one; SetScrollRange keeps the position inside the new range.
// bRedraw is accepted and ignored.
PLATFORM_API int GetScrollPos(HWND hWnd, int nBar);
PLATFORM_API int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);
PLATFORM_API BOOL GetScrollRange(HWND hWnd, int nBar, int* lpMinPos, int* lpMaxPos);
PLATFORM_API BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);

// ---- Watching windows go -------------------------------------------------------------

// Called with every window that leaves the table (after its WM_NCDESTROY,
// or when its thread ends), without any lock held. For the layer's side
// tables (device contexts, drawings). Watchers are keyed by an owner
// pointer; a new watcher of the same owner replaces the old one, an empty
// one removes it.
using WindowRemovalWatcher = std::function<void(HWND hWnd)>;
PLATFORM_API void PlatformWatchWindowRemoval(const void* owner, WindowRemovalWatcher watcher);
