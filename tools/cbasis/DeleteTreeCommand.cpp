// delete-tree: delete a directory and everything in it.

#include <cstdio>
#include <filesystem>
#include <string>

#include "Command.h"
#include "Place.h"
#include "TreeCount.h"
#include "UndoneReport.h"
#include "Wording.h"
#include "platform/crt/Stdio.h"
#include "project/CProject.h"

namespace fs = std::filesystem;

namespace cbasis {
namespace {

int RunDeleteTree(const Args& args);

const Command kDeleteTree("delete-tree", "delete-tree DIR [--yes]", "delete a directory and everything in it",
                          "Deletes every file and subdirectory below DIR, then DIR. Asks first when\n"
                          "run on a terminal; --yes (-y) deletes without asking (and is needed when\n"
                          "not on a terminal). Read-only files stay, and so do the directories above\n"
                          "them; so does a directory holding a name a library path cannot carry. A\n"
                          "symbolic link is removed, never what it points to. What stays is listed\n"
                          "on stderr.",
                          {{"--yes", "-y"}}, RunDeleteTree);

int RunDeleteTree(const Args& args) {
    const auto& operands = args.operands;
    if (operands.size() != 1) return UsageError(kDeleteTree, operands.empty() ? "missing DIR" : "too many arguments");
    const std::string& typed = operands[0];
    Place dir;
    std::string reason;
    if (!Resolve(typed, dir, reason)) return Failure(kDeleteTree, typed, reason);
    if (!Exists(dir.posix)) return Failure(kDeleteTree, typed, "No such file or directory");
    std::error_code ec;
    bool isLink = fs::is_symlink(dir.posix, ec);
    if (!isLink && !IsDirectory(dir.posix)) return Failure(kDeleteTree, typed, "Not a directory");
    fs::path real = fs::weakly_canonical(dir.posix, ec);
    if (!isLink && (ec || real == real.root_path()))
        return Failure(kDeleteTree, typed, "the root directory is never deleted");
    // The library never deletes a drive's root ("C:\..", "C:\x\.."): say so.
    CString full = dir.library;
    if (full.GetLength() <= 3 && full.GetLength() >= 2 && full[1] == ':')
        return Failure(kDeleteTree, typed, "the root of drive " + full.Left(2).str() + " is never deleted");
    UndoneReport::NameAsTyped(dir);

    TreeCount count = isLink ? TreeCount() : CountTree(dir.posix);
    std::string entries = Counted(count.files + count.directories, "entry", "entries");
    if (!args.Has("--yes")) {
        if (!crt::_isatty(crt::_fileno(stdin)))
            return UsageError(kDeleteTree, "not on a terminal: add --yes to delete without asking");
        std::string question =
            isLink ? "delete the link " + typed : "delete " + typed + " and the " + entries + " in it";
        std::fprintf(stderr, "cbasis delete-tree: %s? [y/N] ", question.c_str());
        std::string answer;
        for (int c; (c = std::getchar()) != EOF && c != '\n';) answer += static_cast<char>(c);
        if (answer != "y" && answer != "Y" && answer != "yes") return Failure(kDeleteTree, typed, "nothing deleted");
    }

    CProject::CDeleteDirectory(dir.library);
    if (Exists(dir.posix)) return Failure(kDeleteTree, typed, "remains: some entries could not be deleted");
    std::printf("delete-tree: deleted %s (%s)\n", typed.c_str(), entries.c_str());
    return kOk;
}

}  // namespace
}  // namespace cbasis
