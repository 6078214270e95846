// Walk roots: the directory trees that the calling thread is walking, walked
// by descriptor.
//
// A walk declares its root once, before it starts: the root is opened as a
// directory, its last component never followed, and held open until the
// walk ends. While it is active, every path-based call of the platform
// (CFileFind, CFile, DeleteFileA, MoveFileA, CreateDirectoryA, crt::fopen,
// ...) on the same thread whose path lies below the root is resolved from
// the root's descriptor, one directory at a time, each opened relative to
// its parent without following a link; the call then acts on the last name
// in its directory with the *at system calls, never following a link there
// either. So a directory that another process swaps for a link while the
// walk is busy elsewhere is never entered, and nothing is read or written
// through it: the call fails with ERROR_CANT_RESOLVE_FILENAME and the
// directory is reported to the thread's undone hook (PlatformUndone::
// NotEntered). The library's code stays written against paths; only the
// platform knows that they are walked by descriptor.
//
// Several roots may be active at once (a copy's source and destination);
// a path belongs to the longest root that holds it. A root declared at or
// below an active root joins it: it is checked (a directory, not a link),
// and the walk goes on through the outer root's descriptors. The open
// directories are cached per root (the chain from the root to the last
// directory used, as fts keeps it), with at most a few dozen descriptors
// open however deep the tree: a walk climbing back out of a deep tree
// reopens a parent through "..", checked to be the same directory it left.
#pragma once

#include "platform/atl/Strings.h"

class PLATFORM_API PlatformWalkRoot {
public:
    // Opens the root. A root that is a symbolic link, or no directory, is
    // refused (ERROR_DIRECTORY) and reported (NotEntered); a missing one is
    // refused silently
    // (ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND), as a walk of a missing
    // tree finds nothing; one that cannot be opened otherwise is reported as
    // unreadable. GetLastError tells why a root is not open.
    explicit PlatformWalkRoot(LPCTSTR lpszPath);
    ~PlatformWalkRoot();
    PlatformWalkRoot(const PlatformWalkRoot&) = delete;
    PlatformWalkRoot& operator=(const PlatformWalkRoot&) = delete;

    BOOL IsOpen() const { return m_bOpen; }
    explicit operator bool() const { return m_bOpen; }

private:
    struct Root;
    Root* m_pRoot = nullptr;  // null when the root joined an outer one, or is not open
    BOOL m_bOpen = FALSE;
};
