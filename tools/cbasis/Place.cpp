#include "Place.h"

#include <algorithm>
#include <iterator>

#include "LibraryPaths.h"
#include "platform/kernel/Paths.h"

namespace fs = std::filesystem;

namespace cbasis {

bool Resolve(const std::string& typed, Place& place, std::string& reason) {
    place.typed = typed;
    if (!ToLibrary(typed, true, place.library, reason)) return false;
    std::string posix;
    if (!PlatformToPosixPath(place.library, posix)) {
        reason = "no such drive";
        return false;
    }
    place.posix = posix;  // resolved as the library resolves it, without a trailing separator
    place.library = WithoutTrailingSeparators(PlatformFromPosixPath(posix));
    return true;
}

std::string Shown(const Place& place, const fs::path& posix) {
    auto [p, i] = std::mismatch(place.posix.begin(), place.posix.end(), posix.begin(), posix.end());
    if (p != place.posix.end()) return posix.string();
    std::string shown = place.typed;
    while (shown.size() > 1 && (shown.back() == '/' || shown.back() == '\\')) shown.pop_back();
    for (; i != posix.end(); ++i)
        if (!i->empty()) shown = JoinTyped(shown, i->string());
    return shown;
}

bool IsDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

bool LiesInside(const fs::path& inner, const fs::path& outer) {
    std::error_code ec;
    fs::path in = fs::weakly_canonical(inner, ec), out = fs::weakly_canonical(outer, ec);
    auto [o, i] = std::mismatch(out.begin(), out.end(), in.begin(), in.end());
    return o == out.end() || (std::next(o) == out.end() && o->empty());
}

}  // namespace cbasis
