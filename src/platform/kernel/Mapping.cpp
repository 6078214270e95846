// File handles over POSIX descriptors and file mappings over mmap.
//
// Sections: kernel objects and the view table, files, mappings and views,
// system information.
#include "platform/kernel/Mapping.h"

#include <cerrno>
#include <algorithm>
#include <iterator>
#include <map>
#include <mutex>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/SyscallTable.h"
#include "platform/shared/NoDestructor.h"

namespace fs = platform::fs;
namespace sys = platform::sys;

namespace {

constexpr DWORD kGranularity = 65536;

// ---- Kernel objects and the view table --------------------------------------

struct FileObject : platform::KernelObject {
    int fd = -1;
    bool readable = false;
    bool writable = false;
    bool writeThrough = false;
    bool sequential = false;
    std::string name;  // last component, for the attribute bits
    ~FileObject() override {
        if (fd >= 0) fs::Close(fd);
    }
};

struct MappingObject : platform::KernelObject {
    std::shared_ptr<FileObject> file;
    uint64_t size = 0;
    uint64_t added = 0;  // where the bytes the mapping added to the file start (size when none)
    bool writable = false;
};

// Pages of a write view that the mapping added to the file are made present
// at once (up to this much), instead of by one page fault each.
constexpr uint64_t kPopulateLimit = 1 << 20;

// A mapped view keeps its file open, as on the original platform, so that
// flushing works after the handles are closed.
struct View {
    size_t length = 0;
    uint64_t offset = 0;
    std::shared_ptr<FileObject> file;
};

struct ViewTable {
    std::mutex lock;
    std::map<uintptr_t, View> views;  // by base address
};

ViewTable& Views() {
    static NoDestructor<ViewTable> table;
    return *table;
}

template <class T>
std::shared_ptr<T> ObjectAs(HANDLE handle) {
    auto object = std::dynamic_pointer_cast<T>(platform::ObjectOfHandle(handle));
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

BOOL FailWithErrno() {
    PlatformSetLastErrorFromErrno(errno);
    return FALSE;
}

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

FILETIME ToFileTime(time_t t) {
    // 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
    uint64_t ticks = (static_cast<uint64_t>(t) + 11644473600ull) * 10000000ull;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// Opens posix with the flags; for the "always" dispositions reports whether
// the file was there already.
int OpenForDisposition(const std::string& posix, int flags, DWORD disposition, bool& existed) {
    existed = disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING;
    if (disposition == CREATE_NEW) return fs::Open(posix, flags | O_CREAT | O_EXCL, 0666);
    if (disposition != OPEN_ALWAYS && disposition != CREATE_ALWAYS) return fs::Open(posix, flags, 0666);
    for (int attempt = 0; attempt < 8; ++attempt) {  // the file may come and go between the two opens
        int fd = fs::Open(posix, flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0 || errno != EEXIST) {
            existed = false;
            return fd;
        }
        fd = fs::Open(posix, flags, 0666);
        if (fd >= 0 || errno != ENOENT) {
            existed = true;
            return fd;
        }
    }
    errno = EBUSY;
    return -1;
}

// Grows the file from size to newSize with space reserved on the disk, so
// that a full disk fails here rather than as a fault when a view is written;
// where the file system cannot reserve space the file is extended sparse.
bool Extend(int fd, uint64_t size, uint64_t newSize) {
    if (sys::Fallocate(fd, 0, static_cast<off_t>(size), static_cast<off_t>(newSize - size)) == 0) return true;
    if (errno != EOPNOTSUPP && errno != ENOSYS) return false;
    return fs::Truncate(fd, static_cast<int64_t>(newSize)) == 0;
}

}  // namespace

// ---- Files ------------------------------------------------------------------

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE) {
    std::string posix;
    if (!lpFileName || !fs::ToPosix(lpFileName, posix)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    bool read = dwDesiredAccess & GENERIC_READ, write = dwDesiredAccess & GENERIC_WRITE;
    bool truncate = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING;
    if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING || (truncate && !write)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // Without blocking: a FIFO or a device is refused below, never waited on.
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
    if (dwFlagsAndAttributes & FILE_FLAG_WRITE_THROUGH) flags |= O_DSYNC;
    if (dwFlagsAndAttributes & FILE_FLAG_OPEN_REPARSE_POINT) flags |= O_NOFOLLOW;

    bool existed = false;
    int fd = OpenForDisposition(posix, flags, dwCreationDisposition, existed);
    if (fd < 0) {
        bool creating = dwCreationDisposition != OPEN_EXISTING && dwCreationDisposition != TRUNCATE_EXISTING;
        if (errno == ENOENT && creating)
            SetLastError(ERROR_PATH_NOT_FOUND);  // only a missing directory stops a create
        else if (errno == EEXIST)
            SetLastError(ERROR_FILE_EXISTS);
        else if (errno == ENXIO)
            SetLastError(ERROR_ACCESS_DENIED);  // a FIFO without a reader, or a socket
        else
            PlatformSetLastErrorFromErrno(errno);
        return INVALID_HANDLE_VALUE;
    }
    auto file = std::make_shared<FileObject>();
    file->fd = fd;
    file->readable = read;
    file->writable = write;
    file->writeThrough = dwFlagsAndAttributes & FILE_FLAG_WRITE_THROUGH;
    file->sequential = dwFlagsAndAttributes & FILE_FLAG_SEQUENTIAL_SCAN;
    file->name = posix.substr(posix.find_last_of('/') + 1);

    // Only regular files open; a read-only file for writing is refused even
    // where POSIX would allow it (to root), and before anything is emptied.
    fs::FileInfo info;
    if (fs::StatFd(fd, info) != 0) {
        FailWithErrno();
        return INVALID_HANDLE_VALUE;
    }
    if (info.isDirectory || info.isSpecial || (write && fs::IsReadOnly(info))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (truncate && existed && fs::Truncate(fd, 0) != 0) {
        FailWithErrno();
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = platform::OpenHandle(std::move(file));
    bool always = dwCreationDisposition == OPEN_ALWAYS || dwCreationDisposition == CREATE_ALWAYS;
    SetLastError(always && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
    auto file = ObjectAs<FileObject>(hFile);
    if (!file) return FALSE;
    if (lpOverlapped || (!lpBuffer && nNumberOfBytesToRead)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!file->readable) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD done = 0;
    while (done < nNumberOfBytesToRead) {
        long n = fs::Read(file->fd, static_cast<char*>(lpBuffer) + done, nNumberOfBytesToRead - done);
        if (n < 0) return FailWithErrno();
        if (n == 0) break;
        done += static_cast<DWORD>(n);
    }
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
    return TRUE;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh, DWORD dwMoveMethod) {
    auto file = ObjectAs<FileObject>(hFile);
    if (!file) return INVALID_SET_FILE_POINTER;
    int64_t distance = lpDistanceToMoveHigh
                           ? static_cast<int64_t>(Join(static_cast<DWORD>(*lpDistanceToMoveHigh),
                                                       static_cast<DWORD>(lDistanceToMove)))
                           : lDistanceToMove;
    int whence = dwMoveMethod == FILE_BEGIN ? SEEK_SET : dwMoveMethod == FILE_CURRENT ? SEEK_CUR : SEEK_END;
    if (dwMoveMethod > FILE_END) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    off_t position = sys::Lseek(file->fd, distance, whence);
    if (position < 0) {
        SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : PlatformErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
    SetLastError(ERROR_SUCCESS);  // tells a position whose low part is 0xFFFFFFFF from a failure
    return static_cast<DWORD>(position);
}

BOOL SetEndOfFile(HANDLE hFile) {
    auto file = ObjectAs<FileObject>(hFile);
    if (!file) return FALSE;
    if (!file->writable) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    off_t end = sys::Lseek(file->fd, 0, SEEK_CUR);
    if (end < 0) return FailWithErrno();
    {
        ViewTable& table = Views();
        std::lock_guard<std::mutex> guard(table.lock);
        for (const auto& [base, view] : table.views)
            if (view.file == file && view.offset + view.length > static_cast<uint64_t>(end)) {
                SetLastError(ERROR_USER_MAPPED_FILE);
                return FALSE;
            }
    }
    return fs::Truncate(file->fd, end) == 0 ? TRUE : FailWithErrno();
}

BOOL GetFileInformationByHandle(HANDLE hFile, BY_HANDLE_FILE_INFORMATION* lpFileInformation) {
    auto file = ObjectAs<FileObject>(hFile);
    if (!file) return FALSE;
    if (!lpFileInformation) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    fs::FileInfo info;
    if (fs::StatFd(file->fd, info) != 0) return FailWithErrno();
    BY_HANDLE_FILE_INFORMATION& out = *lpFileInformation;
    out.dwFileAttributes = fs::Attributes(info, file->name.c_str());
    out.ftCreationTime = ToFileTime(info.created);
    out.ftLastAccessTime = ToFileTime(info.accessed);
    out.ftLastWriteTime = ToFileTime(info.modified);
    out.dwVolumeSerialNumber = static_cast<DWORD>(info.device ^ (info.device >> 32));
    out.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(info.size) >> 32);
    out.nFileSizeLow = static_cast<DWORD>(info.size);
    out.nNumberOfLinks = info.links;
    out.nFileIndexHigh = static_cast<DWORD>(info.inode >> 32);
    out.nFileIndexLow = static_cast<DWORD>(info.inode);
    return TRUE;
}

BOOL PlatformClaimAppends(HANDLE hFile) {
    auto file = ObjectAs<FileObject>(hFile);
    if (!file) return FALSE;
    if (fs::ClaimAppends(file->fd) == 0) return TRUE;
    SetLastError(errno == EAGAIN ? ERROR_LOCK_VIOLATION : PlatformErrorFromErrno(errno));
    return FALSE;
}

// ---- Mappings and views -----------------------------------------------------

HANDLE CreateFileMappingA(HANDLE hFile, LPSECURITY_ATTRIBUTES, DWORD flProtect, DWORD dwMaximumSizeHigh,
                          DWORD dwMaximumSizeLow, LPCSTR lpName) {
    if (lpName) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    auto file = ObjectAs<FileObject>(hFile);
    if (!file) return nullptr;
    DWORD protect = flProtect & 0xFF;
    bool writable = protect == PAGE_READWRITE;
    if ((protect != PAGE_READONLY && !writable) || !file->readable || (writable && !file->writable)) {
        SetLastError(protect != PAGE_READONLY && !writable ? ERROR_INVALID_PARAMETER : ERROR_ACCESS_DENIED);
        return nullptr;
    }
    fs::FileInfo info;
    if (fs::StatFd(file->fd, info) != 0) {
        FailWithErrno();
        return nullptr;
    }
    uint64_t fileSize = static_cast<uint64_t>(info.size);
    uint64_t size = Join(dwMaximumSizeHigh, dwMaximumSizeLow);
    if (size == 0) size = fileSize;
    if (size == 0) {
        SetLastError(ERROR_FILE_INVALID);
        return nullptr;
    }
    if (size > fileSize) {
        if (!writable) {
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        if (!Extend(file->fd, fileSize, size)) {
            FailWithErrno();
            return nullptr;
        }
    }
    auto mapping = std::make_shared<MappingObject>();
    mapping->file = std::move(file);
    mapping->size = size;
    mapping->added = std::min(fileSize, size);
    mapping->writable = writable;
    return platform::OpenHandle(std::move(mapping));
}

LPVOID MapViewOfFile(HANDLE hFileMappingObject, DWORD dwDesiredAccess, DWORD dwFileOffsetHigh, DWORD dwFileOffsetLow,
                     SIZE_T dwNumberOfBytesToMap) {
    auto mapping = ObjectAs<MappingObject>(hFileMappingObject);
    if (!mapping) return nullptr;
    bool write = dwDesiredAccess & FILE_MAP_WRITE;
    uint64_t offset = Join(dwFileOffsetHigh, dwFileOffsetLow);
    if (offset % kGranularity != 0) {
        SetLastError(ERROR_MAPPED_ALIGNMENT);
        return nullptr;
    }
    uint64_t length = dwNumberOfBytesToMap ? dwNumberOfBytesToMap : mapping->size - std::min(offset, mapping->size);
    if ((write && !mapping->writable) || offset >= mapping->size || length > mapping->size - offset) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    int prot = PROT_READ | (write ? PROT_WRITE : 0);
    void* base = sys::Mmap(nullptr, length, prot, MAP_SHARED, mapping->file->fd, static_cast<off_t>(offset));
    if (base == MAP_FAILED) {
        FailWithErrno();
        return nullptr;
    }
    uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
    uint64_t from = std::max(offset, mapping->added) / page * page;
    uint64_t to = std::min(offset + length, mapping->added + kPopulateLimit);
    if (mapping->file->sequential) sys::Madvise(base, length, MADV_SEQUENTIAL);
    if (write && from < to)  // kernels without MADV_POPULATE_WRITE refuse; the pages then fault in as usual
        sys::Madvise(static_cast<char*>(base) + (from - offset), to - from, MADV_POPULATE_WRITE);
    ViewTable& table = Views();
    std::lock_guard<std::mutex> guard(table.lock);
    table.views[reinterpret_cast<uintptr_t>(base)] = View{length, offset, mapping->file};
    return base;
}

BOOL UnmapViewOfFile(LPCVOID lpBaseAddress) {
    std::shared_ptr<FileObject> file;  // closed, if this was its last use, after the lock
    ViewTable& table = Views();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.views.find(reinterpret_cast<uintptr_t>(lpBaseAddress));
    if (it == table.views.end()) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    sys::Munmap(const_cast<void*>(lpBaseAddress), it->second.length);
    file = std::move(it->second.file);
    table.views.erase(it);
    return TRUE;
}

BOOL FlushViewOfFile(LPCVOID lpBaseAddress, SIZE_T dwNumberOfBytesToFlush) {
    ViewTable& table = Views();
    std::lock_guard<std::mutex> guard(table.lock);
    uintptr_t address = reinterpret_cast<uintptr_t>(lpBaseAddress);
    auto it = table.views.upper_bound(address);
    if (it == table.views.begin() || address >= std::prev(it)->first + std::prev(it)->second.length) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    --it;
    uintptr_t end = it->first + it->second.length;
    if (dwNumberOfBytesToFlush && dwNumberOfBytesToFlush < end - address) end = address + dwNumberOfBytesToFlush;
    uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    uintptr_t start = address - (address - it->first) % page;
    int flags = it->second.file->writeThrough ? MS_SYNC : MS_ASYNC;
    if (end > start && sys::Msync(reinterpret_cast<void*>(start), end - start, flags) != 0) return FailWithErrno();
    return TRUE;
}

// ---- System information -----------------------------------------------------

void GetSystemInfo(SYSTEM_INFO* lpSystemInfo) {
    if (!lpSystemInfo) return;
    *lpSystemInfo = SYSTEM_INFO{};
    lpSystemInfo->dwPageSize = static_cast<DWORD>(::sysconf(_SC_PAGESIZE));
    lpSystemInfo->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(uintptr_t{0x10000});
    lpSystemInfo->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(uintptr_t{0x7FFFFFFEFFFF});
    long processors = ::sysconf(_SC_NPROCESSORS_ONLN);
    lpSystemInfo->dwNumberOfProcessors = processors > 0 ? static_cast<DWORD>(processors) : 1;
    lpSystemInfo->dwActiveProcessorMask =
        processors >= 64 ? ~ULONG_PTR{0} : (ULONG_PTR{1} << lpSystemInfo->dwNumberOfProcessors) - 1;
    lpSystemInfo->dwAllocationGranularity = kGranularity;
}
