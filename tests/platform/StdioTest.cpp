#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Stdio.h"
#include "platform/Syscalls.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// What a text-mode read delivers for the given file bytes.
std::string TextOf(const std::string& raw) {
    std::string out;
    for (size_t i = 0; i < raw.size() && raw[i] != '\x1A'; ++i)
        if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) out += raw[i];
    return out;
}

std::string ReadAll(FILE* file, size_t chunk) {
    std::string out, buffer(chunk, '\0');
    size_t n;
    while ((n = std::fread(buffer.data(), 1, chunk, file)) > 0) out.append(buffer, 0, n);
    return out;
}

class StdioTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        m_cwd = fs::current_path();
    }
    void TearDown() override {
        PlatformResetSyscalls();
        fs::current_path(m_cwd);
        TempDirTest::TearDown();
    }

    // Reads the whole file through crt::fopen.
    std::string Load(const char* path, const char* mode, size_t chunk = 4096) {
        FILE* file = crt::fopen(path, mode);
        if (!file) return "<open failed>";
        std::string text = ReadAll(file, chunk);
        std::fclose(file);
        return text;
    }

    fs::path m_cwd;
};

TEST_F(StdioTest, TextModeWritesCrLfBinaryModeCopies) {
    const std::string text = "a\nb\r\nc\n\x1A";
    for (const char* mode : {"w", "wt", "w+", "wb"}) {
        SCOPED_TRACE(mode);
        FILE* file = crt::fopen("C:\\out.txt", mode);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
        std::fprintf(file, "%d\n", 42);
        EXPECT_EQ(std::fclose(file), 0);
        bool binary = std::string(mode).find('b') != std::string::npos;
        EXPECT_EQ(ReadFile("out.txt"), binary ? text + "42\n" : "a\r\nb\r\r\nc\r\n\x1A" "42\r\n");
    }
}

