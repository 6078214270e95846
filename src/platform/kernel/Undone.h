// What a directory walk or a file operation had to leave undone.
//
// The library's walks report nothing by contract; what they leave out or
// cannot do is told here instead, to a hook of the calling thread, so that a
// host (the cbasis tool does) can count it and say it. Without a hook the
// reports go nowhere. The hook runs on the thread that made the report, with
// no lock held.
#pragma once

#include <functional>
#include <string>

#include "platform/atl/Strings.h"

enum class PlatformUndone {
    BadName,     // a name a library path cannot carry: left out of every listing
    Special,     // a FIFO, socket or device: never opened as a file
    Unreadable,  // a directory or file that exists but could not be read
    NotWritten,  // a file or directory that could not be created or written
    NotRenamed,  // an entry that could not take its new name
    NotDeleted,  // an entry that could not be deleted
    NotEntered,  // a directory a walk did not enter: a link or a non-directory stands in its place
    NameTaken,   // two entries that would take one name: the first took it, the next was refused
};

// posixPath names the entry for the system; dwError is the Win32 code of the
// failure (ERROR_FILENAME_EXCED_RANGE for a path too long, ERROR_DISK_FULL
// for a full disk), 0 when there is none.
using UndoneHook = std::function<void(PlatformUndone kind, const std::string& posixPath, DWORD dwError)>;

// Sets the calling thread's hook and returns the previous one; an empty hook
// removes it.
PLATFORM_API UndoneHook PlatformSetUndoneHook(UndoneHook hook);
// Reports an entry by its library path, or by its POSIX path.
PLATFORM_API void PlatformReportUndone(PlatformUndone kind, LPCTSTR path, DWORD dwError);
PLATFORM_API void PlatformReportUndonePosix(PlatformUndone kind, const std::string& posixPath, DWORD dwError);
