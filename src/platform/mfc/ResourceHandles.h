// The framework's resource handles: which module's resources the
// framework's loads (menus, strings, dialogs, toolbars) read.
//
// The resource handle is the application's module until set otherwise.
// AfxFindResourceHandle looks in it first, then in the extension modules of
// the chain (newest first, the system's last), so resources a plugin carries
// are found by id as on the original.
#pragma once

#include "platform/mfc/Modules.h"
#include "platform/user/StringResources.h"

// The application's module: its application object's m_hInstance, or the
// program's handle before there is one.
PLATFORM_API HINSTANCE AfxGetInstanceHandle();
PLATFORM_API HINSTANCE AfxGetResourceHandle();
PLATFORM_API void AfxSetResourceHandle(HINSTANCE hInstResource);
// The first module holding the resource, as above; the resource handle
// when none does.
PLATFORM_API HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
// The first module, as above, holding string nID; null when none does.
PLATFORM_API HINSTANCE AfxFindStringResourceHandle(UINT nID);
