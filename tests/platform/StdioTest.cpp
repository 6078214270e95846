#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Syscalls.h"
#include "platform/mfc/Files.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

mode_t UmaskNow() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

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
    void TearDown() override {
        PlatformResetSyscalls();
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
    void Save(const char* path, const char* mode, const std::string& text) {
        FILE* file = crt::fopen(path, mode);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
        EXPECT_EQ(std::fclose(file), 0);
    }
};

TEST_F(StdioTest, TextModeWritesCrLfAndAppendingDropsTheCtrlZ) {
    const std::string text = "a\nb\r\nc\n\x1A";
    Save("C:\\out.txt", "wb", text);
    EXPECT_EQ(ReadFile("out.txt"), text);
    Save("C:\\out.txt", "w", text);
    EXPECT_EQ(ReadFile("out.txt"), "a\r\nb\r\r\nc\r\n\x1A");
    Save("C:\\out.txt", "at+", "d\n");  // update mode removes the Ctrl-Z that would hide it
    EXPECT_EQ(ReadFile("out.txt"), "a\r\nb\r\r\nc\r\nd\r\n");
}

TEST_F(StdioTest, TextModeReadTranslates) {
    struct Case { const char* raw; const char* text; };
    const Case cases[] = {
        {"x\r\ny\r\n", "x\ny\n"}, {"a\rb", "a\rb"},     {"a\r", "a\r"},    {"\r\r\n", "\r\n"},
        {"ab\x1A" "cd", "ab"},    {"\x1A\r\n", ""},     {"\r\n\r", "\n\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.raw)));
        WriteFile("in.txt", c.raw);
        EXPECT_EQ(Load("C:\\in.txt", "rt"), c.text);
        EXPECT_EQ(Load("C:\\in.txt", "r", 1), c.text);
        EXPECT_EQ(Load("C:\\in.txt", "rb"), c.raw);
    }
}

TEST_F(StdioTest, LargeTextFilesTranslateAcrossBufferBoundariesAndRoundTrip) {
    // Random bytes, with a CR LF pair, a lone CR and a CR CR LF run straddling
    // every 1 KiB boundary, so any power-of-two buffer meets each case; the
    // file ends with a CR.
    std::mt19937 random(7);
    const char* const straddlers[] = {"\r\n", "\rx", "\r\r\n"};
    std::string raw;
    while (raw.size() < 600 * 1024) {
        raw += "ab\r\n"[random() % 4];
        if (raw.size() % 1024 == 1023) raw += straddlers[(raw.size() / 1024) % 3];
    }
    raw += '\r';
    WriteFile("big.txt", raw);
    const std::string expected = TextOf(raw);
    for (size_t chunk : {size_t{1}, size_t{4096}, raw.size()}) {
        SCOPED_TRACE(chunk);
        EXPECT_EQ(Load("C:\\big.txt", "rt", chunk), expected);
    }
    // Text written in text mode reads back exactly, lone CRs included.
    Save("C:\\rt.txt", "wt", expected);
    EXPECT_EQ(Load("C:\\rt.txt", "rt", 5000), expected);
}

TEST_F(StdioTest, TextPositionsAreFileOffsets) {
    WriteFile("pos.txt", "ab\r\ncd\r\nef\x1Agh");
    FILE* file = crt::fopen("C:\\pos.txt", "rt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(file, 3), "ab\ncd\nef");  // the Ctrl-Z ends the text
    EXPECT_EQ(std::ftell(file), 10);
    EXPECT_EQ(std::fseek(file, 7, SEEK_SET), 0);
    EXPECT_EQ(std::fgetc(file), '\n');  // between CR and LF: the LF alone
    EXPECT_EQ(std::ftell(file), 8);
    EXPECT_EQ(std::fseek(file, -2, SEEK_END), 0);
    EXPECT_EQ(ReadAll(file, 64), "gh");
    std::fclose(file);
}

TEST_F(StdioTest, RefusedOpensLeaveFilesAloneAndAttributesTellWhy) {
    fs::create_directory(Posix("dir"));
    PlatformSetDrive('Q', nullptr);
    struct Case { const char* path; const char* mode; int err; };
    const Case cases[] = {
        {"C:\\missing.txt", "rt", ENOENT}, {"C:\\dir", "w", EISDIR}, {"Q:\\f.txt", "w", ENOENT},
        {"C:\\f", "rbt", EINVAL},          {"C:\\f", nullptr, EINVAL}, {nullptr, "r", EINVAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path ? c.path : "null") + " " + (c.mode ? c.mode : "null"));
        errno = 0;
        EXPECT_EQ(crt::fopen(c.path, c.mode), nullptr);
        EXPECT_EQ(errno, c.err);
    }
    EXPECT_FALSE(Exists("f"));

    // A read-only file is not opened for writing and keeps its bytes.
    WriteFile("ro.txt", "keep");
    fs::permissions(Posix("ro.txt"), fs::perms::owner_write, fs::perm_options::remove);
    for (const char* mode : {"w", "a", "r+"}) {
        SCOPED_TRACE(mode);
        errno = 0;
        EXPECT_EQ(crt::fopen("C:\\ro.txt", mode), nullptr);
        EXPECT_EQ(errno, EACCES);
    }
    EXPECT_EQ(ReadFile("ro.txt"), "keep");
    EXPECT_EQ(GetFileAttributesA("C:\\ro.txt"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    fs::create_directory_symlink(Posix("dir"), Posix("link"));
    EXPECT_EQ(GetFileAttributesA("C:\\link"), FILE_ATTRIBUTE_REPARSE_POINT);  // not what it points at
}

TEST_F(StdioTest, FailingSystemCallsFailTheStream) {
    WriteFile("in.txt", "line\r\n");
    FILE* in = crt::fopen("C:\\in.txt", "rt");
    ASSERT_NE(in, nullptr);
    PlatformFailSyscall(Syscall::Read, 1, EIO);
    char buffer[16];
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, in), 0u);
    EXPECT_TRUE(std::ferror(in));
    std::fclose(in);
    FILE* out = crt::fopen("C:\\out.txt", "wt");
    ASSERT_NE(out, nullptr);
    PlatformFailSyscall(Syscall::Write, 1, ENOSPC);
    std::fputs("data\n", out);
    std::fflush(out);
    EXPECT_TRUE(std::ferror(out));
    std::fclose(out);
}

TEST_F(StdioTest, CurrentDirectoryFitsTheCallersBuffer) {
    fs::path cwd = fs::current_path();
    fs::create_directory(Posix("sub"));
    ASSERT_EQ(crt::_chdir("C:\\sub"), 0);
    char buffer[MAX_PATH];
    EXPECT_EQ(crt::_getcwd(buffer, 6), nullptr);  // "C:\sub" needs 7 with the terminator
    EXPECT_EQ(GetCurrentDirectoryA(3, buffer), 7u);  // the size needed
    EXPECT_STREQ(crt::_getcwd(buffer, sizeof buffer), "C:\\sub");
    fs::current_path(cwd);
}

TEST(ErrorsTest, LastErrorBelongsToItsThread) {
    EXPECT_EQ(PlatformErrorText(ERROR_FILE_NOT_FOUND), "The system cannot find the file specified.");
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD other = 1;
    std::thread([&] { other = GetLastError(); SetLastError(ERROR_BUSY); }).join();
    EXPECT_EQ(other, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

// The POSIX words for a code: those of the errno the code last came from on
// this thread, else those of the errno it stands for.
TEST(ErrorsTest, PosixTextsNameTheErrnoACodeCameFrom) {
    struct Case {
        int err;
        const char* text;
    } const fromErrno[] = {
        {EISDIR, "Is a directory"},          {EACCES, "Permission denied"},         {ENOTDIR, "Not a directory"},
        {ENOSPC, "No space left on device"}, {ENOENT, "No such file or directory"},
    };
    for (const Case& c : fromErrno) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PlatformPosixErrorText(PlatformSetLastErrorFromErrno(c.err)), c.text);
    }
    PlatformSetLastErrorFromErrno(EISDIR);
    struct Code {
        DWORD code;
        const char* text;
    } const codes[] = {
        {ERROR_ACCESS_DENIED, "Is a directory"},  // the errno it came from
        {ERROR_FILE_NOT_FOUND, "No such file or directory"},
        {ERROR_PATH_NOT_FOUND, "No such file or directory"},
        {ERROR_DISK_FULL, "No space left on device"},
        {ERROR_ALREADY_EXISTS, "File exists"},
        {ERROR_MOD_NOT_FOUND, "No such file or directory"},
        {ERROR_BAD_EXE_FORMAT, "Exec format error"},
        {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found."},  // no errno: the system's text
    };
    for (const Code& c : codes) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PlatformPosixErrorText(c.code), c.text);
    }
    PlatformSetLastErrorFromErrno(ENOENT);  // a later failure: the code's own errno again
    EXPECT_EQ(PlatformPosixErrorText(ERROR_ACCESS_DENIED), "Permission denied");
}

