#include <gtest/gtest.h>

#include "FrameHost.h"
#include "files/CUtils.h"

namespace {

class CFixedChildFrame : public CMDIChildFrame {
    DECLARE_DYNCREATE(CFixedChildFrame)
public:
    CFixedChildFrame() : CMDIChildFrame("Fixed caption") {}
};
IMPLEMENT_DYNCREATE(CFixedChildFrame, CMDIChildFrame)

CString Caption(HWND hWnd) {
    char text[256];
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

class ChildFrameTest : public FrameTest {
protected:
    // A plain MDI main frame, whose caption carries the active document.
    CMDIFrameWnd* OpenPlainMainFrame() {
        auto* pFrame = new CMDIFrameWnd;
        pFrame->SetTitle("Notes");
        EXPECT_TRUE(pFrame->LoadFrame(IDR_MAIN));
        pFrame->ShowWindow(SW_SHOWNORMAL);
        m_app->m_pMainWnd = pFrame;
        return pFrame;
    }

    CSplitChildFrame* OpenSplitFrame(CDocument** ppDoc = nullptr) {
        auto* pTemplate = new CMultiDocTemplate(IDR_NOTE, RUNTIME_CLASS(CNoteDoc), RUNTIME_CLASS(CSplitChildFrame),
                                                nullptr);
        m_app->AddDocTemplate(pTemplate);
        CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
        if (ppDoc) *ppDoc = pDoc;
        auto* pMDI = static_cast<CMDIFrameWnd*>(m_app->m_pMainWnd);
        return static_cast<CSplitChildFrame*>(pMDI->MDIGetActive());
    }
};

}  // namespace

TEST_F(ChildFrameTest, CaptionStaysFixedWhileTheMainCaptionFollows) {
    CMDIFrameWnd* pMain = OpenPlainMainFrame();
    auto* pTemplate = new CMultiDocTemplate(IDR_NOTE, RUNTIME_CLASS(CNoteDoc), RUNTIME_CLASS(CMDIChildFrame),
                                            RUNTIME_CLASS(CNoteView));
    pTemplate->m_strDocStrings = "\nNote\n";
    m_app->AddDocTemplate(pTemplate);
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    CMDIChildWnd* pChild = pMain->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    EXPECT_STREQ(pChild->GetRuntimeClass()->m_lpszClassName, "CMDIChildFrame");
    EXPECT_FALSE(pChild->GetStyle() & FWS_ADDTOTITLE);
    EXPECT_EQ(Caption(pChild->m_hWnd), "");
    EXPECT_EQ(Caption(pMain->m_hWnd), "Notes - Note1");

    pDoc->SetTitle("Shopping");
    EXPECT_EQ(Caption(pChild->m_hWnd), "");
    EXPECT_EQ(Caption(pMain->m_hWnd), "Notes - Shopping");

    auto* pFixed = new CMultiDocTemplate(IDR_NOTE, RUNTIME_CLASS(CNoteDoc), RUNTIME_CLASS(CFixedChildFrame),
                                         RUNTIME_CLASS(CNoteView));
    m_app->AddDocTemplate(pFixed);
    pFixed->OpenDocumentFile(nullptr);
    EXPECT_EQ(Caption(pMain->MDIGetActive()->m_hWnd), "Fixed caption");
}

TEST_F(ChildFrameTest, SwitchOnTheActivePaneKeepsItActiveAndTheDocumentAlive) {
    OpenPlainMainFrame();
    CDocument* pDoc = nullptr;
    CSplitChildFrame* pFrame = OpenSplitFrame(&pDoc);
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    CWnd* pOld = splitter.GetPane(0, 0);
    ASSERT_EQ(pFrame->GetActiveView(), pOld);  // the first pane
    CRect oldRect;
    pOld->GetWindowRect(&oldRect);

    CUtils utils;
    utils.SwitchViewInSplitter(&splitter, 0, 0, RUNTIME_CLASS(CListView), false);
    auto* pNew = DYNAMIC_DOWNCAST(CListView, splitter.GetPane(0, 0));
    ASSERT_NE(pNew, nullptr);
    EXPECT_EQ(pFrame->GetActiveView(), pNew);
    EXPECT_EQ(pNew->GetDocument(), pDoc);
    EXPECT_EQ(pNew->m_nInitialUpdates, 1);
    CRect newRect;
    pNew->GetWindowRect(&newRect);
    EXPECT_EQ(newRect, oldRect);

    // The inactive pane: the active view stays where it was.
    utils.SwitchViewInSplitter(&splitter, 0, 1, RUNTIME_CLASS(CListView), true);
    auto* pRight = DYNAMIC_DOWNCAST(CListView, splitter.GetPane(0, 1));
    ASSERT_NE(pRight, nullptr);
    EXPECT_EQ(pFrame->GetActiveView(), pNew);
    EXPECT_EQ(pRight->m_nInitialUpdates, 2);  // InitialUpdateFrame, then once more
    EXPECT_EQ(CNoteDoc::s_nLive, 1);
}

TEST_F(ChildFrameTest, TheOnlyViewOfADocumentCanBeSwitched) {
    OpenPlainMainFrame();
    CDocument* pDoc = nullptr;
    CSplitChildFrame* pFrame = OpenSplitFrame(&pDoc);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    auto* pOtherDoc = new CNoteDoc;  // the right pane moves to another document
    static_cast<CView*>(splitter.GetPane(0, 1))->GetDocument()->RemoveView(static_cast<CView*>(splitter.GetPane(0, 1)));
    pOtherDoc->AddView(static_cast<CView*>(splitter.GetPane(0, 1)));

    CUtils utils;
    utils.SwitchViewInSplitter(&splitter, 0, 1, RUNTIME_CLASS(CListView), false);
    EXPECT_EQ(CNoteDoc::s_nLive, 2);
    EXPECT_EQ(static_cast<CView*>(splitter.GetPane(0, 1))->GetDocument(), pOtherDoc);
}

TEST_F(ChildFrameTest, SwitchWithoutAViewOrWithABadClassIsSafe) {
    OpenPlainMainFrame();
    CDocument* pDoc = nullptr;
    CSplitChildFrame* pFrame = OpenSplitFrame(&pDoc);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    CUtils utils;
    utils.SwitchViewInSplitter(nullptr, 0, 0, RUNTIME_CLASS(CListView), false);
    utils.SwitchViewInSplitter(&splitter, 3, 0, RUNTIME_CLASS(CListView), false);  // no such pane
    EXPECT_TRUE(utils.m_strError.IsEmpty());

    utils.SwitchViewInSplitter(&splitter, 0, 1, RUNTIME_CLASS(CNoteDoc), false);  // not a window class
    EXPECT_EQ(splitter.GetPane(0, 1), nullptr);
    EXPECT_FALSE(utils.m_strError.IsEmpty());
    EXPECT_EQ(CNoteDoc::s_nLive, 1);  // the document is still there, shown in the left pane
    EXPECT_EQ(static_cast<CView*>(splitter.GetPane(0, 0))->GetDocument(), pDoc);
}
