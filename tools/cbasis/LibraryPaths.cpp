#include "LibraryPaths.h"

#include <cctype>
#include <filesystem>

#include "platform/Paths.h"

namespace cbasis {

namespace {

bool IsLibraryPath(const std::string& path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

}  // namespace

bool ToLibrary(const std::string& typed, bool bAbsolute, CString& path, std::string& error) {
    if (typed.empty()) {
        error = "empty path";
        return false;
    }
    if (IsLibraryPath(typed)) {
        path = typed.c_str();
        return true;
    }
    if (typed.find('\\') != std::string::npos) {
        error = "'" + typed + "': names with a backslash cannot be handled";
        return false;
    }
    std::error_code ec;
    std::string posix = bAbsolute ? std::filesystem::absolute(typed, ec).string() : typed;
    if (ec) {
        error = "'" + typed + "': " + ec.message();
        return false;
    }
    path = PlatformFromPosixPath(posix);
    return true;
}

CString WithoutTrailingSeparators(CString path) {
    while (path.GetLength() > 1 && path[path.GetLength() - 1] == '\\' && !(path.GetLength() == 3 && path[1] == ':'))
        path = path.Left(path.GetLength() - 1);
    if (path.GetLength() == 3 && path[1] == ':') path = path.Left(2);  // "C:\" lists as "C:" + "\*.*"
    return path;
}

}  // namespace cbasis
