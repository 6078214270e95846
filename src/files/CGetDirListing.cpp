#include "files/CGetDirListing.h"

#include "platform/kernel/WalkRoot.h"

CGetDirListing::CGetDirListing(CString dir, CString pattern) : m_pSubDirs(new CLinkedList<CGetDirListing*>) {
    m_strPath.Format("%s\\%s", static_cast<LPCTSTR>(dir), static_cast<LPCTSTR>(pattern));
    // The tree is walked from its root's descriptor; a sub-listing joins the
    // root of the listing above it.
    PlatformWalkRoot root(dir);
    BOOL more = root && FindFile(m_strPath);
    while (more) {
        more = FindNextFile();
        if (IsDots()) continue;
        if (MatchesMask(FILE_ATTRIBUTE_DIRECTORY)) {
            CGetDirListing* sub = new CGetDirListing(GetFilePath(), pattern);
            if (!m_pSubDirs->Add(&sub)) delete sub;
        }
        CString* name = new CString(GetFileName());
        if (!m_Names.Add(&name)) delete name;
    }
    Close();
}

CGetDirListing::~CGetDirListing() {
    for (m_Names.MoveFirst(); m_Names.m_pCurrent; m_Names.MoveNext()) delete *m_Names.m_pCurrent->pValue;
    for (m_pSubDirs->MoveFirst(); m_pSubDirs->m_pCurrent; m_pSubDirs->MoveNext())
        delete *m_pSubDirs->m_pCurrent->pValue;
    delete m_pSubDirs;
}
