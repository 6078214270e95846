// Project generator commands: new-project, rename-in-place, copy-tree,
// delete-tree, guard.
//
// The library's project operations report nothing, by contract; these
// commands check their arguments first (so that a refused or impossible job
// gets one clear line on stderr and a non-zero exit), run the operation on
// absolute library paths, then look at the result on disk for the summary.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Command.h"
#include "LibraryPaths.h"
#include "Sample.h"
#include "files/CUtils.h"
#include "platform/Paths.h"
#include "project/CProject.h"

namespace fs = std::filesystem;

namespace cbasis {
namespace {

// ---------------------------------------------------------------------------
// Shared helpers

// A path argument: as typed, as an absolute POSIX path, and in the library's
// form without trailing separators. Both forms are fixed before the library
// runs, since creating directories moves the process's current directory.
struct Place {
    std::string typed;
    fs::path posix;
    CString library;
};

bool Resolve(const std::string& typed, Place& place, std::string& error) {
    place.typed = typed;
    std::string posix;
    if (!ToLibrary(typed, true, place.library, error)) return false;
    if (!PlatformToPosixPath(place.library, posix)) {
        error = "'" + typed + "': no such drive";
        return false;
    }
    posix = fs::path(posix).lexically_normal().string();
    while (posix.size() > 1 && posix.back() == '/') posix.pop_back();  // "link/" would name what it points at
    place.posix = posix;
    place.library = WithoutTrailingSeparators(PlatformFromPosixPath(posix));
    return true;
}

bool IsDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

// True when inner is outer or lies below it, links resolved.
bool LiesInside(const fs::path& inner, const fs::path& outer) {
    std::error_code ec;
    fs::path in = fs::weakly_canonical(inner, ec), out = fs::weakly_canonical(outer, ec);
    auto [o, i] = std::mismatch(out.begin(), out.end(), in.begin(), in.end());
    return o == out.end() || (std::next(o) == out.end() && o->empty());
}

// Names the library gives its temporary files while it rewrites one.
bool IsTemporary(const fs::path& name) {
    std::string text = name.filename().string();
    return text.rfind(".cb", 0) == 0 && text.size() > 4 && text.compare(text.size() - 4, 4, ".tmp") == 0;
}

struct TreeCount {
    int files = 0;        // regular files (links are not counted)
    int directories = 0;  // below the root
    int matching = 0;     // entries whose name holds the word asked for
};

// Walks the tree without following links.
TreeCount CountTree(const fs::path& root, const std::string& word = std::string()) {
    TreeCount count;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        fs::file_type type = it->symlink_status(ec).type();
        if (type == fs::file_type::directory) {
            ++count.directories;
        } else if (type == fs::file_type::regular && !IsTemporary(it->path())) {
            ++count.files;
        }
        if (!word.empty() && it->path().filename().string().find(word) != std::string::npos) ++count.matching;
    }
    return count;
}

// A name the library may put into a path: it cannot leave its directory.
bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Shows "files done of total" on stderr while a tree is being made, when
// stderr is a terminal; it counts the files that have arrived in the target.
class Progress {
public:
    Progress(const char* command, fs::path target, int total)
        : m_command(command), m_target(std::move(target)), m_total(total) {
        if (::isatty(STDERR_FILENO)) m_thread = std::thread([this] { Run(); });
    }
    ~Progress() {
        if (!m_thread.joinable()) return;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
        std::fprintf(stderr, "\r%*s\r", m_width, "");
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

private:
    void Run() {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_done; })) {
            int done = CountTree(m_target).files;
            m_width = std::fprintf(stderr, "\rcbasis %s: %d of %d files", m_command, done, m_total);
            std::fflush(stderr);
        }
    }

    const char* m_command;
    fs::path m_target;
    int m_total;
    int m_width = 0;
    bool m_done = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
};

// A temporary directory removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "cbasis-sample-XXXXXX").string();
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!m_path.empty()) fs::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ---------------------------------------------------------------------------
// new-project

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
    "NAME/ must not exist yet, or be empty.",
    RunNewProject);