TEST_F(StdioTest, MoveFileExReplacesInOneStepButNeverAReadOnlyTargetOrADirectory) {
    WriteFile("new", "new");
    WriteFile("old", "old");
    EXPECT_FALSE(MoveFileExA("C:\\new", "C:\\old", 0));  // without the flag: as MoveFileA
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ASSERT_TRUE(MoveFileExA("C:\\new", "C:\\old", MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(ReadFile("old"), "new");
    EXPECT_FALSE(Exists("new"));

    WriteFile("new", "x");
    fs::permissions(Posix("old"), fs::perms::owner_write, fs::perm_options::remove);
    fs::create_directory(Posix("dir"));
    for (const char* target : {"C:\\old", "C:\\dir"}) {
        EXPECT_FALSE(MoveFileExA("C:\\new", target, MOVEFILE_REPLACE_EXISTING));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(ReadFile("old"), "new");
}

TEST_F(StdioTest, TempFilesAreNewHiddenOpenAndKeepTheReplacedFilesMode) {
    auto modeOf = [&](const CString& path) { return fs::status(Posix(path.Mid(3).str())).permissions(); };
    WriteFile("script", "#!/bin/sh\n");
    fs::permissions(Posix("script"), fs::perms(0750));
    CString first, second, plain;
    CFile file;
    ASSERT_TRUE(PlatformCreateTempFile("C:\\script", first, file));
    EXPECT_EQ(first.Left(4), "C:\\.");  // hidden, beside the file it will replace
    EXPECT_EQ(file.GetFilePath(), first);
    file.Write("new", 3);  // open for writing, nothing to open again
    file.Close();
    EXPECT_EQ(ReadFile(first.Mid(3).str()), "new");
    EXPECT_EQ(modeOf(first), fs::perms(0750));
    fs::permissions(Posix("script"), fs::perms(0555));  // read-only: the new file still gets owner write
    ASSERT_TRUE(PlatformCreateTempFile("C:\\script", second, file));
    EXPECT_NE(first, second);
    EXPECT_EQ(modeOf(second), fs::perms(0755));
    // Not like the file beside it: the default mode, whatever that file's.
    ASSERT_TRUE(PlatformCreateTempFile("C:\\script", plain, file, FALSE));
    EXPECT_EQ(modeOf(plain), fs::perms(0666) & ~fs::perms(UmaskNow()));
    EXPECT_FALSE(PlatformCreateTempFile("C:\\missing\\file", first, file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
}

TEST_F(StdioTest, TempFilesBelongToTheReplacedFilesOwnerAndGroup) {
    if (::geteuid() != 0) GTEST_SKIP() << "not root: cannot give a file to another user";
    WriteFile("theirs", "x");
    ASSERT_EQ(::chown(Posix("theirs").c_str(), 65534, 65534), 0);
    CString temp;
    CFile file;
    ASSERT_TRUE(PlatformCreateTempFile("C:\\theirs", temp, file));
    struct stat st {};
    ASSERT_EQ(::stat(Posix(temp.Mid(3).str()).c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

}  // namespace
