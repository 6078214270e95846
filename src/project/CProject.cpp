// CProject: keyword replacement in trees, tree copy and delete, and project
// creation.
//
// Sections: directory walks; keyword replacement (the walker, the per-file
// step, the in-place variants); tree copy and delete; project creation.
#include "project/CProject.h"

#include "files/CSplitFilename.h"
#include "files/MakeDirectory.h"
#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Undone.h"
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
// in the way of the files to come. A symbolic link of that name is reported
// and nothing is made through it: the walk would leave its tree.
bool MakeDestination(const CString& dir, bool& bFresh) {
    DWORD attributes = GetFileAttributesA(dir.Left(dir.GetLength() - 1));
    bFresh = attributes == INVALID_FILE_ATTRIBUTES;
    if (!bFresh && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        PlatformReportUndone(PlatformUndone::NotWritten, dir, ERROR_ACCESS_DENIED);
        return false;
    }
    return MakeLevels(dir);
}

thread_local CProject::MadeHook t_madeHook;

void ReportMade(const CString& path, bool bDirectory) {
    if (t_madeHook) t_madeHook(path, bDirectory);
}

// ---- Keyword replacement ----------------------------------------------------

// The per-entry step for a file of sourceDir: copied into destinationDir
// under its new name, the keyword replaced in its text. bAbsent:
// destinationDir was made by this walk.
void ReplaceName(const CString& name, const CString& sourceDir, const CString& destinationDir,
                 const CString& keyword, const CString& replacement, bool bAbsent) {
    // The keyword is replaced in the title only, never in the extension.
    CString newName = name;
    CSplitFilename split(newName);
    if (split.m_strFileTitle.Find(keyword) >= 0) {
        CString title = split.m_strFileTitle;
        title.Replace(keyword, replacement);
        newName = split.m_strDrive + split.m_strDir + title + split.m_strExt;
    }
    if (!PlatformIsPlainName(newName)) return;
    CString target = destinationDir + newName;
    if (CopyFileReplacing(sourceDir + name, target, keyword, replacement, false, bAbsent)) ReportMade(target, false);
}

void CopyTreeReplacing(const CString& source, const CString& pattern, const CString& destination,
                       const CString& keyword, const CString& replacement, bool bFresh) {
    ForEachEntry(source + pattern, [&](const CString& name, EntryKind kind) {
        if (kind == EntryKind::Directory) {
            // Directories keep their names; the keyword is replaced in files only.
            CString subDestination = destination + name + "\\";
            bool fresh;
            if (!MakeDestination(subDestination, fresh)) return;
            ReportMade(destination + name, true);
            CopyTreeReplacing(source + name + "\\", pattern, subDestination, keyword, replacement, fresh);
        } else if (kind == EntryKind::Special) {
            ReportSpecial(source + name);
        } else if (kind == EntryKind::File) {
            ReplaceName(name, source, destination, keyword, replacement, bFresh);
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
    if (!MakeLevels(destination)) return;
    ForEachEntry(source + pattern, [&](const CString& name, EntryKind kind) {
        if (kind == EntryKind::Directory) {
            // The pattern filters this level only; below it everything is copied.
            CopyTree(source + name + "\\", destination + name + "\\", "*.*");
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

// The walker's entry point for MakeProject and MakeProject1: source and
// target end with a backslash.
void MakeProjectTree(const CString& source, const CString& target, const CString& keyword,
                     const CString& newName) {
    CString absoluteSource = AbsolutePath(source), absoluteTarget = AbsolutePath(target);
    if (!IsSafeReplacement(newName) || LiesInside(absoluteTarget, absoluteSource)) return;
    CString destination = WithBackslash(absoluteTarget);
    bool fresh = GetFileAttributesA(absoluteTarget) == INVALID_FILE_ATTRIBUTES;
    if (MakeLevels(destination))
        CopyTreeReplacing(WithBackslash(absoluteSource), "*.*", destination, keyword, newName, fresh);
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
    CopyTreeReplacing(source, pattern, destination, keyword, replacement, false);
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
    ReplaceName(name, sourceDir, destinationDir, keyword, replacement, false);
}

void CProject::ReplaceKeyWord(CString replacement, CString keyword, CString path) {
    ReplaceInFile(path, keyword, replacement);
}

void CProject::ChangeKeywordInAllDirectoryFiles(CString dir, CString replacement, CString keyword) {
    ForEachEntry(dir + "\\*.*", [&](const CString& name, EntryKind kind) {
        if (kind == EntryKind::File) ReplaceKeyWord(replacement, keyword, dir + "\\" + name);
        if (kind == EntryKind::Special) ReportSpecial(dir + "\\" + name);
    });
}

CProject::ChangeKeywordAndFilenameInAllDirectoryFiles::ChangeKeywordAndFilenameInAllDirectoryFiles(
    CString dir, CString replacement, CString keyword) {
    if (IsSafeReplacement(replacement)) RewriteTreeInPlace(dir, dir, replacement, keyword);
}

CProject::CCopyFilesFromOneDirectoryToAnother::CCopyFilesFromOneDirectoryToAnother(CString source,
                                                                                   CString destination,
                                                                                   CString pattern) {
    source = WithBackslash(AbsolutePath(source));
    destination = WithBackslash(AbsolutePath(destination));
    // A pattern names entries of source: one holding a separator would reach elsewhere.
    if (IsNamePattern(pattern) && !LiesInside(destination, source)) CopyTree(source, destination, pattern);
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
    DeleteTree(AbsolutePath(dir));
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