// The headers of the new project that carry an include guard get a fresh
// one, named after the header; returns how many.
int RenewHeaderGuards(const fs::path& target) {
    int renewed = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(target, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->symlink_status(ec).type() != fs::file_type::regular || it->path().extension() != ".h") continue;
        CUtils utils;
        CString text(ReadWhole(it->path()));
        CString title = it->path().stem().string().c_str();
        if (!utils.GenerateGUIDforHeaderFile(&text, title, title)) continue;
        CString path;
        std::string error;
        if (ToLibrary(it->path().string(), true, path, error) && utils.GenerateGUIDforHeaderFile(path, title, title))
            ++renewed;
    }
    return renewed;
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

    std::string error;
    Place where;
    if (!Resolve(location, where, error)) return Failure(kNewProject, error);
    fs::path target = where.posix / name;
    if (Exists(target) && !(IsDirectory(target) && fs::is_empty(target)))
        return Failure(kNewProject, "'" + target.string() + "' already exists" +
                                        (IsDirectory(target) ? " and is not empty" : ""));

    TempDir sample;
    Place root;
    if (haveRoot) {
        if (!Resolve(templateRoot, root, error)) return Failure(kNewProject, error);
    } else {
        if (sample.path().empty()) return Failure(kNewProject, "cannot make a temporary directory for the sample");
        if (!WriteSample(sample.path().string(), error)) return Failure(kNewProject, error);
        if (!Resolve(sample.path().string(), root, error)) return Failure(kNewProject, error);
    }
    fs::path templateDir = root.posix / keyword;
    if (!IsDirectory(templateDir))
        return Failure(kNewProject, "no template directory '" + templateDir.string() + "'");
    if (LiesInside(target, templateDir))
        return Failure(kNewProject, "'" + target.string() + "' would lie inside the template '" +
                                        templateDir.string() + "'");

    auto start = std::chrono::steady_clock::now();
    TreeCount expected = CountTree(templateDir);
    {
        Progress progress(kNewProject.name, target, expected.files);
        CProject().MakeProject(keyword.c_str(), where.library + "\\", name.c_str(), root.library);
    }
    if (!IsDirectory(target)) return Failure(kNewProject, "could not create '" + target.string() + "'");
    int guards = RenewHeaderGuards(target);
    TreeCount made = CountTree(target);
    if (made.files < expected.files)
        return Failure(kNewProject, "only " + std::to_string(made.files) + " of " + std::to_string(expected.files) +
                                        " files arrived in '" + target.string() + "'");
    std::printf("new-project: made %s in %s from %s: %d files in %d directories, %d header guards renewed (%.2f s)\n",
                name.c_str(), target.c_str(), haveRoot ? templateDir.c_str() : "the built-in sample", made.files,
                made.directories, guards, SecondsSince(start));
    return kOk;
}

// ---------------------------------------------------------------------------
// rename-in-place

int RunRenameInPlace(const Args& args);

const Command kRenameInPlace(
    "rename-in-place", "rename-in-place DIR WORD NEW", "replace a word in the files and names of a tree",
    "Replaces every WORD with NEW, case-sensitively, in the text of every file\n"
    "below DIR and in the names of its files and subdirectories (titles and\n"
    "extensions alike). DIR itself keeps its name. An existing entry is never\n"
    "replaced by a renamed one. Files holding zero bytes, read-only files and\n"
    "symbolic links are left as they are.",
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
    std::printf("rename-in-place: %d of %d names holding '%s' renamed in %s\n", before - left, before, word.c_str(),
                args[0].c_str());
    return kOk;
}

// ---------------------------------------------------------------------------
// copy-tree

int RunCopyTree(const Args& args);

const Command kCopyTree(
    "copy-tree", "copy-tree SOURCE TARGET [PATTERN]", "copy a directory tree",
    "Copies the files and subdirectories of SOURCE into TARGET, creating TARGET\n"
    "and its missing parents. PATTERN (default *.*, the original platform's\n"
    "wildcards) filters the entries of SOURCE itself; a matching subdirectory is\n"
    "copied whole. Copies keep their time stamps and read-only attribute;\n"
    "same-named files in TARGET are replaced unless read-only, others stay.\n"
    "Symbolic links are not copied. TARGET may not lie inside SOURCE.",
    RunCopyTree);

int RunCopyTree(const Args& args) {
    if (args.size() < 2 || args.size() > 3)
        return UsageError(kCopyTree, args.size() < 2 ? "missing SOURCE or TARGET" : "too many arguments");
    CString pattern = args.size() == 3 ? args[2].c_str() : "*.*";
    if (pattern.IsEmpty()) return UsageError(kCopyTree, "PATTERN is empty");
    Place source, target;
    std::string error;
    if (!Resolve(args[0], source, error) || !Resolve(args[1], target, error)) return Failure(kCopyTree, error);
    if (!IsDirectory(source.posix)) return Failure(kCopyTree, "'" + args[0] + "' is not a directory");
    if (LiesInside(target.posix, source.posix))
        return Failure(kCopyTree, "'" + args[1] + "' lies inside '" + args[0] + "': the copy would copy itself");
    if (Exists(target.posix) && !IsDirectory(target.posix))
        return Failure(kCopyTree, "'" + args[1] + "' is not a directory");

    int before = CountTree(target.posix).files;
    CProject::CCopyFilesFromOneDirectoryToAnother(source.library, target.library, pattern);
    if (!IsDirectory(target.posix)) return Failure(kCopyTree, "could not create '" + args[1] + "'");
    std::printf("copy-tree: %s copied into %s (%d files there now, %d before)\n", args[0].c_str(), args[1].c_str(),
                CountTree(target.posix).files, before);
    return kOk;
}

