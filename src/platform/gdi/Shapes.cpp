// Lines and shapes: each call becomes one shape operation in device units
// with the context's pen and brush (Shapes.h).
#include "platform/gdi/Shapes.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/gdi/DcTable.h"
#include "platform/gdi/Painter.h"

using gdi::DeviceContext;
using gdi::WithContext;
using Shape = PlatformDrawing::Shape;

namespace {

// A shape operation with the context's pen, and its brush when filled.
PlatformDrawing ShapeOp(DeviceContext& dc, Shape shape, bool filled) {
    PlatformDrawing op;
    op.kind = PlatformDrawing::Kind::shape;
    op.shape = shape;
    const LOGPEN& pen = dc.penObject.pen;
    op.penColor = pen.lopnColor;
    op.penStyle = static_cast<int>(pen.lopnStyle & PS_STYLE_MASK);
    op.penWidth = pen.lopnWidth.x <= 0 ? 1 : std::max(1, static_cast<int>(std::lround(pen.lopnWidth.x * dc.scaleX())));
    if (op.penWidth > 1 && op.penStyle >= PS_DASH && op.penStyle <= PS_DASHDOTDOT) op.penStyle = PS_SOLID;
    if (op.penStyle == PS_INSIDEFRAME) op.penStyle = PS_SOLID;
    const LOGBRUSH& brush = dc.brushObject.brush;
    op.color = filled && brush.lbStyle == BS_SOLID ? brush.lbColor : CLR_INVALID;
    op.fillMode = dc.fillMode;
    return op;
}

RECT Bounds(const std::vector<POINT>& points) {
    RECT r{points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (const POINT& p : points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x + 1);
        r.bottom = std::max(r.bottom, p.y + 1);
    }
    return r;
}

BOOL Points(HDC hdc, const POINT* apt, int cpt, Shape shape, int least) {
    if (!apt || cpt < least) return FALSE;
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        PlatformDrawing op = ShapeOp(dc, shape, shape == Shape::polygon);
        op.points.reserve(static_cast<size_t>(cpt));
        for (int i = 0; i < cpt; ++i) op.points.push_back(dc.toDevice(apt[i]));
        op.rect = Bounds(op.points);
        gdi::Record(hdc, dc, std::move(op));
        return TRUE;
    });
}

BOOL Boxed(HDC hdc, RECT box, Shape shape, std::vector<POINT> logicalPoints, bool filled) {
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        PlatformDrawing op = ShapeOp(dc, shape, filled);
        op.rect = dc.toDevice(box);
        for (const POINT& p : logicalPoints) op.points.push_back(dc.toDevice(p));
        gdi::Record(hdc, dc, std::move(op));
        return TRUE;
    });
}

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        POINT previous = std::exchange(dc.position, POINT{x, y});
        if (lppt) *lppt = previous;
        return TRUE;
    });
}

BOOL LineTo(HDC hdc, int x, int y) {
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        PlatformDrawing op = ShapeOp(dc, Shape::polyline, false);
        op.points = {dc.toDevice(dc.position), dc.toDevice(POINT{x, y})};
        op.rect = Bounds(op.points);
        dc.position = POINT{x, y};
        gdi::Record(hdc, dc, std::move(op));
        return TRUE;
    });
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
    if (!lppt) return FALSE;
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) { return *lppt = dc.position, TRUE; });
}

BOOL Polyline(HDC hdc, const POINT* apt, int cpt) { return Points(hdc, apt, cpt, Shape::polyline, 2); }

BOOL Polygon(HDC hdc, const POINT* apt, int cpt) { return Points(hdc, apt, cpt, Shape::polygon, 2); }

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    return Boxed(hdc, RECT{left, top, right, bottom}, Shape::rectangle, {}, true);
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        PlatformDrawing op = ShapeOp(dc, Shape::roundRect, true);
        op.rect = dc.toDevice(RECT{left, top, right, bottom});
        op.points = {POINT{static_cast<LONG>(std::lround(std::abs(width) * dc.scaleX())),
                           static_cast<LONG>(std::lround(std::abs(height) * dc.scaleY()))}};
        gdi::Record(hdc, dc, std::move(op));
        return TRUE;
    });
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    return Boxed(hdc, RECT{left, top, right, bottom}, Shape::ellipse, {}, true);
}

BOOL Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return Boxed(hdc, RECT{x1, y1, x2, y2}, Shape::arc, {POINT{x3, y3}, POINT{x4, y4}}, false);
}

BOOL Pie(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return Boxed(hdc, RECT{x1, y1, x2, y2}, Shape::pie, {POINT{x3, y3}, POINT{x4, y4}}, true);
}

BOOL Chord(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return Boxed(hdc, RECT{x1, y1, x2, y2}, Shape::chord, {POINT{x3, y3}, POINT{x4, y4}}, true);
}

int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    COLORREF color;
    if (!lprc || !PlatformBrushColor(hbr, &color)) return 0;
    return WithContext(hDC, 0, [&](DeviceContext& dc) {
        if (color == CLR_INVALID) return 1;
        RECT r = dc.toDevice(*lprc);
        if (r.right <= r.left || r.bottom <= r.top) return 1;
        const RECT sides[] = {{r.left, r.top, r.right, r.top + 1},
                              {r.left, r.bottom - 1, r.right, r.bottom},
                              {r.left, r.top, r.left + 1, r.bottom},
                              {r.right - 1, r.top, r.right, r.bottom}};
        for (const RECT& side : sides) {
            PlatformDrawing op;
            op.kind = PlatformDrawing::Kind::fill;
            op.rect = side;
            op.color = color;
            gdi::Record(hDC, dc, std::move(op));
        }
        return 1;
    });
}

BOOL InvertRect(HDC hDC, const RECT* lprc) {
    if (!lprc) return FALSE;
    return WithContext(hDC, FALSE, [&](DeviceContext& dc) {
        PlatformDrawing op;
        op.kind = PlatformDrawing::Kind::blit;
        op.rect = dc.toDevice(*lprc);
        op.rop = DSTINVERT;
        gdi::Record(hDC, dc, std::move(op));
        return TRUE;
    });
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    return WithContext(hdc, COLORREF(CLR_INVALID), [&](DeviceContext& dc) {
        POINT p = dc.toDevice(POINT{x, y});
        PlatformDrawing op;
        op.kind = PlatformDrawing::Kind::fill;
        op.rect = RECT{p.x, p.y, p.x + 1, p.y + 1};
        op.color = color & 0xFFFFFFu;
        gdi::Record(hdc, dc, std::move(op));
        return color & 0xFFFFFFu;
    });
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    return WithContext(hdc, COLORREF(CLR_INVALID), [&](DeviceContext& dc) {
        if (!dc.memory) return COLORREF(CLR_INVALID);
        POINT p = dc.toDevice(POINT{x, y});
        const PlatformPixels& pixels = *dc.bitmapObject.bitmap;
        if (p.x < 0 || p.y < 0 || p.x >= pixels.width || p.y >= pixels.height) return COLORREF(CLR_INVALID);
        uint32_t v = pixels.data[static_cast<size_t>(p.y) * pixels.width + p.x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    });
}
