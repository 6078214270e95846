// The tree operations while a second process changes the tree under them: a
// directory swapped for a link while the walk is busy elsewhere, links that
// stand in a destination before the walk, and template names that meet in
// one target name. The swap is made by a real second process, told from a
// hook of the walk, so the window is hit every time. Every test keeps a
// sandbox beside the trees and checks that it stays untouched.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/kernel/Undone.h"
#include "project/CProject.h"
#include "support/Sandbox.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class TreeRaceTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        WriteFile("victim/keep.txt", "Foo keep");
        WriteFile("victim/Foo.txt", "Foo");
        WriteFile("victim/secret.txt", "secret");
        m_sandbox = Snapshot(Posix("victim"));
        PlatformSetUndoneHook([this](PlatformUndone kind, const std::string& path, DWORD) {
            m_undone.push_back({kind, path});
            if (m_onUndone) m_onUndone(kind, path);
        });
    }
    void TearDown() override {
        PlatformSetUndoneHook(nullptr);
        CProject::SetMadeHook(nullptr);
        EXPECT_EQ(Snapshot(Posix("victim")), m_sandbox);  // never touched, in any test
        TempDirTest::TearDown();
    }
    bool Reported(PlatformUndone kind, const std::string& relative) const {
        return std::find(m_undone.begin(), m_undone.end(), std::make_pair(kind, Posix(relative))) != m_undone.end();
    }
    // True when no file below the directory holds a name of the sandbox.
    bool HoldsNothingOfTheSandbox(const std::string& relative) const {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(Posix(relative), ec), end; !ec && it != end; it.increment(ec))
            if (it->path().filename() == "keep.txt" || it->path().filename() == "secret.txt") return false;
        return true;
    }
    std::map<std::string, std::string> m_sandbox;
    std::vector<std::pair<PlatformUndone, std::string>> m_undone;
    std::function<void(PlatformUndone, const std::string&)> m_onUndone;
};

TEST_F(TreeRaceTest, TheTreeDeleteNeverEntersADirectorySwappedForALink) {
    // A read-only file in T/a is reported as it stays: the second process
    // then swaps T/z, which the walk has listed as a directory.
    WriteFile("T/a/ro.txt", "ro");
    WriteFile("T/a/x.txt", "x");
    WriteFile("T/z/z.txt", "z");
    ::chmod(Posix("T/a/ro.txt").c_str(), 0444);
    LinkSwapper swapper(Posix("T/z"), "../victim");
    m_onUndone = [&](PlatformUndone kind, const std::string&) {
        if (kind == PlatformUndone::NotDeleted) swapper.Swap();
    };
    CProject::CDeleteDirectory("C:\\T");
    ASSERT_TRUE(swapper.Swap());
    EXPECT_TRUE(fs::is_symlink(Posix("T/z")));  // kept, and what it points at too
    EXPECT_FALSE(Exists("T/a/x.txt"));
    EXPECT_TRUE(Reported(PlatformUndone::NotEntered, "T/z"));
}

TEST_F(TreeRaceTest, TheRewriteInPlaceNeverEntersADirectorySwappedForALink) {
    // Foo.txt cannot take the name Bar.txt, which stands: the second process
    // swaps T/z as that is reported.
    WriteFile("T/a/Foo.txt", "Foo");
    WriteFile("T/a/Bar.txt", "Bar");
    WriteFile("T/z/Foo.conf", "Foo");
    LinkSwapper swapper(Posix("T/z"), "../victim");
    m_onUndone = [&](PlatformUndone kind, const std::string&) {
        if (kind == PlatformUndone::NotRenamed) swapper.Swap();
    };
    CProject::ChangeKeywordAndFilenameInAllDirectoryFiles("C:\\T", "Bar", "Foo");
    ASSERT_TRUE(swapper.Swap());
    EXPECT_EQ(ReadFile("T/a/Foo.txt"), "Bar");
    EXPECT_EQ(ReadFile("T/z.moved/Foo.conf"), "Foo");  // listed no more: its old place is a link
    EXPECT_TRUE(Reported(PlatformUndone::NotEntered, "T/z"));
}

TEST_F(TreeRaceTest, TheTreeCopyNeverCopiesFromADirectorySwappedForALink) {
    WriteFile("T/a/a.txt", "a");
    std::string why = MakeFifo(Posix("T/a/pipe"));  // reported as special: the cue for the swap
    if (!why.empty()) GTEST_SKIP() << why;
    WriteFile("T/z/z.txt", "z");
    LinkSwapper swapper(Posix("T/z"), "../victim");
    m_onUndone = [&](PlatformUndone kind, const std::string&) {
        if (kind == PlatformUndone::Special) swapper.Swap();
    };
    CProject::CCopyFilesFromOneDirectoryToAnother("C:\\T", "C:\\Out");
    ASSERT_TRUE(swapper.Swap());
    EXPECT_EQ(ReadFile("Out/a/a.txt"), "a");
    EXPECT_TRUE(HoldsNothingOfTheSandbox("Out"));
    EXPECT_TRUE(Reported(PlatformUndone::NotEntered, "T/z"));
}

