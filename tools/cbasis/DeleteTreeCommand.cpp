// delete-tree: delete a directory and everything in it.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Command.h"
#include "Place.h"
#include "TreeCount.h"
#include "platform/crt/Stdio.h"
#include "project/CProject.h"

namespace fs = std::filesystem;

namespace cbasis {
namespace {

int RunDeleteTree(const Args& args);

const Command kDeleteTree(
    "delete-tree", "delete-tree DIR [--yes]", "delete a directory and everything in it",
    "Deletes every file and subdirectory below DIR, then DIR. Asks first when\n"
    "run on a terminal; --yes deletes without asking (and is needed when not on\n"
    "a terminal). Read-only files stay, and so do the directories above them;\n"
    "so does a directory holding a name a library path cannot carry. A symbolic\n"
    "link is removed, never what it points to. What stays is listed on stderr.",
    RunDeleteTree);

int RunDeleteTree(const Args& args) {
    bool yes = false;
    std::vector<std::string> operands;
    for (const std::string& a : args) {
        if (a == "--yes" || a == "-y")
            yes = true;
        else if (a.size() > 1 && a[0] == '-')
            return UsageError(kDeleteTree, "unknown option '" + a + "'");
        else
            operands.push_back(a);
    }
    if (operands.size() != 1) return UsageError(kDeleteTree, operands.empty() ? "missing DIR" : "too many arguments");
    Place dir;
    std::string error;
    if (!Resolve(operands[0], dir, error)) return Failure(kDeleteTree, error);
    if (!Exists(dir.posix)) return Failure(kDeleteTree, "'" + operands[0] + "' does not exist");
    std::error_code ec;
    bool isLink = fs::is_symlink(dir.posix, ec);
    if (!isLink && !IsDirectory(dir.posix)) return Failure(kDeleteTree, "'" + operands[0] + "' is not a directory");
    fs::path real = fs::weakly_canonical(dir.posix, ec);
    if (!isLink && (ec || real == real.root_path()))
        return Failure(kDeleteTree, "refusing to delete the root directory");
    // The library never deletes a drive's root ("C:\..", "C:\x\.."): say so.
    CString full = dir.library;
    if (full.GetLength() <= 3 && full.GetLength() >= 2 && full[1] == ':')
        return Failure(kDeleteTree, "refusing to delete the root of drive " + full.Left(2).str());

    TreeCount count = isLink ? TreeCount() : CountTree(dir.posix);
    int entries = count.files + count.directories;
    if (!yes) {
        if (!crt::_isatty(crt::_fileno(stdin)))
            return UsageError(kDeleteTree, "not on a terminal: add --yes to delete without asking");
        std::string question = isLink ? "delete the link '" + operands[0] + "'"
                                      : "delete '" + operands[0] + "' and the " + std::to_string(entries) +
                                            " entries in it";
        std::fprintf(stderr, "cbasis delete-tree: %s? [y/N] ", question.c_str());
        std::string answer;
        for (int c; (c = std::getchar()) != EOF && c != '\n';) answer += static_cast<char>(c);
        if (answer != "y" && answer != "Y" && answer != "yes") return Failure(kDeleteTree, "nothing deleted");
    }

    CProject::CDeleteDirectory(dir.library);
    if (Exists(dir.posix)) return Failure(kDeleteTree, "'" + operands[0] + "' remains: some entries could not be deleted");
    std::printf("delete-tree: deleted %s (%d entries)\n", operands[0].c_str(), entries);
    return kOk;
}

}  // namespace
}  // namespace cbasis
