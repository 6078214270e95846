// CString and the platform's printf formatting.
#include "platform/atl/Strings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

bool inSet(char ch, LPCTSTR set) { return ch != '\0' && set && std::strchr(set, ch) != nullptr; }

const char* orEmpty(const char* psz) { return psz ? psz : ""; }

// Formats one conversion spec (without %p) with a single argument of type T.
template <class T>
void appendOne(std::string& out, const std::string& spec, int width, int precision, bool hasWidth,
               bool hasPrecision, T value) {
    char small[128];
    int n;
    if (hasWidth && hasPrecision)
        n = std::snprintf(small, sizeof small, spec.c_str(), width, precision, value);
    else if (hasWidth)
        n = std::snprintf(small, sizeof small, spec.c_str(), width, value);
    else if (hasPrecision)
        n = std::snprintf(small, sizeof small, spec.c_str(), precision, value);
    else
        n = std::snprintf(small, sizeof small, spec.c_str(), value);
    if (n < 0) return;
    if (static_cast<size_t>(n) < sizeof small) {
        out.append(small, n);
        return;
    }
    std::string big(static_cast<size_t>(n) + 1, '\0');
    if (hasWidth && hasPrecision)
        std::snprintf(big.data(), big.size(), spec.c_str(), width, precision, value);
    else if (hasWidth)
        std::snprintf(big.data(), big.size(), spec.c_str(), width, value);
    else if (hasPrecision)
        std::snprintf(big.data(), big.size(), spec.c_str(), precision, value);
    else
        std::snprintf(big.data(), big.size(), spec.c_str(), value);
    out.append(big.data(), n);
}

// The glibc length modifier that reads the argument of a conversion with
// the given length as the original runtime reads it: I64 and I (pointer-
// sized here) take 64 bits, I32 and none take an int, h a short; l, ll and
// glibc's own q, j, z and t stay. Null for a combination neither knows.
const char* IntegerLength(const std::string& length) {
    static const struct {
        const char* given;
        const char* glibc;
    } kLengths[] = {{"", ""},    {"h", "h"},   {"hh", "hh"}, {"l", "l"},   {"ll", "ll"}, {"q", "ll"},
                    {"j", "j"},  {"z", "z"},   {"t", "t"},   {"I", "ll"},  {"I32", ""},  {"I64", "ll"}};
    for (const auto& entry : kLengths)
        if (length == entry.given) return entry.glibc;
    return nullptr;
}

}  // namespace

