// Stream files, files and directories by name: the C runtime's fopen with
// its text mode and its file and directory calls (namespace crt), and the
// Win32 file and directory functions. Paths are library paths, translated
// through the drive table; an unmapped drive is a missing path.
//
// crt::fopen returns an ordinary FILE*: use fread, fwrite, fgets, fprintf,
// fseek, ftell and fclose on it. Modes are the runtime's: "r", "w" or "a",
// optionally "+", then "t" or "b" (the commit flags c, n, N, S, R and T are
// accepted and ignored; anything else fails with EINVAL).
//
// Text mode ("t", or no "b") keeps files byte-compatible with the original
// platform: LF is written as CR LF; CR LF is read as LF while a lone CR stays;
// a Ctrl-Z byte (0x1A) ends the text, and reads give nothing more until the
// next seek. Opening a text file for update ("r+", "w+", "a+") removes one
// Ctrl-Z at its end, so appended text is not hidden behind it. Binary mode
// copies bytes.
//
// Positions in text mode are byte offsets in the file, as the original's
// are: ftell after reading "a" CR LF gives 3, fseek to a value ftell gave
// returns there, and SEEK_END counts from the file's last byte. An offset
// that falls between a CR and its LF reads the LF alone. To keep those
// offsets exact, text streams are unbuffered at the stdio level; the text
// translation buffers its reads itself.
//
// Win32 functions report failure by their result and GetLastError.
#pragma once

#include <cstdio>

#include "platform/Strings.h"

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

namespace crt {

// Null with errno set on failure: ENOENT for a missing file or drive, EACCES
// for a directory or a denied file, EINVAL for a bad mode. As on the original
// platform, a read-only file (no owner write permission) is never opened for
// writing, even by root, and a refused "w" open leaves the file intact.
PLATFORM_API FILE* fopen(const char* pszPath, const char* pszMode);

// Deletes a file; a read-only file or a directory fails with EACCES.
PLATFORM_API int remove(const char* pszPath);
// Renames a file or directory; an existing target fails with EACCES and is
// left as it was.
PLATFORM_API int rename(const char* pszOldName, const char* pszNewName);
PLATFORM_API int _chdir(const char* pszDir);
// The current directory in library form ("C:\dir"). With a null buffer a
// block of at least maxlen bytes is allocated with malloc; the caller frees
// it. Null with ERANGE when the buffer is too small.
PLATFORM_API char* _getcwd(char* pBuffer, int maxlen);
PLATFORM_API int _mkdir(const char* pszDir);
PLATFORM_API int _rmdir(const char* pszDir);
// mode 0 tests existence, 2 write permission, 4 read permission, 6 both; as
// on the original platform, only the read-only attribute denies anything.
PLATFORM_API int _access(const char* pszPath, int mode);

}  // namespace crt

PLATFORM_API BOOL SetCurrentDirectoryA(LPCSTR lpPathName);
// The full path of lpFileName, as every call resolves it before the system
// sees it (PlatformFullPath in platform/Paths.h): absolute, "." and ".."
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

// Appends text to a file as the runtime's text mode would (fopen with
// "at+", one fwrite, fclose: a missing file is created, one Ctrl-Z at its
// end is removed, LF is written as CR LF), but in one write, so that the
// appends of writers sharing the file, in any process, never mix. While a sole writer holds the file
// (PlatformClaimAppends, Mapping.h) nothing is written: FALSE with
// ERROR_LOCK_VIOLATION, and the caller writes elsewhere. A directory or a
// read-only file fails with ERROR_ACCESS_DENIED, a missing directory with
// ERROR_PATH_NOT_FOUND; other failures set the last error too.
PLATFORM_API BOOL PlatformAppendText(LPCSTR pszPath, const char* pText, size_t nLength);

