#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Mapping.h"
#include "platform/kernel/Syscalls.h"
#include "support/TempDir.h"

namespace {

class MappingTest : public TempDirTest {
protected:
    void TearDown() override {
        PlatformResetSyscalls();
        TempDirTest::TearDown();
    }
    static HANDLE Open(const char* path, DWORD access, DWORD disposition) {
        return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, 0, nullptr);
    }
};

TEST_F(MappingTest, FilesOpenAsTheDispositionSays) {
    WriteFile("old.txt", "old");
    HANDLE h = Open("C:\\old.txt", GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    BY_HANDLE_FILE_INFORMATION info;
    ASSERT_TRUE(GetFileInformationByHandle(h, &info));
    struct stat st;
    ::stat(Posix("old.txt").c_str(), &st);
    EXPECT_EQ((uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow, st.st_ino);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(CloseHandle(h));

    WriteFile("ro.txt", "keep");
    ::chmod(Posix("ro.txt").c_str(), 0444);
    EXPECT_EQ(Open("C:\\old.txt", GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(Open("C:\\missing.txt", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Open("C:\\ro.txt", GENERIC_WRITE, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadFile("ro.txt"), "keep");
}

TEST_F(MappingTest, AMappingExtendsTheFileAndItsViewWritesIntoIt) {
    WriteFile("f.bin", "abc");
    HANDLE file = Open("C:\\f.bin", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 131072, nullptr);
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(std::filesystem::file_size(Posix("f.bin")), 131072u);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 100, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MAPPED_ALIGNMENT));
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 65536, 65537), nullptr);  // past the mapping
    auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(CloseHandle(mapping));  // the view outlives the mapping's handle
    EXPECT_EQ(std::string(view, 4), std::string("abc\0", 4));
    std::memcpy(view + 3, "def", 3);
    EXPECT_TRUE(FlushViewOfFile(view + 3, 3));
    EXPECT_FALSE(FlushViewOfFile(view + 131072, 1));
    EXPECT_EQ(ReadFile("f.bin").substr(0, 7), std::string("abcdef\0", 7));

    SetFilePointer(file, 6, nullptr, FILE_BEGIN);
    EXPECT_FALSE(SetEndOfFile(file));  // the view still covers the bytes behind
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_USER_MAPPED_FILE));
    EXPECT_FALSE(UnmapViewOfFile(view + 1));
    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_TRUE(SetEndOfFile(file));
    EXPECT_EQ(ReadFile("f.bin"), "abcdef");
    CloseHandle(file);
}

TEST_F(MappingTest, FailuresLeaveTheFileAsItWas) {
    WriteFile("f.bin", "abc");
    HANDLE reader = Open("C:\\f.bin", GENERIC_READ, OPEN_EXISTING);
    EXPECT_EQ(CreateFileMappingA(reader, nullptr, PAGE_READONLY, 0, 65536, nullptr), nullptr);  // cannot grow
    EXPECT_EQ(CreateFileMappingA(reader, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
    CloseHandle(reader);

    HANDLE file = Open("C:\\f.bin", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    PlatformFailSyscall(Syscall::Fallocate, 1, ENOSPC);
    EXPECT_EQ(CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 65536, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_TRUE(ReadFile("f.bin") == "abc");
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 65536, nullptr);
    PlatformFailSyscall(Syscall::Mmap, 1, ENOMEM);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    CloseHandle(mapping);
    CloseHandle(file);
}

}  // namespace
