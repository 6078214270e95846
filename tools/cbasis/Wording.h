// How the tool words what it says: the reason for a failure in the words a
// Linux user knows (those of strerror), and counts in the singular or the
// plural. The library keeps its own texts; this is the tool's presentation.
#pragma once

#include <string>

#include "platform/atl/Strings.h"

namespace cbasis {

// "No such file or directory" for ERROR_FILE_NOT_FOUND, "Is a directory"
// where the failure came from EISDIR (PlatformPosixErrorText).
std::string Reason(DWORD code);
// The reason for the calling thread's last error.
std::string LastReason();
// Why the library path has no status: the reason of looking at the entry
// itself, a dangling link counting as missing.
std::string MissingReason(const CString& path);
// Why the library path could not be opened as a file to read, the system's
// code for it given: a directory or a special file is said as such.
std::string OpenReason(const CString& path, DWORD code);
// "1 file", "2 files".
std::string Counted(long long count, const char* one, const char* many);

}  // namespace cbasis
