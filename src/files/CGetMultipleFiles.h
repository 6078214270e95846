// CGetMultipleFiles: a set of related text files opened together. Each file
// is loaded in text mode into its own GetTextFileContents; the caller edits
// the readers' m_strContents texts in place through the pointers handed out,
// and every file is written back, changed or not, at CloseAllFiles or
// destruction. A missing file reads as an empty text and is created then.
//
// Not copyable: the handed-out pointers lead into this object's readers.
#pragma once

#include "containers/CLinkedList.h"
#include "files/GetFileContents.h"

class CBASIS1_API CGetMultipleFiles {
public:
    // names[i] opens as "%s%s%s" of dir, base and the name when the name
    // starts with '.', else as "%s%s" of dir and the name; *contents[i]
    // receives the address of its text (null when it could not be opened).
    CGetMultipleFiles(CString* names, CString*** contents, int count, CString dir, CString base);
    CGetMultipleFiles(const CGetMultipleFiles&) = delete;
    CGetMultipleFiles& operator=(const CGetMultipleFiles&) = delete;
    ~CGetMultipleFiles();

    // Opens further files the same way; after CloseAllFiles this starts a
    // new set.
    void OpenAllFiles(CString* names, CString*** contents, int count);
    void OpenAFile(CString* path, CString** contents);
    // Rewrites every file from its text, through text mode.
    void SaveAllFiles();
    // Rewrites every file, then frees the readers and the list; the texts
    // handed out are gone. A second call does nothing.
    void CloseAllFiles();

    CString m_strBaseName;
    CString m_strDirectory;
    CLinkedList<GetTextFileContents*>* m_pFiles;
};
