// The painter (Painter.h).
//
// Sections: fills and text; shapes; blits; the calls.
#include "platform/gdi/Painter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/gdi/TextLayout.h"

namespace gdi {
namespace {

void SetColor(cairo_t* cr, COLORREF color) {
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
}

void ClipTo(cairo_t* cr, const RECT& r) {
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
}

// ---- Fills and text --------------------------------------------------------------------------

void PaintFill(cairo_t* cr, const PlatformDrawing& op) {
    SetColor(cr, op.color);
    cairo_rectangle(cr, op.rect.left, op.rect.top, op.rect.right - op.rect.left, op.rect.bottom - op.rect.top);
    cairo_fill(cr);
}

const Font& DefaultFont() {
    static const std::shared_ptr<const Font> font = ResolveFont(LOGFONTA{}, 1);
    return *font;
}

void PaintText(cairo_t* cr, const PlatformDrawing& op) {
    const Font& font = op.font ? *op.font : DefaultFont();
    if (!(op.format & DT_NOCLIP)) ClipTo(cr, op.rect);
    for (const TextLine& line : LayoutText(font, op.text, op.rect, op.format, nullptr)) {
        if (op.bkMode == OPAQUE) {
            SetColor(cr, op.bkColor);
            cairo_rectangle(cr, line.x, line.top, line.width, font.height);
            cairo_fill(cr);
        }
        SetColor(cr, op.color);
        ShowText(cr, font, line.utf8, line.x, line.top, line.underlineAt);
    }
}

// ---- Shapes --------------------------------------------------------------------------------------

using Shape = PlatformDrawing::Shape;

void SetPen(cairo_t* cr, const PlatformDrawing& op) {
    SetColor(cr, op.penColor);
    cairo_set_line_width(cr, op.penWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    static const double kDash[] = {18, 6}, kDot[] = {3, 3}, kDashDot[] = {9, 6, 3, 6},
                        kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (op.penStyle) {
    case PS_DASH: cairo_set_dash(cr, kDash, 2, 0); break;
    case PS_DOT: cairo_set_dash(cr, kDot, 2, 0); break;
    case PS_DASHDOT: cairo_set_dash(cr, kDashDot, 4, 0); break;
    case PS_DASHDOTDOT: cairo_set_dash(cr, kDashDotDot, 6, 0); break;
    default: cairo_set_dash(cr, nullptr, 0, 0);
    }
}

// Lines run through pixel centres; the first point's pixel is drawn and the
// last point's is not, as the original's lines do.
void LinePath(cairo_t* cr, const std::vector<POINT>& points, bool closed) {
    auto shift = [](POINT from, POINT to) {
        double dx = to.x - from.x, dy = to.y - from.y, length = std::hypot(dx, dy);
        return length > 0 ? std::pair{dx / length / 2, dy / length / 2} : std::pair{0.0, 0.0};
    };
    size_t n = points.size();
    auto [sx, sy] = closed ? std::pair{0.0, 0.0} : shift(points[0], points[1]);
    auto [ex, ey] = closed ? std::pair{0.0, 0.0} : shift(points[n - 2], points[n - 1]);
    cairo_move_to(cr, points[0].x + 0.5 - sx, points[0].y + 0.5 - sy);
    for (size_t i = 1; i < n; ++i) {
        bool last = i == n - 1;
        cairo_line_to(cr, points[i].x + 0.5 - (last ? ex : 0), points[i].y + 0.5 - (last ? ey : 0));
    }
    if (closed) cairo_close_path(cr);
}

// The box's outline: its edge pixels' centres.
struct Box {
    double left, top, right, bottom;
    double cx() const { return (left + right) / 2; }
    double cy() const { return (top + bottom) / 2; }
    double rx() const { return std::max(0.0, (right - left) / 2); }
    double ry() const { return std::max(0.0, (bottom - top) / 2); }
};

void EllipsePath(cairo_t* cr, const Box& b) {
    if (b.rx() <= 0 || b.ry() <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, b.cx(), b.cy());
    cairo_scale(cr, b.rx(), b.ry());
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void RoundRectPath(cairo_t* cr, const Box& b, double rx, double ry) {
    rx = std::min(rx, b.rx());
    ry = std::min(ry, b.ry());
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, b.left, b.top, b.right - b.left, b.bottom - b.top);
        return;
    }
    auto corner = [&](double x, double y, double from) {
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, from, from + M_PI / 2);
        cairo_restore(cr);
    };
    cairo_new_sub_path(cr);
    corner(b.right - rx, b.top + ry, -M_PI / 2);
    corner(b.right - rx, b.bottom - ry, 0);
    corner(b.left + rx, b.bottom - ry, M_PI / 2);
    corner(b.left + rx, b.top + ry, M_PI);
    cairo_close_path(cr);
}

// Arc, pie or chord: counter-clockwise on screen (y grows down, so angles
// decrease) from the start point's direction to the end point's.
void ArcPath(cairo_t* cr, const Box& b, const PlatformDrawing& op) {
    if (b.rx() <= 0 || b.ry() <= 0 || op.points.size() < 2) return;
    auto angle = [&](POINT p) { return std::atan2((p.y + 0.5 - b.cy()) / b.ry(), (p.x + 0.5 - b.cx()) / b.rx()); };
    double from = angle(op.points[0]), to = angle(op.points[1]);
    if (to >= from) to -= 2 * M_PI;
    cairo_save(cr);
    cairo_translate(cr, b.cx(), b.cy());
    cairo_scale(cr, b.rx(), b.ry());
    if (op.shape == Shape::pie) cairo_move_to(cr, 0, 0);
    cairo_arc_negative(cr, 0, 0, 1, from, to);
    cairo_restore(cr);
    if (op.shape != Shape::arc) cairo_close_path(cr);
}

void PaintShape(cairo_t* cr, const PlatformDrawing& op) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    bool pen = op.penStyle != PS_NULL;
    const RECT& r = op.rect;
    Box outline{r.left + 0.5, r.top + 0.5, r.right - 0.5, r.bottom - 0.5};
    // Without a pen the fill covers the outline's inside, one pixel short on
    // the right and bottom.
    Box fill = pen ? outline : Box{double(r.left), double(r.top), r.right - 1.0, r.bottom - 1.0};
    auto path = [&](const Box& b) {
        cairo_new_path(cr);
        switch (op.shape) {
        case Shape::polyline: LinePath(cr, op.points, false); break;
        case Shape::polygon: LinePath(cr, op.points, true); break;
        case Shape::rectangle: cairo_rectangle(cr, b.left, b.top, b.right - b.left, b.bottom - b.top); break;
        case Shape::roundRect:
            RoundRectPath(cr, b, op.points.empty() ? 0 : op.points[0].x / 2.0,
                          op.points.empty() ? 0 : op.points[0].y / 2.0);
            break;
        case Shape::ellipse: EllipsePath(cr, b); break;
        case Shape::arc:
        case Shape::pie:
        case Shape::chord: ArcPath(cr, b, op); break;
        }
    };
    if (op.color != CLR_INVALID && op.shape != Shape::polyline && op.shape != Shape::arc) {
        if (op.shape == Shape::rectangle) {
            // Pixel-exact: every pixel of the box (or, without a pen, of the
            // box less its last column and row).
            cairo_new_path(cr);
            double inset = pen ? 0 : 1;
            cairo_rectangle(cr, r.left, r.top, r.right - r.left - inset, r.bottom - r.top - inset);
        } else {
            path(fill);
        }
        cairo_set_fill_rule(cr, op.fillMode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        SetColor(cr, op.color);
        cairo_fill(cr);
    }
    if (pen) {
        path(outline);
        SetPen(cr, op);
        cairo_stroke(cr);
    }
}

// ---- Blits ---------------------------------------------------------------------------------------

// The raster operation's result for one pixel: each bit of the code says
// what a combination of pattern, source and destination bits gives.
uint32_t Rop(DWORD rop, uint32_t p, uint32_t s, uint32_t d) {
    unsigned code = (rop >> 16) & 0xFF;
    uint32_t result = 0;
    for (unsigned bit = 0; bit < 8; ++bit) {
        if (!(code & (1u << bit))) continue;
        uint32_t mask = ((bit & 4) ? p : ~p) & ((bit & 2) ? s : ~s) & ((bit & 1) ? d : ~d);
        result |= mask;
    }
    return result & 0xFFFFFFu;
}

uint32_t Pixel(COLORREF c) {
    return static_cast<uint32_t>(GetRValue(c)) << 16 | static_cast<uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

// Works on the target's pixels directly: Cairo has no raster operations.
// Each device pixel of the destination (at the display's scale) takes the
// source pixel under its centre.
void PaintBlit(cairo_t* cr, const PlatformDrawing& op) {
    cairo_surface_t* target = cairo_get_target(cr);
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return;
    cairo_surface_flush(target);
    unsigned char* data = cairo_image_surface_get_data(target);
    int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
    int stride = cairo_image_surface_get_stride(target);
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    x1 = std::max<double>(x1, op.rect.left);
    y1 = std::max<double>(y1, op.rect.top);
    x2 = std::min<double>(x2, op.rect.right);
    y2 = std::min<double>(y2, op.rect.bottom);
    if (x1 >= x2 || y1 >= y2) return;
    cairo_user_to_device(cr, &x1, &y1);
    cairo_user_to_device(cr, &x2, &y2);
    int left = std::max(0, static_cast<int>(std::lround(std::min(x1, x2))));
    int right = std::min(width, static_cast<int>(std::lround(std::max(x1, x2))));
    int top = std::max(0, static_cast<int>(std::lround(std::min(y1, y2))));
    int bottom = std::min(height, static_cast<int>(std::lround(std::max(y1, y2))));
    uint32_t pattern = op.color == CLR_INVALID ? 0 : Pixel(op.color);
    const PlatformPixels* source = op.source.get();
    double dstW = op.rect.right - op.rect.left, dstH = op.rect.bottom - op.rect.top;
    double srcW = op.sourceRect.right - op.sourceRect.left, srcH = op.sourceRect.bottom - op.sourceRect.top;
    for (int y = top; y < bottom; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = left; x < right; ++x) {
            uint32_t s = 0;
            if (source) {
                double ux = x + 0.5, uy = y + 0.5;
                cairo_device_to_user(cr, &ux, &uy);
                int sx = op.sourceRect.left + static_cast<int>(std::floor((ux - op.rect.left) * srcW / dstW));
                int sy = op.sourceRect.top + static_cast<int>(std::floor((uy - op.rect.top) * srcH / dstH));
                if (sx < 0 || sy < 0 || sx >= source->width || sy >= source->height) continue;
                s = source->data[static_cast<size_t>(sy) * source->width + sx];
            }
            row[x] = Rop(op.rop, pattern, s, row[x] & 0xFFFFFFu);
        }
    }
    cairo_surface_mark_dirty(target);
}

}  // namespace

// ---- The calls -----------------------------------------------------------------------------------

void Paint(cairo_t* cr, const PlatformDrawing& op, POINT at) {
    cairo_save(cr);
    cairo_translate(cr, at.x, at.y);
    ClipTo(cr, op.clip);
    switch (op.kind) {
    case PlatformDrawing::Kind::fill: PaintFill(cr, op); break;
    case PlatformDrawing::Kind::text: PaintText(cr, op); break;
    case PlatformDrawing::Kind::shape: PaintShape(cr, op); break;
    case PlatformDrawing::Kind::blit: PaintBlit(cr, op); break;
    }
    cairo_restore(cr);
}

void PaintIntoBitmap(PlatformPixels& pixels, const PlatformDrawing& op) {
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.data.data()), CAIRO_FORMAT_RGB24,
                                            pixels.width, pixels.height, pixels.width * 4);
    cairo_t* cr = cairo_create(surface);
    Paint(cr, op, POINT{0, 0});
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    if (pixels.bitsPixel == 1) KeepMonochrome(pixels);
}

}  // namespace gdi
