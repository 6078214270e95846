// Fonts resolved for drawing, and text laid out and drawn with Pango
// through Cairo: what TextOutA, DrawTextA, GetTextExtentPoint32A and
// GetTextMetricsA measure, and what the painter draws, so that a width a
// caller computes lands where the pixels are.
//
// Sizes are device pixels. A font of height 0 (the stock fonts) keeps the
// long-standing default: a 12-pixel face, 12 above the baseline and 16 a
// line; any other height follows the face's own metrics.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/Objects.h"

typedef struct _cairo cairo_t;

namespace gdi {

struct Font {
    std::string family;  // the face fontconfig is asked for
    double em = 12;      // pixels
    int weight = FW_NORMAL;
    bool italic = false, underline = false, strikeout = false;
    int ascent = 0, descent = 0, height = 0;  // height = ascent + descent, a line
    int internalLeading = 0;
    int aveCharWidth = 0, maxCharWidth = 0;
};

// The font a description gives at scale device pixels a logical unit;
// never null.
std::shared_ptr<const Font> ResolveFont(const LOGFONTA& log, double scale);
// The width the text (UTF-8, one line) advances by.
int TextWidth(const Font& font, std::string_view utf8);
// Draws one line (UTF-8) with its top-left at (x, top), the character at
// byte underlineAt (when not negative) underlined.
void ShowText(cairo_t* cr, const Font& font, std::string_view utf8, double x, double top, int underlineAt = -1);

// A line of DrawTextA's text, placed in its rectangle.
struct TextLine {
    std::string utf8;
    int x = 0, top = 0, width = 0;
    int underlineAt = -1;  // byte of the & prefix's character, or -1
};
// Lays out ANSI text in the rectangle by the DT_ format (DT_CALCRECT aside):
// the lines, and the rectangle the text takes in *bounds.
std::vector<TextLine> LayoutText(const Font& font, std::string_view text, const RECT& rect, UINT format, RECT* bounds);

}  // namespace gdi
