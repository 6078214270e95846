// Tool bar images: the bar's bitmap with its standard button colours turned
// into the system's, and the greyed look of disabled buttons.
#pragma once

#include "platform/gdi/Bitmaps.h"
#include "platform/kernel/Resources.h"

// The RT_BITMAP resource with the standard button colours of its colour
// table replaced by the system's, as the original maps tool bar bitmaps:
// black (0,0,0) by COLOR_BTNTEXT, dark grey (128,128,128) by
// COLOR_BTNSHADOW, grey (192,192,192) by COLOR_BTNFACE and white by
// COLOR_BTNHIGHLIGHT; with bMono, every one of them but black by white.
// Only a colour table is mapped: a bitmap of more than 8 bits a pixel keeps
// its colours. Null when the resource is not there or does not decode
// (ERROR_INVALID_DATA).
PLATFORM_API HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono = FALSE);

// The images of hbmImages (cells cxImage wide, side by side) as disabled
// buttons show them, embossed: each pixel that is neither the face nor the
// highlight colour becomes a shadow pixel with a highlight one below and to
// the right of it, the rest is face colour. Null when hbmImages is no
// bitmap or cxImage is not positive.
PLATFORM_API HBITMAP PlatformDisabledImages(HBITMAP hbmImages, int cxImage);
