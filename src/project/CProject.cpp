// CProject: keyword replacement in trees, tree copy and delete, and project
// creation.
//
// Sections: directory walks; keyword replacement (the walker, the per-file
// step, the in-place variants); tree copy and delete; project creation.
#include "project/CProject.h"

#include <map>
#include <string>

#include "files/CSplitFilename.h"
#include "files/MakeDirectory.h"
#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Undone.h"
#include "platform/kernel/WalkRoot.h"
#include "platform/mfc/Files.h"
#include "project/ProjectFiles.h"

using namespace projectfiles;

namespace {

// ---- Directory walks --------------------------------------------------------

enum class EntryKind { Dots, Directory, Link, Special, File };

EntryKind KindOf(const CFileFind& entry) {
    if (entry.IsDirectory()) {
        CString name = entry.GetFileName();
        return name == "." || name == ".." ? EntryKind::Dots : EntryKind::Directory;
    }
    if (entry.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT)) return EntryKind::Link;
    return entry.MatchesMask(FILE_ATTRIBUTE_DEVICE) ? EntryKind::Special : EntryKind::File;
}

// Visits every entry that the search (directory and pattern) matches, in
// the finder's order, the last one included; the search is closed before
// this returns, so no open search keeps the directory busy afterwards. What
// the finder leaves out (names a path cannot carry, a directory it cannot
// read) it reports itself.
template <typename Visit>
void ForEachEntry(const CString& search, Visit visit) {
    CFileFind find;
    if (!find.FindFile(search)) return;
    BOOL more;
    do {
        more = find.FindNextFile();
        visit(find.GetFileName(), KindOf(find));
    } while (more);
    find.Close();
}

void ReportSpecial(const CString& path) { PlatformReportUndone(PlatformUndone::Special, path, ERROR_ACCESS_DENIED); }

// Creates every missing level of dir (ending with a backslash); a level
// that cannot be made is reported, and nothing is copied below it.
bool MakeLevels(const CString& dir) {
    if (MakeDirectory::CreateDirectoryA(dir)) return true;
    PlatformReportUndone(PlatformUndone::NotWritten, dir, GetLastError());
    return false;
}

// Makes the destination directory dir (ending with a backslash) of a walk;
// bFresh tells whether it did not exist before, so that nothing in it can be
// in the way of the files to come. It is created first, where its parent
// stands (one call), and looked at only when something is there: a symbolic
// link of that name is reported and nothing is made through it, since the
// walk would leave its tree; so is a file.
bool MakeDestination(const CString& dir, bool& bFresh) {
    CString path = dir.Left(dir.GetLength() - 1);
    bFresh = ::CreateDirectoryA(path, nullptr);
    if (bFresh) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return MakeLevels(dir);
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    bool link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    PlatformReportUndone(PlatformUndone::NotWritten, dir, link ? ERROR_ACCESS_DENIED : ERROR_ALREADY_EXISTS);
    return false;
}

// The names one walk has given in one destination directory, each with the
// source entry that took it: a second entry that would take a name is
// refused, and both are reported, where it would overwrite the first.
class NamesMade {
public:
    explicit NamesMade(const CString& sourceDir) : m_sourceDir(sourceDir) {}
    bool Take(const CString& newName, const CString& name) {
        auto [taken, fresh] = m_names.emplace(newName.str(), name);
        if (fresh) return true;
        PlatformReportUndone(PlatformUndone::NameTaken, m_sourceDir + taken->second, ERROR_ALREADY_EXISTS);
        PlatformReportUndone(PlatformUndone::NameTaken, m_sourceDir + name, ERROR_ALREADY_EXISTS);
        return false;
    }

private:
    CString m_sourceDir;
    std::map<std::string, CString> m_names;
};

thread_local CProject::MadeHook t_madeHook;

void ReportMade(const CString& path, bool bDirectory) {
    if (t_madeHook) t_madeHook(path, bDirectory);
}

// ---- Keyword replacement ----------------------------------------------------

// The name a file takes in the copy: the keyword replaced in its title
// only, never in its extension.
CString NewName(const CString& name, const CString& keyword, const CString& replacement) {
    CString newName = name;
    CSplitFilename split(newName);
    if (split.m_strFileTitle.Find(keyword) >= 0) {
        CString title = split.m_strFileTitle;
        title.Replace(keyword, replacement);
        newName = split.m_strDrive + split.m_strDir + title + split.m_strExt;
    }
    return newName;
}

// The per-entry step for a file of sourceDir: copied into destinationDir
// under newName, the keyword replaced in its text. bAbsent: destinationDir
// was made by this walk.
void ReplaceName(const CString& name, const CString& newName, const CString& sourceDir, const CString& destinationDir,
                 const CString& keyword, const CString& replacement, bool bAbsent) {
    if (!PlatformIsPlainName(newName)) return;
    CString target = destinationDir + newName;
    if (CopyFileReplacing(sourceDir + name, target, keyword, replacement, false, bAbsent)) ReportMade(target, false);
}

