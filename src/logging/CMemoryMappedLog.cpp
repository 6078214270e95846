// CMemoryMappedLog: entries written through a view of the day file that
// moves along the file as the text grows.
#include "logging/CMemoryMappedLog.h"

#include <algorithm>
#include <cstring>

#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Mapping.h"

namespace {

constexpr DWORD kMappingLimit = 300000;

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

}  // namespace

CMemoryMappedLog::CMemoryMappedLog(CString dir, CString name, HWND hwnd)
    : m_pView(nullptr),
      m_pLastVisible(nullptr),
      m_nPos(0),
      m_nVisibleLines(11),
      m_hFile(nullptr),
      m_hMapping(nullptr),
      m_nMapSize(0),
      m_nGranularity(0) {
    InitMembers(dir, name, hwnd);
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    m_nGranularity = info.dwAllocationGranularity;
    m_nMapSize = kMappingLimit / m_nGranularity * m_nGranularity;
    CreateLogFileName();
    CreateMemoryMappedLogFile(m_pView);
    CreateMutexA();
    StampStart();
}

CMemoryMappedLog::~CMemoryMappedLog() {
    SaveEdits();
    CloseDayFile();
}

// ---- The day file and its view ----------------------------------------------

// Maps the view at offset (a multiple of the granularity); the mapping makes
// the file at least as long as the view. The view in place goes only once
// the new one is there, so a failure leaves everything as it was.
bool CMemoryMappedLog::MapView(uint64_t offset) {
    uint64_t end = offset + m_nMapSize;
    HANDLE mapping = CreateFileMappingA(m_hFile, nullptr, PAGE_READWRITE, static_cast<DWORD>(end >> 32),
                                        static_cast<DWORD>(end), nullptr);
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, static_cast<DWORD>(offset >> 32),
                                         static_cast<DWORD>(offset), m_nMapSize)
                         : nullptr;
    if (!view) {
        m_strError = "Cannot map region. " + PlatformLastErrorText();
        if (mapping) CloseHandle(mapping);
        return false;
    }
    UnmapView();
    m_hMapping = mapping;
    m_pView = static_cast<unsigned char*>(view);
    m_nViewOffset = offset;
    m_nTracked = UINT64_MAX;
    return true;
}

void CMemoryMappedLog::UnmapView() {
    if (m_pView) UnmapViewOfFile(m_pView);
    m_pView = m_pLastVisible = nullptr;
    if (m_hMapping) CloseHandle(m_hMapping);
    m_hMapping = nullptr;
}

// Unmaps, cuts the file to its text and closes it.
void CMemoryMappedLog::CloseDayFile() {
    uint64_t end = m_nViewOffset + m_nPos;
    UnmapView();
    if (m_hFile) {
        LONG high = static_cast<LONG>(end >> 32);
        SetFilePointer(m_hFile, static_cast<LONG>(end & 0xFFFFFFFFu), &high, FILE_BEGIN);
        SetEndOfFile(m_hFile);
        CloseHandle(m_hFile);
    }
    m_hFile = nullptr;
    m_nViewOffset = m_nPos = 0;
}

// Renames the day file to its first free sibling name; the new name, or ""
// with the reason in m_strError.
CString CMemoryMappedLog::SetAside() {
    for (int n = 1; n <= kSiblings; ++n) {
        CString candidate = SiblingFileName(n);
        if (GetFileAttributesA(candidate) != INVALID_FILE_ATTRIBUTES) continue;
        if (MoveFileA(m_strLogFileName, candidate)) return candidate;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    m_strError = "Cannot move the day file " + m_strLogFileName + " aside: " + PlatformErrorText(GetLastError());
    return CString();
}

// Opens m_strLogFileName and claims it, moving on to the next sibling while
// other logs hold the file. The handle, or INVALID_HANDLE_VALUE with the
// reason in m_strError.
HANDLE CMemoryMappedLog::OpenAndClaim() {
    for (;;) {
        // Never through a link: the view would write into whatever it names.
        HANDLE file = CreateFileA(
            m_strLogFileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
            FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            m_strError = "Cannot create memory-mapped file. " + WhyNot(m_strLogFileName);
            return file;
        }
        if (PlatformClaimAppends(file)) return file;
        DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION) m_strError = "Cannot create memory-mapped file. " + WhyNot(m_strLogFileName);
        CloseHandle(file);
        if (error != ERROR_LOCK_VIOLATION) return INVALID_HANDLE_VALUE;
        if (!MoveToNextSibling()) return INVALID_HANDLE_VALUE;
    }
}

