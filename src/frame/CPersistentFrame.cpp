// CPersistentFrame: construction, placement restore and save, closing,
// defaults and registry look-ups.
#include "frame/CPersistentFrame.h"

#include <algorithm>
#include <vector>

#include "frame/CMDIChildFrame.h"
#include "platform/mfc/App.h"
#include "platform/mfc/Modules.h"

namespace {

// Profile entries, in the order they are read and written.
const char* const kRight = "Right";
const char* const kLeft = "Left";
const char* const kTop = "Top";
const char* const kBottom = "Bottom";
const char* const kIconic = "Iconic";
const char* const kMaximized = "Maximized";

}  // namespace

IMPLEMENT_DYNCREATE(CPersistentFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CPersistentFrame, CMDIFrameWnd)
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_NEWFOCUS, OnNewFocus)
END_MESSAGE_MAP()

CPersistentFrame::CPersistentFrame()
    : m_nIconic(0), m_nMaximized(0), m_strSection("Mainframe Settings"), m_bFirstTime(TRUE),
      m_nDefaultResourceID(0), m_pDefaultDocClass(nullptr), m_nDebugState(0) {
    int cx = GetSystemMetrics(SM_CXFULLSCREEN);
    int cy = GetSystemMetrics(SM_CYFULLSCREEN);
    int w = static_cast<int>(cx * 0.75f);
    int h = static_cast<int>(cy * 0.75f);
    m_rcDefault.left = (cx - w) / 2;
    m_rcDefault.top = (cy - h) / 2;
    m_rcDefault.right = m_rcDefault.left + w;
    m_rcDefault.bottom = m_rcDefault.top + h;
    PlatformWatchDocuments(this, [this](CDocument* pDoc) { ForgetDocument(pDoc); });
}

// A frame deleted while its window still exists keeps the DLLs loaded: the
// window's children may still run their code.
CPersistentFrame::~CPersistentFrame() {
    PlatformUnwatchDocuments(this);
    if (::IsWindow(m_hWnd)) return;
    for (auto* node = m_Frames.MoveFirst(); node; node = m_Frames.MoveNext()) ::FreeLibrary(node->pValue->hInstance);
}

BOOL CPersistentFrame::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return CMDIFrameWnd::PreCreateWindow(cs);
}

void CPersistentFrame::InitializeCoordinates(int& nCmdShow, UINT nIDResource, CRuntimeClass* pDocClass) {
    WriteToDebug("CPersistentFrame::InitializeCoordinates");
    m_nDefaultResourceID = nIDResource;
    m_pDefaultDocClass = pDocClass;
    WriteToDebug("CPersistentFrame::m_bFirstTime");
    if (m_bFirstTime) {
        CWinApp* pApp = AfxGetApp();
        auto read = [&](const char* entry, int nDefault) {
            return pApp ? static_cast<int>(pApp->GetProfileInt(m_strSection, entry, nDefault)) : nDefault;
        };
        RECT rc;
        rc.right = read(kRight, m_rcDefault.right);
        rc.left = read(kLeft, m_rcDefault.left);
        rc.top = read(kTop, m_rcDefault.top);
        rc.bottom = read(kBottom, m_rcDefault.bottom);
        int nIconic = read(kIconic, 0);
        int nMaximized = read(kMaximized, 0);

        UINT flags;
        if (nIconic) {
            nCmdShow = SW_SHOWMINNOACTIVE;
            flags = nMaximized ? WPF_RESTORETOMAXIMIZED : WPF_SETMINPOSITION;
        } else if (nMaximized) {
            nCmdShow = SW_SHOWMAXIMIZED;
            flags = WPF_RESTORETOMAXIMIZED;
        } else {
            nCmdShow = SW_SHOWNORMAL;
            flags = WPF_SETMINPOSITION;
        }
        WriteToDebug("CPersistentFrame::dealing with window placement");
        WINDOWPLACEMENT wp;
        wp.length = sizeof(WINDOWPLACEMENT);
        wp.flags = flags;
        wp.showCmd = static_cast<UINT>(nCmdShow);
        wp.ptMinPosition = POINT{0, 0};
        wp.ptMaxPosition = POINT{-GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER)};
        wp.rcNormalPosition = rc;
        WriteToDebug("CPersistentFrame::setting window placement");
        SetWindowPlacement(&wp);
    }
    WriteToDebug("CPersistentFrame::adding doc");
    WriteToDebug("CPersistentFrame::InitializeCoordinates::finished routine");
}

