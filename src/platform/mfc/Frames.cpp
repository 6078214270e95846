// Frame windows: CFrameWnd, the MDI client, CMDIFrameWnd, CMDIChildWnd and
// CSplitterWnd.
#include "platform/mfc/Frames.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/mfc/App.h"
#include "platform/mfc/ControlBars.h"
#include "platform/mfc/Docs.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/Modules.h"
#include "platform/mfc/ResourceHandles.h"
#include "platform/mfc/StandardIds.h"

namespace {

// Sent by a dying MDI child to its client (wParam: the child).
constexpr UINT kMdiChildGone = 0x03F0;

// ---- The MDI client -------------------------------------------------------------------

struct MdiClient {
    std::vector<HWND> order;  // children in the order they were active, most recent last
    HWND active = nullptr;
    bool destroying = false;
};

// The most recently active child, other than hExcept, that is still a
// visible window.
HWND previousChild(MdiClient& client, HWND hExcept) {
    std::erase_if(client.order, [](HWND h) { return !::IsWindow(h); });
    for (auto it = client.order.rbegin(); it != client.order.rend(); ++it)
        if (*it != hExcept && ::IsWindowVisible(*it)) return *it;
    return nullptr;
}

void activateChild(MdiClient& client, HWND hNew) {
    HWND hOld = ::IsWindow(client.active) ? client.active : nullptr;
    if (hOld == hNew) return;
    bool maximized = hOld && ::IsZoomed(hOld);
    client.active = hNew;
    if (hNew) {
        std::erase(client.order, hNew);
        client.order.push_back(hNew);
    }
    if (hOld) ::SendMessageA(hOld, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hOld), reinterpret_cast<LPARAM>(hNew));
    if (hNew) ::SendMessageA(hNew, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hOld), reinterpret_cast<LPARAM>(hNew));
    if (maximized && hNew) {  // one maximized child at a time
        if (::IsWindowVisible(hOld)) ::ShowWindow(hOld, SW_SHOWNORMAL);
        if (!::IsZoomed(hNew)) ::ShowWindow(hNew, SW_SHOWMAXIMIZED);
    }
}

LRESULT mdiClientProc(MdiClient& client, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hChild = reinterpret_cast<HWND>(wParam);
    switch (message) {
    case WM_MDIGETACTIVE: {
        if (client.active && !::IsWindow(client.active)) {  // destroyed without telling us
            client.active = nullptr;
            if (!client.destroying) activateChild(client, previousChild(client, nullptr));
        }
        if (auto* pbMaximized = reinterpret_cast<BOOL*>(lParam))
            *pbMaximized = client.active && ::IsZoomed(client.active);
        return reinterpret_cast<LRESULT>(client.active);
    }
    case WM_MDIACTIVATE:
        if (::GetParent(hChild) == hWnd) activateChild(client, hChild);
        return 0;
    case WM_MDINEXT: {
        HWND hFrom = hChild ? hChild : client.active;
        if (HWND hNext = previousChild(client, hFrom))
            activateChild(client, hNext);
        else if (hFrom == client.active && !::IsWindowVisible(hFrom))
            activateChild(client, nullptr);
        return 0;
    }
    case WM_MDIDESTROY:
        if (::GetParent(hChild) == hWnd) ::DestroyWindow(hChild);
        return 0;
    case kMdiChildGone:
        std::erase(client.order, hChild);
        if (client.active == hChild) {
            client.active = nullptr;
            if (!client.destroying) activateChild(client, previousChild(client, hChild));
        }
        return 0;
    case WM_SIZE:
        for (HWND h = ::GetWindow(hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            if (::IsZoomed(h)) ::ShowWindow(h, SW_SHOWMAXIMIZED);  // follow the new client size
        return 0;
    case WM_DESTROY:
        client.destroying = true;
        return 0;
    default:
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

// Where CW_USEDEFAULT puts a window: top-level frames at (0, 0) with three
// quarters of the screen, MDI children cascading by 24 inside the client.
CRect defaultRect(HWND hParent) {
    if (!hParent) return CRect(0, 0, GetSystemMetrics(SM_CXSCREEN) * 3 / 4, GetSystemMetrics(SM_CYSCREEN) * 3 / 4);
    CRect client;
    ::GetClientRect(hParent, &client);
    int n = 0;
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) ++n;
    int offset = 24 * (n % 8);
    return CRect(offset, offset, offset + std::max(1, client.Width() * 3 / 4),
                 offset + std::max(1, client.Height() * 3 / 4));
}

CRect placeRect(const RECT& rect, HWND hParent) {
    return rect.left == CW_USEDEFAULT ? defaultRect(hParent) : CRect(rect);
}

}  // namespace

// ---- CFrameWnd --------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR, DWORD dwExStyle, CCreateContext* pContext) {
    m_strTitle = lpszWindowName;
    HWND hParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    CRect place = placeRect(rect, hParent);
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, place.left, place.top, place.Width(),
                    place.Height(), hParent, nullptr, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    CString strings;
    if (m_strTitle.IsEmpty() && strings.LoadString(nIDResource)) {
        int end = strings.Find('\n');
        m_strTitle = end < 0 ? strings : strings.Left(end);
    }
    if (m_strTitle.IsEmpty()) m_strTitle = AfxGetAppName();
    LoadAccelTable(MAKEINTRESOURCE(nIDResource));
    if (!Create(nullptr, m_strTitle, dwDefaultStyle, rectDefault, pParentWnd, nullptr, 0, pContext)) return FALSE;
    m_hMenuDefault = PlatformLoadFrameMenu(nIDResource);
    if (m_hMenuDefault) OnUpdateFrameMenu(nullptr);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR lpszResourceName) {
    if (m_hAccelTable) return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR), lpszResourceName);
    return m_hAccelTable != nullptr;
}

