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
#include <string>

#include "Command.h"
#include "LibraryPaths.h"
#include "Place.h"
#include "Progress.h"
#include "Sample.h"
#include "SampleDir.h"
#include "UndoneReport.h"
#include "files/CUtils.h"
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

// Empty when the target may be made: missing, or an empty directory.
std::string TargetProblem(const fs::path& target) {
    std::error_code ec;
    fs::file_status status = fs::symlink_status(target, ec);
    if (status.type() == fs::file_type::not_found) return {};
    if (status.type() != fs::file_type::directory) return "'" + target.string() + "' already exists";
    fs::directory_iterator it(target, ec);
    if (ec) return "cannot read '" + target.string() + "': " + ec.message();
    if (it != fs::directory_iterator()) return "'" + target.string() + "' already exists and is not empty";
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
    if (std::string problem = TargetProblem(target); !problem.empty()) return Failure(kNewProject, problem);

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

    auto start = std::chrono::steady_clock::now();
    Made made;
    CProject::MadeHook outer = CProject::SetMadeHook([&](const CString& path, bool bDirectory) { made.Take(path, bDirectory); });
    {
        Progress progress(kNewProject.name, templateDir, made.files);
        CProject().MakeProject(keyword.c_str(), where.library + "\\", name.c_str(), root.library);
    }
    CProject::SetMadeHook(std::move(outer));
    if (!IsDirectory(target)) return Failure(kNewProject, "could not create '" + target.string() + "'");
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
