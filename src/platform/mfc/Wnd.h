// CCmdTarget, message maps and CWnd: window objects over the window table.
//
// A CWnd made with Create/CreateEx is attached to its window for the
// window's life: the window's procedure finds the object through one
// process-wide map and hands each message to its virtual WindowProc, which
// looks the message up in the class's message map, then in the maps of its
// bases, and falls back on DefWindowProc. After WM_NCDESTROY the object is
// detached and its PostNcDestroy runs (frames and views delete themselves
// there). Handlers that destroy their own window must not touch the object
// afterwards; the dispatcher does not.
//
// Messages are looked up in the message maps (platform/mfc/MessageMaps.h,
// platform/mfc/WindowMessageMaps.h). WM_COMMAND goes to OnCommand, which
// routes it as a command (platform/mfc/CmdTarget.h); WM_NOTIFY to OnNotify.
#pragma once

#include <memory>

#include "platform/atl/Geometry.h"
#include "platform/atl/Strings.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/WindowMessageMaps.h"
#include "platform/user/Input.h"
#include "platform/user/Windows.h"

class CWnd;
class CFrameWnd;
class CDC;
class CDataExchange;
class CMenu;
class CScrollBar;
struct CCreateContext;
struct DRAWITEMSTRUCT;
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

typedef CREATESTRUCTA CREATESTRUCT;
typedef CREATESTRUCTA* LPCREATESTRUCT;

#define CW_USEDEFAULT (static_cast<int>(0x80000000))

// ---- CWnd ---------------------------------------------------------------------

class PLATFORM_API CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    // Destroys the window when the object is still attached to one.
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to the window, or else a temporary CWnd for it
    // that lives until DeleteTempMap (run at idle time) or the end of the
    // thread. Null for a handle that is not a window.
    static CWnd* FromHandle(HWND hWnd);
    // The attached object only, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Deletes the calling thread's temporary objects.
    static void DeleteTempMap();

    // Creates the window (a child when pParentWnd is given) and attaches the
    // object. The context reaches WM_CREATE as lpCreateParams. FALSE when
    // PreCreateWindow or the creation refuses; PostNcDestroy has run then.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    // Attaches the object to a window made elsewhere (a dialog's control):
    // its messages go through the object, which passes what it does not
    // handle to the window's previous procedure. FALSE when the object is
    // attached already or the window has an object.
    BOOL SubclassWindow(HWND hWnd);
    // Makes a dialog from a template of cbTemplate bytes (platform/user/
    // DialogBox.h) with the object attached; a child of pParentWnd with
    // WS_CHILD, else owned by its top-level window; hInst is the module whose
    // resources the controls name.
    BOOL CreateDlgIndirect(const void* pTemplate, size_t cbTemplate, CWnd* pParentWnd, HINSTANCE hInst = nullptr);
    // The object may be deleted when this returns (PostNcDestroy).
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    void SetWindowText(LPCTSTR lpszString);
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;

    CWnd* GetParent() const;
    // The nearest ancestor that is a frame window, or null.
    CFrameWnd* GetParentFrame() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes, then adds style bits; TRUE when the style changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    int GetDlgCtrlID() const;
    // The child with that id, or null.
    CWnd* GetDlgItem(int nID) const;
    // The first descendant (depth first) with that id; with bOnlyPerm only
    // windows that have an attached object count.
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    // Sends the message to the children (every descendant with bDeep).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;

    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Painting, device contexts and scrolling (Painting.h, DeviceContext.h).
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void Invalidate(BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    // A temporary CDC of the client area (see CDC::FromHandle), given back
    // with ReleaseDC.
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    // Runs DoDataExchange: bSaveAndValidate TRUE takes the controls' data
    // into the members, FALSE puts the members into the controls. FALSE
    // when the exchange failed (platform/mfc/FormView.h).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Enables or disables the window (WS_DISABLED); TRUE when it was
    // disabled before.
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsChild(const CWnd* pWnd) const;
    CWnd* GetTopLevelParent() const;
    // The frame at the top of the window's tree, or null.
    CFrameWnd* GetTopLevelFrame() const;
    // The child's text, or its text as an unsigned or signed number.
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    // A check box or radio button child's state (BST_ values).
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    // AfxMessageBox with the text; the caption is not shown.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = 0);
    // Centres the window on its parent (the screen for a top-level window).
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void BringWindowToTop() {}
    // The window's menu, shown as its menu bar (platform/user/MenuBar.h).
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    // Not supported: windows accept no dropped files, have no icon and no
    // help file (each says so once on stderr).
    void DragAcceptFiles(BOOL bAccept = TRUE);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = 0x0001);

    // Called for every message the thread's loop takes for this window or
    // a descendant, before it is dispatched; TRUE keeps it from dispatch.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    // Exchanges data with the window's controls (DDX_ calls); does nothing
    // in the base.
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Looks the message up in the maps, derived class first. TRUE when a
    // handler ran; its result is in *pResult.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: a command from a menu or accelerator (no control) that
    // its update handler disabled is dropped; any other is routed with
    // OnCmdMsg. TRUE when a target handled it.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: routed with OnCmdMsg as MAKELONG(code, WM_NOTIFY) with
    // the control's id; the handler's result goes to *pResult.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs after the window is gone and the object detached.
    virtual void PostNcDestroy();
    // The default procedure with the message being handled.
    LRESULT Default();

    // Base handlers of the ON_WM_ entries, for derived handlers to call:
    // each gives the message being handled to the default procedure
    // (OnDrawItem hands the item to the control's DrawItem when the control
    // is a CButton).
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnNcDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnEnterSizeMove();
    void OnExitSizeMove();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnChildActivate();
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnCaptureChanged(CWnd* pWnd);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnInitMenu(CMenu* pMenu);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    void OnMButtonDblClk(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    LRESULT OnNcHitTest(CPoint point);
    void OnNcMouseMove(UINT nHitTest, CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonUp(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnNcRButtonDown(UINT nHitTest, CPoint point);
    void OnNcRButtonUp(UINT nHitTest, CPoint point);
    void OnNcMButtonDown(UINT nHitTest, CPoint point);
    void OnNcMButtonUp(UINT nHitTest, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()

private:
    static LRESULT Dispatch(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    // The procedure of the window's registered class (an "EDIT" control's),
    // which DefWindowProc passes messages to; shared, so a call survives
    // the object being deleted under it.
    std::shared_ptr<const ::WindowProc> m_pfnSuper;
};

// The object when its class is, or derives from, pClass; else null.
inline CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
    return pObject && pObject->IsKindOf(pClass) ? pObject : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) \
    static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), object))

// Registers (once) a window class with the given style, cursor, background
// brush and icon and DefWindowProc as its procedure, and returns its name,
// made from those values as the original makes it ("Afx:<instance>:<style>"
// and, when any handle is given, ":<cursor>:<brush>:<icon>", in hex). The
// name lives in a per-thread buffer until the thread's next call. CWnd's
// Create and CreateEx take it as their class name.
PLATFORM_API LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                                         HICON hIcon = nullptr);
