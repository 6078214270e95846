// CFileException and CFile over POSIX descriptors, and the file copies,
// opens and temporary files the library's walks and rewrites are built on.
#include "platform/mfc/Files.h"

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

namespace fs = platform::fs;

// ---- CFileException ---------------------------------------------------------

IMPLEMENT_DYNAMIC(CFileException, CException)

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

enum class Share { none, shared, exclusive };

Share ShareFor(UINT nOpenFlags) {
    switch (nOpenFlags & 0x70) {
    case CFile::shareDenyNone: return Share::none;
    case CFile::shareDenyWrite:
    case CFile::shareDenyRead: return Share::shared;
    default: return Share::exclusive;
    }
}

unsigned OpenFlagsFor(UINT nOpenFlags) {
    unsigned flags = (nOpenFlags & 3) == CFile::modeWrite       ? fs::kOpenWrite
                     : (nOpenFlags & 3) == CFile::modeReadWrite ? fs::kOpenReadWrite
                                                                 : fs::kOpenRead;
    return flags | ((nOpenFlags & CFile::modeCreate) ? fs::kOpenCreate : 0u);
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

// CFile::Open with further open flags (fs::OpenFlags); info is the open
// file's status.
BOOL OpenAs(CFile& file, LPCTSTR lpszFileName, UINT nOpenFlags, unsigned extraFlags, fs::FileInfo& info,
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

    int fd = fs::OpenFile(posix, fs::SystemOpenFlags(OpenFlagsFor(nOpenFlags) | extraFlags), 0666, info);
    if (fd < 0) {
        // With O_CREAT a missing entry can only be a missing directory.
        bool create = nOpenFlags & CFile::modeCreate;
        return fail(errno == ENOENT && create ? ERROR_PATH_NOT_FOUND : PlatformErrorFromErrno(errno));
    }
    DWORD code = ERROR_SUCCESS;
    Share share = ShareFor(nOpenFlags);
    if ((nOpenFlags & 3) != CFile::modeRead && fs::IsReadOnly(info))
        code = ERROR_ACCESS_DENIED;  // even where POSIX would allow it (to root)
    else if (share != Share::none && fs::LockWhole(fd, share == Share::exclusive) != 0)
        code = errno == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : PlatformErrorFromErrno(errno);
    // Emptied only now, so that a file another CFile holds stays intact; an
    // empty file is left alone (ext4 writes a truncated file out at close).
    else if ((nOpenFlags & CFile::modeCreate) && !(nOpenFlags & CFile::modeNoTruncate) && info.size > 0 &&
             fs::Truncate(fd, 0) != 0)
        code = PlatformErrorFromErrno(errno);
    if (code != ERROR_SUCCESS) {
        fs::Close(fd);
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
    int64_t position = fs::Seek(m_hFile, lOff, whence);
    if (position < 0)
        CFileException::ThrowOsError(
            errno == EINVAL ? ERROR_NEGATIVE_SEEK : static_cast<LONG>(PlatformErrorFromErrno(errno)),
            m_strFileName);
    return static_cast<LONG>(position);
}

DWORD CFile::GetPosition() const {
    int64_t position = fs::Seek(m_hFile, 0, SEEK_CUR);
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
    if (fs::Flush(m_hFile) != 0) CFileException::ThrowErrno(errno, m_strFileName);
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
    if (m_hFile != hFileNull) fs::Close(m_hFile);
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

void PlatformCopyFileData(CFile& source, CFile& target) {
    bool sourceFailed;
    if (fs::CopyData(source.m_hFile, target.m_hFile, sourceFailed) != 0)
        CFileException::ThrowErrno(errno, sourceFailed ? source.GetFilePath() : target.GetFilePath());
}

BOOL PlatformOpenFileNoFollow(CFile& rFile, LPCTSTR lpszFileName, CFileStatus& rStatus) {
    fs::FileInfo info;
    if (!OpenAs(rFile, lpszFileName, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary, fs::kOpenNoFollow,
                info, nullptr))
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
    std::string posixBeside, posixDir, name;
    fs::FileInfo like;
    bool keepMode = bLikeBeside && fs::ToPosix(pszBeside, posixBeside) && fs::Stat(posixBeside, like, true) == 0 &&
                    !like.isDirectory;
    if (!fs::ToPosix((dir.empty() ? "." : dir).c_str(), posixDir)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    int fd = fs::CreateTemp(posixDir, keepMode ? &like : nullptr, name);
    if (fd < 0) {
        SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND
                     : errno == EEXIST ? ERROR_FILE_EXISTS
                                       : PlatformErrorFromErrno(errno));
        return FALSE;
    }
    rFile.m_hFile = fd;
    rFile.SetFilePath(fs::FullPath((dir + name).c_str()));
    rTempPath = rFile.GetFilePath();
    return TRUE;
}

void PlatformSetCopyStatus(CFile& rFile, const CFileStatus& status) {
    if (fs::SetTimesFd(rFile.m_hFile, status.m_atime.GetTime(), status.m_mtime.GetTime()) != 0 ||
        ((status.m_attribute & CFile::readOnly) && fs::MakeReadOnlyFd(rFile.m_hFile) != 0))
        CFileException::ThrowErrno(errno, rFile.GetFilePath());
}
