// CMemoryMappedLog: entries written through a mapping of the day file.
#include "logging/CMemoryMappedLog.h"

#include <algorithm>
#include <cstring>

#include "platform/Errors.h"
#include "platform/Mapping.h"
#include "platform/Stdio.h"

namespace {

constexpr DWORD kMappingLimit = 300000;

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
    CloseDayFile(m_nPos);
}

bool CMemoryMappedLog::OpenDayFile(uint64_t& size) {
    HANDLE file = CreateFileA(m_strLogFileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_FLAG_WRITE_THROUGH, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    if (file == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file, &info)) {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        m_strError = "Cannot create memory-mapped file.";
        return false;
    }
    m_hFile = file;
    size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    m_hMapping = CreateFileMappingA(m_hFile, nullptr, PAGE_READWRITE, 0, m_nMapSize, nullptr);
    if (m_hMapping) m_pView = static_cast<unsigned char*>(MapViewOfFile(m_hMapping, FILE_MAP_WRITE, 0, 0, 0));
    if (!m_pView) {
        m_strError = "Cannot map region.";
        CloseDayFile(size);
        return false;
    }
    return true;
}

// Unmaps and closes; the file is left end bytes long.
void CMemoryMappedLog::CloseDayFile(uint64_t end) {
    if (m_pView) UnmapViewOfFile(m_pView);
    m_pView = m_pLastVisible = nullptr;
    if (m_hMapping) CloseHandle(m_hMapping);
    m_hMapping = nullptr;
    if (m_hFile) {
        LONG high = static_cast<LONG>(end >> 32);
        SetFilePointer(m_hFile, static_cast<LONG>(end & 0xFFFFFFFFu), &high, FILE_BEGIN);
        SetEndOfFile(m_hFile);
        CloseHandle(m_hFile);
    }
    m_hFile = nullptr;
}

// Renames the day file to the first free "<title>-<n><extension>"; the new
// name, or "" with the reason in m_strError.
CString CMemoryMappedLog::SetAside() {
    int dot = m_strLogFileName.ReverseFind('.');
    if (dot < m_strLogFileName.ReverseFind('\\')) dot = m_strLogFileName.GetLength();
    CString title = m_strLogFileName.Left(dot), extension = m_strLogFileName.Mid(dot);
    for (int tries = 0; tries < 100000; ++tries, ++m_nNextAside) {
        CString candidate;
        candidate.Format("%s-%d%s", static_cast<LPCTSTR>(title), m_nNextAside, static_cast<LPCTSTR>(extension));
        if (GetFileAttributesA(candidate) != INVALID_FILE_ATTRIBUTES) continue;
        if (MoveFileA(m_strLogFileName, candidate)) {
            ++m_nNextAside;
            return candidate;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    m_strError = "Cannot move the full day file " + m_strLogFileName + " aside: " + PlatformErrorText(GetLastError());
    return CString();
}

int CMemoryMappedLog::CreateMemoryMappedLogFile(unsigned char*& view) {
    if (m_pView) CloseDayFile(m_nPos);
    view = nullptr;
    m_nPos = 0;
    uint64_t size = 0;
    if (!OpenDayFile(size)) return !m_bSuccess;
    // The text ends at the first zero byte; behind it there may only be the
    // zero filling of a file that was left at full size.
    size_t inView = static_cast<size_t>(std::min<uint64_t>(size, m_nMapSize));
    const unsigned char* zero = static_cast<const unsigned char*>(std::memchr(m_pView, 0, inView));
    size_t text = zero ? static_cast<size_t>(zero - m_pView) : inView;
    bool onlyFilling = std::all_of(m_pView + text, m_pView + inView, [](unsigned char c) { return c == 0; });
    if (size > m_nMapSize || !onlyFilling || text > m_nMapSize - m_nGranularity) {
        CloseDayFile(size);
        CString aside = SetAside();
        if (aside.IsEmpty() || !OpenDayFile(size)) return !m_bSuccess;
        m_strError = "The day file could not be continued; its text was kept in " + aside + ".";
        text = 0;
    }
    m_nPos = static_cast<DWORD>(text);
    view = m_pView;
    SetLastVisibleLines();
    return m_bSuccess;
}

bool CMemoryMappedLog::StartNextFile() {
    CloseDayFile(m_nPos);
    CString aside = SetAside();
    if (aside.IsEmpty() || !CreateMemoryMappedLogFile(m_pView)) return false;
    m_strError = "The day file was full; its text was moved to " + aside + ".";
    return true;
}

int CMemoryMappedLog::SetLastVisibleLines() {
    // Scans back from the last byte for line feeds; the first byte is never
    // looked at, so with too few lines the result is the start of the view.
    size_t at = 0, end = m_nPos;
    int lineFeeds = 0;
    while (m_pView && end > 1) {
        const void* hit = memrchr(m_pView + 1, '\n', end - 1);
        if (!hit) break;
        end = static_cast<size_t>(static_cast<const unsigned char*>(hit) - m_pView);
        if (++lineFeeds > m_nVisibleLines) {
            at = end;
            break;
        }
    }
    m_pLastVisible = m_pView ? m_pView + at : nullptr;
    return m_bSuccess;
}

int CMemoryMappedLog::FinishLogging() {
    if (!m_pView && !CreateMemoryMappedLogFile(m_pView)) return !m_bSuccess;
    if (m_nPos + 3 > m_nMapSize && !StartNextFile()) return !m_bSuccess;
    m_pView[m_nPos] = '\r';
    m_pView[m_nPos + 1] = '\n';
    m_nPos += 2;
    m_pView[m_nPos] = 0;
    SetLastVisibleLines();
    NotifyParent();
    return m_bSuccess;
}

int CMemoryMappedLog::Log(CString text) {
    if (!m_pView && !CreateMemoryMappedLogFile(m_pView)) return !m_bSuccess;
    const char* p = text;
    size_t length = std::strlen(p);
    // An entry starts in a fresh file when it does not fit behind the text;
    // one longer than a whole mapping fills file after file. One zero byte
    // always stays behind the text.
    if (m_nPos > 0 && m_nPos + length + 3 > m_nMapSize && !StartNextFile()) return !m_bSuccess;
    while (m_nPos + length + 3 > m_nMapSize) {
        size_t part = m_nMapSize - 1 - m_nPos;
        std::memcpy(m_pView + m_nPos, p, part);
        m_nPos += static_cast<DWORD>(part);
        p += part;
        length -= part;
        if (!StartNextFile()) return !m_bSuccess;
    }
    std::memcpy(m_pView + m_nPos, p, length);
    m_nPos += static_cast<DWORD>(length);
    return FinishLogging();
}

int CMemoryMappedLog::AppendToLogFile(CString text) { return Log(text); }

int CMemoryMappedLog::SaveEdits() {
    if (!m_pView || FlushViewOfFile(m_pView, m_nPos)) return m_bSuccess;
    m_strError = "Cannot write the log to the disk: " + PlatformErrorText(GetLastError());
    return !m_bSuccess;
}
