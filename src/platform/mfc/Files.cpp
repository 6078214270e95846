// CFileException and CFile over POSIX descriptors, and the file copies,
// opens and temporary files the library's walks and rewrites are built on.
#include "platform/mfc/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Syscalls.h"

namespace fs = platform::fs;

// ---- CFileException ---------------------------------------------------------

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName ? lpszFileName : "") {}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName) {
    throw new CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName) {
    ThrowOsError(static_cast<LONG>(PlatformErrorFromErrno(nErrno)), lpszFileName);
}

int CFileException::OsErrorToException(LONG lOsError) {
    switch (lOsError) {
    case ERROR_SUCCESS: return none;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_HANDLE:
    case ERROR_NO_MORE_FILES: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_CANT_RESOLVE_FILENAME: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_BUSY: return accessDenied;
    case ERROR_DIR_NOT_EMPTY: return removeCurrentDir;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE: return badSeek;
    case ERROR_IO_DEVICE:
    case ERROR_OPERATION_ABORTED: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return generic;
    }
}

int CFileException::ErrnoToException(int nErrno) {
    return OsErrorToException(static_cast<LONG>(PlatformErrorFromErrno(nErrno)));
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0) return FALSE;
    // Without an OS code the cause speaks through a code of its kind.
    static const DWORD kCauseCodes[] = {
        ERROR_SUCCESS, ERROR_GEN_FAILURE, ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
        ERROR_TOO_MANY_OPEN_FILES, ERROR_ACCESS_DENIED, ERROR_INVALID_HANDLE, ERROR_DIR_NOT_EMPTY,
        ERROR_GEN_FAILURE, ERROR_NEGATIVE_SEEK, ERROR_IO_DEVICE, ERROR_SHARING_VIOLATION,
        ERROR_LOCK_VIOLATION, ERROR_DISK_FULL, ERROR_HANDLE_EOF};
    DWORD code = ERROR_GEN_FAILURE;
    if (m_lOsError != -1)
        code = static_cast<DWORD>(m_lOsError);
    else if (m_cause >= 0 && m_cause <= endOfFile)
        code = kCauseCodes[m_cause];
    CString text = PlatformErrorText(code);
    if (!m_strFileName.IsEmpty()) text = m_strFileName + ": " + text;
    size_t length = std::min(static_cast<size_t>(text.GetLength()), static_cast<size_t>(nMaxError) - 1);
    std::memcpy(lpszError, static_cast<LPCTSTR>(text), length);
    lpszError[length] = '\0';
    return TRUE;
}

// ---- CFile ------------------------------------------------------------------

namespace {

int LockFor(UINT nOpenFlags) {
    switch (nOpenFlags & 0x70) {
    case CFile::shareDenyNone: return 0;
    case CFile::shareDenyWrite:
    case CFile::shareDenyRead: return LOCK_SH;
    default: return LOCK_EX;
    }
}

int OpenFlagsFor(UINT nOpenFlags) {
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case CFile::modeWrite: flags |= O_WRONLY; break;
    case CFile::modeReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
    }
    if (nOpenFlags & CFile::modeCreate) flags |= O_CREAT;
    return flags;
}

CString LastComponent(const CString& path) {
    int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    return path.Mid(slash + 1);
}

void FillStatus(const fs::FileInfo& info, const CString& fullName, CFileStatus& status) {
    status.m_ctime = CTime(info.created);
    status.m_mtime = CTime(info.modified);
    status.m_atime = CTime(info.accessed);
    status.m_size = info.isDirectory ? 0 : static_cast<LONG>(std::min<int64_t>(info.size, LONG_MAX));
    status.m_attribute = static_cast<BYTE>(fs::Attributes(info, LastComponent(fullName)) & 0xFF);
    bool fits = fullName.GetLength() < static_cast<int>(sizeof status.m_szFullName);
    std::memcpy(status.m_szFullName, fits ? static_cast<LPCTSTR>(fullName) : "",
                fits ? fullName.GetLength() + 1 : 1);
}

