#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "FrameHost.h"
#include "platform/Edit.h"
#include "platform/FormView.h"
#include "platform/OleData.h"
#include "platform/Paths.h"
#include "platform/Syscalls.h"
#include "support/ClipboardSupport.h"

namespace {

constexpr int IDC_MEMO = 5;

// A source offering the bytes as the format's block.
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
    CMemoView* OpenMemo() {
        int n = 0;
        m_pMain->AddFrame(&n, 0, nullptr, nullptr, RUNTIME_CLASS(CMemoView));
        m_pMain->NewFocus(n);
        auto* pView = static_cast<CMemoView*>(m_pMain->GetActiveView());
        pView->m_wndMemo.SetFocus();
        return pView;
    }
};

CString TextOf(CWnd& wnd) {
    CString text;
    wnd.GetWindowText(text);
    return text;
}

}  // namespace

TEST_F(ClipboardTextTest, PastedTextReplacesTheFocusedControlsWholeText) {
    CMemoView* pView = OpenMemo();
    pView->m_wndMemo.SetWindowText("old text");
    pView->m_wndMemo.SetSel(3, 3);  // a caret, which pasting does not insert at
    auto source = SourceOf("abc", 4);
    COleDataObject data;
    data.Attach(source.get(), FALSE);
    EXPECT_TRUE(m_pMain->DoPasteText(&data));
    EXPECT_EQ(TextOf(pView->m_wndMemo), "abc");
    EXPECT_EQ(m_pMain->m_strClipText, "abc");
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));  // the source keeps its block

    ::SetFocus(nullptr);
    auto other = SourceOf("def", 4);
    data.Attach(other.get(), FALSE);
    EXPECT_FALSE(m_pMain->DoPasteText(&data));  // nowhere to put it, but taken
    EXPECT_EQ(m_pMain->m_strClipText, "def");
}

TEST_F(ClipboardTextTest, DataWithoutTextChangesNothing) {
    CMemoView* pView = OpenMemo();
    pView->m_wndMemo.SetWindowText("kept");
    m_pMain->m_strClipText = "before";
    auto oemOnly = SourceOf("abc", 4, CF_OEMTEXT);
    COleDataObject data;
    EXPECT_FALSE(m_pMain->DoPasteText(&data));  // attached to nothing
    data.Attach(oemOnly.get(), FALSE);
    EXPECT_FALSE(m_pMain->DoPasteText(&data));
    EXPECT_FALSE(m_pMain->DoPasteText(nullptr));
    EXPECT_EQ(m_pMain->m_strClipText, "before");
    EXPECT_EQ(TextOf(pView->m_wndMemo), "kept");

    // A block without a zero byte is read to its end and no further.
    auto unterminated = SourceOf("xyz", 3);
    data.Attach(unterminated.get(), FALSE);
    EXPECT_TRUE(m_pMain->DoPasteText(&data));
    EXPECT_EQ(m_pMain->m_strClipText, "xyz");
}

TEST_F(ClipboardTextTest, SavedTextIsADataSourceHoldingTheTextAndItsZero) {
    EXPECT_EQ(m_pMain->SaveText(), nullptr);  // nothing taken yet
    auto pasted = SourceOf("abc", 4);
    COleDataObject data;
    data.Attach(pasted.get(), FALSE);
    m_pMain->DoPasteText(&data);

    std::unique_ptr<COleDataSource> saved(static_cast<COleDataSource*>(m_pMain->SaveText()));
    ASSERT_NE(saved, nullptr);
    data.Attach(saved.get(), FALSE);
    HGLOBAL hText = data.GetGlobalData(CF_TEXT);
    ASSERT_EQ(GlobalSize(hText), 4u);
    EXPECT_EQ(std::memcmp(GlobalLock(hText), "abc", 4), 0);
    GlobalFree(hText);

    // Handed to the clipboard, as a host does with it.
    saved.release()->SetClipboard();
    EXPECT_EQ(ClipboardText(), "abc");

    PlatformFailSyscall(Syscall::GlobalBlock, 1, ENOMEM);
    EXPECT_EQ(m_pMain->SaveText(), nullptr);
}

TEST_F(ClipboardTextTest, EditCommandsSaveTheFormThenReachTheFocusedControl) {
    CMemoView* pView = OpenMemo();
    pView->m_wndMemo.SetWindowText("copy this");
    pView->m_wndMemo.SetSel(0, 4);
    m_pMain->OnEditCopy();
    EXPECT_EQ(pView->m_strMemo, "copy this");         // saved first...
    EXPECT_EQ(pView->m_clipboardAtExchange, "<empty>");  // ...before the copy
    EXPECT_EQ(ClipboardText(), "copy");

    // Paste into a second control, then cut from the first.
    CEdit other;
    ASSERT_TRUE(other.Create(WS_CHILD, CRect(0, 0, 50, 20), pView, IDC_MEMO + 1));
    other.SetWindowText("here: ");
    other.SetSel(6, 6);
    other.SetFocus();
    m_pMain->OnEditPaste();
    EXPECT_EQ(TextOf(other), "here: copy");
    EXPECT_EQ(pView->m_strMemo, "copy this");  // the form saved its own control before the paste

    pView->m_wndMemo.SetFocus();
    pView->m_wndMemo.SetSel(4, -1);
    m_pMain->OnEditCut();
    EXPECT_EQ(TextOf(pView->m_wndMemo), "copy");
    EXPECT_EQ(ClipboardText(), " this");

    ::SetFocus(nullptr);  // nobody to send to: nothing happens
    m_pMain->OnEditPaste();
    EXPECT_EQ(TextOf(pView->m_wndMemo), "copy");
    other.DestroyWindow();
}

// The example plugin's notes take the main frame's Edit commands.
TEST_F(ClipboardTextTest, TheExamplePluginsNotesTakeTheEditCommands) {
    int n = 0;
    ASSERT_EQ(m_pMain->LoadDLLFrame(nullptr, PlatformFromPosixPath(CBASIS_NOTES_PLUGIN), &n, 0, nullptr), 1);
    CMDIChildWnd* pChild = m_pMain->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    EXPECT_STREQ(pChild->GetRuntimeClass()->m_lpszClassName, "CNotesFrame");
    EXPECT_STREQ(m_pMain->GetActiveView()->GetRuntimeClass()->m_lpszClassName, "CNotesView");
    HWND hNotes = ::GetFocus();
    ASSERT_NE(hNotes, nullptr);
    EXPECT_EQ(::GetParent(hNotes), m_pMain->GetActiveView()->m_hWnd);

    ::SendMessageA(hNotes, EM_SETSEL, 0, -1);
    m_pMain->OnEditCopy();
    EXPECT_EQ(ClipboardText(), "Notes kept by the example plugin");
    auto source = SourceOf("replaced", 9);
    COleDataObject data;
    data.Attach(source.get(), FALSE);
    EXPECT_TRUE(m_pMain->DoPasteText(&data));
    char text[64];
    ::GetWindowTextA(hNotes, text, sizeof text);
    EXPECT_STREQ(text, "replaced");
}
