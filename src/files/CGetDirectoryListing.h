// CGetDirectoryListing: the base names of a directory's matching entries,
// appended to a list the caller owns. The constructor does the whole job.
#pragma once

#include "containers/CLinkedList.h"
#include "files/FileRecords.h"
#include "platform/mfc/Files.h"

class CBASIS1_API CGetDirectoryListing : public CFileFind {
public:
    // Appends one TextRecord per matching entry of dir, in the finder's order:
    // the name up to its first dot (empty for a name without a dot, and for
    // "." and ".." when the pattern matches them), cut to 100 characters.
    // Directories and files alike; a missing directory appends nothing.
    CGetDirectoryListing(CString dir, CString pattern, CLinkedList<TextRecord>* list);

    CString m_strPath;  // "dir\pattern"
};