int CMemoryMappedLog::CreateMemoryMappedLogFile(unsigned char*& view) {
    CloseDayFile();
    view = nullptr;
    if (NameRefused()) return !m_bSuccess;  // m_strError says why; there is no file to open
    HANDLE file = OpenAndClaim();
    if (file == INVALID_HANDLE_VALUE) return !m_bSuccess;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) {
        m_strError = "Cannot create memory-mapped file. " + WhyNot(m_strLogFileName);
        CloseHandle(file);
        return !m_bSuccess;
    }
    m_hFile = file;
    uint64_t size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    // The first view, or the one that ends where the file ends: a log that
    // was never closed left zero filling up to the end of its view there.
    uint64_t tail = size > m_nMapSize ? (size - m_nMapSize + m_nGranularity - 1) / m_nGranularity * m_nGranularity : 0;
    m_nViewOffset = tail;
    m_nPos = static_cast<DWORD>(size - tail);  // so that a failure leaves the file at its size
    if (!MapView(tail)) {
        CloseDayFile();
        return !m_bSuccess;
    }
    const unsigned char* zero = static_cast<const unsigned char*>(std::memchr(m_pView, 0, m_nPos));
    DWORD text = zero ? static_cast<DWORD>(zero - m_pView) : m_nPos;
    if (!std::all_of(m_pView + text, m_pView + m_nPos, [](unsigned char c) { return c == 0; })) {
        CloseDayFile();
        CString aside = SetAside();
        if (aside.IsEmpty() || !CreateMemoryMappedLogFile(view)) return !m_bSuccess;
        m_strError = "The day file held more than log text; it was moved to " + aside + ".";
        return m_bSuccess;
    }
    // The text goes on right behind itself; only a view without room for
    // its zero byte moves.
    m_nPos = text;
    if (m_nPos + 1 >= m_nMapSize && !MoveView()) {
        CloseDayFile();
        return !m_bSuccess;
    }
    view = m_pView;
    SetLastVisibleLines();
    return m_bSuccess;
}

// Places the view so that it starts at the granule at least kKeptText bytes
// before the end of the text. Nothing moves when it is there already, nor
// when the new view cannot be had.
bool CMemoryMappedLog::MoveView() {
    uint64_t end = m_nViewOffset + m_nPos;
    uint64_t offset = ViewFor(end);
    if (offset == m_nViewOffset) return true;
    if (!MapView(offset)) return false;
    m_nPos = static_cast<DWORD>(end - offset);
    return true;
}

uint64_t CMemoryMappedLog::ViewFor(uint64_t end) const {
    return end > kKeptText ? (end - kKeptText) / m_nGranularity * m_nGranularity : 0;
}

// Takes back an entry that could not be written whole: the text ends at
// start again. An entry that began before the view (one longer than a view)
// is cut from the file, and the view is mapped where the text now ends; if
// that fails the log goes on without a view, the file cut at start.
void CMemoryMappedLog::TakeBack(uint64_t start) {
    if (m_pView && start >= m_nViewOffset) {
        DWORD at = static_cast<DWORD>(start - m_nViewOffset);
        std::memset(m_pView + at, 0, m_nPos - at);
        m_nPos = at;
        m_nTracked = UINT64_MAX;
        SetLastVisibleLines();
        return;
    }
    UnmapView();
    m_nViewOffset = ViewFor(start);
    m_nPos = static_cast<DWORD>(start - m_nViewOffset);
    LONG high = static_cast<LONG>(start >> 32);
    if (m_hFile &&
        SetFilePointer(m_hFile, static_cast<LONG>(start & 0xFFFFFFFFu), &high, FILE_BEGIN) != INVALID_SET_FILE_POINTER)
        SetEndOfFile(m_hFile);
    if (m_hFile && MapView(m_nViewOffset)) SetLastVisibleLines();
}

// ---- Entries ----------------------------------------------------------------

