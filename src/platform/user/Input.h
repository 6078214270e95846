// Mouse and keyboard input: the messages, virtual keys and hit-test codes,
// capture, activation, the key state, and the door through which a display
// driver (or a test) hands the layer what the user did.
//
// A driver never calls a window procedure. It posts raw input
// (PlatformPostInput) to the queue of the top-level window's thread; that
// thread's GetMessageA/PeekMessageA turn it into messages after the posted
// ones, as the original's message loop does with hardware input:
//   - mouse: the capture window takes everything (client coordinates);
//     otherwise the window under the point is found from the top level
//     down, asking each window WM_NCHITTEST first, so a click on a child
//     frame's caption is the frame's and not its view's. Non-client points
//     give WM_NCxBUTTONx with the hit code and the screen point; client
//     points WM_xBUTTONx with the MK_ flags and client coordinates. Before
//     a button goes down, WM_SETCURSOR and WM_MOUSEACTIVATE go to the
//     target (the default procedure passes WM_MOUSEACTIVATE to the parent
//     first), and its top-level window is activated. The wheel goes to the
//     focus window with screen coordinates;
//   - keyboard: to the focus window, or with no focus to the active window
//     as WM_SYSKEYDOWN/UP; with Alt down always WM_SYSKEYDOWN/UP (F10
//     too), with the original's lParam: repeat count 1, scan code, bit 24
//     extended, bit 29 Alt, bit 30 previous state, bit 31 key up;
//   - input for a disabled window (EnableWindow), or one inside a disabled
//     window, is dropped, and so is the window manager's close of one;
//   - the display's own events (the window manager moved, sized,
//     minimized, activated or closed a top-level window) are applied in
//     the same place, with WM_MOVE, WM_SIZE and WM_ACTIVATE, and a close
//     becomes WM_SYSCOMMAND SC_CLOSE.
#pragma once

#include "platform/user/Windows.h"

#define WM_ACTIVATE 0x0006
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_NCHITTEST 0x0084
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define WM_NCLBUTTONDBLCLK 0x00A3
#define WM_NCRBUTTONDOWN 0x00A4
#define WM_NCRBUTTONUP 0x00A5
#define WM_NCMBUTTONDOWN 0x00A7
#define WM_NCMBUTTONUP 0x00A8
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0109
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSEWHEEL 0x020A
#define WM_CAPTURECHANGED 0x0215
#define WM_ENTERSIZEMOVE 0x0231
#define WM_EXITSIZEMOVE 0x0232

#define WHEEL_DELTA 120

// Signed coordinates out of a mouse message's lParam.
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))

// WM_ACTIVATE's wParam.
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// WM_MOUSEACTIVATE's answers.
#define MA_ACTIVATE 1
#define MA_ACTIVATEANDEAT 2
#define MA_NOACTIVATE 3
#define MA_NOACTIVATEANDEAT 4

// Key flags of the mouse messages' wParam.
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

// WM_NCHITTEST's answers.
#define HTERROR (-2)
#define HTTRANSPARENT (-1)
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTCAPTION 2
#define HTSYSMENU 3
#define HTMINBUTTON 8
#define HTMAXBUTTON 9
#define HTLEFT 10
#define HTRIGHT 11
#define HTTOP 12
#define HTTOPLEFT 13
#define HTTOPRIGHT 14
#define HTBOTTOM 15
#define HTBOTTOMLEFT 16
#define HTBOTTOMRIGHT 17
#define HTBORDER 18
#define HTCLOSE 20

// WM_SYSCOMMAND's commands (the low four bits are the system's own).
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_CLOSE 0xF060
#define SC_RESTORE 0xF120

// Virtual keys.
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_F1 0x70
#define VK_F4 0x73
#define VK_F10 0x79
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91

// ---- Capture, activation, the pointer and the keys ----------------------------------

// The calling thread's capture window. SetCapture returns the previous one;
// the one losing the capture gets WM_CAPTURECHANGED.
PLATFORM_API HWND SetCapture(HWND hWnd);
PLATFORM_API BOOL ReleaseCapture();
PLATFORM_API HWND GetCapture();
// Activates a top-level window of the calling thread: WM_ACTIVATE
// (WA_INACTIVE) to the one losing it, WM_ACTIVATE (WA_ACTIVE) to the new
// one, whose default procedure gives it the focus. Returns the previous
// active window.
PLATFORM_API HWND SetActiveWindow(HWND hWnd);
PLATFORM_API HWND GetActiveWindow();
// Where the pointer was last seen, in screen coordinates.
PLATFORM_API BOOL GetCursorPos(LPPOINT lpPoint);
// The calling thread's key state, as its input messages saw it: bit 15
// down, bit 0 toggled.
PLATFORM_API SHORT GetKeyState(int nVirtKey);
// The deepest visible window under the screen point (captions of child
// windows included), or null.
PLATFORM_API HWND WindowFromPoint(POINT Point);

// ---- Raw input, for display drivers --------------------------------------------------

// One thing the user or the display did. message is one of:
//   WM_MOUSEMOVE, WM_xBUTTONDOWN/UP/DBLCLK (x: L, R, M), WM_MOUSEWHEEL
//     (wheel: + away from the user, in WHEEL_DELTA units): pt in screen
//     coordinates;
//   WM_KEYDOWN, WM_KEYUP: vk, scan, extended, ch (the character the key
//     gives with the keyboard's layout and modifiers, 0 for none), repeat;
//   WM_WINDOWPOSCHANGED: the display moved or sized the window to rect
//     (screen coordinates);
//   WM_SIZE: the display minimized (SIZE_MINIMIZED), maximized
//     (SIZE_MAXIMIZED) or restored (SIZE_RESTORED) it, in state;
//   WM_ACTIVATE: the window got (WA_ACTIVE) or lost (WA_INACTIVE) the
//     display's focus, in state;
//   WM_CLOSE: the user asked the window manager to close it;
//   WM_PAINT: the window's latest pixels are on the screen
//     (PlatformIsOnScreen turns TRUE, and the loop wakes with WM_NULL).
struct PlatformInput {
    UINT message = 0;
    POINT pt{};
    int wheel = 0;
    UINT vk = 0;
    UINT scan = 0;
    bool extended = false;
    bool repeat = false;
    char ch = 0;
    RECT rect{};
    UINT state = 0;
    DWORD time = 0;  // 0: when it is posted
};

// Queues the input for the thread of the top-level window hTop; FALSE when
// hTop is not a window. Never runs a window procedure, so a driver may
// call it from any thread.
PLATFORM_API BOOL PlatformPostInput(HWND hTop, const PlatformInput& input);
