// Pictures of windows: a window and its visible descendants rendered from
// the window table and the recorded drawing (DeviceContext.h) into a PNG
// file, with Cairo.
//
// The picture is the window's rectangle, with a title bar above it when the
// window has WS_CAPTION. Each window is drawn at its place, clipped to its
// parent's drawing area:
//   1. its face: the application workspace colour for an MDI client
//      ("MDIClient"), the button face for a button, the window colour for
//      any other window;
//   2. its recorded drawing, in order, each operation clipped to the clip
//      box it was drawn with (text in a sans-serif face, 16 pixels a line);
//   3. its visible children, in creation order, the active MDI child last
//      (on top, as a screen shows it);
//   4. with WS_CAPTION, a title bar with its text, 18 pixels high, in the
//      active caption colour for the pictured window and the active MDI
//      child, in the inactive one otherwise. There is no non-client area to
//      hold it: the pictured window's bar is added above its rectangle, a
//      descendant's lies over the top 18 pixels of its own;
//   5. a one-pixel black frame when it has WS_BORDER, WS_CAPTION or
//      WS_THICKFRAME.
// The pictured window is drawn even when hidden; hidden descendants are not.
#pragma once

#include "platform/user/Windows.h"

// The title bar's height in a picture.
#define PLATFORM_SNAPSHOT_CAPTION 18

// Writes the picture to the file (a library path), replacing it in one step.
// FALSE when hWnd is not a window, its rectangle is empty or larger than
// 8192 pixels either way, or the file cannot be written (with the last
// error set); an existing file is then left as it was.
PLATFORM_API BOOL PlatformSnapshotWindow(HWND hWnd, LPCTSTR lpszPngPath);
