// The drive table and the translation of paths in both directions.
#include "platform/Paths.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>

namespace {

struct DriveTable {
    std::mutex lock;
    std::map<char, std::string> roots;  // upper-case letter -> root without trailing '/'
    std::map<char, bool> loaded;        // letters whose environment default was read
};

DriveTable& Table() {
    static DriveTable table;
    return table;
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
            t.roots[letter] = "/";
    }
    auto it = t.roots.find(letter);
    return it == t.roots.end() ? nullptr : &it->second;
}

bool HasDrive(const char* p) { return std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':'; }

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

bool PlatformToPosixPath(LPCTSTR path, std::string& posix) {
    posix.clear();
    const char* p = path ? path : "";
    std::string out;
    if (HasDrive(p)) {
        DriveTable& t = Table();
        std::lock_guard<std::mutex> guard(t.lock);
        const std::string* root = RootLocked(t, p[0]);
        if (!root) return false;
        out = *root;
        p += 2;
        // "C:x" is taken as "C:\x": a drive has no current directory here.
        if (*p != '\\' && *p != '/') out += '/';
        if (out == "//") out = "/";
    }
    for (; *p; ++p) {
        char c = *p == '\\' ? '/' : *p;
        if (c == '/' && !out.empty() && out.back() == '/' && out.size() == 1) continue;  // "/" + "/x"
        out += c;
    }
    posix = out;
    return true;
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
