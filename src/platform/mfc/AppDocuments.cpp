// The application's document commands: File New, File Open, the recent-files
// list and its place in the profile, and the registry key that places the
// profile.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/Profile.h"
#include "platform/mfc/App.h"
#include "platform/mfc/FileDialog.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/StandardIds.h"
#include "platform/mfc/Unsupported.h"

namespace {

// The path made absolute, or as given when it cannot be.
CString fullPath(LPCTSTR lpszPathName) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(lpszPathName, sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? CString(full) : CString(lpszPathName);
}

// TRUE when the path ends with the template's filter extension (".txt").
BOOL hasExtension(const CString& path, CDocTemplate* pTemplate) {
    CString ext;
    if (!pTemplate->GetDocString(ext, CDocTemplate::filterExt) || ext.IsEmpty()) return FALSE;
    int n = ext.GetLength();
    return path.GetLength() > n && path.Right(n).CompareNoCase(ext) == 0;
}

}  // namespace

// ---- The recent-files list ---------------------------------------------------------

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize, int)
    : m_nSize(nSize < 0 ? 0 : nSize),
      m_nStart(nStart),
      m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat) {}

void CRecentFileList::Add(LPCTSTR lpszPathName) {
    if (m_nSize == 0 || !lpszPathName || !*lpszPathName) return;
    CString path = fullPath(lpszPathName);
    for (int i = 0; i < GetSize(); ++i)
        if (m_arrNames[i] == path) {
            m_arrNames.RemoveAt(i);
            break;
        }
    m_arrNames.InsertAt(0, path);
    if (GetSize() > m_nSize) m_arrNames.SetSize(m_nSize);
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex >= 0 && nIndex < GetSize()) m_arrNames.RemoveAt(nIndex);
}

void CRecentFileList::ReadList() {
    CWinApp* pApp = AfxGetApp();
    m_arrNames.RemoveAll();
    for (int i = 0; pApp && i < m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        CString path = pApp->GetProfileString(m_strSectionName, entry);
        if (!path.IsEmpty()) m_arrNames.Add(path);
    }
}

void CRecentFileList::WriteList() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return;
    pApp->WriteProfileString(m_strSectionName, nullptr, nullptr);
    for (int i = 0; i < GetSize(); ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        pApp->WriteProfileString(m_strSectionName, entry, m_arrNames[i]);
    }
}

// ---- CWinApp's commands ------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

int CWinApp::ExitInstance() {
    if (m_pRecentFileList) m_pRecentFileList->WriteList();
    return CWinThread::ExitInstance();
}

void CWinApp::OnFileNew() {
    POSITION pos = GetFirstDocTemplatePosition();
    if (!pos) {
        AfxMessageBox("No document template is registered: cannot create a new document.", MB_ICONEXCLAMATION);
        return;
    }
    GetNextDocTemplate(pos)->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, nullptr, m_pMainWnd);
    if (dlg.DoModal() == IDOK) OpenDocumentFile(dlg.GetPathName());
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
    if (!lpszFileName || !*lpszFileName) return nullptr;
    CString path = fullPath(lpszFileName);
    CDocTemplate* pChosen = nullptr;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        for (POSITION docPos = pTemplate->GetFirstDocPosition(); docPos;) {
            CDocument* pDoc = pTemplate->GetNextDoc(docPos);
            if (pDoc->GetPathName() != path) continue;
            POSITION viewPos = pDoc->GetFirstViewPosition();
            if (CView* pView = viewPos ? pDoc->GetNextView(viewPos) : nullptr)
                if (CFrameWnd* pFrame = pView->GetParentFrame()) pFrame->ActivateFrame();
            return pDoc;
        }
        if (!pChosen || (hasExtension(path, pTemplate) && !hasExtension(path, pChosen))) pChosen = pTemplate;
    }
    if (!pChosen) {
        AfxMessageBox("No document template is registered: cannot open a document.", MB_ICONEXCLAMATION);
        return nullptr;
    }
    CDocument* pDoc = pChosen->OpenDocumentFile(path);
    if (pDoc) AddToRecentFileList(path);
    return pDoc;
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
    if (m_pRecentFileList) m_pRecentFileList->Add(lpszPathName);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
    int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (!m_pRecentFileList || nIndex >= m_pRecentFileList->GetSize()) return FALSE;
    CString path = (*m_pRecentFileList)[nIndex];
    if (!OpenDocumentFile(path)) m_pRecentFileList->Remove(nIndex);
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pRecentFileList && m_pRecentFileList->GetSize() > 0);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp() { PlatformReportUnsupported("CWinApp::OnHelp", "no help is shown"); }

// ---- The profile's place -----------------------------------------------------------

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    std::free(const_cast<char*>(m_pszRegistryKey));
    m_pszRegistryKey = ::strdup(lpszRegistryKey ? lpszRegistryKey : "");
    SetProfileFile(PlatformDefaultProfile(m_pszAppName, m_pszRegistryKey));
}

// Without string resources the id itself names the key.
void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    char key[16];
    std::snprintf(key, sizeof key, "%u", nIDRegistryKey);
    SetRegistryKey(key);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0) return;
    m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", static_cast<int>(std::min(nMaxMRU, 16u)));
    m_pRecentFileList->ReadList();
}

void CWinApp::EnableShellOpen() { PlatformReportUnsupported("CWinApp::EnableShellOpen", "it does nothing"); }

void CWinApp::RegisterShellFileTypes(BOOL) {
    PlatformReportUnsupported("CWinApp::RegisterShellFileTypes", "it does nothing");
}