TEST_F(TreeRaceTest, TheGeneratorNeitherReadsNorWritesThroughAPlaceSwappedForALink) {
    struct Case {
        const char* name;
        const char* cue;      // the path made, relative to the target, after which the swap comes
        const char* swapped;  // what is swapped
    };
    const Case cases[] = {
        {"the target itself", "Bar\\a.txt", "Out/Bar"},
        {"a level of the template", "Bar\\a.txt", "T/Foo/z"},
        {"a level of the target", "Bar\\z", "Out/Bar/z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Posix("T"));
        fs::remove_all(Posix("Out"));
        WriteFile("T/Foo/a.txt", "Foo a");
        WriteFile("T/Foo/b.txt", "Foo b");
        WriteFile("T/Foo/z/Foo.txt", "Foo z");
        LinkSwapper swapper(Posix(c.swapped), Posix("victim"));
        CProject::SetMadeHook([&](const CString& path, bool) {
            if (path.Right(static_cast<int>(std::strlen(c.cue))) == c.cue) swapper.Swap();
        });
        CProject().MakeProject1("Foo", "C:\\T\\Foo", "C:\\Out\\Bar", "Bar");
        CProject::SetMadeHook(nullptr);
        EXPECT_TRUE(swapper.swapped());
        EXPECT_TRUE(HoldsNothingOfTheSandbox("Out"));
        EXPECT_EQ(Snapshot(Posix("victim")), m_sandbox);
    }
}

TEST_F(TreeRaceTest, LinksStandingInADestinationAreNeverWrittenThrough) {
    // A level of the copy's destination, and the copy's and the generator's
    // whole destination, as links made before the call.
    WriteFile("SRC/sub/authorized_keys", "mine");
    WriteFile("SRC/Foo.txt", "Foo");
    fs::create_directories(Posix("DST"));
    fs::create_directory_symlink("../victim", Posix("DST/sub"));
    CProject::CCopyFilesFromOneDirectoryToAnother("C:\\SRC", "C:\\DST");
    EXPECT_EQ(ReadFile("DST/Foo.txt"), "Foo");
    EXPECT_TRUE(fs::is_symlink(Posix("DST/sub")));

    fs::create_directory_symlink("victim", Posix("LNK"));
    CProject::CCopyFilesFromOneDirectoryToAnother("C:\\SRC", "C:\\LNK");
    CProject().MakeProject1("Foo", "C:\\SRC", "C:\\LNK", "Bar");
    EXPECT_TRUE(Reported(PlatformUndone::NotEntered, "LNK"));
}

TEST_F(TreeRaceTest, TheGeneratorRefusesASecondSourceForANameItMadeInTheRun) {
    // Bar.txt comes first and keeps its name; Foo.txt would take it too.
    WriteFile("T/Foo/Bar.txt", "two");
    WriteFile("T/Foo/Foo.txt", "one Foo");
    WriteFile("T/Foo/sub/Foo.h", "Foo");
    WriteFile("T/Foo/sub/FooFoo.h", "Foo");  // its own name: no meeting
    CProject().MakeProject1("Foo", "C:\\T\\Foo", "C:\\Out", "Bar");
    EXPECT_EQ(ReadFile("Out/Bar.txt"), "two");
    EXPECT_EQ(ReadFile("Out/sub/Bar.h"), "Bar");
    EXPECT_EQ(ReadFile("Out/sub/BarBar.h"), "Bar");
    EXPECT_TRUE(Reported(PlatformUndone::NameTaken, "T/Foo/Bar.txt"));
    EXPECT_TRUE(Reported(PlatformUndone::NameTaken, "T/Foo/Foo.txt"));
    EXPECT_EQ(m_undone.size(), 2u);

    // A second run into the same target overwrites what the first made.
    m_undone.clear();
    WriteFile("T/Foo/Bar.txt", "three");
    ::unlink(Posix("T/Foo/Foo.txt").c_str());
    CProject().MakeProject1("Foo", "C:\\T\\Foo", "C:\\Out", "Bar");
    EXPECT_EQ(ReadFile("Out/Bar.txt"), "three");
    EXPECT_TRUE(m_undone.empty());
}

}  // namespace
