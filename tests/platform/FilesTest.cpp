#include <gtest/gtest.h>

#include <sys/stat.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/crt/FindFirst.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Mapping.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Syscalls.h"
#include "platform/kernel/Undone.h"
#include "platform/mfc/Files.h"
#include "support/Sandbox.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct stat StatOf(const std::string& path) {
    struct stat st = {};
    ::lstat(path.c_str(), &st);
    return st;
}

// Runs the call and returns the cause of the CFileException it throws (-1
// when it throws nothing).
template <class Call>
int CauseOf(Call call, LONG* pOsError = nullptr) {
    try {
        call();
    } catch (CFileException* e) {
        int cause = e->m_cause;
        if (pOsError) *pOsError = e->m_lOsError;
        e->Delete();
        return cause;
    }
    return -1;
}

// Every entry a finder loop visits, in order.
std::vector<std::string> Walk(LPCTSTR spec) {
    std::vector<std::string> names;
    CFileFind finder;
    BOOL more = finder.FindFile(spec);
    while (more) {
        more = finder.FindNextFile();
        names.push_back(finder.GetFileName().str());
    }
    return names;
}

class FilesTest : public TempDirTest {
protected:
    void TearDown() override {
        PlatformResetSyscalls();
        TempDirTest::TearDown();
    }
};

TEST_F(FilesTest, FileReadsWritesAndSeeks) {
    CFile file;
    ASSERT_TRUE(file.Open("C:\\data.bin", CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary));
    file.Write("hello\nworld", 11);
    EXPECT_EQ(file.Seek(-5, CFile::end), 6);
    char buffer[32] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);  // short only at the end
    EXPECT_EQ(std::string(buffer, 5), "world");
    file.SetLength(5);
    file.Close();
    EXPECT_EQ(ReadFile("data.bin"), "hello");  // bytes as written: no text translation
    EXPECT_EQ(CauseOf([&] { file.Read(buffer, 1); }), CFileException::fileNotFound);  // closed
}

