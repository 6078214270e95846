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

const Command kGuard("guard", "guard HEADER NEWNAME [FALLBACK]", "give a header a fresh GUID include guard",
                     "Rewrites the include guard of HEADER, one of the form\n"
                     "#if !defined(AFX_<NAME>_H__<GUID>__INCLUDED_), to AFX_<NEWNAME>_H__<new GUID>,\n"
                     "NEWNAME upper-cased (FALLBACK when NEWNAME is empty), in the #if, #define\n"
                     "and #endif lines and wherever else the old guard name stands. The file is\n"
                     "replaced in one step, keeping its mode, owner and group. Prints the new\n"
                     "guard macro.",
                     {}, RunGuard);

bool IsIdentifierPart(const std::string& text) {
    for (char c : text)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

int RunGuard(const Args& args) {
    const auto& operands = args.operands;
    if (operands.size() < 2 || operands.size() > 3)
        return UsageError(kGuard, operands.size() < 2 ? "missing HEADER or NEWNAME" : "too many arguments");
    std::string newName = operands[1], fallback = operands.size() == 3 ? operands[2] : std::string();
    if (newName.empty() && fallback.empty()) return UsageError(kGuard, "NEWNAME and FALLBACK are both empty");
    if (!IsIdentifierPart(newName) || !IsIdentifierPart(fallback))
        return UsageError(kGuard, "NEWNAME and FALLBACK may hold only letters, digits and '_'");
    const std::string& typed = operands[0];
    Place header;
    std::string reason;
    if (!Resolve(typed, header, reason)) return Failure(kGuard, typed, reason);
    std::error_code ec;
    switch (fs::symlink_status(header.posix, ec).type()) {
    case fs::file_type::regular: break;
    case fs::file_type::not_found: return Failure(kGuard, typed, "No such file or directory");
    case fs::file_type::directory: return Failure(kGuard, typed, "Is a directory");
    default: return Failure(kGuard, typed, "not a regular file");
    }

    // What is printed is what the library wrote.
    CUtils utils;
    CString guard;
    if (utils.RenewHeaderGuard(header.library, newName.c_str(), fallback.c_str(), guard) != 1)
        return Failure(kGuard, typed, utils.m_strError.str());
    std::printf("%s: AFX_%s__INCLUDED_\n", typed.c_str(), static_cast<LPCTSTR>(guard));
    return kOk;
}

}  // namespace
}  // namespace cbasis
