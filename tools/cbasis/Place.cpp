#include "Place.h"

#include <algorithm>
#include <iterator>

#include "LibraryPaths.h"
#include "platform/kernel/Paths.h"

namespace fs = std::filesystem;

namespace cbasis {

bool Resolve(const std::string& typed, Place& place, std::string& error) {
    place.typed = typed;
    if (!ToLibrary(typed, true, place.library, error)) return false;
    std::string posix;
    if (!PlatformToPosixPath(place.library, posix)) {
        error = "'" + typed + "': no such drive";
        return false;
    }
    place.posix = posix;  // resolved as the library resolves it, without a trailing separator
    place.library = WithoutTrailingSeparators(PlatformFromPosixPath(posix));
    return true;
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
