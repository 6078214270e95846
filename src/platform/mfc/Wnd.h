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
// Message map entries name a handler of the class (or of a base): write
// ON_MESSAGE(WM_X, OnX) with the member's plain name. ON_MESSAGE handlers
// are LRESULT OnX(WPARAM, LPARAM).
#pragma once

#include <memory>

#include "platform/atl/Geometry.h"
#include "platform/atl/Strings.h"
#include "platform/mfc/Objects.h"
#include "platform/user/Input.h"
#include "platform/user/Windows.h"

class CCmdTarget;
class CWnd;
class CFrameWnd;
class CDC;
class CDataExchange;
struct CCreateContext;
struct DRAWITEMSTRUCT;
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

typedef CREATESTRUCTA CREATESTRUCT;
typedef CREATESTRUCTA* LPCREATESTRUCT;

#define CW_USEDEFAULT (static_cast<int>(0x80000000))

// ---- Message maps -------------------------------------------------------------

// Calls one handler on the target; made by the ON_ macros.
typedef LRESULT (*AFX_PMSGCALL)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    AFX_PMSGCALL pfnCall;  // null ends the map
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                   \
protected:                                      \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                   \
        using ThisClass [[maybe_unused]] = theClass;                                    \
        using TheBaseClass = baseClass;                                                 \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                     \
        {0, nullptr}};                                                                        \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, messageEntries}; \
        return &messageMap;                                                                   \
    }

#define AFX_THIS(p) static_cast<ThisClass*>(p)

#define ON_MESSAGE(message, memberFxn) \
    {message, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT { return AFX_THIS(p)->memberFxn(w, l); }},
// A handler without arguments or result: void OnX().
#define ON_MESSAGE_VOID(message, memberFxn) \
    {message, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT { AFX_THIS(p)->memberFxn(); return 0; }},
#define ON_WM_CREATE()                                                 \
    {WM_CREATE, [](CCmdTarget* p, WPARAM, LPARAM l) -> LRESULT {       \
         return AFX_THIS(p)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(l)); }},
#define ON_WM_DESTROY() ON_MESSAGE_VOID(WM_DESTROY, OnDestroy)
#define ON_WM_CLOSE() ON_MESSAGE_VOID(WM_CLOSE, OnClose)
#define ON_WM_SIZE()                                                                          \
    {WM_SIZE, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                              \
         AFX_THIS(p)->OnSize(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0; }},

// Input, focus, activation and timers, with the original's handler
// signatures (CPoint in client coordinates, or screen for the wheel).
#define AFX_MOUSE_HANDLER(message, memberFxn)                                                       \
    {message, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                                     \
         AFX_THIS(p)->memberFxn(static_cast<UINT>(w), CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l))); return 0; }},
#define ON_WM_MOUSEMOVE() AFX_MOUSE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_HANDLER(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_HANDLER(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_HANDLER(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEWHEEL()                                                                          \
    {WM_MOUSEWHEEL, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                               \
         return AFX_THIS(p)->OnMouseWheel(LOWORD(w), static_cast<short>(HIWORD(w)),                  \
                                          CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l))); }},
#define AFX_KEY_HANDLER(message, memberFxn)                                                         \
    {message, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                                     \
         AFX_THIS(p)->memberFxn(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0; }},
#define ON_WM_KEYDOWN() AFX_KEY_HANDLER(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_HANDLER(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() AFX_KEY_HANDLER(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_KEY_HANDLER(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_TIMER()                                                                               \
    {WM_TIMER, [](CCmdTarget* p, WPARAM w, LPARAM) -> LRESULT {                                      \
         AFX_THIS(p)->OnTimer(static_cast<UINT_PTR>(w)); return 0; }},
#define ON_WM_SETFOCUS()                                                                            \
    {WM_SETFOCUS, [](CCmdTarget* p, WPARAM w, LPARAM) -> LRESULT {                                   \
         AFX_THIS(p)->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(w))); return 0; }},
#define ON_WM_KILLFOCUS()                                                                           \
    {WM_KILLFOCUS, [](CCmdTarget* p, WPARAM w, LPARAM) -> LRESULT {                                  \
         AFX_THIS(p)->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(w))); return 0; }},
#define ON_WM_MOUSEACTIVATE()                                                                       \
    {WM_MOUSEACTIVATE, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                            \
         return AFX_THIS(p)->OnMouseActivate(CWnd::FromHandle(reinterpret_cast<HWND>(w)), LOWORD(l), HIWORD(l)); }},
#define ON_WM_ACTIVATE()                                                                            \
    {WM_ACTIVATE, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                                 \
         AFX_THIS(p)->OnActivate(LOWORD(w), CWnd::FromHandle(reinterpret_cast<HWND>(l)), HIWORD(w)); return 0; }},
#define ON_WM_MOVE()                                                                                \
    {WM_MOVE, [](CCmdTarget* p, WPARAM, LPARAM l) -> LRESULT {                                       \
         AFX_THIS(p)->OnMove(GET_X_LPARAM(l), GET_Y_LPARAM(l)); return 0; }},
#define ON_WM_SYSCOMMAND()                                                                          \
    {WM_SYSCOMMAND, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                               \
         AFX_THIS(p)->OnSysCommand(static_cast<UINT>(w), l); return 0; }},

// The root of the classes that receive messages.
class PLATFORM_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

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

protected:
    // Exchanges data with the window's controls (DDX_ calls); does nothing
    // in the base.
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Looks the message up in the maps, derived class first. TRUE when a
    // handler ran; its result is in *pResult.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs after the window is gone and the object detached.
    virtual void PostNcDestroy();

    // Default handling, for derived handlers to call.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // Hands the item to the control's DrawItem when the control is a CButton.
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    // The default procedure with the message being handled.
    LRESULT Default();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnTimer(UINT_PTR nIDEvent);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnMove(int x, int y);
    void OnSysCommand(UINT nID, LPARAM lParam);

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
