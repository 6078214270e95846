// The code page (UTF-8) and its conversion to the desktop's UTF-8, reading
// stray bytes as Windows-1252 (CodePage.h).
#include "platform/kernel/CodePage.h"

namespace {

// Windows-1252's characters for 0x80..0x9F; the undefined ones are the C1
// controls of the same numbers. 0xA0..0xFF are Latin-1's.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

UINT GetACP() { return CP_UTF8; }

size_t PlatformUtf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // no overlong forms
        if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || at(1) < low || at(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (!IsContinuation(at(i))) return 0;
    return length;
}

std::string PlatformToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (size_t length = PlatformUtf8SequenceLength(text.substr(i))) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        auto byte = static_cast<unsigned char>(text[i++]);
        AppendUtf8(out, byte < 0xA0 ? kWindows1252High[byte - 0x80] : static_cast<char32_t>(byte));
    }
    return out;
}
