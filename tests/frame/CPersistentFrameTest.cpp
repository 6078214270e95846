#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "FrameHost.h"
#include "platform/mfc/Modules.h"

namespace {

using PersistentFrameTest = FrameTest;

CRect NormalRect(CWnd* pWnd) {
    WINDOWPLACEMENT wp;
    pWnd->GetWindowPlacement(&wp);
    return wp.rcNormalPosition;
}

}  // namespace

TEST_F(PersistentFrameTest, EmptyProfileGivesTheCentredDefault) {
    int nCmdShow = 0;
    ASSERT_NE(OpenMainFrame(&nCmdShow), nullptr);
    EXPECT_EQ(nCmdShow, SW_SHOWNORMAL);
    EXPECT_EQ(NormalRect(m_pMain), CRect(128, 96, 896, 672));
    EXPECT_FALSE(m_pMain->IsIconic() || m_pMain->IsZoomed());
    EXPECT_EQ(m_pMain->m_strSection, "Mainframe Settings");

    PlatformSetScreenSize(1000, 700);  // 750 x 525, centred
    CMainFrame* pOther = new CMainFrame;
    EXPECT_EQ(CRect(pOther->m_rcDefault), CRect(125, 87, 875, 612));
    delete pOther;
    PlatformSetScreenSize(0, 0);
}

TEST_F(PersistentFrameTest, PlacementSurvivesARestart) {
    struct Case {
        const char* name;
        int show1, show2;  // show commands applied before closing
        int iconic, maximized, nCmdShow;
        UINT flags;          // placement flags reported after the restore
        BOOL zoomedRestored; // maximized after SW_RESTORE
    };
    const Case cases[] = {
        {"normal", SW_SHOWNORMAL, SW_SHOWNORMAL, 0, 0, SW_SHOWNORMAL, 0, FALSE},
        {"maximized", SW_MAXIMIZE, SW_MAXIMIZE, 0, 1, SW_SHOWMAXIMIZED, 0, FALSE},
        {"minimized from maximized", SW_MAXIMIZE, SW_MINIMIZE, 1, 1, SW_SHOWMINNOACTIVE, WPF_RESTORETOMAXIMIZED, TRUE},
        {"minimized from normal", SW_SHOWNORMAL, SW_MINIMIZE, 1, 0, SW_SHOWMINNOACTIVE, 0, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(OpenMainFrame(), nullptr);
        m_pMain->MoveWindow(40, 30, 500, 400);
        m_pMain->ShowWindow(c.show1);
        m_pMain->ShowWindow(c.show2);
        ASSERT_TRUE(CloseMainFrame());

        RestartApp();  // a second application object reads the file
        const char* section = "Mainframe Settings";
        EXPECT_EQ(static_cast<int>(m_app->GetProfileInt(section, "Left", -1)), 40);
        EXPECT_EQ(static_cast<int>(m_app->GetProfileInt(section, "Top", -1)), 30);
        EXPECT_EQ(static_cast<int>(m_app->GetProfileInt(section, "Right", -1)), 540);
        EXPECT_EQ(static_cast<int>(m_app->GetProfileInt(section, "Bottom", -1)), 430);
        EXPECT_EQ(static_cast<int>(m_app->GetProfileInt(section, "Iconic", -1)), c.iconic);
        EXPECT_EQ(static_cast<int>(m_app->GetProfileInt(section, "Maximized", -1)), c.maximized);

        int nCmdShow = 0;
        ASSERT_NE(OpenMainFrame(&nCmdShow), nullptr);
        EXPECT_EQ(nCmdShow, c.nCmdShow);
        WINDOWPLACEMENT wp;
        m_pMain->GetWindowPlacement(&wp);
        EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(40, 30, 540, 430));
        EXPECT_EQ(wp.flags, c.flags);
        EXPECT_EQ(m_pMain->IsIconic(), c.iconic);
        EXPECT_EQ(m_pMain->IsZoomed(), c.maximized && !c.iconic);
        m_pMain->ShowWindow(SW_RESTORE);
        EXPECT_EQ(m_pMain->IsZoomed(), c.zoomedRestored);
        ASSERT_TRUE(CloseMainFrame());
        std::remove(ProfilePath().c_str());
        RestartApp();
    }
}

