// CUtils: one class of file, text, number, date, window and naming services.
// Its members are grouped by subject; each group is implemented in the
// subsystem it belongs to.
//
// A CUtils object owns the chain of file_name records its last directory
// listing built; failures are reported by returning m_bSuccess negated
// (0) with the reason in m_strError.
#pragma once

#include "files/FileRecords.h"
#include "platform/Strings.h"

class CBASIS1_API CUtils {
public:
    CUtils();
    CUtils(const CUtils&) = delete;
    CUtils& operator=(const CUtils&) = delete;
    virtual ~CUtils();

    // Strings

    // Hands the caller a new zero-terminated copy of str in rpsz, releasing
    // what rpsz held before. 0 (and a null rpsz) when memory runs out.
    int NullStrPtr(CString str, char*& rpsz);

    // ---- Header guards and names (implemented in project/) ----------------

    // Gives the header text *pText a fresh include guard: the guard name
    // between "#if !defined(AFX_" and "__INCLUDED_)" becomes the new name
    // (strFallback when strNewName is empty), upper-cased, then "_H__" and a
    // new GUID string; every occurrence of the old guard name in the text
    // (#if, #define, the #endif comment) is rewritten. 1 when a guard was
    // rewritten; 0, text unchanged, when the text holds no guard of that
    // form (one whose name lacks "_H__" included).
    int GenerateGUIDforHeaderFile(CString* pText, CString strNewName, CString strFallback);
    // The same on the file strPath, rewritten in one step. A missing file
    // becomes an empty one; a file that exists but cannot be read, a binary
    // one (holding a zero byte) and a read-only one are left as they are.
    // Always 1.
    int GenerateGUIDforHeaderFile(CString strPath, CString strNewName, CString strFallback);
    // The text after the fifth underscore from the end: the GUID string of a
    // name built as text, '_' and a GUID string (a trailing extension stays).
    // Empty when the name holds fewer than five underscores.
    CString GetIDFromFilename(CString strName);
    // rName receives a new GUID string. Always 1; the second text is not used.
    int CreateName(CString& rName);
    int CreateName(CString& rName, CString strUnused);

    // ---- end of header guards and names -----------------------------------

    // Directory listings

    // Frees the object's chain; m_pFirst and m_pCurrent become null.
    void Delete_file_names();

    file_name* m_pCurrent;
    file_name* m_pFirst;
    BOOL m_bSuccess;
    CString m_strError;
};
