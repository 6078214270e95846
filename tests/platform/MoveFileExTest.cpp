#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/Errors.h"
#include "platform/Stdio.h"
#include "support/TempDir.h"

namespace {

using MoveFileExTest = TempDirTest;

unsigned ModeOf(const std::string& path) {
    struct stat st = {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST_F(MoveFileExTest, ReplacesInOneStepButNeverAReadOnlyTargetOrADirectory) {
    WriteFile("new", "new");
    WriteFile("old", "old");
    EXPECT_FALSE(MoveFileExA("C:\\new", "C:\\old", 0));  // without the flag: as MoveFileA
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ASSERT_TRUE(MoveFileExA("C:\\new", "C:\\old", MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(ReadFile("old"), "new");
    EXPECT_FALSE(Exists("new"));

    WriteFile("new", "x");
    ::chmod(Posix("old").c_str(), 0444);
    EXPECT_FALSE(MoveFileExA("C:\\new", "C:\\old", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    std::filesystem::create_directory(Posix("dir"));
    EXPECT_FALSE(MoveFileExA("C:\\new", "C:\\dir", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadFile("old"), "new");

    EXPECT_FALSE(MoveFileExA("C:\\new", "C:\\other", 0x2 /* copy allowed: not offered */));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(MoveFileExA("C:\\new", "C:\\other", MOVEFILE_REPLACE_EXISTING));  // no target: a plain move
}

TEST_F(MoveFileExTest, TempFilesAreNewHiddenAndKeepTheReplacedFilesMode) {
    WriteFile("script", "#!/bin/sh\n");
    ::chmod(Posix("script").c_str(), 0750);
    CString first, second;
    ASSERT_TRUE(PlatformCreateTempFile("C:\\script", first));
    ASSERT_TRUE(PlatformCreateTempFile("C:\\script", second));
    EXPECT_NE(first, second);
    EXPECT_EQ(first.Left(5), "C:\\.c");
    std::string posix = Posix(first.Mid(3).str());
    EXPECT_EQ(ModeOf(posix), 0750u);
    EXPECT_EQ(std::filesystem::file_size(posix), 0u);

    ::chmod(Posix("script").c_str(), 0555);  // read-only: the copy still gets owner write
    ASSERT_TRUE(PlatformCreateTempFile("C:\\script", first));
    EXPECT_EQ(ModeOf(Posix(first.Mid(3).str())), 0755u);

    CString fresh;
    ASSERT_TRUE(PlatformCreateTempFile("C:\\not-yet", fresh));  // the file beside need not exist
    EXPECT_TRUE(Exists(fresh.Mid(3).str()));
    EXPECT_FALSE(Exists("not-yet"));
    EXPECT_FALSE(PlatformCreateTempFile("C:\\missing\\file", fresh));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(fresh.IsEmpty());
}

}  // namespace
