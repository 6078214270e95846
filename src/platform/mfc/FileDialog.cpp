// CFileDialog: the open-file dialog through its structure.
#include "platform/mfc/FileDialog.h"

#include <cstring>

#include "platform/mfc/MessageBox.h"
#include "platform/mfc/Unsupported.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : m_ofn{}, m_bOpenFileDialog(bOpenFileDialog), m_szFileName{}, m_szFileTitle{} {
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    if (lpszFileName) {
        std::strncpy(m_szFileName, lpszFileName, sizeof m_szFileName - 1);
        m_szFileName[sizeof m_szFileName - 1] = '\0';
    }
    if (lpszDefExt) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFilter && *lpszFilter) {
        // The structure's list ends with an empty string: "a\0b\0\0". The
        // CString keeps its own terminator behind the last '\0' written.
        m_strFilter = lpszFilter;
        int nLength = m_strFilter.GetLength();
        char* p = m_strFilter.GetBuffer(nLength);
        for (int i = 0; i < nLength; ++i)
            if (p[i] == '|') p[i] = '\0';
        m_strFilter.ReleaseBuffer(nLength);
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal() {
    m_bChosen = false;
    if (!m_bOpenFileDialog) {
        PlatformReportUnsupported("CFileDialog::DoModal for saving", "there is no save dialog; it is cancelled");
        return IDCANCEL;
    }
    m_bChosen = GetOpenFileNameA(&m_ofn) != FALSE;
    return m_bChosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return m_bChosen ? CString(m_ofn.lpstrFile) : CString(); }

CString CFileDialog::GetFileName() const {
    return m_bChosen ? CString(m_ofn.lpstrFile + m_ofn.nFileOffset) : CString();
}

CString CFileDialog::GetFileExt() const {
    if (!m_bChosen || m_ofn.nFileExtension == 0) return CString();
    return CString(m_ofn.lpstrFile + m_ofn.nFileExtension);
}

CString CFileDialog::GetFileTitle() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}
