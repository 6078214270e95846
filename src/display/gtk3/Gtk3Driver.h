// What the GTK 3 driver's files share: the native window of a top-level
// window, and the clipboard's and the dialogs' table entries
// (UserDriver.h says what each does).
#pragma once

#include <gtk/gtk.h>

#include "platform/user/UserDriver.h"

namespace gtk3 {

// The native window shown for a top-level window, or null.
GtkWindow* NativeWindow(HWND hWnd);

// Gtk3Clipboard.cpp
void SetClipboardText(const char* pszText);
DisplayClipboard GetClipboardText(DWORD dwMilliseconds, std::string* pText);

// Gtk3Dialogs.cpp
void* MessageBox(HWND hOwner, const DisplayMessageBoxRequest* pRequest, DisplayDialogDone pfnDone, void* pContext);
void* ChooseColor(HWND hOwner, DisplayColorRequest* pRequest, DisplayDialogDone pfnDone, void* pContext);
void* OpenFile(HWND hOwner, DisplayOpenFileRequest* pRequest, DisplayDialogDone pfnDone, void* pContext);
void EndDialog(void* pDialog);

}  // namespace gtk3