// Walks the format one conversion at a time so that every argument is read
// with its own type. A conversion it does not know ends the walk: the rest
// of the format is copied as it stands and no further argument is read, so
// none is ever read with a type it does not have.
std::string PlatformFormatV(const char* pszFormat, va_list args) {
    std::string out;
    const char* p = orEmpty(pszFormat);
    while (*p) {
        if (*p != '%') {
            const char* q = std::strchr(p, '%');
            size_t n = q ? static_cast<size_t>(q - p) : std::strlen(p);
            out.append(p, n);
            p += n;
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out += '%';
            ++p;
            continue;
        }
        while (*p && std::strchr("-+ #0'", *p)) ++p;
        bool hasWidth = false, hasPrecision = false;
        int width = 0, precision = 0;
        if (*p == '*') {
            hasWidth = true;
            width = va_arg(args, int);
            ++p;
        } else {
            while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
        }
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                hasPrecision = true;
                precision = va_arg(args, int);
                ++p;
            } else {
                while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
            }
        }
        const std::string head(start, p);  // the '%', flags, width and precision
        const char* lengthStart = p;
        if (*p == 'I')
            p += std::strncmp(p, "I64", 3) == 0 || std::strncmp(p, "I32", 3) == 0 ? 3 : 1;
        else
            while (*p && std::strchr("hlLqjzt", *p)) ++p;
        const std::string length(lengthStart, p);
        const char conv = *p;
        const char* integer = IntegerLength(length);
        std::string spec = head + (integer ? integer : "") + conv;
        bool known = true;
        switch (conv) {
        case 'd': case 'i':
            if (!integer)
                known = false;
            else if (std::strcmp(integer, "ll") == 0 || std::strcmp(integer, "j") == 0)
                appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, long long));
            else if (integer[0] == 'l' || integer[0] == 'z' || integer[0] == 't')
                appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, long));
            else
                appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, int));
            break;
        case 'u': case 'o': case 'x': case 'X':
            if (!integer)
                known = false;
            else if (std::strcmp(integer, "ll") == 0 || std::strcmp(integer, "j") == 0)
                appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, unsigned long long));
            else if (integer[0] == 'l' || integer[0] == 'z' || integer[0] == 't')
                appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, unsigned long));
            else
                appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, unsigned int));
            break;
        case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A':
            spec = head + length + conv;
            if (length == "L")
                appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, long double));
            else if (length.empty() || length == "l")
                appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, double));
            else
                known = false;
            break;
        case 'c': case 's':
            // h is the original runtime's mark of a narrow character or text.
            spec = head + conv;
            if (length == "h" || length.empty()) {
                if (conv == 'c')
                    appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, int));
                else  // glibc writes "(null)" for a null text
                    appendOne(out, spec, width, precision, hasWidth, hasPrecision, va_arg(args, const char*));
            } else {
                known = false;
            }
            break;
        case 'p':
            if (length.empty()) {
                char buf[2 * sizeof(void*) + 1];
                std::snprintf(buf, sizeof buf, "%0*jX", static_cast<int>(2 * sizeof(void*)),
                              static_cast<uintmax_t>(reinterpret_cast<uintptr_t>(va_arg(args, void*))));
                out += buf;
            } else {
                known = false;
            }
            break;
        case 'n':  // writing through a format is never wanted here
            if (integer)
                (void)va_arg(args, void*);
            else
                known = false;
            break;
        default:
            known = false;
            break;
        }
        if (!known) {
            out.append(start);
            break;
        }
        ++p;
    }
    return out;
}

CString::CString(const char* psz) : m_str(orEmpty(psz)) {}