namespace {

bool IsKeyMessage(const MSG* pMsg) { return pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST; }

}  // namespace

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    return IsKeyMessage(pMsg) && m_hAccelTable && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) { return CWnd::PreCreateWindow(cs); }

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    auto* pContext = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!OnCreateClient(lpCreateStruct, pContext)) return -1;
    RecalcLayout();
    // Posted, so it finds the status bar the derived frame creates next.
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    if (!pContext || !pContext->m_pNewViewClass) return nullptr;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    CWnd* pView = DYNAMIC_DOWNCAST(CWnd, pObject);
    if (!pView) {
        delete pObject;
        return nullptr;
    }
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;  // the view deleted itself
    return pView;
}

void CFrameWnd::RecalcLayout(BOOL) {
    CRect client;
    GetClientRect(&client);
    // A child frame's caption lies over the top of its rectangle (there is
    // no non-client area): the pane goes below it, as below the menu bar.
    DWORD style = GetStyle();
    if ((style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION)
        client.top = std::min<LONG>(client.bottom, client.top + PLATFORM_CAPTION_HEIGHT);
    if (::GetMenu(m_hWnd)) {
        PlatformMenuBarResize(m_hWnd);
        client.top = std::min<LONG>(client.bottom, client.top + PLATFORM_MENUBAR_HEIGHT);
    }
    RepositionControlBars(client);
    CWnd* pPane = GetDlgItem(AFX_IDW_PANE_FIRST);
    if (!pPane) return;
    pPane->MoveWindow(&client);
    if (CSplitterWnd* pSplitter = DYNAMIC_DOWNCAST(CSplitterWnd, pPane)) pSplitter->RecalcLayout();  // also unmoved
}

void CFrameWnd::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnDestroy() {
    m_bDestroying = true;
    ::SetMenu(m_hWnd, nullptr);
    if (m_hMenuDefault) ::DestroyMenu(std::exchange(m_hMenuDefault, nullptr));
    CWnd::OnDestroy();
}

// The keyboard goes on to the active view (of the active child, for an MDI
// frame).
void CFrameWnd::OnSetFocus(CWnd*) {
    CFrameWnd* pFrame = GetActiveFrame();
    CView* pView = pFrame ? pFrame->GetActiveView() : nullptr;
    if (pView && pView->m_hWnd) pView->SetFocus();
}

void CFrameWnd::PostNcDestroy() { delete this; }

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld) return;
    m_pViewActive = nullptr;
    if (pViewOld) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    if (m_pViewActive) return;  // the old view chose another one meanwhile
    m_pViewActive = pViewNew;
    if (pViewNew && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

namespace {

// The MDI child that its main frame is routing a command through: that
// child leaves the application to the main frame.
thread_local CFrameWnd* t_pChildRouted = nullptr;

}  // namespace

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    bool bToApp = t_pChildRouted != this;
    CView* pView = GetActiveView();
    if (pView && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return bToApp && pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CFrameWnd* CFrameWnd::GetActiveFrame() { return this; }

CDocument* CFrameWnd::GetActiveDocument() { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        if (!(GetStyle() & WS_VISIBLE))
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) ShowWindow(nCmdShow);
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* pView = nullptr;
    if (!GetActiveView()) {
        pView = DYNAMIC_DOWNCAST(CView, GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
        if (pView) SetActiveView(pView, FALSE);
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (pView) pView->OnActivateFrame(WA_INACTIVE, this);
        int nCmdShow = -1;
        CWinApp* pApp = AfxGetApp();
        if (pApp && !pApp->m_pMainWnd) {  // this frame is to be the main window
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (pView) pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc) pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE)) return;
    CDocument* pDoc = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && pDoc ? static_cast<LPCTSTR>(pDoc->GetTitle()) : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName) {
    CString text = m_strTitle;
    if (lpszDocName) {
        CString doc = lpszDocName;
        if (m_nWindow > 0) doc += CString(":") + CString(std::to_string(m_nWindow));
        text = (GetStyle() & FWS_PREFIXTITLE) ? doc + " - " + m_strTitle : m_strTitle + " - " + doc;
    }
    CString current;
    GetWindowText(current);
    if (current != text) SetWindowText(text);
}

void CFrameWnd::OnClose() {
    CDocument* pDocument = GetActiveDocument();
    if (pDocument && !pDocument->CanCloseFrame(this)) return;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        if (!pDocument && !pApp->SaveAllModified()) return;
        pApp->HideApplication();
        pApp->CloseAllDocuments(FALSE);
        if (!pApp->m_pMainWnd) return;  // closing the documents took the main window with them
        pDocument = nullptr;            // closed above
    }
    if (pDocument && pDocument->m_bAutoDelete) {
        bool bOtherFrame = false;
        for (POSITION pos = pDocument->GetFirstViewPosition(); pos && !bOtherFrame;)
            bOtherFrame = pDocument->GetNextView(pos)->GetParentFrame() != this;
        if (!bOtherFrame) {
            pDocument->OnCloseDocument();  // destroys this frame too
            return;
        }
    }
    DestroyWindow();
}

