// CMvDocList: gathering the application's documents.
#include "frame/CMvDocList.h"

#include "platform/mfc/App.h"

CMvDocList::CMvDocList() : m_DocList(10), m_posNext(nullptr) {
    if (CWinApp* pApp = AfxGetApp())
        for (POSITION posTemplate = pApp->GetFirstDocTemplatePosition(); posTemplate;) {
            CDocTemplate* pTemplate = pApp->GetNextDocTemplate(posTemplate);
            for (POSITION posDoc = pTemplate->GetFirstDocPosition(); posDoc;) {
                CDocument* pDoc = pTemplate->GetNextDoc(posDoc);
                Add(&pDoc);
                m_DocList.AddTail(pDoc);
            }
        }
    m_posNext = m_DocList.GetHeadPosition();
}

CMvDocList::~CMvDocList() {
    RemoveAll();
    m_DocList.RemoveAll();
    m_posNext = nullptr;
}

CDocument* CMvDocList::GetNextDoc() {
    if (!m_posNext) return nullptr;
    return m_DocList.GetNext(m_posNext);
}
