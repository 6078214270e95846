// rename-in-place: replace a word in the files and names of a tree.
#include <cstdio>
#include <string>

#include "Command.h"
#include "Place.h"
#include "TreeCount.h"
#include "UndoneReport.h"
#include "Wording.h"
#include "platform/kernel/Paths.h"
#include "project/CProject.h"

namespace fs = std::filesystem;

namespace cbasis {
namespace {

int RunRenameInPlace(const Args& args);

const Command kRenameInPlace("rename-in-place", "rename-in-place DIR WORD NEW",
                             "replace a word in the files and names of a tree",
                             "Replaces every WORD with NEW, case-sensitively, in the text of every file\n"
                             "below DIR and in the names of its files and subdirectories (titles and\n"
                             "extensions alike), once: what a replacement forms is not replaced again.\n"
                             "DIR itself keeps its name. An existing entry is never replaced by a\n"
                             "renamed one. Files holding zero bytes, read-only files and symbolic links\n"
                             "are left as they are. A rewritten file keeps its mode, owner and group and\n"
                             "takes the time of writing. NEW goes into names: it holds none of\n"
                             "/ \\ : * ? \" < > | (it may be empty).",
                             {}, RunRenameInPlace);

// text with every word replaced, from the left, as the library replaces it.
std::string Replaced(std::string text, const std::string& word, const std::string& replacement) {
    for (size_t at = 0; (at = text.find(word, at)) != std::string::npos; at += replacement.size())
        text.replace(at, word.size(), replacement);
    return text;
}

// Whether the entry at relative (below root, its name holding word) now
// stands at its new path, and no longer under its old name there.
bool Renamed(const fs::path& root, const fs::path& relative, const std::string& word, const std::string& replacement) {
    fs::path now;
    for (const fs::path& part : relative) now /= Replaced(part.string(), word, replacement);
    std::error_code ec;
    bool there = fs::symlink_status(root / now, ec).type() != fs::file_type::not_found;
    bool old =
        fs::symlink_status(root / now.parent_path() / relative.filename(), ec).type() != fs::file_type::not_found;
    return there && !old;
}

int RunRenameInPlace(const Args& args) {
    const auto& operands = args.operands;
    if (operands.size() != 3)
        return UsageError(kRenameInPlace, operands.size() < 3 ? "missing DIR, WORD or NEW" : "too many arguments");
    const std::string &word = operands[1], &replacement = operands[2];
    if (word.empty()) return UsageError(kRenameInPlace, "WORD is empty: nothing would change");
    if (!replacement.empty())
        if (int refused = CheckPlainName(kRenameInPlace, "NEW", replacement)) return refused;
    Place dir;
    std::string reason;
    if (!Resolve(operands[0], dir, reason)) return Failure(kRenameInPlace, operands[0], reason);
    if (!IsDirectory(dir.posix))
        return Failure(kRenameInPlace, operands[0],
                       Exists(dir.posix) ? "Not a directory" : "No such file or directory");
    UndoneReport::NameAsTyped(dir);

    // The library renames nothing when the directory's own path holds the
    // word; so the directory is named through a drive letter of its own
    // ("Q:") that cannot hold it.
    CString root = dir.library;
    char drive = 0;
    if (word.find(':') == std::string::npos)
        for (char letter = 'Z'; letter >= 'D' && !drive; --letter)
            if (word.find(letter) == std::string::npos && PlatformGetDrive(letter).IsEmpty()) drive = letter;
    if (drive) {
        PlatformSetDrive(drive, dir.posix.c_str());
        root = CString(drive) + ":";
    }
    std::vector<fs::path> matching = CountTree(dir.posix, word).matching;
    CProject::ChangeKeywordAndFilenameInAllDirectoryFiles(root, replacement.c_str(), word.c_str());
    if (drive) PlatformSetDrive(drive, nullptr);

    long long renamed = 0, total = static_cast<long long>(matching.size());
    for (const fs::path& entry : matching) renamed += Renamed(dir.posix, entry, word, replacement);
    std::string names = std::to_string(renamed) + " of " + Counted(total, "name", "names");
    if (UndoneReport::AnyUndone())
        return Failure(kRenameInPlace, operands[0], "rewritten in part" + (total ? ": " + names + " renamed" : ""));
    std::printf("rename-in-place: %s holding '%s' renamed in %s\n", names.c_str(), word.c_str(), operands[0].c_str());
    if (renamed < total)
        return Failure(kRenameInPlace, operands[0],
                       Counted(total - renamed, "name keeps its", "names keep their") + " old form");
    return kOk;
}

}  // namespace
}  // namespace cbasis
