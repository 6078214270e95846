#include "LibraryPaths.h"

#include <cctype>
#include <filesystem>

#include "platform/kernel/Paths.h"

namespace cbasis {

bool IsLibraryPath(const std::string& typed) {
    return typed.size() >= 2 && std::isalpha(static_cast<unsigned char>(typed[0])) && typed[1] == ':';
}

std::string JoinTyped(const std::string& typed, const std::string& name) {
    char separator = IsLibraryPath(typed) ? '\\' : '/';
    if (typed.empty() || typed.back() == separator) return typed + name;
    return typed + separator + name;
}

bool ToLibrary(const std::string& typed, bool bAbsolute, CString& path, std::string& reason) {
    if (typed.empty()) {
        reason = "empty path";
        return false;
    }
    if (IsLibraryPath(typed)) {
        path = typed.c_str();
        return true;
    }
    // The library would read a backslash as a separator, and its finder
    // never lists names holding the other characters.
    for (const std::filesystem::path& part : std::filesystem::path(typed).relative_path()) {
        std::string name = part.string();
        if (!name.empty() && !PlatformIsRepresentableName(name.c_str())) {
            reason = "a name holding \\ : * ? \" < > | or a control character cannot be handled";
            return false;
        }
    }
    std::error_code ec;
    // ".." in a Linux path is resolved as Linux does in text, before the
    // library's own rule (which stops at a drive's root) sees the path.
    std::string posix = bAbsolute ? std::filesystem::absolute(typed, ec).lexically_normal().string() : typed;
    if (ec) {
        reason = ec.message();
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