TEST_F(StdioTest, TextModeReadTranslates) {
    struct Case { const char* raw; const char* text; };
    const Case cases[] = {
        {"x\r\ny\r\n", "x\ny\n"}, {"a\rb", "a\rb"},     {"a\r", "a\r"},      {"\r\r\n", "\r\n"},
        {"\n\n", "\n\n"},         {"ab\x1A" "cd", "ab"}, {"\x1A\r\n", ""},   {"", ""},
        {"\r\n\r", "\n\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.raw)));
        WriteFile("in.txt", c.raw);
        EXPECT_EQ(Load("C:\\in.txt", "rt"), c.text);
        EXPECT_EQ(Load("C:\\in.txt", "r", 1), c.text);
        EXPECT_EQ(Load("C:\\in.txt", "rb"), c.raw);
    }
}

TEST_F(StdioTest, LargeTextFilesTranslateAcrossBufferBoundaries) {
    // Random bytes, with a CR LF pair, a lone CR and a CR CR LF run straddling
    // every 1 KiB boundary, so any power-of-two buffer meets each case; the
    // file ends with a CR.
    std::mt19937 random(7);
    const char alphabet[] = "ab\r\n";
    std::string raw;
    while (raw.size() < 600 * 1024) {
        raw += alphabet[random() % 4];
        size_t next = raw.size() % 1024;
        if (next == 1023) raw += (raw.size() / 1024) % 3 == 0 ? "\r\n" : (raw.size() / 1024) % 3 == 1 ? "\rx" : "\r\r\n";
    }
    raw += '\r';
    WriteFile("big.txt", raw);
    const std::string expected = TextOf(raw);
    for (size_t chunk : {size_t{1}, size_t{7}, size_t{4096}, size_t{65536}, raw.size()}) {
        SCOPED_TRACE(chunk);
        EXPECT_EQ(Load("C:\\big.txt", "rt", chunk), expected);
    }
    FILE* file = crt::fopen("C:\\big.txt", "r");
    ASSERT_NE(file, nullptr);
    std::string byLines;
    char line[100];
    while (std::fgets(line, sizeof line, file)) byLines += line;
    std::fclose(file);
    EXPECT_EQ(byLines, expected);
}

TEST_F(StdioTest, TextRoundTripIsExact) {
    std::mt19937 random(11);
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "xy\r\n"[random() % 4];
    FILE* file = crt::fopen("C:\\rt.txt", "wt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
    std::fclose(file);
    EXPECT_EQ(Load("C:\\rt.txt", "rt", 5000), text);
}

TEST_F(StdioTest, TextPositionsAreFileOffsets) {
    WriteFile("pos.txt", "ab\r\ncd\r\nef\x1Agh");
    FILE* file = crt::fopen("C:\\pos.txt", "rt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fgetc(file), 'a');
    EXPECT_EQ(std::fgetc(file), 'b');
    EXPECT_EQ(std::fgetc(file), '\n');
    EXPECT_EQ(std::ftell(file), 4);
    char line[16];
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    EXPECT_STREQ(line, "cd\n");
    EXPECT_EQ(std::ftell(file), 8);
    EXPECT_EQ(ReadAll(file, 64), "ef");  // the Ctrl-Z ends the text
    EXPECT_EQ(std::ftell(file), 10);
    EXPECT_EQ(std::fseek(file, 4, SEEK_SET), 0);
    EXPECT_EQ(std::fgetc(file), 'c');
    EXPECT_EQ(std::fseek(file, 1, SEEK_CUR), 0);
    EXPECT_EQ(std::fgetc(file), '\n');  // between CR and LF: the LF alone
    EXPECT_EQ(std::fseek(file, -2, SEEK_END), 0);
    EXPECT_EQ(std::ftell(file), 11);
    EXPECT_EQ(ReadAll(file, 64), "gh");
    EXPECT_NE(std::fseek(file, -1, SEEK_SET), 0);
    std::fclose(file);

    file = crt::fopen("C:\\pos.txt", "wt+");
    ASSERT_NE(file, nullptr);
    std::fputs("a\nb", file);
    EXPECT_EQ(std::ftell(file), 4);
    std::rewind(file);
    EXPECT_EQ(ReadAll(file, 64), "a\nb");
    std::fclose(file);
}

TEST_F(StdioTest, AppendUpdateDropsTrailingCtrlZ) {
    WriteFile("log.txt", "old\r\n\x1A");
    FILE* file = crt::fopen("C:\\log.txt", "at+");
    ASSERT_NE(file, nullptr);
    std::fputs("new\n", file);
    std::fclose(file);
    EXPECT_EQ(ReadFile("log.txt"), "old\r\nnew\r\n");
    EXPECT_EQ(Load("C:\\log.txt", "rt"), "old\nnew\n");

    file = crt::fopen("C:\\fresh.log", "at+");  // created when missing
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(Exists("fresh.log"));
}

TEST_F(StdioTest, OpenFailuresSetErrno) {
    fs::create_directory(Posix("dir"));
    PlatformSetDrive('Q', nullptr);
    struct Case { const char* path; const char* mode; int err; };
    const Case cases[] = {
        {"C:\\missing.txt", "rt", ENOENT}, {"C:\\nodir\\f.txt", "w", ENOENT}, {"C:\\dir", "r", EACCES},
        {"C:\\dir", "w", EISDIR},          {"Q:\\f.txt", "w", ENOENT},        {"C:\\f", "", EINVAL},
        {"C:\\f", "x", EINVAL},            {"C:\\f", "rbt", EINVAL},         {"C:\\f", "w++", EINVAL},
        {"C:\\f", "wz", EINVAL},           {"C:\\f", nullptr, EINVAL},        {nullptr, "r", EINVAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path ? c.path : "null") + " " + (c.mode ? c.mode : "null"));
        errno = 0;
        EXPECT_EQ(crt::fopen(c.path, c.mode), nullptr);
        EXPECT_EQ(errno, c.err);
    }
    EXPECT_FALSE(Exists("f"));

    // A read-only file is not opened for writing, by anyone, and keeps its bytes.
    WriteFile("ro.txt", "keep");
    fs::permissions(Posix("ro.txt"), fs::perms::owner_write, fs::perm_options::remove);
    for (const char* mode : {"w", "wb", "a", "r+"}) {
        SCOPED_TRACE(mode);
        errno = 0;
        EXPECT_EQ(crt::fopen("C:\\ro.txt", mode), nullptr);
        EXPECT_EQ(errno, EACCES);
    }
    EXPECT_EQ(ReadFile("ro.txt"), "keep");
    EXPECT_EQ(Load("C:\\ro.txt", "rb"), "keep");
}

TEST_F(StdioTest, FailingSystemCallsFailTheStream) {
    WriteFile("in.txt", "line\r\n");
    PlatformFailSyscall(Syscall::Open, 1, EMFILE);
    errno = 0;
    EXPECT_EQ(crt::fopen("C:\\in.txt", "r"), nullptr);
    EXPECT_EQ(errno, EMFILE);

    for (const char* mode : {"rt", "rb"}) {
        SCOPED_TRACE(mode);
        FILE* file = crt::fopen("C:\\in.txt", mode);
        ASSERT_NE(file, nullptr);
        PlatformFailSyscall(Syscall::Read, 1, EIO);
        char buffer[16];
        EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, file), 0u);
        EXPECT_TRUE(std::ferror(file));
        std::fclose(file);
    }
    for (const char* mode : {"wt", "wb"}) {
        SCOPED_TRACE(mode);
        FILE* file = crt::fopen("C:\\out.txt", mode);
        ASSERT_NE(file, nullptr);
        PlatformFailSyscall(Syscall::Write, 1, ENOSPC);
        std::fputs("data\n", file);
        std::fflush(file);
        EXPECT_TRUE(std::ferror(file));
        std::fclose(file);
    }
}

