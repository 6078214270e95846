// CSplitFilename: a path split into drive, directory, file title and
// extension, each kept as a CString and as an owned zero-terminated copy.
//
// The parts are those of the runtime's _splitpath, never cut: the drive
// ("C:" or empty), the directory with its leading and trailing backslash,
// the title, and the extension from the last dot on. Joined in that order
// they give back the path. Copies are deep.
#pragma once

#include "platform/atl/Strings.h"

class CBASIS1_API CSplitFilename {
public:
    explicit CSplitFilename(CString& path);
    CSplitFilename(const CSplitFilename& other);
    CSplitFilename& operator=(const CSplitFilename& other);
    // Frees the four copies and nulls the pointers.
    ~CSplitFilename();

    // str = part; psz = a new zero-filled block of the part's length + 1
    // holding it. What psz held before is not freed: pass a null pointer.
    void MakeVariables(CString part, CString& str, char*& psz);

    CString m_strDrive;
    CString m_strDir;
    CString m_strFileTitle;
    CString m_strExt;
    char* m_pszDrive;
    char* m_pszDir;
    char* m_pszFileTitle;
    char* m_pszExt;

private:
    void FreeCopies();
};
