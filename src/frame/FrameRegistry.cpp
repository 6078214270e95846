// CPersistentFrame: registering frames and documents, and opening or
// activating a frame on request.
#include "frame/CPersistentFrame.h"

#include <vector>

#include "platform/mfc/App.h"

CFrame* CPersistentFrame::AddFrame1(int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass,
                                    CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass) {
    UINT nFrameNo;
    GetUniqueFrameNo(nFrameNo);
    if (pFrameNo) *pFrameNo = static_cast<int>(nFrameNo);
    CheckForDefaults(nIDResource, pDocClass, pFrameClass);
    CFrame record;
    record.CreateMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass);
    record.nFrameNo = static_cast<int>(nFrameNo);
    if (!m_Frames.Add(&record)) return nullptr;
    return m_Frames.m_pTail->pValue;
}

CFrame* CPersistentFrame::AddFrame(int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass,
                                   CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass) {
    return AddFrame1(pFrameNo, nIDResource, pDocClass, pFrameClass, pViewClass);
}

CFrame* CPersistentFrame::AddFrame(int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass,
                                   CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass, HINSTANCE hInstance) {
    CFrame* pFrame = AddFrame1(pFrameNo, nIDResource, pDocClass, pFrameClass, pViewClass);
    if (pFrame) pFrame->hInstance = hInstance;
    return pFrame;
}

void CPersistentFrame::NewFocus(int nFrameNo) {
    CFrame* pFrame = GetFrame(nFrameNo);
    if (!pFrame) return;
    if (!::IsWindow(pFrame->hWnd)) {
        CreateDocument(pFrame);
        return;
    }
    if (CFrameWnd* pFrameWnd = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandle(pFrame->hWnd)))
        pFrameWnd->ActivateFrame(-1);
}

void CPersistentFrame::CreateDocument(CFrame* pFrame) {
    if (!pFrame || !pFrame->pTemplate) return;
    CDocument* pDoc = GetDoc(pFrame);
    if (!pDoc) {
        if (!OpenNewDocument(pFrame)) return;
        pFrame->pFrameWnd = GetActiveFrame();
        pFrame->hWnd = pFrame->pFrameWnd->m_hWnd;
        return;
    }
    CMDIChildWnd* pActiveChild = MDIGetActive();
    CFrameWnd* pNewFrame = pFrame->pTemplate->CreateNewFrame(pDoc, pActiveChild);
    if (!pNewFrame) return;
    pFrame->pTemplate->InitialUpdateFrame(pNewFrame, pDoc, TRUE);
    pFrame->pFrameWnd = pNewFrame;
    pFrame->hWnd = pNewFrame->m_hWnd;
}

void CPersistentFrame::OpenDocument(CFrame* pFrame) { OpenNewDocument(pFrame); }

CDocument* CPersistentFrame::OpenNewDocument(CFrame* pFrame) {
    if (!pFrame || !pFrame->pTemplate) return nullptr;
    return pFrame->pTemplate->OpenDocumentFile(nullptr, TRUE);
}

CDocument* CPersistentFrame::GetDoc(CRuntimeClass* pDocClass) {
    for (auto* node = m_Docs.MoveFirst(); node; node = m_Docs.MoveNext()) {
        CDocument* pDoc = node->pValue->pDoc;
        if (pDoc && pDoc->GetRuntimeClass() == pDocClass) return pDoc;
    }
    return nullptr;
}

CDocument* CPersistentFrame::GetDoc(CFrame* pFrame) { return pFrame ? GetDoc(pFrame->pDocClass) : nullptr; }

void CPersistentFrame::AddDoc(CDocument* pDoc) {
    WriteToDebug("CPersistentFrame::AddDoc");
    if (!pDoc) return;
    for (auto* node = m_Docs.MoveFirst(); node; node = m_Docs.MoveNext()) {
        WriteToDebug("pDocs->First()");
        if (node->pValue->pDoc == pDoc) {
            WriteToDebug("pRecord->pDoc == pDoc");
            return;
        }
    }
    WriteToDebug("DocHandle Record");
    DocHandle record;
    record.pDoc = pDoc;
    m_Docs.Add(&record);
}

CView* CPersistentFrame::GetActiveView() {
    CMDIChildWnd* pChild = MDIGetActive();
    return pChild ? pChild->GetActiveView() : nullptr;
}

// The list has no removal of single records: the others are stored anew,
// in their order.
void CPersistentFrame::ForgetDocument(CDocument* pDoc) {
    std::vector<DocHandle> kept;
    bool found = false;
    for (auto* node = m_Docs.MoveFirst(); node; node = m_Docs.MoveNext()) {
        if (node->pValue->pDoc == pDoc)
            found = true;
        else
            kept.push_back(*node->pValue);
    }
    if (!found) return;
    m_Docs.RemoveAll();
    for (DocHandle& record : kept) m_Docs.Add(&record);
}
