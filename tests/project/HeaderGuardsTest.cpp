#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <regex>
#include <string>

#include "files/CUtils.h"
#include "platform/kernel/Syscalls.h"
#include "support/TempDir.h"

namespace {

const char kOldGuard[] = "MAINFRM_H__AB12CD34_0000_1111_2222_33334444AB55";

std::string Header(const std::string& guard) {
    return "// MainFrm.h\r\n#if !defined(AFX_" + guard + "__INCLUDED_)\r\n#define AFX_" + guard +
           "__INCLUDED_\r\nclass CMainFrame {};\r\n#endif // !defined(AFX_" + guard + "__INCLUDED_)\r\n";
}

// The guard name of a rewritten header, checked to stand in all three lines.
std::string GuardOf(const std::string& text) {
    std::smatch m;
    static const std::regex guard("AFX_([A-Z_]*_H__[0-9A-F]{8}_[0-9A-F]{4}_[0-9A-F]{4}_[0-9A-F]{4}_[0-9A-F]{12})__");
    if (!std::regex_search(text, m, guard)) return "";
    return text == Header(m[1]) ? std::string(m[1]) : "";
}

class HeaderGuardsTest : public TempDirTest {
protected:
    void TearDown() override {
        PlatformResetSyscalls();
        TempDirTest::TearDown();
    }
    CUtils m_utils;
};

TEST_F(HeaderGuardsTest, RewritesTheGuardEverywhereWithANewGuid) {
    CString text(Header(kOldGuard));
    ASSERT_EQ(m_utils.GenerateGUIDforHeaderFile(&text, "MyFrame", "Fallback"), 1);
    std::string first = GuardOf(text.str());
    EXPECT_EQ(first.substr(0, 11), "MYFRAME_H__");

    ASSERT_EQ(m_utils.GenerateGUIDforHeaderFile(&text, "", "fallback"), 1);
    std::string second = GuardOf(text.str());
    EXPECT_EQ(second.substr(0, 12), "FALLBACK_H__");
    EXPECT_NE(first.substr(11), second.substr(12));

    // A short name that also occurs inside the old GUID: the GUID is still
    // replaced whole.
    text = CString(Header("AB_H__12AB34CD_AB00_11AB_2222_AB3344445555"));
    m_utils.GenerateGUIDforHeaderFile(&text, "Xy", "");
    EXPECT_EQ(GuardOf(text.str()).substr(0, 6), "XY_H__");
}

TEST_F(HeaderGuardsTest, TextsWithoutAGuardAreLeftAsTheyAre) {
    const char* texts[] = {"int x;", "#if !defined(AFX_MAINFRM_H__1234", "#if !defined(AFX_NOMARKER_1234__INCLUDED_)"};
    for (const char* t : texts) {
        SCOPED_TRACE(t);
        CString text(t);
        EXPECT_EQ(m_utils.GenerateGUIDforHeaderFile(&text, "New", "F"), 0);
        EXPECT_EQ(text, t);
    }
}

TEST_F(HeaderGuardsTest, FileFormRewritesTextHeadersOnly) {
    WriteFile("MainFrm.h", Header(kOldGuard));
    EXPECT_EQ(m_utils.GenerateGUIDforHeaderFile("C:\\MainFrm.h", "MyFrame", ""), 1);
    EXPECT_EQ(GuardOf(ReadFile("MainFrm.h")).substr(0, 11), "MYFRAME_H__");

    EXPECT_EQ(m_utils.GenerateGUIDforHeaderFile("C:\\Missing.h", "X", ""), 1);
    EXPECT_TRUE(Exists("Missing.h"));
    EXPECT_EQ(ReadFile("Missing.h"), "");

    std::string binary = Header(kOldGuard) + std::string("\0tail", 5);
    WriteFile("Binary.h", binary);
    m_utils.GenerateGUIDforHeaderFile("C:\\Binary.h", "X", "");
    EXPECT_EQ(ReadFile("Binary.h"), binary);

    // A link is neither read nor written through, whatever it points at.
    WriteFile("Target.h", Header(kOldGuard));
    std::filesystem::create_symlink(Posix("Target.h"), Posix("Link.h"));
    CString guard;
    EXPECT_EQ(m_utils.RenewHeaderGuard("C:\\Link.h", "X", "", guard), -1);
    EXPECT_EQ(ReadFile("Target.h"), Header(kOldGuard));
    EXPECT_TRUE(std::filesystem::is_symlink(Posix("Link.h")));

    // A header that exists but cannot be read is never emptied.
    WriteFile("Locked.h", Header(kOldGuard));
    PlatformFailSyscall(Syscall::Open, 1, EACCES);
    EXPECT_EQ(m_utils.GenerateGUIDforHeaderFile("C:\\Locked.h", "X", ""), 1);
    EXPECT_EQ(ReadFile("Locked.h"), Header(kOldGuard));
}

TEST_F(HeaderGuardsTest, NamesCarryAndGiveBackGuids) {
    CString a, b;
    EXPECT_EQ(m_utils.CreateName(a), 1);
    EXPECT_EQ(m_utils.CreateName(b, "unused"), 1);
    EXPECT_EQ(a.GetLength(), 36);
    EXPECT_NE(a, b);
    EXPECT_EQ(m_utils.GetIDFromFilename("Log_" + a), a);
    EXPECT_EQ(m_utils.GetIDFromFilename("My_Log_" + a + ".txt"), a + ".txt");
    EXPECT_EQ(m_utils.GetIDFromFilename("a_b_c_d"), "");
}

}  // namespace