void CopyTreeReplacing(const CString& source, const CString& pattern, const CString& destination,
                       const CString& keyword, const CString& replacement, bool bFresh) {
    NamesMade made(source);
    ForEachEntry(source + pattern, [&](const CString& name, EntryKind kind) {
        if (kind == EntryKind::Directory) {
            // Directories keep their names; the keyword is replaced in files only.
            if (!made.Take(name, name)) return;
            CString subDestination = destination + name + "\\";
            bool fresh;
            if (!MakeDestination(subDestination, fresh)) return;
            ReportMade(destination + name, true);
            CopyTreeReplacing(source + name + "\\", pattern, subDestination, keyword, replacement, fresh);
        } else if (kind == EntryKind::Special) {
            ReportSpecial(source + name);
        } else if (kind == EntryKind::File) {
            CString newName = NewName(name, keyword, replacement);
            if (made.Take(newName, name)) ReplaceName(name, newName, source, destination, keyword, replacement, bFresh);
        }
    });
}

// The new name of the entry name in dir, below the walk's root, or empty
// when it keeps its name. The keyword is replaced in the entry's whole path,
// as the original does, and the entry takes the last component of that new
// path within its own directory: dir itself gets its new name after its
// entries (bottom up), so the entry then stands at the new path. Nothing
// moves when the root's own path would change, nor when an occurrence spans
// a separator, since the new path would then lie elsewhere.
CString NewNameInPlace(const CString& root, const CString& dir, const CString& name, const CString& keyword,
                       const CString& replacement) {
    CString path = dir + "\\" + name;
    if (keyword.IsEmpty() || path.Find(keyword) < 0) return CString();
    CString newPath = path, newDir = dir, newName = name;
    newPath.Replace(keyword, replacement);
    newDir.Replace(keyword, replacement);
    newName.Replace(keyword, replacement);
    CString rootPrefix = root + "\\";
    if (newName == name || newPath != newDir + "\\" + newName || newPath.Left(rootPrefix.GetLength()) != rootPrefix ||
        !PlatformIsPlainName(newName))
        return CString();
    return newName;
}

void RewriteTreeInPlace(const CString& root, const CString& dir, const CString& replacement, const CString& keyword) {
    ForEachEntry(dir + "\\*.*", [&](const CString& name, EntryKind kind) {
        if (kind == EntryKind::Dots) return;
        CString path = dir + "\\" + name;
        if (kind == EntryKind::Directory) RewriteTreeInPlace(root, path, replacement, keyword);
        if (kind == EntryKind::File) ReplaceInFile(path, keyword, replacement);
        if (kind == EntryKind::Special) ReportSpecial(path);  // no contents to rewrite; the name still changes
        CString newName = NewNameInPlace(root, dir, name, keyword, replacement);
        // An existing entry of the new name stays, and so does this one.
        if (!newName.IsEmpty() && !MoveFileA(path, dir + "\\" + newName))
            PlatformReportUndone(PlatformUndone::NotRenamed, path, GetLastError());
    });
}

// ---- Tree copy and delete ---------------------------------------------------

void CopyTree(const CString& source, const CString& destination, const CString& pattern) {
    ForEachEntry(source + pattern, [&](const CString& name, EntryKind kind) {
        if (kind == EntryKind::Directory) {
            // The pattern filters this level only; below it everything is copied.
            CString subDestination = destination + name + "\\";
            bool fresh;
            if (MakeDestination(subDestination, fresh)) CopyTree(source + name + "\\", subDestination, "*.*");
        } else if (kind == EntryKind::Special) {
            ReportSpecial(source + name);
        } else if (kind == EntryKind::File) {
            CopyFileReplacing(source + name, destination + name, CString(), CString(), true);
        }
    });
}

// What cannot be deleted stays and is reported; a directory that still
// holds something (an entry left out of the listing, or one that could not
// be deleted) stays too.
void DeleteTree(const CString& dir) {
    ForEachEntry(dir + "\\*.*", [&](const CString& name, EntryKind kind) {
        CString path = dir + "\\" + name;
        if (kind == EntryKind::Directory) {
            if (!RemoveDirectoryA(path)) DeleteTree(path);
        } else if (kind != EntryKind::Dots && !DeleteFileA(path)) {  // a link goes, what it points at stays
            PlatformReportUndone(PlatformUndone::NotDeleted, path, GetLastError());
        }
    });
    if (!RemoveDirectoryA(dir) && GetLastError() != ERROR_FILE_NOT_FOUND)
        PlatformReportUndone(PlatformUndone::NotDeleted, dir, GetLastError());
}

// The walk from source into destination (absolute paths ending with a
// backslash) with both as walk roots (WalkRoot.h), so nothing is entered or
// written through a link that appears while it runs. A source or
// destination that is a link (or no directory) is refused and reported; a
// missing source is walked as an empty one.
template <typename Walk>
void WalkInto(const CString& source, const CString& destination, Walk walk) {
    PlatformWalkRoot to(destination);
    if (!to) return;
    PlatformWalkRoot from(source);
    if (from) walk();
}

