// CFrame and DocHandle: the records of the main frame's registry of
// numbered frames and of documents. Both are plain records that the
// registry's lists store as byte copies.
#pragma once

#include "platform/mfc/Docs.h"

class CMultiDocTemplate;

// One registered frame: the classes it is made of, its document template
// and the MDI child frame that last showed it.
class CBASIS1_API CFrame {
public:
    CFrame()
        : hWnd(nullptr), pFrameWnd(nullptr), hInstance(nullptr), pTemplate(nullptr), pDocClass(nullptr),
          pFrameClass(nullptr), pViewClass(nullptr), nFrameNo(0) {}
    CFrame(const CFrame&) = default;
    CFrame& operator=(const CFrame&) = default;

    // Keeps the three classes and makes a document template of them,
    // registered with (and from then on owned by) the running application.
    // Without an application, or when memory runs out, pTemplate stays
    // null: no template is made that nothing would own.
    void CreateMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                CRuntimeClass* pViewClass);

    HWND hWnd;                     // the child frame's window, or null
    CFrameWnd* pFrameWnd;          // the child frame's object
    HINSTANCE hInstance;           // the DLL that supplied the classes, or null
    CMultiDocTemplate* pTemplate;  // owned by the application
    CRuntimeClass* pDocClass;
    CRuntimeClass* pFrameClass;
    CRuntimeClass* pViewClass;
    int nFrameNo;                  // positive, unique in the registry
};

// One registered document; the record does not own it.
struct CBASIS1_API DocHandle {
    DocHandle() : nReserved(0), pDoc(nullptr) {}
    DocHandle(const DocHandle&) = default;
    DocHandle& operator=(const DocHandle&) = default;

    int nReserved;  // always 0
    CDocument* pDoc;
};
