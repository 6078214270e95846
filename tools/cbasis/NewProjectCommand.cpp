// new-project: a new project from a template project.
//
// The library's project operations report nothing, by contract; this
// command checks its arguments first (so that a refused or impossible job
// gets one clear line on stderr and a non-zero exit), runs the operation on
// absolute library paths, and takes the summary from what the library says
// it made (CProject::SetMadeHook). What the library left undone is said by
// main (UndoneReport).
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "Command.h"
#include "LibraryPaths.h"
#include "Place.h"
#include "Progress.h"
#include "Sample.h"
#include "SampleDir.h"
#include "UndoneReport.h"
#include "Wording.h"
#include "files/CUtils.h"
#include "files/MakeDirectory.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Undone.h"
#include "platform/kernel/WalkRoot.h"
#include "platform/mfc/Files.h"
#include "project/CProject.h"

namespace fs = std::filesystem;

namespace cbasis {
namespace {

int RunNewProject(const Args& args);

const Command kNewProject(
    "new-project", "new-project NAME [--template-root DIR] [--keyword WORD] [--location DIR] [--any-name]",
    "make a new project from a template project",
    "Makes the project NAME in the directory --location (default: the current\n"
    "directory) as a copy of the template DIR/WORD in which every WORD in a file\n"
    "title or a file's text becomes NAME (case-sensitive; extensions and\n"
    "directory names are kept). Without --template-root the built-in sample is\n"
    "used: a small C++ program whose keyword is Sample. Files holding zero bytes\n"
    "are copied unchanged. Headers with a guard of the form\n"
    "#if !defined(AFX_..._H__<GUID>__INCLUDED_) get a fresh guard named after them.\n"
    "  --template-root DIR  the directory holding the template directory WORD\n"
    "  --keyword WORD       the template's keyword (default: Sample)\n"
    "  --location DIR       where NAME is made (created when missing)\n"
    "  --any-name           take a NAME that is no identifier, for a template whose\n"
    "                       keyword stands in no identifier\n"
    "NAME/ must not exist yet, or be empty. The keyword of a template stands in\n"
    "its identifiers (class CSampleDoc, namespace Sample), so NAME must be one\n"
    "too: letters, digits and '_', not a digit first. Entries of the template\n"
    "that cannot be copied (unreadable, special files, names a library path\n"
    "cannot carry) are listed on stderr, and the command then exits with 1.",
    {{"--template-root", nullptr, true}, {"--keyword", nullptr, true}, {"--location", nullptr, true}, {"--any-name"}},
    RunNewProject);

// What the library made of the project, as it tells it (no walk of the new
// tree): the files and directories, counted, and every header (".h") given a
// fresh include guard named after it as soon as it stands.
struct Made {
    std::atomic<int> files{0};
    int directories = 0;
    int guards = 0;

