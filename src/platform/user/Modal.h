// The modal loop of the display's dialogs and message boxes, inside the
// user layer.
//
// As on the original, the owner's top-level window is disabled while the
// dialog is up (it takes no input: Input.h), and the platform's own nested
// loop runs the calling thread's messages (GetMessageA, TranslateMessage,
// DispatchMessageA), so timers, posted messages and painting go on, until
// the user answers. Then the owner is enabled and activated again, and the
// answer is the result. A WM_QUIT met meanwhile closes the dialog with
// nOnQuit and is posted again for the loop outside, as the original does.
#pragma once

#include <functional>

#include "platform/user/UserDriver.h"

namespace user {

// Shows a dialog with show (a driver entry bound to its request; it returns
// null when it cannot show one) and runs the loop until it answers. -1 when
// the dialog could not be shown.
using ShowDialog = std::function<void*(DisplayDialogDone pfnDone, void* pContext)>;
int RunModal(HWND hOwner, const ShowDialog& show, int nOnQuit);

// The top-level window that owns a dialog of hWnd's (hWnd's own top-level
// window), or null.
HWND dialogOwner(HWND hWnd);

}  // namespace user
