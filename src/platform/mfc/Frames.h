// Frame windows: CFrameWnd, the MDI frame and child (CMDIFrameWnd,
// CMDIChildWnd) and the static splitter (CSplitterWnd).
//
// Frames are heap objects that delete themselves after their window is
// destroyed. A frame's client area holds one pane with the id
// AFX_IDW_PANE_FIRST (a view, a splitter or the MDI client), kept at the
// size of the frame.
//
// The MDI frame's client is a platform window that keeps the MDI children:
// which one is active (MDIGetActive) and the order in which they were
// active. Activating a child sends WM_MDIACTIVATE (wParam: the child losing
// activation, lParam: the child gaining it) to both; when the active child
// is destroyed or hidden, the child active before it takes over. While a
// maximized child is active, the next one activated is maximized in its
// place.
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/user/Accelerators.h"

class CDocument;
class CView;
class CDocTemplate;
class CMDIChildWnd;
class CControlBar;

#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// Frame styles: the caption carries the active document's title
// ("App - Doc"), or with FWS_PREFIXTITLE the other way round.
#define FWS_ADDTOTITLE 0x00008000u
#define FWS_PREFIXTITLE 0x00004000u

#define MDITILE_VERTICAL 0x0000
#define MDITILE_HORIZONTAL 0x0001

// Sent to every view and pane of a frame by InitialUpdateFrame.
#define WM_INITIALUPDATE 0x0364

// What a frame and its views are made from (document templates fill it).
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// ---- CFrameWnd --------------------------------------------------------------------

class PLATFORM_API CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;

    // CW_USEDEFAULT placement: top-level frames open at (0, 0) with three
    // quarters of the screen, MDI children cascade inside the client.
    static const CRect rectDefault;

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame with its title: m_strTitle when set, else the first
    // part of string nIDResource ("Title\n..."), else the application's
    // name. The accelerator table nIDResource, when there is one, becomes
    // the frame's.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    // Makes the view active; the old one gets OnActivateView(FALSE, ...),
    // the new one OnActivateView(TRUE, ...) when bNotify is set.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    // This frame; an MDI frame answers its active child.
    virtual CFrameWnd* GetActiveFrame();
    virtual CDocument* GetActiveDocument();
    // Shows the frame: -1 shows a hidden frame normal and restores a
    // minimized one.
    virtual void ActivateFrame(int nCmdShow = -1);
    // Picks the first pane as the active view when there is none; with
    // bMakeVisible sends WM_INITIALUPDATE to every descendant and activates
    // the frame; then updates the document's frame counts and the title.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // Sizes the pane AFX_IDW_PANE_FIRST to the client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Routes a command to the active view, then this frame, then the
    // application (an MDI child routed by its main frame leaves the
    // application to the main frame, which asks it last).
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Control bars and docking: declared for hosts, not supported yet
    // (each says so once on stderr).
    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = 0);
    CControlBar* GetControlBar(UINT nID);
    // The status bar's message pane: there is none yet (says so on stderr).
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    // The accelerator table of that name (AfxFindResourceHandle) becomes the
    // frame's; FALSE when there is none or the frame has one already.
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);
    // Key messages go through the frame's accelerator table; a key that is
    // an accelerator becomes its WM_COMMAND and goes no further.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    HACCEL m_hAccelTable = nullptr;

    int m_nWindow = 0;  // n of "Doc:n" when a document shows in several frames, else 0
    BOOL m_bAutoMenuEnable = TRUE;  // commands without a handler show disabled

protected:
    // Creates the view of the context, when it names a view class.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    void PostNcDestroy() override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    // Asks the active document; for the main window saves and closes every
    // document; closes the document with its last frame; destroys the frame.
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);

    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    UINT m_nIDHelp = 0;

    DECLARE_MESSAGE_MAP()
};

// ---- MDI ----------------------------------------------------------------------------

class PLATFORM_API CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd() = default;

    // The active child, or null; *pbMaximized tells whether it is maximized.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    // Activates the child that was active before the current one.
    void MDINext();
    // The arrangements of the Window menu's commands: children cascade from
    // the client's top-left corner by 24 pixels, or share the client side by
    // side (MDITILE_VERTICAL) or one above the other (MDITILE_HORIZONTAL).
    // Minimized children stay where they are.
    void MDICascade();
    void MDITile(int nType = 0);
    void MDIIconArrange();
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    CFrameWnd* GetActiveFrame() override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // The active child frame first, then this frame as CFrameWnd does.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    HWND m_hWndMDIClient = nullptr;

protected:
    // Creates the MDI client.
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    // ID_WINDOW_NEW: another frame on the active document, from its
    // template. ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_TILE_VERT
    // and ID_WINDOW_ARRANGE arrange the children; all of them are enabled
    // only while a child is open.
    void OnWindowNew();
    BOOL OnMDIWindowCmd(UINT nID);
    void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};

class PLATFORM_API CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd() = default;

    // Creates the child inside the MDI client of pParentWnd (of the
    // application's main window when null), hidden until ActivateFrame.
    // FALSE when there is no MDI frame to hold it.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    CMDIFrameWnd* GetMDIFrame() const;
    // The child's own table first; its commands go to the MDI frame, which
    // routes them to the active child. The main frame's table comes after,
    // as the message walks up to it.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void MDIActivate();
    // -1 keeps a maximized arrangement maximized; showing activates the
    // child, hiding the active child activates the one before it.
    void ActivateFrame(int nCmdShow = -1) override;
    // Updates the MDI frame's title, then (with FWS_ADDTOTITLE) its own:
    // the document's title, with ":n" when it shows in several frames.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    // WM_MDIACTIVATE: the active view is told, and the titles updated.
    virtual void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()
};

// ---- CSplitterWnd ---------------------------------------------------------------------

class PLATFORM_API CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd() = default;

    // A grid of 1 to 16 rows and columns of panes, filled by CreateView.
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // Creates an object of pViewClass in the empty pane (row, col) at
    // (0, 0) with sizeInit, which also becomes the row's and column's ideal
    // size. FALSE for a pane outside the grid or taken, a class that is not
    // a window, or a refused creation.
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);
    // The pane's window, or null (outside the grid or empty).
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    // Rows and columns take their ideal sizes; the last ones take the rest.
    virtual void RecalcLayout();

protected:
    void OnSize(UINT nType, int cx, int cy);

    int m_nRows = 0;
    int m_nCols = 0;
    int m_nRowIdeal[16] = {};
    int m_nColIdeal[16] = {};

    DECLARE_MESSAGE_MAP()
};
