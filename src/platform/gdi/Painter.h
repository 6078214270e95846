// The painter of recorded operations: draws one operation with Cairo, the
// same way for a window's picture (platform/user/Render.h) and for a
// memory device context's bitmap, so both show the same pixels.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"

typedef struct _cairo cairo_t;

namespace gdi {

// Draws the operation, whose device point (0, 0) is at `at` in cr's user
// space, clipped to its clip box. cr's target must be a Cairo image surface
// (blits and inversions work on its pixels).
void Paint(cairo_t* cr, const PlatformDrawing& op, POINT at);
// Draws the operation into the bitmap's pixels; a monochrome bitmap keeps
// black and white only.
void PaintIntoBitmap(PlatformPixels& pixels, const PlatformDrawing& op);

}  // namespace gdi
