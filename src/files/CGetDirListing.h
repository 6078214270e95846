// CGetDirListing: the tree listing of a directory. The constructor does the
// whole walk; the object then holds the names of one directory's matching
// entries and one sub-listing per matching sub-directory.
#pragma once

#include "containers/CLinkedList.h"
#include "platform/mfc/Files.h"

class CBASIS1_API CGetDirListing : public CFileFind {
public:
    // Lists the entries of dir that match pattern ("." and ".." excepted),
    // in the finder's order, and descends depth first into every matching
    // sub-directory with the same pattern. Symbolic links are listed as
    // names and never entered. A missing directory lists nothing.
    CGetDirListing(CString dir, CString pattern);
    // Frees the names, the sub-listings (recursively) and the lists.
    ~CGetDirListing() override;

    CString m_strPath;                          // "dir\pattern"
    CLinkedList<CString*> m_Names;              // owned strings
    CLinkedList<CGetDirListing*>* m_pSubDirs;   // owned, with the sub-listings
};
