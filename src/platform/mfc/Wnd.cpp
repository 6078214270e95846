// CWnd: the handle maps, creation and attachment, message dispatch through
// the maps and the command route's start, and the window calls in object form.
#include "platform/mfc/Wnd.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "platform/mfc/App.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/Unsupported.h"
#include "platform/shared/NoDestructor.h"
#include "platform/user/DialogBox.h"

namespace {

// Objects attached to windows, for every thread. Never destroyed: windows
// may still be destroyed by static destructors while the process exits.
struct PermanentMap {
    std::mutex lock;
    std::unordered_map<HWND, CWnd*> objects;
};

PermanentMap& permanentMap() {
    static NoDestructor<PermanentMap> map;
    return *map;
}

void attach(HWND hWnd, CWnd* pWnd) {
    PermanentMap& map = permanentMap();
    std::lock_guard<std::mutex> guard(map.lock);
    map.objects[hWnd] = pWnd;
    pWnd->m_hWnd = hWnd;
}

// The thread's temporary objects (FromHandle on a window without one).
thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> tempMap;

// The object whose window is being created on this thread: it is attached
// when the first message for the new window arrives.
struct Creating {
    CWnd* pWnd = nullptr;
    bool attached = false;
};
thread_local Creating creating;

// A direct child with the id first (or its own descendant with the same
// id, which has priority), then depth first through the children.
CWnd* descendant(HWND hWnd, int nID, BOOL bOnlyPerm) {
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (::GetWindowLongPtrA(hChild, GWLP_ID) != nID) continue;
        if (CWnd* pInner = descendant(hChild, nID, bOnlyPerm)) return pInner;
        if (CWnd* pWnd = bOnlyPerm ? CWnd::FromHandlePermanent(hChild) : CWnd::FromHandle(hChild)) return pWnd;
    }
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if (CWnd* pFound = descendant(hChild, nID, bOnlyPerm)) return pFound;
    return nullptr;
}

void sendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    HWND hChild = ::GetWindow(hWnd, GW_CHILD);
    while (hChild) {
        HWND hNext = ::GetWindow(hChild, GW_HWNDNEXT);  // taken first: the child may go away
        if (!bOnlyPerm || CWnd::FromHandlePermanent(hChild)) ::SendMessageA(hChild, message, wParam, lParam);
        if (bDeep) sendToDescendants(hChild, message, wParam, lParam, bDeep, bOnlyPerm);
        hChild = hNext;
    }
}

}  // namespace

// ---- CWnd: maps, creation, dispatch ------------------------------------------------

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        HWND hWnd = m_hWnd;
        Detach();  // the window's last messages go to DefWindowProcA, not to a half-destroyed object
        ::DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    PermanentMap& map = permanentMap();
    std::lock_guard<std::mutex> guard(map.lock);
    auto it = map.objects.find(hWnd);
    return it == map.objects.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (CWnd* pWnd = FromHandlePermanent(hWnd)) return pWnd;
    if (!::IsWindow(hWnd)) return nullptr;
    std::unique_ptr<CWnd>& temp = tempMap[hWnd];
    if (!temp) {
        temp = std::make_unique<CWnd>();
        temp->m_hWnd = hWnd;
    }
    return temp.get();
}

void CWnd::DeleteTempMap() { tempMap.clear(); }

void CWnd::Detach() {
    PermanentMap& map = permanentMap();
    std::lock_guard<std::mutex> guard(map.lock);
    auto it = map.objects.find(m_hWnd);
    if (it != map.objects.end() && it->second == this) map.objects.erase(it);
    m_hWnd = nullptr;
}

