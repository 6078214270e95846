// Pictures of windows: the painter's pixels (Render.h) written as PNG.
#include "platform/mfc/Snapshot.h"

#include <cairo.h>

#include <memory>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/mfc/Files.h"
#include "platform/user/Render.h"

namespace {

constexpr int kMaxSide = 8192;

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};

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
    int bar = (GetWindowLongA(hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION ? PLATFORM_CAPTION_HEIGHT : 0;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height + bar));
    BYTE* pixels = cairo_image_surface_get_data(surface.get());
    int stride = cairo_image_surface_get_stride(surface.get());
    bool drawn = pixels && PlatformRenderWindow(hWnd, pixels + bar * stride, width, height, stride, POINT{r.left, r.top});
    if (drawn && bar) drawn = PlatformRenderTitleBar(hWnd, pixels, width, bar, stride);
    cairo_surface_mark_dirty(surface.get());
    std::string png;
    if (!drawn || cairo_surface_write_to_png_stream(surface.get(), Append, &png) != CAIRO_STATUS_SUCCESS) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return WriteReplacing(lpszPngPath, png);
}
