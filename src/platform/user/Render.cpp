// Rendering windows and their recorded drawing with Cairo (Render.h).
//
// Sections: drawing helpers; captions; windows; the calls.
#include "platform/user/Render.h"

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/crt/Crt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Painter.h"
#include "platform/gdi/TextMetrics.h"
#include "platform/kernel/CodePage.h"
#include "platform/user/WindowTable.h"

namespace {

// ---- Drawing helpers -----------------------------------------------------------------------

struct CairoDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

void SetColor(cairo_t* cr, COLORREF color) {
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
}

void ClipTo(cairo_t* cr, const RECT& r, POINT at) {
    cairo_rectangle(cr, r.left + at.x, r.top + at.y, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
}

void FillRectangle(cairo_t* cr, const RECT& r, POINT at, COLORREF color) {
    SetColor(cr, color);
    cairo_rectangle(cr, r.left + at.x, r.top + at.y, r.right - r.left, r.bottom - r.top);
    cairo_fill(cr);
}

std::string ClassOf(HWND hWnd) {
    char name[64];
    GetClassNameA(hWnd, name, sizeof name);
    return name;
}

COLORREF FaceOf(HWND hWnd) {
    std::string name = ClassOf(hWnd);
    if (!crt::_stricmp(name.c_str(), "MDIClient")) return GetSysColor(COLOR_APPWORKSPACE);
    if (!crt::_stricmp(name.c_str(), "Button")) return GetSysColor(COLOR_BTNFACE);
    return GetSysColor(COLOR_WINDOW);
}

// ---- Captions ----------------------------------------------------------------------------------

void DrawCaptionText(cairo_t* cr, HWND hWnd, const RECT& bar, bool active) {
    char text[256];
    GetWindowTextA(hWnd, text, sizeof text);
    cairo_save(cr);
    ClipTo(cr, bar, POINT{0, 0});
    cairo_select_font_face(cr, PLATFORM_FONT_FACE, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    SetColor(cr, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    cairo_move_to(cr, bar.left + 5, bar.top + PLATFORM_FONT_ASCENT + 1);
    cairo_show_text(cr, PlatformToUtf8(text).c_str());
    cairo_restore(cr);
}

enum class Glyph { Minimize, Maximize, Close };

void DrawButton(cairo_t* cr, RECT button, POINT at, Glyph glyph) {
    if (user::isEmpty(button)) return;
    FillRectangle(cr, button, at, GetSysColor(COLOR_BTNFACE));
    double left = button.left + at.x + 4, top = button.top + at.y + 4;
    double right = button.right + at.x - 4, bottom = button.bottom + at.y - 4;
    SetColor(cr, GetSysColor(COLOR_BTNTEXT));
    cairo_set_line_width(cr, 1.5);
    switch (glyph) {
    case Glyph::Minimize:
        cairo_move_to(cr, left, bottom);
        cairo_line_to(cr, right, bottom);
        break;
    case Glyph::Maximize: cairo_rectangle(cr, left, top, right - left, bottom - top); break;
    case Glyph::Close:
        cairo_move_to(cr, left, top);
        cairo_line_to(cr, right, bottom);
        cairo_move_to(cr, right, top);
        cairo_line_to(cr, left, bottom);
        break;
    }
    cairo_stroke(cr);
}

void DrawChildCaption(cairo_t* cr, HWND hWnd, DWORD style, const RECT& r, bool active) {
    user::CaptionLayout caption = user::captionLayout(style, r.right - r.left, r.bottom - r.top);
    POINT at{r.left, r.top};
    RECT bar{r.left, r.top, r.right, r.top + caption.bar.bottom};
    FillRectangle(cr, bar, POINT{0, 0}, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    DrawCaptionText(cr, hWnd, bar, active);
    DrawButton(cr, caption.minimize, at, Glyph::Minimize);
    DrawButton(cr, caption.maximize, at, Glyph::Maximize);
    DrawButton(cr, caption.close, at, Glyph::Close);
}

// ---- Windows --------------------------------------------------------------------------------------

// Draws the window at its place in the buffer, whose top-left is origin on
// the screen.
void DrawWindow(cairo_t* cr, HWND hWnd, POINT origin, bool active) {
    RECT r;
    GetWindowRect(hWnd, &r);
    r = RECT{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
    POINT at{r.left, r.top};
    cairo_save(cr);
    ClipTo(cr, r, POINT{0, 0});
    FillRectangle(cr, r, POINT{0, 0}, FaceOf(hWnd));

    for (const PlatformDrawing& op : PlatformGetWindowDrawing(hWnd)) gdi::Paint(cr, op, at);

    HWND hActive = nullptr;
    if (!crt::_stricmp(ClassOf(hWnd).c_str(), "MDIClient"))
        hActive = reinterpret_cast<HWND>(SendMessageA(hWnd, WM_MDIGETACTIVE, 0, 0));
    for (HWND hChild : user::paintOrder(hWnd)) DrawWindow(cr, hChild, origin, hChild == hActive);

    auto style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
    if ((style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION) DrawChildCaption(cr, hWnd, style, r, active);
    if (style & (WS_BORDER | WS_CAPTION | WS_THICKFRAME)) {
        SetColor(cr, GetSysColor(COLOR_WINDOWFRAME));
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, r.right - r.left - 1, r.bottom - r.top - 1);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

using Context = std::unique_ptr<cairo_t, CairoDeleter>;

// A Cairo context on the caller's buffer, in the one font; null when the
// buffer is unusable.
Context ContextOn(BYTE* pixels, int width, int height, int stride, int scale = 1) {
    if (!pixels || width <= 0 || height <= 0 || stride < cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width))
        return nullptr;
    std::unique_ptr<cairo_surface_t, CairoDeleter> surface(
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_RGB24, width, height, stride));
    Context cr(cairo_create(surface.get()));
    cairo_scale(cr.get(), scale, scale);
    cairo_select_font_face(cr.get(), PLATFORM_FONT_FACE, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr.get(), PLATFORM_FONT_SIZE);
    return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS ? std::move(cr) : nullptr;
}

}  // namespace

// ---- The calls ------------------------------------------------------------------------------------

BOOL PlatformRenderWindow(HWND hWnd, BYTE* pixels, int width, int height, int stride, POINT origin, int nScale) {
    if (!IsWindow(hWnd) || nScale < 1) return FALSE;
    Context cr = ContextOn(pixels, width, height, stride, nScale);
    if (!cr) return FALSE;
    DrawWindow(cr.get(), hWnd, origin, true);
    cairo_surface_flush(cairo_get_target(cr.get()));
    return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}

BOOL PlatformRenderTitleBar(HWND hWnd, BYTE* pixels, int width, int height, int stride) {
    if (!IsWindow(hWnd)) return FALSE;
    Context cr = ContextOn(pixels, width, height, stride);
    if (!cr) return FALSE;
    RECT bar{0, 0, width, PLATFORM_CAPTION_HEIGHT};
    FillRectangle(cr.get(), bar, POINT{0, 0}, GetSysColor(COLOR_ACTIVECAPTION));
    DrawCaptionText(cr.get(), hWnd, bar, true);
    cairo_surface_flush(cairo_get_target(cr.get()));
    return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}
