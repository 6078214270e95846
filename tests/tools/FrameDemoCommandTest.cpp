#include <gtest/gtest.h>

#include <string>

#include "tools/ToolTest.h"

using FrameDemoCommandTest = ToolTest;

TEST_F(FrameDemoCommandTest, APluginsFrameAndViewShowInTheWindowTree) {
    Result help = Run({"frame-demo", "--help"});
    ASSERT_EQ(help.code, 0);
    EXPECT_NE(help.out.find(CBASIS_NOTES_PLUGIN), std::string::npos) << help.out;

    Result run = Run({"frame-demo", "--profile-dir", "profile", "--plugin", CBASIS_NOTES_PLUGIN});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("plugin frame 3: CNotesFrame with CNotesView\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("      CNotesFrame \"Plugin Notes\""), std::string::npos);
    EXPECT_NE(run.out.find("        CNotesView \"\""), std::string::npos);
    EXPECT_NE(run.out.find("CEdit \"Notes kept by the example plugin\""), std::string::npos);
}

TEST_F(FrameDemoCommandTest, AFileThatIsNoPluginFailsTheRun) {
    WriteFile("notes.txt", "text\n");
    Result run = Run({"frame-demo", "--profile-dir", "profile", "--plugin", "notes.txt"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("Failed to load "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("its frame was not shown"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("plugin frame"), std::string::npos);
    EXPECT_EQ(Run({"frame-demo", "--plugin"}).code, 2);
}
