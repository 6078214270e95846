// File and path services shared by the project generator and the header-
// guard rewriter: streaming copies and keyword replacement in bounded
// memory, atomic rewriting, and the checks that keep every write inside the
// tree it was asked for. Internal to the library.
//
// What these services cannot do for one file (read it, write it) is told to
// the thread's undone hook (platform/kernel/Undone.h) besides their result, since
// the operations built on them report nothing by contract.
#pragma once

#include <cstdint>

#include "platform/mfc/Files.h"

namespace projectfiles {

// A new version of a file, written into a temporary file beside it and put
// in its place in one step, so that a reader (or a crash) sees the old file
// or the new one. The temporary file has the old file's permission bits,
// owner and group where the process may give them (a new file gets the
// default ones). Destroying an uncommitted version discards it.
class NewVersion {
public:
    // What the caller knows of path, so that it is not looked up again.
    enum class Known {
        Nothing,
        // path cannot exist yet (it lies in a directory the same walk has
        // just made): the file takes its name only where none stands, and
        // should an entry of that name have appeared all the same, it is
        // replaced as a rewrite replaces it (read-only files and directories
        // never), the new file keeping the default permissions.
        Absent,
        // path is a writable regular file the caller has just opened.
        Writable,
    };
    // Refused (IsOpen false, the reason reported as not written) when path
    // is read-only, a directory, a link or a special file.
    explicit NewVersion(const CString& path, Known known = Known::Nothing);
    ~NewVersion();
    NewVersion(const NewVersion&) = delete;
    NewVersion& operator=(const NewVersion&) = delete;

    bool IsOpen() const { return m_file.m_hFile != CFile::hFileNull; }
    CFile& File() { return m_file; }
    // Closes the file, gives it the times and read-only attribute of status
    // when one is given, and puts it in the place of the path. False (the
    // failure reported, the old file kept) when that fails.
    bool Commit(const CFileStatus* status);

private:
    CString m_path, m_temp;
    CFile m_file;
    bool m_bAbsent;
};

// Streams source, from its position, with every non-overlapping keyword
// replaced from the left (CString::Replace's rule; an empty keyword, or one
// equal to its replacement, replaces nothing), into out when it is given.
// Blocks are of bounded size and an occurrence across a block edge is found
// like any other. Returns the number of replacements, or -1 when the source
// holds a zero byte: it is binary, never rewritten, and out then holds an
// exact copy of the whole source. Throws CFileException* on a failed read
// or write.
int64_t CopyReplacing(CFile& source, CFile* out, const CString& keyword, const CString& replacement);

// Opens path for reading, never through a symbolic link, with its status;
// false when it cannot be opened: a link silently (no walk follows one),
// anything else with the reason reported (a special file as such, the rest
// as unreadable).
bool OpenSource(const CString& path, CFile& file, CFileStatus& status);
// Reports a failed read or write of source or target, as unreadable or not
// written by the file the exception names, and deletes the exception.
void ReportFailure(CFileException* error, const CString& source, const CString& target);

// Copies source to target, keyword replaced in the text unless bVerbatim or
// the file is binary or read-only; a copy without replacements keeps the
// source's time stamps and read-only attribute. bAbsent: target cannot
// exist yet (NewVersion::Known::Absent).
// True when target holds the copy.
bool CopyFileReplacing(const CString& source, const CString& target, const CString& keyword,
                       const CString& replacement, bool bVerbatim, bool bAbsent = false);

// Rewrites the text file path in place with every keyword replaced. Binary
// files, read-only files, links and files without the keyword are left
// untouched (a file without the keyword is only read). True when the file
// was rewritten.
bool ReplaceInFile(const CString& path, const CString& keyword, const CString& replacement);

// True when path itself is a symbolic link (which is never followed).
bool IsLink(const CString& path);

// The full path: absolute, "." and ".." resolved as text (GetFullPathNameA).
CString AbsolutePath(const CString& path);

// True when inner names outer or a place inside it, after both are
// resolved as every system call resolves them.
bool LiesInside(const CString& inner, const CString& outer);

// True for a path that names the root of the file system or of a drive
// ("", "\", "C:", "C:\", "C:\x\.."): no tree operation may take such a
// path as the tree to delete.
bool IsRoot(const CString& path);

// A replacement that can stand in names: empty, or a plain name
// (PlatformIsPlainName): it cannot carry a name out of its directory, nor
// make one the library no longer lists or reads as a drive.
bool IsSafeReplacement(const CString& replacement);

// A file pattern that matches names in its directory only: no '\' or '/',
// and neither "." nor "..". Wildcards are what it is for.
bool IsNamePattern(const CString& pattern);

// The text with a backslash appended unless it ends with one (an empty
// text becomes a single backslash).
CString WithBackslash(const CString& path);

}  // namespace projectfiles
