// Stream files, files and directories by name: the C runtime's fopen with
// its text mode and its file and directory calls (namespace crt); the Win32
// file and directory functions are in platform/kernel/FileApi.h. Paths are
// library paths, translated through the drive table; an unmapped drive is a
// missing path.
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
#pragma once

#include <cstdio>

#include "platform/kernel/FileApi.h"


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
// The descriptor of a stream, and whether a descriptor is a terminal.
PLATFORM_API int _fileno(FILE* stream);
PLATFORM_API int _isatty(int fd);

}  // namespace crt

// Appends text to a file as the runtime's text mode would (fopen with
// "at+", one fwrite, fclose: a missing file is created, one Ctrl-Z at its
// end is removed, LF is written as CR LF), but in one write while the file
// is this append's alone, so that the appends of writers sharing the file,
// in any process, take turns and never mix. The text is whole in the file
// or not there: a write that falls short (a full disk) is cut back to where
// the text began. A link in the file's place is never followed
// (ERROR_CANT_RESOLVE_FILENAME). While a sole writer holds the file
// (PlatformClaimAppends, Mapping.h), or another append holds it past a
// bound (2 s), nothing is written: FALSE with ERROR_LOCK_VIOLATION, and the
// caller writes elsewhere. A directory, FIFO, device or read-only file fails
// with ERROR_ACCESS_DENIED, a missing directory with ERROR_PATH_NOT_FOUND;
// other failures set the last error from the system's (PlatformLastErrorText).
PLATFORM_API BOOL PlatformAppendText(LPCSTR pszPath, const char* pText, size_t nLength);

