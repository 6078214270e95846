// Walk roots: paths below an active root are resolved from its descriptor,
// one directory at a time, never through a link; the calls stay the
// original platform's path calls. The roots themselves, what is reported
// when a directory turns out to be a link, the cache of open directories in
// deep trees, and the descriptors it holds.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Undone.h"
#include "platform/kernel/WalkRoot.h"
#include "platform/mfc/Files.h"
#include "support/FaultSweep.h"
#include "support/Sandbox.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class WalkRootTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        WriteFile("victim/keep.txt", "keep");
        m_sandbox = Snapshot(Posix("victim"));
        PlatformSetUndoneHook([this](PlatformUndone kind, const std::string& path, DWORD) {
            m_undone.push_back({kind, path});
        });
        m_descriptors = OpenDescriptors();
    }
    void TearDown() override {
        PlatformSetUndoneHook(nullptr);
        EXPECT_EQ(OpenDescriptors(), m_descriptors) << "a root left a descriptor open";
        EXPECT_EQ(Snapshot(Posix("victim")), m_sandbox);
        TempDirTest::TearDown();
    }
    bool Reported(PlatformUndone kind, const std::string& relative) const {
        return std::find(m_undone.begin(), m_undone.end(), std::make_pair(kind, Posix(relative))) != m_undone.end();
    }
    std::map<std::string, std::string> m_sandbox;
    std::vector<std::pair<PlatformUndone, std::string>> m_undone;
    int m_descriptors = 0;
};