TEST_F(PersistentFrameTest, FirstTimeClearedSkipsTheRestore) {
    m_app->WriteProfileInt("Mainframe Settings", "Maximized", 1);
    auto* pFrame = new CMainFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_MAIN));
    m_app->m_pMainWnd = m_pMain = pFrame;
    pFrame->m_bFirstTime = FALSE;
    int nCmdShow = 42;
    pFrame->InitializeCoordinates(nCmdShow, 7, RUNTIME_CLASS(CSketchDoc));
    EXPECT_EQ(nCmdShow, 42);
    EXPECT_FALSE(pFrame->IsZoomed());
    EXPECT_EQ(pFrame->m_nDefaultResourceID, 7u);
    EXPECT_EQ(pFrame->m_pDefaultDocClass, RUNTIME_CLASS(CSketchDoc));
}

TEST_F(PersistentFrameTest, CorruptOrMissingProfileFallsBackToDefaults) {
    for (const char* text : {"\x01\x02garbage\n[Mainframe Settings\nLeft\n=5\n",
                             "[mainframe settings]\r\nleft = abc\r\nTop=\r\nRight=900\r\nIconic=x1\r\n"}) {
        WriteFile("config/FrameTest.ini", text);
        int nCmdShow = 0;
        ASSERT_NE(OpenMainFrame(&nCmdShow), nullptr);
        EXPECT_EQ(nCmdShow, SW_SHOWNORMAL);
        CRect rect = NormalRect(m_pMain);
        EXPECT_EQ(rect.left, 128);
        EXPECT_EQ(rect.top, 96);
        EXPECT_TRUE(rect.right == 896 || rect.right == 900);  // a readable entry is taken
        ASSERT_TRUE(CloseMainFrame());
    }
    m_app->SetProfileFile(Posix("no/such/dir/x.ini").c_str());
    int nCmdShow = 0;
    ASSERT_NE(OpenMainFrame(&nCmdShow), nullptr);
    EXPECT_EQ(NormalRect(m_pMain), CRect(128, 96, 896, 672));
}

TEST_F(PersistentFrameTest, DefaultsAndFrameNumbers) {
    auto* pFrame = new CMainFrame;
    UINT nID = 0;
    CRuntimeClass* pDoc = nullptr;
    CRuntimeClass* pFrameClass = nullptr;
    pFrame->CheckForDefaults(nID, pDoc, pFrameClass);  // before InitializeCoordinates
    EXPECT_EQ(nID, 0u);
    EXPECT_EQ(pDoc, nullptr);
    EXPECT_EQ(pFrameClass, RUNTIME_CLASS(CMDIChildFrame));
    nID = 5;
    pDoc = RUNTIME_CLASS(CSketchDoc);
    pFrameClass = RUNTIME_CLASS(CSplitChildFrame);
    pFrame->CheckForDefaults(nID, pDoc, pFrameClass);
    EXPECT_EQ(nID, 5u);
    EXPECT_EQ(pDoc, RUNTIME_CLASS(CSketchDoc));
    EXPECT_EQ(pFrameClass, RUNTIME_CLASS(CSplitChildFrame));

    UINT nNo = 0;
    EXPECT_EQ(pFrame->GetUniqueFrameNo(nNo), 1);
    EXPECT_EQ(nNo, 1u);
    int n = 0;
    for (int i = 0; i < 3; ++i) pFrame->AddFrame(&n, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    pFrame->GetFrame(3)->nFrameNo = 4;  // numbers 1, 2, 4
    pFrame->GetUniqueFrameNo(nNo);
    EXPECT_EQ(nNo, 3u);
    EXPECT_EQ(pFrame->GetFrame(3), nullptr);
    EXPECT_EQ(pFrame->GetFrame(4)->nFrameNo, 4);
    delete pFrame;
}

TEST_F(PersistentFrameTest, CurrentFrameNumberFollowsTheActiveChild) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    int n1 = 0, n2 = 0;
    m_pMain->AddFrame(&n1, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->AddFrame(&n2, 0, RUNTIME_CLASS(CSketchDoc), nullptr, RUNTIME_CLASS(CNoteView));
    int nCurrent = -7;
    m_pMain->Get_Current_Frame_No(&nCurrent);
    EXPECT_EQ(nCurrent, -7);  // no child yet
    m_pMain->NewFocus(n1);
    m_pMain->NewFocus(n2);
    m_pMain->Get_Current_Frame_No(&nCurrent);
    EXPECT_EQ(nCurrent, n2);
    m_pMain->NewFocus(n1);
    m_pMain->Get_Current_Frame_No(&nCurrent);
    EXPECT_EQ(nCurrent, n1);
    m_pMain->Get_Current_Frame_No(nullptr);
}

TEST_F(PersistentFrameTest, MainCaptionNeverCarriesTheDocumentTitle) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    EXPECT_FALSE(m_pMain->GetStyle() & FWS_ADDTOTITLE);
    int n = 0;
    m_pMain->AddFrame(&n, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->NewFocus(n);
    CString caption;
    m_pMain->GetWindowText(caption);
    EXPECT_EQ(caption, "FrameTest");
}

TEST_F(PersistentFrameTest, CloseClosesChildrenAndReleasesLibraries) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    HMODULE hLib = AfxLoadLibrary("libm.so.6");
    ASSERT_NE(hLib, nullptr);
    int n1 = 0, n2 = 0;
    m_pMain->AddFrame(&n1, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView), hLib);
    m_pMain->AddFrame(&n2, 0, RUNTIME_CLASS(CSketchDoc), nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->NewFocus(n1);
    m_pMain->NewFocus(n2);
    EXPECT_EQ(ChildCount(), 2);
    ASSERT_TRUE(CloseMainFrame());
    EXPECT_EQ(CNoteDoc::s_nLive, 0);
    EXPECT_FALSE(FreeLibrary(hLib));  // the frame released the one load
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
}

