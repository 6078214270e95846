// CProject on hostile trees: names a path cannot carry, ".." through links,
// special files, files larger than a block, and what is reported undone.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/kernel/Paths.h"
#include "platform/kernel/Undone.h"
#include "project/CProject.h"
#include "support/Sandbox.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class CProjectBoundaryTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        WriteFile("victim/keep.txt", "Foo keep");
        m_sandbox = Snapshot(Posix("victim"));
        PlatformSetUndoneHook([this](PlatformUndone kind, const std::string& path, DWORD) {
            m_undone.push_back({kind, path});
        });
    }
    void TearDown() override {
        PlatformSetUndoneHook(nullptr);
        EXPECT_EQ(Snapshot(Posix("victim")), m_sandbox);  // never touched, in any test
        TempDirTest::TearDown();
    }
    size_t Undone(PlatformUndone kind) const {
        size_t n = 0;
        for (const auto& entry : m_undone) n += entry.first == kind;
        return n;
    }
    std::map<std::string, std::string> m_sandbox;
    std::vector<std::pair<PlatformUndone, std::string>> m_undone;
};

// The whole-text replacement every streamed one must agree with.
std::string ReplacedWhole(const std::string& text, const char* keyword, const char* replacement) {
    CString whole(text);
    whole.Replace(keyword, replacement);
    return whole.str();
}

TEST_F(CProjectBoundaryTest, NamesAPathCannotCarryAreLeftOutAndReported) {
    WriteFile("T/Foo/Foo.txt", "Foo");
    fs::create_directories(Posix("T/Foo/..\\..\\victim"));
    WriteFile("T/Foo/a/..\\..\\..\\victim\\keep.txt", "Foo");
    CProject().MakeProject1("Foo", "C:\\T\\Foo", "C:\\Out", "Bar");
    CProject::CCopyFilesFromOneDirectoryToAnother("C:\\T\\Foo", "C:\\Copy");
    CProject::ChangeKeywordAndFilenameInAllDirectoryFiles("C:\\T\\Foo", "Baz", "Foo");
    EXPECT_EQ(ReadFile("Out/Bar.txt"), "Bar");
    EXPECT_TRUE(Exists("Copy/Foo.txt"));
    EXPECT_EQ(ReadFile("T/Foo/Foo.txt"), "Baz");  // the directory's path holds the word: no renames
    EXPECT_EQ(Undone(PlatformUndone::BadName), 6u);  // two names, three walks

    // A delete keeps the directories that still hold such a name, and says so.
    m_undone.clear();
    CProject::CDeleteDirectory("C:\\T");
    EXPECT_TRUE(Exists("T/Foo/..\\..\\victim") && Exists("T/Foo/a/..\\..\\..\\victim\\keep.txt"));
    EXPECT_FALSE(Exists("T/Foo/Foo.txt"));
    EXPECT_EQ(Undone(PlatformUndone::BadName), 2u);
    EXPECT_EQ(Undone(PlatformUndone::NotDeleted), 3u);  // T\Foo\a, T\Foo, T
}

TEST_F(CProjectBoundaryTest, DotDotIsTheParentInTheTextNotThroughALink) {
    // C: is a directory beside the sandbox here, so that a climb above the
    // drive would reach the sandbox and nothing outside the test's directory.
    WriteFile("drive/x/a.txt", "a");
    WriteFile("drive/stays.txt", "s");
    fs::create_directories(Posix("victim/deep"));
    fs::create_directory_symlink(Posix("victim/deep"), Posix("drive/x/lnk"));
    m_sandbox = Snapshot(Posix("victim"));
    PlatformSetDrive('C', Posix("drive").c_str());
    CProject::CDeleteDirectory("C:\\..");  // the drive's root: refused
    CProject::CDeleteDirectory("C:\\x\\..\\..");
    EXPECT_TRUE(Exists("drive/x/a.txt") && Exists("drive/stays.txt"));
    CProject::CDeleteDirectory("C:\\x\\lnk\\..");  // is C:\x
    EXPECT_FALSE(Exists("drive/x"));
    EXPECT_TRUE(Exists("drive/stays.txt"));
}

