#include "files/CGetDirectoryListing.h"

CGetDirectoryListing::CGetDirectoryListing(CString dir, CString pattern, CLinkedList<TextRecord>* list) {
    m_strPath.Format("%s\\%s", static_cast<LPCTSTR>(dir), static_cast<LPCTSTR>(pattern));
    BOOL more = list && FindFile(m_strPath);
    while (more) {
        more = FindNextFile();
        CString name = GetFileName();
        TextRecord record(name.Left(name.Find('.')));
        list->Add(&record);
    }
    Close();
}
