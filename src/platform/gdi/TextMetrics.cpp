// Drawing and measuring text in the selected font (TextMetrics.h).
#include "platform/gdi/TextMetrics.h"

#include <cmath>
#include <cstring>
#include <string>

#include "platform/gdi/DcTable.h"
#include "platform/kernel/CodePage.h"

using gdi::DeviceContext;
using gdi::WithContext;

namespace {

int Count(LPCSTR text, int c) { return c == -1 ? (text ? static_cast<int>(std::strlen(text)) : 0) : c; }

LONG Logical(double device, double scale) { return static_cast<LONG>(std::lround(device / scale)); }

// Records one text operation in device units.
void RecordText(HDC hdc, DeviceContext& dc, const RECT& rect, const RECT* clip, std::string text, UINT format) {
    PlatformDrawing op;
    op.kind = PlatformDrawing::Kind::text;
    op.rect = rect;
    op.color = dc.text;
    op.bkColor = dc.bk;
    op.bkMode = dc.bkMode;
    op.format = format;
    op.text = std::move(text);
    op.font = dc.resolvedFont;
    RECT saved = dc.clip;
    if (clip)
        dc.clip = RECT{std::max(saved.left, clip->left), std::max(saved.top, clip->top),
                       std::min(saved.right, clip->right), std::min(saved.bottom, clip->bottom)};
    gdi::Record(hdc, dc, std::move(op));
    dc.clip = saved;
}

// TextOut and ExtTextOut: the text placed by the alignment at (x, y) or the
// current position.
BOOL PlaceText(HDC hdc, int x, int y, LPCSTR lpString, int c, UINT options, const RECT* lprect) {
    c = Count(lpString, c);
    if (c < 0 || (c > 0 && !lpString)) return FALSE;
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        const gdi::Font& font = dc.currentFont();
        std::string text(lpString ? lpString : "", static_cast<size_t>(c));
        bool updateCp = dc.textAlign & TA_UPDATECP;
        POINT at = dc.toDevice(updateCp ? dc.position : POINT{x, y});
        UINT horizontal = dc.textAlign & TA_CENTER, vertical = dc.textAlign & TA_BASELINE;
        // Laying the line out is most of a call's cost: left-aligned text
        // that leaves the current position alone needs no width.
        int width = horizontal != TA_LEFT || updateCp ? gdi::TextWidth(font, PlatformToUtf8(text)) : 0;
        if (horizontal == TA_CENTER) at.x -= width / 2;
        if (horizontal == TA_RIGHT) at.x -= width;
        if (vertical == TA_BASELINE) at.y -= font.ascent;
        if (vertical == TA_BOTTOM) at.y -= font.height;
        RECT box;
        if (lprect) box = dc.toDevice(*lprect);
        if (lprect && (options & ETO_OPAQUE)) {
            PlatformDrawing fill;
            fill.kind = PlatformDrawing::Kind::fill;
            fill.rect = box;
            fill.color = dc.bk;
            gdi::Record(hdc, dc, std::move(fill));
        }
        RecordText(hdc, dc, RECT{at.x, at.y, at.x, at.y}, lprect && (options & ETO_CLIPPED) ? &box : nullptr,
                   std::move(text), DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        if (updateCp && horizontal != TA_CENTER) {
            double advance = width * static_cast<double>(dc.windowExt.cx) / dc.viewportExt.cx;
            dc.position.x += static_cast<LONG>(std::lround(horizontal == TA_RIGHT ? -advance : advance));
        }
        return TRUE;
    });
}

}  // namespace

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) { return PlaceText(hdc, x, y, lpString, c, 0, nullptr); }

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c, const int*) {
    return PlaceText(hdc, x, y, lpString, static_cast<int>(c), options, lprect);
}

int DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    int count = Count(lpchText, cchText);
    if (!lprc || count < 0 || (count > 0 && !lpchText)) return 0;
    return WithContext(hdc, 0, [&](DeviceContext& dc) {
        const gdi::Font& font = dc.currentFont();
        std::string text(lpchText ? lpchText : "", static_cast<size_t>(count));
        RECT device = dc.toDevice(*lprc), bounds;
        gdi::LayoutText(font, text, device, format, &bounds);
        int height = bounds.bottom - bounds.top;
        if (format & DT_CALCRECT) {
            POINT corner = dc.toLogical(POINT{device.left + (bounds.right - bounds.left), device.top + height});
            lprc->right = corner.x;
            lprc->bottom = corner.y;
        } else {
            RecordText(hdc, dc, device, nullptr, std::move(text), format);
        }
        return static_cast<int>(Logical(height, dc.scaleY()));
    });
}

UINT SetTextAlign(HDC hdc, UINT align) {
    return WithContext(hdc, UINT(GDI_ERROR), [align](DeviceContext& dc) { return std::exchange(dc.textAlign, align); });
}

UINT GetTextAlign(HDC hdc) {
    return WithContext(hdc, UINT(GDI_ERROR), [](DeviceContext& dc) { return dc.textAlign; });
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, SIZE* psizl) {
    if (!lpString || c < 0 || !psizl) return FALSE;
    std::string utf8 = PlatformToUtf8(std::string_view(lpString, static_cast<size_t>(c)));
    if (!hdc) {
        static const std::shared_ptr<const gdi::Font> stock = gdi::ResolveFont(LOGFONTA{}, 1);
        *psizl = SIZE{gdi::TextWidth(*stock, utf8), stock->height};
        return TRUE;
    }
    return WithContext(hdc, FALSE, [&](DeviceContext& dc) {
        const gdi::Font& font = dc.currentFont();
        *psizl = SIZE{Logical(gdi::TextWidth(font, utf8), dc.scaleX()), Logical(font.height, dc.scaleY())};
        return TRUE;
    });
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
    if (!lptm) return FALSE;
    return WithContext(hdc, FALSE, [lptm](DeviceContext& dc) {
        const gdi::Font& f = dc.currentFont();
        double sx = dc.scaleX(), sy = dc.scaleY();
        *lptm = TEXTMETRICA{};
        lptm->tmHeight = Logical(f.height, sy);
        lptm->tmAscent = Logical(f.ascent, sy);
        lptm->tmDescent = lptm->tmHeight - lptm->tmAscent;
        lptm->tmInternalLeading = Logical(f.internalLeading, sy);
        lptm->tmExternalLeading = 0;
        lptm->tmAveCharWidth = Logical(f.aveCharWidth, sx);
        lptm->tmMaxCharWidth = Logical(f.maxCharWidth, sx);
        lptm->tmWeight = f.weight;
        lptm->tmDigitizedAspectX = lptm->tmDigitizedAspectY = 96;
        lptm->tmFirstChar = 0x20;
        lptm->tmLastChar = 0xFF;
        lptm->tmDefaultChar = '?';
        lptm->tmBreakChar = ' ';
        lptm->tmItalic = f.italic;
        lptm->tmUnderlined = f.underline;
        lptm->tmStruckOut = f.strikeout;
        lptm->tmPitchAndFamily = dc.fontObject.font.lfPitchAndFamily;
        lptm->tmCharSet = dc.fontObject.font.lfCharSet;
        return TRUE;
    });
}

int GetTextFaceA(HDC hdc, int c, LPSTR lpName) {
    if (c <= 0 || !lpName) return 0;
    return WithContext(hdc, 0, [&](DeviceContext& dc) {
        const char* face = dc.fontObject.font.lfFaceName[0] ? dc.fontObject.font.lfFaceName : PLATFORM_FONT_FACE;
        size_t n = std::min(std::strlen(face), static_cast<size_t>(c - 1));
        std::memcpy(lpName, face, n);
        lpName[n] = '\0';
        return static_cast<int>(n);
    });
}