void CPersistentFrame::OnDestroy() {
    WINDOWPLACEMENT wp;
    wp.length = sizeof(WINDOWPLACEMENT);
    if (GetWindowPlacement(&wp)) {
        if (wp.showCmd == SW_SHOWNORMAL) {
            m_nIconic = 0;
            m_nMaximized = 0;
        } else if (wp.showCmd == SW_SHOWMAXIMIZED) {
            m_nIconic = 0;
            m_nMaximized = 1;
        } else {
            m_nIconic = 1;
            m_nMaximized = wp.flags ? 1 : 0;
        }
        m_rcNormal = wp.rcNormalPosition;
        if (CWinApp* pApp = AfxGetApp()) {
            pApp->WriteProfileInt(m_strSection, kRight, m_rcNormal.right);
            pApp->WriteProfileInt(m_strSection, kLeft, m_rcNormal.left);
            pApp->WriteProfileInt(m_strSection, kTop, m_rcNormal.top);
            pApp->WriteProfileInt(m_strSection, kBottom, m_rcNormal.bottom);
            pApp->WriteProfileInt(m_strSection, kIconic, m_nIconic);
            pApp->WriteProfileInt(m_strSection, kMaximized, m_nMaximized);
        }
    }
    CMDIFrameWnd::OnDestroy();
}

// Each child is asked once: one that is still active after its WM_CLOSE
// refused, and the application stays as it is rather than asking forever.
// The DLLs go with this object, once the main window is gone, so no
// window, view or document of theirs can still call into them.
void CPersistentFrame::OnClose() {
    std::vector<HWND> asked;
    while (CMDIChildWnd* pChild = MDIGetActive()) {
        HWND hChild = pChild->GetActiveFrame()->m_hWnd;
        if (std::find(asked.begin(), asked.end(), hChild) != asked.end()) return;
        asked.push_back(hChild);
        ::SendMessageA(hChild, WM_CLOSE, 0, 0);
    }
    CMDIFrameWnd::OnClose();  // this object is deleted when the window goes
}

LRESULT CPersistentFrame::OnNewFocus(WPARAM wParam, LPARAM) {
    NewFocus(static_cast<int>(wParam));
    return 0;
}

void CPersistentFrame::CheckForDefaults(UINT& nIDResource, CRuntimeClass*& pDocClass, CRuntimeClass*& pFrameClass) {
    if (!nIDResource) nIDResource = m_nDefaultResourceID;
    if (!pDocClass) pDocClass = m_pDefaultDocClass;
    if (!pFrameClass) pFrameClass = RUNTIME_CLASS(CMDIChildFrame);
}

int CPersistentFrame::GetUniqueFrameNo(UINT& nFrameNo) {
    for (nFrameNo = 1;; ++nFrameNo)
        if (!GetFrame(static_cast<int>(nFrameNo))) return 1;
}

CFrame* CPersistentFrame::GetFrame(int nFrameNo) {
    for (auto* node = m_Frames.MoveFirst(); node; node = m_Frames.MoveNext())
        if (node->pValue->nFrameNo == nFrameNo) return node->pValue;
    return nullptr;
}

void CPersistentFrame::Get_Current_Frame_No(int* pFrameNo) {
    CMDIChildWnd* pChild = MDIGetActive();
    if (!pFrameNo || !pChild) return;
    for (auto* node = m_Frames.MoveFirst(); node; node = m_Frames.MoveNext())
        if (node->pValue->hWnd == pChild->m_hWnd) *pFrameNo = node->pValue->nFrameNo;
}
