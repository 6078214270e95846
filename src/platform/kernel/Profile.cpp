// ---- Private profiles -----------------------------------------------------
//
// Sections: the file's lines; finding sections and entries; writing the
// file; the Win32 calls.
#include "platform/kernel/Profile.h"

#include <pwd.h>
#include <strings.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/SyscallTable.h"

namespace fs = platform::fs;

namespace {

constexpr int kMaxLinks = 40;  // as the system follows

// ---- The file's lines -----------------------------------------------------

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

bool IsSectionLine(const std::string& line, std::string& name) {
    std::string t = Trim(line);
    if (t.empty() || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool IsEntryLine(const std::string& line, std::string& key, std::string& value) {
    std::string t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#' || t.front() == '[') return false;
    size_t equals = t.find('=');
    if (equals == std::string::npos) return false;
    key = Trim(t.substr(0, equals));
    value = Trim(t.substr(equals + 1));
    return true;
}

// The whole text of the file open on fd, of at most kMaxProfileSize bytes:
// false with EFBIG beyond that, or with the errno of a failed read.
bool ReadText(int fd, const fs::FileInfo& info, std::string& text) {
    text.clear();
    if (info.size > kMaxProfileSize) {
        errno = EFBIG;
        return false;
    }
    char buffer[16384];
    for (long n; (n = fs::Read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0) return false;
        if (text.size() + static_cast<size_t>(n) > kMaxProfileSize) {  // it grew since
            errno = EFBIG;
            return false;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

// The lines without their line ends.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The profile's lines, read through links as any reader of the file would;
// a missing file has none. False, with errno set, when the file exists but
// cannot be read whole: no regular file (nothing waits on a FIFO, nothing
// reads a device), too large, or unreadable.
bool ReadLines(const std::string& posix, std::vector<std::string>& lines) {
    lines.clear();
    fs::FileInfo info;
    int fd = fs::OpenFile(posix, O_RDONLY | O_CLOEXEC, 0, info);
    if (fd < 0) return errno == ENOENT;
    std::string text;
    bool read = ReadText(fd, info, text);
    int err = errno;
    fs::Close(fd);
    errno = err;
    if (read) lines = SplitLines(text);
    return read;
}

// ---- Finding sections and entries -----------------------------------------

// Index of the section's header line, or -1.
int FindSection(const std::vector<std::string>& lines, const char* section) {
    std::string name;
    for (size_t i = 0; i < lines.size(); ++i)
        if (IsSectionLine(lines[i], name) && SameName(name, section)) return static_cast<int>(i);
    return -1;
}

// One past the section's last line.
size_t SectionEnd(const std::vector<std::string>& lines, int header) {
    std::string name;
    size_t i = static_cast<size_t>(header) + 1;
    while (i < lines.size() && !IsSectionLine(lines[i], name)) ++i;
    return i;
}

// Index of the entry's line in the section, or -1; value receives its text.
int FindEntry(const std::vector<std::string>& lines, int header, const char* entry, std::string* value = nullptr) {
    std::string key, text;
    for (size_t i = static_cast<size_t>(header) + 1, end = SectionEnd(lines, header); i < end; ++i)
        if (IsEntryLine(lines[i], key, text) && SameName(key, entry)) {
            if (value) *value = text;
            return static_cast<int>(i);
        }
    return -1;
}

// ---- Writing the file -----------------------------------------------------

bool MakeDirectories(const std::string& dir) {
    if (dir.empty()) return true;
    fs::FileInfo info;
    if (fs::Stat(dir, info, true) == 0) return info.isDirectory;
    size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(dir.substr(0, slash))) return false;
    return fs::Mkdir(dir) == 0 || errno == EEXIST;
}

// The file a profile's name stands for: the name itself or, where it is a
// symbolic link, what the link points at, through as many links as the
// system would follow, so that a profile kept elsewhere (a link into a
// dotfiles directory) is updated where it lives and the link stays.
bool ResolveLinks(const std::string& posix, std::string& file) {
    file = posix;
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        fs::FileInfo info;
        if (fs::Stat(file, info, false) != 0) return errno == ENOENT;
        if (!info.isLink) return true;
        std::string to;
        if (fs::ReadLink(file, to) != 0) return false;
        file = !to.empty() && to[0] == '/' ? to : fs::ParentOf(file) + "/" + to;
    }
    errno = ELOOP;
    return false;
}

// The lock a profile's writers take, in every process, for one
// read-modify-write: flock on the directory that holds the profile's file.
// Not on the file itself: each write renames a new file over it, so a
// writer waiting on the old file's lock would wake up holding the lock of a
// file that is no longer the profile, and one that then locks the new file
// is always a step behind a writer that writes again at once. Not a lock
// file beside it either, which would lie for ever beside every profile. The
// directory stays while its files are replaced, and holds nothing new.
class ProfileLock {
public:
    ~ProfileLock() {
        if (m_fd >= 0) fs::Close(m_fd);
    }
    // False with errno set; EWOULDBLOCK when another writer held the lock
    // for longer than kProfileLockWaitMs.
    bool Take(const std::string& dir) {
        m_fd = fs::Open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        return m_fd >= 0 && fs::LockWholeWaiting(m_fd, kProfileLockWaitMs) == 0;
    }

private:
    int m_fd = -1;
};

// The profile's text as it is now, read by a writer that holds the lock:
// empty for a missing file. like receives the file's status (its mode and
// owner go to the new version); it stays null for a missing file. False,
// with errno set, for a file that cannot be read as a profile, or a
// read-only one, which the original refuses to write.
bool ReadForWrite(const std::string& file, std::string& text, fs::FileInfo& info, const fs::FileInfo*& like) {
    text.clear();
    like = nullptr;
    int fd = fs::OpenFile(file, O_RDONLY | O_CLOEXEC | O_NOFOLLOW, 0, info);
    if (fd < 0) return errno == ENOENT;
    bool read = !fs::IsReadOnly(info) && ReadText(fd, info, text);
    int err = fs::IsReadOnly(info) ? EACCES : errno;
    fs::Close(fd);
    errno = err;
    if (read) like = &info;
    return read;
}

// Writes the lines to a temporary file beside the profile, which takes the
// permissions and owner of the file it replaces (like; the default ones for
// a new profile), and renames it over the profile.
bool WriteLinesAtomically(const std::string& file, const fs::FileInfo* like, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    if (text.size() > kMaxProfileSize) {
        errno = EFBIG;
        return false;
    }
    std::string dir = fs::ParentOf(file), name;
    int fd = fs::CreateTemp(dir, like, name);
    if (fd < 0) return false;
    std::string temp = dir + "/" + name;
    bool ok = fs::Write(fd, text.data(), text.size()) == text.size() && fs::Flush(fd) == 0;
    ok = fs::Close(fd) == 0 && ok;
    ok = ok && fs::Replace(temp, file) == 0;
    if (!ok) {
        int err = errno;
        platform::sys::Unlink(AT_FDCWD, temp.c_str(), 0);
        errno = err;
    }
    return ok;
}

// Sets the last error for a write that failed with errno and returns FALSE.
BOOL WriteFailed() {
    if (errno == EWOULDBLOCK) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return fs::Win32Fail(ERROR_PATH_NOT_FOUND);
}

bool ValidName(LPCSTR name) { return name && *name && !std::strpbrk(name, "\r\n"); }

std::string ConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config";
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return std::string(pw->pw_dir) + "/.config";
    return ".config";
}

}  // namespace

// ---- The Win32 calls ------------------------------------------------------

BOOL PlatformGetProfileValue(LPCSTR lpFileName, LPCSTR lpAppName, LPCSTR lpKeyName, CString& value) {
    std::string posix;
    std::vector<std::string> lines;
    if (!lpAppName || !lpKeyName || !PlatformToPosixPath(lpFileName, posix)) return FALSE;
    if (!ReadLines(posix, lines)) {
        PlatformSetLastErrorFromErrno(errno);
        return FALSE;
    }
    int header = FindSection(lines, lpAppName);
    std::string text;
    if (header < 0 || FindEntry(lines, header, lpKeyName, &text) < 0) return FALSE;
    value = CString(text);
    return TRUE;
}

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName) {
    if (!lpReturnedString || nSize == 0) return 0;
    CString value;
    if (!PlatformGetProfileValue(lpFileName, lpAppName, lpKeyName, value)) value = lpDefault ? lpDefault : "";
    DWORD length = static_cast<DWORD>(value.GetLength());
    DWORD copied = length < nSize ? length : nSize - 1;
    value.str().copy(lpReturnedString, copied);
    lpReturnedString[copied] = '\0';
    return copied;
}

UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, int nDefault, LPCSTR lpFileName) {
    CString text;
    if (!PlatformGetProfileValue(lpFileName, lpAppName, lpKeyName, text)) return static_cast<UINT>(nDefault);
    const char* p = text;
    char* end = nullptr;
    long long value = std::strtoll(p, &end, 10);
    if (end == p) return static_cast<UINT>(nDefault);
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<UINT>(static_cast<int>(value));
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName) {
    std::string posix;
    bool valid = ValidName(lpAppName) && (!lpKeyName || ValidName(lpKeyName)) &&
                 (!lpString || !std::strpbrk(lpString, "\r\n"));
    if (!valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string file;
    if (!fs::Win32Path(lpFileName, posix)) return FALSE;
    if (!ResolveLinks(posix, file) || !MakeDirectories(fs::ParentOf(file))) return WriteFailed();
    ProfileLock lock;
    std::string text;
    fs::FileInfo info;
    const fs::FileInfo* like = nullptr;
    if (!lock.Take(fs::ParentOf(file)) || !ReadForWrite(file, text, info, like)) return WriteFailed();
    std::vector<std::string> lines = SplitLines(text);
    int header = FindSection(lines, lpAppName);
    if (!lpKeyName) {  // remove the section
        if (header < 0) return TRUE;
        lines.erase(lines.begin() + header, lines.begin() + static_cast<long>(SectionEnd(lines, header)));
    } else {
        int at = header < 0 ? -1 : FindEntry(lines, header, lpKeyName);
        std::string line = std::string(lpKeyName) + "=" + (lpString ? lpString : "");
        if (!lpString) {
            if (at < 0) return TRUE;
            lines.erase(lines.begin() + at);
        } else if (at >= 0) {
            std::string key, value;
            IsEntryLine(lines[static_cast<size_t>(at)], key, value);
            lines[static_cast<size_t>(at)] = key + "=" + lpString;  // the stored spelling of the name stays
        } else if (header >= 0) {
            size_t end = SectionEnd(lines, header);
            while (end > static_cast<size_t>(header) + 1 && Trim(lines[end - 1]).empty()) --end;  // before blank lines
            lines.insert(lines.begin() + static_cast<long>(end), line);
        } else {
            lines.push_back("[" + std::string(lpAppName) + "]");
            lines.push_back(line);
        }
    }
    return WriteLinesAtomically(file, like, lines) ? TRUE : WriteFailed();
}

namespace {

// One path component made of the name, "app" when there is none.
std::string component(LPCSTR lpName) {
    std::string name = lpName && *lpName ? lpName : "app";
    for (char& c : name)
        if (c == '/') c = '_';
    if (name == "." || name == "..") name = "_";
    return name;
}

}  // namespace

CString PlatformDefaultProfile(LPCSTR lpAppName, LPCSTR lpFolder) {
    std::string name = component(lpAppName);
    std::string folder = lpFolder ? component(lpFolder) : name;
    return CString(ConfigHome() + "/" + folder + "/" + name + ".ini");
}
