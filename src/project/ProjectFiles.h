// Whole-file and path services shared by the project generator and the
// header-guard rewriter: binary-safe loading, atomic rewriting, copying with
// the source's status, and the checks that keep every write inside the tree
// it was asked for. Internal to the library.
#pragma once

#include "platform/Strings.h"

struct CFileStatus;

namespace projectfiles {

// The whole file, every byte (zero bytes included). False, and bytes
// empty, for a missing, unreadable or non-regular file.
bool LoadBytes(const CString& path, CString& bytes);

// A file that holds a zero byte is binary: copied whole, never rewritten.
bool IsBinary(const CString& bytes);

// Every non-overlapping keyword in text replaced, as CString::Replace does;
// the count of replacements. A keyword equal to its replacement changes
// nothing and counts 0.
int ReplaceAll(CString& text, const CString& keyword, const CString& replacement);

// Gives path exactly these contents in one step: a temporary file beside it
// is written and renamed over it, so a reader (or a crash) sees the old
// file or the new one. The file keeps its permission bits; a new file gets
// the default ones. Refused (false, nothing changed) when path is read-only,
// a directory or a symbolic link.
bool WriteWhole(const CString& path, const CString& bytes);

// WriteWhole, then the target takes the source's time stamps and read-only
// attribute, as a file copy does.
bool WriteCopy(const CString& target, const CString& bytes, const CFileStatus& sourceStatus);

// Rewrites the text file path in place with every keyword replaced. Binary
// files, read-only files, links and files without the keyword are left
// untouched. True when the file was rewritten.
bool ReplaceInFile(const CString& path, const CString& keyword, const CString& replacement);

// True when path itself is a symbolic link (which is never followed).
bool IsLink(const CString& path);

// path taken against the current directory when it is relative.
CString AbsolutePath(const CString& path);

// True when inner names outer or a place inside it (compared after making
// both absolute and resolving "." and ".." in their text).
bool LiesInside(const CString& inner, const CString& outer);

// True for a path that names the root of the file system or of a drive
// ("", "\", "C:", "C:\", "C:\x\.."): no tree operation may take such a
// path as the tree to delete.
bool IsRoot(const CString& path);

// A replacement that cannot carry a name out of its directory: no '\' or
// '/', and neither "." nor "..". The empty text is allowed.
bool IsSafeReplacement(const CString& replacement);

// A single name that stays in its directory: not empty, no separator, and
// neither "." nor "..".
bool IsPlainName(const CString& name);

// The text with a backslash appended unless it ends with one (an empty
// text becomes a single backslash).
CString WithBackslash(const CString& path);

}  // namespace projectfiles
