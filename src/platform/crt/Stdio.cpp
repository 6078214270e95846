// crt::fopen over glibc's fopencookie with the original platform's text
// mode, the runtime's file and directory calls, and appends in text mode.
//
// Sections: stream cookie (text translation), fopen, crt calls, appends.
#include "platform/crt/Stdio.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/SyscallTable.h"

namespace fs = platform::fs;
namespace sys = platform::sys;
using fs::Win32Fail;
using fs::Win32Path;

namespace {

// ---- Stream cookie ----------------------------------------------------------

const char kCtrlZ = 0x1A;
const size_t kReadAhead = 64 * 1024;
const size_t kWriteChunk = 16 * 1024;

// Appends the text-mode form of the bytes to out: LF becomes CR LF.
void AppendTextMode(std::string& out, const char* data, size_t size) {
    for (const char* end = data + size; data < end;) {
        const char* lf = static_cast<const char*>(std::memchr(data, '\n', static_cast<size_t>(end - data)));
        const char* stop = lf ? lf : end;
        out.append(data, static_cast<size_t>(stop - data));
        if (lf) out += "\r\n";
        data = lf ? lf + 1 : end;
    }
}

struct Stream {
    int fd = -1;
    bool text = false;
    // Text mode only: file bytes read ahead and not yet handed out.
    std::vector<char> raw;
    size_t pos = 0;
    size_t end = 0;
    bool endOfText = false;  // a Ctrl-Z was met; nothing more until a seek

    // Gives the read-ahead back to the file, so the descriptor's offset is
    // the stream's position again.
    bool DropReadAhead() {
        if (end > pos && sys::Lseek(fd, -static_cast<off_t>(end - pos), SEEK_CUR) < 0) return false;
        pos = end = 0;
        endOfText = false;
        return true;
    }

    // Refills the read-ahead, keeping the bytes from pos on in front.
    long Fill() {
        if (raw.empty()) raw.resize(kReadAhead);
        size_t kept = end - pos;
        std::memmove(raw.data(), raw.data() + pos, kept);
        pos = 0;
        end = kept;
        long n = fs::Read(fd, raw.data() + kept, raw.size() - kept);
        if (n > 0) end += static_cast<size_t>(n);
        return n;
    }

    ssize_t ReadText(char* out, size_t size) {
        size_t done = 0;
        while (done < size && !endOfText) {
            // A CR needs the byte after it, so it is never decided alone at
            // the end of the read-ahead.
            if (pos == end || (raw[pos] == '\r' && pos + 1 == end)) {
                bool lastCR = pos != end;
                long n = Fill();
                if (n < 0) {
                    if (done > 0) break;
                    return -1;
                }
                if (n == 0) {
                    if (lastCR) {
                        out[done++] = '\r';
                        ++pos;
                    }
                    break;
                }
                continue;
            }
            char c = raw[pos];
            if (c == kCtrlZ) {
                endOfText = true;
            } else if (c == '\r' && raw[pos + 1] == '\n') {
                out[done++] = '\n';
                pos += 2;
            } else {
                out[done++] = c;
                ++pos;
            }
        }
        return static_cast<ssize_t>(done);
    }

