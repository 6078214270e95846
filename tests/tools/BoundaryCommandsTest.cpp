// The tree commands on hostile trees: every case keeps a sandbox beside the
// tree and checks that it is untouched, that the command ends, and that a
// job not done whole exits with 1 and says what was left undone.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/Sandbox.h"
#include "tools/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class BoundaryCommandsTest : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        WriteFile("victim/keep.txt", "Foo keep");
        WriteFile("victim/Foo.txt", "Foo");
        m_sandbox = Snapshot(Posix("victim"));
    }
    void ExpectSandboxIntact() { EXPECT_EQ(Snapshot(Posix("victim")), m_sandbox); }
    void ExpectUndone(const Result& r, int code, const std::string& text) {
        EXPECT_EQ(r.code, code) << r.err;
        EXPECT_NE(r.err.find(text), std::string::npos) << r.err;
    }
    std::map<std::string, std::string> m_sandbox;
};

TEST_F(BoundaryCommandsTest, NamesHoldingBackslashesNeverLeadOutOfTheTree) {
    // At several depths, each of these names would read as a way up to victim.
    WriteFile("tmpl/Foo/FooApp.cpp", "Foo");
    fs::create_directories(Posix("tmpl/Foo/..\\..\\victim"));
    fs::create_directories(Posix("tmpl/Foo/sub/..\\..\\..\\victim"));
    WriteFile("tmpl/Foo/sub/deeper/..\\..\\..\\..\\victim\\Foo.txt", "Foo");
    WriteFile("tmpl/Foo/odd:name.txt", "Foo");

    ExpectUndone(Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"}), 1,
                 "names a library path cannot carry");
    EXPECT_EQ(ReadFile("out/Bar/BarApp.cpp"), "Bar");
    EXPECT_FALSE(Exists("out/Bar/keep.txt") || Exists("out/keep.txt"));
    ExpectUndone(Run({"copy-tree", "tmpl/Foo", "copy"}), 1, "cannot carry");
    EXPECT_TRUE(Exists("copy/FooApp.cpp"));
    EXPECT_FALSE(Exists("copy/keep.txt"));
    Result tree = Run({"ls", "tmpl/Foo", "--tree"});
    ExpectUndone(tree, 1, "cannot carry");
    EXPECT_EQ(tree.out.find("keep.txt"), std::string::npos) << tree.out;
    ExpectUndone(Run({"rename-in-place", "tmpl/Foo", "Foo", "Baz"}), 1, "cannot carry");
    EXPECT_EQ(ReadFile("tmpl/Foo/BazApp.cpp"), "Baz");
    ExpectUndone(Run({"delete-tree", "tmpl", "--yes"}), 1, "not deleted");
    EXPECT_TRUE(Exists("tmpl/Foo/..\\..\\victim"));  // kept, with the directories above it
    EXPECT_FALSE(Exists("tmpl/Foo/BazApp.cpp"));
    ExpectSandboxIntact();
}

TEST_F(BoundaryCommandsTest, DotDotClimbsNeitherThroughLinksNorAboveTheDrive) {
    WriteFile("drive/top.txt", "top");
    WriteFile("drive/x/s.txt", "inside");
    WriteFile("x/s.txt", "outside the drive");
    fs::create_directories(Posix("victim/deep"));
    fs::create_directory_symlink(Posix("victim/deep"), Posix("drive/x/lnk"));
    m_sandbox = Snapshot(Posix("victim"));
    std::string drive = "CBASIS_DRIVE_C='" + Posix("drive") + "'";

    Result listing = Run({"ls", "C:\\.."}, drive);
    EXPECT_EQ(listing.code, 0) << listing.err;
    EXPECT_NE(listing.out.find("top.txt"), std::string::npos);
    EXPECT_EQ(listing.out.find("victim"), std::string::npos) << listing.out;
    EXPECT_EQ(Run({"copy", "C:\\..\\x\\s.txt", "C:\\copy.txt"}, drive).code, 0);
    EXPECT_EQ(ReadFile("drive/copy.txt"), "inside");
    ExpectUndone(Run({"delete-tree", "C:\\..", "--yes"}, drive), 1, "root");
    EXPECT_EQ(ReadFile("drive/top.txt"), "top");
    // lnk\.. is C:\x in the text, not the parent of what lnk points at.
    EXPECT_EQ(Run({"delete-tree", "C:\\x\\lnk\\..", "--yes"}, drive).code, 0);
    EXPECT_FALSE(Exists("drive/x"));
    EXPECT_EQ(ReadFile("drive/top.txt"), "top");
    EXPECT_EQ(ReadFile("x/s.txt"), "outside the drive");
    ExpectSandboxIntact();
}