CString::CString(const char* pch, int nLength) {
    if (pch && nLength > 0) m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(char ch, int nRepeat) {
    if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString::CString(const unsigned char* psz) : m_str(orEmpty(reinterpret_cast<const char*>(psz))) {}

CString& CString::operator=(const char* psz) {
    m_str = orEmpty(psz);
    return *this;
}

CString& CString::operator=(char ch) {
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& s) {
    m_str += s.m_str;
    return *this;
}

CString& CString::operator+=(const char* psz) {
    m_str += orEmpty(psz);
    return *this;
}

CString& CString::operator+=(char ch) {
    m_str += ch;
    return *this;
}

char CString::GetAt(int nIndex) const {
    return nIndex >= 0 && nIndex < GetLength() ? m_str[static_cast<size_t>(nIndex)] : '\0';
}

void CString::SetAt(int nIndex, char ch) {
    if (nIndex >= 0 && nIndex < GetLength()) m_str[static_cast<size_t>(nIndex)] = ch;
}

int CString::Compare(LPCTSTR psz) const { return std::strcmp(m_str.c_str(), orEmpty(psz)); }

int CString::CompareNoCase(LPCTSTR psz) const {
    // ASCII letters fold to lower case, as the runtime's _stricmp folds them.
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : static_cast<unsigned char>(c); };
    for (const char *a = m_str.c_str(), *b = orEmpty(psz);; ++a, ++b) {
        int diff = fold(*a) - fold(*b);
        if (diff != 0 || *a == '\0') return diff;
    }
}

CString CString::Left(int nCount) const {
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const {
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(nCount)));
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
    nFirst = std::clamp(nFirst, 0, GetLength());
    nCount = std::clamp(nCount, 0, GetLength() - nFirst);
    return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::SpanIncluding(LPCTSTR pszCharSet) const {
    size_t n = 0;
    while (n < m_str.size() && inSet(m_str[n], pszCharSet)) ++n;
    return CString(m_str.substr(0, n));
}

CString CString::SpanExcluding(LPCTSTR pszCharSet) const {
    size_t n = 0;
    while (n < m_str.size() && !inSet(m_str[n], pszCharSet)) ++n;
    return CString(m_str.substr(0, n));
}

int CString::Find(char ch, int nStart) const {
    if (nStart < 0) nStart = 0;
    if (nStart >= GetLength()) return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCTSTR pszSub, int nStart) const {
    if (nStart < 0) nStart = 0;
    if (nStart > GetLength()) return -1;
    size_t pos = m_str.find(orEmpty(pszSub), static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
    size_t pos = m_str.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCTSTR pszCharSet) const {
    for (size_t i = 0; i < m_str.size(); ++i)
        if (inSet(m_str[i], pszCharSet)) return static_cast<int>(i);
    return -1;
}

int CString::Replace(char chOld, char chNew) {
    int n = 0;
    for (char& c : m_str)
        if (c == chOld) {
            c = chNew;
            ++n;
        }
    return n;
}

// One left-to-right pass into a new buffer, so the cost is linear whatever
// the lengths of the two texts.
int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew) {
    std::string_view from(orEmpty(pszOld));
    if (from.empty()) return 0;
    std::string_view to(orEmpty(pszNew));
    size_t pos = m_str.find(from);
    if (pos == std::string::npos) return 0;
    std::string out;
    out.reserve(m_str.size());
    size_t last = 0;
    int n = 0;
    while (pos != std::string::npos) {
        out.append(m_str, last, pos - last);
        out.append(to);
        last = pos + from.size();
        ++n;
        pos = m_str.find(from, last);
    }
    out.append(m_str, last, std::string::npos);
    m_str.swap(out);
    return n;
}

int CString::Remove(char ch) {
    size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, char ch) {
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_str.insert(static_cast<size_t>(nIndex), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR psz) {
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_str.insert(static_cast<size_t>(nIndex), orEmpty(psz));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
    if (nIndex < 0) nIndex = 0;
    if (nCount > 0 && nIndex < GetLength())
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    return GetLength();
}

void CString::MakeUpper() {
    for (char& c : m_str) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void CString::MakeLower() {
    for (char& c : m_str) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

void CString::MakeReverse() { std::reverse(m_str.begin(), m_str.end()); }

void CString::TrimLeft() {
    size_t n = 0;
    while (n < m_str.size() && std::isspace(static_cast<unsigned char>(m_str[n]))) ++n;
    m_str.erase(0, n);
}

void CString::TrimLeft(char chTarget) {
    size_t n = 0;
    while (n < m_str.size() && m_str[n] == chTarget) ++n;
    m_str.erase(0, n);
}

void CString::TrimLeft(LPCTSTR pszTargets) {
    size_t n = 0;
    while (n < m_str.size() && inSet(m_str[n], pszTargets)) ++n;
    m_str.erase(0, n);
}

void CString::TrimRight() {
    size_t n = m_str.size();
    while (n > 0 && std::isspace(static_cast<unsigned char>(m_str[n - 1]))) --n;
    m_str.resize(n);
}

void CString::TrimRight(char chTarget) {
    size_t n = m_str.size();
    while (n > 0 && m_str[n - 1] == chTarget) --n;
    m_str.resize(n);
}

void CString::TrimRight(LPCTSTR pszTargets) {
    size_t n = m_str.size();
    while (n > 0 && inSet(m_str[n - 1], pszTargets)) --n;
    m_str.resize(n);
}

void CString::Format(LPCTSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCTSTR pszFormat, va_list args) { m_str = PlatformFormatV(pszFormat, args); }

LPTSTR CString::GetBuffer(int nMinLength) {
    if (nMinLength > GetLength()) m_str.resize(static_cast<size_t>(nMinLength));
    return m_str.data();
}

LPTSTR CString::GetBufferSetLength(int nLength) {
    m_str.resize(static_cast<size_t>(std::max(nLength, 0)));
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0)
        nNewLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(std::min(nNewLength, GetLength())));
}

CString operator+(const CString& a, const CString& b) { return CString(a.str() + b.str()); }
CString operator+(const CString& a, const char* b) { return CString(a.str() + orEmpty(b)); }
CString operator+(const char* a, const CString& b) { return CString(orEmpty(a) + b.str()); }
CString operator+(const CString& a, char b) { return CString(a.str() + b); }
CString operator+(char a, const CString& b) { return CString(std::string(1, a) + b.str()); }

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
