#include <gtest/gtest.h>

#include <string>
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
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override {
        s_saved.push_back(lpszPathName);
        return m_bSaveWorks && CDocument::OnSaveDocument(lpszPathName);
    }
    static int s_nLive;
    static std::vector<std::string> s_saved;  // the paths saved to
    BOOL m_bSaveWorks = TRUE;
};
int CPlainDoc::s_nLive = 0;
std::vector<std::string> CPlainDoc::s_saved;
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

TEST_F(DocsTest, ClosingAModifiedDocumentAsksWhetherToSaveIt) {
    std::vector<std::string> asked;
    int answer = IDCANCEL;
    AfxSetMessageBoxHook([&](const CString& text, UINT nType) {
        asked.push_back(text.str());
        EXPECT_EQ(nType & MB_TYPEMASK, MB_YESNOCANCEL);
        return answer;
    });
    HWND hChild = Open()->m_hWnd;
    ::SendMessageA(hChild, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hChild));
    EXPECT_TRUE(asked.empty()) << "an unmodified document closes without asking";

    struct Case {
        const char* path;
        int answer;
        BOOL saveWorks;
        bool closes;
        bool saved;
    } cases[] = {
        {"C:\\work\\notes.txt", IDCANCEL, TRUE, false, false},
        {"C:\\work\\notes.txt", IDNO, TRUE, true, false},
        {"C:\\work\\notes.txt", IDYES, TRUE, true, true},
        {"C:\\work\\notes.txt", IDYES, FALSE, false, true},  // a save that failed keeps the frame
        {"", IDCANCEL, TRUE, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << " answered " << c.answer);
        CMDIChildWnd* pChild = Open();
        ASSERT_NE(pChild, nullptr);
        hChild = pChild->m_hWnd;
        auto* pDoc = static_cast<CPlainDoc*>(pChild->GetActiveDocument());
        if (*c.path)
            pDoc->SetPathName(c.path);
        else
            pDoc->SetTitle("Draft");
        pDoc->m_bSaveWorks = c.saveWorks;
        pDoc->SetModifiedFlag();
        asked.clear();
        CPlainDoc::s_saved.clear();
        answer = c.answer;
        ::SendMessageA(hChild, WM_CLOSE, 0, 0);
        EXPECT_EQ(asked, std::vector<std::string>{*c.path ? "Save changes to notes.txt?" : "Save changes to Draft?"});
        EXPECT_EQ(!::IsWindow(hChild), c.closes);
        EXPECT_EQ(CPlainDoc::s_saved, c.saved ? std::vector<std::string>{c.path} : std::vector<std::string>{});
        if (::IsWindow(hChild)) {
            pDoc->SetModifiedFlag(FALSE);
            ::SendMessageA(hChild, WM_CLOSE, 0, 0);
        }
        ASSERT_FALSE(::IsWindow(hChild));
    }
    AfxSetMessageBoxHook(nullptr);
}