TEST_F(BoundaryCommandsTest, LinksInADestinationAndNamesThatMeetFailTheCommand) {
    // A level of copy-tree's target that is a link into the sandbox.
    WriteFile("SRC/sub/Foo.txt", "mine");
    fs::create_directories(Posix("DST"));
    fs::create_directory_symlink("../victim", Posix("DST/sub"));
    ExpectUndone(Run({"copy-tree", "SRC", "DST"}), 1, "1 entry not written");
    EXPECT_TRUE(fs::is_symlink(Posix("DST/sub")));

    // Two template names that become one: both are named, nothing is overwritten.
    WriteFile("tmpl/Foo/Foo.txt", "one Foo");
    WriteFile("tmpl/Foo/Bar.txt", "two");
    Result made = Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"});
    ExpectUndone(made, 1, "2 entries meeting in one new name");
    EXPECT_NE(made.err.find("tmpl/Foo/Foo.txt"), std::string::npos) << made.err;  // as typed
    EXPECT_NE(made.err.find("tmpl/Foo/Bar.txt"), std::string::npos) << made.err;
    EXPECT_EQ(ReadFile("out/Bar/Bar.txt"), "two");

    // A target that is a link is never used.
    fs::create_directory_symlink("../victim", Posix("out/Demo"));
    ExpectUndone(Run({"new-project", "Demo", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"}), 1,
                 "cbasis new-project: out/Demo: File exists\n");
    ExpectSandboxIntact();
}

TEST_F(BoundaryCommandsTest, SpecialFilesAreReportedAndNeverWaitedOn) {
    WriteFile("tmpl/Foo/Foo.txt", "Foo");
    std::string why = MakeFifo(Posix("tmpl/Foo/pipe"));
    if (!why.empty()) GTEST_SKIP() << why;
    why = MakeDevice(Posix("tmpl/Foo/dev"));
    if (!why.empty()) GTEST_SKIP() << why;

    ExpectUndone(Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"}), 1,
                 "2 special files");
    EXPECT_EQ(ReadFile("out/Bar/Bar.txt"), "Bar");
    EXPECT_FALSE(Exists("out/Bar/pipe") || Exists("out/Bar/dev"));  // a device never arrives as an empty file
    ExpectUndone(Run({"copy-tree", "tmpl/Foo", "copy"}), 1, "special files");
    EXPECT_FALSE(Exists("copy/pipe") || Exists("copy/dev"));
    ExpectUndone(Run({"copy", "tmpl/Foo/pipe", "p"}), 1, "tmpl/Foo/pipe: not a regular file");
    ExpectUndone(Run({"words", "tmpl/Foo/pipe"}), 1, "not a regular file");
    ExpectUndone(Run({"rename-in-place", "tmpl/Foo", "Foo", "Baz"}), 1, "special files");
    EXPECT_EQ(ReadFile("tmpl/Foo/Baz.txt"), "Baz");
    ExpectSandboxIntact();
}

TEST_F(BoundaryCommandsTest, UnreadableEntriesAndNamesFailTheCommand) {
    std::string why, nobody = AsNobody(why);
    if (nobody.empty()) GTEST_SKIP() << why;
    ::chmod(m_root.c_str(), 0755);
    WriteFile("tmpl/Foo/Foo.txt", "Foo");
    WriteFile("tmpl/Foo/secret/s.txt", "s");
    WriteFile("tmpl/Foo/locked.txt", "l");
    ::chmod(Posix("tmpl/Foo/secret").c_str(), 0700);
    ::chmod(Posix("tmpl/Foo/locked.txt").c_str(), 0600);
    fs::create_directories(Posix("out/Locked"));
    ::chmod(Posix("out").c_str(), 0777);
    ::chmod(Posix("out/Locked").c_str(), 0700);

    Result made = Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"}, nobody);
    ExpectUndone(made, 1, "2 entries that could not be read");
    EXPECT_NE(made.err.find("secret"), std::string::npos);
    EXPECT_NE(made.err.find("locked.txt"), std::string::npos);
    EXPECT_EQ(ReadFile("out/Bar/Bar.txt"), "Bar");

    Result locked = Run({"new-project", "Locked", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"},
                        nobody);
    ExpectUndone(locked, 1, "out/Locked: Permission denied");
    EXPECT_EQ(std::count(locked.err.begin(), locked.err.end(), '\n'), 1) << locked.err;
}

TEST_F(BoundaryCommandsTest, TemplatesDeeperThanThePathLimitFail) {
    WriteFile("tmpl/Foo/Foo.txt", "Foo");
    std::string why = MakeDeepTree(Posix("tmpl/Foo"), "Foo.txt");
    if (!why.empty()) GTEST_SKIP() << why;
    Result made = Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"});
    ExpectUndone(made, 1, "path too long");
    EXPECT_EQ(made.out.find("made"), std::string::npos);
    std::system(("rm -rf '" + Posix("tmpl") + "' '" + Posix("out") + "'").c_str());  // beyond what remove_all takes
}

TEST_F(BoundaryCommandsTest, AFullDiskFailsTheRewrite) {
    SmallDisk disk(Posix("disk"), "512k");
    if (!disk.mounted()) GTEST_SKIP() << disk.why();
    std::string text;
    while (text.size() < 150 * 1024) text += "Foo and more Foo\n";
    WriteFile("disk/W/a.txt", text);
    WriteFile("disk/W/b.txt", text);
    WriteFile("disk/fill", std::string(512 * 1024, 'x'));  // cut short where the disk is full
    Result r = Run({"rename-in-place", "disk/W", "Foo", "Bar"});
    ExpectUndone(r, 1, "not written (No space left on device): disk/W/");
    EXPECT_EQ(ReadFile("disk/W/a.txt"), text);  // the old file stays whole
}

TEST_F(BoundaryCommandsTest, RewritesKeepOwnerGroupAndMode) {
    if (::geteuid() != 0) GTEST_SKIP() << "not root: cannot give a file to another user";
    WriteFile("W/a.txt", "Foo");
    ::chmod(Posix("W/a.txt").c_str(), 0640);
    ASSERT_EQ(::chown(Posix("W/a.txt").c_str(), 65534, 65534), 0);
    EXPECT_EQ(Run({"rename-in-place", "W", "Foo", "Bar"}).code, 0);
    struct stat st {};
    ASSERT_EQ(::stat(Posix("W/a.txt").c_str(), &st), 0);
    EXPECT_EQ(ReadFile("W/a.txt"), "Bar");
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(BoundaryCommandsTest, GuardsCountedAndPrintedAreTheOnesRewritten) {
    const std::string guard = "#if !defined(AFX_FOO_H__00000000_0000_0000_0000_000000000000__INCLUDED_)\n";
    WriteFile("tmpl/Foo/Foo.h", "#if !defined(OTHER)\n#endif\n" + guard);
    WriteFile("tmpl/Foo/FooRo.h", guard);
    ::chmod(Posix("tmpl/Foo/FooRo.h").c_str(), 0444);
    WriteFile("tmpl/Foo/FooBin.h", guard + std::string(1, '\0'));
    Result made = Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"});
    EXPECT_EQ(made.code, 0) << made.err;
    EXPECT_NE(made.out.find("1 header guard renewed"), std::string::npos) << made.out;

    Result printed = Run({"guard", "tmpl/Foo/Foo.h", "View"});
    ASSERT_EQ(printed.code, 0) << printed.err;
    std::string macro = printed.out.substr(printed.out.find(": ") + 2);
    macro.pop_back();
    EXPECT_EQ(macro.rfind("AFX_VIEW_H__", 0), 0u) << macro;
    EXPECT_NE(ReadFile("tmpl/Foo/Foo.h").find("#if !defined(" + macro + ")"), std::string::npos);
    ExpectUndone(Run({"guard", "tmpl/Foo/FooBin.h", "View"}), 1, "zero bytes");
}

TEST_F(BoundaryCommandsTest, PatternsAreNamesAndTheEnvironmentFailsCleanly) {
    WriteFile("tree/a.txt", "a");
    ExpectUndone(Run({"copy-tree", "tree", "out", "..\\*.*"}), 2, "separator");
    ExpectUndone(Run({"copy-tree", "tree", "out", "../*"}), 2, "separator");
    EXPECT_FALSE(Exists("out"));

    WriteFile("tmpl/Foo/Foo.txt", "Foo");
    Result noTemp = Run({"new-project", "Demo"}, "TMPDIR=/nonexistent/tmp");
    ExpectUndone(noTemp, 1, "TMPDIR");
    EXPECT_EQ(std::count(noTemp.err.begin(), noTemp.err.end(), '\n'), 1) << noTemp.err;
    EXPECT_EQ(Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo"}, "TMPDIR=/nonexistent/tmp").code,
              0);
    ExpectSandboxIntact();
}

}  // namespace
