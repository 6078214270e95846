// File and directory commands: ls, split, mkdir, copy.
//
// Paths are taken as typed on Linux and turned into the library's form (see
// LibraryPaths.h); each is made absolute, except for split, which only takes
// text apart.
#include <cstdio>
#include <filesystem>
#include <string>

#include "Command.h"
#include "LibraryPaths.h"
#include "QuietMessageBoxes.h"
#include "Wording.h"
#include "files/CSplitFilename.h"
#include "files/CUtils.h"
#include "files/MakeDirectory.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/WalkRoot.h"
#include "platform/mfc/Files.h"

namespace cbasis {
namespace {

// ---- ls ---------------------------------------------------------------------

int RunLs(const Args& args);

const Command kLs("ls", "ls DIR [PATTERN] [--tree|--bases]", "list a directory's entries",
                  "Lists the entries of DIR that match PATTERN (default *.*), with the\n"
                  "original platform's wildcards: case-insensitive, *.* matches every name.\n"
                  "  (default)  every matching name, \".\" and \"..\" included\n"
                  "  --tree     the names and, indented below each matching sub-directory,\n"
                  "             its own listing; directories end with '/'; links are not entered\n"
                  "  --bases    the base name of every entry but \".\" and \"..\": its name up\n"
                  "             to the first dot, or the whole name when it has none\n"
                  "DIR is a Linux path, or a library path such as C:\\dir.",
                  {{"--tree"}, {"--bases"}}, RunLs);

// Prints the tree listing of dir as CGetDirListing lists it (the same
// finder from a walk root, the pattern at every level, links named but never
// entered), each name as soon as it is found: only the listings of the
// directories on the way down are held, never the whole tree.
void PrintTree(const CString& dir, const CString& pattern, int depth) {
    CFileFind find;
    BOOL more = find.FindFile(dir + "\\" + pattern);
    while (more) {
        more = find.FindNextFile();
        if (find.IsDots()) continue;
        bool isDir = find.MatchesMask(FILE_ATTRIBUTE_DIRECTORY);
        for (int i = 0; i < depth; ++i) std::fputs("  ", stdout);
        std::fputs(find.GetFileName(), stdout);
        std::fputs(isDir ? "/\n" : "\n", stdout);
        if (isDir) PrintTree(find.GetFilePath(), pattern, depth + 1);
    }
}

int RunLs(const Args& args) {
    if (args.Has("--tree") && args.Has("--bases")) return UsageError(kLs, "--tree and --bases exclude each other");
    const auto& operands = args.operands;
    if (operands.empty() || operands.size() > 2)
        return UsageError(kLs, operands.empty() ? "missing DIR" : "too many arguments");
    CString dir, pattern = operands.size() == 2 ? operands[1].c_str() : "*.*";
    std::string reason;
    if (!ToLibrary(operands[0], true, dir, reason)) return Failure(kLs, operands[0], reason);
    if (pattern.IsEmpty()) return UsageError(kLs, "PATTERN is empty");
    dir = WithoutTrailingSeparators(dir);

    CFileStatus status;
    CString dirItself = dir.GetLength() == 2 ? dir + "\\" : dir;
    if (!CFile::GetStatus(dirItself, status)) return Failure(kLs, operands[0], MissingReason(dirItself));
    if (!(status.m_attribute & CFile::directory)) return Failure(kLs, operands[0], "Not a directory");

    if (args.Has("--tree")) {
        PlatformWalkRoot root(dirItself);  // a link in DIR's place is reported
        if (root) PrintTree(dir, pattern, 0);
        return kOk;
    }
    CUtils utils;
    void* first = nullptr;
    if (!utils.GetDirectoryListing(dir + "\\", pattern, first))
        return Failure(kLs, operands[0], static_cast<LPCTSTR>(utils.m_strError));
    // The chain opens with its "start" record.
    for (file_name* record = first ? static_cast<file_name*>(first)->m_pNext : nullptr; record;
         record = record->m_pNext) {
        CString name = record->m_strName;
        if (args.Has("--bases")) {
            if (name == "." || name == "..") continue;
            if (name.Find('.') >= 0) name = name.Left(name.Find('.'));
        }
        std::printf("%s\n", static_cast<LPCTSTR>(name));
    }
    return kOk;
}

// ---- split ------------------------------------------------------------------

int RunSplit(const Args& args);

const Command kSplit("split", "split PATH", "split a path into drive, directory, title and extension",
                     "Prints the four parts of PATH in the library's form, one per line:\n"
                     "drive, directory (with its backslashes), file title and extension\n"
                     "(from the last dot). The path is taken apart as text; nothing is\n"
                     "looked up, and a relative path stays relative.",
                     {}, RunSplit);

int RunSplit(const Args& args) {
    const auto& operands = args.operands;
    if (operands.size() != 1) return UsageError(kSplit, operands.empty() ? "missing PATH" : "too many arguments");
    CString path;
    std::string reason;
    if (!ToLibrary(operands[0], false, path, reason)) return Failure(kSplit, operands[0], reason);
    CSplitFilename split(path);
    std::printf("drive: %s\ndir: %s\ntitle: %s\next: %s\n", static_cast<LPCTSTR>(split.m_strDrive),
                static_cast<LPCTSTR>(split.m_strDir), static_cast<LPCTSTR>(split.m_strFileTitle),
                static_cast<LPCTSTR>(split.m_strExt));
    return kOk;
}

// ---- mkdir ------------------------------------------------------------------

int RunMkdir(const Args& args);

const Command kMkdir("mkdir", "mkdir PATH", "create a directory and every missing level above it",
                     "Creates PATH and the levels above it that are missing. A directory that\n"
                     "exists already is no error. PATH is a Linux path, or a library path\n"
                     "such as C:\\dir.",
                     {}, RunMkdir);

int RunMkdir(const Args& args) {
    const auto& operands = args.operands;
    if (operands.size() != 1) return UsageError(kMkdir, operands.empty() ? "missing PATH" : "too many arguments");
    CString path;
    std::string reason;
    if (!ToLibrary(operands[0], true, path, reason)) return Failure(kMkdir, operands[0], reason);
    if (path[path.GetLength() - 1] != '\\') path += '\\';  // the last level is created only with it
    if (MakeDirectory::CreateDirectoryA(path)) return kOk;
    // A level in the way that is no directory: the path itself, or one above it.
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return Failure(kMkdir, operands[0],
                       GetFileAttributesA(WithoutTrailingSeparators(path)) != INVALID_FILE_ATTRIBUTES
                           ? "File exists"
                           : "Not a directory");
    return Failure(kMkdir, operands[0], LastReason());
}

// ---- copy -------------------------------------------------------------------

int RunCopy(const Args& args);

const Command kCopy("copy", "copy SOURCE TARGET", "copy a file with its time stamps",
                    "Copies the file SOURCE to TARGET (into it, under the same name, when\n"
                    "TARGET is a directory) with SOURCE's modification and access times and\n"
                    "its read-only attribute. An existing TARGET is replaced only by a\n"
                    "complete copy; a read-only TARGET is not replaced. Paths are Linux\n"
                    "paths, or library paths such as C:\\dir\\file.",
                    {}, RunCopy);

int RunCopy(const Args& args) {
    const auto& operands = args.operands;
    if (operands.size() != 2)
        return UsageError(kCopy, operands.size() < 2 ? "missing SOURCE or TARGET" : "too many arguments");
    CString source, target;
    std::string reason;
    if (!ToLibrary(operands[0], true, source, reason)) return Failure(kCopy, operands[0], reason);
    if (!ToLibrary(operands[1], true, target, reason)) return Failure(kCopy, operands[1], reason);
    std::string shownTarget = operands[1];
    CFileStatus status;
    if (CFile::GetStatus(target, status) && (status.m_attribute & CFile::directory)) {
        CString name = source.Mid(source.ReverseFind('\\') + 1);
        target = WithoutTrailingSeparators(target) + "\\" + name;
        shownTarget = JoinTyped(operands[1], name.str());
    }

    // The library says a copy it cannot create in a message box; here it
    // becomes the command's one line of error.
    QuietMessageBoxes boxes;
    try {
        CUtils utils;
        if (utils.CopyFileA(const_cast<char*>(static_cast<LPCTSTR>(source)),
                            const_cast<char*>(static_cast<LPCTSTR>(target))))
            return kOk;
        return boxes.Shown() ? Failure(kCopy, shownTarget, Reason(boxes.Error()))
                             : Failure(kCopy, operands[0], OpenReason(source, GetLastError()));
    } catch (CFileException* e) {
        // The exception names the file that failed, source or target.
        std::string subject = e->m_strFileName == source ? operands[0] : shownTarget;
        reason = Reason(static_cast<DWORD>(e->m_lOsError));
        e->Delete();
        return Failure(kCopy, subject, reason);
    }
}

}  // namespace
}  // namespace cbasis
