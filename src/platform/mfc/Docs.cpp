// Documents, views and document templates.
#include "platform/mfc/Docs.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/kernel/FileApi.h"
#include "platform/mfc/App.h"
#include "platform/mfc/Archive.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/StandardIds.h"
#include "platform/mfc/Unsupported.h"
#include "platform/shared/NoDestructor.h"

namespace {

// ---- Document watchers ------------------------------------------------------------------

struct Watchers {
    std::mutex lock;
    std::vector<std::pair<const void*, DocumentWatcher>> list;
};

Watchers& watchers() {
    static NoDestructor<Watchers> w;  // documents may die in static destructors
    return *w;
}

void notifyDestroyed(CDocument* pDoc) {
    std::vector<DocumentWatcher> calls;
    {
        Watchers& w = watchers();
        std::lock_guard<std::mutex> guard(w.lock);
        for (const auto& entry : w.list) calls.push_back(entry.second);
    }
    for (const DocumentWatcher& call : calls) call(pDoc);
}

}  // namespace

void PlatformWatchDocuments(const void* owner, DocumentWatcher watcher) {
    Watchers& w = watchers();
    std::lock_guard<std::mutex> guard(w.lock);
    std::erase_if(w.list, [owner](const auto& entry) { return entry.first == owner; });
    if (watcher) w.list.emplace_back(owner, std::move(watcher));
}

void PlatformUnwatchDocuments(const void* owner) { PlatformWatchDocuments(owner, nullptr); }

// ---- CDocument ----------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CDocument, CCmdTarget)

CDocument::~CDocument() {
    notifyDestroyed(this);
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;)
        static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
    m_viewList.RemoveAll();
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName) {
    m_strPathName = lpszPathName;
    int slash = std::max(m_strPathName.ReverseFind('\\'), m_strPathName.ReverseFind('/'));
    SetTitle(m_strPathName.Mid(slash + 1));
}

