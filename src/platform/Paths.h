// Path translation between the library's backslash paths and POSIX paths.
//
// Library code builds paths such as "C:\a\b\file.txt". At the OS boundary
// every '\' becomes '/', and a drive prefix "X:" is replaced by the root
// the drive table maps it to. C: maps to "/" unless CBASIS_DRIVE_C is set
// in the environment (likewise CBASIS_DRIVE_D, ...) or the table is changed
// through PlatformSetDrive. An unmapped drive behaves as a missing drive.
//
// Paths handed back to the library are in backslash form, with the drive
// prefix when they lie under a mapped drive's root: while C: maps to /tmp/t,
// "/tmp/t/x" comes back as "C:\x" and "/usr/x" as "\usr\x".
#pragma once

#include <string>

#include "platform/Strings.h"

// Maps drive letter (case-insensitive) to posixRoot; null or "" unmaps it.
PLATFORM_API void PlatformSetDrive(char chDrive, LPCTSTR posixRoot);
// The POSIX root of the drive, or "" when it is unmapped.
PLATFORM_API CString PlatformGetDrive(char chDrive);

// Translates a library path for the OS. Returns false (and leaves posix
// empty) when the path names an unmapped drive.
PLATFORM_API bool PlatformToPosixPath(LPCTSTR path, std::string& posix);
// The library form of a POSIX path (see above).
PLATFORM_API CString PlatformFromPosixPath(const std::string& posix);
