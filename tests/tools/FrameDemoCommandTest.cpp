#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "support/Sandbox.h"
#include "tools/ToolTest.h"

namespace {

using FrameDemoCommandTest = ToolTest;

using Picture = std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)>;

Picture Load(const std::string& png) {
    return Picture(cairo_image_surface_create_from_png(png.c_str()), cairo_surface_destroy);
}

// The picture's pixel as 0xRRGGBB.
uint32_t PixelAt(cairo_surface_t* surface, int x, int y) {
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

}  // namespace

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

TEST_F(FrameDemoCommandTest, APluginThatCannotBeLoadedIsNamedAsTypedWithTheReason) {
    WriteFile("notes.txt", "text\n");
    struct Case {
        std::string plugin, reason;
    } const cases[] = {
        {"nothere.so", "No such file or directory"},
        {"notes.txt", "file too short"},                        // the loader's words
        {CBASIS_PLATFORM_LIBRARY, "it exports no GetDllView"},  // a shared object, but no plugin
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plugin);
        Result run = Run({"frame-demo", "--profile-dir", "profile", "--plugin", c.plugin});
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err.rfind("cbasis frame-demo: " + c.plugin + ": ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.out.find("plugin frame"), std::string::npos);
    }
    EXPECT_EQ(Run({"frame-demo", "--plugin"}).code, 2);
}

TEST_F(FrameDemoCommandTest, SnapshotPicturesTheMainFrameWithItsFramesAndPanel) {
    Result run = Run({"frame-demo", "--profile-dir", Posix("profile"), "--snapshot", "out.png"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("picture: out.png\n"), std::string::npos) << run.out;
    Picture picture = Load(Posix("out.png"));
    ASSERT_EQ(cairo_surface_status(picture.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(picture.get()), 768);
    EXPECT_EQ(cairo_image_surface_get_height(picture.get()), 576 + 18);  // the title bar above the frame
    struct Check {
        int x, y;
        uint32_t expected;
        const char* what;
    };
    const Check checks[] = {
        {300, 8, 0x0A246A, "the main frame's title bar"},
        {60, 400, 0x008080, "the docked panel's background, painted by its companion"},
        {30, 70, 0xE67814, "a glyph drawn through the companion's child list"},
        {700, 550, 0x808080, "the MDI client's workspace"},
        {400, 26, 0x0A246A, "the active child frame's title bar (the report, activated again)"},
        {603, 27, 0x000000, "the middle of its close button's cross"},
        {597, 34, 0xD4D0C8, "its close button's face"},
        {627, 50, 0x000000, "the cross of the other child frame's close button, behind it"},
    };
    for (const Check& check : checks) {
        SCOPED_TRACE(check.what);
        EXPECT_EQ(PixelAt(picture.get(), check.x, check.y), check.expected);
    }
}

TEST_F(FrameDemoCommandTest, ThePictureShowsThePluginsFrame) {
    Result plain = Run({"frame-demo", "--profile-dir", Posix("p1"), "--snapshot", "plain.png"});
    Result plugin =
        Run({"frame-demo", "--profile-dir", Posix("p2"), "--plugin", CBASIS_NOTES_PLUGIN, "--snapshot", "plugin.png"});
    ASSERT_EQ(plain.code, 0) << plain.err;
    ASSERT_EQ(plugin.code, 0) << plugin.err;
    Picture without = Load(Posix("plain.png")), with = Load(Posix("plugin.png"));
    ASSERT_EQ(cairo_surface_status(without.get()), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_surface_status(with.get()), CAIRO_STATUS_SUCCESS);
    // The plugin's frame opens last, in front, with the active title bar.
    const int x = 400, y = 74;
    EXPECT_EQ(PixelAt(with.get(), x, y), 0x0A246Au);
    EXPECT_NE(PixelAt(without.get(), x, y), 0x0A246Au);
}

TEST_F(FrameDemoCommandTest, AnUnwritablePictureFailsTheCommand) {
    Result run = Run({"frame-demo", "--profile-dir", Posix("profile"), "--snapshot", "missing/out.png"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "cbasis frame-demo: missing/out.png: No such file or directory\n");
    EXPECT_EQ(Run({"frame-demo", "--snapshot"}).code, 2);
}

// A profile the session cannot save to fails the run, and says so; one that
// is no regular file is never waited on or read without bound.
TEST_F(FrameDemoCommandTest, AProfileThatCannotBeSavedFailsTheRunAndNothingWaitsOnIt) {
    namespace fs = std::filesystem;
    struct Case {
        const char* what;
        std::function<std::string()> make;  // why it could not be made, or ""
    } const cases[] = {
        {"a read-only profile",
         [&] {
             WriteFile("profile/FrameDemo.ini", "[Other]\r\nx=1\r\n");
             fs::permissions(Posix("profile/FrameDemo.ini"), fs::perms::owner_read);
             return std::string();
         }},
        {"a directory that cannot be made",
         [&] {
             WriteFile("profile", "a file where the directory should be");
             return std::string();
         }},
        {"a FIFO",
         [&] {
             fs::create_directories(Posix("profile"));
             return MakeFifo(Posix("profile/FrameDemo.ini"));
         }},
        {"a link to /dev/zero",
         [&] {
             fs::create_directories(Posix("profile"));
             fs::create_symlink("/dev/zero", Posix("profile/FrameDemo.ini"));
             return std::string();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Posix("profile"));
        std::string why = c.make();
        if (!why.empty()) {
            ADD_FAILURE() << why;
            continue;
        }
        Result run = Run({"frame-demo", "--profile-dir", Posix("profile")});
        EXPECT_EQ(run.code, 1) << run.err;
        EXPECT_NE(run.err.find("the placement could not be saved in " + Posix("profile/FrameDemo.ini")),
                  std::string::npos)
            << run.err;
        fs::permissions(Posix("profile"), fs::perms::owner_all, fs::perm_options::add);
    }
}

TEST_F(FrameDemoCommandTest, AProfileThatIsALinkIsSavedAtItsTarget) {
    namespace fs = std::filesystem;
    WriteFile("dotfiles/FrameDemo.ini", "; kept in the dotfiles\r\n");
    fs::create_directories(Posix("profile"));
    fs::create_symlink("../dotfiles/FrameDemo.ini", Posix("profile/FrameDemo.ini"));
    Result run = Run({"frame-demo", "--profile-dir", "profile"});  // relative to where the command ran
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(Posix("profile/FrameDemo.ini")));
    std::string saved = ReadFile("dotfiles/FrameDemo.ini");
    EXPECT_EQ(saved.rfind("; kept in the dotfiles\r\n[Mainframe Settings]\r\n", 0), 0u) << saved;
    EXPECT_NE(saved.find("Maximized=1\r\n"), std::string::npos) << saved;
    EXPECT_EQ(std::distance(fs::directory_iterator(Posix("dotfiles")), fs::directory_iterator()), 1);
}

TEST_F(FrameDemoCommandTest, WithoutTheDisplayModuleItRunsHeadlessAndSaysSoInOneLine) {
    Result run = Run({"frame-demo", "--profile-dir", Posix("profile")},
                     "CBASIS_DISPLAY=gtk3 CBASIS_DISPLAY_MODULE=" + Posix("missing/libCBasis1Display-gtk3.so"));
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("running headless"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("window tree:"), std::string::npos);  // the scripted session, as before
    EXPECT_NE(run.out.find("  Maximized=1"), std::string::npos);
}
