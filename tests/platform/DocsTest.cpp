#include <gtest/gtest.h>

#include <vector>

#include "platform/mfc/App.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/Modules.h"

namespace {

class CPlainDoc : public CDocument {
    DECLARE_DYNCREATE(CPlainDoc)
public:
    CPlainDoc() { ++s_nLive; }
    ~CPlainDoc() override { --s_nLive; }
    static int s_nLive;
};
int CPlainDoc::s_nLive = 0;
IMPLEMENT_DYNCREATE(CPlainDoc, CDocument)

class CPlainView : public CView {
    DECLARE_DYNCREATE(CPlainView)
};
IMPLEMENT_DYNCREATE(CPlainView, CView)

class DocsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxSetMessageBoxEcho(false);
        m_pMain = new CMDIFrameWnd;
        ASSERT_TRUE(m_pMain->LoadFrame(1));
        m_pMain->ShowWindow(SW_SHOWNORMAL);
        m_app.m_pMainWnd = m_pMain;
        m_pTemplate = new CMultiDocTemplate(2, RUNTIME_CLASS(CPlainDoc), RUNTIME_CLASS(CMDIChildWnd),
                                            RUNTIME_CLASS(CPlainView));
        m_app.AddDocTemplate(m_pTemplate);
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;  // drop what is left, WM_QUIT too
        AfxSetMessageBoxEcho(true);
        EXPECT_EQ(CPlainDoc::s_nLive, 0);
    }
    CMDIChildWnd* Open() {
        m_pTemplate->OpenDocumentFile(nullptr);
        return m_pMain->MDIGetActive();
    }

    CWinApp m_app;
    CMDIFrameWnd* m_pMain = nullptr;
    CMultiDocTemplate* m_pTemplate = nullptr;
};

}  // namespace

TEST_F(DocsTest, AutoDeleteDocumentGoesWithItsLastView) {
    std::vector<CDocument*> gone;
    PlatformWatchDocuments(this, [&gone](CDocument* pDoc) { gone.push_back(pDoc); });
    CMDIChildWnd* pChild = Open();
    ASSERT_NE(pChild, nullptr);
    CDocument* pDoc = pChild->GetActiveDocument();
    pChild->SendMessage(WM_CLOSE);
    EXPECT_EQ(gone, std::vector<CDocument*>{pDoc});  // watchers hear of it
    EXPECT_EQ(m_pTemplate->GetFirstDocPosition(), nullptr);

    pDoc = Open()->GetActiveDocument();
    pDoc->m_bAutoDelete = FALSE;
    m_pMain->MDIGetActive()->DestroyWindow();
    EXPECT_EQ(CPlainDoc::s_nLive, 1);  // stays, without views
    PlatformUnwatchDocuments(this);
    delete pDoc;
}

TEST_F(DocsTest, TemplateFailuresLeaveNothingBehind) {
    m_pTemplate->m_pFrameClass = RUNTIME_CLASS(CPlainView);  // not a frame
    EXPECT_EQ(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    m_pTemplate->m_pFrameClass = RUNTIME_CLASS(CMDIChildWnd);
    m_pTemplate->m_pDocClass = RUNTIME_CLASS(CPlainView);  // not a document
    EXPECT_EQ(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    m_pTemplate->m_pDocClass = RUNTIME_CLASS(CPlainDoc);
    m_app.m_pMainWnd = nullptr;  // no MDI frame to hold a child
    EXPECT_EQ(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    m_app.m_pMainWnd = m_pMain;
    EXPECT_EQ(CPlainDoc::s_nLive, 0);
    EXPECT_EQ(m_pMain->MDIGetActive(), nullptr);
}

TEST_F(DocsTest, MdiActivationFollowsTheOrderOfUse) {
    CMDIChildWnd* a = Open();
    CMDIChildWnd* b = Open();
    CMDIChildWnd* c = Open();
    m_pMain->MDIActivate(a);
    a->DestroyWindow();  // the one used before it takes over
    EXPECT_EQ(m_pMain->MDIGetActive(), c);
    c->ActivateFrame(SW_HIDE);
    EXPECT_EQ(m_pMain->MDIGetActive(), b);
    b->ShowWindow(SW_SHOWMAXIMIZED);
    c->ActivateFrame();  // takes the maximized place
    BOOL bMaximized = FALSE;
    EXPECT_EQ(m_pMain->MDIGetActive(&bMaximized), c);
    EXPECT_TRUE(bMaximized);
    EXPECT_FALSE(b->IsZoomed());
}
