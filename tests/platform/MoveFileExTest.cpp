#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/Errors.h"
#include "platform/Stdio.h"
#include "support/TempDir.h"

namespace {

using MoveFileExTest = TempDirTest;

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
    std::filesystem::create_directory(Posix("dir"));
    for (const char* target : {"C:\\old", "C:\\dir"}) {
        EXPECT_FALSE(MoveFileExA("C:\\new", target, MOVEFILE_REPLACE_EXISTING));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(ReadFile("old"), "new");
    EXPECT_FALSE(MoveFileExA("C:\\new", "C:\\other", 0x2 /* copy allowed: not offered */));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(MoveFileExTest, TempFilesAreNewHiddenAndKeepTheReplacedFilesMode) {
    auto modeOf = [&](const CString& path) {
        struct stat st = {};
        ::stat(Posix(path.Mid(3).str()).c_str(), &st);
        return st.st_mode & 07777;
    };
    WriteFile("script", "#!/bin/sh\n");
    ::chmod(Posix("script").c_str(), 0750);
    CString first, second;
    ASSERT_TRUE(PlatformCreateTempFile("C:\\script", first));
    ASSERT_TRUE(PlatformCreateTempFile("C:\\script", second));
    EXPECT_NE(first, second);
    EXPECT_EQ(first.Left(4), "C:\\.");
    EXPECT_EQ(modeOf(first), 0750u);
    ::chmod(Posix("script").c_str(), 0555);  // read-only: the new file still gets owner write
    ASSERT_TRUE(PlatformCreateTempFile("C:\\script", first));
    EXPECT_EQ(modeOf(first), 0755u);

    EXPECT_FALSE(PlatformCreateTempFile("C:\\missing\\file", first));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(first.IsEmpty());
}

}  // namespace
