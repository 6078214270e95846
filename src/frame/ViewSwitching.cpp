// CUtils::SwitchViewInSplitter: a pane's view replaced, in place, by a view
// of another class on the same document.
#include "files/CUtils.h"
#include "platform/mfc/Docs.h"

void CUtils::SwitchViewInSplitter(CSplitterWnd* pSplitter, int row, int column, CRuntimeClass* pViewClass,
                                  bool bInitialUpdate) {
    if (!pSplitter) return;
    CView* pOldView = DYNAMIC_DOWNCAST(CView, pSplitter->GetPane(row, column));
    if (!pOldView) return;
    CRect rect;
    pOldView->GetWindowRect(&rect);
    CFrameWnd* pFrame = pSplitter->GetParentFrame();
    bool bActivate = pFrame && (!pFrame->GetActiveView() || pFrame->GetActiveView() == pOldView);

    CDocument* pDoc = pOldView->GetDocument();
    BOOL bAutoDelete = pDoc ? pDoc->m_bAutoDelete : FALSE;
    if (pDoc) pDoc->m_bAutoDelete = FALSE;  // losing its only view must not delete the document
    pOldView->DestroyWindow();
    if (pDoc) pDoc->m_bAutoDelete = bAutoDelete;

    CCreateContext context;
    context.m_pNewViewClass = pViewClass;
    context.m_pCurrentDoc = pDoc;
    pSplitter->CreateView(row, column, pViewClass, CSize(rect.Width(), rect.Height()), &context);
    CWnd* pNewPane = pSplitter->GetPane(row, column);
    if (!pNewPane) {
        m_strError = "The view could not be created.";
        return;
    }
    pSplitter->ScreenToClient(&rect);
    pNewPane->MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    CView* pNewView = DYNAMIC_DOWNCAST(CView, pNewPane);
    if (!pNewView) return;
    if (bActivate) pFrame->SetActiveView(pNewView, TRUE);
    if (bInitialUpdate)
        if (CFrameWnd* pViewFrame = pNewView->GetParentFrame()) pViewFrame->InitialUpdateFrame(pDoc, TRUE);
    pNewView->OnInitialUpdate();
}
