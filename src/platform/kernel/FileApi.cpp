// The Win32 file and directory functions by name, over the file system
// boundary.
#include "platform/kernel/FileApi.h"

#include <cstring>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/SyscallTable.h"

namespace fs = platform::fs;
using fs::Win32Fail;
using fs::Win32Path;

BOOL SetCurrentDirectoryA(LPCSTR lpPathName) {
    std::string posix;
    if (!Win32Path(lpPathName, posix)) return FALSE;
    return platform::sys::Chdir(posix.c_str()) == 0 ? TRUE : Win32Fail();
}

DWORD GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
    if (lpFilePart) *lpFilePart = nullptr;
    std::string full;
    if (!PlatformFullPath(lpFileName, full)) {
        SetLastError(lpFileName && *lpFileName ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_NAME);
        return 0;
    }
    DWORD length = static_cast<DWORD>(full.size());
    if (!lpBuffer || nBufferLength < length + 1) return length + 1;
    std::memcpy(lpBuffer, full.c_str(), length + 1);
    if (lpFilePart && full.back() != '\\') *lpFilePart = lpBuffer + full.rfind('\\') + 1;
    return length;
}

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
    CString dir = fs::CurrentDirectory();
    if (dir.IsEmpty()) {
        PlatformSetLastErrorFromErrno(errno);
        return 0;
    }
    DWORD length = static_cast<DWORD>(dir.GetLength());
    if (!lpBuffer || nBufferLength < length + 1) return length + 1;
    std::memcpy(lpBuffer, static_cast<LPCTSTR>(dir), length + 1);
    return length;
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES) {
    std::string posix;
    if (!Win32Path(lpPathName, posix)) return FALSE;
    return fs::Mkdir(posix) == 0 ? TRUE : Win32Fail(ERROR_PATH_NOT_FOUND);
}

BOOL RemoveDirectoryA(LPCSTR lpPathName) {
    std::string posix;
    if (!Win32Path(lpPathName, posix)) return FALSE;
    return fs::Rmdir(posix) == 0 ? TRUE : Win32Fail();
}

BOOL DeleteFileA(LPCSTR lpFileName) {
    std::string posix;
    if (!Win32Path(lpFileName, posix)) return FALSE;
    return fs::RemoveFile(posix) == 0 ? TRUE : Win32Fail();
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
    std::string posix;
    fs::FileInfo info;
    if (!Win32Path(lpFileName, posix)) return INVALID_FILE_ATTRIBUTES;
    if (fs::Stat(posix, info, false) != 0) {
        Win32Fail();
        return INVALID_FILE_ATTRIBUTES;
    }
    size_t slash = posix.find_last_of('/');
    return fs::Attributes(info, posix.c_str() + (slash == std::string::npos ? 0 : slash + 1));
}

BOOL MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) {
    std::string from, to;
    if (!Win32Path(lpExistingFileName, from) || !Win32Path(lpNewFileName, to)) return FALSE;
    return fs::Rename(from, to) == 0 ? TRUE : Win32Fail();
}

BOOL MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) {
    if (dwFlags & ~(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string from, to;
    if (!Win32Path(lpExistingFileName, from) || !Win32Path(lpNewFileName, to)) return FALSE;
    bool writeThrough = dwFlags & MOVEFILE_WRITE_THROUGH;
    if (writeThrough && fs::SyncToDisk(from) != 0) return Win32Fail();
    int result = (dwFlags & MOVEFILE_REPLACE_EXISTING) ? fs::Replace(from, to) : fs::Rename(from, to);
    if (result == 0 && writeThrough) result = fs::SyncToDisk(fs::ParentOf(to));
    return result == 0 ? TRUE : Win32Fail();
}
