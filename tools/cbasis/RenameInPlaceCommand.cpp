// rename-in-place: replace a word in the files and names of a tree.
#include <cstdio>
#include <string>

#include "Command.h"
#include "Place.h"
#include "TreeCount.h"
#include "UndoneReport.h"
#include "platform/kernel/Paths.h"
#include "project/CProject.h"

namespace cbasis {
namespace {

int RunRenameInPlace(const Args& args);

const Command kRenameInPlace(
    "rename-in-place", "rename-in-place DIR WORD NEW", "replace a word in the files and names of a tree",
    "Replaces every WORD with NEW, case-sensitively, in the text of every file\n"
    "below DIR and in the names of its files and subdirectories (titles and\n"
    "extensions alike). DIR itself keeps its name. An existing entry is never\n"
    "replaced by a renamed one. Files holding zero bytes, read-only files and\n"
    "symbolic links are left as they are. A rewritten file keeps its mode, owner\n"
    "and group and takes the time of writing.",
    RunRenameInPlace);

int RunRenameInPlace(const Args& args) {
    if (args.size() != 3)
        return UsageError(kRenameInPlace, args.size() < 3 ? "missing DIR, WORD or NEW" : "too many arguments");
    const std::string &word = args[1], &replacement = args[2];
    if (word.empty()) return UsageError(kRenameInPlace, "WORD is empty: nothing would change");
    if (replacement.find_first_of("/\\") != std::string::npos || replacement == "." || replacement == "..")
        return UsageError(kRenameInPlace, "NEW '" + replacement +
                                              "' would move names out of their directory (it holds '/' or '\\', "
                                              "or is '.' or '..')");
    Place dir;
    std::string error;
    if (!Resolve(args[0], dir, error)) return Failure(kRenameInPlace, error);
    if (!IsDirectory(dir.posix)) return Failure(kRenameInPlace, "'" + args[0] + "' is not a directory");

    // The library looks for the word in an entry's whole path and renames
    // nothing below a directory whose own path holds it; so the directory is
    // named through a drive letter of its own ("Q:") that cannot hold it.
    CString root = dir.library;
    char drive = 0;
    if (word.find(':') == std::string::npos)
        for (char letter = 'Z'; letter >= 'D' && !drive; --letter)
            if (word.find(letter) == std::string::npos && PlatformGetDrive(letter).IsEmpty()) drive = letter;
    if (drive) {
        PlatformSetDrive(drive, dir.posix.c_str());
        root = CString(drive) + ":";
    }

    // One pass renames a name only while the directories above it keep
    // theirs, so a tree is renamed level by level: repeat while names change.
    // A NEW that holds WORD would grow with every pass: one pass then.
    int before = CountTree(dir.posix, word).matching, left = before;
    do {
        CProject::ChangeKeywordAndFilenameInAllDirectoryFiles(root, replacement.c_str(), word.c_str());
        int now = CountTree(dir.posix, word).matching;
        if (now >= left) break;
        left = now;
    } while (left > 0 && replacement.find(word) == std::string::npos);
    if (drive) PlatformSetDrive(drive, nullptr);
    if (UndoneReport::AnyUndone())
        return Failure(kRenameInPlace, "'" + args[0] + "' is rewritten in part: " + std::to_string(before - left) +
                                           " of " + std::to_string(before) + " names renamed");
    std::printf("rename-in-place: %d of %d names holding '%s' renamed in %s\n", before - left, before, word.c_str(),
                args[0].c_str());
    return kOk;
}

}  // namespace
}  // namespace cbasis
