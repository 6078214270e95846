// AfxMessageBox without a screen: the text goes to stderr as one line (line
// breaks in it become spaces) and to a hook that tests and hosts can set; the
// hook's answer is the result (IDOK without one). The hook is called without
// any lock held, on the caller's thread.
#pragma once

#include <functional>

#include "platform/atl/Strings.h"

#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_YESNO 0x00000004u
#define MB_ICONSTOP 0x00000010u
#define MB_ICONHAND MB_ICONSTOP
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONINFORMATION 0x00000040u
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

using MessageBoxHook = std::function<int(const CString& text, UINT nType)>;

PLATFORM_API int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// Sets the hook and returns the previous one; an empty hook removes it.
PLATFORM_API MessageBoxHook AfxSetMessageBoxHook(MessageBoxHook hook);
// Turns the copy on stderr off or on (on by default); returns the old setting.
PLATFORM_API bool AfxSetMessageBoxEcho(bool bEcho);
