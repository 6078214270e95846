// The original C runtime's extras: paths, rand, radix conversion, strtod,
// _ftol and ASCII case-insensitive strings.
#include "platform/crt/Crt.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <locale.h>
#include <string>
#include <string_view>

namespace crt {
namespace {

struct PathParts {
    std::string_view drive, dir, fname, ext;
};

PathParts Split(const char* path) {
    std::string_view rest = path ? path : "";
    PathParts parts;
    if (rest.size() >= 2 && rest[1] == ':') {
        parts.drive = rest.substr(0, 2);
        rest.remove_prefix(2);
    }
    size_t slash = rest.find_last_of("\\/");
    if (slash != std::string_view::npos) {
        parts.dir = rest.substr(0, slash + 1);
        rest.remove_prefix(slash + 1);
    }
    size_t dot = rest.rfind('.');
    parts.fname = rest.substr(0, dot);
    if (dot != std::string_view::npos) parts.ext = rest.substr(dot);
    return parts;
}

// Copies as much of text as fits, always terminated; a null out is skipped.
void CopyCut(std::string_view text, char* out, size_t size) {
    if (!out || size == 0) return;
    size_t n = std::min(text.size(), size - 1);
    if (n) std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

std::string Join(const char* drive, const char* dir, const char* fname, const char* ext) {
    std::string path;
    if (drive && *drive) {
        path += drive[0];
        path += ':';
    }
    if (dir && *dir) {
        path += dir;
        if (path.back() != '\\' && path.back() != '/') path += '\\';
    }
    if (fname) path += fname;
    if (ext && *ext) {
        if (*ext != '.') path += '.';
        path += ext;
    }
    return path;
}

errno_t WriteNumber(uint32_t magnitude, bool negative, int radix, char* buffer, size_t size) {
    if (!buffer || size == 0) return EINVAL;
    buffer[0] = '\0';
    if (radix < 2 || radix > 36) return EINVAL;
    char digits[32];
    size_t count = 0;
    do {
        digits[count++] = "0123456789abcdefghijklmnopqrstuvwxyz"[magnitude % uint32_t(radix)];
        magnitude /= uint32_t(radix);
    } while (magnitude);
    if (count + (negative ? 1 : 0) + 1 > size) return ERANGE;
    char* out = buffer;
    if (negative) *out++ = '-';
    while (count) *out++ = digits[--count];
    *out = '\0';
    return 0;
}

errno_t WriteSigned(int32_t value, int radix, char* buffer, size_t size) {
    bool negative = radix == 10 && value < 0;
    uint32_t bits = static_cast<uint32_t>(value);
    return WriteNumber(negative ? 0u - bits : bits, negative, radix, buffer, size);
}

// Longest text _itoa and its kin write: 32 binary digits and the terminator.
constexpr size_t kNumberBuffer = 33;

int FoldCase(char ch) {
    unsigned char byte = static_cast<unsigned char>(ch);
    return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
}

thread_local uint32_t t_randState = 1;

}  // namespace

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
    PathParts parts = Split(path);
    CopyCut(parts.drive, drive, _MAX_DRIVE);
    CopyCut(parts.dir, dir, _MAX_DIR);
    CopyCut(parts.fname, fname, _MAX_FNAME);
    CopyCut(parts.ext, ext, _MAX_EXT);
}

errno_t _splitpath_s(const char* path, char* drive, size_t driveSize, char* dir, size_t dirSize, char* fname,
                     size_t fnameSize, char* ext, size_t extSize) {
    struct Output {
        char* buffer;
        size_t size;
        std::string_view part;
    };
    PathParts parts = Split(path);
    Output outputs[] = {{drive, driveSize, parts.drive},
                        {dir, dirSize, parts.dir},
                        {fname, fnameSize, parts.fname},
                        {ext, extSize, parts.ext}};
    errno_t result = path ? 0 : EINVAL;
    for (const Output& out : outputs) {
        if ((out.buffer == nullptr) != (out.size == 0)) result = EINVAL;
        else if (out.buffer && out.part.size() >= out.size && result == 0) result = ERANGE;
    }
    for (const Output& out : outputs) CopyCut(result == 0 ? out.part : std::string_view(), out.buffer, out.size);
    return result;
}

void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext) {
    CopyCut(Join(drive, dir, fname, ext), path, _MAX_PATH);
}

errno_t _makepath_s(char* path, size_t pathSize, const char* drive, const char* dir, const char* fname,
                    const char* ext) {
    if (!path || pathSize == 0) return EINVAL;
    std::string joined = Join(drive, dir, fname, ext);
    if (joined.size() >= pathSize) {
        path[0] = '\0';
        return ERANGE;
    }
    CopyCut(joined, path, pathSize);
    return 0;
}

void srand(unsigned int seed) { t_randState = seed; }

int rand() {
    t_randState = t_randState * 214013u + 2531011u;
    return static_cast<int>((t_randState >> 16) & CRT_RAND_MAX);
}

char* _itoa(int value, char* buffer, int radix) {
    WriteSigned(value, radix, buffer, kNumberBuffer);
    return buffer;
}

char* _ltoa(LONG value, char* buffer, int radix) {
    WriteSigned(value, radix, buffer, kNumberBuffer);
    return buffer;
}

char* _ultoa(ULONG value, char* buffer, int radix) {
    WriteNumber(value, false, radix, buffer, kNumberBuffer);
    return buffer;
}

errno_t _itoa_s(int value, char* buffer, size_t size, int radix) { return WriteSigned(value, radix, buffer, size); }

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipDigits(const char* p) {
    while (IsDigit(*p)) ++p;
    return p;
}

}  // namespace

double strtod(const char* text, char** end) {
    if (end) *end = const_cast<char*>(text);
    if (!text) return 0.0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const char* number = p;
    if (*p == '+' || *p == '-') ++p;
    const char* whole = p;
    p = SkipDigits(p);
    bool mantissa = p > whole;
    if (*p == '.') {
        const char* fraction = p + 1;
        const char* after = SkipDigits(fraction);
        mantissa = mantissa || after > fraction;
        if (mantissa) p = after;
    }
    if (!mantissa) return 0.0;
    // Only a decimal text reaches the C library, with 'e' for the exponent.
    std::string decimal(number, p);
    if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (IsDigit(*exponent)) {
            decimal += 'e';
            decimal.append(p + 1, SkipDigits(exponent));
            p = SkipDigits(exponent);
        }
    }
    static const locale_t classic = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (end) *end = const_cast<char*>(p);
    return ::strtod_l(decimal.c_str(), nullptr, classic);
}

double atof(const char* text) { return strtod(text, nullptr); }

LONG _ftol(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0) return INT32_MAX;
    if (value <= -2147483649.0) return INT32_MIN;
    return static_cast<LONG>(value);
}

char* _strupr(char* str) {
    for (char* p = str; p && *p; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - ('a' - 'A'));
    return str;
}

char* _strlwr(char* str) {
    for (char* p = str; p && *p; ++p) *p = static_cast<char>(FoldCase(*p));
    return str;
}

int _stricmp(const char* a, const char* b) { return _strnicmp(a, b, SIZE_MAX); }

int _strnicmp(const char* a, const char* b, size_t count) {
    if (!a || !b) return _NLSCMPERROR;
    for (size_t i = 0; i < count; ++i) {
        int diff = FoldCase(a[i]) - FoldCase(b[i]);
        if (diff != 0 || a[i] == '\0') return diff;
    }
    return 0;
}

}  // namespace crt
