// AfxMessageBox: MessageBoxA (platform/user/MessageBox.h) owned by the main
// window, captioned with the application's name. On a display it is the
// desktop's dialog in the modal loop; without one, a line on stderr and the
// hook's answer.
#pragma once

#include "platform/user/MessageBox.h"

PLATFORM_API int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// PlatformSetMessageBoxHook and PlatformSetMessageBoxEcho by the framework's names.
PLATFORM_API MessageBoxHook AfxSetMessageBoxHook(MessageBoxHook hook);
PLATFORM_API bool AfxSetMessageBoxEcho(bool bEcho);
