// GetFileContents and GetTextFileContents: a whole file in one zero-
// terminated heap buffer, walked line by line and written back.
//
// GetFileContents reads and writes in the runtime's binary mode ("rb",
// "wb"); GetTextFileContents in its text mode ("rt", "wt"), where CR LF
// reads as LF and LF writes as CR LF. No operation reports an error: a
// missing or unreadable file leaves m_pBuffer null and m_nSize 0, an empty
// file gives a one-byte zero block and m_nSize 1.
//
// Copies are deep: each object owns its own buffer.
#pragma once

#include "platform/atl/Strings.h"

class CFile;

class CBASIS1_API GetFileContents {
public:
    GetFileContents();
    explicit GetFileContents(CString name);
    // Creates the file empty when it does not exist, then loads it. The flag
    // is not consulted.
    GetFileContents(CString name, bool bCreate);
    GetFileContents(const GetFileContents& other);
    GetFileContents& operator=(const GetFileContents& other);

    // Clears the members without freeing the buffer.
    void Init();
    // Init, the virtual GetFile, then m_strFileName = name.
    void GetFileContents1(CString name);

    // Loads the file into a new buffer of its size plus 1 (the object must
    // hold no contents). Returns 1 in every case.
    virtual int GetFile(CString name);
    // Writes the text's characters (its length, no terminator) to
    // m_strFileName, replacing the file. Returns 1 in every case.
    virtual int SaveFileContents(CString& text);
    virtual ~GetFileContents();

    void DeleteContents();
    // Starts a line walk over a snapshot of the buffer.
    void InitReadLine();
    // The next line ended by CR LF, without it: 1, or 0 (line unchanged) when
    // no CR LF follows. Text after the last CR LF is never given.
    int ReadNextLine(CString& line);

    int m_nReadPos;
    int m_nLineEnd;
    CString m_strText;
    int m_nSize;
    char* m_pBuffer;
    CString m_strFileName;
    CString m_strContents;

protected:
    // The loader both variants share.
    int LoadFile(const CString& name, bool bText);
    int SaveFile(const CString& text, const char* pszMode);
    static void CreateIfMissing(const CString& name);

private:
    static size_t ReadBytes(CFile& file, char* buffer, size_t size);
};

class CBASIS1_API GetTextFileContents : public GetFileContents {
public:
    GetTextFileContents() = default;
    explicit GetTextFileContents(CString name);
    GetTextFileContents(CString name, bool bCreate);

    int GetFile(CString name) override;
    int SaveFileContents(CString& text) override;
};
