#include "FrameHost.h"

#include "platform/mfc/MessageBox.h"

int CNoteDoc::s_nLive = 0;

IMPLEMENT_DYNCREATE(CNoteDoc, CDocument)
IMPLEMENT_DYNCREATE(CSpecialNoteDoc, CNoteDoc)
IMPLEMENT_DYNCREATE(CSketchDoc, CDocument)
IMPLEMENT_DYNCREATE(CNoteView, CView)
IMPLEMENT_DYNCREATE(CListView, CNoteView)
IMPLEMENT_DYNCREATE(CSplitChildFrame, CMDIChildFrame)

BOOL CSplitChildFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    return m_wndSplitter.CreateStatic(this, 1, 2) &&
           m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CNoteView), CSize(200, 100), pContext) &&
           m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CNoteView), CSize(200, 100), pContext);
}

void FrameTest::SetUp() {
    TempDirTest::SetUp();
    AfxSetMessageBoxEcho(false);
    RestartApp();
}

void FrameTest::TearDown() {
    CloseMainFrame();
    if (m_app && m_app->m_pMainWnd) m_app->m_pMainWnd->DestroyWindow();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    m_app.reset();
    AfxSetMessageBoxEcho(true);
    TempDirTest::TearDown();
}

void FrameTest::RestartApp() {
    m_app.reset();
    m_app = std::make_unique<CWinApp>("FrameTest");
    m_app->SetProfileFile(ProfilePath().c_str());
}

CMainFrame* FrameTest::OpenMainFrame(int* pCmdShow) {
    m_pMain = new CMainFrame;
    if (!m_pMain->LoadFrame(IDR_MAIN)) return m_pMain = nullptr;
    m_app->m_pMainWnd = m_pMain;
    int nCmdShow = SW_SHOWDEFAULT;
    m_pMain->InitializeCoordinates(nCmdShow, IDR_NOTE, RUNTIME_CLASS(CNoteDoc));
    m_pMain->ShowWindow(nCmdShow);
    if (pCmdShow) *pCmdShow = nCmdShow;
    return m_pMain;
}

bool FrameTest::CloseMainFrame() {
    if (!m_app || !m_app->m_pMainWnd) return true;
    HWND hMain = m_app->m_pMainWnd->m_hWnd;
    ::SendMessageA(hMain, WM_CLOSE, 0, 0);
    if (::IsWindow(hMain)) return false;
    m_pMain = nullptr;
    return true;
}

void FrameTest::OpenTwoNoteFrames(int* pn1, int* pn2) {
    m_pMain->AddFrame(pn1, 0, RUNTIME_CLASS(CNoteDoc), nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->AddFrame(pn2, 0, RUNTIME_CLASS(CSketchDoc), nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->NewFocus(*pn1);
    m_pMain->NewFocus(*pn2);
}

int FrameTest::ChildCount() const {
    int n = 0;
    for (HWND h = ::GetWindow(m_pMain->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) ++n;
    return n;
}
