#include <gtest/gtest.h>

#include <string>

#include "platform/Clipboard.h"
#include "platform/Edit.h"
#include "platform/FormView.h"
#include "support/ClipboardSupport.h"

namespace {

std::string TextOf(HWND hWnd) {
    char buffer[256];
    int n = GetWindowTextA(hWnd, buffer, sizeof buffer);
    return std::string(buffer, n);
}

std::pair<DWORD, DWORD> SelOf(HWND hWnd) {
    DWORD start = 99, end = 99;
    SendMessageA(hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void Select(HWND hWnd, long start, long end) {
    SendMessageA(hWnd, EM_SETSEL, static_cast<WPARAM>(start), end);
}

class EditTest : public ::testing::Test {
protected:
    HWND NewEdit(const char* text, DWORD style = 0) {
        HWND hWnd = CreateWindowExA(0, "EDIT", text, WS_CHILD | style, 0, 0, 100, 20, m_hParent, nullptr, nullptr,
                                    nullptr);
        EXPECT_NE(hWnd, nullptr);
        return hWnd;
    }
    void TearDown() override {
        DestroyWindow(m_hParent);
        ClearClipboard();
    }
    HWND m_hParent =
        PlatformCreateWindowEx(DefWindowProcA, 0, "Form", "", 0, 0, 0, 200, 200, nullptr, nullptr, nullptr);
};

// A form whose one edit control (id 7) holds m_strName.
class CNameForm : public CFormView {
    DECLARE_DYNCREATE(CNameForm)
public:
    CNameForm() : CFormView(UINT(100)) {}
    void DoDataExchange(CDataExchange* pDX) override {
        ++m_nExchanges;
        DDX_Text(pDX, m_nID, m_strName);
    }
    CString m_strName;
    int m_nID = 7;
    int m_nExchanges = 0;
};
IMPLEMENT_DYNCREATE(CNameForm, CFormView)

}  // namespace

TEST_F(EditTest, SelectionFollowsTheEditControlsRules) {
    HWND hEdit = NewEdit("Hello world");
    EXPECT_EQ(TextOf(hEdit), "Hello world");
    EXPECT_EQ(SelOf(hEdit), std::make_pair(0u, 0u));
    struct Case {
        long start, end;
        DWORD wantStart, wantEnd;
    };
    const Case cases[] = {
        {0, -1, 0, 11},   // everything
        {6, 2, 2, 6},     // either way round
        {3, 99, 3, 11},   // clamped to the text
        {-1, 0, 11, 11},  // deselected: the caret (last at 99, so the end) stays
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
    SendMessageA(hEdit, EM_REPLACESEL, 0, 0);          // a null text inserts nothing
    SetWindowTextA(hEdit, "New");
    EXPECT_EQ(SelOf(hEdit), std::make_pair(0u, 0u));
    EXPECT_EQ(GetWindowTextLengthA(hEdit), 3);

    char small[3];  // the text is cut to the buffer, always terminated
    EXPECT_EQ(GetWindowTextA(hEdit, small, sizeof small), 2);
    EXPECT_STREQ(small, "Ne");
}

TEST_F(EditTest, CopyCutPasteAndClearGoThroughTheClipboard) {
    HWND hFrom = NewEdit("copy me"), hTo = NewEdit("into this");
    SendMessageA(hFrom, WM_COPY, 0, 0);  // nothing selected: the clipboard stays empty
    EXPECT_EQ(ClipboardText(), "<empty>");

    Select(hFrom, 0, 4);
    SendMessageA(hFrom, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), "copy");
    EXPECT_EQ(TextOf(hFrom), "copy me");
    Select(hTo, 5, 9);
    SendMessageA(hTo, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(hTo), "into copy");
    EXPECT_EQ(SelOf(hTo), std::make_pair(9u, 9u));

    Select(hFrom, 4, -1);
    SendMessageA(hFrom, WM_CUT, 0, 0);
    EXPECT_EQ(TextOf(hFrom), "copy");
    EXPECT_EQ(ClipboardText(), " me");
    Select(hTo, 0, 5);
    SendMessageA(hTo, WM_CLEAR, 0, 0);
    EXPECT_EQ(TextOf(hTo), "copy");
    EXPECT_EQ(ClipboardText(), " me");  // clearing leaves the clipboard alone

    // A clipboard held by another window is left alone, and nothing is cut.
    HWND hHolder = NewEdit("");
    ASSERT_TRUE(OpenClipboard(hHolder));
    Select(hFrom, 0, -1);
    SendMessageA(hFrom, WM_CUT, 0, 0);
    SendMessageA(hTo, WM_PASTE, 0, 0);
    CloseClipboard();
    EXPECT_EQ(TextOf(hFrom), "copy");
    EXPECT_EQ(TextOf(hTo), "copy");
    EXPECT_EQ(ClipboardText(), " me");
}

TEST_F(EditTest, PasteReadsNoFurtherThanTheBlockAndKeepsSingleLinesSingle) {
    HWND hLine = NewEdit(""), hMulti = NewEdit("", ES_MULTILINE);
    PutOnClipboard("one\r\ntwo", 8);  // no zero byte in the block
    SendMessageA(hLine, WM_PASTE, 0, 0);
    SendMessageA(hMulti, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(hLine), "one");
    EXPECT_EQ(TextOf(hMulti), "one\r\ntwo");

    PutOnClipboard("a\0b", 4);  // the text ends at the first zero byte
    Select(hMulti, 0, -1);
    SendMessageA(hMulti, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(hMulti), "a");
}

TEST_F(EditTest, AReadOnlyControlOnlyCopies) {
    HWND hEdit = NewEdit("fixed", ES_READONLY);
    PutOnClipboard("new", 4);
    Select(hEdit, 0, -1);
    for (UINT message : {WM_CUT, WM_PASTE, WM_CLEAR}) SendMessageA(hEdit, message, 0, 0);
    EXPECT_EQ(TextOf(hEdit), "fixed");
    EXPECT_EQ(ClipboardText(), "new");
    SendMessageA(hEdit, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), "fixed");

    EXPECT_TRUE(SendMessageA(hEdit, EM_SETREADONLY, FALSE, 0));
    SendMessageA(hEdit, WM_CLEAR, 0, 0);
    EXPECT_EQ(TextOf(hEdit), "");
}

// A CEdit's object passes what it does not handle to the control, so it
// works as a window made by CreateWindowExA does; a form exchanges its
// members with such controls.
TEST_F(EditTest, ACEditInAFormExchangesItsText) {
    auto* pForm = static_cast<CNameForm*>(RUNTIME_CLASS(CNameForm)->CreateObject());
    ASSERT_TRUE(pForm->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 100, 100), CWnd::FromHandle(m_hParent), 1));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 0, 100, 20), pForm, 7));
    edit.SetWindowText("typed");
    edit.SetSel(0, 2);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 2);
    edit.Cut();
    EXPECT_EQ(ClipboardText(), "ty");

    EXPECT_TRUE(pForm->UpdateData(TRUE));
    EXPECT_EQ(pForm->m_strName, "ped");
    pForm->m_strName = "from the member";
    pForm->OnInitialUpdate();  // puts the members into the controls
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "from the member");
    EXPECT_EQ(pForm->m_nExchanges, 2);

    pForm->m_nID = 8;  // no such control
    EXPECT_FALSE(pForm->UpdateData(TRUE));
    EXPECT_EQ(pForm->m_strName, "from the member");
    edit.DestroyWindow();
    pForm->DestroyWindow();  // deletes the form
}
