// The process-wide table of GDI objects, for the device contexts: what an
// object is, and counting its selections so that a selected object is not
// deleted.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/Objects.h"

// Pixels of a bitmap: 0x00RRGGBB (Cairo's RGB24), rows top first, width a row.
struct PlatformPixels {
    int width = 0;
    int height = 0;
    int bitsPixel = 32;  // what GetObject reports: 1 or 32
    std::vector<uint32_t> data;
};

namespace gdi {

enum class ObjectKind { brush, pen, font, bitmap };

struct Object {
    ObjectKind kind = ObjectKind::brush;
    bool permanent = false;
    int selections = 0;  // device contexts it is selected into
    LOGBRUSH brush{};
    LOGPEN pen{};
    LOGFONTA font{};
    std::shared_ptr<PlatformPixels> bitmap;  // shared with the memory context it is selected into
};

// A copy of the live object (a bitmap's pixels shared); false when the
// handle names nothing.
bool Find(HGDIOBJ h, Object* out);
// Counts a selection of a live object of that kind and gives a copy of it;
// false when the handle names no such object, or is a bitmap selected
// already (a bitmap is in one device context at a time).
bool Select(HGDIOBJ h, ObjectKind kind, Object* out);
// Ends one selection.
void Deselect(HGDIOBJ h);
// The 1 x 1 monochrome bitmap a new memory device context holds.
HBITMAP DefaultBitmap();
// Adds a bitmap of those pixels; null when the quota is used up.
HBITMAP AddBitmap(std::shared_ptr<PlatformPixels> pixels);
// Turns light pixels white and dark ones black, as a monochrome bitmap holds.
void KeepMonochrome(PlatformPixels& pixels);
// The largest bitmap made: 16384 a side, 2^25 pixels.
bool BitmapSizeOk(long width, long height);

}  // namespace gdi