TEST_F(CProjectBoundaryTest, ALinkInTheDestinationIsNeverWrittenThrough) {
    WriteFile("T/Foo/Sub/Foo.txt", "Foo");
    WriteFile("T/Foo/top.txt", "Foo");
    fs::create_directories(Posix("Out"));
    fs::create_directory_symlink(Posix("victim"), Posix("Out/Sub"));
    CProject().MakeProject1("Foo", "C:\\T\\Foo", "C:\\Out", "Bar");
    EXPECT_EQ(ReadFile("Out/top.txt"), "Bar");
    EXPECT_TRUE(fs::is_symlink(Posix("Out/Sub")));  // and the victim stays as it was (TearDown)
    ASSERT_EQ(Undone(PlatformUndone::NotWritten), 1u);
    EXPECT_EQ(m_undone[0].second, Posix("Out/Sub"));
}

TEST_F(CProjectBoundaryTest, SpecialFilesAreNeitherOpenedNorCopied) {
    WriteFile("T/Foo.txt", "Foo");
    std::string why = MakeFifo(Posix("T/FooPipe"));
    if (why.empty()) why = MakeDevice(Posix("T/dev"));
    if (!why.empty()) GTEST_SKIP() << why;
    ::alarm(20);  // a blocking open would hang: end the test instead
    CProject().MakeProject1("Foo", "C:\\T", "C:\\Out", "Bar");
    CProject::CCopyFilesFromOneDirectoryToAnother("C:\\T", "C:\\Copy");
    CProject().ChangeKeywordInAllDirectoryFiles("C:\\T", "Bar", "Foo");
    ::alarm(0);
    EXPECT_EQ(ReadFile("Out/Bar.txt"), "Bar");
    EXPECT_FALSE(Exists("Out/BarPipe") || Exists("Out/dev") || Exists("Copy/FooPipe") || Exists("Copy/dev"));
    EXPECT_EQ(Undone(PlatformUndone::Special), 6u);
}

TEST_F(CProjectBoundaryTest, StreamedReplacementFindsWhatTheWholeTextReplacementFinds) {
    // Texts larger than the 1 MiB blocks, made of the keyword's own letters,
    // so that occurrences and near misses straddle every block edge.
    std::mt19937 random(11);
    for (const char* keyword : {"Foo", "FoFoo", "oo"}) {
        SCOPED_TRACE(keyword);
        std::string text(3 * 1024 * 1024 + 5, ' ');
        for (char& c : text) c = "Fox"[random() % 3];
        WriteFile("T/Foo.txt", text);
        CProject().MakeProject1(keyword, "C:\\T", "C:\\Out", "Bar-");
        std::string expected = ReplacedWhole(text, keyword, "Bar-");
        std::string name = std::string("Out/") + ReplacedWhole("Foo", keyword, "Bar-") + ".txt";
        EXPECT_TRUE(ReadFile(name) == expected);
        CProject().ReplaceKeyWord("Bar-", keyword, "C:\\T\\Foo.txt");
        EXPECT_TRUE(ReadFile("T/Foo.txt") == expected);
        CProject::CDeleteDirectory("C:\\Out");
    }
}

TEST_F(CProjectBoundaryTest, AZeroByteBeyondTheFirstBlockStillMakesAFileBinary) {
    std::string text(2 * 1024 * 1024, 'x');
    text.replace(10, 3, "Foo");
    text[text.size() - 100] = '\0';
    WriteFile("T/Foo.bin", text);
    struct stat before {};
    ::stat(Posix("T/Foo.bin").c_str(), &before);
    CProject().MakeProject1("Foo", "C:\\T", "C:\\Out", "Bar");
    EXPECT_TRUE(ReadFile("Out/Bar.bin") == text);  // renamed, copied whole, never rewritten
    struct stat copy {};
    ::stat(Posix("Out/Bar.bin").c_str(), &copy);
    EXPECT_EQ(copy.st_mtime, before.st_mtime);
    CProject().ReplaceKeyWord("Bar", "Foo", "C:\\T\\Foo.bin");
    EXPECT_TRUE(ReadFile("T/Foo.bin") == text);
}

TEST_F(CProjectBoundaryTest, FailedWritesAreReportedAndKeepTheOldFile) {
    SmallDisk disk(Posix("disk"), "256k");
    if (!disk.mounted()) GTEST_SKIP() << disk.why();
    std::string text(100 * 1024, 'x');
    text += "Foo";
    WriteFile("disk/a.txt", text);
    WriteFile("disk/fill", std::string(256 * 1024, 'f'));
    CProject().ReplaceKeyWord("Bar", "Foo", "C:\\disk\\a.txt");
    EXPECT_TRUE(ReadFile("disk/a.txt") == text);
    ASSERT_EQ(Undone(PlatformUndone::NotWritten), 1u);
    EXPECT_EQ(m_undone[0].second, Posix("disk/a.txt"));
}

}  // namespace
