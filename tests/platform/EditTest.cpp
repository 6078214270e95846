#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/Edit.h"
#include "platform/mfc/FormView.h"
#include "platform/user/Clipboard.h"
#include "support/ClipboardSupport.h"

namespace {

std::string TextOf(HWND hWnd) {
    char buffer[256];
    return std::string(buffer, GetWindowTextA(hWnd, buffer, sizeof buffer));
}

std::pair<DWORD, DWORD> SelOf(HWND hWnd) {
    DWORD start = 99, end = 99;
    SendMessageA(hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void Select(HWND hWnd, long start, long end) { SendMessageA(hWnd, EM_SETSEL, static_cast<WPARAM>(start), end); }

class EditTest : public ::testing::Test {
protected:
    HWND NewEdit(const char* text, DWORD style = 0) {
        return CreateWindowExA(0, "EDIT", text, WS_CHILD | style, 0, 0, 100, 20, m_hParent, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(m_hParent);
        ClearClipboard();
    }
    HWND m_hParent =
        PlatformCreateWindowEx(DefWindowProcA, 0, "Form", "", 0, 0, 0, 200, 200, nullptr, nullptr, nullptr);
};

// A form whose edit control (id m_nID) holds m_strName.
class CNameForm : public CFormView {
    DECLARE_DYNCREATE(CNameForm)
public:
    CNameForm() : CFormView(UINT(100)) {}
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, m_nID, m_strName); }
    CString m_strName;
    int m_nID = 7;
};
IMPLEMENT_DYNCREATE(CNameForm, CFormView)

}  // namespace

TEST_F(EditTest, SelectionFollowsTheEditControlsRules) {
    HWND hEdit = NewEdit("Hello world");
    EXPECT_EQ(SelOf(hEdit), std::make_pair(0u, 0u));
    struct Case {
        long start, end;
        DWORD wantStart, wantEnd;
    };
    const Case cases[] = {
        {0, -1, 0, 11},   // everything
        {6, 2, 2, 6},     // either way round
        {3, 99, 3, 11},   // clamped to the text
        {-1, 0, 11, 11},  // deselected: the caret (at the end) stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        Select(hEdit, c.start, c.end);
        EXPECT_EQ(SelOf(hEdit), std::make_pair(c.wantStart, c.wantEnd));
    }
    EXPECT_EQ(SendMessageA(hEdit, EM_GETSEL, 0, 0), MAKELONG(11, 11));

    Select(hEdit, 0, 5);
    SendMessageA(hEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("Goodbye"));
    EXPECT_EQ(TextOf(hEdit), "Goodbye world");
    EXPECT_EQ(SelOf(hEdit), std::make_pair(7u, 7u));  // the caret after the new text
    SetWindowTextA(hEdit, "New");
    EXPECT_EQ(SelOf(hEdit), std::make_pair(0u, 0u));
}

TEST_F(EditTest, CopyCutPasteAndClearGoThroughTheClipboard) {
    HWND hFrom = NewEdit("copy me"), hTo = NewEdit("into this");
    SendMessageA(hFrom, WM_COPY, 0, 0);  // nothing selected: the clipboard stays empty
    EXPECT_EQ(ClipboardText(), "<empty>");
    Select(hFrom, 0, 4);
    SendMessageA(hFrom, WM_COPY, 0, 0);
    Select(hTo, 5, 9);
    SendMessageA(hTo, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(hTo), "into copy");

    Select(hFrom, 4, -1);
    SendMessageA(hFrom, WM_CUT, 0, 0);
    EXPECT_EQ(TextOf(hFrom), "copy");
    EXPECT_EQ(ClipboardText(), " me");
    Select(hTo, 0, 5);
    SendMessageA(hTo, WM_CLEAR, 0, 0);
    EXPECT_EQ(TextOf(hTo), "copy");
    EXPECT_EQ(ClipboardText(), " me");

    // A clipboard held by another window: nothing is cut, nothing pasted.
    ASSERT_TRUE(OpenClipboard(m_hParent));
    Select(hFrom, 0, -1);
    SendMessageA(hFrom, WM_CUT, 0, 0);
    SendMessageA(hTo, WM_PASTE, 0, 0);
    CloseClipboard();
    EXPECT_EQ(TextOf(hFrom), "copy");
    EXPECT_EQ(TextOf(hTo), "copy");

    // A read-only control only copies.
    HWND hFixed = NewEdit("fixed", ES_READONLY);
    Select(hFixed, 0, -1);
    for (UINT message : {WM_CUT, WM_PASTE, WM_CLEAR}) SendMessageA(hFixed, message, 0, 0);
    EXPECT_EQ(TextOf(hFixed), "fixed");
    SendMessageA(hFixed, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), "fixed");
}

TEST_F(EditTest, PasteReadsNoFurtherThanTheBlockAndKeepsSingleLinesSingle) {
    HWND hLine = NewEdit(""), hMulti = NewEdit("", ES_MULTILINE);
    PutOnClipboard("one\r\ntwo", 8);  // no zero byte in the block
    SendMessageA(hLine, WM_PASTE, 0, 0);
    SendMessageA(hMulti, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(hLine), "one");
    EXPECT_EQ(TextOf(hMulti), "one\r\ntwo");
    PutOnClipboard("a\0b", 4);
    Select(hMulti, 0, -1);
    SendMessageA(hMulti, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(hMulti), "a");
}

// A form exchanges its members with its child controls, CEdits included.
TEST_F(EditTest, AFormExchangesItsMembersWithItsControls) {
    auto* pForm = static_cast<CNameForm*>(RUNTIME_CLASS(CNameForm)->CreateObject());
    ASSERT_TRUE(pForm->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 100, 100), CWnd::FromHandle(m_hParent), 1));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 0, 100, 20), pForm, 7));
    pForm->m_strName = "from the member";
    pForm->OnInitialUpdate();  // puts the members into the controls
    EXPECT_EQ(TextOf(edit.m_hWnd), "from the member");
    edit.SetWindowText("typed");
    EXPECT_TRUE(pForm->UpdateData(TRUE));
    EXPECT_EQ(pForm->m_strName, "typed");
    pForm->m_nID = 8;  // no such control
    EXPECT_FALSE(pForm->UpdateData(TRUE));
    edit.DestroyWindow();
    pForm->DestroyWindow();  // deletes the form
}