TEST_F(FilesTest, OpenFailuresReportThroughTheException) {
    PlatformSetDrive('Q', nullptr);
    CFileException error;
    EXPECT_FALSE(CFile().Open("Q:\\f.txt", CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_EQ(error.m_lOsError, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CauseOf([] { CFile thrown("C:\\missing.txt", CFile::modeRead); }), CFileException::fileNotFound);
    char text[6];
    EXPECT_TRUE(CFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "C:\\x").GetErrorMessage(text, 6));
    EXPECT_STREQ(text, "C:\\x:");  // "<name>: <system text>", cut to the buffer
}

TEST_F(FilesTest, RefusedOpensKeepTheFileAndRenameNeverReplaces) {
    WriteFile("shared.txt", "content");
    CFile first;
    ASSERT_TRUE(first.Open("C:\\shared.txt", CFile::modeRead | CFile::shareExclusive));
    CFile second;
    CFileException error;
    EXPECT_FALSE(second.Open("C:\\shared.txt", CFile::modeRead | CFile::shareDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    // A refused creating open must not empty the file it could not have.
    EXPECT_FALSE(second.Open("C:\\shared.txt", CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(ReadFile("shared.txt"), "content");
    first.Close();

    WriteFile("other.txt", "y");
    EXPECT_EQ(CauseOf([] { CFile::Rename("C:\\shared.txt", "C:\\other.txt"); }), CFileException::accessDenied);
    EXPECT_EQ(ReadFile("other.txt"), "y");
    fs::permissions(Posix("shared.txt"), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(CauseOf([] { CFile::Remove("C:\\shared.txt"); }), CFileException::accessDenied);
    EXPECT_TRUE(Exists("shared.txt"));
}

TEST_F(FilesTest, FailingSystemCallsThrowFromReadAndWrite) {
    WriteFile("in.txt", "data");
    CFile file("C:\\in.txt", CFile::modeReadWrite);
    char buffer[8];
    PlatformFailSyscall(Syscall::Read, 1, EIO);
    EXPECT_EQ(CauseOf([&] { file.Read(buffer, 4); }), CFileException::hardIO);
    PlatformFailSyscall(Syscall::Write, 1, ENOSPC);
    LONG osError = 0;
    EXPECT_EQ(CauseOf([&] { file.Write("x", 1); }, &osError), CFileException::diskFull);
    EXPECT_EQ(osError, ERROR_DISK_FULL);
}

TEST_F(FilesTest, StatusRoundTripsTimesAndReadOnly) {
    WriteFile("f.txt", "12345");
    CFileStatus status;
    EXPECT_FALSE(CFile::GetStatus("C:\\none", status));
    ASSERT_TRUE(CFile::GetStatus("C:\\f.txt", status));
    EXPECT_EQ(status.m_size, 5);
    EXPECT_STREQ(status.m_szFullName, "C:\\f.txt");
    EXPECT_EQ(status.m_attribute, CFile::archive);

    status.m_mtime = CTime(2001, 2, 3, 4, 5, 6);
    status.m_attribute |= CFile::readOnly;
    CFile::SetStatus("C:\\f.txt", status);
    EXPECT_EQ(StatOf(Posix("f.txt")).st_mode & 0222, 0u);
    ASSERT_TRUE(CFile::GetStatus("C:\\f.txt", status));
    EXPECT_EQ(status.m_attribute, CFile::archive | CFile::readOnly);
    EXPECT_EQ(status.m_mtime, CTime(2001, 2, 3, 4, 5, 6));

    // Times of 0 are left alone; clearing read-only gives the owner write back.
    status.m_mtime = CTime(0);
    status.m_attribute &= ~CFile::readOnly;
    CFile::SetStatus("C:\\f.txt", status);
    struct stat st = StatOf(Posix("f.txt"));
    EXPECT_EQ(st.st_mtime, CTime(2001, 2, 3, 4, 5, 6).GetTime());
    EXPECT_EQ(st.st_mode & 0200, 0200u);
    PlatformFailSyscall(Syscall::Utime, 1, EPERM);
    EXPECT_EQ(CauseOf([&] { CFile::SetStatus("C:\\f.txt", status); }), CFileException::accessDenied);
}

TEST(WildcardTest, FollowsThePlatformRules) {
    struct Case { const char* name; const char* pattern; bool match; };
    const Case cases[] = {
        {"a", "*.*", true},           {"..", "*", true},            {".profile", "*.*", true},
        {"a.b.log", "*.log", true},   {"x.log.bak", "*.log", false}, {"app12-04.LOG", "app*.log", true},
        {"file.txt", "file?.txt", true}, {"file12.txt", "file?.txt", false}, {"ab", "ab??", true},
        {"abcd", "ab?", false},       {"readme", "readme.*", true}, {"readme", "*.", false},
        {"a", "", false},             {"ac", "a*?c", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(PlatformMatchWildcard(c.name, c.pattern), c.match);
    }
    // Long runs of stars stay quick.
    EXPECT_FALSE(PlatformMatchWildcard(std::string(200, 'a').c_str(), "*a*a*a*a*a*a*a*a*a*b"));
}

TEST_F(FilesTest, FindersListDotsFirstThenNamesIgnoringCase) {
    for (const char* name : {"b", "A", "c.txt", "B2", ".hidden", "a.TXT"}) WriteFile(name, "x");
    fs::create_directory(Posix("sub"));
    const std::vector<std::string> all = {".", "..", ".hidden", "A", "a.TXT", "b", "B2", "c.txt", "sub"};
    EXPECT_EQ(Walk("C:\\*.*"), all);
    EXPECT_EQ(Walk("C:\\SUB"), std::vector<std::string>{"sub"});  // no wildcard: the entry itself
    EXPECT_TRUE(Walk("C:\\c.txt\\*").empty());

    crt::_finddata_t data;
    intptr_t handle = crt::_findfirst("C:\\*.txt", &data);
    ASSERT_NE(handle, -1);
    std::vector<std::string> names;
    do names.push_back(data.name);
    while (crt::_findnext(handle, &data) == 0);
    EXPECT_EQ(names, (std::vector<std::string>{"a.TXT", "c.txt"}));
    EXPECT_EQ(crt::_findclose(handle), 0);
    EXPECT_EQ(crt::_findnext(handle, &data), -1);
}

TEST_F(FilesTest, FinderDescribesEachEntryAndReportsLinksAsLinks) {
    WriteFile("dir/file.tar.gz", "12345");
    WriteFile("dir/.cfg", "");
    fs::create_directory(Posix("dir/sub"));
    fs::create_directory_symlink(Posix("dir/sub"), Posix("dir/link"));
    fs::create_symlink(Posix("dir/none"), Posix("dir/dangling"));
    fs::permissions(Posix("dir/file.tar.gz"), fs::perms::owner_write, fs::perm_options::remove);

    CFileFind finder;
    ASSERT_TRUE(finder.FindFile("C:\\dir\\*.*"));
    int entries = 0;
    BOOL more = TRUE;
    while (more) {
        more = finder.FindNextFile();
        ++entries;
        std::string name = finder.GetFileName().str();
        SCOPED_TRACE(name);
        EXPECT_EQ(finder.GetFilePath().str(), "C:\\dir\\" + name);
        EXPECT_EQ(finder.IsDirectory(), name == "." || name == ".." || name == "sub");
        EXPECT_EQ(finder.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT), name == "link" || name == "dangling");
        EXPECT_EQ(finder.IsHidden(), name == ".cfg");
        EXPECT_EQ(finder.IsReadOnly(), name == "file.tar.gz");
    }
    EXPECT_EQ(entries, 7);  // . .. .cfg dangling file.tar.gz link sub: the last one too
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_EQ(finder.GetFileName(), "sub");  // stays on the last entry
}

TEST_F(FilesTest, FailingDirectoryCallsFindNothing) {
    for (const char* name : {"a", "b", "c"}) WriteFile(name, "x");
    crt::_finddata_t data;
    for (Syscall kind : {Syscall::OpenDir, Syscall::ReadDir}) {
        SCOPED_TRACE(static_cast<int>(kind));
        PlatformFailSyscall(kind, 1, EIO);
        EXPECT_FALSE(CFileFind().FindFile("C:\\*.*"));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_DEVICE));
        PlatformFailSyscall(kind, 1, EIO);
        EXPECT_EQ(crt::_findfirst("C:\\*.*", &data), -1);
    }
    // An entry that cannot be examined is still listed: its type is known.
    PlatformFailSyscall(Syscall::Lstat, 1, EACCES);
    EXPECT_EQ(Walk("C:\\*.*").size(), 5u);
}

// What the finder and the other calls report as left undone, by kind.
struct UndoneLog {
    UndoneLog() {
        PlatformSetUndoneHook([this](PlatformUndone kind, const std::string& path, DWORD) {
            entries.push_back({kind, path});
        });
    }
    ~UndoneLog() { PlatformSetUndoneHook(nullptr); }
    std::vector<std::pair<PlatformUndone, std::string>> entries;
};

TEST_F(FilesTest, FinderLeavesOutNamesAPathCannotCarryAndMarksSpecialFiles) {
    WriteFile("dir/ok.txt", "x");
    const char* bad[] = {"..\\up", "a:b", "star*", "q?", "quote\"", "lt<", "gt>", "pipe|", "tab\there"};
    for (const char* name : bad) WriteFile(std::string("dir/") + name, "x");
    std::string why = MakeFifo(Posix("dir/fifo"));
    if (!why.empty()) GTEST_SKIP() << why;

    UndoneLog log;
    EXPECT_EQ(Walk("C:\\dir\\*.*"), (std::vector<std::string>{".", "..", "fifo", "ok.txt"}));
    ASSERT_EQ(log.entries.size(), std::size(bad));
    for (const auto& [kind, path] : log.entries) {
        EXPECT_EQ(kind, PlatformUndone::BadName);
        EXPECT_EQ(path.rfind(Posix("dir/"), 0), 0u) << path;
    }
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile("C:\\dir\\fifo"));
    finder.FindNextFile();
    EXPECT_TRUE(finder.MatchesMask(FILE_ATTRIBUTE_DEVICE));
    EXPECT_FALSE(finder.IsDirectory() || finder.IsArchived());

    // A directory that exists but cannot be read is reported; a missing one is no match.
    log.entries.clear();
    EXPECT_FALSE(CFileFind().FindFile("C:\\missing\\*.*"));
    PlatformFailSyscall(Syscall::OpenDir, 1, EACCES);
    EXPECT_FALSE(CFileFind().FindFile("C:\\dir\\*.*"));
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].first, PlatformUndone::Unreadable);
}

TEST_F(FilesTest, OnlyRegularFilesOpenAndNothingWaitsOnAFifoOrADevice) {
    std::string why = MakeFifo(Posix("fifo"));
    if (why.empty()) why = MakeDevice(Posix("dev"));
    if (!why.empty()) GTEST_SKIP() << why;
    ::alarm(20);  // a blocking open would hang the test: end it instead
    for (const char* name : {"C:\\fifo", "C:\\dev"}) {
        SCOPED_TRACE(name);
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(name, CFile::modeRead, &error));
        EXPECT_EQ(error.m_lOsError, ERROR_ACCESS_DENIED);
        EXPECT_FALSE(file.Open(name, CFile::modeWrite | CFile::modeCreate, &error));
        EXPECT_EQ(error.m_cause, CFileException::accessDenied);
        errno = 0;
        EXPECT_EQ(crt::fopen(name, "rb"), nullptr);
        EXPECT_EQ(errno, EACCES);
        EXPECT_EQ(crt::fopen(name, "w"), nullptr);
        EXPECT_EQ(CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    ::alarm(0);
    EXPECT_TRUE(Exists("fifo") && Exists("dev"));
}

TEST_F(FilesTest, WalksOpenWhatTheyFoundWithItsStatusAndNeverThroughALink) {
    WriteFile("plain.txt", "12345");
    fs::permissions(Posix("plain.txt"), fs::perms(0444));
    fs::create_symlink(Posix("plain.txt"), Posix("link.txt"));
    fs::create_directory(Posix("dir"));
    CFile file;
    CFileStatus status;
    ASSERT_TRUE(PlatformOpenFileNoFollow(file, "C:\\plain.txt", status));
    EXPECT_EQ(status.m_size, 5);
    EXPECT_EQ(status.m_attribute, CFile::archive | CFile::readOnly);
    EXPECT_STREQ(status.m_szFullName, "C:\\plain.txt");
    char buffer[8];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);
    struct Case { const char* path; DWORD error; } refused[] = {
        {"C:\\link.txt", ERROR_CANT_RESOLVE_FILENAME}, {"C:\\dir", ERROR_ACCESS_DENIED},
        {"C:\\none", ERROR_FILE_NOT_FOUND}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.path);
        EXPECT_FALSE(PlatformOpenFileNoFollow(file, c.path, status));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    }
}

