// Message boxes (MessageBoxA): a real dialog on a display, the hook without
// one.
//
// On the display's thread of a driver that shows windows, the box is the
// desktop's own dialog, owned by hWnd's top-level window, with the text, the
// caption ("Error" when null, as on the original), the buttons of uType's
// MB_ set in the original's order, its icon and its default button
// (MB_DEFBUTTON1..4; the first when the set has fewer). It runs the modal
// loop (the owner takes no input until it is answered). Return answers the
// default button; Escape and the window manager's close answer IDCANCEL
// where the set has a Cancel button, IDOK for MB_OK, and do nothing in the
// sets without either (MB_YESNO, MB_ABORTRETRYIGNORE), as on the original.
// A WM_QUIT meanwhile closes the box with that same answer, or with its
// last button where Escape does nothing (IDNO for MB_YESNO).
//
// Without a screen (the headless driver, or another thread), nobody can
// answer: the text goes to stderr as one line (line breaks in it become
// spaces; PlatformSetMessageBoxEcho turns that off) and to a hook that tests
// and hosts set, whose answer is the result (IDOK without a hook). The hook
// is called without any lock held, on the caller's thread.
//
// MB_APPLMODAL, MB_SYSTEMMODAL, MB_TASKMODAL, MB_SETFOREGROUND and
// MB_TOPMOST are accepted and change nothing.
#pragma once

#include <functional>

#include "platform/atl/Strings.h"
#include "platform/user/Windows.h"

#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_CANCELTRYCONTINUE 0x00000006u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONHAND 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONMASK 0x000000F0u
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define MB_DEFBUTTON4 0x00000300u
#define MB_DEFMASK 0x00000F00u
#define MB_APPLMODAL 0x00000000u
#define MB_SYSTEMMODAL 0x00001000u
#define MB_TASKMODAL 0x00002000u
#define MB_SETFOREGROUND 0x00010000u
#define MB_TOPMOST 0x00040000u

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDTRYAGAIN 10
#define IDCONTINUE 11

// The answer (an ID code); 0 when the box could not be shown.
PLATFORM_API int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

using MessageBoxHook = std::function<int(const CString& text, UINT nType)>;
// Sets the hook of boxes without a screen and returns the previous one; an
// empty hook removes it.
PLATFORM_API MessageBoxHook PlatformSetMessageBoxHook(MessageBoxHook hook);
// Turns the copy on stderr off or on (on by default); returns the old setting.
PLATFORM_API bool PlatformSetMessageBoxEcho(bool bEcho);

// What Escape answers in a box of type uType; 0 when it does nothing.
PLATFORM_API int PlatformMessageBoxEscapeAnswer(UINT uType);
