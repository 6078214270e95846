// Fonts and text with Pango (TextLayout.h).
//
// Sections: faces; the engine; fonts; lines; laying out DrawTextA's text.
#include "platform/gdi/TextLayout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <pango/pangocairo.h>
#include <unordered_map>

#include "platform/crt/Crt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/TextMetrics.h"
#include "platform/kernel/CodePage.h"

namespace gdi {
namespace {

// ---- Faces ---------------------------------------------------------------------------------

// The original's usual faces, mapped to the DejaVu families every fresh
// machine here has (fonts-dejavu-core); any other face goes to fontconfig
// as it is, which falls back to a sans face when it has no such font.
const char* FamilyOf(const LOGFONTA& log) {
    static const struct {
        const char* face;
        const char* family;
    } kFaces[] = {
        {"Arial", "DejaVu Sans"},
        {"MS Sans Serif", "DejaVu Sans"},
        {"Microsoft Sans Serif", "DejaVu Sans"},
        {"MS Shell Dlg", "DejaVu Sans"},
        {"MS Shell Dlg 2", "DejaVu Sans"},
        {"Tahoma", "DejaVu Sans"},
        {"Segoe UI", "DejaVu Sans"},
        {"Verdana", "DejaVu Sans"},
        {"System", "DejaVu Sans"},
        {"Helvetica", "DejaVu Sans"},
        {"Courier New", "DejaVu Sans Mono"},
        {"Courier", "DejaVu Sans Mono"},
        {"Consolas", "DejaVu Sans Mono"},
        {"Lucida Console", "DejaVu Sans Mono"},
        {"Fixedsys", "DejaVu Sans Mono"},
        {"Terminal", "DejaVu Sans Mono"},
        {"Times New Roman", "DejaVu Serif"},
        {"Times", "DejaVu Serif"},
        {"Georgia", "DejaVu Serif"},
        {"MS Serif", "DejaVu Serif"},
    };
    for (const auto& entry : kFaces)
        if (!crt::_stricmp(log.lfFaceName, entry.face)) return entry.family;
    if (log.lfFaceName[0]) return log.lfFaceName;
    if ((log.lfPitchAndFamily & 0x3) == FIXED_PITCH || (log.lfPitchAndFamily & 0xF0) == FF_MODERN)
        return "DejaVu Sans Mono";
    if ((log.lfPitchAndFamily & 0xF0) == FF_ROMAN) return "DejaVu Serif";
    return PLATFORM_FONT_FACE;
}

// ---- The engine ------------------------------------------------------------------------------

using Layout = PangoLayout*;

// One Pango context for the process, used under its lock, with a layout
// kept for each font in use (a new layout for every line would cost more
// than the line). Glyph positions are not hinted, so a width measured here
// is the width drawn at any display scale.
struct Engine {
    std::mutex lock;
    PangoFontMap* map = nullptr;
    PangoContext* context = nullptr;
    std::unordered_map<std::string, Layout> layouts;

    Engine() {
        map = pango_cairo_font_map_new();
        pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(map), 72.0);  // sizes are pixels
        context = pango_font_map_create_context(map);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(context, options);
        cairo_font_options_destroy(options);
    }
    ~Engine() {
        clear();
        g_object_unref(context);
        g_object_unref(map);
    }
    void clear() {
        for (auto& entry : layouts) g_object_unref(entry.second);
        layouts.clear();
    }

