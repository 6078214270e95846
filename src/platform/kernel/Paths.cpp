// The drive table and the translation of paths in both directions.
#include "platform/kernel/Paths.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/kernel/FileSystem.h"
#include "platform/shared/NoDestructor.h"

namespace {

struct DriveTable {
    std::mutex lock;
    std::map<char, std::string> roots;  // upper-case letter -> root without trailing '/'
    std::map<char, bool> loaded;        // letters whose environment default was read
};

// Never destroyed: a host's static destructors may still translate paths
// while the process exits.
DriveTable& Table() {
    static NoDestructor<DriveTable> table;
    return *table;
}

std::string NormaliseRoot(std::string root) {
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

// The root of the drive, reading its environment default the first time.
// Must be called with the table locked.
const std::string* RootLocked(DriveTable& t, char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (!t.loaded[letter]) {
        t.loaded[letter] = true;
        std::string var = std::string("CBASIS_DRIVE_") + letter;
        if (const char* env = std::getenv(var.c_str()); env && *env)
            t.roots[letter] = NormaliseRoot(env);
        else if (letter == 'C')
            t.roots[letter].assign(1, '/');
    }
    auto it = t.roots.find(letter);
    return it == t.roots.end() ? nullptr : &it->second;
}

bool HasDrive(const char* p) { return std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':'; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Appends the components of text to out, each after a backslash, with "."
// dropped and ".." taking back the component before it; out never shrinks
// below its first keep characters, the root.
void AppendComponents(std::string& out, size_t keep, const char* text) {
    for (const char* p = text; *p;) {
        if (IsSeparator(*p)) {
            ++p;
            continue;
        }
        const char* start = p;
        while (*p && !IsSeparator(*p)) ++p;
        size_t n = static_cast<size_t>(p - start);
        if (n == 1 && start[0] == '.') continue;
        if (n == 2 && start[0] == '.' && start[1] == '.') {
            size_t cut = out.rfind('\\');
            out.resize(cut != std::string::npos && cut >= keep ? cut : keep);
            continue;
        }
        out += '\\';
        out.append(start, n);
    }
}

}  // namespace

void PlatformSetDrive(char chDrive, LPCTSTR posixRoot) {
    DriveTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(chDrive)));
    t.loaded[letter] = true;
    if (posixRoot && *posixRoot)
        t.roots[letter] = NormaliseRoot(posixRoot);
    else
        t.roots.erase(letter);
}

CString PlatformGetDrive(char chDrive) {
    DriveTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    const std::string* root = RootLocked(t, chDrive);
    return root ? CString(root->c_str()) : CString();
}

bool PlatformFullPath(LPCTSTR path, std::string& full) {
    full.clear();
    if (!path || !*path) return false;
    std::string joined;
    const char* p = path;
    if (!HasDrive(p) && *p != '\\' && *p != '/') {
        CString current = platform::fs::CurrentDirectory();
        if (current.IsEmpty()) return false;
        joined = current.str() + "\\" + p;
        p = joined.c_str();
    }
    // "C:x" is taken as "C:\x": a drive has no current directory here.
    size_t keep = HasDrive(p) ? 2 : 0;
    std::string out(p, keep);
    AppendComponents(out, keep, p + keep);
    if (out.size() == keep) out += '\\';
    full = std::move(out);
    return true;
}

bool PlatformToPosixPath(LPCTSTR path, std::string& posix) {
    posix.clear();
    std::string full;
    if (!PlatformFullPath(path, full)) return false;
    std::string out;
    const char* rest = full.c_str();
    if (HasDrive(rest)) {
        DriveTable& t = Table();
        std::lock_guard<std::mutex> guard(t.lock);
        const std::string* root = RootLocked(t, rest[0]);
        if (!root) return false;
        if (*root != "/") out = *root;
        rest += 2;
    }
    for (; *rest; ++rest) out += *rest == '\\' ? '/' : *rest;
    if (out.size() > 1 && out.back() == '/') out.pop_back();  // a root's own separator
    posix = std::move(out);
    return true;
}

bool PlatformIsRepresentableName(const char* name) {
    // Checked for every name of every listing: one table look-up a byte.
    static const auto forbidden = [] {
        std::array<bool, 256> table{};
        for (int c = 0; c < 0x20; ++c) table[c] = true;
        for (const char* p = "\\/:*?\"<>|"; *p; ++p) table[static_cast<unsigned char>(*p)] = true;
        return table;
    }();
    if (!name || !*name) return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p)
        if (forbidden[*p]) return false;
    return true;
}

bool PlatformIsPlainName(const char* name) {
    return PlatformIsRepresentableName(name) && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

CString PlatformFromPosixPath(const std::string& posix) {
    std::string out;
    {
        DriveTable& t = Table();
        std::lock_guard<std::mutex> guard(t.lock);
        RootLocked(t, 'C');
        // The longest mapped root that contains the path names its drive.
        size_t best = 0;
        char bestLetter = 0;
        for (const auto& [letter, root] : t.roots) {
            bool inside = root == "/" ? !posix.empty() && posix[0] == '/'
                                      : posix.compare(0, root.size(), root) == 0 &&
                                            (posix.size() == root.size() || posix[root.size()] == '/');
            size_t weight = root == "/" ? 1 : root.size() + 1;
            if (inside && weight > best) {
                best = weight;
                bestLetter = letter;
            }
        }
        if (bestLetter) {
            const std::string& root = t.roots[bestLetter];
            out = std::string(1, bestLetter) + ":";
            std::string rest = root == "/" ? posix : posix.substr(root.size());
            out += rest.empty() ? "/" : rest;
        } else {
            out = posix;
        }
    }
    for (char& c : out)
        if (c == '/') c = '\\';
    return CString(out.c_str());
}
