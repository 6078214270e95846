#include "files/CGetMultipleFiles.h"

#include <new>

CGetMultipleFiles::CGetMultipleFiles(CString* names, CString*** contents, int count, CString dir, CString base)
    : m_strBaseName(base), m_strDirectory(dir), m_pFiles(new CLinkedList<GetTextFileContents*>) {
    OpenAllFiles(names, contents, count);
}

CGetMultipleFiles::~CGetMultipleFiles() { CloseAllFiles(); }

void CGetMultipleFiles::OpenAllFiles(CString* names, CString*** contents, int count) {
    if (!names || !contents) return;
    for (int i = 0; i < count; ++i) {
        CString path;
        if (names[i].GetAt(0) == '.')
            path.Format("%s%s%s", static_cast<LPCTSTR>(m_strDirectory), static_cast<LPCTSTR>(m_strBaseName),
                        static_cast<LPCTSTR>(names[i]));
        else
            path.Format("%s%s", static_cast<LPCTSTR>(m_strDirectory), static_cast<LPCTSTR>(names[i]));
        OpenAFile(&path, contents[i]);
    }
}

void CGetMultipleFiles::OpenAFile(CString* path, CString** contents) {
    if (contents) *contents = nullptr;
    if (!path) return;
    if (!m_pFiles) m_pFiles = new CLinkedList<GetTextFileContents*>;
    GetTextFileContents* reader = new (std::nothrow) GetTextFileContents(*path);
    if (!reader) return;
    if (!m_pFiles->Add(&reader)) {
        delete reader;
        return;
    }
    reader->m_strContents = reader->m_pBuffer ? reader->m_pBuffer : "";
    if (contents) *contents = &reader->m_strContents;
}

void CGetMultipleFiles::SaveAllFiles() {
    if (!m_pFiles) return;
    for (m_pFiles->MoveFirst(); m_pFiles->m_pCurrent; m_pFiles->MoveNext()) {
        GetTextFileContents* reader = *m_pFiles->m_pCurrent->pValue;
        reader->SaveFileContents(reader->m_strContents);
    }
}

void CGetMultipleFiles::CloseAllFiles() {
    if (!m_pFiles) return;
    SaveAllFiles();
    for (m_pFiles->MoveFirst(); m_pFiles->m_pCurrent; m_pFiles->MoveNext()) delete *m_pFiles->m_pCurrent->pValue;
    delete m_pFiles;
    m_pFiles = nullptr;
}
