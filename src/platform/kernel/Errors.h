// Win32 error codes, the per-thread last error, and the one mapping from
// errno to those codes.
//
// Every platform call that fails the Win32 way (a FALSE or invalid result)
// leaves its code in the calling thread's last error, taken from errno
// through PlatformErrorFromErrno, so callers see the codes they would see on
// the original platform (ERROR_FILE_NOT_FOUND for a missing file, and so on).
#pragma once

#include "platform/atl/Strings.h"

#define ERROR_SUCCESS 0L
#define NO_ERROR 0L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_INVALID_DRIVE 15L
#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_WRITE_PROTECT 19L
#define ERROR_GEN_FAILURE 31L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_LOCK_VIOLATION 33L
#define ERROR_HANDLE_EOF 38L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_DEV_NOT_EXIST 55L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BROKEN_PIPE 109L
#define ERROR_DISK_FULL 112L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_NEGATIVE_SEEK 131L
#define ERROR_SEEK_ON_DEVICE 132L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_DISCARDED 157L
#define ERROR_NOT_LOCKED 158L
#define ERROR_BUSY 170L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_BAD_EXE_FORMAT 193L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_FILE_TOO_LARGE 223L
#define ERROR_NOT_OWNER 288L
#define ERROR_DIRECTORY 267L
#define ERROR_OPERATION_ABORTED 995L
#define ERROR_IO_DEVICE 1117L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_CLIPBOARD_NOT_OPEN 1418L
#define ERROR_TIMEOUT 1460L
#define ERROR_CANT_RESOLVE_FILENAME 1921L

// The calling thread's last error (0 until something sets it).
PLATFORM_API DWORD GetLastError();
PLATFORM_API void SetLastError(DWORD dwErrCode);

// The Win32 code for an errno value. ENOENT gives ERROR_FILE_NOT_FOUND; a
// caller that knows the missing part is a directory uses ERROR_PATH_NOT_FOUND.
// Values without a counterpart give ERROR_GEN_FAILURE. The calling thread
// remembers the last value mapped, for PlatformPosixErrorText.
PLATFORM_API DWORD PlatformErrorFromErrno(int err);
// Stores the code for err as the last error and returns it.
PLATFORM_API DWORD PlatformSetLastErrorFromErrno(int err);

// The system's text for a code, as the original platform words it
// ("The system cannot find the file specified."); unknown codes give
// "Unknown error N.".
PLATFORM_API CString PlatformErrorText(DWORD dwErrCode);
// The calling thread's last error as PlatformErrorText words it, followed,
// when it came from a system error (PlatformSetLastErrorFromErrno), by this
// system's own words for that error in parentheses: "There is not enough
// space on the disk. (No space left on device)".
PLATFORM_API CString PlatformLastErrorText();
// The same failure in the words of strerror ("Is a directory"), for programs
// that speak to a POSIX user: the text of the errno this thread last mapped
// when it gave this code, else of the errno the code stands for. Codes with
// no errno counterpart give PlatformErrorText's text.
PLATFORM_API CString PlatformPosixErrorText(DWORD dwErrCode);
