#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/kernel/Syscalls.h"
#include "platform/mfc/App.h"
#include "platform/mfc/Modules.h"
#include "support/FaultSweep.h"
#include "support/TempDir.h"

namespace {

class ProfileTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        m_app.SetProfileFile(Posix("cfg/deep/app.ini").c_str());
    }
    void TearDown() override {
        PlatformResetSyscalls();
        AfxSetAppName(nullptr);
        TempDirTest::TearDown();
    }
    int Int(const char* section, const char* entry, int nDefault = -99) {
        return static_cast<int>(m_app.GetProfileInt(section, entry, nDefault));
    }
    CWinApp m_app{"ProfileTest"};
};

}  // namespace

TEST_F(ProfileTest, WritesSurviveInAFileOthersCanRead) {
    EXPECT_EQ(Int("S", "Missing", 5), 5);  // no file yet
    ASSERT_TRUE(m_app.WriteProfileInt("Main", "Left", -12));  // the directories are made
    ASSERT_TRUE(m_app.WriteProfileString("Other", "Name", "two words"));
    ASSERT_TRUE(m_app.WriteProfileInt("main", "LEFT", 7));  // names match without case
    EXPECT_EQ(ReadFile("cfg/deep/app.ini"), "[Main]\r\nLeft=7\r\n[Other]\r\nName=two words\r\n");
    CWinApp second("ProfileTest");
    second.SetProfileFile(Posix("cfg/deep/app.ini").c_str());
    EXPECT_EQ(second.GetProfileString("Other", "Name"), "two words");
}

TEST_F(ProfileTest, ValuesAreReadLeniently) {
    WriteFile("cfg/deep/app.ini",
              "; comment\n[A]\nplain=42\nspaced =  -3 \ntail=12abc\nword=abc\nempty=\nhuge=99999999999\n"
              "junk line\n[B]\nplain=1\n");
    const struct { const char* entry; int expected; } cases[] = {
        {"plain", 42}, {"spaced", -3}, {"tail", 12}, {"word", -99}, {"empty", -99}, {"huge", 2147483647}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(Int("A", c.entry), c.expected);
    }
    EXPECT_EQ(Int("B", "plain"), 1);

    ASSERT_TRUE(m_app.WriteProfileInt("A", "new", 5));  // lines it does not understand are kept
    std::string text = ReadFile("cfg/deep/app.ini");
    EXPECT_NE(text.find("; comment\r\n"), std::string::npos);
    EXPECT_NE(text.find("junk line\r\nnew=5\r\n[B]"), std::string::npos);
}

TEST_F(ProfileTest, RemovingEntriesAndSectionsAndRefusingBadNames) {
    WriteFile("cfg/deep/app.ini", "[A]\nx=1\ny=2\n[B]\nz=3\n");
    EXPECT_TRUE(m_app.WriteProfileString("A", "x", nullptr));
    EXPECT_EQ(Int("A", "y"), 2);
    EXPECT_TRUE(m_app.WriteProfileString("A", nullptr, nullptr));
    EXPECT_EQ(ReadFile("cfg/deep/app.ini"), "[B]\r\nz=3\r\n");
    // Names and values that would break the file's lines are refused.
    EXPECT_FALSE(m_app.WriteProfileInt("", "x", 1));
    EXPECT_FALSE(m_app.WriteProfileInt("A\n[B]", "x", 1));
    EXPECT_FALSE(m_app.WriteProfileString("A", "x", "line\nbreak"));
}

TEST_F(ProfileTest, AFailedWriteLeavesTheOldFileWholeAndSaysSo) {
    ASSERT_TRUE(m_app.WriteProfileInt("A", "x", 1));
    ASSERT_TRUE(m_app.WriteProfileInt("B", "y", 3));
    std::string before = ReadFile("cfg/deep/app.ini");
    BOOL written = FALSE;
    SweepFaults(
        {Syscall::Open, Syscall::Read, Syscall::Stat, Syscall::Mkstemp, Syscall::Write, Syscall::Fchmod, Syscall::Fsync,
         Syscall::Close, Syscall::Rename},
        EIO, [] {}, [&] { written = m_app.WriteProfileInt("A", "x", 2); },
        [&](const FaultRun& run) {
            std::string after = ReadFile("cfg/deep/app.ini");
            if (written) {
                EXPECT_EQ(after, "[A]\r\nx=2\r\n[B]\r\ny=3\r\n");
                ASSERT_TRUE(m_app.WriteProfileInt("A", "x", 1));  // the next run starts from the old file
            } else {
                EXPECT_TRUE(run.failed);
                EXPECT_EQ(after, before);
            }
            int files = 0;
            for (const auto& entry : std::filesystem::directory_iterator(Posix("cfg/deep"))) files += entry.exists();
            EXPECT_EQ(files, 1);  // no temporary file left behind
        });
}

TEST_F(ProfileTest, DefaultFileLivesUnderTheConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", Posix("xdg").c_str(), 1);
    CWinApp app("My/App");
    EXPECT_STREQ(app.m_pszProfileName, (Posix("xdg") + "/My_App/My_App.ini").c_str());
    EXPECT_TRUE(app.WriteProfileInt("S", "e", 1));
    EXPECT_TRUE(Exists("xdg/My_App/My_App.ini"));
    if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}
