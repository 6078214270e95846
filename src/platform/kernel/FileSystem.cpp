// File-system services shared inside the platform layer. Every raw call that
// has a kind in the syscall seam asks the seam first; chdir, getcwd, lseek,
// fsync, flock, fcntl locks and pread have no kind and are called directly
// by their users.
#include "platform/kernel/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Syscalls.h"

namespace platform::fs {

namespace {

void FromStatx(const struct statx& sx, FileInfo& info) {
    info.isDirectory = S_ISDIR(sx.stx_mode);
    info.isLink = S_ISLNK(sx.stx_mode);
    info.isSpecial = !S_ISREG(sx.stx_mode) && !info.isDirectory && !info.isLink;
    info.size = static_cast<int64_t>(sx.stx_size);
    info.mode = sx.stx_mode & 07777;
    info.accessed = sx.stx_atime.tv_sec;
    info.modified = sx.stx_mtime.tv_sec;
    // A birth time of 0 means the file system did not record one.
    bool hasBirth = (sx.stx_mask & STATX_BTIME) && sx.stx_btime.tv_sec != 0;
    info.created = hasBirth ? sx.stx_btime.tv_sec : sx.stx_ctime.tv_sec;
    info.device = (static_cast<uint64_t>(sx.stx_dev_major) << 32) | sx.stx_dev_minor;
    info.inode = sx.stx_ino;
    info.links = sx.stx_nlink;
    info.owner = sx.stx_uid;
    info.group = sx.stx_gid;
}

void FromStat(const struct stat& st, FileInfo& info) {
    info.isDirectory = S_ISDIR(st.st_mode);
    info.isLink = S_ISLNK(st.st_mode);
    info.isSpecial = !S_ISREG(st.st_mode) && !info.isDirectory && !info.isLink;
    info.size = st.st_size;
    info.mode = st.st_mode & 07777;
    info.accessed = st.st_atime;
    info.modified = st.st_mtime;
    info.created = st.st_ctime;
    info.device = st.st_dev;
    info.inode = st.st_ino;
    info.links = static_cast<unsigned>(st.st_nlink);
    info.owner = st.st_uid;
    info.group = st.st_gid;
}

// statx where the kernel has it, fstatat otherwise.
int StatAt(int dirFd, const char* path, int flags, FileInfo& info) {
    struct statx sx;
    if (::statx(dirFd, path, flags, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
        FromStatx(sx, info);
        return 0;
    }
    if (errno != ENOSYS) return -1;
    struct stat st;
    if (::fstatat(dirFd, path, &st, flags) != 0) return -1;
    FromStat(st, info);
    return 0;
}

}  // namespace

bool Win32Path(LPCSTR path, std::string& posix) {
    if (ToPosix(path, posix)) return true;
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
}

BOOL Win32Fail(DWORD missingCode) {
    if (errno == ENOENT)
        SetLastError(missingCode);
    else
        PlatformSetLastErrorFromErrno(errno);
    return FALSE;
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool ToPosix(LPCTSTR path, std::string& posix) {
    if (PlatformToPosixPath(path, posix)) return true;
    errno = ENOENT;
    return false;
}

CString CurrentDirectory() {
    std::string buffer(256, '\0');
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return CString();
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return PlatformFromPosixPath(buffer);
}

CString FullPath(LPCTSTR path) {
    std::string full;
    if (PlatformFullPath(path && *path ? path : ".", full)) return CString(full);
    return CString(path ? path : "");
}

CString Title(const CString& name) {
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

int Open(const std::string& posix, int flags, unsigned mode) {
    if (PlatformSyscallFails(Syscall::Open)) return -1;
    int fd;
    do fd = ::open(posix.c_str(), flags, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

int OpenFile(const std::string& posix, int flags, unsigned mode, FileInfo& info) {
    int fd = Open(posix, flags | O_NONBLOCK | O_NOCTTY, mode);
    if (fd < 0) {
        if (errno == ENXIO) errno = EACCES;  // a FIFO without a reader, a socket or a missing device
        return -1;
    }
    int err = StatFd(fd, info) != 0 ? errno : info.isDirectory || info.isSpecial ? EACCES : 0;
    if (err != 0) {
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

long Read(int fd, void* buffer, size_t count) {
    if (PlatformSyscallFails(Syscall::Read)) return -1;
    ssize_t n;
    do n = ::read(fd, buffer, count);
    while (n < 0 && errno == EINTR);
    return static_cast<long>(n);
}

size_t Write(int fd, const void* buffer, size_t count) {
    const char* p = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < count) {
        if (PlatformSyscallFails(Syscall::Write)) return done;
        ssize_t n = ::write(fd, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return done;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

int Close(int fd) {
    if (PlatformSyscallFails(Syscall::Close)) {
        int err = errno;
        ::close(fd);  // the descriptor is released whatever the plan says
        errno = err;
        return -1;
    }
    return ::close(fd);
}

int Truncate(int fd, int64_t length) {
    if (PlatformSyscallFails(Syscall::Ftruncate)) return -1;
    return ::ftruncate(fd, length);
}

int Stat(const std::string& posix, FileInfo& info, bool bFollowLinks) {
    if (PlatformSyscallFails(bFollowLinks ? Syscall::Stat : Syscall::Lstat)) return -1;
    return StatAt(AT_FDCWD, posix.c_str(), bFollowLinks ? 0 : AT_SYMLINK_NOFOLLOW, info);
}

int StatFd(int fd, FileInfo& info) {
    if (PlatformSyscallFails(Syscall::Stat)) return -1;
    return StatAt(fd, "", AT_EMPTY_PATH, info);
}

int Mkdir(const std::string& posix) {
    if (PlatformSyscallFails(Syscall::Mkdir)) return -1;
    return ::mkdir(posix.c_str(), 0777);
}

int Rmdir(const std::string& posix) {
    if (PlatformSyscallFails(Syscall::Rmdir)) return -1;
    return ::rmdir(posix.c_str());
}

int ReadDirectory(const std::string& posix, const std::function<void(const char* name, EntryType type)>& visit) {
    if (PlatformSyscallFails(Syscall::OpenDir)) return -1;
    DIR* dir = ::opendir(posix.c_str());
    if (!dir) return -1;
    int result = 0;
    for (;;) {
        if (PlatformSyscallFails(Syscall::ReadDir)) {
            result = -1;
            break;
        }
        errno = 0;
        struct dirent* entry = ::readdir(dir);
        if (!entry) {
            if (errno != 0) result = -1;
            break;
        }
        EntryType type = entry->d_type == DT_DIR       ? EntryType::directory
                         : entry->d_type == DT_LNK     ? EntryType::link
                         : entry->d_type == DT_REG     ? EntryType::regular
                         : entry->d_type == DT_UNKNOWN ? EntryType::unknown
                                                       : EntryType::special;
        visit(entry->d_name, type);
    }
    int err = errno;
    ::closedir(dir);
    errno = err;
    return result;
}

int RemoveFile(const std::string& posix) {
    FileInfo info;
    if (Stat(posix, info, false) != 0) return -1;
    if (info.isDirectory || (!info.isLink && IsReadOnly(info))) {
        errno = EACCES;
        return -1;
    }
    if (PlatformSyscallFails(Syscall::Unlink)) return -1;
    return ::unlink(posix.c_str());
}

int Rename(const std::string& from, const std::string& to) {
    if (PlatformSyscallFails(Syscall::Rename)) return -1;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // The file system cannot rename without replacing: check, then rename.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

int Replace(const std::string& from, const std::string& to) {
    FileInfo target;
    if (Stat(to, target, false) == 0 && (target.isDirectory || (!target.isLink && IsReadOnly(target)))) {
        errno = EACCES;
        return -1;
    }
    if (PlatformSyscallFails(Syscall::Rename)) return -1;
    return ::rename(from.c_str(), to.c_str());
}

int SyncToDisk(const std::string& posix) {
    int fd = Open(posix, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) return -1;
    int result = ::fsync(fd);
    int err = errno;
    ::close(fd);
    errno = err;
    return result;
}

std::string ParentOf(const std::string& posix) {
    size_t slash = posix.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : posix.substr(0, slash);
}

int SetTimes(const std::string& posix, time_t accessed, time_t modified) {
    if (PlatformSyscallFails(Syscall::Utime)) return -1;
    struct timespec times[2] = {};
    times[0].tv_sec = accessed;
    times[0].tv_nsec = accessed ? 0 : UTIME_OMIT;
    times[1].tv_sec = modified;
    times[1].tv_nsec = modified ? 0 : UTIME_OMIT;
    return ::utimensat(AT_FDCWD, posix.c_str(), times, 0);
}

int SetReadOnly(const std::string& posix, bool bReadOnly) {
    FileInfo info;
    if (Stat(posix, info, true) != 0) return -1;
    unsigned mode = bReadOnly ? info.mode & ~0222u : info.mode | 0200u;
    if (mode == info.mode) return 0;
    if (PlatformSyscallFails(Syscall::Chmod)) return -1;
    return ::chmod(posix.c_str(), mode);
}

DWORD Attributes(const FileInfo& info, const char* name) {
    DWORD attributes;
    if (info.isLink)
        attributes = FILE_ATTRIBUTE_REPARSE_POINT;
    else if (info.isSpecial)
        attributes = FILE_ATTRIBUTE_DEVICE | (IsReadOnly(info) ? FILE_ATTRIBUTE_READONLY : 0);
    else
        attributes = (info.isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE) |
                     (IsReadOnly(info) ? FILE_ATTRIBUTE_READONLY : 0);
    if (name && name[0] == '.' && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes;
}

// ---- Shared appends ---------------------------------------------------------

namespace {

constexpr off_t kClaimByte = off_t{1} << 62;
constexpr off_t kClaimantByte = kClaimByte + 1;
constexpr off_t kFileEndByte = kClaimByte + 2;

int LockByte(int fd, int command, short type, off_t byte) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    int result;
    do result = ::fcntl(fd, command, &lock);
    while (result != 0 && errno == EINTR);
    if (result != 0 && errno == EACCES) errno = EAGAIN;  // held elsewhere, as some systems say it
    return result;
}

// File systems without byte-range locks.
bool NoLocks(int err) { return err == ENOLCK || err == EINVAL || err == EOPNOTSUPP || err == ENOSYS; }

}  // namespace

int BeginAppend(int fd) {
    if (LockByte(fd, F_OFD_SETLK, F_RDLCK, kClaimByte) == 0 || NoLocks(errno)) return 0;
    return -1;
}

int LockFileEnd(int fd) {
    if (LockByte(fd, F_OFD_SETLKW, F_WRLCK, kFileEndByte) == 0 || NoLocks(errno)) return 0;
    return -1;
}

int ClaimAppends(int fd) {
    if (LockByte(fd, F_OFD_SETLK, F_WRLCK, kClaimantByte) != 0) return NoLocks(errno) ? 0 : -1;
    // Appenders do not wait for a claimant, so a waiting lock could wait
    // for ever behind appends that overlap; trying every 100 us cannot.
    for (int tries = 0; tries < 10000; ++tries) {
        if (LockByte(fd, F_OFD_SETLK, F_WRLCK, kClaimByte) == 0) return 0;
        if (errno != EAGAIN) break;
        struct timespec pause = {0, 100000};
        ::nanosleep(&pause, nullptr);
    }
    int err = errno;
    LockByte(fd, F_OFD_SETLK, F_UNLCK, kClaimantByte);
    errno = err;
    return -1;
}

}  // namespace platform::fs
