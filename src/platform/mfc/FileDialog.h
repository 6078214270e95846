// MFC's file dialog over GetOpenFileNameA (platform/user/Dialogs.h). There
// is no save-file dialog: the save form fails loudly and is cancelled.
#pragma once

#include "platform/crt/Crt.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Dialogs.h"

class PLATFORM_API CFileDialog : public CWnd {
public:
    // lpszFileName: the name the dialog starts with. lpszFilter: pairs of
    // description and pattern, each ended by '|', the list by "||"
    // ("Text Files (*.txt)|*.txt|All Files (*.*)|*.*||").
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK or IDCANCEL.
    virtual INT_PTR DoModal();
    // The chosen file: its whole path, its name, its extension without the
    // dot, its name without the extension. "" before a DoModal gave IDOK.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    OPENFILENAME& GetOFN() { return m_ofn; }

    OPENFILENAME m_ofn;
    BOOL m_bOpenFileDialog;

private:
    char m_szFileName[_MAX_PATH];
    char m_szFileTitle[_MAX_FNAME];
    CString m_strFilter;  // '|' replaced by the terminators the structure wants
    CString m_strDefExt;
    bool m_bChosen = false;
};
