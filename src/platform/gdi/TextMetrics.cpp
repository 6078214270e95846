// Measuring text with Cairo, in the face the renderer draws it with.
#include "platform/gdi/TextMetrics.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/kernel/CodePage.h"

namespace {

std::atomic<bool> keepCaches{false};

void ReleaseCaches() {
    if (keepCaches) return;
    cairo_debug_reset_static_data();
    FcFini();
}

// One measuring context for the process, used under its lock.
struct Measurer {
    std::mutex lock;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    Measurer() {
        PlatformReleaseFontCachesAtExit();  // registered first, so it runs after this object goes
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        cr = cairo_create(surface);
        cairo_select_font_face(cr, PLATFORM_FONT_FACE, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, PLATFORM_FONT_SIZE);
    }
    ~Measurer() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

}  // namespace

void PlatformReleaseFontCachesAtExit() {
    static std::once_flag once;
    std::call_once(once, [] { std::atexit(ReleaseCaches); });
}

void PlatformKeepFontCachesAtExit() { keepCaches = true; }

BOOL GetTextExtentPoint32A(HDC, LPCSTR lpString, int c, SIZE* psizl) {
    if (!lpString || c < 0 || !psizl) return FALSE;
    static Measurer measurer;  // destroyed before the caches are released at exit
    std::lock_guard<std::mutex> guard(measurer.lock);
    std::string text = PlatformToUtf8(std::string_view(lpString, static_cast<size_t>(c)));
    cairo_text_extents_t extents;
    cairo_text_extents(measurer.cr, text.c_str(), &extents);
    psizl->cx = static_cast<LONG>(extents.x_advance + 0.5);
    psizl->cy = PLATFORM_LINE_HEIGHT;
    return TRUE;
}
