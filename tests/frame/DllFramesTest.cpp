#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameHost.h"
#include "platform/kernel/Paths.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/Modules.h"

namespace {

// Whether the loader still has the module (asked without loading it).
bool IsLoaded(const char* posix) {
    void* handle = dlopen(posix, RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

const char* ClassName(CObject* pObject) { return pObject ? pObject->GetRuntimeClass()->m_lpszClassName : "(none)"; }

class DllFramesTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_oldHook = AfxSetMessageBoxHook([this](const CString& text, UINT) {
            m_messages.push_back(text.str());
            return IDOK;
        });
        ASSERT_NE(OpenMainFrame(), nullptr);
    }
    void TearDown() override {
        FrameTest::TearDown();
        AfxSetMessageBoxHook(m_oldHook);
    }
    // The active child's frame and view classes once frame n is shown.
    std::string Shown(int n) {
        m_pMain->NewFocus(n);
        CMDIChildWnd* pChild = m_pMain->MDIGetActive();
        return std::string(ClassName(pChild)) + " " + ClassName(pChild ? pChild->GetActiveView() : nullptr);
    }

    std::vector<std::string> m_messages;
    MessageBoxHook m_oldHook;
};

}  // namespace

TEST_F(DllFramesTest, APluginFrameWorksUntilTheMainFrameClosesAndIsThenUnloaded) {
    int n = 0, nNote = 0;
    ASSERT_EQ(m_pMain->LoadDLLFrame(nullptr, PlatformFromPosixPath(CBASIS_TEST_FRAME_PLUGIN), &n, 0, nullptr), 1);
    CFrame* pRecord = m_pMain->GetFrame(n);
    ASSERT_NE(pRecord, nullptr);
    EXPECT_EQ(pRecord->pDocClass, RUNTIME_CLASS(CNoteDoc));  // the default document class
    EXPECT_EQ(m_pMain->MDIGetActive()->m_hWnd, pRecord->hWnd);
    EXPECT_EQ(Shown(n), "CPluginFrame CPluginView");

    // Another frame comes to the front; WM_NEWFOCUS brings the plugin's back.
    m_pMain->AddFrame(&nNote, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->NewFocus(nNote);
    HWND hPluginChild = pRecord->hWnd;
    ::SendMessageA(m_pMain->m_hWnd, WM_NEWFOCUS, n, 0);
    EXPECT_EQ(m_pMain->MDIGetActive()->m_hWnd, hPluginChild);
    EXPECT_EQ(ChildCount(), 2);

    // Closed by the user, made anew from the plugin's classes on request.
    ::SendMessageA(hPluginChild, WM_CLOSE, 0, 0);
    ::SendMessageA(m_pMain->m_hWnd, WM_NEWFOCUS, n, 0);
    EXPECT_NE(pRecord->hWnd, hPluginChild);
    EXPECT_STREQ(ClassName(m_pMain->MDIGetActive()), "CPluginFrame");
    EXPECT_TRUE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));

    ASSERT_TRUE(CloseMainFrame());
    EXPECT_FALSE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(DllFramesTest, TheChildFrameClassComesFromThePluginOnlyWhereAsked) {
    CString frames = PlatformFromPosixPath(CBASIS_TEST_FRAME_PLUGIN);
    CString viewOnly = PlatformFromPosixPath(CBASIS_TEST_VIEW_PLUGIN);
    HINSTANCE hHost = AfxLoadLibrary(frames);  // the host's own load, to look into the plugin
    auto frameFactoryCalls = reinterpret_cast<int (*)()>(GetProcAddress(hHost, "FrameFactoryCalls"));
    ASSERT_NE(frameFactoryCalls, nullptr);
    int nView = 0, nFrame = 0, nViewOnly = 0;
    ASSERT_EQ(m_pMain->AddDLLView(nullptr, frames, &nView, 0, nullptr), 1);
    EXPECT_EQ(frameFactoryCalls(), 0);  // not even asked
    ASSERT_EQ(m_pMain->AddDLLFrame(nullptr, frames, &nFrame, 0, RUNTIME_CLASS(CSketchDoc)), 1);
    EXPECT_EQ(frameFactoryCalls(), 1);
    ASSERT_EQ(m_pMain->AddDLLFrame(nullptr, viewOnly, &nViewOnly, 0, nullptr), 1);
    EXPECT_EQ(m_pMain->GetFrame(nFrame)->pDocClass, RUNTIME_CLASS(CSketchDoc));
    EXPECT_EQ(Shown(nView), "CMDIChildFrame CPluginView");
    EXPECT_EQ(Shown(nFrame), "CPluginFrame CPluginView");
    EXPECT_EQ(Shown(nViewOnly), "CMDIChildFrame CPluginView");

    // Each registration took a load of its own, and the close releases
    // exactly those: the host's load is still there.
    ASSERT_TRUE(CloseMainFrame());
    EXPECT_FALSE(IsLoaded(CBASIS_TEST_VIEW_PLUGIN));
    EXPECT_TRUE(FreeLibrary(hHost));
    EXPECT_FALSE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));
}

TEST_F(DllFramesTest, AModuleThatCannotSupplyAViewIsRefusedWithOneMessage) {
    WriteFile("notes.txt", "not a shared library\n");
    struct Case {
        CString name;
        const char* posix;  // a real module, which must not stay loaded
    };
    const Case cases[] = {
        {PlatformFromPosixPath(Posix("missing.so")), nullptr},
        {CString(), nullptr},
        {PlatformFromPosixPath(Posix("notes.txt")), nullptr},
        {PlatformFromPosixPath(CBASIS_TEST_BARE_PLUGIN), CBASIS_TEST_BARE_PLUGIN},
        {PlatformFromPosixPath(CBASIS_TEST_NULL_VIEW_PLUGIN), CBASIS_TEST_NULL_VIEW_PLUGIN},
        {PlatformFromPosixPath(CBASIS_TEST_DOC_VIEW_PLUGIN), CBASIS_TEST_DOC_VIEW_PLUGIN},
        {PlatformFromPosixPath(CBASIS_TEST_VIEW_AS_FRAME_PLUGIN), CBASIS_TEST_VIEW_AS_FRAME_PLUGIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.str());
        m_messages.clear();
        int n = -5;
        EXPECT_EQ(m_pMain->LoadDLLFrame(nullptr, c.name, &n, 0, nullptr), 0);
        EXPECT_EQ(n, -5);
        EXPECT_EQ(m_messages, std::vector<std::string>{"Failed to load " + c.name.str()});
        EXPECT_EQ(m_pMain->GetFrame(1), nullptr);
        EXPECT_EQ(m_app->GetFirstDocTemplatePosition(), nullptr);
        EXPECT_EQ(m_pMain->MDIGetActive(), nullptr);
        EXPECT_TRUE(!c.posix || !IsLoaded(c.posix));
    }
    int n = 0;  // the last one's child frame export is not asked for by AddDLLView
    EXPECT_EQ(m_pMain->AddDLLView(nullptr, cases[6].name, &n, 0, nullptr), 1);
}

// However the main window goes, its plugins are released once it is gone.
TEST_F(DllFramesTest, AMainFrameDestroyedWithoutClosingReleasesItsPlugins) {
    int n = 0;
    ASSERT_EQ(m_pMain->LoadDLLFrame(nullptr, PlatformFromPosixPath(CBASIS_TEST_FRAME_PLUGIN), &n, 0, nullptr), 1);
    m_pMain->DestroyWindow();
    m_pMain = nullptr;
    EXPECT_FALSE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));
}
