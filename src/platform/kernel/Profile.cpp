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

// The profile's lines without their line ends; a missing file has none.
// False, with errno set, when the file exists but cannot be read whole: a
// write must then not replace it with what little was read.
bool ReadLines(const std::string& posix, std::vector<std::string>& lines) {
    lines.clear();
    int fd = fs::Open(posix, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) return errno == ENOENT;
    std::string text;
    char buffer[4096];
    long n;
    while ((n = fs::Read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    int err = errno;
    fs::Close(fd);
    if (n < 0) {
        errno = err;
        return false;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
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

// Writes the lines to a temporary file beside the profile and renames it
// over the profile, keeping the old file's permissions.
bool WriteLinesAtomically(const std::string& posix, const std::vector<std::string>& lines) {
    if (!MakeDirectories(fs::ParentOf(posix))) return false;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    std::string temp = posix + ".XXXXXX";
    int fd = platform::sys::Mkstemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    fs::FileInfo info;
    mode_t mode = fs::Stat(posix, info, true) == 0 ? info.mode : 0644;
    bool ok = fs::Write(fd, text.data(), text.size()) == text.size() && platform::sys::Fchmod(fd, mode) == 0 &&
              platform::sys::Fsync(fd) == 0;
    ok = fs::Close(fd) == 0 && ok;
    ok = ok && fs::Replace(temp, posix) == 0;
    if (!ok) {
        int err = errno;
        platform::sys::Unlink(AT_FDCWD, temp.c_str(), 0);
        errno = err;
    }
    return ok;
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
    if (!lpAppName || !lpKeyName || !PlatformToPosixPath(lpFileName, posix) || !ReadLines(posix, lines)) return FALSE;
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
    std::vector<std::string> lines;
    if (!fs::Win32Path(lpFileName, posix)) return FALSE;
    if (!ReadLines(posix, lines)) return fs::Win32Fail(ERROR_PATH_NOT_FOUND);
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
    return WriteLinesAtomically(posix, lines) ? TRUE : fs::Win32Fail(ERROR_PATH_NOT_FOUND);
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
