// CMvMultiViewTemplate: the opened document and the view template list.
#include "frame/CMvMultiViewTemplate.h"

IMPLEMENT_DYNAMIC(CMvMultiViewTemplate, CMultiDocTemplate)

CMvMultiViewTemplate::CMvMultiViewTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                           CRuntimeClass* pViewClass)
    : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_pOpenedDoc(nullptr),
      m_ViewTemplates(10) {}

CMvMultiViewTemplate::~CMvMultiViewTemplate() { m_ViewTemplates.RemoveAll(); }

void CMvMultiViewTemplate::AddViewTemplate(CMultiDocTemplate* pTemplate) { m_ViewTemplates.AddTail(pTemplate); }

CDocument* CMvMultiViewTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    m_pOpenedDoc = CMultiDocTemplate::OpenDocumentFile(lpszPathName, bMakeVisible);
    return m_pOpenedDoc;
}
