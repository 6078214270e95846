// The directory search that CFileFind and the runtime's _findfirst share,
// and the original platform's wildcard rules.
#pragma once

#include <string>
#include <vector>

#include "platform/atl/Strings.h"
#include "platform/kernel/FileSystem.h"

// Case-insensitive wildcard match with the original platform's rules: "*"
// and "?" as usual, except that "?" also matches nothing before a dot or at
// the end ("file?.txt" matches "file.txt"), and a final ".*" also matches a
// name without a dot (so "*.*" matches every name). "*.log" matches "a.b.log"
// but not "x.log.bak".
PLATFORM_API bool PlatformMatchWildcard(LPCTSTR pszName, LPCTSTR pszPattern);

namespace platform::find {

// One matching entry. Its status is read when first needed: the directory
// entry's type already tells directories and links apart, which is all a
// walk needs, and reading every entry's status would cost more than the
// listing itself. Entries are kept small, since a listing holds one per
// name of the directory: the status, once read, lives in the listing.
struct Entry {
    std::string name;
    DWORD attributes = 0;
    int rank = 2;     // 0 for ".", 1 for "..", 2 for any other name: the dots come first
    int status = -1;  // index of the entry's status in the listing, once read
};

// The matching entries of one directory, in the finder's order, and a
// cursor over them.
struct Listing {
    CString root;       // full path of the directory, ending with a backslash
    std::string posix;  // the directory for the OS, ending with '/'
    std::vector<Entry> entries;
    std::vector<platform::fs::FileInfo> statuses;  // of the entries examined
    size_t next = 0;    // index of the entry the next step makes current
    long current = -1;  // index of the current entry; -1 before the first step
};

// Reads the entry's status. False when it cannot be read (the entry vanished
// or cannot be examined); the entry then keeps what its type told.
bool Examine(Listing& listing, Entry& entry);
Entry* Current(Listing* listing);
// The status of the current entry, read now if need be: null when there is
// no current entry, all zero when it cannot be read.
const platform::fs::FileInfo* CurrentStatus(Listing* listing);
// Lists the entries of the spec's directory that match its pattern. False,
// with errno set, when the directory cannot be read or nothing matches.
//
// Left out, and reported to the thread's undone hook: entries whose names a
// library path cannot carry (a name holding '\\' would read as two), entries
// whose type cannot be learnt, and a directory that exists but cannot be
// read (a missing one is simply no match).
bool List(LPCTSTR pszSpec, Listing& listing);
// The size as a 32-bit field carries it: 0 for a directory, 0xFFFFFFFF for
// a larger file.
DWORD Size32(const platform::fs::FileInfo& info);

}  // namespace platform::find
