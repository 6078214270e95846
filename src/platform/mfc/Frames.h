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

#include <vector>

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
    // name. The menu nIDResource, when the module has one, becomes its menu
    // bar (m_hMenuDefault, which the frame owns) and the accelerator table
    // nIDResource, when there is one, the frame's.
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
    // Lays the menu bar over the top of the client area, the visible control
    // bars along the edges they are docked to (tool bars at the top, status
    // bars at the bottom, in creation order), and the pane
    // AFX_IDW_PANE_FIRST in what is left.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Shows hMenuAlt, or the frame's own menu, as the menu bar.
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Routes a command to the active view, then this frame, then the
    // application (an MDI child routed by its main frame leaves the
    // application to the main frame, which asks it last).
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Control bars (ControlBars.h). Bars stay on the edge they were created
    // for: docking records the styles only, floating is not supported (it
    // says so once on stderr and leaves the bar docked).
    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // Shows or hides the bar and lays the frame out again.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = 0);
    // The bar with the window id, or null.
    CControlBar* GetControlBar(UINT nID);
    // The status bar's message pane (the bar AFX_IDW_STATUS_BAR): the text,
    // or the prompt of the id (GetMessageString); nothing without a bar.
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    // The id's prompt: its string up to the first "\n" (what follows is the
    // tool tip). Empty when the id has no string.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    // The accelerator table of that name (AfxFindResourceHandle) becomes the
    // frame's; FALSE when there is none or the frame has one already.
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);
    // Key messages go through the frame's accelerator table; a key that is
    // an accelerator becomes its WM_COMMAND and goes no further.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    HACCEL m_hAccelTable = nullptr;

    // The frame's control bars, in the order they were created.
    std::vector<CControlBar*> m_listControlBars;

    int m_nWindow = 0;               // n of "Doc:n" when a document shows in several frames, else 0
    BOOL m_bAutoMenuEnable = TRUE;   // commands without a handler show disabled
    HMENU m_hMenuDefault = nullptr;  // the frame's own menu, from its resource

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
    // Before a popup of the menu bar opens: each item's update handler runs
    // (ON_UPDATE_COMMAND_UI, through the command route), and with
    // m_bAutoMenuEnable an item without any handler is disabled.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    // The highlighted item's prompt in the status bar (SetMessageText with
    // its id), the idle message once the menu closes.
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);

    // Lays the visible control bars along their edges of client, leaving in
    // client what is left.
    void RepositionControlBars(CRect& client);
    // ID_INDICATOR_CAPS, _NUM, _SCRL: enabled while the key's toggle is on.
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    // ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR (the ids of the bars they name):
    // the item shows and hides the bar, checked while it shows; disabled
    // when the frame has no such bar.
    BOOL OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    // WM_SETMESSAGESTRING.
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);

    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    UINT m_nIDHelp = 0;
    bool m_bDestroying = false;  // past WM_DESTROY: the menu bar is not changed any more
    UINT m_nIDTracking = 0;      // the id whose prompt the status bar shows
    UINT m_nIDLastMessage = 0;   // the id of the last prompt shown

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

    // The menu bar while a child is active is its document type's shared
    // menu; with none active, hMenuAlt or the frame's own menu.
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    // Shows pFrameMenu as the menu bar with pWindowMenu as the popup that
    // lists the children; the previous menu bar's object, or null.
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
    // The popup of the menu that holds the Window commands (an item with an
    // id from AFX_IDM_WINDOW_FIRST to AFX_IDM_WINDOW_LAST), the last such
    // popup; null when there is none.
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);
    // Lists the visible children at the end of the Window menu, after a
    // separator: "&1 Title" ... with ids AFX_IDM_FIRST_MDICHILD + n, the
    // active one checked. hExcept (a child going away) is left out.
    void UpdateWindowMenu(HWND hExcept = nullptr);

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
    // AFX_IDM_FIRST_MDICHILD + n activates the child listed n-th in the
    // Window menu.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    HMENU m_hWindowMenu = nullptr;
    std::vector<HWND> m_listedChildren;

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
    // Activated: the MDI frame shows this child's shared menu (or hMenuAlt);
    // deactivated with no child taking over: the frame's own menu.
    virtual void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt);

    HMENU m_hMenuShared = nullptr;  // the document type's menu, owned by its template
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