// ---- CMDIFrameWnd -----------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_INITMENUPOPUP()
ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CMDIChildWnd* pActive = MDIGetActive()) {
        CFrameWnd* pOuter = std::exchange(t_pChildRouted, pActive);
        BOOL bHandled;
        try {
            bHandled = pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
        } catch (...) {
            t_pChildRouted = pOuter;
            throw;
        }
        t_pChildRouted = pOuter;
        if (bHandled) return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMDIFrameWnd::OnWindowNew() {
    CMDIChildWnd* pActive = MDIGetActive();
    CDocument* pDocument = pActive ? pActive->GetActiveDocument() : nullptr;
    CDocTemplate* pTemplate = pDocument ? pDocument->GetDocTemplate() : nullptr;
    CFrameWnd* pFrame = pTemplate ? pTemplate->CreateNewFrame(pDocument, pActive) : nullptr;
    if (!pFrame) {
        AfxMessageBox("Command failed.");
        return;
    }
    pTemplate->InitialUpdateFrame(pFrame, pDocument);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
    switch (nID) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); return TRUE;
    case ID_WINDOW_CASCADE: MDICascade(); return TRUE;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); return TRUE;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); return TRUE;
    default: return FALSE;
    }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

namespace {

// The children that take part in an arrangement: visible and not
// minimized, in creation order. A maximized one is restored first.
std::vector<HWND> arrangedChildren(HWND hClient) {
    std::vector<HWND> children;
    for (HWND h = ::GetWindow(hClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(h) || ::IsIconic(h)) continue;
        if (::IsZoomed(h)) ::ShowWindow(h, SW_RESTORE);
        children.push_back(h);
    }
    return children;
}

}  // namespace

void CMDIFrameWnd::MDICascade() {
    CRect client;
    ::GetClientRect(m_hWndMDIClient, &client);
    int n = 0;
    for (HWND h : arrangedChildren(m_hWndMDIClient)) {
        int offset = 24 * (n++ % 8);  // as new children are placed
        ::MoveWindow(h, offset, offset, std::max(1, client.Width() * 3 / 4), std::max(1, client.Height() * 3 / 4),
                     TRUE);
    }
}

