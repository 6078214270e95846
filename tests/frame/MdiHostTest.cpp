#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "MdiHost.h"
#include "support/TempDir.h"

namespace {

using MdiHostTest = TempDirTest;

std::string RunSession(const std::string& dir) {
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    EXPECT_EQ(RunMdiHost(dir, out), 0);
    std::fclose(out);
    std::string result(text, size);
    free(text);
    return result;
}

}  // namespace

TEST_F(MdiHostTest, SecondSessionRestoresTheSavedPlacement) {
    std::string first = RunSession(Posix("profile"));
    EXPECT_NE(first.find("(no saved placement yet)"), std::string::npos);
    EXPECT_NE(first.find("default placement: normal, normal position (128,96)-(896,672)"), std::string::npos);
    EXPECT_NE(first.find("CChartView"), std::string::npos);
    EXPECT_NE(first.find("CLegendView"), std::string::npos);
    EXPECT_NE(first.find("  Maximized=1\n"), std::string::npos);

    std::string second = RunSession(Posix("profile"));
    EXPECT_NE(second.find("restored placement: maximized, normal position (60,40)-(860,640)"), std::string::npos);
    EXPECT_TRUE(Exists("profile/FrameDemo.ini"));
}

// The trace lies beside the executable: a copy of the host program in the
// test's directory writes it there.
TEST_F(MdiHostTest, TraceIsWrittenFreshBesideTheExecutable) {
    std::filesystem::create_directories(Posix("bin"));
    std::filesystem::copy_file(CBASIS_MDI_HOST, Posix("bin/host"));
    std::string command = Posix("bin/host") + " --profile-dir " + Posix("profile") + " > /dev/null";
    const std::string expected =
        "CPersistentFrame::InitializeCoordinates\r\n"
        "CPersistentFrame::m_bFirstTime\r\n"
        "CPersistentFrame::dealing with window placement\r\n"
        "CPersistentFrame::setting window placement\r\n"
        "CPersistentFrame::adding doc\r\n"
        "CPersistentFrame::InitializeCoordinates::finished routine\r\n";
    for (int run = 0; run < 2; ++run) {  // the second run starts a fresh file
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(ReadFile("bin/app-dbg.txt"), expected);
    }
}
