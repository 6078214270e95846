// copy-tree: copy a directory tree.
#include <cstdio>
#include <string>

#include "Command.h"
#include "Place.h"
#include "TreeCount.h"
#include "UndoneReport.h"
#include "Wording.h"
#include "project/CProject.h"

namespace cbasis {
namespace {

int RunCopyTree(const Args& args);

const Command kCopyTree("copy-tree", "copy-tree SOURCE TARGET [PATTERN]", "copy a directory tree",
                        "Copies the files and subdirectories of SOURCE into TARGET, creating TARGET\n"
                        "and its missing parents. PATTERN (default *.*, the original platform's\n"
                        "wildcards) filters the entries of SOURCE itself; a matching subdirectory is\n"
                        "copied whole. PATTERN is a name pattern: it holds no '/' or '\\'. Copies\n"
                        "keep their time stamps and read-only attribute, and sparse files stay\n"
                        "sparse; same-named files in TARGET are replaced unless read-only, others\n"
                        "stay. Symbolic links are not copied. TARGET may not lie inside SOURCE.",
                        {}, RunCopyTree);

int RunCopyTree(const Args& args) {
    const auto& operands = args.operands;
    if (operands.size() < 2 || operands.size() > 3)
        return UsageError(kCopyTree, operands.size() < 2 ? "missing SOURCE or TARGET" : "too many arguments");
    std::string pattern = operands.size() == 3 ? operands[2] : "*.*";
    if (pattern.empty()) return UsageError(kCopyTree, "PATTERN is empty");
    if (pattern.find_first_of("/\\") != std::string::npos)
        return UsageError(kCopyTree, "PATTERN '" + pattern + "' holds a separator: it matches names in SOURCE");
    Place source, target;
    std::string reason;
    if (!Resolve(operands[0], source, reason)) return Failure(kCopyTree, operands[0], reason);
    if (!Resolve(operands[1], target, reason)) return Failure(kCopyTree, operands[1], reason);
    if (!IsDirectory(source.posix))
        return Failure(kCopyTree, operands[0], Exists(source.posix) ? "Not a directory" : "No such file or directory");
    if (LiesInside(target.posix, source.posix))
        return Failure(kCopyTree, operands[1], "lies inside " + operands[0] + ": the copy would copy itself");
    if (Exists(target.posix) && !IsDirectory(target.posix)) return Failure(kCopyTree, operands[1], "Not a directory");
    UndoneReport::NameAsTyped(source);
    UndoneReport::NameAsTyped(target);

    int before = CountTree(target.posix).files;
    CProject::CCopyFilesFromOneDirectoryToAnother(source.library, target.library, pattern.c_str());
    if (!IsDirectory(target.posix)) return Failure(kCopyTree, operands[1], "could not be created");
    if (UndoneReport::AnyUndone()) return Failure(kCopyTree, operands[1], "an incomplete copy");
    std::printf("copy-tree: %s copied into %s (%s there now, %d before)\n", operands[0].c_str(), operands[1].c_str(),
                Counted(CountTree(target.posix).files, "file", "files").c_str(), before);
    return kOk;
}

}  // namespace
}  // namespace cbasis