TEST_F(WalkRootTest, ARootIsADirectoryNeverALink) {
    fs::create_directories(Posix("R"));
    WriteFile("file", "f");
    fs::create_directory_symlink("victim", Posix("lnk"));
    struct Case {
        const char* path;
        bool open;
        DWORD error;
        bool reported;
    } cases[] = {
        {"C:\\R", true, 0, false},
        {"C:\\R\\", true, 0, false},
        {"C:\\lnk", false, ERROR_DIRECTORY, true},
        {"C:\\file", false, ERROR_DIRECTORY, true},
        {"C:\\missing", false, ERROR_FILE_NOT_FOUND, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        m_undone.clear();
        SetLastError(0);
        PlatformWalkRoot root(c.path);
        EXPECT_EQ(bool(root), c.open);
        if (!c.open) {
            EXPECT_EQ(GetLastError(), c.error);
        }
        EXPECT_EQ(!m_undone.empty(), c.reported);
        if (c.reported) {
            EXPECT_EQ(m_undone[0].first, PlatformUndone::NotEntered);
        }
    }
}

TEST_F(WalkRootTest, BelowARootNoCallGoesThroughALink) {
    WriteFile("R/sub/own.txt", "own");
    WriteFile("R/file.txt", "file");
    fs::create_directory_symlink("../victim", Posix("R/lnk"));
    fs::create_symlink("../victim/keep.txt", Posix("R/lnkfile"));
    // Without a root, a link in the middle of a path is followed.
    EXPECT_NE(GetFileAttributesA("C:\\R\\lnk\\keep.txt"), INVALID_FILE_ATTRIBUTES);

    PlatformWalkRoot root("C:\\R");
    ASSERT_TRUE(root);
    CFileStatus status;
    EXPECT_EQ(GetFileAttributesA("C:\\R\\lnk\\keep.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANT_RESOLVE_FILENAME));
    EXPECT_FALSE(CFile::GetStatus("C:\\R\\lnk\\keep.txt", status));
    EXPECT_FALSE(DeleteFileA("C:\\R\\lnk\\keep.txt"));
    EXPECT_FALSE(CreateDirectoryA("C:\\R\\lnk\\new", nullptr));
    EXPECT_FALSE(MoveFileA("C:\\R\\file.txt", "C:\\R\\lnk\\file.txt"));
    EXPECT_FALSE(SetCurrentDirectoryA("C:\\R\\lnk"));
    EXPECT_EQ(crt::fopen("C:\\R\\lnk\\keep.txt", "w"), nullptr);
    CFileFind find;
    EXPECT_FALSE(find.FindFile("C:\\R\\lnk\\*.*"));
    // The last name is not followed either: the link is seen as a link.
    EXPECT_EQ(crt::fopen("C:\\R\\lnkfile", "r"), nullptr);
    ASSERT_TRUE(CFile::GetStatus("C:\\R\\lnkfile", status));
    EXPECT_NE(status.m_size, 4);
    EXPECT_TRUE(Reported(PlatformUndone::NotEntered, "R/lnk"));
    // Paths outside the root are as before; those below it work as usual.
    EXPECT_NE(GetFileAttributesA("C:\\victim\\keep.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(MoveFileA("C:\\R\\file.txt", "C:\\R\\sub\\moved.txt"));
    EXPECT_TRUE(find.FindFile("C:\\R\\sub\\*.txt"));
    EXPECT_TRUE(SetCurrentDirectoryA("C:\\R\\sub"));
    EXPECT_EQ(fs::current_path(), Posix("R/sub"));
    FILE* file = crt::fopen("C:\\R\\sub\\new.txt", "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(Exists("R/sub/new.txt") && Exists("R/sub/moved.txt"));
}

TEST_F(WalkRootTest, TheRootStaysTheDirectoryItOpened) {
    WriteFile("R/own.txt", "own");
    PlatformWalkRoot root("C:\\R");
    ASSERT_EQ(::rename(Posix("R").c_str(), Posix("R.moved").c_str()), 0);
    fs::create_directory_symlink("victim", Posix("R"));
    CFileFind find;
    ASSERT_TRUE(find.FindFile("C:\\R\\*.txt"));
    find.FindNextFile();
    EXPECT_EQ(find.GetFileName(), "own.txt");
    EXPECT_TRUE(DeleteFileA("C:\\R\\own.txt"));
    EXPECT_FALSE(Exists("R.moved/own.txt"));
    EXPECT_FALSE(DeleteFileA("C:\\R\\keep.txt"));
}

TEST_F(WalkRootTest, ADirectoryRenamedByTheWalkIsNotTakenFromTheCacheAgain) {
    WriteFile("R/a/x.txt", "x");
    PlatformWalkRoot root("C:\\R");
    EXPECT_NE(GetFileAttributesA("C:\\R\\a\\x.txt"), INVALID_FILE_ATTRIBUTES);  // R/a is open now
    ASSERT_TRUE(MoveFileA("C:\\R\\a", "C:\\R\\b"));
    EXPECT_EQ(GetFileAttributesA("C:\\R\\a\\x.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(GetFileAttributesA("C:\\R\\b\\x.txt"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(DeleteFileA("C:\\R\\b\\x.txt"));
    ASSERT_TRUE(RemoveDirectoryA("C:\\R\\b"));
    EXPECT_TRUE(CreateDirectoryA("C:\\R\\b", nullptr));  // a new directory of the old name
    EXPECT_EQ(GetFileAttributesA("C:\\R\\b\\x.txt"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WalkRootTest, DeepTreesKeepFewDescriptorsOpenAndClimbBackChecked) {
    constexpr int kDepth = 150, kMoved = 9;
    CString path = "C:\\R";
    std::vector<CString> levels;
    fs::create_directories(Posix("R"));
    {
        PlatformWalkRoot root("C:\\R");
        for (int i = 0; i < kDepth; ++i) {
            path += "\\d";
            levels.push_back(path);
            ASSERT_TRUE(CreateDirectoryA(path, nullptr)) << i;
            FILE* file = crt::fopen(path + "\\f.txt", "w");
            ASSERT_NE(file, nullptr) << i;
            std::fclose(file);
        }
        EXPECT_LE(OpenDescriptors(), m_descriptors + 40);
        // A level the walk has closed long ago is moved into the sandbox.
        // The walk goes on in its own directories wherever they went; but
        // climbing out of the moved one through ".." would reach the
        // sandbox, which the check catches: the parent is taken by name.
        std::string moved = Posix("R");
        for (int i = 0; i <= kMoved; ++i) moved += "/d";
        ASSERT_EQ(::rename(moved.c_str(), Posix("victim/d").c_str()), 0);
        for (int i = kDepth; i-- > 0;) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(DeleteFileA(levels[i] + "\\f.txt"));
            EXPECT_EQ(RemoveDirectoryA(levels[i]), i == kMoved ? FALSE : TRUE);
        }
    }
    EXPECT_FALSE(Exists("R/d"));
    EXPECT_TRUE(Exists("victim/d"));  // as the sandbox's "d", it was not removed
    fs::remove(Posix("victim/d"));
}

TEST_F(WalkRootTest, RootsNestAndEachPathBelongsToTheLongest) {
    WriteFile("A/B/x.txt", "x");
    fs::create_directory_symlink("../../victim", Posix("A/B/lnk"));
    PlatformWalkRoot outer("C:\\A");
    {
        PlatformWalkRoot inner("C:\\A\\B");  // joins the outer root: no descriptor of its own
        EXPECT_TRUE(inner);
        PlatformWalkRoot same("C:\\A");
        EXPECT_TRUE(same);
        PlatformWalkRoot throughLink("C:\\A\\B\\lnk");
        EXPECT_FALSE(throughLink);
        EXPECT_NE(GetFileAttributesA("C:\\A\\B\\x.txt"), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_TRUE(Reported(PlatformUndone::NotEntered, "A/B/lnk"));
    EXPECT_EQ(std::count_if(m_undone.begin(), m_undone.end(),
                            [](const auto& e) { return e.first == PlatformUndone::NotEntered; }),
              1);
}

TEST_F(WalkRootTest, PathsTooLongForTheSystemFailAsTheSystemFailsThem) {
    fs::create_directories(Posix("R"));
    PlatformWalkRoot root("C:\\R");
    std::string path = "C:\\R\\" + std::string(PATH_MAX, 'x');
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST_F(WalkRootTest, FailedOpensOfLevelsLeaveNoDescriptor) {
    WriteFile("R/a/b/c/x.txt", "x");
    SweepFaults(
        {Syscall::OpenAt, Syscall::Open, Syscall::Lstat, Syscall::Close}, EIO, [] {},
        [] {
            PlatformWalkRoot root("C:\\R");
            GetFileAttributesA("C:\\R\\a\\b\\c\\x.txt");
            GetFileAttributesA("C:\\R\\a\\x.txt");
        },
        [&](const FaultRun&) { EXPECT_EQ(ReadFile("R/a/b/c/x.txt"), "x"); });
}

}  // namespace