// CFile::Open with further POSIX open flags; info is the open file's status.
BOOL OpenAs(CFile& file, LPCTSTR lpszFileName, UINT nOpenFlags, int extraFlags, fs::FileInfo& info,
            CFileException* pError) {
    file.Abort();
    auto fail = [&](DWORD code) {
        SetLastError(code);
        if (pError) {
            pError->m_cause = CFileException::OsErrorToException(static_cast<LONG>(code));
            pError->m_lOsError = static_cast<LONG>(code);
            pError->m_strFileName = lpszFileName ? lpszFileName : "";
        }
        return FALSE;
    };
    std::string posix;
    if (!lpszFileName || !fs::ToPosix(lpszFileName, posix)) return fail(ERROR_PATH_NOT_FOUND);

    int fd = fs::OpenFile(posix, OpenFlagsFor(nOpenFlags) | extraFlags, 0666, info);
    if (fd < 0) {
        // With O_CREAT a missing entry can only be a missing directory.
        bool create = nOpenFlags & CFile::modeCreate;
        return fail(errno == ENOENT && create ? ERROR_PATH_NOT_FOUND : PlatformErrorFromErrno(errno));
    }
    DWORD code = ERROR_SUCCESS;
    int lock = LockFor(nOpenFlags);
    if ((nOpenFlags & 3) != CFile::modeRead && fs::IsReadOnly(info))
        code = ERROR_ACCESS_DENIED;  // even where POSIX would allow it (to root)
    else if (lock && ::flock(fd, lock | LOCK_NB) != 0)
        code = errno == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : PlatformErrorFromErrno(errno);
    // Emptied only now, so that a file another CFile holds stays intact; an
    // empty file is left alone (ext4 writes a truncated file out at close).
    else if ((nOpenFlags & CFile::modeCreate) && !(nOpenFlags & CFile::modeNoTruncate) && info.size > 0 &&
             fs::Truncate(fd, 0) != 0)
        code = PlatformErrorFromErrno(errno);
    if (code != ERROR_SUCCESS) {
        ::close(fd);
        return fail(code);
    }
    file.m_hFile = fd;
    file.SetFilePath(fs::FullPath(lpszFileName));
    return TRUE;
}

}  // namespace

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) {
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        throw new CFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    fs::FileInfo info;
    return OpenAs(*this, lpszFileName, nOpenFlags, 0, info, pError);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    // The most one read call returns on Linux; a read that stops there may not be at the end.
    constexpr size_t kMostOneRead = 0x7ffff000;
    char* p = static_cast<char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        size_t want = nCount - done;
        long n = fs::Read(m_hFile, p + done, want);
        if (n < 0) CFileException::ThrowErrno(errno, m_strFileName);
        done += static_cast<UINT>(n);
        if (static_cast<size_t>(n) < std::min(want, kMostOneRead)) break;  // the end of the file
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (fs::Write(m_hFile, lpBuf, nCount) < nCount) CFileException::ThrowErrno(errno, m_strFileName);
}

LONG CFile::Seek(LONG lOff, UINT nFrom) {
    int whence = nFrom == begin ? SEEK_SET : nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : -1;
    if (whence < 0) CFileException::ThrowOsError(ERROR_INVALID_PARAMETER, m_strFileName);
    off_t position = ::lseek(m_hFile, lOff, whence);
    if (position < 0)
        CFileException::ThrowOsError(
            errno == EINVAL ? ERROR_NEGATIVE_SEEK : static_cast<LONG>(PlatformErrorFromErrno(errno)),
            m_strFileName);
    return static_cast<LONG>(position);
}

DWORD CFile::GetPosition() const {
    off_t position = ::lseek(m_hFile, 0, SEEK_CUR);
    if (position < 0) CFileException::ThrowErrno(errno, m_strFileName);
    return static_cast<DWORD>(position);
}

DWORD CFile::GetLength() const {
    fs::FileInfo info;
    if (fs::StatFd(m_hFile, info) != 0) CFileException::ThrowErrno(errno, m_strFileName);
    return static_cast<DWORD>(std::min<int64_t>(info.size, 0xFFFFFFFF));
}

void CFile::SetLength(DWORD dwNewLen) {
    if (fs::Truncate(m_hFile, dwNewLen) != 0) CFileException::ThrowErrno(errno, m_strFileName);
}

void CFile::Flush() {
    if (::fsync(m_hFile) != 0) CFileException::ThrowErrno(errno, m_strFileName);
}

void CFile::Close() {
    if (m_hFile == hFileNull) return;
    CString name = m_strFileName;
    int result = fs::Close(m_hFile);
    m_hFile = hFileNull;
    m_strFileName.Empty();
    if (result != 0) CFileException::ThrowErrno(errno, name);
}

void CFile::Abort() {
    if (m_hFile != hFileNull) ::close(m_hFile);
    m_hFile = hFileNull;
    m_strFileName.Empty();
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
    fs::FileInfo info;
    if (m_hFile == hFileNull || fs::StatFd(m_hFile, info) != 0) return FALSE;
    FillStatus(info, m_strFileName, rStatus);
    return TRUE;
}

CString CFile::GetFileName() const { return LastComponent(m_strFileName); }

CString CFile::GetFileTitle() const { return fs::Title(GetFileName()); }

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus) {
    std::string posix;
    fs::FileInfo info;
    if (!lpszFileName || !fs::ToPosix(lpszFileName, posix) || fs::Stat(posix, info, true) != 0)
        return FALSE;
    FillStatus(info, fs::FullPath(lpszFileName), rStatus);
    return TRUE;
}