TEST_F(PersistentFrameTest, AChildThatWillNotCloseCancelsTheClose) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    HMODULE hLib = AfxLoadLibrary("libm.so.6");
    int n1 = 0, n2 = 0;
    m_pMain->AddFrame(&n1, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView), hLib);
    m_pMain->AddFrame(&n2, 0, RUNTIME_CLASS(CSketchDoc), nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->NewFocus(n1);
    m_pMain->NewFocus(n2);  // active: asked first
    auto* pStubborn = static_cast<CNoteDoc*>(m_pMain->GetFrame(n1)->pFrameWnd->GetActiveDocument());
    pStubborn->m_bRefuseClose = TRUE;

    EXPECT_FALSE(CloseMainFrame());  // returns: no endless loop
    EXPECT_EQ(ChildCount(), 1);      // the willing child went
    EXPECT_TRUE(FreeLibrary(hLib));  // still loaded: released here by hand
    hLib = AfxLoadLibrary("libm.so.6");
    m_pMain->GetFrame(n1)->hInstance = hLib;

    pStubborn->m_bRefuseClose = FALSE;
    EXPECT_TRUE(CloseMainFrame());
    EXPECT_FALSE(FreeLibrary(hLib));
}

TEST(PersistentFrameClassTest, RuntimeClassRecords) {
    for (auto [pClass, pBase, name] : {std::tuple{RUNTIME_CLASS(CPersistentFrame), RUNTIME_CLASS(CMDIFrameWnd),
                                                  "CPersistentFrame"},
                                       std::tuple{RUNTIME_CLASS(CMDIChildFrame), RUNTIME_CLASS(CMDIChildWnd),
                                                  "CMDIChildFrame"}}) {
        SCOPED_TRACE(name);
        EXPECT_STREQ(pClass->m_lpszClassName, name);
        EXPECT_EQ(pClass->m_pBaseClass, pBase);
        EXPECT_EQ(pClass->m_wSchema, 0xFFFFu);
        EXPECT_EQ(CRuntimeClass::FromName(name), pClass);
        CObject* pObject = pClass->CreateObject();  // dynamic creation reaches the protected constructor
        ASSERT_NE(pObject, nullptr);
        EXPECT_EQ(pObject->GetRuntimeClass(), pClass);
        delete pObject;
    }
}