// The walker's entry point for MakeProject and MakeProject1: source and
// target end with a backslash. Every missing level of the target is made,
// then the target is walked from its own descriptor.
void MakeProjectTree(const CString& source, const CString& target, const CString& keyword,
                     const CString& newName) {
    CString absoluteSource = AbsolutePath(source), absoluteTarget = AbsolutePath(target);
    if (!IsSafeReplacement(newName) || LiesInside(absoluteTarget, absoluteSource)) return;
    CString destination = WithBackslash(absoluteTarget);
    bool fresh = GetFileAttributesA(absoluteTarget) == INVALID_FILE_ATTRIBUTES;
    if (!MakeLevels(destination)) return;
    WalkInto(WithBackslash(absoluteSource), destination,
             [&] { CopyTreeReplacing(WithBackslash(absoluteSource), "*.*", destination, keyword, newName, fresh); });
}

}  // namespace

CProject::MadeHook CProject::SetMadeHook(MadeHook hook) {
    MadeHook old = std::move(t_madeHook);
    t_madeHook = std::move(hook);
    return old;
}

CProject::CCopyDirectoryAndReplaceKeyword::CCopyDirectoryAndReplaceKeyword(CString source, CString pattern,
                                                                           CString destination, CString keyword,
                                                                           CString replacement) {
    source = WithBackslash(AbsolutePath(source));
    destination = WithBackslash(AbsolutePath(destination));
    if (!IsSafeReplacement(replacement) || !IsNamePattern(pattern) || LiesInside(destination, source)) return;
    WalkInto(source, destination,
             [&] { CopyTreeReplacing(source, pattern, destination, keyword, replacement, false); });
}

CProject::CReplaceName::CReplaceName(CString& name, CString& sourceDir, CString& destinationDir, CString& keyword,
                                     CString& replacement) {
    if (!IsSafeReplacement(replacement)) return;
    CString source = sourceDir + name;
    DWORD attributes = GetFileAttributesA(source);
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return;
    if (attributes & FILE_ATTRIBUTE_DEVICE) {
        ReportSpecial(source);
        return;
    }
    ReplaceName(name, NewName(name, keyword, replacement), sourceDir, destinationDir, keyword, replacement, false);
}

void CProject::ReplaceKeyWord(CString replacement, CString keyword, CString path) {
    ReplaceInFile(path, keyword, replacement);
}

void CProject::ChangeKeywordInAllDirectoryFiles(CString dir, CString replacement, CString keyword) {
    PlatformWalkRoot root(dir);
    if (!root) return;
    ForEachEntry(dir + "\\*.*", [&](const CString& name, EntryKind kind) {
        if (kind == EntryKind::File) ReplaceKeyWord(replacement, keyword, dir + "\\" + name);
        if (kind == EntryKind::Special) ReportSpecial(dir + "\\" + name);
    });
}

CProject::ChangeKeywordAndFilenameInAllDirectoryFiles::ChangeKeywordAndFilenameInAllDirectoryFiles(
    CString dir, CString replacement, CString keyword) {
    if (!IsSafeReplacement(replacement)) return;
    PlatformWalkRoot root(dir);
    if (root) RewriteTreeInPlace(dir, dir, replacement, keyword);
}

CProject::CCopyFilesFromOneDirectoryToAnother::CCopyFilesFromOneDirectoryToAnother(CString source,
                                                                                   CString destination,
                                                                                   CString pattern) {
    source = WithBackslash(AbsolutePath(source));
    destination = WithBackslash(AbsolutePath(destination));
    // A pattern names entries of source: one holding a separator would reach elsewhere.
    if (!IsNamePattern(pattern) || LiesInside(destination, source) || !MakeLevels(destination)) return;
    WalkInto(source, destination, [&] { CopyTree(source, destination, pattern); });
}

CProject::CCopyFilesFromOneDirectoryToAnother::CCopyFilesFromOneDirectoryToAnother(CString source,
                                                                                   CString destination)
    : CCopyFilesFromOneDirectoryToAnother(source, destination, "*.*") {}

CProject::CDeleteDirectory::CDeleteDirectory(CString dir) {
    if (IsRoot(dir)) return;  // never the whole of a drive
    dir.TrimRight("\\/");     // so that a link is seen as the link, not as what it points at
    if (IsLink(dir)) {
        DeleteFileA(dir);
        return;
    }
    CString full = AbsolutePath(dir);
    PlatformWalkRoot root(full);
    if (root) DeleteTree(full);
}

void CProject::MakeProject(CString keyword, CString location, CString newName, CString templateRoot) {
    CSplitFilename split(location);
    CString target;
    target.Format("%s%s%s%s\\", static_cast<LPCTSTR>(split.m_strDrive), static_cast<LPCTSTR>(split.m_strDir),
                  static_cast<LPCTSTR>(split.m_strFileTitle), static_cast<LPCTSTR>(newName));
    MakeProjectTree(WithBackslash(templateRoot) + keyword + "\\", target, keyword, newName);
}

void CProject::MakeProject1(CString keyword, CString templateDir, CString targetDir, CString newName) {
    // One separator, where the original appends one unconditionally: the
    // doubled separator it would make names the same directory.
    MakeProjectTree(WithBackslash(templateDir), WithBackslash(targetDir), keyword, newName);
}