LRESULT CWnd::Dispatch(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (!pWnd && creating.pWnd && !creating.attached) {
        pWnd = creating.pWnd;
        creating.attached = true;
        attach(hWnd, pWnd);
    }
    if (!pWnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    LRESULT result = pWnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY && FromHandlePermanent(hWnd) == pWnd) {
        CWinThread* pThread = AfxGetThread();
        if (pThread && pThread->m_pMainWnd == pWnd) {
            pThread->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    return result;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd || !::IsWindow(hWnd) || FromHandlePermanent(hWnd)) return FALSE;
    ::WindowProc previous = PlatformSetWindowProc(hWnd, &CWnd::Dispatch);
    if (!previous) return FALSE;
    m_pfnSuper = std::make_shared<const ::WindowProc>(std::move(previous));
    attach(hWnd, this);
    return TRUE;
}

BOOL CWnd::CreateDlgIndirect(const void* pTemplate, size_t cbTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
    ::WindowProc super = PlatformNewClassProc(WC_DIALOG);
    m_pfnSuper = super ? std::make_shared<const ::WindowProc>(std::move(super)) : nullptr;
    Creating outer = creating;
    creating = Creating{this, false};
    HWND hWnd = PlatformCreateDialog(pTemplate, cbTemplate, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr, 0,
                                     &CWnd::Dispatch, hInst);
    bool attached = creating.attached;
    creating = outer;
    if (!hWnd && !attached) PostNcDestroy();
    return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    CREATESTRUCT cs{lpParam, nullptr, nIDorHMenu,     hWndParent,    nHeight,  nWidth,
                    y,       x,       static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    const char* className = cs.lpszClass ? cs.lpszClass : "AfxWnd";
    ::WindowProc super = PlatformNewClassProc(className);
    m_pfnSuper = super ? std::make_shared<const ::WindowProc>(std::move(super)) : nullptr;
    Creating outer = creating;
    creating = Creating{this, false};
    HWND hWnd = PlatformCreateWindowEx(&CWnd::Dispatch, cs.dwExStyle, className,
                                       cs.lpszName ? cs.lpszName : "", static_cast<DWORD>(cs.style), cs.x, cs.y,
                                       cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.lpCreateParams);
    bool attached = creating.attached;
    creating = outer;
    if (!hWnd) {
        // Once attached, the object has seen WM_NCDESTROY and PostNcDestroy.
        if (!attached) PostNcDestroy();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | (pParentWnd ? WS_CHILD : 0), rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::DestroyWindow() { return ::DestroyWindow(m_hWnd); }

void CWnd::PostNcDestroy() {}

namespace {

// The message each thread's innermost WindowProc is handling, for Default.
thread_local MSG t_current{};

}  // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG outer = std::exchange(t_current, MSG{m_hWnd, message, wParam, lParam, 0, {}});
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    t_current = outer;
    return result;
}

LRESULT CWnd::Default() { return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam); }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        *pResult = 0;
        return lParam && OnNotify(wParam, lParam, pResult);
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        if (const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(map->lpEntries, message, 0, 0)) {
            *pResult = entry->pfnCall(this, wParam, lParam);
            return TRUE;
        }
    return FALSE;
}

namespace {

// The update element of the original's command check: only its
// enabled state matters.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
    BOOL m_bEnabled = TRUE;
};

}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    auto hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // A menu item or accelerator: make sure the command was not
        // disabled since its element was last updated.
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
        if (!state.m_bEnabled) return TRUE;  // dropped, as the original drops it
        nCode = CN_COMMAND;
    } else if (nID == 0) {
        return FALSE;  // a control without an id sends no command
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    UINT nID = pNMHDR->hwndFrom && ::IsWindow(pNMHDR->hwndFrom)
                   ? static_cast<UINT>(::GetWindowLongPtrA(pNMHDR->hwndFrom, GWLP_ID))
                   : static_cast<UINT>(pNMHDR->idFrom);
    AFX_NOTIFY notify{pResult, pNMHDR};
    return OnCmdMsg(nID, MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (std::shared_ptr<const ::WindowProc> super = m_pfnSuper) return (*super)(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

// ---- CWnd: attributes ---------------------------------------------------------------

void CWnd::SetWindowText(LPCTSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }

void CWnd::GetWindowText(CString& rString) const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(length), length + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CFrameWnd* CWnd::GetParentFrame() const {
    for (CWnd* pParent = GetParent(); pParent; pParent = pParent->GetParent())
        if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pParent)) return pFrame;
    return nullptr;
}

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }

DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT) {
    DWORD style = GetStyle();
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (newStyle == style) return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(newStyle));
    return TRUE;
}

int CWnd::GetDlgCtrlID() const { return static_cast<int>(::GetWindowLongPtrA(m_hWnd, GWLP_ID)); }

CWnd* CWnd::GetDlgItem(int nID) const {
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if (::GetWindowLongPtrA(hChild, GWLP_ID) == nID) return FromHandle(hChild);
    return nullptr;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const { return descendant(m_hWnd, nID, bOnlyPerm); }

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    sendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->left));
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }

void CWnd::ClientToScreen(LPRECT lpRect) const {
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->left));
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->right));
}

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const { return ::GetWindowPlacement(m_hWnd, lpwndpl); }

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

int CWnd::GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }

CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }

CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }

CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

BOOL CWnd::EnableWindow(BOOL bEnable) {
    BOOL bWasDisabled = !IsWindowEnabled();
    ModifyStyle(bEnable ? WS_DISABLED : 0, bEnable ? 0 : WS_DISABLED);
    return bWasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return ::IsWindow(m_hWnd) && !(GetStyle() & WS_DISABLED); }

BOOL CWnd::IsChild(const CWnd* pWnd) const {
    if (!pWnd) return FALSE;
    for (HWND h = ::GetParent(pWnd->m_hWnd); h; h = ::GetParent(h))
        if (h == m_hWnd) return TRUE;
    return FALSE;
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND hTop = m_hWnd;
    while (HWND hParent = ::GetParent(hTop)) hTop = hParent;
    return FromHandle(hTop);
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, const_cast<CWnd*>(this));
    if (!pFrame) pFrame = GetParentFrame();
    while (pFrame)
        if (CFrameWnd* pOuter = pFrame->GetParentFrame())
            pFrame = pOuter;
        else
            break;
    return pFrame;
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) {
    if (CWnd* pItem = GetDlgItem(nID)) pItem->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString.Empty();
    if (CWnd* pItem = GetDlgItem(nID)) pItem->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }

UINT CWnd::IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR, UINT nType) { return AfxMessageBox(lpszText, nType); }

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    CRect area;
    HWND hParent = ::GetParent(m_hWnd);
    if (pAlternateOwner)
        pAlternateOwner->GetWindowRect(&area);
    else if (hParent)
        ::GetClientRect(hParent, &area);
    else
        area = CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    if (pAlternateOwner && hParent) {
        ::ScreenToClient(hParent, reinterpret_cast<LPPOINT>(&area.left));
        ::ScreenToClient(hParent, reinterpret_cast<LPPOINT>(&area.right));
    }
    CRect rect;
    GetWindowRect(&rect);
    MoveWindow(area.left + (area.Width() - rect.Width()) / 2, area.top + (area.Height() - rect.Height()) / 2,
               rect.Width(), rect.Height());
}

void CWnd::DragAcceptFiles(BOOL) { PlatformReportUnsupported("CWnd::DragAcceptFiles", "no files are ever dropped"); }

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr); }

void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

HICON CWnd::SetIcon(HICON, BOOL) {
    PlatformReportUnsupported("CWnd::SetIcon", "the window keeps no icon: it returns NULL");
    return nullptr;
}

void CWnd::WinHelp(DWORD_PTR, UINT) { PlatformReportUnsupported("CWnd::WinHelp", "no help is shown"); }
