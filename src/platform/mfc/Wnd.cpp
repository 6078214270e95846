// CCmdTarget and CWnd: the handle maps, creation and attachment, message
// dispatch through the maps, and the window calls in object form.
#include "platform/mfc/Wnd.h"

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/mfc/App.h"
#include "platform/mfc/Controls.h"
#include "platform/shared/NoDestructor.h"

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

// ---- CCmdTarget -----------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

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

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfnCall; ++entry)
            if (entry->nMessage == message) {
                *pResult = entry->pfnCall(this, wParam, lParam);
                return TRUE;
            }
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (std::shared_ptr<const ::WindowProc> super = m_pfnSuper) return (*super)(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

int CWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    return static_cast<int>(DefWindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(lpCreateStruct)));
}

void CWnd::OnDestroy() { DefWindowProc(WM_DESTROY, 0, 0); }

void CWnd::OnClose() { DefWindowProc(WM_CLOSE, 0, 0); }

void CWnd::OnSize(UINT nType, int cx, int cy) { DefWindowProc(WM_SIZE, nType, MAKELPARAM(cx, cy)); }

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
