// guard: give a header a fresh GUID include guard.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>

#include "Command.h"
#include "Place.h"
#include "files/CUtils.h"

namespace fs = std::filesystem;

namespace cbasis {
namespace {

int RunGuard(const Args& args);

const Command kGuard(
    "guard", "guard HEADER NEWNAME [FALLBACK]", "give a header a fresh GUID include guard",
    "Rewrites the include guard of HEADER, one of the form\n"
    "#if !defined(AFX_<NAME>_H__<GUID>__INCLUDED_), to AFX_<NEWNAME>_H__<new GUID>,\n"
    "NEWNAME upper-cased (FALLBACK when NEWNAME is empty), in the #if, #define\n"
    "and #endif lines and wherever else the old guard name stands. The file is\n"
    "replaced in one step, keeping its mode, owner and group. Prints the new\n"
    "guard macro.",
    RunGuard);

bool IsIdentifierPart(const std::string& text) {
    for (char c : text)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

int RunGuard(const Args& args) {
    if (args.size() < 2 || args.size() > 3)
        return UsageError(kGuard, args.size() < 2 ? "missing HEADER or NEWNAME" : "too many arguments");
    std::string newName = args[1], fallback = args.size() == 3 ? args[2] : std::string();
    if (newName.empty() && fallback.empty()) return UsageError(kGuard, "NEWNAME and FALLBACK are both empty");
    if (!IsIdentifierPart(newName) || !IsIdentifierPart(fallback))
        return UsageError(kGuard, "NEWNAME and FALLBACK may hold only letters, digits and '_'");
    Place header;
    std::string error;
    if (!Resolve(args[0], header, error)) return Failure(kGuard, error);
    std::error_code ec;
    if (fs::symlink_status(header.posix, ec).type() != fs::file_type::regular)
        return Failure(kGuard, "'" + args[0] + "' is not a file");

    // What is printed is what the library wrote.
    CUtils utils;
    CString guard;
    if (utils.RenewHeaderGuard(header.library, newName.c_str(), fallback.c_str(), guard) != 1)
        return Failure(kGuard, "'" + args[0] + "' " + utils.m_strError.str());
    std::printf("%s: AFX_%s__INCLUDED_\n", args[0].c_str(), static_cast<LPCTSTR>(guard));
    return kOk;
}

}  // namespace
}  // namespace cbasis
