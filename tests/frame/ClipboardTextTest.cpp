#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "FrameHost.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Syscalls.h"
#include "platform/mfc/Edit.h"
#include "platform/mfc/FormView.h"
#include "platform/mfc/OleDataSource.h"
#include "support/ClipboardSupport.h"

namespace {

constexpr int IDC_MEMO = 5;

std::unique_ptr<COleDataSource> SourceOf(const char* bytes, size_t size, CLIPFORMAT cfFormat = CF_TEXT) {
    auto source = std::make_unique<COleDataSource>();
    source->CacheGlobalData(cfFormat, BlockOf(bytes, size));
    return source;
}

// A form with one edit control; the text it last saved, and what the
// clipboard held at that moment.
class CMemoView : public CFormView {
    DECLARE_DYNCREATE(CMemoView)
public:
    CMemoView() : CFormView(UINT(0)) {}
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_MEMO, m_strMemo);
        m_clipboardAtExchange = ClipboardText();
    }
    CString m_strMemo;
    std::string m_clipboardAtExchange;
    CEdit m_wndMemo;

protected:
    int OnCreate(LPCREATESTRUCT lpcs) {
        if (CFormView::OnCreate(lpcs) == -1) return -1;
        return m_wndMemo.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), this, IDC_MEMO) ? 0 : -1;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CMemoView, CFormView)
BEGIN_MESSAGE_MAP(CMemoView, CFormView)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class ClipboardTextTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_NE(OpenMainFrame(), nullptr);
    }
    void TearDown() override {
        FrameTest::TearDown();
        PlatformResetSyscalls();
        ClearClipboard();
    }
    // Opens a frame showing a memo form; its edit control gets the focus.
    CMemoView* OpenMemo(const char* text) {
        int n = 0;
        m_pMain->AddFrame(&n, 0, nullptr, nullptr, RUNTIME_CLASS(CMemoView));
        m_pMain->NewFocus(n);
        auto* pView = static_cast<CMemoView*>(m_pMain->GetActiveView());
        pView->m_wndMemo.SetWindowText(text);
        pView->m_wndMemo.SetFocus();
        return pView;
    }
    bool Paste(COleDataSource* pSource) {
        COleDataObject data;
        data.Attach(pSource, FALSE);
        return m_pMain->DoPasteText(&data);
    }
};

std::string TextOf(CWnd& wnd) {
    CString text;
    wnd.GetWindowText(text);
    return text.str();
}

}  // namespace

TEST_F(ClipboardTextTest, PastedTextReplacesTheFocusedControlsWholeText) {
    CMemoView* pView = OpenMemo("old text");
    pView->m_wndMemo.SetSel(3, 3);  // a caret, which the paste does not insert at
    EXPECT_TRUE(Paste(SourceOf("abc", 4).get()));
    EXPECT_EQ(TextOf(pView->m_wndMemo), "abc");
    EXPECT_EQ(m_pMain->m_strClipText, "abc");

    ::SetFocus(nullptr);
    EXPECT_FALSE(Paste(SourceOf("def", 4).get()));  // nowhere to put it, but taken
    EXPECT_EQ(m_pMain->m_strClipText, "def");
}

TEST_F(ClipboardTextTest, DataWithoutTextChangesNothingAndBlocksAreReadToTheirEnd) {
    CMemoView* pView = OpenMemo("kept");
    m_pMain->m_strClipText = "before";
    COleDataObject unattached;
    EXPECT_FALSE(m_pMain->DoPasteText(&unattached));
    EXPECT_FALSE(m_pMain->DoPasteText(nullptr));
    EXPECT_FALSE(Paste(SourceOf("abc", 4, CF_OEMTEXT).get()));
    EXPECT_EQ(m_pMain->m_strClipText, "before");
    EXPECT_EQ(TextOf(pView->m_wndMemo), "kept");

    EXPECT_TRUE(Paste(SourceOf("xyz", 3).get()));  // no zero byte: read to the block's end
    EXPECT_EQ(m_pMain->m_strClipText, "xyz");
}

TEST_F(ClipboardTextTest, SavedTextIsADataSourceHoldingTheTextAndItsZero) {
    EXPECT_EQ(m_pMain->SaveText(), nullptr);  // nothing taken yet
    Paste(SourceOf("abc", 4).get());
    std::unique_ptr<COleDataSource> saved(static_cast<COleDataSource*>(m_pMain->SaveText()));
    ASSERT_NE(saved, nullptr);
    COleDataObject data;
    data.Attach(saved.get(), FALSE);
    HGLOBAL hText = data.GetGlobalData(CF_TEXT);
    ASSERT_EQ(GlobalSize(hText), 4u);
    EXPECT_EQ(std::memcmp(GlobalLock(hText), "abc", 4), 0);
    GlobalFree(hText);
    saved.release()->SetClipboard();  // as a host hands it on
    EXPECT_EQ(ClipboardText(), "abc");

    PlatformFailSyscall(Syscall::GlobalBlock, 1, ENOMEM);
    EXPECT_EQ(m_pMain->SaveText(), nullptr);
}

TEST_F(ClipboardTextTest, EditCommandsSaveTheFormThenReachTheFocusedControl) {
    CMemoView* pView = OpenMemo("copy this");
    pView->m_wndMemo.SetSel(0, 4);
    m_pMain->OnEditCopy();
    EXPECT_EQ(pView->m_strMemo, "copy this");            // saved first...
    EXPECT_EQ(pView->m_clipboardAtExchange, "<empty>");  // ...before the copy
    EXPECT_EQ(ClipboardText(), "copy");

    CEdit other;  // the round trip into a second control
    ASSERT_TRUE(other.Create(WS_CHILD, CRect(0, 0, 50, 20), pView, IDC_MEMO + 1));
    other.SetFocus();
    m_pMain->OnEditPaste();
    EXPECT_EQ(TextOf(other), "copy");
    pView->m_wndMemo.SetFocus();
    m_pMain->OnEditCut();
    EXPECT_EQ(TextOf(pView->m_wndMemo), " this");

    ::SetFocus(nullptr);  // nobody to send to: nothing happens
    m_pMain->OnEditPaste();
    EXPECT_EQ(TextOf(pView->m_wndMemo), " this");
    other.DestroyWindow();
}

TEST_F(ClipboardTextTest, TheExamplePluginsNotesTakeTheEditCommands) {
    int n = 0;
    ASSERT_EQ(m_pMain->LoadDLLFrame(nullptr, PlatformFromPosixPath(CBASIS_NOTES_PLUGIN), &n, 0, nullptr), 1);
    EXPECT_STREQ(m_pMain->MDIGetActive()->GetRuntimeClass()->m_lpszClassName, "CNotesFrame");
    CView* pView = m_pMain->GetActiveView();
    EXPECT_STREQ(pView->GetRuntimeClass()->m_lpszClassName, "CNotesView");
    HWND hNotes = ::GetFocus();
    ASSERT_EQ(::GetParent(hNotes), pView->m_hWnd);

    ::SendMessageA(hNotes, EM_SETSEL, 0, -1);
    m_pMain->OnEditCopy();
    EXPECT_EQ(ClipboardText(), "Notes kept by the example plugin");
    EXPECT_TRUE(Paste(SourceOf("replaced", 9).get()));
    EXPECT_EQ(TextOf(*CWnd::FromHandle(hNotes)), "replaced");
}