// Copies bytes behind the text, moving the view whenever it is full; one zero
// byte always stays behind the text in the view.
bool CMemoryMappedLog::Append(const char* bytes, size_t count) {
    while (count > 0) {
        if (m_nPos + 1 >= m_nMapSize && !MoveView()) return false;
        if (m_nPos + 1 >= m_nMapSize) {
            m_strError = "The view is too small to move on.";
            return false;
        }
        size_t part = std::min<size_t>(count, m_nMapSize - 1 - m_nPos);
        std::memcpy(m_pView + m_nPos, bytes, part);
        uint64_t at = m_nViewOffset + m_nPos;
        if (m_nTracked == at) {
            for (const char* lf = static_cast<const char*>(std::memchr(bytes, '\n', part)); lf;
                 lf = static_cast<const char*>(std::memchr(lf + 1, '\n', bytes + part - lf - 1))) {
                m_nNewest = (m_nNewest + 1) % kTrackedLines;
                m_lineFeeds[m_nNewest] = at + static_cast<uint64_t>(lf - bytes);
                m_nLineFeeds = std::min(m_nLineFeeds + 1, kTrackedLines);
            }
            m_nTracked = at + part;
        }
        m_nPos += static_cast<DWORD>(part);
        bytes += part;
        count -= part;
    }
    return true;
}

// Finds the latest line feeds in the view again, from its end back to its
// second byte.
void CMemoryMappedLog::ScanLastLines() {
    uint64_t found[kTrackedLines];
    int count = 0;
    for (long index = static_cast<long>(m_nPos) - 1; index > 0 && count < kTrackedLines; --index)
        if (m_pView[index] == '\n') found[count++] = m_nViewOffset + static_cast<uint64_t>(index);
    m_nLineFeeds = count;
    m_nNewest = count > 0 ? count - 1 : kTrackedLines - 1;
    for (int i = 0; i < count; ++i) m_lineFeeds[i] = found[count - 1 - i];
    m_nTracked = m_nViewOffset + m_nPos;
}

int CMemoryMappedLog::SetLastVisibleLines() {
    if (!m_pView) {
        m_pLastVisible = nullptr;
        return m_bSuccess;
    }
    // The (m_nVisibleLines + 1)th line feed back from the end of the text.
    int back = std::max(m_nVisibleLines, 0) + 1;
    size_t at = 0;
    if (back > kTrackedLines) {
        for (long index = static_cast<long>(m_nPos) - 1, seen = 0; index > 0; --index)
            if (m_pView[index] == '\n' && ++seen == back) {
                at = static_cast<size_t>(index);
                break;
            }
    } else {
        if (m_nTracked != m_nViewOffset + m_nPos) ScanLastLines();
        if (m_nLineFeeds >= back) {
            uint64_t lineFeed = m_lineFeeds[(m_nNewest - (back - 1) + kTrackedLines) % kTrackedLines];
            if (lineFeed > m_nViewOffset) at = static_cast<size_t>(lineFeed - m_nViewOffset);
        }
    }
    m_pLastVisible = m_pView + at;
    return m_bSuccess;
}

int CMemoryMappedLog::FinishLogging() {
    if (!m_pView && !CreateMemoryMappedLogFile(m_pView)) return !m_bSuccess;
    if (!Append("\r\n", 2)) return !m_bSuccess;
    m_pView[m_nPos] = 0;
    SetLastVisibleLines();
    NotifyParent();
    return m_bSuccess;
}

int CMemoryMappedLog::Log(CString text) {
    if (!m_pView && !CreateMemoryMappedLogFile(m_pView)) return !m_bSuccess;
    const char* bytes = text;
    size_t length = std::strlen(bytes);
    // Moving the view first keeps the entry in one piece where it can be.
    if (m_nPos + length + 3 > m_nMapSize && !MoveView()) return !m_bSuccess;
    uint64_t start = m_nViewOffset + m_nPos;
    if (Append(bytes, length) && FinishLogging()) return m_bSuccess;
    TakeBack(start);
    return !m_bSuccess;
}

int CMemoryMappedLog::AppendToLogFile(CString text) { return Log(text); }

int CMemoryMappedLog::SaveEdits() {
    if (!m_pView || FlushViewOfFile(m_pView, m_nPos)) return m_bSuccess;
    m_strError = "Cannot write the log to the disk: " + PlatformErrorText(GetLastError());
    return !m_bSuccess;
}
