#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/mfc/MessageBox.h"

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
    EXPECT_EQ(AfxMessageBox("Disk full.\r\nTry again", MB_OKCANCEL), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Disk full.  Try again\n");
}

TEST_F(MessageBoxTest, HookGivesTheAnswerAndMayShowABoxItself) {
    std::vector<std::pair<std::string, UINT>> shown;
    AfxSetMessageBoxEcho(false);
    EXPECT_FALSE(AfxSetMessageBoxHook([&](const CString& text, UINT type) {
        shown.emplace_back(text.str(), type);
        return shown.size() < 3 ? AfxMessageBox("nested", MB_YESNO) + 1 : IDNO;
    }));
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox(nullptr, MB_ICONEXCLAMATION), IDNO + 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // echo is off
    EXPECT_EQ(shown, (std::vector<std::pair<std::string, UINT>>{
                         {"", MB_ICONEXCLAMATION}, {"nested", MB_YESNO}, {"nested", MB_YESNO}}));
}

}  // namespace
