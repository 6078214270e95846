// File handles and file mapping: CreateFileA and the handle calls that go
// with it, CreateFileMappingA and its views, and GetSystemInfo.
//
// A file handle is a kernel-object handle (platform/kernel/Handles.h): CloseHandle
// closes it. A mapping is mmap over the file, which CreateFileMappingA first
// extends with ftruncate when the mapping is larger than the file, as the
// original platform does. Views stay valid after the mapping's and the file's
// handles are closed, until UnmapViewOfFile. The allocation granularity is
// 65536, so mapping sizes and view offsets follow the original platform.
//
// Where POSIX differs: share modes are not enforced (every open shares
// reading, writing and deleting); FILE_FLAG_WRITE_THROUGH makes writes and
// FlushViewOfFile reach the disk before they return (O_DSYNC, msync MS_SYNC);
// without it FlushViewOfFile only schedules the write, as the original does.
// FILE_FLAG_SEQUENTIAL_SCAN makes the views of the file read ahead in large
// batches (MADV_SEQUENTIAL). FILE_FLAG_OPEN_REPARSE_POINT opens the name
// itself, never what a link there points at; since a symbolic link cannot
// be opened as a file here, a link then fails with
// ERROR_CANT_RESOLVE_FILENAME. Named and page-file mappings are not
// supported.
#pragma once

#include "platform/kernel/Handles.h"
#include "platform/shared/Types.h"

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;
typedef DWORD* LPDWORD;
typedef const void* LPCVOID;

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u

#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u

#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u
#define TRUNCATE_EXISTING 5u

#define FILE_FLAG_WRITE_THROUGH 0x80000000u
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000u
#define FILE_FLAG_OPEN_REPARSE_POINT 0x00200000u

#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu

#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u

#define FILE_MAP_WRITE 0x0002u
#define FILE_MAP_READ 0x0004u
#define FILE_MAP_ALL_ACCESS 0x000F001Fu

#define ERROR_FILE_INVALID 1006L
#define ERROR_MAPPED_ALIGNMENT 1132L
#define ERROR_USER_MAPPED_FILE 1224L
#define ERROR_INVALID_ADDRESS 487L

struct FILETIME {
    DWORD dwLowDateTime;   // 100-nanosecond intervals since 1601-01-01 UTC
    DWORD dwHighDateTime;
};

struct BY_HANDLE_FILE_INFORMATION {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD dwVolumeSerialNumber;  // the file system's device number
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD nNumberOfLinks;
    DWORD nFileIndexHigh;        // the inode number: with the volume it names the file
    DWORD nFileIndexLow;
};

struct SYSTEM_INFO {
    WORD wProcessorArchitecture;
    WORD wReserved;
    DWORD dwPageSize;
    LPVOID lpMinimumApplicationAddress;
    LPVOID lpMaximumApplicationAddress;
    ULONG_PTR dwActiveProcessorMask;
    DWORD dwNumberOfProcessors;
    DWORD dwProcessorType;
    DWORD dwAllocationGranularity;  // always 65536
    WORD wProcessorLevel;
    WORD wProcessorRevision;
};

// ---- Files ------------------------------------------------------------------

// Opens or creates a file. dwDesiredAccess is GENERIC_READ and/or
// GENERIC_WRITE; dwCreationDisposition one of CREATE_NEW, CREATE_ALWAYS,
// OPEN_EXISTING, OPEN_ALWAYS, TRUNCATE_EXISTING. With OPEN_ALWAYS and
// CREATE_ALWAYS the last error is ERROR_ALREADY_EXISTS when the file was
// there, else 0. A directory or a read-only file opened for writing fails with
// ERROR_ACCESS_DENIED. INVALID_HANDLE_VALUE on failure.
PLATFORM_API HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                                DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
// Reads up to nNumberOfBytesToRead bytes at the file pointer and advances it;
// fewer (0 at the end) only at the end of the file. lpOverlapped must be null.
PLATFORM_API BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                           LPOVERLAPPED lpOverlapped);
// Moves the file pointer; the distance is 64-bit when lpDistanceToMoveHigh is
// given (it then receives the high part of the new position). Returns the low
// part of the new position; INVALID_SET_FILE_POINTER with a last error on
// failure (a position before the start is ERROR_NEGATIVE_SEEK).
PLATFORM_API DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh, DWORD dwMoveMethod);
// Makes the file end at the file pointer (cutting or extending it). Fails with
// ERROR_USER_MAPPED_FILE when a view of this handle's file that is still
// mapped reaches past the new end: its pages would have no file behind them.
PLATFORM_API BOOL SetEndOfFile(HANDLE hFile);
PLATFORM_API BOOL GetFileInformationByHandle(HANDLE hFile, BY_HANDLE_FILE_INFORMATION* lpFileInformation);
// Claims the file for this handle alone among the writers that append to it
// with PlatformAppendText (Stdio.h), in this process or any other: waits for
// the append in progress to end; from then on until the file is closed (its
// handle and the views made of it) those writers write elsewhere. FALSE with
// ERROR_LOCK_VIOLATION when another handle holds the claim.
PLATFORM_API BOOL PlatformClaimAppends(HANDLE hFile);

// ---- Mappings and views -----------------------------------------------------

// A mapping of the file, dwMaximumSizeHigh:Low bytes long; 0 means the file's
// size (an empty file then fails with ERROR_FILE_INVALID). A PAGE_READWRITE
// mapping larger than the file extends the file to that size with zero bytes;
// a PAGE_READONLY one cannot (ERROR_ACCESS_DENIED). A smaller mapping leaves
// the file as it is. lpName must be null and hFile a file handle. Null on
// failure.
PLATFORM_API HANDLE CreateFileMappingA(HANDLE hFile, LPSECURITY_ATTRIBUTES lpAttributes, DWORD flProtect,
                                       DWORD dwMaximumSizeHigh, DWORD dwMaximumSizeLow, LPCSTR lpName);
// Maps dwNumberOfBytesToMap bytes of the mapping from the offset (a multiple
// of the allocation granularity, else ERROR_MAPPED_ALIGNMENT); 0 bytes maps
// to the end of the mapping. A view reaching past the mapping, or a write view
// of a read-only mapping, fails with ERROR_ACCESS_DENIED. Null on failure.
PLATFORM_API LPVOID MapViewOfFile(HANDLE hFileMappingObject, DWORD dwDesiredAccess, DWORD dwFileOffsetHigh,
                                  DWORD dwFileOffsetLow, SIZE_T dwNumberOfBytesToMap);
// lpBaseAddress must be an address MapViewOfFile returned (else
// ERROR_INVALID_ADDRESS).
PLATFORM_API BOOL UnmapViewOfFile(LPCVOID lpBaseAddress);
// Writes the view's changed pages in the range to the file (see above for
// when it waits for the disk). The range starts anywhere inside a view; 0
// bytes means to the view's end, and a range past the end stops there.
PLATFORM_API BOOL FlushViewOfFile(LPCVOID lpBaseAddress, SIZE_T dwNumberOfBytesToFlush);

PLATFORM_API void GetSystemInfo(SYSTEM_INFO* lpSystemInfo);
