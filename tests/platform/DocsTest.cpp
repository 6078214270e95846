#include <gtest/gtest.h>

#include <vector>

#include "platform/App.h"
#include "platform/MessageBox.h"
#include "platform/Modules.h"

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
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
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
    EXPECT_EQ(pDoc->GetDocTemplate(), m_pTemplate);
    pChild->SendMessage(WM_CLOSE);
    EXPECT_EQ(CPlainDoc::s_nLive, 0);
    EXPECT_EQ(gone, std::vector<CDocument*>{pDoc});
    EXPECT_EQ(m_pTemplate->GetFirstDocPosition(), nullptr);

    pChild = Open();
    pDoc = pChild->GetActiveDocument();
    pDoc->m_bAutoDelete = FALSE;
    pChild->DestroyWindow();
    EXPECT_EQ(CPlainDoc::s_nLive, 1);  // stays, without views
    EXPECT_EQ(pDoc->GetFirstViewPosition(), nullptr);
    PlatformUnwatchDocuments(this);
    delete pDoc;
    EXPECT_EQ(gone.size(), 1u);
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
    EXPECT_EQ(m_pMain->MDIGetActive(), c);
    m_pMain->MDIActivate(a);
    EXPECT_EQ(m_pMain->GetActiveFrame(), a);
    a->DestroyWindow();  // the one used before it takes over
    EXPECT_EQ(m_pMain->MDIGetActive(), c);
    c->ActivateFrame(SW_HIDE);
    EXPECT_EQ(m_pMain->MDIGetActive(), b);

    b->ShowWindow(SW_SHOWMAXIMIZED);
    BOOL bMaximized = FALSE;
    m_pMain->MDIGetActive(&bMaximized);
    EXPECT_TRUE(bMaximized);
    c->ActivateFrame();  // takes the maximized place
    EXPECT_EQ(m_pMain->MDIGetActive(&bMaximized), c);
    EXPECT_TRUE(bMaximized);
    EXPECT_FALSE(b->IsZoomed());
    CRect client, rect;
    ::GetClientRect(m_pMain->m_hWndMDIClient, &client);
    c->GetWindowRect(&rect);
    m_pMain->ScreenToClient(&rect);
    EXPECT_EQ(rect.Size(), client.Size());
}

TEST_F(DocsTest, DocumentStringsAndTitles) {
    m_pTemplate->m_strDocStrings = "Win\nReport\nNew report";
    CString text;
    EXPECT_TRUE(m_pTemplate->GetDocString(text, CDocTemplate::fileNewName));
    EXPECT_EQ(text, "New report");
    EXPECT_FALSE(m_pTemplate->GetDocString(text, CDocTemplate::regFileTypeId));
    EXPECT_EQ(text, "");
    CMDIChildWnd* pChild = Open();
    EXPECT_EQ(pChild->GetActiveDocument()->GetTitle(), "Report1");
    CString caption;
    pChild->GetWindowText(caption);
    EXPECT_EQ(caption, "Report1");
    m_pMain->GetWindowText(caption);
    EXPECT_EQ(caption, CString(AfxGetAppName()) + " - Report1");

    // A second frame on the same document numbers both captions.
    CDocument* pDoc = pChild->GetActiveDocument();
    CFrameWnd* pSecond = m_pTemplate->CreateNewFrame(pDoc, pChild);
    m_pTemplate->InitialUpdateFrame(pSecond, pDoc);
    pSecond->GetWindowText(caption);
    EXPECT_EQ(caption, "Report1:2");
    pChild->GetWindowText(caption);
    EXPECT_EQ(caption, "Report1:1");
}
