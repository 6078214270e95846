// The one font that text is drawn in, and measuring text in it.
//
// Every text a device context records is rendered in one sans-serif face at
// one size (Render.h), 16 pixels a line; GetTextExtentPoint32A measures
// with the same face, so what a control computes from widths (a caret, a
// click in its text) lands where the pixels are.
#pragma once

#include "platform/shared/Types.h"

#define PLATFORM_FONT_FACE "DejaVu Sans"
#define PLATFORM_FONT_SIZE 12
#define PLATFORM_FONT_ASCENT 12
#define PLATFORM_LINE_HEIGHT 16

// The width and height of the first c characters of lpString: the width
// the renderer advances by, and the line height. FALSE for a null string,
// a negative count or a null size. The device context is not consulted
// (there is one font).
PLATFORM_API BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, SIZE* psizl);

// Has Cairo's and fontconfig's caches released when the process exits, so
// a process that drew text ends without leaks. Called before the first use
// of either; later calls do nothing.
PLATFORM_API void PlatformReleaseFontCachesAtExit();
// Leaves the caches to the process's end after all: a display toolkit
// loaded into the process (GTK's text in its dialogs) shares them and still
// holds fonts when the process exits, and releasing them under it aborts.
PLATFORM_API void PlatformKeepFontCachesAtExit();
