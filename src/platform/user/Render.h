// The painter: a window and its visible descendants rendered with Cairo
// from the window table and the recorded drawing (DeviceContext.h). The
// PNG snapshot (platform/mfc/Snapshot.h) and a display driver's backing
// surface both come from here, so the screen and a picture of the same
// state show the same pixels.
//
// Each window is drawn at its place, clipped to its parent's area:
//   1. its face: the application workspace colour for an MDI client
//      ("MDIClient"), the button face for a button, the window colour for
//      any other window;
//   2. its recorded drawing, in order, each operation clipped to the clip
//      box it was drawn with (platform/gdi/Painter.h);
//   3. its visible children, bottom first (the active MDI child on top);
//   4. for a child window with a caption (WS_CHILD | WS_CAPTION), the bar
//      over its top PLATFORM_CAPTION_HEIGHT pixels with its text and its
//      buttons (minimize, maximize, close, as its styles ask), in the active
//      caption colour for the active MDI child and the inactive one
//      otherwise;
//   5. a one-pixel frame when it has WS_BORDER, WS_CAPTION or
//      WS_THICKFRAME.
// The rendered window itself is drawn even when hidden; hidden descendants
// are not. A top-level window's own caption is not drawn here (a snapshot
// adds one above, a window manager its own).
#pragma once

#include "platform/user/Windows.h"

// Renders hWnd into a buffer of 32-bit pixels, 0x00RRGGBB in native byte
// order (Cairo's RGB24), width x height with stride bytes a row, whose
// top-left pixel is the screen point origin. With nScale above 1 (a scaled
// display) the buffer holds nScale x nScale device pixels for each of the
// window's pixels, so text and lines are drawn sharp at the display's
// resolution. FALSE when hWnd is not a window or the buffer is unusable.
PLATFORM_API BOOL PlatformRenderWindow(HWND hWnd, BYTE* pixels, int width, int height, int stride, POINT origin,
                                       int nScale = 1);
// Draws a top-level window's title bar (active colours) with its text into
// the buffer's band from (0, 0) to (width, PLATFORM_CAPTION_HEIGHT).
PLATFORM_API BOOL PlatformRenderTitleBar(HWND hWnd, BYTE* pixels, int width, int height, int stride);
