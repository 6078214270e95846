// Commands routed through an MDI application as a host's message maps see
// them, command updates with CCmdUI, and document views painting through
// OnDraw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/App.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/StandardIds.h"
#include "platform/user/Painting.h"

namespace {

// Each level of the route handles the commands from ID_FIRST up to its own
// last id, so a command is handled by the first level that has it.
enum : UINT { ID_VIEWS = 100, ID_DOCUMENTS, ID_CHILDREN, ID_MAINS, ID_APPS, ID_NOBODY, ID_DISABLED, ID_CHECKED };

std::vector<std::string> g_handled;

class CRouteDoc : public CDocument {
    DECLARE_DYNCREATE(CRouteDoc)
protected:
    afx_msg void OnAny(UINT nID) { g_handled.push_back("document " + std::to_string(nID)); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CRouteDoc, CDocument)
BEGIN_MESSAGE_MAP(CRouteDoc, CDocument)
ON_COMMAND_RANGE(ID_VIEWS, ID_DOCUMENTS, OnAny)
END_MESSAGE_MAP()

class CRouteView : public CView {
    DECLARE_DYNCREATE(CRouteView)
public:
    int m_nDraws = 0;
    int m_nPrepares = 0;
    void OnDraw(CDC* pDC) override {
        EXPECT_NE(pDC->GetSafeHdc(), nullptr);
        EXPECT_EQ(m_nPrepares, m_nDraws + 1);  // prepared first, each time
        ++m_nDraws;
    }
    void OnPrepareDC(CDC*, CPrintInfo*) override { ++m_nPrepares; }

protected:
    afx_msg void OnAny(UINT nID) { g_handled.push_back("view " + std::to_string(nID)); }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(1);
        pCmdUI->SetText("Checked");
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CRouteView, CView)
BEGIN_MESSAGE_MAP(CRouteView, CView)
ON_COMMAND_RANGE(ID_VIEWS, ID_VIEWS, OnAny)
ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
ON_UPDATE_COMMAND_UI(ID_CHECKED, OnUpdateChecked)
END_MESSAGE_MAP()

class CRouteChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CRouteChild)
protected:
    afx_msg void OnAny(UINT nID) { g_handled.push_back("child " + std::to_string(nID)); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CRouteChild, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CRouteChild, CMDIChildWnd)
ON_COMMAND_RANGE(ID_VIEWS, ID_CHILDREN, OnAny)
END_MESSAGE_MAP()

class CRouteMain : public CMDIFrameWnd {
protected:
    afx_msg void OnAny(UINT nID) { g_handled.push_back("main " + std::to_string(nID)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRouteMain, CMDIFrameWnd)
ON_COMMAND_RANGE(ID_VIEWS, ID_MAINS, OnAny)
END_MESSAGE_MAP()

class CRouteApp : public CWinApp {
protected:
    afx_msg void OnAny(UINT nID) { g_handled.push_back("app " + std::to_string(nID)); }
    afx_msg void OnDisabled() { g_handled.push_back("disabled ran"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRouteApp, CWinApp)
ON_COMMAND_RANGE(ID_VIEWS, ID_APPS, OnAny)
ON_COMMAND(ID_DISABLED, OnDisabled)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
END_MESSAGE_MAP()

// What an update handler set, as a menu item would show it.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        CCmdUI::Enable(bOn);
    }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    void SetText(LPCTSTR lpszText) override { m_strText = lpszText; }
    BOOL m_bEnabled = -1;
    int m_nCheck = -1;
    CString m_strText;
};

class CommandRoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_handled.clear();
        AfxSetMessageBoxEcho(false);
        m_pMain = new CRouteMain;
        ASSERT_TRUE(m_pMain->LoadFrame(1));
        m_pMain->ShowWindow(SW_SHOWNORMAL);
        m_app.m_pMainWnd = m_pMain;
        m_app.AddDocTemplate(
            new CMultiDocTemplate(2, RUNTIME_CLASS(CRouteDoc), RUNTIME_CLASS(CRouteChild), RUNTIME_CLASS(CRouteView)));
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
        AfxSetMessageBoxEcho(true);
    }
    // A command as a menu or accelerator sends it to the main frame.
    void Command(UINT nID) { m_pMain->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0); }
    CRouteView* ActiveView() {
        CMDIChildWnd* pChild = m_pMain->MDIGetActive();
        return pChild ? static_cast<CRouteView*>(pChild->GetActiveView()) : nullptr;
    }

