// File-system services shared by the platform's stream, file and finder
// code: the raw calls behind the syscall seam, file information in the
// original platform's terms, and the original platform's rules for removing
// and renaming. Internal to the platform layer: nothing here is exported.
//
// Functions returning int give 0 on success and -1 with errno set, as the
// POSIX calls do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "platform/atl/Strings.h"
#include "platform/kernel/Errors.h"

namespace platform::fs {

struct FileInfo {
    bool isDirectory = false;
    bool isLink = false;       // only reported when links are not followed
    bool isSpecial = false;    // a FIFO, socket or device: never opened as a file
    int64_t size = 0;
    unsigned mode = 0;         // permission bits
    time_t created = 0;        // birth time where the file system keeps one, else status-change time
    time_t accessed = 0;
    time_t modified = 0;
    uint64_t device = 0;       // with the inode, names the file
    uint64_t inode = 0;
    unsigned links = 0;
    unsigned owner = 0;        // user and group ids
    unsigned group = 0;
};

// Translates a path for a Win32 call; an unmapped drive is a missing path
// (ERROR_PATH_NOT_FOUND).
bool Win32Path(LPCSTR path, std::string& posix);
// Sets the last error from errno and returns FALSE; ENOENT becomes
// missingCode, for calls where a missing entry can only be a missing
// directory.
BOOL Win32Fail(DWORD missingCode = ERROR_FILE_NOT_FOUND);

// True when the path starts with a drive ("C:").
bool HasDrive(const std::string& path);
// Translates a library path; false with errno ENOENT for an unmapped drive.
bool ToPosix(LPCTSTR path, std::string& posix);
// The current directory in library form ("C:\dir"); empty with errno set
// when it cannot be read.
CString CurrentDirectory();
// The full library path (PlatformFullPath); an empty path names the current
// directory. The path as given when it cannot be resolved.
CString FullPath(LPCTSTR path);
// A file name without its extension (the text before its last dot).
CString Title(const CString& name);

// Open flags of this layer for the layers above, which see no POSIX
// header; SystemOpenFlags gives the system's flags for them (with
// O_CLOEXEC always).
enum OpenFlags : unsigned {
    kOpenRead = 0,
    kOpenWrite = 1,
    kOpenReadWrite = 2,
    kOpenCreate = 1u << 2,     // create when missing
    kOpenExclusive = 1u << 3,  // with kOpenCreate: fail when it exists
    kOpenNoFollow = 1u << 4,   // refuse a link as the last component
};
int SystemOpenFlags(unsigned flags);

int Open(const std::string& posix, int flags, unsigned mode);
// Opens a file as a file: without blocking (a FIFO with no writer, or a
// device, would block a plain open for ever), then refuses with EACCES what
// is not a regular file: a directory, FIFO, socket or device, as the
// original platform refuses to open a directory. info is the open file's
// status. O_NONBLOCK stays set; it changes nothing for regular files.
int OpenFile(const std::string& posix, int flags, unsigned mode, FileInfo& info);
// Reads up to count bytes (retrying interrupted calls); -1 on error.
long Read(int fd, void* buffer, size_t count);
// Writes all count bytes unless a call fails; returns the bytes written,
// which is less than count (with errno set) after a failure.
size_t Write(int fd, const void* buffer, size_t count);
int Close(int fd);
int Truncate(int fd, int64_t length);
// lseek; whence is SEEK_SET, SEEK_CUR or SEEK_END. The new offset, or -1.
int64_t Seek(int fd, int64_t offset, int whence);
// fsync.
int Flush(int fd);
// A whole-file lock that other opens of the file honour (flock), taken
// without waiting: -1 with EWOULDBLOCK while another holds it.
int LockWhole(int fd, bool bExclusive);
// Copies the whole of source, from its start, over target (emptied first)
// in bounded steps: the kernel copies where it can, else a block of 1 MiB
// goes between them; holes of a sparse source stay holes. Both are left at
// their end. -1 with errno on failure, bSourceFailed telling which side.
int CopyData(int source, int target, bool& bSourceFailed);
// Creates a new, empty file with a unique hidden name (".cb*.tmp") in the
// directory posixDir ("" for the current one), open for writing; name
// receives its name. With like, the file takes its permission bits (owner
// write added) and, where the process may give them, its owner and group.
int CreateTemp(const std::string& posixDir, const FileInfo* like, std::string& name);
// Times of 0 are left unchanged.
int SetTimesFd(int fd, time_t accessed, time_t modified);
// Clears every write bit of the open file.
int MakeReadOnlyFd(int fd);
int Stat(const std::string& posix, FileInfo& info, bool bFollowLinks);
int StatFd(int fd, FileInfo& info);
int Mkdir(const std::string& posix);
int Rmdir(const std::string& posix);
// The type a directory entry gives with its name, which costs nothing to
// learn (Stat tells the rest).
enum class EntryType { unknown, directory, link, regular, special };
// Reads the entries of a directory, "." and ".." included, handing each to
// visit as it is read (the name lasts for the call only). On failure
// (-1, errno set) entries already visited must be dropped by the caller.
int ReadDirectory(const std::string& posix, const std::function<void(const char* name, EntryType type)>& visit);

// The original platform refuses to delete a read-only file or a directory
// (EACCES); POSIX would allow the first.
int RemoveFile(const std::string& posix);
// Renames without replacing: an existing target fails with EEXIST, as a move
// on the original platform does, where POSIX rename would replace it.
int Rename(const std::string& from, const std::string& to);
// Renames over an existing target in one step (POSIX rename), so a reader
// sees either the old file or the new one. As on the original platform a
// read-only target or a directory is never replaced (EACCES).
int Replace(const std::string& from, const std::string& to);
// fsync of a file or directory by name.
int SyncToDisk(const std::string& posix);
// The directory part of a POSIX path ("." when there is none).
std::string ParentOf(const std::string& posix);
// Times of 0 are left unchanged. Creation times cannot be set on POSIX.
int SetTimes(const std::string& posix, time_t accessed, time_t modified);
// Read-only clears every write bit; writable gives the owner write back.
int SetReadOnly(const std::string& posix, bool bReadOnly);

// The original platform's attribute bits (FILE_ATTRIBUTE_*) for a file of
// that name. Read-only means no owner write bit; hidden means a leading dot;
// regular files carry the archive bit; a symbolic link is a reparse point,
// never a directory, so no walk follows it out of its tree; a FIFO, socket
// or device is FILE_ATTRIBUTE_DEVICE, never a file to open.
DWORD Attributes(const FileInfo& info, const char* name);
inline bool IsReadOnly(const FileInfo& info) { return (info.mode & 0200) == 0; }

// Files that many writers append to while one sole writer may claim them for
// itself (the logs' day files). The writers agree through open-file-
// description locks, which hold between descriptors of one process as
// between processes, on bytes far beyond any file's end, so the data is
// never touched and no other lock of the file meets them:
//   - an appender holds a shared lock on the claim byte for one append (one
//     O_APPEND write, which the kernel never mixes with another);
//   - a claimant holds the claimant byte and, once the appends in progress
//     have ended, the claim byte, until its descriptor is closed.
// Where the file system keeps no such locks all of them go ahead unguarded.
//
// Begins an append: 0 with the claim kept off until fd is closed; -1 with
// EAGAIN while a claimant holds the file, or the errno of a failed lock.
int BeginAppend(int fd);
// For an append that must change what the file holds (a Ctrl-Z to drop at
// its end): 0 once every other such append has ended; they wait until fd is
// closed.
int LockFileEnd(int fd);
// Claims the file for fd: 0; -1 with EAGAIN when another descriptor holds
// the claim, or when appends went on without a pause for a second; or the
// errno of a failed lock.
int ClaimAppends(int fd);

}  // namespace platform::fs
