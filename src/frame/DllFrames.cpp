// CPersistentFrame: frames whose view and child frame classes come from
// DLLs loaded at run time.
#include "frame/CPersistentFrame.h"

#include "frame/CMDIChildFrame.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/Modules.h"

namespace {

using ClassFactory = CRuntimeClass* (*)();

// The class the DLL's factory export gives, or null when there is no such
// export.
CRuntimeClass* ClassFrom(HINSTANCE hInstance, LPCSTR lpszExport) {
    auto pfnFactory = reinterpret_cast<ClassFactory>(::GetProcAddress(hInstance, lpszExport));
    return pfnFactory ? pfnFactory() : nullptr;
}

// A class the document template can make objects of, and of the right kind.
bool Creatable(const CRuntimeClass* pClass, const CRuntimeClass* pKind) {
    return pClass && pClass->m_pfnCreateObject && pClass->IsDerivedFrom(pKind);
}

}  // namespace

int CPersistentFrame::AddDLLFrame(HWND*, CString strDLLName, int* pFrameNo, UINT nIDResource,
                                  CRuntimeClass* pDocClass) {
    return AddFrameFromDLL(strDLLName, pFrameNo, nIDResource, pDocClass, true);
}

int CPersistentFrame::AddDLLView(HWND*, CString strDLLName, int* pFrameNo, UINT nIDResource,
                                 CRuntimeClass* pDocClass) {
    return AddFrameFromDLL(strDLLName, pFrameNo, nIDResource, pDocClass, false);
}

int CPersistentFrame::LoadDLLFrame(HWND* pWnd, CString strDLLName, int* pFrameNo, UINT nIDResource,
                                   CRuntimeClass* pDocClass) {
    int nFrameNo = 0;
    if (!AddDLLFrame(pWnd, strDLLName, &nFrameNo, nIDResource, pDocClass)) return 0;
    if (pFrameNo) *pFrameNo = nFrameNo;
    NewFocus(nFrameNo);
    return 1;
}

// A DLL that loads but cannot supply a view is refused like one that does
// not load: the same message, its load released, nothing registered.
int CPersistentFrame::AddFrameFromDLL(const CString& strDLLName, int* pFrameNo, UINT nIDResource,
                                      CRuntimeClass* pDocClass, bool bFrameFromDLL) {
    if (!pDocClass) pDocClass = m_pDefaultDocClass;
    HINSTANCE hInstance = AfxLoadLibrary(strDLLName);
    CFrame* pFrame = nullptr;
    int nFrameNo = 0;
    CRuntimeClass* pViewClass = hInstance ? ClassFrom(hInstance, "GetDllView") : nullptr;
    if (Creatable(pViewClass, RUNTIME_CLASS(CView))) {
        // A null child frame class becomes CMDIChildFrame in the registry.
        CRuntimeClass* pFrameClass =
            bFrameFromDLL ? ClassFrom(hInstance, "GetDllFrame") : RUNTIME_CLASS(CMDIChildFrame);
        if (!pFrameClass || Creatable(pFrameClass, RUNTIME_CLASS(CMDIChildWnd)))
            pFrame = AddFrame(&nFrameNo, nIDResource, pDocClass, pFrameClass, pViewClass, hInstance);
    }
    if (!pFrame) {
        if (hInstance) ::FreeLibrary(hInstance);
        CString strMessage;
        strMessage.Format("Failed to load %s", static_cast<LPCTSTR>(strDLLName));
        AfxMessageBox(strMessage, MB_OK, 0);
        return 0;
    }
    if (pFrameNo) *pFrameNo = nFrameNo;
    return 1;
}