// ---------------------------------------------------------------------------
// delete-tree

int RunDeleteTree(const Args& args);

const Command kDeleteTree(
    "delete-tree", "delete-tree DIR [--yes]", "delete a directory and everything in it",
    "Deletes every file and subdirectory below DIR, then DIR. Asks first when\n"
    "run on a terminal; --yes deletes without asking (and is needed when not on\n"
    "a terminal). Read-only files stay, and so do the directories above them.\n"
    "A symbolic link is removed, never what it points to.",
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
    if (!isLink && fs::weakly_canonical(dir.posix, ec) == dir.posix.root_path())
        return Failure(kDeleteTree, "refusing to delete the root directory");

    TreeCount count = isLink ? TreeCount() : CountTree(dir.posix);
    int entries = count.files + count.directories;
    if (!yes) {
        if (!::isatty(STDIN_FILENO))
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
    if (Exists(dir.posix)) {
        TreeCount left = CountTree(dir.posix);
        return Failure(kDeleteTree, std::to_string(left.files + left.directories) +
                                        " entries could not be deleted (read-only or in use); '" + operands[0] +
                                        "' remains");
    }
    std::printf("delete-tree: deleted %s (%d entries)\n", operands[0].c_str(), entries);
    return kOk;
}

// ---------------------------------------------------------------------------
// guard

int RunGuard(const Args& args);

const Command kGuard(
    "guard", "guard HEADER NEWNAME [FALLBACK]", "give a header a fresh GUID include guard",
    "Rewrites the include guard of HEADER, one of the form\n"
    "#if !defined(AFX_<NAME>_H__<GUID>__INCLUDED_), to AFX_<NEWNAME>_H__<new GUID>,\n"
    "NEWNAME upper-cased (FALLBACK when NEWNAME is empty), in the #if, #define\n"
    "and #endif lines and wherever else the old guard name stands. The file is\n"
    "replaced in one step. Prints the new guard name.",
    RunGuard);

bool IsIdentifierPart(const std::string& text) {
    for (char c : text)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

int RunGuard(const Args& args) {
    if (args.size() < 2 || args.size() > 3)
        return UsageError(kGuard, args.size() < 2 ? "missing HEADER or NEWNAME" : "too many arguments");
    std::string newName = args[1], fallback = args.size() == 3 ? args[2] : std::string();
    if (newName.empty() && fallback.empty()) return UsageError(kGuard, "NEWNAME and FALLBACK are both empty");
    if (!IsIdentifierPart(newName) || !IsIdentifierPart(fallback))
        return UsageError(kGuard, "NEWNAME and FALLBACK may hold only letters, digits and '_'");
    Place header;
    std::string error;
    if (!Resolve(args[0], header, error)) return Failure(kGuard, error);
    std::error_code ec;
    if (!fs::is_regular_file(header.posix, ec)) return Failure(kGuard, "'" + args[0] + "' is not a file");
    std::ifstream in(header.posix, std::ios::binary);
    if (!in) return Failure(kGuard, "cannot read '" + args[0] + "'");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.find('\0') != std::string::npos)
        return Failure(kGuard, "'" + args[0] + "' holds zero bytes: not a text header");
    CUtils utils;
    CString text(bytes);
    if (!utils.GenerateGUIDforHeaderFile(&text, newName.c_str(), fallback.c_str()))
        return Failure(kGuard, "no include guard of the form #if !defined(AFX_..._H__...__INCLUDED_) in '" +
                                   args[0] + "'");
    if ((fs::status(header.posix, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
        return Failure(kGuard, "'" + args[0] + "' is read-only");

    utils.GenerateGUIDforHeaderFile(header.library, newName.c_str(), fallback.c_str());
    // The macro runs from "AFX_" to "__INCLUDED_", inside "#if !defined(...)".
    std::string after = ReadWhole(header.posix);
    const std::string open = "#if !defined(", close = "__INCLUDED_";
    size_t start = after.find(open), end = start == std::string::npos ? start : after.find(close, start);
    if (end == std::string::npos || after == bytes) return Failure(kGuard, "could not rewrite '" + args[0] + "'");
    start += open.size();
    std::printf("%s: %s\n", args[0].c_str(), after.substr(start, end + close.size() - start).c_str());
    return kOk;
}

}  // namespace
}  // namespace cbasis
