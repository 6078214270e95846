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

class CSplitterWnd;
struct CRuntimeClass;

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

    // ---- View switching (implemented in frame/) ----

    // Replaces the view in pane (row, column) by a new view of pViewClass
    // on the same document, at the old view's place. The document survives
    // even when that was its only view. The new view becomes the frame's
    // active view when the old one was, or when there was none. With
    // bInitialUpdate its frame runs InitialUpdateFrame; the view's
    // OnInitialUpdate runs in any case. A pane that holds no view is left
    // alone; when the new view cannot be created the pane stays empty and
    // m_strError says so.
    void SwitchViewInSplitter(CSplitterWnd* pSplitter, int row, int column, CRuntimeClass* pViewClass,
                              bool bInitialUpdate);

    // ---- End of view switching ----

    // Directory listings

    // Frees the object's chain; m_pFirst and m_pCurrent become null.
    void Delete_file_names();

    file_name* m_pCurrent;
    file_name* m_pFirst;
    BOOL m_bSuccess;
    CString m_strError;
};
