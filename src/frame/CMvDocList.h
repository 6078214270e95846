// CMvDocList: a snapshot of every open document of the application, in
// template order and, within a template, in the template's order. The
// documents are gathered into the list base and into m_DocList, and
// GetNextDoc hands them out first to last. The list never deletes them.
#pragma once

#include "containers/CLinkedList.h"
#include "platform/mfc/Collections.h"

class CDocument;

class CBASIS1_API CMvDocList : public CLinkedList<CDocument*> {
public:
    CMvDocList();
    ~CMvDocList() override;

    // The next gathered document, or null after the last.
    CDocument* GetNextDoc();

    CTypedPtrList<CPtrList, CDocument*> m_DocList;
    POSITION m_posNext;
};
