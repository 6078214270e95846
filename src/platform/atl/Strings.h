// CString: the platform's 8-bit string with a counted length.
//
// The length is counted, not found by a terminating zero: a string may hold
// zero characters (SetAt with '\0' keeps the length), and the C-string view
// (operator LPCTSTR) then stops at the first of them. Results follow the
// original platform where they differ from std::string:
//   - Find of an empty text returns the start index (also at the end); a start
//     index beyond the length finds nothing.
//   - Replace with an empty search text replaces nothing.
//   - Left, Mid and Right clamp negative and too-large counts.
//   - Format is printf as glibc (a null %s gives "(null)"), with the original
//     runtime's size prefixes for every integer conversion: I64 and I (the
//     pointer's size, 64 bits here) read 64 bits, I32 32 bits, beside h, l
//     and ll. %p is upper-case hex, zero-padded to the pointer width, with no
//     prefix. A conversion it does not know (such as %S, a wide text) ends
//     the formatting: the rest of the format is copied as it stands and no
//     later argument is read. Format carries no printf format attribute, as
//     the compiler's check reads I64 as glibc's own I flag and would reject
//     correct calls.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/shared/Types.h"

class PLATFORM_API CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(char ch, int nRepeat = 1);
    CString(const unsigned char* psz);
    explicit CString(const std::string& s) : m_str(s) {}
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* psz);
    CString& operator=(char ch);

    CString& operator+=(const CString& s);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    // Index access; an index outside 0..GetLength()-1 reads as '\0' and a
    // SetAt outside that range changes nothing.
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch);

    operator LPCTSTR() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }

    int Compare(LPCTSTR psz) const;
    int CompareNoCase(LPCTSTR psz) const;
    int Collate(LPCTSTR psz) const { return Compare(psz); }

    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString SpanIncluding(LPCTSTR pszCharSet) const;
    CString SpanExcluding(LPCTSTR pszCharSet) const;

    int Find(char ch) const { return Find(ch, 0); }
    int Find(char ch, int nStart) const;
    int Find(LPCTSTR pszSub) const { return Find(pszSub, 0); }
    int Find(LPCTSTR pszSub, int nStart) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCTSTR pszCharSet) const;

    int Replace(char chOld, char chNew);
    int Replace(LPCTSTR pszOld, LPCTSTR pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCTSTR psz);
    int Delete(int nIndex, int nCount = 1);

    void MakeUpper();
    void MakeLower();
    void MakeReverse();
    void TrimLeft();
    void TrimLeft(char chTarget);
    void TrimLeft(LPCTSTR pszTargets);
    void TrimRight();
    void TrimRight(char chTarget);
    void TrimRight(LPCTSTR pszTargets);

    void Format(LPCTSTR pszFormat, ...);
    // Replaces the text with string nID of the string tables: of the module
    // given, or else of the resource handle and then the extension modules
    // (AfxFindResourceHandle). FALSE, the text unchanged, when there is none.
    // Defined with the framework's resource handles (mfc/ResourceHandles.cpp).
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);
    void FormatV(LPCTSTR pszFormat, va_list args);

    // Writable buffer of at least nMinLength characters plus a terminator.
    // ReleaseBuffer(-1) takes the length up to the first zero character.
    LPTSTR GetBuffer(int nMinLength);
    LPTSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::string m_str;
};

PLATFORM_API CString operator+(const CString& a, const CString& b);
PLATFORM_API CString operator+(const CString& a, const char* b);
PLATFORM_API CString operator+(const char* a, const CString& b);
PLATFORM_API CString operator+(const CString& a, char b);
PLATFORM_API CString operator+(char a, const CString& b);

// Comparisons are of the C-string views, as the original platform's are.
PLATFORM_API bool operator==(const CString& a, const CString& b);
PLATFORM_API bool operator==(const CString& a, const char* b);
PLATFORM_API bool operator==(const char* a, const CString& b);
inline bool operator!=(const CString& a, const CString& b) { return !(a == b); }
inline bool operator!=(const CString& a, const char* b) { return !(a == b); }
inline bool operator!=(const char* a, const CString& b) { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }

// printf into a std::string with the platform's conversions (see Format).
PLATFORM_API std::string PlatformFormatV(const char* pszFormat, va_list args);
