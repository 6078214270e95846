// CRunningLog: the in-memory copy of the day file and the window list.
#include "logging/CRunningLog.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Mapping.h"

namespace {

// Bytes compared at each end of the part already read before only the
// appended part is read; below kWholeRead bytes, reading the whole file
// again costs no more than those comparisons.
constexpr size_t kCheckBytes = 4096;
constexpr uint64_t kWholeRead = 65536;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

// Reads up to count bytes from offset on; returns how many it got (fewer at
// the end of the file or after a read error).
size_t ReadAt(HANDLE file, uint64_t offset, char* buffer, size_t count) {
    LONG high = static_cast<LONG>(offset >> 32);
    if (SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN) ==
            INVALID_SET_FILE_POINTER &&
        GetLastError() != ERROR_SUCCESS)
        return 0;
    size_t done = 0;
    while (done < count) {
        DWORD got = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
        if (!ReadFile(file, buffer + done, chunk, &got, nullptr) || got == 0) break;
        done += got;
    }
    return done;
}

}  // namespace

CRunningLog::CRunningLog() : m_hWnd(nullptr), m_pBuffer(nullptr), m_bNotify(true) {}

CRunningLog::CRunningLog(CString dir, CString name, HWND hwnd)
    : CLogFile(dir, name), m_hWnd(nullptr), m_pBuffer(nullptr), m_bNotify(true) {
    InitMembers(dir, name, hwnd);
    ReadInFile();
}

CRunningLog::CRunningLog(const CRunningLog& other) : CLogFile(other), m_hWnd(nullptr), m_pBuffer(nullptr) {
    CopyFrom(other);
}

CRunningLog& CRunningLog::operator=(const CRunningLog& other) {
    if (this != &other) {
        CLogFile::operator=(other);
        CopyFrom(other);
    }
    return *this;
}

CRunningLog::~CRunningLog() { ReleaseBuffer(); }

void CRunningLog::CopyFrom(const CRunningLog& other) {
    m_hWnd = other.m_hWnd;
    m_bNotify = other.m_bNotify;
    ReleaseBuffer();
    if (other.m_pBuffer && (m_pBuffer = new (std::nothrow) char[other.m_nCapacity])) {
        std::memcpy(m_pBuffer, other.m_pBuffer, other.m_nCapacity);
        m_nCapacity = other.m_nCapacity;
        m_nRead = other.m_nRead;
        m_nFileIndex = other.m_nFileIndex;
        m_nVolume = other.m_nVolume;
    }
    m_Windows.RemoveAll();
    for (auto* node = other.m_Windows.m_pHead; node; node = node->pNext) m_Windows.Add(node->pValue);
}

void CRunningLog::ReleaseBuffer() {
    delete[] m_pBuffer;
    m_pBuffer = nullptr;
    m_nCapacity = 0;
    m_nRead = 0;
}

int CRunningLog::InitMembers(CString dir, CString name, HWND hwnd) {
    m_hWnd = hwnd;
    m_strLogName = name;
    m_strDirectory = dir;
    m_strPattern = PatternOf(name);
    m_bNotify = true;
    ReleaseBuffer();
    return m_bSuccess;
}

int CRunningLog::Log(CString text) {
    int appended = CLogFile::AppendToLogFile(text);
    ReadInFile();
    return appended;
}

int CRunningLog::ReadInFile() {
    // Never through a link, as the day file is never written through one.
    FileHandle file{CreateFileA(m_strLogFileName, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr)};
    BY_HANDLE_FILE_INFORMATION info{};
    if (file.h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.h, &info)) {
        if (file.h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) return m_bSuccess;  // size 0
        m_strError = "Cannot open log file!!!\n" + WhyNot(m_strLogFileName);
        // The buffer stays allocated and zeroed.
        if (m_pBuffer)
            ClearBuffer(static_cast<int>(m_nCapacity));
        else
            CreateBuffer(1);
        return !m_bSuccess;
    }
    uint64_t size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size == 0) return m_bSuccess;
    if (size >= INT_MAX) {
        m_strError = "Log file too large to hold in memory.";
        return !m_bSuccess;
    }
    uint64_t index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    bool grown = m_pBuffer && m_nRead >= kWholeRead && size >= m_nRead && index == m_nFileIndex &&
                 info.dwVolumeSerialNumber == m_nVolume && ReadUnchanged(file.h);
    if (!(grown ? ReadAppended(file.h, size) : ReadWhole(file.h, size))) return !m_bSuccess;
    m_nFileIndex = index;
    m_nVolume = info.dwVolumeSerialNumber;
    NotifyParent();
    return m_bSuccess;
}

int CRunningLog::ReadWhole(HANDLE file, uint64_t size) {
    if (!CreateBuffer(static_cast<int>(size) + 1) || m_nCapacity < size + 1) return !m_bSuccess;
    m_nRead = ReadAt(file, 0, m_pBuffer, size);
    return m_bSuccess;
}

int CRunningLog::ReadAppended(HANDLE file, uint64_t size) {
    if (m_nCapacity < size + 1) {
        // Doubling keeps the copying of a growing file linear in its size.
        size_t capacity = std::max<size_t>(size + 1, std::min<size_t>(m_nCapacity * 2, INT_MAX));
        char* buffer = new (std::nothrow) char[capacity];
        if (!buffer) return !m_bSuccess;
        std::memcpy(buffer, m_pBuffer, m_nRead);
        std::memset(buffer + m_nRead, 0, capacity - m_nRead);
        delete[] m_pBuffer;
        m_pBuffer = buffer;
        m_nCapacity = capacity;
    }
    m_nRead += ReadAt(file, m_nRead, m_pBuffer + m_nRead, size - m_nRead);
    return m_bSuccess;
}

// Whether the file still starts, and still ends where the last read ended,
// with the bytes the buffer holds.
bool CRunningLog::ReadUnchanged(HANDLE file) const {
    char bytes[kCheckBytes];
    auto same = [&](uint64_t offset) {
        return ReadAt(file, offset, bytes, kCheckBytes) == kCheckBytes &&
               std::memcmp(bytes, m_pBuffer + offset, kCheckBytes) == 0;
    };
    return same(0) && same(m_nRead - kCheckBytes);
}

int CRunningLog::CreateBuffer(int size) {
    ReleaseBuffer();
    if (size < 0 || !(m_pBuffer = new (std::nothrow) char[size > 0 ? size : 1])) return !m_bSuccess;
    m_nCapacity = static_cast<size_t>(size);
    ClearBuffer(size);
    return m_bSuccess;
}

void CRunningLog::ClearBuffer(int size) {
    if (!m_pBuffer || size <= 0) return;
    std::memset(m_pBuffer, 0, std::min(static_cast<size_t>(size), m_nCapacity));
    m_nRead = 0;
}

void CRunningLog::NotifyParent() {
    if (!m_bNotify) return;
    for (m_Windows.MoveFirst(); m_Windows.m_pCurrent; m_Windows.MoveNext())
        PostMessageA(*m_Windows.m_pCurrent->pValue, WM_LOGUPDATED, 0, 0);
}
