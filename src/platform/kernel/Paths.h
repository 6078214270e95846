// Path translation between the library's backslash paths and POSIX paths,
// and the one rule every path handed down to the system goes through.
//
// Library code builds paths such as "C:\a\b\file.txt". At the OS boundary
// a path is first made absolute (a relative path is taken against the
// current directory; "\x" is the file system's root) and its "." and ".."
// components are resolved as text, never above the root of its drive (of
// the file system for a path without a drive), as the original platform
// resolves full paths: ".." names the parent in the text, never the
// parent of a link's target. Then every separator ('\' or '/') becomes a
// single '/', and a drive prefix "X:" is replaced by the root the drive
// table maps it to. C: maps to "/" unless CBASIS_DRIVE_C is set
// in the environment (likewise CBASIS_DRIVE_D, ...) or the table is changed
// through PlatformSetDrive. An unmapped drive behaves as a missing drive.
//
// Paths handed back to the library are in backslash form, with the drive
// prefix when they lie under a mapped drive's root: while C: maps to /tmp/t,
// "/tmp/t/x" comes back as "C:\x" and "/usr/x" as "\usr\x".
#pragma once

#include <string>

#include "platform/atl/Strings.h"

// Maps drive letter (case-insensitive) to posixRoot; null or "" unmaps it.
PLATFORM_API void PlatformSetDrive(char chDrive, LPCTSTR posixRoot);
// The POSIX root of the drive, or "" when it is unmapped.
PLATFORM_API CString PlatformGetDrive(char chDrive);

// The full library path: absolute, "." and ".." resolved as above, single
// backslashes, no trailing backslash except at a root ("C:\", "\"). False
// (and full empty) for an empty or null path.
PLATFORM_API bool PlatformFullPath(LPCTSTR path, std::string& full);
// Translates a library path for the OS: the full path with the drive's root
// in place of its drive. Returns false (and leaves posix empty) when the
// path is empty or names an unmapped drive.
PLATFORM_API bool PlatformToPosixPath(LPCTSTR path, std::string& posix);
// True for a name that a library path can carry and give back unchanged:
// not empty, and without '\', '/', any of : * ? " < > | or a control
// character, which the original platform forbids in names. Directory
// listings leave out every other name.
PLATFORM_API bool PlatformIsRepresentableName(const char* name);
// True for a name typed to stand as one entry in its directory (a log's
// name, a project's name, a replacement put into names): one a library path
// carries (above), and neither "." nor "..". Every check of such a name goes
// through this one.
PLATFORM_API bool PlatformIsPlainName(const char* name);
// The library form of a POSIX path (see above).
PLATFORM_API CString PlatformFromPosixPath(const std::string& posix);
