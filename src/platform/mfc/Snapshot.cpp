// Rendering windows and their recorded drawing with Cairo.
#include "platform/mfc/Snapshot.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/crt/Crt.h"
#include "platform/crt/Stdio.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/kernel/Errors.h"
#include "platform/mfc/Files.h"
#include "platform/mfc/Frames.h"

namespace {

constexpr int kMaxSide = 8192;
constexpr double kLineHeight = 16;
constexpr double kAscent = 12;
constexpr double kFontSize = 12;
constexpr const char* kFont = "DejaVu Sans";

// Cairo and fontconfig keep font caches for the process; they are released
// at exit, so that a process that drew pictures ends without leaks.
void ReleaseCachesAtExit() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::atexit([] {
            cairo_debug_reset_static_data();
            FcFini();
        });
    });
}

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

// One line of text with its top-left at (x, y), behind it the background
// colour when the mode is OPAQUE.
void DrawLine(cairo_t* cr, const std::string& line, double x, double y, const PlatformDrawing& op) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, line.c_str(), &extents);
    if (op.bkMode == OPAQUE) {
        SetColor(cr, op.bkColor);
        cairo_rectangle(cr, x, y, extents.x_advance, kLineHeight);
        cairo_fill(cr);
    }
    SetColor(cr, op.color);
    cairo_move_to(cr, x, y + kAscent);
    cairo_show_text(cr, line.c_str());
}

void DrawText(cairo_t* cr, const PlatformDrawing& op, POINT at) {
    const RECT& r = op.rect;
    if (!(op.format & DT_NOCLIP)) ClipTo(cr, r, at);
    std::vector<std::string> lines;
    if (op.format & DT_SINGLELINE) {
        lines.push_back(op.text);
    } else {
        size_t start = 0;
        for (size_t end; (end = op.text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(op.text.substr(start, end - start));
        lines.push_back(op.text.substr(start));
    }
    double height = kLineHeight * static_cast<double>(lines.size());
    double top = r.top + at.y;
    if (op.format & DT_VCENTER) top += (r.bottom - r.top - height) / 2;
    if (op.format & DT_BOTTOM) top = r.bottom + at.y - height;
    for (const std::string& line : lines) {
        cairo_text_extents_t extents;
        cairo_text_extents(cr, line.c_str(), &extents);
        double left = r.left + at.x;
        if (op.format & DT_CENTER) left += (r.right - r.left - extents.x_advance) / 2;
        if (op.format & DT_RIGHT) left = r.right + at.x - extents.x_advance;
        DrawLine(cr, line, left, top, op);
        top += kLineHeight;
    }
}

void DrawCaption(cairo_t* cr, HWND hWnd, const RECT& r, bool active) {
    RECT bar{r.left, r.top, r.right, r.top + PLATFORM_SNAPSHOT_CAPTION};
    FillRectangle(cr, bar, POINT{0, 0}, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    char text[256];
    GetWindowTextA(hWnd, text, sizeof text);
    cairo_save(cr);
    ClipTo(cr, bar, POINT{0, 0});
    cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    SetColor(cr, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    cairo_move_to(cr, r.left + 5, r.top + kAscent + 1);
    cairo_show_text(cr, text);
    cairo_restore(cr);
}

// Draws the window at its place in the picture, whose top-left is origin on
// the screen. The pictured window's own title bar goes above it.
void DrawWindow(cairo_t* cr, HWND hWnd, POINT origin, bool active, bool pictured = false) {
    RECT r;
    GetWindowRect(hWnd, &r);
    r = RECT{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
    POINT at{r.left, r.top};
    cairo_save(cr);
    ClipTo(cr, r, POINT{0, 0});
    FillRectangle(cr, r, POINT{0, 0}, FaceOf(hWnd));

    for (const PlatformDrawing& op : PlatformGetWindowDrawing(hWnd)) {
        cairo_save(cr);
        ClipTo(cr, op.clip, at);
        if (op.kind == PlatformDrawing::Kind::fill)
            FillRectangle(cr, op.rect, at, op.color);
        else
            DrawText(cr, op, at);
        cairo_restore(cr);
    }

    HWND hActive = nullptr;
    if (!crt::_stricmp(ClassOf(hWnd).c_str(), "MDIClient"))
        hActive = reinterpret_cast<HWND>(SendMessageA(hWnd, WM_MDIGETACTIVE, 0, 0));
    std::vector<HWND> children;
    for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        if ((GetWindowLongA(hChild, GWL_STYLE) & WS_VISIBLE) && hChild != hActive) children.push_back(hChild);
    if (hActive && (GetWindowLongA(hActive, GWL_STYLE) & WS_VISIBLE)) children.push_back(hActive);
    for (HWND hChild : children) DrawWindow(cr, hChild, origin, hChild == hActive);

    auto style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
    bool caption = (style & WS_CAPTION) == WS_CAPTION;
    if (caption && !pictured) DrawCaption(cr, hWnd, r, active);
    if (style & (WS_BORDER | WS_CAPTION | WS_THICKFRAME)) {
        SetColor(cr, GetSysColor(COLOR_WINDOWFRAME));
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, r.right - r.left - 1, r.bottom - r.top - 1);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    if (caption && pictured)
        DrawCaption(cr, hWnd, RECT{r.left, r.top - PLATFORM_SNAPSHOT_CAPTION, r.right, r.bottom}, true);
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Writes the bytes to a new file beside the target, then puts it in the
// target's place.
BOOL WriteReplacing(LPCTSTR lpszPath, const std::string& bytes) {
    CString temp;
    CFile file;
    if (!PlatformCreateTempFile(lpszPath, temp, file)) return FALSE;
    try {
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    } catch (CFileException* e) {
        SetLastError(static_cast<DWORD>(e->m_lOsError));
        e->Delete();
        file.Abort();
        DeleteFileA(temp);
        return FALSE;
    }
    if (MoveFileExA(temp, lpszPath, MOVEFILE_REPLACE_EXISTING)) return TRUE;
    DWORD error = GetLastError();
    DeleteFileA(temp);
    SetLastError(error);
    return FALSE;
}

}  // namespace

BOOL PlatformSnapshotWindow(HWND hWnd, LPCTSTR lpszPngPath) {
    RECT r;
    if (!lpszPngPath || !GetWindowRect(hWnd, &r)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int width = r.right - r.left, height = r.bottom - r.top;
    int bar = (GetWindowLongA(hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION ? PLATFORM_SNAPSHOT_CAPTION : 0;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ReleaseCachesAtExit();
    std::unique_ptr<cairo_surface_t, CairoDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height + bar));
    std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
    cairo_select_font_face(cr.get(), kFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr.get(), kFontSize);
    DrawWindow(cr.get(), hWnd, POINT{r.left, r.top - bar}, true, true);
    cairo_surface_flush(surface.get());
    std::string png;
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_write_to_png_stream(surface.get(), Append, &png) != CAIRO_STATUS_SUCCESS) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return WriteReplacing(lpszPngPath, png);
}
