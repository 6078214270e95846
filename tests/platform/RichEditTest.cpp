// The rich edit control: its own selection messages over the edit core.
#include <gtest/gtest.h>

#include "platform/mfc/RichEdit.h"
#include "support/ClipboardSupport.h"

TEST(RichEditTest, SelectionsAndClearWorkOnTheSharedCore) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", 0, 0, 0, 200, 100, nullptr, nullptr));
    CRichEditCtrl edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 50), &parent, 3));
    edit.SetWindowText("hello rich world");
    edit.SetSel(6, 11);
    long start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 11);
    EXPECT_EQ(edit.GetSelText(), "rich ");
    edit.Clear();  // WM_CLEAR deletes the selection
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "hello world");
    EXPECT_EQ(edit.GetTextLength(), 11);

    CHARRANGE all{0, -1};
    edit.SetSel(all);
    EXPECT_EQ(edit.GetSelText(), "hello world");
    edit.Copy();
    edit.SetSel(-1, 0);  // keeps only the caret
    edit.GetSel(start, end);
    EXPECT_EQ(start, end);
    edit.SetReadOnly();
    edit.SetSel(0, 5);
    edit.Clear();  // read-only: nothing goes
    edit.GetWindowText(text);
    EXPECT_EQ(text, "hello world");
    EXPECT_EQ(ClipboardText(), "hello world");
    ClearClipboard();
}