void CFile::SetStatus(LPCTSTR lpszFileName, const CFileStatus& status) {
    std::string posix;
    if (!lpszFileName || !fs::ToPosix(lpszFileName, posix))
        CFileException::ThrowOsError(ERROR_PATH_NOT_FOUND, lpszFileName);
    if (fs::SetTimes(posix, status.m_atime.GetTime(), status.m_mtime.GetTime()) != 0 ||
        fs::SetReadOnly(posix, status.m_attribute & readOnly) != 0)
        CFileException::ThrowErrno(errno, lpszFileName);
}

void CFile::Remove(LPCTSTR lpszFileName) {
    std::string posix;
    if (!lpszFileName || !fs::ToPosix(lpszFileName, posix))
        CFileException::ThrowOsError(ERROR_PATH_NOT_FOUND, lpszFileName);
    if (fs::RemoveFile(posix) != 0) CFileException::ThrowErrno(errno, lpszFileName);
}

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName) {
    std::string from, to;
    if (!lpszOldName || !lpszNewName || !fs::ToPosix(lpszOldName, from) || !fs::ToPosix(lpszNewName, to))
        CFileException::ThrowOsError(ERROR_PATH_NOT_FOUND, lpszOldName);
    if (fs::Rename(from, to) != 0) CFileException::ThrowErrno(errno, lpszOldName);
}

// ---- Copying file data, opening for walks, temporary files ------------------

namespace {

const size_t kCopyBlock = 1024 * 1024;

// The start of the data at or after offset and the end of that stretch of
// data; false when only a hole follows. A file system without hole
// reporting gives the whole rest as data.
bool NextData(int fd, int64_t offset, int64_t size, int64_t& start, int64_t& end) {
    off_t data = ::lseek(fd, offset, SEEK_DATA);
    if (data < 0) {
        if (errno == ENXIO) return false;
        start = offset;
        end = size;
        return true;
    }
    off_t hole = ::lseek(fd, data, SEEK_HOLE);
    start = data;
    end = hole < 0 ? size : std::min<int64_t>(hole, size);
    return start < size;
}

// Errors of copy_file_range that belong to the target; any other makes the
// copy go on through a buffer, whose reads and writes then tell which side
// failed.
bool IsTargetError(int err) { return err == ENOSPC || err == EDQUOT || err == EFBIG || err == EROFS; }

// One stretch [start, end) of data, at the same offsets in both files.
// Returns the offset reached: less than end when the source shrank.
// kernel is cleared when the kernel cannot copy between these files.
int64_t CopyStretch(CFile& source, CFile& target, int64_t start, int64_t end, bool& kernel,
                    std::unique_ptr<char[]>& block) {
    int64_t offset = start;
    while (kernel && offset < end) {
        // The kernel reads and writes at once: the seam may fail either.
        if (PlatformSyscallFails(Syscall::Read)) CFileException::ThrowErrno(errno, source.GetFilePath());
        if (PlatformSyscallFails(Syscall::Write)) CFileException::ThrowErrno(errno, target.GetFilePath());
        loff_t in = offset, out = offset;
        ssize_t n = ::copy_file_range(source.m_hFile, &in, target.m_hFile, &out,
                                      static_cast<size_t>(std::min<int64_t>(end - offset, 1 << 30)), 0);
        if (n == 0) return offset;  // the source shrank while it was copied
        if (n > 0) {
            offset += n;
        } else if (errno != EINTR) {
            if (IsTargetError(errno)) CFileException::ThrowErrno(errno, target.GetFilePath());
            kernel = false;
        }
    }
    if (offset >= end) return offset;
    if (!block) block.reset(new char[kCopyBlock]);
    if (::lseek(source.m_hFile, offset, SEEK_SET) < 0) CFileException::ThrowErrno(errno, source.GetFilePath());
    if (::lseek(target.m_hFile, offset, SEEK_SET) < 0) CFileException::ThrowErrno(errno, target.GetFilePath());
    while (offset < end) {
        long got = fs::Read(source.m_hFile, block.get(), static_cast<size_t>(std::min<int64_t>(kCopyBlock, end - offset)));
        if (got < 0) CFileException::ThrowErrno(errno, source.GetFilePath());
        if (got == 0) return offset;
        if (fs::Write(target.m_hFile, block.get(), static_cast<size_t>(got)) < static_cast<size_t>(got))
            CFileException::ThrowErrno(errno, target.GetFilePath());
        offset += got;
    }
    return offset;
}

}  // namespace

