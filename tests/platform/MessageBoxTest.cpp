#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override {
        AfxSetMessageBoxHook(nullptr);
        AfxSetMessageBoxEcho(true);
    }
};

TEST_F(MessageBoxTest, WithoutHookTheTextGoesToStderrAsOneLine) {
    testing::internal::CaptureStderr();
    int answer = AfxMessageBox("Disk full.\r\nTry again", MB_OKCANCEL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Disk full.  Try again\n");
    EXPECT_EQ(answer, IDOK);
}

TEST_F(MessageBoxTest, HookSeesTextAndTypeAndGivesTheAnswer) {
    std::vector<std::pair<std::string, UINT>> shown;
    MessageBoxHook previous = AfxSetMessageBoxHook([&](const CString& text, UINT type) {
        shown.emplace_back(text.str(), type);
        return type == MB_YESNO ? IDNO : IDCANCEL;
    });
    EXPECT_FALSE(previous);
    EXPECT_TRUE(AfxSetMessageBoxEcho(false));  // returns the old setting: on

    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox("Overwrite?", MB_YESNO | MB_ICONEXCLAMATION), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("Continue?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(nullptr), IDCANCEL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // echo is off

    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].first, "Overwrite?");
    EXPECT_EQ(shown[0].second, MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_EQ(shown[2].first, "");

    EXPECT_TRUE(AfxSetMessageBoxHook(nullptr));  // hands back the hook it replaces
    EXPECT_EQ(AfxMessageBox("plain"), IDOK);
}

TEST_F(MessageBoxTest, HookMayShowABoxItself) {
    AfxSetMessageBoxEcho(false);
    int depth = 0;
    AfxSetMessageBoxHook([&](const CString&, UINT) {
        return ++depth < 3 ? AfxMessageBox("nested") + 1 : IDOK;
    });
    EXPECT_EQ(AfxMessageBox("outer"), IDOK + 2);
    EXPECT_EQ(depth, 3);
}

}  // namespace