    static PangoFontDescription* Describe(const std::string& family, double em, int weight, bool italic) {
        PangoFontDescription* desc = pango_font_description_new();
        pango_font_description_set_family(desc, family.c_str());
        pango_font_description_set_absolute_size(desc, em * PANGO_SCALE);
        pango_font_description_set_weight(desc, static_cast<PangoWeight>(std::clamp(weight ? weight : 400, 100, 1000)));
        pango_font_description_set_style(desc, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        return desc;
    }

    // The layout for the font, its text set; used under the lock.
    Layout layoutFor(const Font& font, std::string_view utf8, int underlineAt) {
        std::string key =
            font.family + '|' + std::to_string(font.em) + '|' + std::to_string(font.weight) + (font.italic ? "i" : "");
        Layout& layout = layouts[key];
        if (!layout) {
            if (layouts.size() > 64) {  // fonts come and go: keep the cache bounded
                clear();
                return layoutFor(font, utf8, underlineAt);
            }
            layout = pango_layout_new(context);
            PangoFontDescription* desc = Describe(font.family, font.em, font.weight, font.italic);
            pango_layout_set_font_description(layout, desc);
            pango_font_description_free(desc);
        }
        pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
        PangoAttrList* attrs = pango_attr_list_new();
        if (font.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (font.strikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        if (underlineAt >= 0 && static_cast<size_t>(underlineAt) < utf8.size()) {
            PangoAttribute* attr = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
            attr->start_index = static_cast<guint>(underlineAt);
            attr->end_index = static_cast<guint>(underlineAt + PlatformUtf8SequenceLength(utf8.substr(underlineAt)));
            pango_attr_list_insert(attrs, attr);
        }
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
        return layout;
    }

    int width(const Font& font, std::string_view utf8) {
        PangoRectangle logical;
        pango_layout_get_extents(layoutFor(font, utf8, -1), nullptr, &logical);
        return static_cast<int>(std::lround(static_cast<double>(logical.width) / PANGO_SCALE));
    }
};

Engine& TheEngine() {
    static Engine engine;  // destroyed before the caches are released at exit
    return engine;
}

}  // namespace

// ---- Fonts ---------------------------------------------------------------------------------------

std::shared_ptr<const Font> ResolveFont(const LOGFONTA& log, double scale) {
    auto font = std::make_shared<Font>();
    font->family = FamilyOf(log);
    font->weight = log.lfWeight ? static_cast<int>(log.lfWeight) : FW_NORMAL;
    font->italic = log.lfItalic;
    font->underline = log.lfUnderline;
    font->strikeout = log.lfStrikeOut;
    Engine& e = TheEngine();
    std::lock_guard<std::mutex> guard(e.lock);
    auto metricsAt = [&](double em) {
        PangoFontDescription* desc = Engine::Describe(font->family, em, font->weight, font->italic);
        PangoFontMetrics* metrics = pango_context_get_metrics(e.context, desc, nullptr);
        pango_font_description_free(desc);
        return metrics;
    };
    if (log.lfHeight == 0) {
        font->em = PLATFORM_FONT_SIZE;
    } else {
        double pixels = std::abs(static_cast<double>(log.lfHeight)) * scale;
        font->em = std::clamp(pixels, 1.0, 4096.0);
        if (log.lfHeight > 0) {  // a cell height: the em is the part of it the face gives its characters
            PangoFontMetrics* reference = metricsAt(100);
            double cell = static_cast<double>(pango_font_metrics_get_ascent(reference) +
                                              pango_font_metrics_get_descent(reference)) /
                          PANGO_SCALE;
            pango_font_metrics_unref(reference);
            if (cell > 0) font->em = std::clamp(pixels * 100 / cell, 1.0, 4096.0);
        }
    }
    PangoFontMetrics* metrics = metricsAt(font->em);
    if (log.lfHeight == 0) {
        font->ascent = PLATFORM_FONT_ASCENT;
        font->descent = PLATFORM_LINE_HEIGHT - PLATFORM_FONT_ASCENT;
    } else {
        font->ascent = static_cast<int>(std::ceil(pango_font_metrics_get_ascent(metrics) / double(PANGO_SCALE)));
        font->descent = static_cast<int>(std::ceil(pango_font_metrics_get_descent(metrics) / double(PANGO_SCALE)));
    }
    font->height = font->ascent + font->descent;
    font->internalLeading = std::max(0, font->height - static_cast<int>(std::lround(font->em)));
    font->aveCharWidth =
        static_cast<int>(std::lround(pango_font_metrics_get_approximate_char_width(metrics) / double(PANGO_SCALE)));
    pango_font_metrics_unref(metrics);
    font->maxCharWidth = std::max(font->aveCharWidth, e.width(*font, "W"));
    return font;
}

// ---- Lines ---------------------------------------------------------------------------------------

int TextWidth(const Font& font, std::string_view utf8) {
    Engine& e = TheEngine();
    std::lock_guard<std::mutex> guard(e.lock);
    return e.width(font, utf8);
}

void ShowText(cairo_t* cr, const Font& font, std::string_view utf8, double x, double top, int underlineAt) {
    Engine& e = TheEngine();
    std::lock_guard<std::mutex> guard(e.lock);
    Layout layout = e.layoutFor(font, utf8, underlineAt);
    double baseline = static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
    cairo_move_to(cr, x, top + font.ascent - baseline);
    pango_cairo_show_layout(cr, layout);
}

// ---- Laying out DrawTextA's text -------------------------------------------------------------------

namespace {

// A line of ANSI text with the & prefixes taken out: the text and the byte
// of the character to underline (-1 for none).
struct Plain {
    std::string text;
    int underlineAt = -1;
};

Plain TakePrefixes(std::string_view line, UINT format) {
    Plain plain;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '&' && !(format & DT_NOPREFIX) && i + 1 < line.size()) {
            ++i;
            if (line[i] != '&' && !(format & DT_HIDEPREFIX)) plain.underlineAt = static_cast<int>(plain.text.size());
        } else if (line[i] == '&' && !(format & DT_NOPREFIX)) {
            continue;  // a trailing & shows nothing
        }
        plain.text += line[i];
    }
    return plain;
}

TextLine ToLine(const Font& font, const Plain& plain) {
    TextLine line;
    if (plain.underlineAt >= 0) {
        line.utf8 = PlatformToUtf8(std::string_view(plain.text).substr(0, plain.underlineAt));
        line.underlineAt = static_cast<int>(line.utf8.size());
        line.utf8 += PlatformToUtf8(std::string_view(plain.text).substr(plain.underlineAt));
    } else {
        line.utf8 = PlatformToUtf8(plain.text);
    }
    line.width = TextWidth(font, line.utf8);
    return line;
}

// Breaks a paragraph between words so that each line fits the width; a
// word wider than the width keeps a line of its own.
std::vector<std::string> BreakWords(const Font& font, const std::string& paragraph, int width) {
    std::vector<std::string> lines;
    std::string current;
    size_t i = 0;
    while (i < paragraph.size()) {
        size_t end = paragraph.find(' ', i);
        if (end == std::string::npos) end = paragraph.size();
        std::string word = paragraph.substr(i, end - i);
        std::string candidate = current.empty() ? word : current + ' ' + word;
        if (!current.empty() && TextWidth(font, PlatformToUtf8(TakePrefixes(candidate, DT_NOPREFIX).text)) > width) {
            lines.push_back(current);
            current = word;
        } else {
            current = candidate;
        }
        i = end + 1;
    }
    lines.push_back(current);
    return lines;
}

// Shortens a line that is wider than the width to what fits with "...".
void EndEllipsis(const Font& font, TextLine& line, int width) {
    if (line.width <= width) return;
    std::string text = line.utf8;
    while (!text.empty()) {
        size_t cut = text.size() - 1;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole characters
        text.erase(cut);
        int w = TextWidth(font, text + "...");
        if (w <= width) break;
    }
    line.utf8 = text + "...";
    if (line.underlineAt >= static_cast<int>(text.size())) line.underlineAt = -1;
    line.width = TextWidth(font, line.utf8);
}

}  // namespace

std::vector<TextLine> LayoutText(const Font& font, std::string_view text, const RECT& rect, UINT format, RECT* bounds) {
    std::vector<std::string> paragraphs;
    if (format & DT_SINGLELINE) {
        std::string one(text);
        std::replace(one.begin(), one.end(), '\n', ' ');
        one.erase(std::remove(one.begin(), one.end(), '\r'), one.end());
        paragraphs.push_back(one);
    } else {
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
            std::string_view p = text.substr(start, end - start);
            if (!p.empty() && p.back() == '\r') p.remove_suffix(1);
            paragraphs.emplace_back(p);
        }
        paragraphs.emplace_back(text.substr(start));
    }
    int width = rect.right - rect.left;
    std::vector<TextLine> lines;
    for (const std::string& paragraph : paragraphs) {
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
            for (const std::string& piece : BreakWords(font, paragraph, width))
                lines.push_back(ToLine(font, TakePrefixes(piece, format)));
        } else {
            lines.push_back(ToLine(font, TakePrefixes(paragraph, format)));
        }
    }
    if (format & DT_END_ELLIPSIS)
        for (TextLine& line : lines) EndEllipsis(font, line, width);

    int height = font.height * static_cast<int>(lines.size());
    int top = rect.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) top += (rect.bottom - rect.top - height) / 2;
        if (format & DT_BOTTOM) top = rect.bottom - height;
    }
    int widest = 0;
    for (TextLine& line : lines) {
        line.x = rect.left;
        if (format & DT_CENTER) line.x += (width - line.width) / 2;
        if (format & DT_RIGHT) line.x = rect.right - line.width;
        line.top = top;
        top += font.height;
        widest = std::max(widest, line.width);
    }
    if (bounds) {
        int left = rect.left;
        if (format & DT_CENTER) left += (width - widest) / 2;
        if (format & DT_RIGHT) left = rect.right - widest;
        *bounds = RECT{left, lines.front().top, left + widest, lines.front().top + height};
    }
    return lines;
}

}  // namespace gdi
