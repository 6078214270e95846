// Choosing the directory of the user's namespace segments.
#include "platform/kernel/SyncPlace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/kernel/FileSystem.h"
#include "platform/kernel/SyscallTable.h"

namespace platform::sync {

namespace {

constexpr int kNames = 16;  // names tried below each shared directory

std::string Octal(unsigned mode) {
    char text[16];
    std::snprintf(text, sizeof text, "%04o", mode);
    return text;
}

// Why the open directory is not one of this user's with none of the
// forbidden mode bits; empty when it is.
std::string NotPrivate(int fd, unsigned forbidden, unsigned& mode) {
    fs::FileInfo info;
    if (fs::StatFd(fd, info) != 0) return std::string("cannot be examined: ") + std::strerror(errno);
    mode = info.mode;
    if (!info.isDirectory) return "is not a directory";
    if (info.owner != ::geteuid()) return "belongs to uid " + std::to_string(info.owner);
    if ((info.mode & forbidden) != 0) return "has mode " + Octal(info.mode);
    return {};
}

// Why a name that is not a directory cannot be used: what it is and whose.
std::string NotADirectory(const std::string& path) {
    fs::FileInfo info;
    if (fs::Stat(path, info, false) != 0) return std::strerror(errno);
    const char* what = info.isLink ? "a symbolic link" : info.isSpecial ? "a special file" : "a file";
    return std::string("is ") + what + " of uid " + std::to_string(info.owner);
}

bool FromEnvironment(Place& place, std::vector<std::string>& notes) {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (!dir || !*dir) return false;
    std::string why;
    if (dir[0] != '/') {
        why = "is not an absolute path";
    } else {
        int fd = sys::Open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        if (fd < 0) {
            why = std::strerror(errno);
        } else {
            unsigned mode;
            why = NotPrivate(fd, 077, mode);  // not ours to change: private as it stands
            if (why.empty()) {
                place.dirFd = fd;
                place.path = dir;
                return true;
            }
            sys::Close(fd);
        }
    }
    notes.push_back("XDG_RUNTIME_DIR " + std::string(dir) + " " + why);
    return false;
}

// The user's own directory below base, trying further names where other
// users took one.
bool BelowShared(const char* base, Place& place, std::vector<std::string>& notes) {
    int baseFd = sys::Open(base, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (baseFd < 0) return false;
    const std::string uid = std::to_string(::geteuid());
    bool found = false;
    for (int n = 0; n < kNames && !found; ++n) {
        std::string name = "cbasis1-" + uid + (n ? "." + std::to_string(n) : "");
        std::string path = std::string(base) + "/" + name;
        if (sys::Mkdir(baseFd, name.c_str(), 0700) != 0 && errno != EEXIST) {
            notes.push_back(path + ": " + std::strerror(errno));
            break;  // EROFS, EACCES, ENOSPC: no use trying more names here
        }
        int fd = sys::OpenAt(baseFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
        std::string why;
        unsigned mode = 0700;
        if (fd < 0)
            why = errno == ELOOP || errno == ENOTDIR ? NotADirectory(path) : std::strerror(errno);
        else
            why = NotPrivate(fd, 022, mode);  // nobody else could have put anything inside
        if (why.empty() && mode != 0700 && sys::Fchmod(fd, 0700) != 0)
            why = "cannot be made private: " + std::string(std::strerror(errno));
        if (why.empty()) {
            place.dirFd = fd;
            place.path = path;
            found = true;
        } else {
            if (fd >= 0) sys::Close(fd);
            notes.push_back(path + " " + why);
        }
    }
    sys::Close(baseFd);
    return found;
}

}  // namespace

Place::~Place() {
    if (dirFd >= 0) sys::Close(dirFd);
}

void ChoosePlace(Place& place) {
    std::vector<std::string> notes;
    if (FromEnvironment(place, notes)) return;
    const char* const bases[] = {::geteuid() == 0 ? "/run" : nullptr, "/dev/shm", "/tmp"};
    for (const char* base : bases)
        if (base && BelowShared(base, place, notes)) return;
    place.why = "no directory of the user's own to keep the namespace in";
    if (!notes.empty()) place.why += ": " + notes.front();
    if (notes.size() > 1)
        place.why += ", and " + std::to_string(notes.size() - 1) +
                     " more places could not be used (the last: " + notes.back() + ")";
    place.why += "; XDG_RUNTIME_DIR naming a directory of the user's own that only the user may use avoids this";
}

}  // namespace platform::sync