void PlatformCopyFileData(CFile& source, CFile& target) {
    fs::FileInfo info, written;
    if (fs::StatFd(source.m_hFile, info) != 0) CFileException::ThrowErrno(errno, source.GetFilePath());
    if (fs::StatFd(target.m_hFile, written) != 0) CFileException::ThrowErrno(errno, target.GetFilePath());
    // Emptied first, so the holes read as zeros whatever target held; a new
    // file is not truncated (ext4 writes a truncated file out at close).
    if (written.size > 0 && fs::Truncate(target.m_hFile, 0) != 0)
        CFileException::ThrowErrno(errno, target.GetFilePath());
    std::unique_ptr<char[]> block;
    bool kernel = true;
    int64_t size = info.size, offset = 0, end = 0, start, stretchEnd;
    while (offset < size && NextData(source.m_hFile, offset, size, start, stretchEnd)) {
        offset = CopyStretch(source, target, start, stretchEnd, kernel, block);
        end = offset;
        if (offset < stretchEnd) {
            size = offset;
            break;
        }
    }
    // A hole at the end comes from the length.
    if (end < size && fs::Truncate(target.m_hFile, size) != 0) CFileException::ThrowErrno(errno, target.GetFilePath());
    if (::lseek(target.m_hFile, size, SEEK_SET) < 0) CFileException::ThrowErrno(errno, target.GetFilePath());
    ::lseek(source.m_hFile, size, SEEK_SET);
}

BOOL PlatformOpenFileNoFollow(CFile& rFile, LPCTSTR lpszFileName, CFileStatus& rStatus) {
    fs::FileInfo info;
    if (!OpenAs(rFile, lpszFileName, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary, O_NOFOLLOW, info,
                nullptr))
        return FALSE;
    FillStatus(info, rFile.GetFilePath(), rStatus);
    return TRUE;
}

BOOL PlatformCreateTempFile(LPCSTR pszBeside, CString& rTempPath, CFile& rFile, BOOL bLikeBeside) {
    rTempPath.Empty();
    rFile.Abort();
    std::string beside = pszBeside ? pszBeside : "";
    size_t sep = beside.find_last_of("\\/");
    std::string dir = sep != std::string::npos ? beside.substr(0, sep + 1)
                      : fs::HasDrive(beside)       ? beside.substr(0, 2)
                                                   : std::string();
    std::string posixBeside;
    fs::FileInfo like;
    bool keepMode = bLikeBeside && fs::ToPosix(pszBeside, posixBeside) && fs::Stat(posixBeside, like, true) == 0 &&
                    !like.isDirectory;

    // The process id is read once: a child of fork mixing its parent's id
    // can only meet a name that exists, which O_EXCL refuses.
    static const unsigned pid = static_cast<unsigned>(::getpid());
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct timespec now;
        ::clock_gettime(CLOCK_REALTIME, &now);
        unsigned mix = static_cast<unsigned>(now.tv_nsec) ^ (pid << 16) ^ (counter++ * 2654435761u);
        char name[32];
        std::snprintf(name, sizeof name, ".cb%08x.tmp", mix);
        std::string path = dir + name, posix;
        if (!fs::ToPosix(path.c_str(), posix)) {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return FALSE;
        }
        int fd = fs::Open(posix, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : PlatformErrorFromErrno(errno));
            return FALSE;
        }
        if (keepMode) {
            // The new version belongs to the file's owner and group, as a
            // rewrite in place would; a process that may not give it away
            // leaves it its own.
            if (like.owner != ::geteuid() || like.group != ::getegid())
                (void)::fchown(fd, like.owner, like.group);
            ::fchmod(fd, like.mode | 0200);
        }
        rFile.m_hFile = fd;
        rFile.SetFilePath(fs::FullPath(path.c_str()));
        rTempPath = rFile.GetFilePath();
        return TRUE;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return FALSE;
}

void PlatformSetCopyStatus(CFile& rFile, const CFileStatus& status) {
    time_t accessed = status.m_atime.GetTime(), modified = status.m_mtime.GetTime();
    struct timespec times[2] = {};
    times[0].tv_sec = accessed;
    times[0].tv_nsec = accessed ? 0 : UTIME_OMIT;
    times[1].tv_sec = modified;
    times[1].tv_nsec = modified ? 0 : UTIME_OMIT;
    if (PlatformSyscallFails(Syscall::Utime) || ::futimens(rFile.m_hFile, times) != 0)
        CFileException::ThrowErrno(errno, rFile.GetFilePath());
    if (!(status.m_attribute & CFile::readOnly)) return;
    fs::FileInfo info;
    if (fs::StatFd(rFile.m_hFile, info) != 0 || PlatformSyscallFails(Syscall::Chmod) ||
        ::fchmod(rFile.m_hFile, info.mode & ~0222u) != 0)
        CFileException::ThrowErrno(errno, rFile.GetFilePath());
}