TEST_F(FilesTest, CopiedDataKeepsHolesAndNeedsNoMoreThanABlock) {
    // 40 MiB: a hole, data, a hole; and a plain file larger than a block.
    {
        int fd = ::open(Posix("sparse").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, "data", 4, 20 << 20), 4);
        ASSERT_EQ(::ftruncate(fd, 40 << 20), 0);
        ::close(fd);
    }
    std::string dense(3 * 1024 * 1024 + 17, 'd');
    for (size_t i = 0; i < dense.size(); i += 4099) dense[i] = static_cast<char>('a' + i % 26);
    WriteFile("dense", dense);
    WriteFile("longer", std::string(5 << 20, 'o'));  // an old target longer than the copy is cut
    for (const char* name : {"sparse", "dense"}) {
        SCOPED_TRACE(name);
        CFile in(CString("C:\\") + name, CFile::modeRead);
        CFile out("C:\\longer", CFile::modeWrite);
        PlatformCopyFileData(in, out);
        out.Close();
        EXPECT_TRUE(ReadFile("longer") == ReadFile(name));
    }
    // From another file system the kernel may not copy: the data goes through a block.
    std::string shm = "/dev/shm/cbasis-copy-" + std::to_string(::getpid());
    if (FILE* f = std::fopen(shm.c_str(), "wb")) {
        std::fwrite(dense.data(), 1, dense.size(), f);
        std::fclose(f);
        CFile in(PlatformFromPosixPath(shm), CFile::modeRead), out("C:\\longer", CFile::modeWrite);
        PlatformCopyFileData(in, out);
        out.Close();
        std::remove(shm.c_str());
        EXPECT_TRUE(ReadFile("longer") == dense);
    }
    struct stat st = StatOf(Posix("sparse")), copy;
    CFile in("C:\\sparse", CFile::modeRead), out("C:\\copy", CFile::modeCreate | CFile::modeWrite);
    PlatformCopyFileData(in, out);
    out.Close();
    copy = StatOf(Posix("copy"));
    EXPECT_EQ(copy.st_size, st.st_size);
    if (st.st_blocks * 512 < st.st_size) {
        EXPECT_LE(copy.st_blocks, st.st_blocks + 8);  // the holes stay holes
    }
}

}  // namespace
