// File and directory commands: ls, split, mkdir, copy.
//
// Paths are taken as typed on Linux and turned into the library's form (see
// LibraryPaths.h); each is made absolute, except for split, which only takes
// text apart.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Command.h"
#include "LibraryPaths.h"
#include "containers/CLinkedList.h"
#include "files/CGetDirectoryListing.h"
#include "files/CSplitFilename.h"
#include "files/CUtils.h"
#include "files/MakeDirectory.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/WalkRoot.h"
#include "platform/mfc/Files.h"
#include "platform/mfc/MessageBox.h"

namespace cbasis {
namespace {

std::string LastErrorText() { return PlatformErrorText(GetLastError()).str(); }

// Why a path has no status: the last error of looking at the entry itself
// (a dangling link counts as missing).
std::string MissingText(const CString& path) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) SetLastError(ERROR_FILE_NOT_FOUND);
    return LastErrorText();
}

// ---------------------------------------------------------------------------
// ls

int RunLs(const Args& args);

const Command kLs("ls", "ls DIR [PATTERN] [--tree|--bases]", "list a directory's entries",
                  "Lists the entries of DIR that match PATTERN (default *.*), with the\n"
                  "original platform's wildcards: case-insensitive, *.* matches every name.\n"
                  "  (default)  every matching name, \".\" and \"..\" included\n"
                  "  --tree     the names and, indented below each matching sub-directory,\n"
                  "             its own listing; directories end with '/'; links are not entered\n"
                  "  --bases    the base name of every entry: its name up to the first dot\n"
                  "DIR is a Linux path, or a library path such as C:\\dir.",
                  RunLs);

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
    enum { kChain, kTree, kBases } mode = kChain;
    std::vector<std::string> operands;
    for (const std::string& a : args) {
        if (a == "--tree" || a == "--bases") {
            if (mode != kChain) return UsageError(kLs, "--tree and --bases exclude each other");
            mode = a == "--tree" ? kTree : kBases;
        } else if (a.size() > 1 && a[0] == '-') {
            return UsageError(kLs, "unknown option '" + a + "'");
        } else {
            operands.push_back(a);
        }
    }
    if (operands.empty() || operands.size() > 2)
        return UsageError(kLs, operands.empty() ? "missing DIR" : "too many arguments");
    CString dir, pattern = operands.size() == 2 ? operands[1].c_str() : "*.*";
    std::string error;
    if (!ToLibrary(operands[0], true, dir, error)) return Failure(kLs, error);
    if (pattern.IsEmpty()) return Failure(kLs, "empty pattern");
    dir = WithoutTrailingSeparators(dir);

    CFileStatus status;
    CString dirItself = dir.GetLength() == 2 ? dir + "\\" : dir;
    if (!CFile::GetStatus(dirItself, status))
        return Failure(kLs, "cannot list '" + operands[0] + "': " + MissingText(dirItself));
    if (!(status.m_attribute & CFile::directory)) return Failure(kLs, "'" + operands[0] + "' is not a directory");

    if (mode == kTree) {
        PlatformWalkRoot root(dirItself);  // a link in DIR's place is reported
        if (root) PrintTree(dir, pattern, 0);
    } else if (mode == kBases) {
        CLinkedList<TextRecord> records;
        CGetDirectoryListing listing(dir, pattern, &records);
        for (auto* node = records.m_pHead; node; node = node->pNext) std::printf("%s\n", node->pValue->m_szText);
    } else {
        CUtils utils;
        void* first = nullptr;
        if (!utils.GetDirectoryListing(dir + "\\", pattern, first))
            return Failure(kLs, static_cast<LPCTSTR>(utils.m_strError));
        // The chain opens with its "start" record.
        for (file_name* record = first ? static_cast<file_name*>(first)->m_pNext : nullptr; record;
             record = record->m_pNext)
            std::printf("%s\n", static_cast<LPCTSTR>(record->m_strName));
    }
    return kOk;
}

// ---------------------------------------------------------------------------
// split

int RunSplit(const Args& args);

const Command kSplit("split", "split PATH", "split a path into drive, directory, title and extension",
                     "Prints the four parts of PATH in the library's form, one per line:\n"
                     "drive, directory (with its backslashes), file title and extension\n"
                     "(from the last dot). The path is taken apart as text; nothing is\n"
                     "looked up, and a relative path stays relative.",
                     RunSplit);