    CRouteApp m_app;
    CRouteMain* m_pMain = nullptr;
};

}  // namespace

TEST_F(CommandRoutingTest, EachCommandGoesToTheFirstTargetOnTheRouteThatHandlesIt) {
    Command(ID_FILE_NEW);  // the application's map names CWinApp's own handler
    ASSERT_NE(ActiveView(), nullptr);
    const struct {
        UINT nID;
        const char* handler;
    } cases[] = {
        {ID_VIEWS, "view"}, {ID_DOCUMENTS, "document"}, {ID_CHILDREN, "child"}, {ID_MAINS, "main"}, {ID_APPS, "app"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.handler);
        g_handled.clear();
        Command(c.nID);
        EXPECT_EQ(g_handled, std::vector<std::string>{std::string(c.handler) + " " + std::to_string(c.nID)});
    }
    g_handled.clear();
    Command(ID_NOBODY);
    EXPECT_TRUE(g_handled.empty());
}

TEST_F(CommandRoutingTest, WithoutAChildFrameTheMainFrameAndTheApplicationStillHandle) {
    Command(ID_VIEWS);
    Command(ID_APPS);
    EXPECT_EQ(g_handled, (std::vector<std::string>{"main 100", "app 104"}));
}

TEST_F(CommandRoutingTest, UpdateHandlersEnableCheckAndNameCommands) {
    Command(ID_FILE_NEW);
    // A command its update handler disabled does not run from a menu.
    Command(ID_DISABLED);
    EXPECT_TRUE(g_handled.empty());
    const struct {
        UINT nID;
        BOOL bEnabled;
        int nCheck;
        const char* text;
    } cases[] = {
        {ID_DISABLED, FALSE, -1, ""},       // disabled by the view's update handler
        {ID_CHECKED, FALSE, 1, "Checked"},  // checked and named; no command handler, so disabled
        {ID_APPS, TRUE, -1, ""},            // no update handler, but a command handler
        {ID_NOBODY, FALSE, -1, ""},         // no handler anywhere: disabled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nID);
        CTestCmdUI ui;
        ui.m_nID = c.nID;
        ui.DoUpdate(m_pMain, TRUE);
        EXPECT_EQ(ui.m_bEnabled, c.bEnabled);
        EXPECT_EQ(ui.m_nCheck, c.nCheck);
        EXPECT_EQ(ui.m_strText, c.text);
    }
}

TEST_F(CommandRoutingTest, ViewsPaintThroughOnDrawAndUpdateAllViewsRepaintsTheOthers) {
    Command(ID_FILE_NEW);
    CRouteView* pFirst = ActiveView();
    ASSERT_NE(pFirst, nullptr);
    Command(ID_WINDOW_NEW);  // a second frame on the same document
    CRouteView* pSecond = ActiveView();
    ASSERT_NE(pSecond, nullptr);
    ASSERT_NE(pSecond, pFirst);
    ASSERT_EQ(pSecond->GetDocument(), pFirst->GetDocument());
    pFirst->UpdateWindow();
    pSecond->UpdateWindow();
    int first = pFirst->m_nDraws, second = pSecond->m_nDraws;
    EXPECT_GE(first, 1);  // the initial update drew it
    EXPECT_GE(second, 1);

    pFirst->UpdateWindow();  // nothing invalid: no drawing
    EXPECT_EQ(pFirst->m_nDraws, first);

    pFirst->GetDocument()->UpdateAllViews(pFirst);  // the sender is not told
    pFirst->UpdateWindow();
    pSecond->UpdateWindow();
    EXPECT_EQ(pFirst->m_nDraws, first);
    EXPECT_EQ(pSecond->m_nDraws, second + 1);

    pFirst->GetDocument()->UpdateAllViews(nullptr);
    pFirst->UpdateWindow();
    pSecond->UpdateWindow();
    EXPECT_EQ(pFirst->m_nDraws, first + 1);
    EXPECT_EQ(pSecond->m_nDraws, second + 2);
}