void CMDIFrameWnd::MDITile(int nType) {
    std::vector<HWND> children = arrangedChildren(m_hWndMDIClient);
    if (children.empty()) return;
    CRect client;
    ::GetClientRect(m_hWndMDIClient, &client);
    int n = static_cast<int>(children.size());
    for (int i = 0; i < n; ++i) {
        if (nType & MDITILE_HORIZONTAL) {  // one above the other
            int top = client.Height() * i / n;
            ::MoveWindow(children[i], 0, top, client.Width(), client.Height() * (i + 1) / n - top, TRUE);
        } else {  // side by side
            int left = client.Width() * i / n;
            ::MoveWindow(children[i], left, 0, client.Width() * (i + 1) / n - left, client.Height(), TRUE);
        }
    }
}

// Minimized children in a row along the client's bottom edge.
void CMDIFrameWnd::MDIIconArrange() {
    CRect client;
    ::GetClientRect(m_hWndMDIClient, &client);
    int x = 0;
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!::IsIconic(h)) continue;
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        ::GetWindowPlacement(h, &wp);
        wp.flags |= WPF_SETMINPOSITION;
        wp.ptMinPosition = POINT{x, client.bottom - ::GetSystemMetrics(SM_CYMINIMIZED)};
        ::SetWindowPlacement(h, &wp);
        x += ::GetSystemMetrics(SM_CXMINIMIZED);
    }
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
    if (pWnd) pWnd->ShowWindow(SW_SHOWMAXIMIZED);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
    if (pWnd) pWnd->ShowWindow(SW_RESTORE);
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*) {
    CRect client;
    GetClientRect(&client);
    auto state = std::make_shared<MdiClient>();
    m_hWndMDIClient = PlatformCreateWindowEx(
        [state](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
            return mdiClientProc(*state, hWnd, message, wParam, lParam);
        },
        0, "MDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.Width(), client.Height(), m_hWnd,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr);
    return m_hWndMDIClient != nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    if (pbMaximized) *pbMaximized = FALSE;
    auto hActive = reinterpret_cast<HWND>(
        ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
    return DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(hActive));
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    if (pWndActivate)
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd), 0);
}

void CMDIFrameWnd::MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? static_cast<CFrameWnd*>(pActive) : this;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE)) return;
    CMDIChildWnd* pActive = MDIGetActive();
    CDocument* pDoc = pActive ? pActive->GetActiveDocument() : nullptr;
    UpdateFrameTitleForDocument(bAddToTitle && pDoc ? static_cast<LPCTSTR>(pDoc->GetTitle()) : nullptr);
}

// ---- CMDIChildWnd -----------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
    if (!pParentWnd) pParentWnd = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    if (!pParentWnd || !::IsWindow(pParentWnd->m_hWndMDIClient)) {
        PostNcDestroy();
        return FALSE;
    }
    if (lpszWindowName) m_strTitle = lpszWindowName;
    HWND hClient = pParentWnd->m_hWndMDIClient;
    CRect place = placeRect(rect, hClient);
    if (!CreateEx(0, lpszClassName, lpszWindowName, (dwStyle | WS_CHILD) & ~WS_VISIBLE, place.left, place.top,
                  place.Width(), place.Height(), hClient, nullptr, pContext))
        return FALSE;
    if (dwStyle & WS_VISIBLE) {
        ShowWindow(SW_SHOWNORMAL);
        MDIActivate();
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    LoadAccelTable(MAKEINTRESOURCE(nIDResource));
    if (auto* pTemplate = pContext ? DYNAMIC_DOWNCAST(CMultiDocTemplate, pContext->m_pNewDocTemplate) : nullptr)
        m_hMenuShared = pTemplate->m_hMenuShared;
    CMDIFrameWnd* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pParentWnd);
    if (pParentWnd && !pMDIFrame) {
        PostNcDestroy();
        return FALSE;
    }
    return Create(nullptr, nullptr, dwDefaultStyle | WS_CHILD, rectDefault, pMDIFrame, pContext);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    return IsKeyMessage(pMsg) && m_hAccelTable &&
           ::TranslateAcceleratorA(pFrame ? pFrame->m_hWnd : m_hWnd, m_hAccelTable, pMsg);
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_CHILD;
    return CFrameWnd::PreCreateWindow(cs);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    HWND hClient = ::GetParent(m_hWnd);
    return DYNAMIC_DOWNCAST(CMDIFrameWnd, CWnd::FromHandlePermanent(::GetParent(hClient)));
}