    // Writes LF as CR LF. Returns the input bytes whose translation reached
    // the file.
    size_t WriteText(const char* data, size_t size) {
        std::string chunk;
        size_t done = 0;
        while (done < size) {
            size_t take = std::min(kWriteChunk, size - done);
            chunk.clear();
            AppendTextMode(chunk, data + done, take);
            size_t written = fs::Write(fd, chunk.data(), chunk.size());
            if (written < chunk.size()) {
                // Count the input bytes fully written before the failure.
                size_t out = 0;
                for (size_t i = 0; i < take; ++i) {
                    out += data[done + i] == '\n' ? 2 : 1;
                    if (out > written) break;
                    ++done;
                }
                return done;
            }
            done += take;
        }
        return done;
    }
};

ssize_t StreamRead(void* cookie, char* buffer, size_t size) {
    Stream* s = static_cast<Stream*>(cookie);
    if (s->text) return s->ReadText(buffer, size);
    return fs::Read(s->fd, buffer, size);
}

// glibc wants the bytes consumed, and 0 (never a negative value) on error.
ssize_t StreamWrite(void* cookie, const char* buffer, size_t size) {
    Stream* s = static_cast<Stream*>(cookie);
    if (!s->text) return static_cast<ssize_t>(fs::Write(s->fd, buffer, size));
    if (!s->DropReadAhead()) return 0;
    return static_cast<ssize_t>(s->WriteText(buffer, size));
}

int StreamSeek(void* cookie, off64_t* offset, int whence) {
    Stream* s = static_cast<Stream*>(cookie);
    off_t here = sys::Lseek(s->fd, 0, SEEK_CUR);
    if (here < 0) return -1;
    off_t position = here - static_cast<off_t>(s->end - s->pos);
    if (whence == SEEK_CUR && *offset == 0) {  // ftell: nothing moves
        *offset = position;
        return 0;
    }
    off_t target;
    switch (whence) {
    case SEEK_SET: target = *offset; break;
    case SEEK_CUR: target = position + *offset; break;
    case SEEK_END:
        target = sys::Lseek(s->fd, 0, SEEK_END);
        if (target < 0) return -1;
        target += *offset;
        break;
    default: errno = EINVAL; return -1;
    }
    if (target < 0) {
        sys::Lseek(s->fd, here, SEEK_SET);  // the read-ahead still belongs there
        errno = EINVAL;
        return -1;
    }
    off_t result = sys::Lseek(s->fd, target, SEEK_SET);
    if (result < 0) return -1;
    s->pos = s->end = 0;
    s->endOfText = false;
    *offset = result;
    return 0;
}

int StreamClose(void* cookie) {
    Stream* s = static_cast<Stream*>(cookie);
    int result = fs::Close(s->fd);
    delete s;
    return result;
}

// ---- fopen ------------------------------------------------------------------

struct Mode {
    int flags = 0;  // without O_TRUNC: the file is emptied once it may be
    const char* glibcMode = nullptr;
    bool text = true;
    bool update = false;
    bool write = false;
    bool truncate = false;
};

bool ParseMode(const char* pszMode, Mode& mode) {
    if (!pszMode) return false;
    char kind = pszMode[0];
    if (kind != 'r' && kind != 'w' && kind != 'a') return false;
    bool binary = false, text = false;
    for (const char* p = pszMode + 1; *p; ++p) {
        if (*p == '+' && !mode.update)
            mode.update = true;
        else if (*p == 'b' && !binary && !text)
            binary = true;
        else if (*p == 't' && !binary && !text)
            text = true;
        else if (!std::strchr("cnNSRT", *p))
            return false;
    }
    mode.text = !binary;
    int access = mode.update ? O_RDWR : kind == 'r' ? O_RDONLY : O_WRONLY;
    static const char* const kGlibc[3][2] = {{"r", "r+"}, {"w", "w+"}, {"a", "a+"}};
    int row = kind == 'r' ? 0 : kind == 'w' ? 1 : 2;
    mode.glibcMode = kGlibc[row][mode.update];
    mode.flags = access | O_CLOEXEC | (kind == 'w' ? O_CREAT : kind == 'a' ? O_CREAT | O_APPEND : 0);
    mode.write = access != O_RDONLY;
    mode.truncate = kind == 'w';
    return true;
}

// A text file opened for update loses one Ctrl-Z at its end, as on the
// original platform. A failure here leaves the file as it was.
void DropTrailingCtrlZ(int fd, int64_t size) {
    char last = 0;
    if (size > 0 && sys::Lseek(fd, size - 1, SEEK_SET) >= 0 && fs::Read(fd, &last, 1) == 1 && last == kCtrlZ)
        fs::Truncate(fd, size - 1);
    sys::Lseek(fd, 0, SEEK_SET);
}

}  // namespace