void CDocument::AddView(CView* pView) {
    if (!pView || m_viewList.Find(pView)) return;
    if (pView->m_pDocument) pView->m_pDocument->RemoveView(pView);
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    POSITION pos = m_viewList.Find(pView);
    if (!pos) return;
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

CView* CDocument::GetNextView(POSITION& rPosition) const { return static_cast<CView*>(m_viewList.GetNext(rPosition)); }

void CDocument::OnChangedViewList() {
    if (m_bAutoDelete && m_viewList.IsEmpty()) {
        OnCloseDocument();  // deletes this
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts() {
    // Frames showing a visible view, each counted once, in view order.
    std::vector<CFrameWnd*> frames;
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CView* pView = GetNextView(pos);
        if (!pView->IsWindowVisible()) continue;
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame && std::find(frames.begin(), frames.end(), pFrame) == frames.end()) frames.push_back(pFrame);
    }
    int n = 0;
    for (CFrameWnd* pFrame : frames) {
        pFrame->m_nWindow = frames.size() == 1 ? 0 : ++n;
        pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CView* pView = GetNextView(pos);
        if (pView != pSender) pView->OnUpdate(pSender, lHint, pHint);
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

namespace {

// Tells the user why the document could not be read or written, as the
// exception describes it, and takes the exception.
void reportFailure(CException* e, LPCTSTR lpszPathName, LPCTSTR lpszWhat) {
    char message[512] = "";
    e->GetErrorMessage(message, sizeof message);
    CString text;
    text.Format("%s %s.\n%s", lpszWhat, lpszPathName, message);
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    e->Delete();
}

}  // namespace

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    CFile file;
    CFileException fe;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe)) {
        reportFailure(new CFileException(fe.m_cause, fe.m_lOsError, lpszPathName), lpszPathName, "Cannot open");
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE);  // half-read contents count as changed
    try {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
    } catch (CException* e) {
        file.Abort();
        DeleteContents();
        reportFailure(e, lpszPathName, "Cannot read");
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

// The document goes to a new file beside the target, which takes the
// target's place only when it is whole.
BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
    CString temp;
    CFile file;
    if (!PlatformCreateTempFile(lpszPathName, temp, file)) {
        reportFailure(new CFileException(CFileException::OsErrorToException(static_cast<LONG>(GetLastError())),
                                         static_cast<LONG>(GetLastError()), lpszPathName),
                      lpszPathName, "Cannot save");
        return FALSE;
    }
    try {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (CException* e) {
        file.Abort();
        DeleteFileA(temp);
        reportFailure(e, lpszPathName, "Cannot save");
        return FALSE;
    }
    if (!MoveFileExA(temp, lpszPathName, MOVEFILE_REPLACE_EXISTING)) {
        auto error = static_cast<LONG>(GetLastError());
        DeleteFileA(temp);
        reportFailure(new CFileException(CFileException::OsErrorToException(error), error, lpszPathName), lpszPathName,
                      "Cannot save");
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
END_MESSAGE_MAP()

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
    if (!lpszPathName || !*lpszPathName) {
        PlatformReportUnsupported("CDocument::DoSave without a path (there is no save dialog)");
        return FALSE;
    }
    if (!OnSaveDocument(lpszPathName)) return FALSE;
    if (bReplace) SetPathName(lpszPathName);
    return TRUE;
}

void CDocument::OnFileSave() { DoSave(m_strPathName.IsEmpty() ? nullptr : static_cast<LPCTSTR>(m_strPathName)); }

void CDocument::OnFileClose() {
    if (SaveModified()) OnCloseDocument();
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnCloseDocument() {
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;  // losing the views must not delete the document half way
    while (!m_viewList.IsEmpty()) {
        auto* pView = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* pFrame = pView->GetParentFrame();
        BOOL destroyed = pFrame ? pFrame->DestroyWindow() : pView->DestroyWindow();
        if (!destroyed && m_viewList.GetHead() == pView) RemoveView(pView);  // a window that would not go
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg) {
    for (POSITION pos = GetFirstViewPosition(); pos;)
        if (GetNextView(pos)->GetParentFrame() != pFrameArg) return TRUE;
    return SaveModified();
}

BOOL CDocument::SaveModified() {
    if (!IsModified()) return TRUE;
    // The document's file name, or its title while it has no file.
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName.Mid(m_strPathName.ReverseFind('\\') + 1);
    if (name.IsEmpty()) name = "Untitled";
    CString prompt;
    prompt.Format("Save changes to %s?", static_cast<LPCTSTR>(name));
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;  // No: the changes go
    }
}

BOOL CDocument::DoFileSave() { return OnSaveDocument(m_strPathName); }

// ---- CView ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_MESSAGE_VOID(WM_INITIALUPDATE, OnInitialUpdate)
END_MESSAGE_MAP()

CView::~CView() {
    if (m_pDocument) m_pDocument->RemoveView(this);
}

BOOL CView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                   UINT nID, CCreateContext* pContext) {
    return CWnd::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) return -1;
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext && pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy() {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->GetActiveView() == this) pFrame->SetActiveView(nullptr);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy() { delete this; }

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnDraw(CDC*) {}

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

// An activated view takes the keyboard when its window is the active one.
void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
    if (!bActivate || pActivateView != this || !m_hWnd) return;
    HWND hTop = m_hWnd;
    while (HWND hParent = ::GetParent(hTop)) hTop = hParent;
    if (::GetActiveWindow() == hTop) SetFocus();
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

// ---- CDocTemplate ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const {
    const std::string& all = m_strDocStrings.str();
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = all.find('\n', start);
        if (start == std::string::npos) {
            rString.Empty();
            return FALSE;
        }
        ++start;
    }
    size_t end = all.find('\n', start);
    rString = CString(all.substr(start, end == std::string::npos ? std::string::npos : end - start));
    return TRUE;
}

void CDocTemplate::LoadTemplate() {
    if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

CDocument* CDocTemplate::CreateNewDocument() {
    if (!m_pDocClass) return nullptr;
    CObject* pObject = m_pDocClass->CreateObject();
    CDocument* pDoc = DYNAMIC_DOWNCAST(CDocument, pObject);
    if (!pDoc) {
        delete pObject;
        return nullptr;
    }
    AddDocument(pDoc);
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    if (!m_pFrameClass) return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* pObject = m_pFrameClass->CreateObject();
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pObject);
    if (!pFrame) {
        delete pObject;
        return nullptr;
    }
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;  // the frame deleted itself
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    if (pFrame) pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    for (POSITION pos = GetFirstDocPosition(); pos;)
        if (!GetNextDoc(pos)->SaveModified()) return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    std::vector<CDocument*> docs;  // closing one document may close others
    for (POSITION pos = GetFirstDocPosition(); pos;) docs.push_back(GetNextDoc(pos));
    for (CDocument* pDoc : docs) {
        bool stillOpen = false;
        for (POSITION pos = GetFirstDocPosition(); pos && !stillOpen;) stillOpen = GetNextDoc(pos) == pDoc;
        if (stillOpen) pDoc->OnCloseDocument();
    }
}

// ---- CMultiDocTemplate ------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {
    m_hMenuShared = PlatformLoadFrameMenu(nIDResource);
}

// Documents that do not delete themselves when closed stay, without a
// template.
CMultiDocTemplate::~CMultiDocTemplate() {
    CloseAllDocuments(TRUE);
    while (!m_docList.IsEmpty()) RemoveDocument(static_cast<CDocument*>(m_docList.GetHead()));
    if (m_hMenuShared) ::DestroyMenu(m_hMenuShared);
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const {
    return static_cast<CDocument*>(m_docList.GetNext(rPos));
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    if (POSITION pos = m_docList.Find(pDoc)) m_docList.RemoveAt(pos);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDocument = CreateNewDocument();
    if (!pDocument) {
        AfxMessageBox("Failed to create empty document.");
        return nullptr;
    }
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;  // a failed frame must not take the document with it
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (!pFrame) {
        AfxMessageBox("Failed to create empty document.");
        delete pDocument;
        return nullptr;
    }
    if (!lpszPathName) {
        SetDefaultTitle(pDocument);
        if (!bMakeVisible) pDocument->m_bEmbedded = TRUE;
    }
    if (!(lpszPathName ? pDocument->OnOpenDocument(lpszPathName) : pDocument->OnNewDocument())) {
        // The frame's views take an auto-deleting document with them; any
        // other goes here.
        bool bGoesWithViews = pDocument->m_bAutoDelete && pDocument->GetFirstViewPosition();
        pFrame->DestroyWindow();
        if (!bGoesWithViews) delete pDocument;
        return nullptr;
    }
    if (lpszPathName)
        pDocument->SetPathName(lpszPathName);
    else
        ++m_nUntitledCount;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString name;
    if (GetDocString(name, docName) && !name.IsEmpty())
        name += CString(std::to_string(m_nUntitledCount + 1));
    else
        name = "Untitled";
    pDocument->SetTitle(name);
}