    void Take(const CString& path, bool bDirectory) {
        if (bDirectory) {
            ++directories;
            return;
        }
        ++files;
        fs::path name = path.Mid(path.ReverseFind('\\') + 1).str();
        if (name.extension() != ".h") return;
        CString title = name.stem().string().c_str(), guard;
        if (CUtils().RenewHeaderGuard(path, title, title, guard) == 1) ++guards;
    }
};

// True when the entry is a directory, not a link to one.
bool IsOwnDirectory(const CString& path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes the target: a new directory, or an empty one that stands there
// already, never a link. It is created, not looked at and then used, and
// is held open as a walk root from then on (root), so the project is made
// in that directory whatever is put in its place. Empty, or why not.
std::string MakeTarget(const CString& target, std::unique_ptr<PlatformWalkRoot>& root) {
    if (!CreateDirectoryA(target, nullptr)) {
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) return Reason(error);
        if (!IsOwnDirectory(target)) return "File exists";
    }
    // Why the root cannot be opened is told here, in one line.
    UndoneHook reports = PlatformSetUndoneHook(nullptr);
    root = std::make_unique<PlatformWalkRoot>(target);
    DWORD error = GetLastError();
    PlatformSetUndoneHook(std::move(reports));
    if (!*root && error == ERROR_DIRECTORY) return "File exists";  // a link put in its place since
    CFileFind find;
    BOOL more = *root && find.FindFile(target + "\\*.*");
    if (!more) return Reason(*root ? GetLastError() : error);
    while (more) {
        more = find.FindNextFile();
        if (!find.IsDots()) return "Directory not empty";
    }
    return {};
}

// A C++ identifier: what the keyword of a template stands in.
bool IsIdentifier(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

int RunNewProject(const Args& args) {
    const auto& operands = args.operands;
    if (operands.empty()) return UsageError(kNewProject, "missing NAME");
    if (operands.size() > 1) return UsageError(kNewProject, "unexpected argument '" + operands[1] + "'");
    const std::string& name = operands[0];
    if (int refused = CheckPlainName(kNewProject, "NAME", name)) return refused;
    if (!args.Has("--any-name") && !IsIdentifier(name))
        return UsageError(kNewProject, name +
                                           ": cannot stand in the template's identifiers (letters, digits and "
                                           "'_', not a digit first); --any-name takes it all the same");
    bool haveRoot = args.Has("--template-root"), haveKeyword = args.Has("--keyword");
    if (haveKeyword && !haveRoot)
        return UsageError(kNewProject, "--keyword needs --template-root (the built-in sample's keyword is Sample)");
    std::string keyword = haveKeyword ? args.Value("--keyword") : kSampleKeyword;
    if (int refused = CheckPlainName(kNewProject, "the keyword", keyword)) return refused;

    std::string reason, location = args.Has("--location") ? args.Value("--location") : ".";
    Place where;
    if (!Resolve(location, where, reason)) return Failure(kNewProject, location, reason);
    fs::path target = where.posix / name;
    std::string shownTarget = args.Has("--location") ? JoinTyped(location, name) : name;

    SampleDir sample;
    Place root;
    if (haveRoot) {
        std::string templateRoot = args.Value("--template-root");
        if (!Resolve(templateRoot, root, reason)) return Failure(kNewProject, templateRoot, reason);
    } else if (!sample.Make(reason) || !Resolve(sample.path().string(), root, reason)) {
        return Failure(kNewProject, "the built-in sample", reason);
    }
    fs::path templateDir = root.posix / keyword;
    std::string shownTemplate = haveRoot ? JoinTyped(root.typed, keyword) : "the built-in sample";
    if (!IsDirectory(templateDir)) return Failure(kNewProject, shownTemplate, "No such file or directory");
    if (LiesInside(target, templateDir))
        return Failure(kNewProject, shownTarget, "would lie inside the template " + shownTemplate);
    UndoneReport::NameAsTyped(root);
    UndoneReport::NameAsTyped(where);

    CString targetPath = where.library + "\\" + name.c_str();
    if (GetFileAttributesA(where.library) == INVALID_FILE_ATTRIBUTES &&
        !MakeDirectory::CreateDirectoryA(where.library + "\\"))
        return Failure(kNewProject, location, Reason(GetLastError()));
    std::unique_ptr<PlatformWalkRoot> targetRoot;
    if (std::string problem = MakeTarget(targetPath, targetRoot); !problem.empty())
        return Failure(kNewProject, shownTarget, problem);

    auto start = std::chrono::steady_clock::now();
    Made made;
    CProject::MadeHook outer = CProject::SetMadeHook([&](const CString& path, bool bDirectory) { made.Take(path, bDirectory); });
    {
        Progress progress(kNewProject.name, templateDir, made.files);
        CProject().MakeProject(keyword.c_str(), where.library + "\\", name.c_str(), root.library);
    }
    CProject::SetMadeHook(std::move(outer));
    if (!IsOwnDirectory(targetPath))
        return Failure(kNewProject, shownTarget, "was replaced while the project was made");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (UndoneReport::AnyUndone())
        return Failure(kNewProject, shownTarget,
                       "incomplete: " + Counted(made.files.load(), "file", "files") + " arrived");
    std::printf("new-project: made %s in %s from %s: %s in %s, %s renewed (%.2f s)\n", name.c_str(),
                shownTarget.c_str(), shownTemplate.c_str(), Counted(made.files.load(), "file", "files").c_str(),
                Counted(made.directories, "directory", "directories").c_str(),
                Counted(made.guards, "header guard", "header guards").c_str(), seconds);
    return kOk;
}

}  // namespace
}  // namespace cbasis
