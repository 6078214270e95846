// copy-tree: copy a directory tree.
#include <cstdio>
#include <string>

#include "Command.h"
#include "Place.h"
#include "TreeCount.h"
#include "UndoneReport.h"
#include "project/CProject.h"

namespace cbasis {
namespace {

int RunCopyTree(const Args& args);

const Command kCopyTree(
    "copy-tree", "copy-tree SOURCE TARGET [PATTERN]", "copy a directory tree",
    "Copies the files and subdirectories of SOURCE into TARGET, creating TARGET\n"
    "and its missing parents. PATTERN (default *.*, the original platform's\n"
    "wildcards) filters the entries of SOURCE itself; a matching subdirectory is\n"
    "copied whole. PATTERN is a name pattern: it holds no '/' or '\\'. Copies\n"
    "keep their time stamps and read-only attribute, and sparse files stay\n"
    "sparse; same-named files in TARGET are replaced unless read-only, others\n"
    "stay. Symbolic links are not copied. TARGET may not lie inside SOURCE.",
    RunCopyTree);

int RunCopyTree(const Args& args) {
    if (args.size() < 2 || args.size() > 3)
        return UsageError(kCopyTree, args.size() < 2 ? "missing SOURCE or TARGET" : "too many arguments");
    std::string pattern = args.size() == 3 ? args[2] : "*.*";
    if (pattern.empty()) return UsageError(kCopyTree, "PATTERN is empty");
    if (pattern.find_first_of("/\\") != std::string::npos)
        return UsageError(kCopyTree, "PATTERN '" + pattern + "' holds a separator: it matches names in SOURCE");
    Place source, target;
    std::string error;
    if (!Resolve(args[0], source, error) || !Resolve(args[1], target, error)) return Failure(kCopyTree, error);
    if (!IsDirectory(source.posix)) return Failure(kCopyTree, "'" + args[0] + "' is not a directory");
    if (LiesInside(target.posix, source.posix))
        return Failure(kCopyTree, "'" + args[1] + "' lies inside '" + args[0] + "': the copy would copy itself");
    if (Exists(target.posix) && !IsDirectory(target.posix))
        return Failure(kCopyTree, "'" + args[1] + "' is not a directory");

    int before = CountTree(target.posix).files;
    CProject::CCopyFilesFromOneDirectoryToAnother(source.library, target.library, pattern.c_str());
    if (!IsDirectory(target.posix)) return Failure(kCopyTree, "could not create '" + args[1] + "'");
    if (UndoneReport::AnyUndone()) return Failure(kCopyTree, "'" + args[1] + "' is an incomplete copy");
    std::printf("copy-tree: %s copied into %s (%d files there now, %d before)\n", args[0].c_str(), args[1].c_str(),
                CountTree(target.posix).files, before);
    return kOk;
}

}  // namespace
}  // namespace cbasis
