// new-project: a new project from a template project.
//
// The library's project operations report nothing, by contract; this
// command checks its arguments first (so that a refused or impossible job
// gets one clear line on stderr and a non-zero exit), runs the operation on
// absolute library paths, and takes the summary from what the library says
// it made (CProject::SetMadeHook). What the library left undone is said by
// main (UndoneReport).
#include <atomic>
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
    "new-project", "new-project NAME [--template-root DIR] [--keyword WORD] [--location DIR]",
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
    "NAME/ must not exist yet, or be empty. Entries of the template that cannot\n"
    "be copied (unreadable, special files, names a library path cannot carry)\n"
    "are listed on stderr, and the command then exits with 1.",
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
// in that directory whatever is put in its place. Empty, or the problem.
std::string MakeTarget(const CString& target, const std::string& shown, std::unique_ptr<PlatformWalkRoot>& root) {
    if (!CreateDirectoryA(target, nullptr)) {
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS)
            return "cannot create '" + shown + "': " + PlatformErrorText(error).str();
        if (!IsOwnDirectory(target)) return "'" + shown + "' already exists";
    }
    // Why the root cannot be opened is told here, in one line.
    UndoneHook reports = PlatformSetUndoneHook(nullptr);
    root = std::make_unique<PlatformWalkRoot>(target);
    DWORD error = GetLastError();
    PlatformSetUndoneHook(std::move(reports));
    if (!*root && error == ERROR_DIRECTORY) return "'" + shown + "' already exists";  // a link put in its place since
    CFileFind find;
    BOOL more = *root && find.FindFile(target + "\\*.*");
    if (!more) return "cannot read '" + shown + "': " + PlatformErrorText(*root ? GetLastError() : error).str();
    while (more) {
        more = find.FindNextFile();
        if (!find.IsDots()) return "'" + shown + "' already exists and is not empty";
    }
    return {};
}

int RunNewProject(const Args& args) {
    std::string name, templateRoot, keyword, location = ".";
    bool haveRoot = false, haveKeyword = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--template-root" || a == "--keyword" || a == "--location") {
            if (i + 1 == args.size()) return UsageError(kNewProject, a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--template-root") templateRoot = value, haveRoot = true;
            if (a == "--keyword") keyword = value, haveKeyword = true;
            if (a == "--location") location = value;
        } else if (a.size() > 1 && a[0] == '-') {
            return UsageError(kNewProject, "unknown option '" + a + "'");
        } else if (name.empty()) {
            name = a;
            if (name.empty()) return UsageError(kNewProject, "NAME is empty");
        } else {
            return UsageError(kNewProject, "unexpected argument '" + a + "'");
        }
    }
    if (name.empty()) return UsageError(kNewProject, "missing NAME");
    if (!IsPlainName(name))
        return UsageError(kNewProject, "NAME '" + name + "' must be a plain name: no '/' or '\\', not '.' or '..'");
    if (haveKeyword && !haveRoot)
        return UsageError(kNewProject, "--keyword needs --template-root (the built-in sample's keyword is Sample)");
    if (!haveKeyword) keyword = kSampleKeyword;
    if (keyword.empty()) return UsageError(kNewProject, "the keyword is empty: nothing would be renamed");
    if (!IsPlainName(keyword))
        return UsageError(kNewProject, "the keyword '" + keyword + "' must be a plain name: it names a directory");

    std::string error;
    Place where;
    if (!Resolve(location, where, error)) return Failure(kNewProject, error);
    fs::path target = where.posix / name;

    SampleDir sample;
    Place root;
    if (haveRoot) {
        if (!Resolve(templateRoot, root, error)) return Failure(kNewProject, error);
    } else if (!sample.Make(error) || !Resolve(sample.path().string(), root, error)) {
        return Failure(kNewProject, error);
    }
    fs::path templateDir = root.posix / keyword;
    if (!IsDirectory(templateDir))
        return Failure(kNewProject, "no template directory '" + templateDir.string() + "'");
    if (LiesInside(target, templateDir))
        return Failure(kNewProject, "'" + target.string() + "' would lie inside the template '" +
                                        templateDir.string() + "'");

    CString targetPath = where.library + "\\" + name.c_str();
    if (GetFileAttributesA(where.library) == INVALID_FILE_ATTRIBUTES &&
        !MakeDirectory::CreateDirectoryA(where.library + "\\"))
        return Failure(kNewProject, "cannot create '" + location + "': " + PlatformErrorText(GetLastError()).str());
    std::unique_ptr<PlatformWalkRoot> targetRoot;
    if (std::string problem = MakeTarget(targetPath, target.string(), targetRoot); !problem.empty())
        return Failure(kNewProject, problem);

    auto start = std::chrono::steady_clock::now();
    Made made;
    CProject::MadeHook outer = CProject::SetMadeHook([&](const CString& path, bool bDirectory) { made.Take(path, bDirectory); });
    {
        Progress progress(kNewProject.name, templateDir, made.files);
        CProject().MakeProject(keyword.c_str(), where.library + "\\", name.c_str(), root.library);
    }
    CProject::SetMadeHook(std::move(outer));
    if (!IsOwnDirectory(targetPath))
        return Failure(kNewProject, "'" + target.string() + "' was replaced while the project was made");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (UndoneReport::AnyUndone())
        return Failure(kNewProject, "'" + target.string() + "' is incomplete: " + std::to_string(made.files) +
                                        " files arrived");
    std::printf("new-project: made %s in %s from %s: %d files in %d directories, %d header guards renewed (%.2f s)\n",
                name.c_str(), target.c_str(), haveRoot ? templateDir.c_str() : "the built-in sample", made.files.load(),
                made.directories, made.guards, seconds);
    return kOk;
}

}  // namespace
}  // namespace cbasis
