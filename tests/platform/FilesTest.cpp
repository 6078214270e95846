#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Syscalls.h"
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

}  // namespace