TEST_F(StdioTest, RemoveAndRenameFollowThePlatform) {
    WriteFile("a.txt", "a");
    WriteFile("b.txt", "b");
    fs::create_directory(Posix("dir"));
    fs::permissions(Posix("a.txt"), fs::perms::owner_write, fs::perm_options::remove);

    struct Case { const char* what; int result; int err; };
    const Case cases[] = {
        {"remove read-only", crt::remove("C:\\a.txt"), EACCES},
        {"remove directory", crt::remove("C:\\dir"), EACCES},
        {"rename onto existing", crt::rename("C:\\a.txt", "C:\\b.txt"), EACCES},
        {"rename missing", crt::rename("C:\\none", "C:\\c.txt"), ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result, -1);
    }
    EXPECT_EQ(ReadFile("a.txt"), "a");
    EXPECT_EQ(ReadFile("b.txt"), "b");
    EXPECT_EQ(crt::rename("C:\\a.txt", "C:\\dir\\c.txt"), 0);
    EXPECT_EQ(crt::remove("C:\\b.txt"), 0);
    EXPECT_EQ(ReadFile("dir/c.txt"), "a");
    EXPECT_FALSE(Exists("b.txt"));
}

TEST_F(StdioTest, CurrentDirectoryIsReportedInLibraryForm) {
    fs::create_directory(Posix("sub"));
    ASSERT_EQ(crt::_chdir("C:\\sub"), 0);
    EXPECT_EQ(fs::current_path(), fs::path(Posix("sub")));
    char buffer[MAX_PATH];
    ASSERT_NE(crt::_getcwd(buffer, sizeof buffer), nullptr);
    EXPECT_STREQ(buffer, "C:\\sub");
    errno = 0;
    EXPECT_EQ(crt::_getcwd(buffer, 6), nullptr);  // needs 7 with the terminator
    EXPECT_EQ(errno, ERANGE);
    char* allocated = crt::_getcwd(nullptr, 0);
    ASSERT_NE(allocated, nullptr);
    EXPECT_STREQ(allocated, "C:\\sub");
    std::free(allocated);

    EXPECT_EQ(GetCurrentDirectoryA(3, buffer), 7u);  // the size needed
    EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), 3u);
    EXPECT_STREQ(buffer, "C:\\");
    EXPECT_FALSE(SetCurrentDirectoryA("C:\\none"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(crt::_chdir("C:\\none"), -1);
}

TEST_F(StdioTest, DirectoryCallsReportWin32Codes) {
    PlatformSetDrive('Q', nullptr);
    EXPECT_TRUE(CreateDirectoryA("C:\\d", nullptr));
    EXPECT_TRUE(fs::is_directory(Posix("d")));
    WriteFile("d/f.txt", "x");
    struct Case { const char* what; std::function<BOOL()> call; DWORD error; };
    const Case cases[] = {
        {"create existing", [] { return CreateDirectoryA("C:\\d", nullptr); }, ERROR_ALREADY_EXISTS},
        {"create below missing", [] { return CreateDirectoryA("C:\\x\\y", nullptr); }, ERROR_PATH_NOT_FOUND},
        {"create on unmapped drive", [] { return CreateDirectoryA("Q:\\d", nullptr); }, ERROR_PATH_NOT_FOUND},
        {"remove non-empty", [] { return RemoveDirectoryA("C:\\d"); }, ERROR_DIR_NOT_EMPTY},
        {"delete missing", [] { return DeleteFileA("C:\\d\\none"); }, ERROR_FILE_NOT_FOUND},
        {"delete directory", [] { return DeleteFileA("C:\\d"); }, ERROR_ACCESS_DENIED},
        {"move onto existing", [] { return MoveFileA("C:\\d\\f.txt", "C:\\d\\f.txt"); }, ERROR_ALREADY_EXISTS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(c.call());
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_TRUE(MoveFileA("C:\\d\\f.txt", "C:\\g.txt"));
    EXPECT_TRUE(DeleteFileA("C:\\g.txt"));
    EXPECT_TRUE(RemoveDirectoryA("C:\\d"));
    EXPECT_FALSE(Exists("d"));
}

TEST_F(StdioTest, AttributesAndAccess) {
    WriteFile("ro.txt", "x");
    fs::create_directory(Posix("dir"));
    fs::create_directory_symlink(Posix("dir"), Posix("link"));
    fs::permissions(Posix("ro.txt"), fs::perms::owner_write, fs::perm_options::remove);

    EXPECT_EQ(GetFileAttributesA("C:\\ro.txt"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(GetFileAttributesA("C:\\link"), FILE_ATTRIBUTE_REPARSE_POINT);  // not what it points at
    EXPECT_EQ(GetFileAttributesA("C:\\none"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    EXPECT_EQ(crt::_access("C:\\ro.txt", 4), 0);
    EXPECT_EQ(crt::_access("C:\\ro.txt", 2), -1);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(crt::_access("C:\\none", 0), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST(ErrorsTest, ErrnoMapsToWin32CodesAndTexts) {
    EXPECT_EQ(PlatformErrorFromErrno(EPROTO), static_cast<DWORD>(ERROR_GEN_FAILURE));
    EXPECT_EQ(PlatformErrorText(ERROR_FILE_NOT_FOUND), "The system cannot find the file specified.");
    EXPECT_EQ(PlatformErrorText(99999), "Unknown error 99999.");

    // The last error belongs to its thread.
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD other = 1;
    std::thread([&] { other = GetLastError(); SetLastError(ERROR_BUSY); }).join();
    EXPECT_EQ(other, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace
