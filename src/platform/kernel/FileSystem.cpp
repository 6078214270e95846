// File-system services shared inside the platform layer, every call through
// the system-call table.
#include "platform/kernel/FileSystem.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/SyscallTable.h"

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

// Status by descriptor and name; bFollowLinks picks the kind (Stat, Lstat).
int StatAt(int dirFd, const char* path, int flags, bool bFollowLinks, FileInfo& info) {
    struct statx sx;
    constexpr unsigned kMask = STATX_BASIC_STATS | STATX_BTIME;
    if ((bFollowLinks ? sys::Stat : sys::Lstat)(dirFd, path, flags, kMask, &sx) != 0) return -1;
    FromStatx(sx, info);
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
    while (!sys::Getcwd(buffer.data(), buffer.size())) {
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

int SystemOpenFlags(unsigned flags) {
    int result = O_CLOEXEC;
    switch (flags & 3) {
    case kOpenWrite: result |= O_WRONLY; break;
    case kOpenReadWrite: result |= O_RDWR; break;
    default: result |= O_RDONLY; break;
    }
    if (flags & kOpenCreate) result |= O_CREAT;
    if (flags & kOpenExclusive) result |= O_EXCL;
    if (flags & kOpenNoFollow) result |= O_NOFOLLOW;
    return result;
}

int Open(const At& at, int flags, unsigned mode) {
    if (!at) return at.Fail();
    if (!at.Rooted()) return sys::RetryAfterSignal(-1, sys::Open, at.Path().c_str(), flags, static_cast<mode_t>(mode));
    return sys::RetryAfterSignal(-1, sys::OpenAt, at.Dir(), at.Name(), flags | O_NOFOLLOW, static_cast<mode_t>(mode));
}

int OpenFile(const At& at, int flags, unsigned mode, FileInfo& info) {
    int fd = Open(at, flags | O_NONBLOCK | O_NOCTTY, mode);
    if (fd < 0) {
        if (errno == ENXIO) errno = EACCES;  // a FIFO without a reader, a socket or a missing device
        return -1;
    }
    int err = StatFd(fd, info) != 0 ? errno : info.isDirectory || info.isSpecial ? EACCES : 0;
    if (err != 0) {
        sys::Close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

long Read(int fd, void* buffer, size_t count) {
    return static_cast<long>(sys::RetryAfterSignal(-1, sys::Read, fd, buffer, count));
}

size_t Write(int fd, const void* buffer, size_t count) {
    const char* p = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t n = sys::Write(fd, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return done;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

int Close(int fd) {
    return sys::Close(fd);
}

int Truncate(int fd, int64_t length) {
    return sys::Ftruncate(fd, length);
}

int64_t Seek(int fd, int64_t offset, int whence) { return sys::Lseek(fd, offset, whence); }

int Flush(int fd) { return sys::Fsync(fd); }

int LockWhole(int fd, bool bExclusive) {
    return sys::RetryAfterSignal(-1, sys::Flock, fd, (bExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
}

int Stat(const At& at, FileInfo& info, bool bFollowLinks) {
    if (!at) return at.Fail();
    return StatAt(at.Dir(), at.Name(), 0, bFollowLinks && !at.Rooted(), info);
}

int ReadLink(const At& at, std::string& target) {
    if (!at) return at.Fail();
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t n = sys::Readlink(at.Dir(), at.Name(), buffer.data(), buffer.size());
        if (n < 0) return -1;
        if (static_cast<size_t>(n) < buffer.size()) {
            target.assign(buffer.data(), static_cast<size_t>(n));
            return 0;
        }
        if (buffer.size() >= 65536) {  // no link holds more than PATH_MAX
            errno = ENAMETOOLONG;
            return -1;
        }
        buffer.resize(buffer.size() * 2);
    }
}

int StatFd(int fd, FileInfo& info) {
    return StatAt(fd, "", AT_EMPTY_PATH, true, info);
}

int Mkdir(const At& at) {
    if (!at) return at.Fail();
    return sys::Mkdir(at.Dir(), at.Name(), 0777);
}

int Rmdir(const At& at) {
    if (!at) return at.Fail();
    if (sys::Rmdir(at.Dir(), at.Name()) != 0) return -1;
    at.Forget();
    return 0;
}

int ChangeDirectory(const std::string& posix) {
    At at(posix, At::kDirectory);
    if (!at) return at.Fail();
    return at.Rooted() ? sys::Fchdir(at.Dir()) : sys::Chdir(posix.c_str());
}

int ReadDirectory(const std::string& posix, const std::function<void(const char* name, EntryType type)>& visit) {
    int fd = Open(At(posix, At::kDirectory), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return -1;
    DIR* dir = sys::OpenDir(fd);
    if (!dir) {
        int err = errno;
        sys::Close(fd);
        errno = err;
        return -1;
    }
    int result = 0;
    for (;;) {
        errno = 0;
        struct dirent* entry = sys::ReadDir(dir);
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
    sys::CloseDir(dir);
    errno = err;
    return result;
}

int RemoveFile(const At& at) {
    FileInfo info;
    if (Stat(at, info, false) != 0) return -1;
    if (info.isDirectory || (!info.isLink && IsReadOnly(info))) {
        errno = EACCES;
        return -1;
    }
    return sys::Unlink(at.Dir(), at.Name(), 0);
}

namespace {

// renameat2 with the cache told of both names.
int RenameAt(const At& from, const At& to, unsigned flags) {
    if (sys::Rename(from.Dir(), from.Name(), to.Dir(), to.Name(), flags) != 0) return -1;
    from.Forget();
    to.Forget();
    return 0;
}

}  // namespace

int Rename(const At& from, const At& to) {
    if (!from) return from.Fail();
    if (!to) return to.Fail();
    if (RenameAt(from, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // The file system cannot rename without replacing: check, then rename.
    FileInfo info;
    if (Stat(to, info, false) == 0) {
        errno = EEXIST;
        return -1;
    }
    return RenameAt(from, to, 0);
}

int Replace(const At& from, const At& to) {
    if (!from) return from.Fail();
    if (!to) return to.Fail();
    FileInfo target;
    if (Stat(to, target, false) == 0 && (target.isDirectory || (!target.isLink && IsReadOnly(target)))) {
        errno = EACCES;
        return -1;
    }
    return RenameAt(from, to, 0);
}

int SyncToDisk(const At& at) {
    int fd = Open(at, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) return -1;
    int result = sys::Fsync(fd);
    int err = errno;
    sys::Close(fd);
    errno = err;
    return result;
}

std::string ParentOf(const std::string& posix) {
    size_t slash = posix.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : posix.substr(0, slash);
}

int SetTimes(const At& at, time_t accessed, time_t modified) {
    if (!at) return at.Fail();
    struct timespec times[2] = {};
    times[0].tv_sec = accessed;
    times[0].tv_nsec = accessed ? 0 : UTIME_OMIT;
    times[1].tv_sec = modified;
    times[1].tv_nsec = modified ? 0 : UTIME_OMIT;
    return sys::Utime(at.Dir(), at.Name(), times, at.Rooted() ? AT_SYMLINK_NOFOLLOW : 0);
}

int SetReadOnly(const At& at, bool bReadOnly) {
    FileInfo info;
    if (Stat(at, info, true) != 0) return -1;
    if (info.isLink) {  // below a walk root, where no link is followed: it has no attribute of its own
        errno = ELOOP;
        return -1;
    }
    unsigned mode = bReadOnly ? info.mode & ~0222u : info.mode | 0200u;
    if (mode == info.mode) return 0;
    return sys::Chmod(at.Dir(), at.Name(), mode, at.Rooted() ? AT_SYMLINK_NOFOLLOW : 0);
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

// ---- Copies, temporary files, status by descriptor --------------------------

namespace {

constexpr size_t kCopyBlock = 1024 * 1024;

// The start of the data at or after offset and the end of that stretch of
// data; false when only a hole follows. A file system without hole
// reporting gives the whole rest as data.
bool NextData(int fd, int64_t offset, int64_t size, int64_t& start, int64_t& end) {
    off_t data = sys::Lseek(fd, offset, SEEK_DATA);
    if (data < 0) {
        if (errno == ENXIO) return false;
        start = offset;
        end = size;
        return true;
    }
    off_t hole = sys::Lseek(fd, data, SEEK_HOLE);
    start = data;
    end = hole < 0 ? size : std::min<int64_t>(hole, size);
    return start < size;
}

// Errors of copy_file_range that belong to the target; any other makes the
// copy go on through a buffer, whose reads and writes then tell which side
// failed.
bool IsTargetError(int err) { return err == ENOSPC || err == EDQUOT || err == EFBIG || err == EROFS; }

struct Copy {
    int source, target;
    bool kernel = true;  // cleared when the kernel cannot copy between these files
    std::unique_ptr<char[]> block;
    bool sourceFailed = false;

    int Fail(bool bSource) {
        sourceFailed = bSource;
        return -1;
    }

    // One stretch [start, end) of data, at the same offsets in both files:
    // the offset reached (less than end when the source shrank), or -1.
    int64_t Stretch(int64_t start, int64_t end) {
        int64_t offset = start;
        while (kernel && offset < end) {
            // The kernel reads and writes at once: a plan for either fails it.
            if (sys::Fails(Syscall::Read)) return Fail(true);
            if (sys::Fails(Syscall::Write)) return Fail(false);
            off64_t in = offset, out = offset;
            ssize_t n = sys::CopyRange(source, &in, target, &out,
                                       static_cast<size_t>(std::min<int64_t>(end - offset, 1 << 30)), 0);
            if (n == 0) return offset;  // the source shrank while it was copied
            if (n > 0) {
                offset += n;
            } else if (errno != EINTR) {
                if (IsTargetError(errno)) return Fail(false);
                kernel = false;
            }
        }
        if (offset >= end) return offset;
        if (!block) block.reset(new (std::nothrow) char[kCopyBlock]);
        if (!block) {
            errno = ENOMEM;
            return Fail(true);
        }
        if (sys::Lseek(source, offset, SEEK_SET) < 0) return Fail(true);
        if (sys::Lseek(target, offset, SEEK_SET) < 0) return Fail(false);
        while (offset < end) {
            long got = Read(source, block.get(), static_cast<size_t>(std::min<int64_t>(kCopyBlock, end - offset)));
            if (got < 0) return Fail(true);
            if (got == 0) return offset;
            if (Write(target, block.get(), static_cast<size_t>(got)) < static_cast<size_t>(got)) return Fail(false);
            offset += got;
        }
        return offset;
    }
};

}  // namespace

int CopyData(int source, int target, bool& bSourceFailed) {
    Copy copy{source, target, true, nullptr, false};
    FileInfo info, written;
    bSourceFailed = true;
    if (StatFd(source, info) != 0) return -1;
    bSourceFailed = false;
    // Emptied first, so the holes read as zeros whatever target held; a new
    // file is not truncated (ext4 writes a truncated file out at close).
    if (StatFd(target, written) != 0 || (written.size > 0 && Truncate(target, 0) != 0)) return -1;
    int64_t size = info.size, offset = 0, end = 0, start, stretchEnd;
    if (size == 0) {
        // A size of 0 may belong to a file that holds text all the same (the
        // files of /proc and /sys): copied through the buffer on to its end,
        // since some kernels copy nothing between such files and others.
        copy.kernel = false;
        size = end = offset = copy.Stretch(0, INT64_MAX);
        if (size < 0) {
            bSourceFailed = copy.sourceFailed;
            return -1;
        }
    }
    while (offset < size && NextData(source, offset, size, start, stretchEnd)) {
        offset = copy.Stretch(start, stretchEnd);
        if (offset < 0) {
            bSourceFailed = copy.sourceFailed;
            return -1;
        }
        end = offset;
        if (offset < stretchEnd) {
            size = offset;
            break;
        }
    }
    // A hole at the end comes from the length.
    if ((end < size && Truncate(target, size) != 0) || sys::Lseek(target, size, SEEK_SET) < 0) return -1;
    sys::Lseek(source, size, SEEK_SET);
    return 0;
}

int CreateTemp(const std::string& posixDir, const FileInfo* like, std::string& name) {
    // The process id is read once: a child of fork mixing its parent's id
    // can only meet a name that exists, which O_EXCL refuses.
    static const unsigned pid = static_cast<unsigned>(::getpid());
    static std::atomic<unsigned> counter{0};
    std::string prefix = posixDir.empty() || posixDir.back() == '/' ? posixDir : posixDir + "/";
    At dir(posixDir, At::kDirectory);
    if (!dir) return dir.Fail();
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct timespec now;
        ::clock_gettime(CLOCK_REALTIME, &now);
        unsigned mix = static_cast<unsigned>(now.tv_nsec) ^ (pid << 16) ^ (counter++ * 2654435761u);
        char text[32];
        std::snprintf(text, sizeof text, ".cb%08x.tmp", mix);
        int fd = dir.Rooted() ? sys::RetryAfterSignal(-1, sys::OpenAt, dir.Dir(), text, kFlags, mode_t{0666})
                              : Open(prefix + text, kFlags, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        if (like) {
            // The new version belongs to the file's owner and group, as a
            // rewrite in place would; a process that may not give it away
            // leaves it its own (and one that owns it changes nothing).
            (void)sys::Fchown(fd, like->owner, like->group);
            sys::Fchmod(fd, like->mode | 0200);
        }
        name = text;
        return fd;
    }
    errno = EEXIST;
    return -1;
}

int SetTimesFd(int fd, time_t accessed, time_t modified) {
    struct timespec times[2] = {};
    times[0].tv_sec = accessed;
    times[0].tv_nsec = accessed ? 0 : UTIME_OMIT;
    times[1].tv_sec = modified;
    times[1].tv_nsec = modified ? 0 : UTIME_OMIT;
    return sys::Futimens(fd, times);
}

int MakeReadOnlyFd(int fd) {
    FileInfo info;
    return StatFd(fd, info) != 0 ? -1 : sys::Fchmod(fd, info.mode & ~0222u);
}

// ---- Shared appends ---------------------------------------------------------

namespace {

constexpr off_t kClaimByte = off_t{1} << 62;
constexpr off_t kClaimantByte = kClaimByte + 1;

int LockByte(int fd, int command, short type, off_t byte) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    int result = sys::RetryAfterSignal(-1, sys::LockRange, fd, command, &lock);
    if (result != 0 && errno == EACCES) errno = EAGAIN;  // held elsewhere, as some systems say it
    return result;
}

// Whether another descriptor holds a lock on the byte.
bool Held(int fd, off_t byte) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    return sys::RetryAfterSignal(-1, sys::LockRange, fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

// File systems without byte-range locks.
bool NoLocks(int err) { return err == ENOLCK || err == EINVAL || err == EOPNOTSUPP || err == ENOSYS; }

// Pauses between tries for a lock that another holds: 20 us at first, twice
// as long each time up to longestUs; Wait is false once limitMs have passed
// in pauses.
class Backoff {
public:
    explicit Backoff(int limitMs, long longestUs = 1000) : m_leftUs(limitMs * 1000L), m_longestUs(longestUs) {}
    bool Wait() {
        if (m_leftUs <= 0) return false;
        long step = std::min(m_stepUs, m_leftUs);
        struct timespec pause = {0, step * 1000};
        sys::Nanosleep(&pause, nullptr);
        m_leftUs -= step;
        m_stepUs = std::min(m_stepUs * 2, m_longestUs);
        return true;
    }

private:
    long m_leftUs, m_stepUs = 20, m_longestUs;
};

}  // namespace

int LockWholeWaiting(int fd, int waitMs) {
    // Short pauses: a writer that writes again at once must not keep the
    // lock from one that waits.
    Backoff backoff(waitMs, 100);
    while (LockWhole(fd, true) != 0) {
        if (errno != EWOULDBLOCK || !backoff.Wait()) return -1;
    }
    return 0;
}

int BeginAppend(int fd) {
    Backoff backoff(kAppendWaitMs);
    for (;;) {
        if (LockByte(fd, F_OFD_SETLK, F_WRLCK, kClaimByte) == 0 || NoLocks(errno)) return 0;
        if (errno != EAGAIN) return -1;
        // Another append is in progress (wait for it) or a claimant holds
        // the file (write elsewhere at once).
        if (Held(fd, kClaimantByte) || !backoff.Wait()) {
            errno = EAGAIN;
            return -1;
        }
    }
}

int ClaimAppends(int fd) {
    if (LockByte(fd, F_OFD_SETLK, F_WRLCK, kClaimantByte) != 0) return NoLocks(errno) ? 0 : -1;
    // Appenders do not wait for a claimant that waits, so a waiting lock
    // could wait for ever behind appends that follow each other; trying
    // every 100 us cannot.
    Backoff backoff(1000, 100);
    while (LockByte(fd, F_OFD_SETLK, F_WRLCK, kClaimByte) != 0) {
        if (errno == EAGAIN && backoff.Wait()) continue;
        int err = errno;
        LockByte(fd, F_OFD_SETLK, F_UNLCK, kClaimantByte);
        errno = err;
        return -1;
    }
    return 0;
}

}  // namespace platform::fs
