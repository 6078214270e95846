#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameHost.h"
#include "platform/MessageBox.h"
#include "platform/Modules.h"
#include "platform/Paths.h"

namespace {

// Whether the loader still has the module (without loading it).
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
    int TemplateCount() const {
        int n = 0;
        for (POSITION pos = m_app->GetFirstDocTemplatePosition(); pos; m_app->GetNextDocTemplate(pos)) ++n;
        return n;
    }
    // How often the plugin's "GetDllFrame" ran.
    static int FrameFactoryCalls(HINSTANCE hPlugin) {
        auto pfn = reinterpret_cast<int (*)()>(GetProcAddress(hPlugin, "FrameFactoryCalls"));
        return pfn ? pfn() : -1;
    }

    std::vector<std::string> m_messages;
    MessageBoxHook m_oldHook;
};

}  // namespace

TEST_F(DllFramesTest, APluginFrameWorksUntilTheMainFrameClosesAndIsThenUnloaded) {
    int n = 0;
    ASSERT_EQ(m_pMain->LoadDLLFrame(nullptr, PlatformFromPosixPath(CBASIS_TEST_FRAME_PLUGIN), &n, 0, nullptr), 1);
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));
    CFrame* pRecord = m_pMain->GetFrame(n);
    ASSERT_NE(pRecord, nullptr);
    EXPECT_NE(pRecord->hInstance, nullptr);
    EXPECT_EQ(pRecord->pDocClass, RUNTIME_CLASS(CNoteDoc));  // the default document class
    CMDIChildWnd* pChild = m_pMain->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    EXPECT_EQ(pChild->m_hWnd, pRecord->hWnd);
    EXPECT_STREQ(ClassName(pChild), "CPluginFrame");
    EXPECT_STREQ(ClassName(pChild->GetActiveView()), "CPluginView");

    // Another frame comes to the front; WM_NEWFOCUS brings the plugin's back.
    int nNote = 0;
    m_pMain->AddFrame(&nNote, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->NewFocus(nNote);
    HWND hPluginChild = pRecord->hWnd;
    ::SendMessageA(m_pMain->m_hWnd, WM_NEWFOCUS, n, 0);
    EXPECT_EQ(m_pMain->MDIGetActive()->m_hWnd, hPluginChild);
    EXPECT_EQ(ChildCount(), 2);

    // Closed by the user, made anew from the plugin's classes on request.
    ::SendMessageA(hPluginChild, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));
    ::SendMessageA(m_pMain->m_hWnd, WM_NEWFOCUS, n, 0);
    EXPECT_NE(pRecord->hWnd, hPluginChild);
    EXPECT_STREQ(ClassName(m_pMain->MDIGetActive()), "CPluginFrame");

    ASSERT_TRUE(CloseMainFrame());
    EXPECT_FALSE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(DllFramesTest, TheChildFrameClassComesFromThePluginOnlyWhereAsked) {
    CString frames = PlatformFromPosixPath(CBASIS_TEST_FRAME_PLUGIN);
    HINSTANCE hHost = AfxLoadLibrary(frames);  // the host's own load, to look into the plugin
    ASSERT_NE(hHost, nullptr);
    int nView = 0, nFrame = 0, nViewOnly = 0, nViewOnlyFrame = 0;
    ASSERT_EQ(m_pMain->AddDLLView(nullptr, frames, &nView, 0, nullptr), 1);
    EXPECT_EQ(FrameFactoryCalls(hHost), 0);  // not even asked
    ASSERT_EQ(m_pMain->AddDLLFrame(nullptr, frames, &nFrame, 0, RUNTIME_CLASS(CSketchDoc)), 1);
    EXPECT_EQ(FrameFactoryCalls(hHost), 1);
    CString viewOnly = PlatformFromPosixPath(CBASIS_TEST_VIEW_PLUGIN);
    ASSERT_EQ(m_pMain->AddDLLFrame(nullptr, viewOnly, &nViewOnlyFrame, 0, nullptr), 1);
    ASSERT_EQ(m_pMain->AddDLLView(nullptr, viewOnly, &nViewOnly, 0, nullptr), 1);
    EXPECT_EQ(TemplateCount(), 4);

    struct Expected {
        int nFrameNo;
        const char* frameClass;
    };
    for (Expected e : {Expected{nView, "CMDIChildFrame"}, Expected{nFrame, "CPluginFrame"},
                       Expected{nViewOnlyFrame, "CMDIChildFrame"}, Expected{nViewOnly, "CMDIChildFrame"}}) {
        SCOPED_TRACE(e.nFrameNo);
        m_pMain->NewFocus(e.nFrameNo);
        CMDIChildWnd* pChild = m_pMain->MDIGetActive();
        EXPECT_STREQ(ClassName(pChild), e.frameClass);
        EXPECT_STREQ(ClassName(pChild ? pChild->GetActiveView() : nullptr), "CPluginView");
    }
    EXPECT_EQ(m_pMain->GetFrame(nFrame)->pDocClass, RUNTIME_CLASS(CSketchDoc));

    // Each registration took a load of its own, and the close releases
    // exactly those: the host's load is still there.
    ASSERT_TRUE(CloseMainFrame());
    EXPECT_FALSE(IsLoaded(CBASIS_TEST_VIEW_PLUGIN));
    EXPECT_TRUE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));
    EXPECT_TRUE(FreeLibrary(hHost));
    EXPECT_FALSE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));
}

TEST_F(DllFramesTest, AModuleThatCannotSupplyAViewIsRefusedWithOneMessage) {
    WriteFile("notes.txt", "not a shared library\n");
    CString text = PlatformFromPosixPath(Posix("notes.txt"));
    CString missing = PlatformFromPosixPath(Posix("missing.so"));
    struct Case {
        CString name;
        const char* posix;  // a real module, which must not stay loaded
    };
    const Case cases[] = {
        {missing, nullptr},
        {CString(), nullptr},
        {text, nullptr},
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
        EXPECT_EQ(TemplateCount(), 0);
        EXPECT_EQ(m_pMain->MDIGetActive(), nullptr);
        if (c.posix) {
            EXPECT_FALSE(IsLoaded(c.posix));
        }
    }
    // The child frame of the last one is not asked for by AddDLLView.
    int n = 0;
    EXPECT_EQ(m_pMain->AddDLLView(nullptr, cases[6].name, &n, 0, nullptr), 1);
    EXPECT_EQ(m_pMain->AddDLLView(nullptr, cases[5].name, &n, 0, nullptr), 0);
}

// However the main window goes, its plugins are released once it is gone.
TEST_F(DllFramesTest, AMainFrameDestroyedWithoutClosingReleasesItsPlugins) {
    int n = 0;
    ASSERT_EQ(m_pMain->LoadDLLFrame(nullptr, PlatformFromPosixPath(CBASIS_TEST_FRAME_PLUGIN), &n, 0, nullptr), 1);
    m_pMain->DestroyWindow();
    m_pMain = nullptr;
    EXPECT_FALSE(IsLoaded(CBASIS_TEST_FRAME_PLUGIN));
}
