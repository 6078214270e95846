// CFrame: making a frame's document template.
#include "frame/FrameRecords.h"

#include <new>

#include "platform/mfc/App.h"

void CFrame::CreateMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDoc, CRuntimeClass* pFrame,
                                    CRuntimeClass* pView) {
    pDocClass = pDoc;
    pFrameClass = pFrame;
    pViewClass = pView;
    pTemplate = nullptr;
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return;
    pTemplate = new (std::nothrow) CMultiDocTemplate(nIDResource, pDoc, pFrame, pView);
    if (pTemplate) pApp->AddDocTemplate(pTemplate);
}