namespace crt {

FILE* fopen(const char* pszPath, const char* pszMode) {
    Mode mode;
    if (!pszPath || !ParseMode(pszMode, mode)) {
        errno = EINVAL;
        return nullptr;
    }
    std::string posix;
    if (!fs::ToPosix(pszPath, posix)) return nullptr;
    // Only regular files open; a read-only file opened for writing is
    // refused even where POSIX would allow it (to root), and before anything
    // is emptied.
    fs::FileInfo info;
    int fd = fs::OpenFile(posix, mode.flags, 0666, info);
    if (fd < 0) return nullptr;
    int err = 0;
    if (mode.write && fs::IsReadOnly(info))
        err = EACCES;
    else if (mode.truncate && fs::Truncate(fd, 0) != 0)
        err = errno;
    if (err != 0) {
        sys::Close(fd);
        errno = err;
        return nullptr;
    }
    if (mode.text && mode.update && !mode.truncate) DropTrailingCtrlZ(fd, info.size);

    Stream* stream = new (std::nothrow) Stream;
    FILE* file = nullptr;
    if (stream) {
        stream->fd = fd;
        stream->text = mode.text;
        file = ::fopencookie(stream, mode.glibcMode,
                             cookie_io_functions_t{StreamRead, StreamWrite, StreamSeek, StreamClose});
    }
    if (!file) {
        delete stream;
        sys::Close(fd);
        errno = ENOMEM;
        return nullptr;
    }
    if (mode.text) ::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

int remove(const char* pszPath) {
    std::string posix;
    if (!fs::ToPosix(pszPath, posix)) return -1;
    return fs::RemoveFile(posix);
}

int rename(const char* pszOldName, const char* pszNewName) {
    std::string from, to;
    if (!fs::ToPosix(pszOldName, from) || !fs::ToPosix(pszNewName, to)) return -1;
    if (fs::Rename(from, to) == 0) return 0;
    if (errno == EEXIST) errno = EACCES;
    return -1;
}

int _chdir(const char* pszDir) {
    std::string posix;
    if (!fs::ToPosix(pszDir, posix)) return -1;
    return fs::ChangeDirectory(posix);
}

char* _getcwd(char* pBuffer, int maxlen) {
    CString dir = fs::CurrentDirectory();
    if (dir.IsEmpty()) return nullptr;
    size_t needed = static_cast<size_t>(dir.GetLength()) + 1;
    if (!pBuffer) {
        size_t size = std::max(needed, maxlen > 0 ? static_cast<size_t>(maxlen) : size_t{0});
        pBuffer = static_cast<char*>(std::malloc(size));
        if (!pBuffer) {
            errno = ENOMEM;
            return nullptr;
        }
    } else if (maxlen <= 0 || static_cast<size_t>(maxlen) < needed) {
        errno = ERANGE;
        return nullptr;
    }
    std::memcpy(pBuffer, static_cast<LPCTSTR>(dir), needed);
    return pBuffer;
}

int _mkdir(const char* pszDir) {
    std::string posix;
    if (!fs::ToPosix(pszDir, posix)) return -1;
    return fs::Mkdir(posix);
}

int _rmdir(const char* pszDir) {
    std::string posix;
    if (!fs::ToPosix(pszDir, posix)) return -1;
    return fs::Rmdir(posix);
}

int _access(const char* pszPath, int mode) {
    if (mode & ~6) {
        errno = EINVAL;
        return -1;
    }
    std::string posix;
    fs::FileInfo info;
    if (!fs::ToPosix(pszPath, posix) || fs::Stat(posix, info, true) != 0) return -1;
    if ((mode & 2) && fs::IsReadOnly(info)) {
        errno = EACCES;
        return -1;
    }
    return 0;
}

int _fileno(FILE* stream) { return stream ? ::fileno(stream) : -1; }

int _isatty(int fd) { return ::isatty(fd); }

}  // namespace crt

BOOL PlatformAppendText(LPCSTR pszPath, const char* pText, size_t nLength) {
    std::string posix;
    if (!pText && nLength) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!Win32Path(pszPath, posix)) return FALSE;
    // Without blocking, so that a FIFO in the file's place cannot hang the
    // call, and never through a link.
    int fd = fs::Open(posix, O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW, 0666);
    if (fd < 0) return Win32Fail(ERROR_PATH_NOT_FOUND);
    int err = 0;
    DWORD denied = ERROR_SUCCESS;
    fs::FileInfo info;
    if (fs::BeginAppend(fd) != 0)
        err = errno;
    else if (fs::StatFd(fd, info) != 0)
        err = errno;
    else if (info.isDirectory)
        err = EISDIR;
    else if (info.isSpecial || fs::IsReadOnly(info))
        denied = ERROR_ACCESS_DENIED;  // even where POSIX would allow it (to root)
    else {
        // This append has the file to itself: the entry starts at its end,
        // after the one Ctrl-Z there (if any) goes, as the text mode's append
        // drops it.
        int64_t start = info.size;
        char last = 0;
        bool ctrlZ = start > 0 && sys::Pread(fd, &last, 1, start - 1) == 1 && last == kCtrlZ;
        if (ctrlZ && fs::Truncate(fd, --start) != 0) err = errno;
        std::string bytes;
        bytes.reserve(nLength + nLength / 8 + 2);
        AppendTextMode(bytes, pText, nLength);
        if (err == 0 && fs::Write(fd, bytes.data(), bytes.size()) < bytes.size()) {
            // An entry is whole or absent: cut what part of it was written.
            err = errno;
            if (fs::Truncate(fd, start) == 0 && ctrlZ) fs::Write(fd, &kCtrlZ, 1);
        }
    }
    // Once the write took every byte the entry is in the file; a failing
    // close (the descriptor goes all the same) changes nothing of that.
    fs::Close(fd);
    if (denied != ERROR_SUCCESS)
        SetLastError(denied);
    else if (err == EAGAIN)
        SetLastError(ERROR_LOCK_VIOLATION);
    else if (err != 0)
        PlatformSetLastErrorFromErrno(err);
    return denied == ERROR_SUCCESS && err == 0;
}
