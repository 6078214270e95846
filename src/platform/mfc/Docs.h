// Documents, views and document templates: CDocument, CView, CDocTemplate
// and CMultiDocTemplate.
//
// A view joins its document when it is created with a context naming the
// document, and leaves it when the view object goes. A document with
// m_bAutoDelete set (the default) is closed and deleted when its last view
// leaves. A template keeps its open documents; the application owns the
// templates registered with it (AddDocTemplate).
//
// OnOpenDocument and OnSaveDocument read and write the document's file
// through a CArchive and the document's Serialize. A save goes to a
// temporary file beside the target, which replaces the target only once it
// is whole, so a failed save leaves the old file as it was. A template's
// strings (m_strDocStrings, "title\ndocName\n...") are its string resource
// nIDResource, loaded when the application takes the template, unless set
// before.
//
// Commands reach a view first, then its document, then the document's
// template (platform/mfc/CmdTarget.h). A view paints by calling OnPrepareDC
// and OnDraw with a paint device context; OnUpdate invalidates the view, so
// UpdateAllViews repaints every other view.
#pragma once

#include <functional>

#include "platform/mfc/Collections.h"
#include "platform/mfc/Frames.h"

class CDocTemplate;
struct CPrintInfo;

// ---- CDocument ----------------------------------------------------------------------

class PLATFORM_API CDocument : public CCmdTarget {
    DECLARE_DYNCREATE(CDocument)
public:
    CDocument() = default;
    // Tells the document watchers, leaves the template, and detaches the
    // views that are still there.
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Sets the title and updates the titles of the frames showing it.
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Sets the path and makes its file name the title.
    virtual void SetPathName(LPCTSTR lpszPathName);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CView* pView);
    // Removes the view; the document closes when that was its last view and
    // m_bAutoDelete is set.
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& rPosition) const;
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // Numbers the frames showing the document (m_nWindow 1, 2, ... when
    // there are several, else 0) and updates their titles.
    virtual void UpdateFrameCounts();

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Destroys every frame showing the document, then deletes it when
    // m_bAutoDelete is set.
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    // TRUE when another frame still shows the document, else SaveModified.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // TRUE for a document that is not modified. A modified one asks "Save
    // changes to %s?" (its file name, else its title, else "Untitled") with
    // Yes, No and Cancel (AfxMessageBox): Yes saves (DoFileSave) and answers
    // whether that worked, No answers TRUE and Cancel FALSE (the frame
    // stays). Without a screen the box's hook answers; without a hook the
    // answer is IDOK, which keeps nothing and closes, as No does.
    virtual BOOL SaveModified();
    // Saves to the document's path (OnSaveDocument). There is no "Save As"
    // dialog: a document without a path saves as its OnSaveDocument decides.
    virtual BOOL DoFileSave();
    virtual void OnChangedViewList();
    // Its own map, then its template's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Saves to the path (and, with bReplace, makes it the document's). There
    // is no save dialog here: without a path it says so on stderr and
    // fails.
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    // ID_FILE_SAVE: DoSave to the document's own path. ID_FILE_CLOSE:
    // closes the document when SaveModified allows it.
    afx_msg void OnFileSave();
    afx_msg void OnFileClose();

    BOOL m_bAutoDelete = TRUE;
    BOOL m_bEmbedded = FALSE;

protected:
    friend class CDocTemplate;
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CPtrList m_viewList;
    BOOL m_bModified = FALSE;

    DECLARE_MESSAGE_MAP()
};

// Called with every document that is being destroyed, before its members
// go. Watchers are keyed by an owner pointer; a new watcher of the same
// owner replaces the old one. Calls come on the destroying thread, without
// any lock held.
using DocumentWatcher = std::function<void(CDocument* pDoc)>;
PLATFORM_API void PlatformWatchDocuments(const void* owner, DocumentWatcher watcher);
PLATFORM_API void PlatformUnwatchDocuments(const void* owner);

// ---- CView --------------------------------------------------------------------------

class PLATFORM_API CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CDocument* GetDocument() const { return m_pDocument; }

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;

    // Called by WM_INITIALUPDATE; calls OnUpdate(null, 0, null).
    virtual void OnInitialUpdate();
    // Invalidates the whole view, so it is drawn again.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);
    // Its own map, then its document's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Draws the document's view; the base draws nothing.
    virtual void OnDraw(CDC* pDC);
    // Sets the device context up before OnDraw; the base leaves it as it is.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

protected:
    CView() = default;
    // Leaves the document (which may close it).
    ~CView() override;
    void PostNcDestroy() override;

    // Joins the context's document.
    int OnCreate(LPCREATESTRUCT lpcs);
    // Stops being its frame's active view.
    void OnDestroy();
    // OnPrepareDC, then OnDraw, on the paint device context.
    void OnPaint();

    friend class CDocument;
    CDocument* m_pDocument = nullptr;

    DECLARE_MESSAGE_MAP()
};

// ---- Document templates --------------------------------------------------------------

class PLATFORM_API CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    // Closes the documents still open.
    ~CDocTemplate() override;

    // Part nIndex of m_strDocStrings (parts are separated by '\n'); FALSE
    // with "" when it has no such part.
    virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;
    // Loads m_strDocStrings from string m_nIDResource when it is empty.
    virtual void LoadTemplate();
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;

    // An object of the document class, added to this template; null when
    // the class is missing, not creatable or not a document.
    virtual CDocument* CreateNewDocument();
    // A frame of the frame class for the document, loaded with the view
    // class; null when the class is missing, not a frame, or creation fails.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
};

class PLATFORM_API CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    // A new document in a new frame: untitled (OnNewDocument) when
    // lpszPathName is null, else OnOpenDocument with that path. Null when
    // any step fails; nothing of the attempt is left then.
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // docName with the next number ("Report1"), or "Untitled".
    void SetDefaultTitle(CDocument* pDocument) override;

    CPtrList m_docList;
    UINT m_nUntitledCount = 0;
    // The menu bar of this type's frames (its menu resource), shared by
    // them and destroyed with the template.
    HMENU m_hMenuShared = nullptr;
};
