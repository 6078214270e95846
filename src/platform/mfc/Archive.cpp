// CArchive: its buffering, CArchiveException, and values in the original's byte
// layouts (numbers, counts, strings, text lines, geometry, times).
#include "platform/mfc/Archive.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "platform/mfc/ArchiveIndex.h"

namespace {

constexpr int kMinBufSize = 128;
// The archive's own buffer is at least this large: here a system call costs
// more than copying 4 KiB, so storing through the original's 4,096 bytes
// would spend most of its time in the kernel.
constexpr int kOwnBufSize = 64 * 1024;

}  // namespace

IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    static const char* const kTexts[] = {
        "No error occurred.",
        "An unexpected error occurred while accessing",
        "An attempt was made to write to the reading",
        "An attempt was made to read past the end of",
        "An attempt was made to read from the writing",
        "An invalid object index was found in",
        "An object of the wrong type was found in",
        "An object of an unknown schema was found in",
    };
    const char* text = m_cause >= none && m_cause <= badSchema ? kTexts[m_cause] : kTexts[genericException];
    CString message = text;
    if (m_cause != none)
        message += CString(" archive ") + (m_strFileName.IsEmpty() ? CString("(unnamed)") : m_strFileName) + ".";
    return AfxCopyErrorText(message, lpszError, nMaxError);
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) {
    throw new CArchiveException(cause, lpszArchiveName);
}

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf) : m_pFile(pFile), m_nMode(nMode) {
    m_bUserBuf = lpBuf && nBufSize >= kMinBufSize;
    m_nBufSize = static_cast<UINT>(std::max(nBufSize, m_bUserBuf ? kMinBufSize : kOwnBufSize));
    m_lpBufStart = m_bUserBuf ? static_cast<BYTE*>(lpBuf) : new BYTE[m_nBufSize];
    m_lpBufCur = m_lpBufMax = m_lpStoreMax = m_lpLoadMax = m_lpBufStart;
    if (!pFile) return;  // every operation takes the slow path, which refuses
    if (IsStoring()) m_lpBufMax = m_lpStoreMax = m_lpBufStart + m_nBufSize;
    m_strFileName = pFile->GetFilePath();
}

CArchive::~CArchive() {
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CFileException* e) {
            e->Delete();
        } catch (CArchiveException* e) {
            e->Delete();
        }
    }
    if (!m_bUserBuf) delete[] m_lpBufStart;
}

void CArchive::CheckFile() const {
    if (!m_pFile) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
}

void CArchive::StoreByte(BYTE by) { StoreBytes(&by, 1); }

