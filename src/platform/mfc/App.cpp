// The application object, its message loop and template list, and the INI
// profile.
#include "platform/mfc/App.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/Paths.h"
#include "platform/kernel/Syscalls.h"
#include "platform/mfc/Modules.h"

namespace {

std::atomic<CWinApp*> currentApp{nullptr};

// ---- Profile file -------------------------------------------------------------------------

std::string trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool sameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

bool isSectionLine(const std::string& line, std::string& name) {
    std::string t = trim(line);
    if (t.empty() || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

bool isEntryLine(const std::string& line, std::string& key, std::string& value) {
    std::string t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#' || t.front() == '[') return false;
    size_t equals = t.find('=');
    if (equals == std::string::npos) return false;
    key = trim(t.substr(0, equals));
    value = trim(t.substr(equals + 1));
    return true;
}

// The profile's lines without their line ends. A missing or unreadable
// file has none.
std::vector<std::string> readLines(const std::string& posix) {
    std::vector<std::string> lines;
    if (PlatformSyscallFails(Syscall::Open)) return lines;
    int fd = ::open(posix.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return lines;
    std::string text;
    char buffer[4096];
    for (;;) {
        if (PlatformSyscallFails(Syscall::Read)) break;
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Index of the section's header line, or -1.
int findSection(const std::vector<std::string>& lines, const char* section) {
    std::string name;
    for (size_t i = 0; i < lines.size(); ++i)
        if (isSectionLine(lines[i], name) && sameName(name, section)) return static_cast<int>(i);
    return -1;
}

// One past the section's last line.
size_t sectionEnd(const std::vector<std::string>& lines, int header) {
    std::string name;
    size_t i = static_cast<size_t>(header) + 1;
    while (i < lines.size() && !isSectionLine(lines[i], name)) ++i;
    return i;
}

// Index of the entry's line in the section, or -1; value receives its text.
int findEntry(const std::vector<std::string>& lines, int header, const char* entry, std::string* value = nullptr) {
    std::string key, text;
    for (size_t i = static_cast<size_t>(header) + 1, end = sectionEnd(lines, header); i < end; ++i)
        if (isEntryLine(lines[i], key, text) && sameName(key, entry)) {
            if (value) *value = text;
            return static_cast<int>(i);
        }
    return -1;
}

bool makeDirectories(const std::string& dir) {
    if (dir.empty()) return true;
    struct stat st;
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeDirectories(dir.substr(0, slash))) return false;
    if (PlatformSyscallFails(Syscall::Mkdir)) return false;
    return ::mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST;
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        if (PlatformSyscallFails(Syscall::Write)) return false;
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes the lines to a temporary file beside the profile and renames it
// over the profile, keeping the old file's permissions.
bool writeLinesAtomically(const std::string& posix, const std::vector<std::string>& lines) {
    size_t slash = posix.find_last_of('/');
    std::string dir = slash == std::string::npos ? "" : posix.substr(0, slash);
    if (!makeDirectories(dir)) return false;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    std::string temp = posix + ".XXXXXX";
    if (PlatformSyscallFails(Syscall::Open)) return false;
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    struct stat st;
    mode_t mode = ::stat(posix.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = writeAll(fd, text) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && !PlatformSyscallFails(Syscall::Rename) && ::rename(temp.c_str(), posix.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

bool validName(LPCTSTR name) { return name && *name && !std::strpbrk(name, "\r\n"); }

std::string configHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config";
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return std::string(pw->pw_dir) + "/.config";
    return ".config";
}

std::string defaultProfileFile(LPCTSTR appName) {
    std::string name = appName && *appName ? appName : "app";
    for (char& c : name)
        if (c == '/') c = '_';
    return configHome() + "/" + name + "/" + name + ".ini";
}

char* duplicate(LPCTSTR text) { return ::strdup(text ? text : ""); }

}  // namespace

// ---- CWinThread ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

int CWinThread::Run() {
    for (LONG idle = 0;;) {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) OnIdle(idle++);
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) m_nExitCode = static_cast<int>(msg.wParam);
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        idle = 0;
    }
    return ExitInstance();
}

BOOL CWinThread::OnIdle(LONG) {
    CWnd::DeleteTempMap();
    return FALSE;
}

// ---- CWinApp ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

CWinApp::CWinApp(LPCTSTR lpszAppName) {
    if (lpszAppName) AfxSetAppName(lpszAppName);
    m_pszAppName = duplicate(AfxGetAppName());
    m_pszProfileName = duplicate(defaultProfileFile(m_pszAppName).c_str());
    currentApp = this;
}

CWinApp::~CWinApp() {
    CloseAllDocuments(TRUE);
    while (!m_templateList.IsEmpty()) delete static_cast<CDocTemplate*>(m_templateList.RemoveHead());
    std::free(const_cast<char*>(m_pszAppName));
    std::free(const_cast<char*>(m_pszProfileName));
    CWinApp* self = this;
    currentApp.compare_exchange_strong(self, nullptr);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate && !m_templateList.Find(pTemplate)) m_templateList.AddTail(pTemplate);
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& rPosition) const {
    return static_cast<CDocTemplate*>(m_templateList.GetNext(rPosition));
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::SaveAllModified() {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        if (!GetNextDocTemplate(pos)->SaveAllModified()) return FALSE;
    return TRUE;
}

void CWinApp::SetProfileFile(LPCTSTR lpszPath) {
    std::free(const_cast<char*>(m_pszProfileName));
    m_pszProfileName = duplicate(lpszPath);
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    CString text = GetProfileString(lpszSection, lpszEntry, nullptr);
    const char* p = text;
    char* end = nullptr;
    long long value = std::strtoll(p, &end, 10);
    if (end == p) return static_cast<UINT>(nDefault);
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<UINT>(static_cast<int>(value));
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    return WriteProfileString(lpszSection, lpszEntry, std::to_string(nValue).c_str());
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    CString fallback = lpszDefault ? lpszDefault : "";
    std::string posix;
    if (!lpszSection || !lpszEntry || !PlatformToPosixPath(m_pszProfileName, posix)) return fallback;
    std::vector<std::string> lines = readLines(posix);
    int header = findSection(lines, lpszSection);
    std::string value;
    if (header < 0 || findEntry(lines, header, lpszEntry, &value) < 0) return fallback;
    return CString(value);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    std::string posix;
    bool valid = validName(lpszSection) && (!lpszEntry || validName(lpszEntry)) &&
                 (!lpszValue || !std::strpbrk(lpszValue, "\r\n"));
    if (!valid || !PlatformToPosixPath(m_pszProfileName, posix))
        return FALSE;
    std::vector<std::string> lines = readLines(posix);
    int header = findSection(lines, lpszSection);
    if (!lpszEntry) {  // remove the section
        if (header < 0) return TRUE;
        lines.erase(lines.begin() + header, lines.begin() + static_cast<long>(sectionEnd(lines, header)));
    } else {
        int at = header < 0 ? -1 : findEntry(lines, header, lpszEntry);
        std::string line = std::string(lpszEntry) + "=" + (lpszValue ? lpszValue : "");
        if (!lpszValue) {
            if (at < 0) return TRUE;
            lines.erase(lines.begin() + at);
        } else if (at >= 0) {
            std::string key, value;
            isEntryLine(lines[static_cast<size_t>(at)], key, value);
            lines[static_cast<size_t>(at)] = key + "=" + lpszValue;  // the stored spelling of the name stays
        } else if (header >= 0) {
            size_t end = sectionEnd(lines, header);
            while (end > static_cast<size_t>(header) + 1 && trim(lines[end - 1]).empty()) --end;  // before blank lines
            lines.insert(lines.begin() + static_cast<long>(end), line);
        } else {
            lines.push_back("[" + std::string(lpszSection) + "]");
            lines.push_back(line);
        }
    }
    return writeLinesAtomically(posix, lines);
}

CWinApp* AfxGetApp() { return currentApp; }

CWinThread* AfxGetThread() { return currentApp; }

CWnd* AfxGetMainWnd() {
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetMainWnd() : nullptr;
}
