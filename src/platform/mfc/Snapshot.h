// Pictures of windows: a window and its visible descendants as the painter
// renders them (platform/user/Render.h), written to a PNG file. The picture
// is the window's rectangle, with a title bar PLATFORM_CAPTION_HEIGHT
// pixels high above it when the window has WS_CAPTION. The pictured window
// is drawn even when hidden; hidden descendants are not.
#pragma once

#include "platform/user/Windows.h"

// Writes the picture to the file (a library path), replacing it in one step.
// FALSE when hWnd is not a window, its rectangle is empty or larger than
// 8192 pixels either way, or the file cannot be written (with the last
// error set); an existing file is then left as it was.
PLATFORM_API BOOL PlatformSnapshotWindow(HWND hWnd, LPCTSTR lpszPngPath);