void CArchive::StoreBytes(const void* pBytes, UINT nCount) {
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
    CheckFile();
    auto* bytes = static_cast<const BYTE*>(pBytes);
    while (nCount > 0) {
        if (m_lpBufCur == m_lpBufMax) Flush();
        UINT chunk = std::min(nCount, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
        std::memcpy(m_lpBufCur, bytes, chunk);
        m_lpBufCur += chunk;
        bytes += chunk;
        nCount -= chunk;
    }
}

bool CArchive::FillBuffer() {
    size_t unread = static_cast<size_t>(m_lpBufMax - m_lpBufCur);
    std::memmove(m_lpBufStart, m_lpBufCur, unread);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + unread;
    UINT got = m_pFile->Read(m_lpBufMax, m_nBufSize - static_cast<UINT>(unread));
    m_lpBufMax += got;
    m_lpLoadMax = m_lpBufMax;
    return got > 0;
}

void CArchive::LoadBytes(void* pBytes, UINT nCount) {
    if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
    CheckFile();
    auto* bytes = static_cast<BYTE*>(pBytes);
    while (nCount > 0) {
        if (m_lpBufCur == m_lpBufMax && !FillBuffer())
            AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
        UINT chunk = std::min(nCount, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
        std::memcpy(bytes, m_lpBufCur, chunk);
        m_lpBufCur += chunk;
        bytes += chunk;
        nCount -= chunk;
    }
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    if (nMax == 0) return 0;
    if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
    CheckFile();
    if (!lpBuf) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    auto* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    for (;;) {
        UINT chunk = std::min(nMax - done, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
        std::memcpy(out + done, m_lpBufCur, chunk);
        m_lpBufCur += chunk;
        done += chunk;
        if (done == nMax) return done;
        if (nMax - done >= m_nBufSize) return done + m_pFile->Read(out + done, nMax - done);  // big blocks bypass the buffer
        if (!FillBuffer()) return done;
    }
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    if (nMax == 0) return;
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
    CheckFile();
    if (!lpBuf) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    if (nMax <= static_cast<UINT>(m_lpBufMax - m_lpBufCur)) {
        std::memcpy(m_lpBufCur, lpBuf, nMax);
        m_lpBufCur += nMax;
        return;
    }
    Flush();
    if (nMax >= m_nBufSize)
        m_pFile->Write(lpBuf, nMax);  // big blocks bypass the buffer
    else
        StoreBytes(lpBuf, nMax);
}

void CArchive::Flush() {
    if (!m_pFile) return;
    if (IsStoring()) {
        if (m_lpBufCur != m_lpBufStart) m_pFile->Write(m_lpBufStart, static_cast<UINT>(m_lpBufCur - m_lpBufStart));
        m_lpBufCur = m_lpBufStart;
        return;
    }
    if (m_lpBufCur != m_lpBufMax) m_pFile->Seek(-static_cast<LONG>(m_lpBufMax - m_lpBufCur), CFile::current);
    m_lpBufCur = m_lpBufMax = m_lpLoadMax = m_lpBufStart;
}

void CArchive::Close() {
    Flush();
    Abort();
}

void CArchive::Abort() {
    m_pFile = nullptr;
    m_lpBufCur = m_lpBufMax = m_lpStoreMax = m_lpLoadMax = m_lpBufStart;
}

// ---- Values: numbers of the original's widths, counts, strings, geometry, times -----

namespace {

constexpr BYTE kLengthByteEscape = 0xFF;
constexpr WORD kWideMarker = 0xFFFE;
constexpr WORD kLengthWordEscape = 0xFFFF;
constexpr DWORD kLengthDwordEscape = 0xFFFFFFFF;
constexpr WORD kCountEscape = 0xFFFF;
// Long strings are read in pieces of this size, so a length that the
// file cannot back takes no more memory than the file's bytes.
constexpr UINT kStringPiece = 64 * 1024;

template <class Wide>
int32_t narrowToLong(CArchive& ar, Wide value) {
    if (value < static_cast<Wide>(INT32_MIN) || value > static_cast<Wide>(INT32_MAX))
        AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    return static_cast<int32_t>(value);
}

// Appends UTF-8 for one code point.
void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A stored length: one byte, or escapes to a WORD, a DWORD and a 64-bit
// length. Sets bWide when the original's wide-string marker comes first.
uint64_t readStringLength(CArchive& ar, bool& bWide) {
    bWide = false;
    for (;;) {
        BYTE byLength;
        ar >> byLength;
        if (byLength < kLengthByteEscape) return byLength;
        WORD wLength;
        ar >> wLength;
        if (wLength == kWideMarker && !bWide) {
            bWide = true;  // the length follows in the same form
            continue;
        }
        if (wLength < kLengthWordEscape) return wLength;
        DWORD dwLength;
        ar >> dwLength;
        if (dwLength < kLengthDwordEscape) return dwLength;
        unsigned long long qwLength;
        ar >> qwLength;
        return qwLength;
    }
}

}  // namespace

CArchive& CArchive::operator<<(long l) { return *this << narrowToLong(*this, l); }

CArchive& CArchive::operator<<(unsigned long ul) {
    if (ul > UINT32_MAX) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    return *this << static_cast<UINT>(ul);
}

CArchive& CArchive::operator>>(bool& b) {
    BYTE by;
    *this >> by;
    b = by != 0;
    return *this;
}

CArchive& CArchive::operator>>(long& l) {
    int32_t value;
    *this >> value;
    l = value;
    return *this;
}

CArchive& CArchive::operator>>(unsigned long& ul) {
    UINT value;
    *this >> value;
    ul = value;
    return *this;
}

void CArchive::WriteCount(DWORD_PTR dwCount) {
    if (dwCount < kCountEscape) {
        *this << static_cast<WORD>(dwCount);
        return;
    }
    if (dwCount > UINT32_MAX) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    *this << kCountEscape << static_cast<DWORD>(dwCount);
}

DWORD_PTR CArchive::ReadCount() {
    WORD wCount;
    *this >> wCount;
    if (wCount != kCountEscape) return wCount;
    DWORD dwCount;
    *this >> dwCount;
    return dwCount;
}

void CArchive::WriteString(LPCTSTR lpsz) {
    if (lpsz) Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

BOOL CArchive::ReadString(CString& rString) {
    std::string line;
    BYTE by;
    bool bAny = false;
    while (Read(&by, 1) == 1) {
        bAny = true;
        if (by == '\n') break;
        line += static_cast<char>(by);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    rString = CString(line);
    return bAny;
}

LPTSTR CArchive::ReadString(LPTSTR lpsz, UINT nMax) {
    if (!lpsz || nMax == 0) return nullptr;
    UINT n = 0;
    BYTE by;
    while (n + 1 < nMax && Read(&by, 1) == 1) {
        lpsz[n++] = static_cast<char>(by);
        if (by == '\n') break;
    }
    lpsz[n] = '\0';
    return n ? lpsz : nullptr;
}

CArchive& operator<<(CArchive& ar, const CString& string) {
    size_t length = string.str().size();
    if (length < kLengthByteEscape) {
        ar << static_cast<BYTE>(length);
    } else if (length < kWideMarker) {
        ar << kLengthByteEscape << static_cast<WORD>(length);
    } else {
        ar << kLengthByteEscape << kLengthWordEscape;
        if (length < kLengthDwordEscape)
            ar << static_cast<DWORD>(length);
        else
            ar << kLengthDwordEscape << static_cast<unsigned long long>(length);
    }
    for (size_t done = 0; done < length;) {
        UINT piece = static_cast<UINT>(std::min<size_t>(length - done, kStringPiece));
        ar.Write(string.str().data() + done, piece);
        done += piece;
    }
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& string) {
    bool bWide;
    uint64_t length = readStringLength(ar, bWide);
    size_t unit = bWide ? 2 : 1;
    if (length > UINT64_MAX / unit) AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    std::string bytes;
    for (uint64_t left = length * unit; left > 0;) {
        UINT piece = static_cast<UINT>(std::min<uint64_t>(left, kStringPiece));
        size_t at = bytes.size();
        bytes.resize(at + piece);
        if (ar.Read(bytes.data() + at, piece) != piece)
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        left -= piece;
    }
    if (!bWide) {
        string = CString(bytes);
        return ar;
    }
    std::string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t c = static_cast<BYTE>(bytes[i]) | (static_cast<BYTE>(bytes[i + 1]) << 8);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
            uint32_t low = static_cast<BYTE>(bytes[i + 2]) | (static_cast<BYTE>(bytes[i + 3]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;  // a lone surrogate
        appendUtf8(text, c);
    }
    string = CString(text);
    return ar;
}

CArchive& operator<<(CArchive& ar, SIZE size) { return ar << size.cx << size.cy; }
CArchive& operator<<(CArchive& ar, POINT point) { return ar << point.x << point.y; }
CArchive& operator<<(CArchive& ar, const RECT& rect) {
    return ar << rect.left << rect.top << rect.right << rect.bottom;
}
CArchive& operator>>(CArchive& ar, SIZE& size) { return ar >> size.cx >> size.cy; }
CArchive& operator>>(CArchive& ar, POINT& point) { return ar >> point.x >> point.y; }
CArchive& operator>>(CArchive& ar, RECT& rect) { return ar >> rect.left >> rect.top >> rect.right >> rect.bottom; }

CArchive& operator<<(CArchive& ar, CTime time) {
    time_t t = time.GetTime();
    if (t < 0 || t > static_cast<time_t>(UINT32_MAX))
        AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    return ar << static_cast<DWORD>(t);
}

CArchive& operator>>(CArchive& ar, CTime& rtime) {
    DWORD t;
    ar >> t;
    rtime = CTime(static_cast<time_t>(t));
    return ar;
}

CArchive& operator<<(CArchive& ar, CTimeSpan span) {
    return ar << narrowToLong(ar, static_cast<long long>(span.GetTotalSeconds()));
}

CArchive& operator>>(CArchive& ar, CTimeSpan& rspan) {
    LONG seconds;
    ar >> seconds;
    rspan = CTimeSpan(static_cast<time_t>(seconds));
    return ar;
}
