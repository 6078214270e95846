// Accelerator tables from the test program's script, and keys becoming
// commands in an MDI application: the active child's table before the main
// frame's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/mfc/App.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/ResourceHandles.h"
#include "platform/mfc/StandardIds.h"
#include "resource.h"

namespace {

std::vector<ACCEL> Entries(HACCEL hAccel) {
    std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableA(hAccel, nullptr, 0)));
    EXPECT_EQ(CopyAcceleratorTableA(hAccel, entries.data(), static_cast<int>(entries.size())),
              static_cast<int>(entries.size()));
    return entries;
}

TEST(AcceleratorTableTest, LoadsTheScriptsTableOnce) {
    HACCEL hAccel = LoadAcceleratorsA(nullptr, MAKEINTRESOURCE(IDR_MAINFRAME));
    ASSERT_NE(hAccel, nullptr);
    std::vector<ACCEL> entries = Entries(hAccel);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FCONTROL | FNOINVERT);
    EXPECT_EQ(entries[0].key, 'N');
    EXPECT_EQ(entries[0].cmd, ID_FILE_NEW);
    EXPECT_EQ(entries[1].fVirt, 0);
    EXPECT_EQ(entries[1].key, 'a');
    EXPECT_EQ(entries[1].cmd, ID_TEST_ALPHA);
    EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCE(IDR_MAINFRAME)), hAccel);
}

TEST(AcceleratorTableTest, RefusesMissingDamagedAndUnknownTables) {
    SetLastError(0);
    EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCE(IDR_BROKEN_ACCEL)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCE(999)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));

    ACCEL made[] = {{FVIRTKEY, 'Q', 7}};
    HACCEL hMade = CreateAcceleratorTableA(made, 1);
    ASSERT_NE(hMade, nullptr);
    ASSERT_TRUE(DestroyAcceleratorTable(hMade));
    EXPECT_FALSE(DestroyAcceleratorTable(hMade));
    EXPECT_EQ(CopyAcceleratorTableA(hMade, nullptr, 0), 0);
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = 'Q';
    EXPECT_FALSE(TranslateAcceleratorA(reinterpret_cast<HWND>(&msg), hMade, &msg));
    EXPECT_EQ(CreateAcceleratorTableA(made, 0), nullptr);
}

std::vector<std::string> g_commands;

class CKeysDoc : public CDocument {
    DECLARE_DYNCREATE(CKeysDoc)
};
IMPLEMENT_DYNCREATE(CKeysDoc, CDocument)

class CKeysView : public CView {
    DECLARE_DYNCREATE(CKeysView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CKeysView, CView)

class CKeysChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CKeysChild)
};
IMPLEMENT_DYNCREATE(CKeysChild, CMDIChildWnd)

class CKeysMain : public CMDIFrameWnd {
protected:
    afx_msg void OnNew() { g_commands.push_back("new"); }
    afx_msg void OnTest(UINT nID) { g_commands.push_back(nID == ID_TEST_ALPHA ? "alpha" : "beta"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CKeysMain, CMDIFrameWnd)
ON_COMMAND(ID_FILE_NEW, OnNew)
ON_COMMAND_RANGE(ID_TEST_ALPHA, ID_TEST_BETA, OnTest)
END_MESSAGE_MAP()

class FrameAcceleratorTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands.clear();
        AfxSetMessageBoxEcho(false);
        m_pMain = new CKeysMain;
        ASSERT_TRUE(m_pMain->LoadFrame(IDR_MAINFRAME));
        m_pMain->ShowWindow(SW_SHOWNORMAL);
        m_app.m_pMainWnd = m_pMain;
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
        AfxSetMessageBoxEcho(true);
    }
    void Key(UINT message, UINT vk, char ch = 0) {
        PlatformInput in;
        in.message = message;
        in.vk = vk;
        in.ch = ch;
        ASSERT_TRUE(PlatformPostInput(m_pMain->m_hWnd, in));
    }
    // Presses the key with the modifiers held, then runs the application's
    // loop over what that queued; the commands it gave.
    std::vector<std::string> Press(std::vector<UINT> modifiers, UINT vk, char ch) {
        g_commands.clear();
        for (UINT m : modifiers) Key(WM_KEYDOWN, m);
        Key(WM_KEYDOWN, vk, ch);
        Key(WM_KEYUP, vk);
        for (UINT m : modifiers) Key(WM_KEYUP, m);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (m_app.PreTranslateMessage(&msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return g_commands;
    }

    CWinApp m_app;
    CKeysMain* m_pMain = nullptr;
};

using Commands = std::vector<std::string>;

TEST_F(FrameAcceleratorTest, FrameTakesTitleAndKeysFromItsResources) {
    EXPECT_EQ(m_pMain->GetTitle().str(), "Resource Test");
    ASSERT_NE(m_pMain->m_hAccelTable, nullptr);
    struct Case {
        const char* what;
        std::vector<UINT> modifiers;
        UINT vk;
        char ch;
        Commands commands;
    };
    const Case cases[] = {
        {"Ctrl+N", {VK_CONTROL}, 'N', '\x0e', {"new"}},
        {"N alone", {}, 'N', 'n', {}},
        {"Ctrl+Shift+N: more modifiers than the entry", {VK_CONTROL, VK_SHIFT}, 'N', '\x0e', {}},
        {"the character a", {}, 'A', 'a', {"alpha"}},
        {"the character A: characters match exactly", {VK_SHIFT}, 'A', 'A', {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Press(c.modifiers, c.vk, c.ch), c.commands);
    }
}

TEST_F(FrameAcceleratorTest, ActiveChildsTableComesBeforeTheMainFrames) {
    auto* pTemplate = new CMultiDocTemplate(IDR_TESTTYPE, RUNTIME_CLASS(CKeysDoc), RUNTIME_CLASS(CKeysChild),
                                            RUNTIME_CLASS(CKeysView));
    m_app.AddDocTemplate(pTemplate);
    const char* expected[] = {"",     "Test",          "Test document", "Test files (*.tst)",
                              ".tst", "Test.Document", "Test Document"};
    for (int i = CDocTemplate::windowTitle; i <= CDocTemplate::regFileTypeName; ++i) {
        SCOPED_TRACE(i);
        CString part;
        EXPECT_TRUE(pTemplate->GetDocString(part, static_cast<CDocTemplate::DocStringIndex>(i)));
        EXPECT_EQ(part.str(), expected[i]);
    }

    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->GetTitle().str(), "Test1");
    EXPECT_EQ(Press({VK_CONTROL}, 'N', '\x0e'), Commands{"beta"});
    EXPECT_EQ(Press({}, 'A', 'a'), Commands{"alpha"});
}

}  // namespace