void CMDIChildWnd::MDIActivate() {
    if (CMDIFrameWnd* pFrame = GetMDIFrame()) pFrame->MDIActivate(this);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (nCmdShow == -1) {
        BOOL bMaximized = FALSE;
        if (pFrame) pFrame->MDIGetActive(&bMaximized);
        DWORD style = GetStyle();
        if (bMaximized || (style & WS_MAXIMIZE))
            nCmdShow = SW_SHOWMAXIMIZED;
        else if (style & WS_MINIMIZE)
            nCmdShow = SW_SHOWMINIMIZED;
    }
    CFrameWnd::ActivateFrame(nCmdShow);
    if (!pFrame) return;
    if (GetStyle() & WS_VISIBLE)
        MDIActivate();
    else
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDINEXT, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (CMDIFrameWnd* pFrame = GetMDIFrame()) pFrame->OnUpdateFrameTitle(bAddToTitle);
    if (!(GetStyle() & FWS_ADDTOTITLE) || !bAddToTitle) return;
    CDocument* pDoc = GetActiveDocument();
    CString text = pDoc ? pDoc->GetTitle() : m_strTitle;
    if (m_nWindow > 0) text += CString(":") + CString(std::to_string(m_nWindow));
    CString current;
    GetWindowText(current);
    if (current != text) SetWindowText(text);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*) {
    if (m_pViewActive) m_pViewActive->OnActivateView(bActivate, m_pViewActive, m_pViewActive);
    OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
    if (bActivate)
        OnUpdateFrameTitle(TRUE);
    else if (!pActivateWnd)
        if (CMDIFrameWnd* pFrame = GetMDIFrame()) pFrame->OnUpdateFrameTitle(TRUE);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::SendMessageA(::GetParent(m_hWnd), kMdiChildGone, reinterpret_cast<WPARAM>(m_hWnd), 0);
        // The Window menu drops this child; after the last one the frame
        // shows its own menu again.
        if (CMDIFrameWnd* pFrame = GetMDIFrame()) {
            pFrame->UpdateWindowMenu(m_hWnd);
            if (!pFrame->MDIGetActive()) pFrame->OnUpdateFrameMenu(nullptr);
        }
    }
    LRESULT result = CFrameWnd::DefWindowProc(message, wParam, lParam);
    if (message == WM_SETTEXT)  // the Window menu lists the new title
        if (CMDIFrameWnd* pFrame = GetMDIFrame()) pFrame->UpdateWindowMenu();
    if (message == WM_MOUSEACTIVATE && result != MA_NOACTIVATE && result != MA_NOACTIVATEANDEAT)
        MDIActivate();  // a click anywhere in a child frame activates it
    return result;
}

// ---- CSplitterWnd -----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
    if (!pParentWnd || m_hWnd || nRows < 1 || nRows > 16 || nCols < 1 || nCols > 16) return FALSE;
    m_nRows = nRows;
    m_nCols = nCols;
    CRect client;
    pParentWnd->GetClientRect(&client);
    return Create(nullptr, nullptr, dwStyle | WS_CHILD, client, pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext) {
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || !pViewClass || GetPane(row, col)) return FALSE;
    CObject* pObject = pViewClass->CreateObject();
    CWnd* pWnd = DYNAMIC_DOWNCAST(CWnd, pObject);
    if (!pWnd) {
        delete pObject;
        return FALSE;
    }
    m_nRowIdeal[row] = sizeInit.cy;
    m_nColIdeal[col] = sizeInit.cx;
    CRect rect(CPoint(0, 0), sizeInit);
    return pWnd->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW & ~WS_BORDER, rect, this, IdFromRowCol(row, col),
                        pContext);
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols) return nullptr;
    return GetDlgItem(IdFromRowCol(row, col));
}

namespace {

// Splits total among n parts: each takes its ideal size while room is
// left, the last one takes the rest.
std::vector<int> splitSizes(const int* ideal, int n, int total) {
    std::vector<int> sizes(n);
    int used = 0;
    for (int i = 0; i < n; ++i) {
        int room = std::max(0, total - used);
        sizes[i] = i == n - 1 ? room : std::clamp(ideal[i], 0, room);
        used += sizes[i];
    }
    return sizes;
}

}  // namespace

void CSplitterWnd::RecalcLayout() {
    CRect client;
    GetClientRect(&client);
    std::vector<int> heights = splitSizes(m_nRowIdeal, m_nRows, client.Height());
    std::vector<int> widths = splitSizes(m_nColIdeal, m_nCols, client.Width());
    int y = 0;
    for (int row = 0; row < m_nRows; y += heights[row++]) {
        int x = 0;
        for (int col = 0; col < m_nCols; x += widths[col++])
            if (CWnd* pPane = GetPane(row, col)) pPane->MoveWindow(x, y, widths[col], heights[row]);
    }
}

void CSplitterWnd::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}
