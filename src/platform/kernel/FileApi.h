// The Win32 file and directory functions that work by name. Paths are
// library paths, translated through the drive table; an unmapped drive is a
// missing path. Failures are reported by the result and GetLastError.
#pragma once

#include "platform/atl/Strings.h"

#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_SYSTEM 0x00000004u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_DEVICE 0x00000040u  // a FIFO, socket or device
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400u
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu

#define MOVEFILE_REPLACE_EXISTING 0x00000001u
#define MOVEFILE_WRITE_THROUGH 0x00000008u

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

PLATFORM_API BOOL SetCurrentDirectoryA(LPCSTR lpPathName);
// The full path of lpFileName, as every call resolves it before the system
// sees it (PlatformFullPath in platform/kernel/Paths.h): absolute, "." and ".."
// resolved as text, never above the drive's root. Returns the length copied
// (without the terminator), or, when the buffer is too small, the size
// needed including it; 0 with ERROR_INVALID_NAME for an empty name. When
// lpFilePart is given it points at the last component in the buffer (null
// when the path ends with a backslash).
PLATFORM_API DWORD GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart);
// The length copied (without the terminator), or, when the buffer is too
// small, the size needed including the terminator; 0 on failure.
PLATFORM_API DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);
// Security attributes are not used. An existing directory fails with
// ERROR_ALREADY_EXISTS, a missing parent with ERROR_PATH_NOT_FOUND.
PLATFORM_API BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
PLATFORM_API BOOL RemoveDirectoryA(LPCSTR lpPathName);
// A read-only file or a directory fails with ERROR_ACCESS_DENIED.
PLATFORM_API BOOL DeleteFileA(LPCSTR lpFileName);
// FILE_ATTRIBUTE_* bits of the entry itself (a symbolic link is reported as
// FILE_ATTRIBUTE_REPARSE_POINT, not as what it points at), or
// INVALID_FILE_ATTRIBUTES.
PLATFORM_API DWORD GetFileAttributesA(LPCSTR lpFileName);
// An existing target fails with ERROR_ALREADY_EXISTS; a move to another file
// system fails with ERROR_NOT_SAME_DEVICE (nothing is copied).
PLATFORM_API BOOL MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName);
// MoveFileA with flags. MOVEFILE_REPLACE_EXISTING replaces an existing file
// in one atomic step: a reader sees the old file or the new one, never a
// mix or nothing. The moved file keeps its own contents, mode and times. As
// on the original platform, a read-only target or a directory is not
// replaced (ERROR_ACCESS_DENIED). MOVEFILE_WRITE_THROUGH returns only once the
// file's data and the new directory entry are on the disk. Other flags
// (copying across file systems, delayed moves) are not offered:
// ERROR_INVALID_PARAMETER. Without flags it is MoveFileA.
PLATFORM_API BOOL MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags);
