// CUtils::WriteFileToRichEditPane and the edit-control form of OpenFileDialog.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "files/CUtils.h"
#include "platform/mfc/RichEdit.h"
#include "platform/user/Dialogs.h"
#include "support/TempDir.h"

namespace {

class RichEditPaneTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "", WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
        ASSERT_TRUE(m_pane.Create(WS_VISIBLE, CRect(0, 0, 300, 200), &m_parent, 1));
        m_pane.SetWindowText("old text");
        m_pane.SetSel(0, 4);
    }
    void TearDown() override {
        PlatformSetOpenFileResponder({});
        TempDirTest::TearDown();
    }
    CString PaneText() const {
        CString text;
        m_pane.GetWindowText(text);
        return text;
    }

    CWnd m_parent;
    CRichEditCtrl m_pane;
    CUtils m_utils;
};

}  // namespace

TEST_F(RichEditPaneTest, AFileBecomesTheTextAndThePaneUpToItsFirstZero) {
    WriteFile("notes.txt", std::string("line one\r\nline two\0hidden", 26));
    CString text = "stale";
    EXPECT_EQ(m_utils.WriteFileToRichEditPane("C:\\notes.txt", text, m_pane), m_utils.m_bSuccess);
    EXPECT_EQ(text, "line one\r\nline two");
    EXPECT_EQ(PaneText(), "line one\r\nline two");

    WriteFile("empty.txt", "");
    EXPECT_EQ(m_utils.WriteFileToRichEditPane("C:\\empty.txt", text, m_pane), m_utils.m_bSuccess);
    EXPECT_EQ(text, "");
    EXPECT_EQ(PaneText(), "");

    std::string big(50 * 1000 * 1000, 'x');
    big[big.size() - 1] = 'y';
    WriteFile("big.txt", big);
    EXPECT_EQ(m_utils.WriteFileToRichEditPane("C:\\big.txt", text, m_pane), m_utils.m_bSuccess);
    EXPECT_EQ(text.GetLength(), 50 * 1000 * 1000);
    EXPECT_EQ(m_pane.GetTextLength(), 50 * 1000 * 1000);
    EXPECT_EQ(text[text.GetLength() - 1], 'y');
}

TEST_F(RichEditPaneTest, WhatIsNoReadableFileFailsAndSaysSo) {
    CString text = "kept";
    ASSERT_TRUE(std::filesystem::create_directories(Posix("folder")));
    for (const char* path : {"C:\\missing.txt", "C:\\folder"}) {  // untouched
        SCOPED_TRACE(path);
        EXPECT_EQ(m_utils.WriteFileToRichEditPane(path, text, m_pane), !m_utils.m_bSuccess);
        EXPECT_EQ(text, "kept");
        EXPECT_EQ(PaneText(), "old text");
    }
    ASSERT_EQ(mkfifo(Posix("pipe").c_str(), 0600), 0);  // exists, but opens as no file, without blocking
    EXPECT_EQ(m_utils.WriteFileToRichEditPane("C:\\pipe", text, m_pane), !m_utils.m_bSuccess);
    EXPECT_EQ(text, "");
    EXPECT_EQ(PaneText(), "text");  // the selection went, as WM_CLEAR does
}

TEST_F(RichEditPaneTest, TheEditFormOfTheOpenFileDialogFiltersTextFiles) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &m_parent, 2));
    edit.SetWindowText("stale");
    m_utils.OpenFileDialog(m_parent.m_hWnd, edit);  // cancelled: emptied
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "");

    WriteFile("a.txt", "a");
    std::string filter;
    PlatformSetOpenFileResponder([&](const OPENFILENAMEA& ofn, CString& chosen) {
        filter.assign(ofn.lpstrFilter, 20);
        chosen = "C:\\a.txt";
        return TRUE;
    });
    m_utils.OpenFileDialog(m_parent.m_hWnd, edit);
    edit.GetWindowText(text);
    EXPECT_EQ(text, "C:\\a.txt");
    EXPECT_EQ(filter, std::string("*.TXT;*.DOC;*.BAK\0\0\0", 20));
}
