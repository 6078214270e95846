// Paths typed on Linux, in the library's form.
//
// The library works on backslash paths with drive letters, so a POSIX path
// is made absolute and turned into the library's form through the drive
// table: with the default table, where C: is /, /home/ann/x.txt becomes
// C:\home\ann\x.txt. CBASIS_DRIVE_C=/some/dir moves C: elsewhere; paths
// outside every mapped drive go without a drive (\usr\x). An argument that
// starts with a drive letter and a colon (C:\dir\x) is taken as a library
// path as it stands.
#pragma once

#include <string>

#include "platform/atl/Strings.h"

namespace cbasis {

// The library form of a path as typed, made absolute (and "." and ".."
// resolved as text) when bAbsolute. False, with the reason, for paths the
// library cannot name: empty ones, and POSIX names holding a backslash,
// which the library would read as a separator, or another character its
// names cannot hold (PlatformIsRepresentableName).
bool ToLibrary(const std::string& typed, bool bAbsolute, CString& path, std::string& reason);

// True for a path typed in the library's form, with a drive letter.
bool IsLibraryPath(const std::string& typed);
// name in the directory typed, in the form it was typed: "logs" and
// "app.LOG" give "logs/app.LOG", "C:\logs" gives "C:\logs\app.LOG".
std::string JoinTyped(const std::string& typed, const std::string& name);

// The path without trailing backslashes; a drive root "C:\" becomes "C:".
CString WithoutTrailingSeparators(CString path);

}  // namespace cbasis
