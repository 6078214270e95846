// Appends that writers share (PlatformAppendText) and the claim of one sole
// writer (PlatformClaimAppends).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Mapping.h"
#include "support/TempDir.h"

namespace {

class SharedAppendTest : public TempDirTest {
protected:
    static BOOL Append(const char* path, const std::string& text) {
        return PlatformAppendText(path, text.data(), text.size());
    }
    static HANDLE Open(const char* path) {
        return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, 0, nullptr);
    }
};

TEST_F(SharedAppendTest, AppendsInTextModeAsAStreamOpenedForUpdateWould) {
    EXPECT_TRUE(Append("C:\\day.log", "one\ntwo"));
    EXPECT_TRUE(Append("C:\\day.log", std::string("\n\0x\n", 4)));  // bytes, zero included
    EXPECT_EQ(ReadFile("day.log"), std::string("one\r\ntwo\r\n\0x\r\n", 14));

    WriteFile("z.log", "old\r\n\x1A");
    EXPECT_TRUE(Append("C:\\z.log", "new\n"));
    EXPECT_EQ(ReadFile("z.log"), "old\r\nnew\r\n");  // one Ctrl-Z at the end goes
    EXPECT_TRUE(Append("C:\\z.log", ""));
    EXPECT_EQ(ReadFile("z.log"), "old\r\nnew\r\n");

    WriteFile("ro.log", "kept");
    std::filesystem::permissions(Posix("ro.log"), std::filesystem::perms::owner_read);
    std::filesystem::create_directories(Posix("dir.log"));
    const std::pair<const char*, DWORD> refused[] = {
        {"C:\\ro.log", ERROR_ACCESS_DENIED}, {"C:\\dir.log", ERROR_ACCESS_DENIED},
        {"C:\\missing\\a.log", ERROR_PATH_NOT_FOUND}, {"", ERROR_PATH_NOT_FOUND}};
    for (const auto& [path, error] : refused) {
        SCOPED_TRACE(path);
        SetLastError(0);
        EXPECT_FALSE(Append(path, "x\n"));
        EXPECT_EQ(GetLastError(), error);
    }
    EXPECT_EQ(ReadFile("ro.log"), "kept");
}

TEST_F(SharedAppendTest, AClaimedFileTakesNoAppendsUntilItsClaimantHasClosedIt) {
    HANDLE claimant = Open("C:\\day.log");
    ASSERT_NE(claimant, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Append("C:\\day.log", "before\n"));
    EXPECT_TRUE(PlatformClaimAppends(claimant));

    HANDLE second = Open("C:\\day.log");
    SetLastError(0);
    EXPECT_FALSE(PlatformClaimAppends(second));
    EXPECT_EQ(GetLastError(), ERROR_LOCK_VIOLATION);
    SetLastError(0);
    EXPECT_FALSE(Append("C:\\day.log", "while claimed\n"));
    EXPECT_EQ(GetLastError(), ERROR_LOCK_VIOLATION);

    // A view keeps the file open, and so the claim, after the handles go.
    HANDLE mapping = CreateFileMappingA(claimant, nullptr, PAGE_READWRITE, 0, 65536, nullptr);
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    CloseHandle(mapping);
    CloseHandle(claimant);
    EXPECT_FALSE(Append("C:\\day.log", "while mapped\n"));
    UnmapViewOfFile(view);

    EXPECT_TRUE(PlatformClaimAppends(second));  // free again
    CloseHandle(second);
    EXPECT_TRUE(Append("C:\\day.log", "after\n"));
    EXPECT_EQ(ReadFile("day.log").substr(0, 8), "before\r\n");
    EXPECT_EQ(ReadFile("day.log").substr(65536), "after\r\n");
}

}  // namespace
