// The common dialogs answered by responders.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/mfc/ColorDialog.h"
#include "platform/mfc/FileDialog.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/Unsupported.h"
#include "support/TempDir.h"

namespace {

class DialogsTest : public TempDirTest {
protected:
    void TearDown() override {
        PlatformSetOpenFileResponder({});
        PlatformSetColorDialogResponder({});
        TempDirTest::TearDown();
    }

    OPENFILENAMEA Request(DWORD size, DWORD flags = 0) {
        OPENFILENAMEA ofn{};
        ofn.lStructSize = size;
        ofn.lpstrFile = m_file;
        ofn.nMaxFile = sizeof m_file;
        ofn.lpstrFileTitle = m_title;
        ofn.nMaxFileTitle = sizeof m_title;
        ofn.Flags = flags;
        return ofn;
    }

    char m_file[32] = {};
    char m_title[5] = {};
};

}  // namespace

TEST_F(DialogsTest, WithoutAResponderEveryDialogIsCancelled) {
    OPENFILENAMEA ofn = Request(76);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_STREQ(m_file, "");
    CColorDialog dlg(RGB(1, 2, 3));
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetColor(), RGB(1, 2, 3));
    EXPECT_TRUE(dlg.m_cc.Flags & CC_RGBINIT);
}

TEST_F(DialogsTest, OpenFileDeliversTheChosenPathWithinTheBuffers) {
    WriteFile("dir/notes.txt", "x");
    CString answer = "C:\\dir\\notes.txt";
    PlatformSetOpenFileResponder([&](const OPENFILENAMEA&, CString& path) {
        path = answer;
        return TRUE;
    });
    for (DWORD size : {76u, 88u, 136u, static_cast<DWORD>(sizeof(OPENFILENAMEA))}) {
        SCOPED_TRACE(size);
        OPENFILENAMEA ofn = Request(size, OFN_FILEMUSTEXIST);
        ASSERT_TRUE(GetOpenFileNameA(&ofn));
        EXPECT_STREQ(m_file, "C:\\dir\\notes.txt");
        EXPECT_EQ(ofn.nFileOffset, 7);
        EXPECT_EQ(ofn.nFileExtension, 13);
        EXPECT_STREQ(m_title, "note");  // cut to its buffer
    }
    OPENFILENAMEA odd = Request(100);
    EXPECT_FALSE(GetOpenFileNameA(&odd));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);

    answer = "C:\\dir\\missing.txt";
    OPENFILENAMEA mustExist = Request(76, OFN_FILEMUSTEXIST);
    EXPECT_FALSE(GetOpenFileNameA(&mustExist));

    answer = "C:\\a-name-much-too-long-for-the-buffer.txt";
    std::memset(m_file, 'q', sizeof m_file);
    OPENFILENAMEA tooLong = Request(76);
    EXPECT_FALSE(GetOpenFileNameA(&tooLong));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    WORD needed;
    std::memcpy(&needed, m_file, sizeof needed);
    EXPECT_EQ(needed, answer.GetLength() + 1);
    EXPECT_EQ(m_file[2], 'q');  // nothing more is written
}

TEST_F(DialogsTest, ColorResponderSetsTheResultAndTheSavedCustomColors) {
    COLORREF* custom = CColorDialog::GetSavedCustomColors();
    EXPECT_EQ(custom[0], RGB(255, 255, 255));
    PlatformSetColorDialogResponder([](CHOOSECOLORA& cc) {
        cc.rgbResult = RGB(10, 20, 30);
        cc.lpCustColors[0] = RGB(40, 50, 60);
        return TRUE;
    });
    CColorDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetColor(), RGB(10, 20, 30));
    EXPECT_EQ(custom[0], RGB(40, 50, 60));
    custom[0] = RGB(255, 255, 255);

    CHOOSECOLORA bad{};
    bad.lStructSize = sizeof bad;  // no custom colours
    EXPECT_FALSE(ChooseColorA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
}

TEST_F(DialogsTest, FileDialogOpensThroughTheStructureAndTheSaveFormSaysItCannot) {
    WriteFile("dir/notes.txt", "x");
    WriteFile("dir/README", "x");
    std::string seenFilter;
    CString answer = "C:\\dir\\notes.txt";
    PlatformSetOpenFileResponder([&](const OPENFILENAMEA& ofn, CString& path) {
        // The filter's '|' became the list of strings the structure carries.
        for (const char* p = ofn.lpstrFilter; p && *p; p += std::strlen(p) + 1) seenFilter += std::string(p) + ";";
        path = answer;
        return TRUE;
    });

    CFileDialog open(TRUE, "txt", "start.txt", OFN_FILEMUSTEXIST, "Notes (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_EQ(open.GetPathName(), "");  // nothing chosen yet
    EXPECT_STREQ(open.m_ofn.lpstrFile, "start.txt");
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(seenFilter, "Notes (*.txt);*.txt;All Files (*.*);*.*;");
    const struct {
        const char* name;
        CString got;
        const char* expected;
    } parts[] = {
        {"path", open.GetPathName(), "C:\\dir\\notes.txt"},
        {"name", open.GetFileName(), "notes.txt"},
        {"extension", open.GetFileExt(), "txt"},
        {"title", open.GetFileTitle(), "notes"},
    };
    for (const auto& part : parts) {
        SCOPED_TRACE(part.name);
        EXPECT_EQ(part.got, part.expected);
    }

    answer = "C:\\dir\\README";
    CFileDialog bare(TRUE);
    ASSERT_EQ(bare.DoModal(), IDOK);
    EXPECT_EQ(bare.GetFileExt(), "");
    EXPECT_EQ(bare.GetFileTitle(), "README");

    PlatformSetOpenFileResponder({});
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_EQ(open.GetPathName(), "");  // a cancelled dialog gives no file

    CFileDialog save(FALSE, "txt", "out.txt");
    int before = PlatformUnsupportedCalls("CFileDialog::DoModal for saving");
    EXPECT_EQ(save.DoModal(), IDCANCEL);
    EXPECT_EQ(PlatformUnsupportedCalls("CFileDialog::DoModal for saving"), before + 1);
    EXPECT_EQ(save.GetPathName(), "");
}