int RunSplit(const Args& args) {
    if (args.size() != 1) return UsageError(kSplit, args.empty() ? "missing PATH" : "too many arguments");
    CString path;
    std::string error;
    if (!ToLibrary(args[0], false, path, error)) return Failure(kSplit, error);
    CSplitFilename split(path);
    std::printf("drive: %s\ndir: %s\ntitle: %s\next: %s\n", static_cast<LPCTSTR>(split.m_strDrive),
                static_cast<LPCTSTR>(split.m_strDir), static_cast<LPCTSTR>(split.m_strFileTitle),
                static_cast<LPCTSTR>(split.m_strExt));
    return kOk;
}

// ---------------------------------------------------------------------------
// mkdir

int RunMkdir(const Args& args);

const Command kMkdir("mkdir", "mkdir PATH", "create a directory and every missing level above it",
                     "Creates PATH and the levels above it that are missing. A directory that\n"
                     "exists already is no error. PATH is a Linux path, or a library path\n"
                     "such as C:\\dir.",
                     RunMkdir);

int RunMkdir(const Args& args) {
    if (args.size() != 1) return UsageError(kMkdir, args.empty() ? "missing PATH" : "too many arguments");
    CString path;
    std::string error;
    if (!ToLibrary(args[0], true, path, error)) return Failure(kMkdir, error);
    if (path[path.GetLength() - 1] != '\\') path += '\\';  // the last level is created only with it
    if (!MakeDirectory::CreateDirectoryA(path))
        return Failure(kMkdir, "cannot create '" + args[0] + "': " + LastErrorText());
    return kOk;
}

// ---------------------------------------------------------------------------
// copy

int RunCopy(const Args& args);

const Command kCopy("copy", "copy SOURCE TARGET", "copy a file with its time stamps",
                    "Copies the file SOURCE to TARGET (into it, under the same name, when\n"
                    "TARGET is a directory) with SOURCE's modification and access times and\n"
                    "its read-only attribute. An existing TARGET is replaced only by a\n"
                    "complete copy; a read-only TARGET is not replaced. Paths are Linux\n"
                    "paths, or library paths such as C:\\dir\\file.",
                    RunCopy);

int RunCopy(const Args& args) {
    if (args.size() != 2)
        return UsageError(kCopy, args.size() < 2 ? "missing SOURCE or TARGET" : "too many arguments");
    CString source, target;
    std::string error;
    if (!ToLibrary(args[0], true, source, error) || !ToLibrary(args[1], true, target, error))
        return Failure(kCopy, error);
    std::string shownTarget = args[1];
    CFileStatus status;
    if (CFile::GetStatus(target, status) && (status.m_attribute & CFile::directory)) {
        CString name = source.Mid(source.ReverseFind('\\') + 1);
        target = WithoutTrailingSeparators(target) + "\\" + name;
        shownTarget = (std::filesystem::path(args[1]) / name.str()).string();
    }

    // The library reports a copy it cannot create in a message box; here it
    // becomes the command's one line of error.
    bool echo = AfxSetMessageBoxEcho(false);
    bool boxShown = false;
    MessageBoxHook old = AfxSetMessageBoxHook([&](const CString&, UINT) {
        boxShown = true;
        return IDOK;
    });
    CUtils utils;
    int result = 0;
    std::string failure;
    try {
        result = utils.CopyFileA(const_cast<char*>(static_cast<LPCTSTR>(source)),
                                 const_cast<char*>(static_cast<LPCTSTR>(target)));
        if (!result)
            failure = boxShown ? "cannot create '" + shownTarget + "': " + LastErrorText()
                               : "cannot open '" + args[0] + "': " + LastErrorText();
    } catch (CFileException* e) {
        failure = "cannot copy '" + args[0] + "' to '" + shownTarget + "': " +
                  PlatformErrorText(static_cast<DWORD>(e->m_lOsError)).str();
        e->Delete();
    }
    AfxSetMessageBoxHook(old);
    AfxSetMessageBoxEcho(echo);
    return result ? kOk : Failure(kCopy, failure);
}

}  // namespace
}  // namespace cbasis
