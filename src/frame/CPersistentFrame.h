// CPersistentFrame: the MDI main frame that keeps its placement in the
// application profile, a registry of numbered frames and of documents, and
// a trace of its start-up in app-dbg.txt beside the executable.
//
// Sections of the implementation: CPersistentFrame.cpp (placement, close,
// defaults and look-ups), FrameRegistry.cpp (frames and documents),
// DllFrames.cpp (frames whose classes come from DLLs), ClipboardText.cpp
// (clipboard text and the Edit commands), DebugTrace.cpp (the trace file).
//
// The registry follows the documents: a registered document that is
// destroyed (by its last view going, by a close, by the host) leaves m_Docs
// at once, so no record ever points at a deleted document. Requests for a
// frame number that is not registered are ignored.
//
// The DLLs that supplied frames are released when the frame object goes,
// which is after its window and every child window are gone (however the
// window was closed): once per successful load, and never while a window of
// theirs can still run.
#pragma once

#include "containers/CLinkedList.h"
#include "frame/FrameRecords.h"
#include "platform/mfc/Frames.h"

// wParam: the number of the frame to show.
#define WM_NEWFOCUS (WM_USER + 40)

class COleDataObject;

class CBASIS1_API CPersistentFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CPersistentFrame)
protected:
    // The centred default rectangle: 75% of the full-screen area.
    CPersistentFrame();
    ~CPersistentFrame() override;

public:
    // Clears FWS_ADDTOTITLE: the main caption never carries a document title.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Keeps the defaults and, while m_bFirstTime is set, applies the stored
    // placement and returns the show command to use in nCmdShow.
    void InitializeCoordinates(int& nCmdShow, UINT nIDResource, CRuntimeClass* pDocClass);
    // Replaces zero arguments by m_nDefaultResourceID, m_pDefaultDocClass and
    // the CMDIChildFrame class.
    void CheckForDefaults(UINT& nIDResource, CRuntimeClass*& pDocClass, CRuntimeClass*& pFrameClass);
    // The smallest positive number no frame uses; returns 1.
    int GetUniqueFrameNo(UINT& nFrameNo);
    // The first record with that number, or null.
    CFrame* GetFrame(int nFrameNo);
    // The number of the frame whose window is the active MDI child; *pFrameNo
    // is left alone when there is none.
    void Get_Current_Frame_No(int* pFrameNo);
    void MakeDebugName();
    void WriteToDebug(CString strText);

    // Registers a frame: a new number (stored in *pFrameNo), the defaults
    // for zero arguments, and a document template. Returns the stored record,
    // or null when the registry could not store it.
    CFrame* AddFrame1(int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    CFrame* AddFrame(int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                     CRuntimeClass* pViewClass);
    CFrame* AddFrame(int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                     CRuntimeClass* pViewClass, HINSTANCE hInstance);
    // Activates frame n's open child, or makes one (on its registered
    // document, else on a new one).
    void NewFocus(int nFrameNo);
    // Makes a child frame for the record and records it there. A failed
    // attempt leaves the record as it was.
    void CreateDocument(CFrame* pFrame);
    // A new document in a new child frame from the record's template.
    void OpenDocument(CFrame* pFrame);
    // The first registered document of exactly that class (of the record's
    // document class), or null.
    CDocument* GetDoc(CRuntimeClass* pDocClass);
    CDocument* GetDoc(CFrame* pFrame);
    // Registers the document once; null is ignored.
    void AddDoc(CDocument* pDoc);
    // The active MDI child's active view, or null.
    CView* GetActiveView();

    // Register a frame whose view class comes from the DLL's "GetDllView"
    // export and whose child frame class is the one of its "GetDllFrame"
    // export when it has one (AddDLLFrame), or always CMDIChildFrame
    // (AddDLLView); LoadDLLFrame also shows the frame (NewFocus). The DLL
    // stays loaded until the frame object goes. 1 with the frame's number in
    // *pFrameNo; 0, with the message "Failed to load <name>", nothing
    // registered and the load released, when the DLL cannot be loaded,
    // exports no "GetDllView", or does not supply a creatable view and MDI
    // child frame class. pWnd is not used and may be null.
    int AddDLLFrame(HWND* pWnd, CString strDLLName, int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass);
    int AddDLLView(HWND* pWnd, CString strDLLName, int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass);
    int LoadDLLFrame(HWND* pWnd, CString strDLLName, int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass);

    // Takes the data object's CF_TEXT into m_strClipText (up to its first
    // zero byte, never past its block) and makes it the whole text of the
    // window with the focus. false when there is no text (m_strClipText is
    // left alone) or no window has the focus (m_strClipText has the text).
    bool DoPasteText(COleDataObject* pDataObject);
    // A new COleDataSource holding m_strClipText as CF_TEXT, which the
    // caller owns; null when the text is empty or memory ran out.
    void* SaveText();
    // Let the active view save its controls' data (UpdateData(TRUE)), then
    // send WM_COPY, WM_CUT or WM_PASTE to the window with the focus.
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();

    CRect m_rcNormal;
    short m_nIconic;
    short m_nMaximized;
    CString m_strSection;
    int m_bFirstTime;
    UINT m_nDefaultResourceID;
    CRuntimeClass* m_pDefaultDocClass;
    RECT m_rcDefault;
    CLinkedList<DocHandle> m_Docs;
    CLinkedList<CFrame> m_Frames;
    CString m_strClipText;
    CString m_strDebugFile;
    int m_nDebugState;  // 510 once the trace file's name is made

protected:
    // Saves the placement in the profile.
    void OnDestroy();
    // Closes every MDI child, then the frame. A child that stays open
    // cancels the close.
    void OnClose();
    LRESULT OnNewFocus(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CDocument* OpenNewDocument(CFrame* pFrame);
    void ForgetDocument(CDocument* pDoc);
    int AddFrameFromDLL(const CString& strDLLName, int* pFrameNo, UINT nIDResource, CRuntimeClass* pDocClass,
                        bool bFrameFromDLL);
    void SendToFocus(UINT message);
};
