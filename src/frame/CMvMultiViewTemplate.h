// CMvMultiViewTemplate: a multi-document template that remembers the
// document it opened last and carries a list of further view templates.
// The list never owns the templates, and opening a document opens no view
// of them: they are kept for the host to use.
#pragma once

#include "platform/mfc/Docs.h"

class CBASIS1_API CMvMultiViewTemplate : public CMultiDocTemplate {
    DECLARE_DYNAMIC(CMvMultiViewTemplate)
public:
    CMvMultiViewTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                         CRuntimeClass* pViewClass);
    ~CMvMultiViewTemplate() override;

    // Appends t to m_ViewTemplates.
    void AddViewTemplate(CMultiDocTemplate* pTemplate);
    // The base template's result, also kept in m_pOpenedDoc.
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;

    CDocument* m_pOpenedDoc;
    CTypedPtrList<CPtrList, CMultiDocTemplate*> m_ViewTemplates;
};
