#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>
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
    EXPECT_EQ(file.GetFilePath(), "C:\\data.bin");
    EXPECT_EQ(file.GetFileName(), "data.bin");
    EXPECT_EQ(file.GetFileTitle(), "data");
    file.Write("hello\nworld", 11);
    EXPECT_EQ(file.GetLength(), 11u);
    EXPECT_EQ(file.GetPosition(), 11u);
    file.SeekToBegin();
    char buffer[32] = {};
    EXPECT_EQ(file.Read(buffer, 5), 5u);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(file.Seek(-5, CFile::end), 6);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);  // short only at the end
    EXPECT_EQ(std::string(buffer, 5), "world");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(CauseOf([&] { file.Seek(-100, CFile::current); }), CFileException::badSeek);
    file.SetLength(5);
    EXPECT_EQ(file.SeekToEnd(), 5u);
    file.Flush();
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(ReadFile("data.bin"), "hello");  // bytes as written: no text translation

    // A closed file fails the way the original does.
    EXPECT_EQ(CauseOf([&] { file.Read(buffer, 1); }), CFileException::fileNotFound);
}

TEST_F(FilesTest, CreateTruncatesUnlessAskedNotTo) {
    WriteFile("keep.txt", "old");
    {
        CFile file("C:\\keep.txt", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        file.SeekToEnd();
        file.Write("er", 2);
    }
    EXPECT_EQ(ReadFile("keep.txt"), "older");
    CFile file("C:\\keep.txt", CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST_F(FilesTest, OpenFailuresReportThroughTheException) {
    fs::create_directory(Posix("dir"));
    PlatformSetDrive('Q', nullptr);
    struct Case { const char* path; UINT flags; int cause; LONG osError; };
    const Case cases[] = {
        {"C:\\missing.txt", CFile::modeRead, CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
        {"C:\\nodir\\f.txt", CFile::modeCreate | CFile::modeWrite, CFileException::badPath, ERROR_PATH_NOT_FOUND},
        {"C:\\dir", CFile::modeRead, CFileException::accessDenied, ERROR_ACCESS_DENIED},
        {"Q:\\f.txt", CFile::modeCreate | CFile::modeWrite, CFileException::badPath, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(c.path, c.flags, &error));
        EXPECT_EQ(error.m_cause, c.cause);
        EXPECT_EQ(error.m_lOsError, c.osError);
        EXPECT_EQ(error.m_strFileName, c.path);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.osError));
        EXPECT_EQ(CauseOf([&] { CFile thrown(c.path, c.flags); }), c.cause);
    }
    CFileException error(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "C:\\missing.txt");
    char text[200];
    EXPECT_TRUE(error.GetErrorMessage(text, sizeof text));
    EXPECT_STREQ(text, "C:\\missing.txt: The system cannot find the file specified.");
    EXPECT_TRUE(error.GetErrorMessage(text, 6));
    EXPECT_STREQ(text, "C:\\mi");
}

TEST_F(FilesTest, ShareModesHoldBetweenFileObjects) {
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
    EXPECT_TRUE(second.Open("C:\\shared.txt", CFile::modeRead | CFile::shareDenyNone));
    first.Close();
    second.Close();

    ASSERT_TRUE(first.Open("C:\\shared.txt", CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_TRUE(second.Open("C:\\shared.txt", CFile::modeRead | CFile::shareDenyWrite));
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
    PlatformFailSyscall(Syscall::Open, 1, EMFILE);
    CFileException error;
    EXPECT_FALSE(CFile().Open("C:\\in.txt", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::tooManyOpenFiles);
    PlatformFailSyscall(Syscall::Stat, 1, EIO);
    CFileStatus status;
    EXPECT_FALSE(CFile::GetStatus("C:\\in.txt", status));
}

TEST_F(FilesTest, StatusMatchesTheFileSystem) {
    WriteFile("f.txt", "12345");
    WriteFile(".hidden", "");
    fs::create_directory(Posix("dir"));
    struct stat st = StatOf(Posix("f.txt"));

    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus("C:\\f.txt", status));
    EXPECT_EQ(status.m_size, 5);
    EXPECT_EQ(status.m_mtime.GetTime(), st.st_mtime);
    EXPECT_EQ(status.m_atime.GetTime(), st.st_atime);
    EXPECT_EQ(status.m_attribute, CFile::archive);
    EXPECT_STREQ(status.m_szFullName, "C:\\f.txt");

    ASSERT_TRUE(CFile::GetStatus("C:\\dir", status));
    EXPECT_EQ(status.m_attribute, CFile::directory);
    EXPECT_EQ(status.m_size, 0);
    ASSERT_TRUE(CFile::GetStatus("C:\\.hidden", status));
    EXPECT_EQ(status.m_attribute, CFile::archive | CFile::hidden);

    PlatformSetDrive('Q', nullptr);
    EXPECT_FALSE(CFile::GetStatus("C:\\none", status));
    EXPECT_FALSE(CFile::GetStatus("Q:\\f.txt", status));
    EXPECT_FALSE(CFile::GetStatus("", status));

    CFile file("C:\\f.txt", CFile::modeRead);
    ASSERT_TRUE(file.GetStatus(status));
    EXPECT_EQ(status.m_size, 5);
    EXPECT_STREQ(status.m_szFullName, "C:\\f.txt");
}

TEST_F(FilesTest, SetStatusAppliesTimesAndReadOnly) {
    WriteFile("f.txt", "x");
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus("C:\\f.txt", status));
    status.m_mtime = CTime(2001, 2, 3, 4, 5, 6);
    status.m_atime = CTime(2002, 3, 4, 5, 6, 7);
    status.m_attribute |= CFile::readOnly;
    CFile::SetStatus("C:\\f.txt", status);

    struct stat st = StatOf(Posix("f.txt"));
    EXPECT_EQ(st.st_mtime, CTime(2001, 2, 3, 4, 5, 6).GetTime());
    EXPECT_EQ(st.st_atime, CTime(2002, 3, 4, 5, 6, 7).GetTime());
    EXPECT_EQ(st.st_mode & 0222, 0u);
    ASSERT_TRUE(CFile::GetStatus("C:\\f.txt", status));
    EXPECT_EQ(status.m_attribute, CFile::archive | CFile::readOnly);
    EXPECT_EQ(status.m_mtime, CTime(2001, 2, 3, 4, 5, 6));

    // Times of 0 are left alone; clearing read-only gives the owner write back.
    status.m_mtime = CTime(0);
    status.m_atime = CTime(0);
    status.m_attribute &= ~CFile::readOnly;
    CFile::SetStatus("C:\\f.txt", status);
    st = StatOf(Posix("f.txt"));
    EXPECT_EQ(st.st_mtime, CTime(2001, 2, 3, 4, 5, 6).GetTime());
    EXPECT_EQ(st.st_mode & 0200, 0200u);

    EXPECT_EQ(CauseOf([&] { CFile::SetStatus("C:\\none", status); }), CFileException::fileNotFound);
    PlatformFailSyscall(Syscall::Utime, 1, EPERM);
    EXPECT_EQ(CauseOf([&] { CFile::SetStatus("C:\\f.txt", status); }), CFileException::accessDenied);
}

TEST_F(FilesTest, RemoveAndRenameThrowOnFailure) {
    WriteFile("ro.txt", "x");
    WriteFile("other.txt", "y");
    fs::permissions(Posix("ro.txt"), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(CauseOf([] { CFile::Remove("C:\\ro.txt"); }), CFileException::accessDenied);
    EXPECT_TRUE(Exists("ro.txt"));
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("C:\\ro.txt", CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_EQ(ReadFile("ro.txt"), "x");
    EXPECT_EQ(CauseOf([] { CFile::Remove("C:\\none"); }), CFileException::fileNotFound);
    EXPECT_EQ(CauseOf([] { CFile::Rename("C:\\ro.txt", "C:\\other.txt"); }), CFileException::accessDenied);
    EXPECT_EQ(ReadFile("other.txt"), "y");
}

TEST(WildcardTest, FollowsThePlatformRules) {
    struct Case { const char* name; const char* pattern; bool match; };
    const Case cases[] = {
        {"a", "*.*", true},           {"a.b", "*.*", true},         {".", "*.*", true},
        {"..", "*", true},            {".profile", "*.*", true},    {"a.b.log", "*.log", true},
        {"x.log.bak", "*.log", false}, {"X.LOG", "*.log", true},   {"app12-04.LOG", "app*.log", true},
        {"file.txt", "file?.txt", true}, {"file1.txt", "file?.txt", true}, {"file12.txt", "file?.txt", false},
        {"ab", "ab?", true},          {"ab", "ab??", true},         {"abcd", "ab?", false},
        {"readme", "readme.*", true}, {"readme.md", "readme.*", true}, {"readme", "*.", false},
        {"a.txt", "*.txt*", true},    {"a.txt", "a.txt", true},     {"a.txt", "b.txt", false},
        {"a", "", false},             {"abc", "a*c", true},         {"ac", "a*?c", false},
        {"a.log", "*.*.*", true},    {"aXbXc", "*X*X*", true},     {"Makefile", "m*E", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(PlatformMatchWildcard(c.name, c.pattern), c.match);
    }
    // Long runs of stars stay quick.
    EXPECT_FALSE(PlatformMatchWildcard(std::string(200, 'a').c_str(), "*a*a*a*a*a*a*a*a*a*b"));
}

TEST_F(FilesTest, FinderListsDotsFirstThenNamesIgnoringCase) {
    for (const char* name : {"b", "A", "c.txt", "B2", ".hidden", "a.TXT"}) WriteFile(name, "x");
    fs::create_directory(Posix("sub"));
    std::vector<std::string> expected = {".", "..", ".hidden", "A", "a.TXT", "b", "B2", "c.txt", "sub"};
    EXPECT_EQ(Walk("C:\\*.*"), expected);
    EXPECT_EQ(Walk("C:\\*"), expected);

    // The same names as the file system lists, dots aside.
    std::set<std::string> oracle = {".", ".."};
    for (const auto& entry : fs::directory_iterator(Posix())) oracle.insert(entry.path().filename().string());
    EXPECT_EQ(std::set<std::string>(expected.begin(), expected.end()), oracle);

    EXPECT_EQ(Walk("C:\\*.txt"), (std::vector<std::string>{"a.TXT", "c.txt"}));
    EXPECT_EQ(Walk("C:\\SUB"), std::vector<std::string>{"sub"});  // no wildcard: the entry itself
    EXPECT_EQ(Walk("C:\\sub\\*.*"), (std::vector<std::string>{".", ".."}));
}

TEST_F(FilesTest, FinderDescribesEachEntry) {
    WriteFile("dir/file.tar.gz", "12345");
    WriteFile("dir/.cfg", "");
    fs::create_directory(Posix("dir/sub"));
    fs::create_directory_symlink(Posix("dir/sub"), Posix("dir/link"));
    fs::create_symlink(Posix("dir/none"), Posix("dir/dangling"));
    fs::permissions(Posix("dir/file.tar.gz"), fs::perms::owner_write, fs::perm_options::remove);

    CFileFind finder;
    EXPECT_EQ(finder.GetFileName(), "");  // nothing current yet
    ASSERT_TRUE(finder.FindFile("C:\\dir\\*.*"));
    EXPECT_EQ(finder.GetRoot(), "C:\\dir\\");
    int entries = 0;
    BOOL more = TRUE;
    while (more) {
        more = finder.FindNextFile();
        ++entries;
        std::string name = finder.GetFileName().str();
        SCOPED_TRACE(name);
        EXPECT_EQ(finder.GetFilePath().str(), "C:\\dir\\" + name);
        EXPECT_EQ(finder.IsDots(), name == "." || name == "..");
        EXPECT_EQ(finder.IsDirectory(), name == "." || name == ".." || name == "sub");
        EXPECT_EQ(finder.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT), name == "link" || name == "dangling");
        EXPECT_EQ(finder.IsHidden(), name == ".cfg");
        EXPECT_EQ(finder.IsReadOnly(), name == "file.tar.gz");
        if (name == "file.tar.gz") {
            EXPECT_EQ(finder.GetFileTitle(), "file.tar");
            EXPECT_EQ(finder.GetLength(), fs::file_size(Posix("dir/file.tar.gz")));
            CTime written;
            EXPECT_TRUE(finder.GetLastWriteTime(written));
            EXPECT_EQ(written.GetTime(), StatOf(Posix("dir/file.tar.gz")).st_mtime);
        }
    }
    EXPECT_EQ(entries, 7);  // . .. .cfg dangling file.tar.gz link sub: the last one too
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_EQ(finder.GetFileName(), "sub");  // stays on the last entry
    finder.Close();
    EXPECT_EQ(finder.GetFileName(), "");
}

TEST_F(FilesTest, FinderFindsNothingWhereNothingIs) {
    PlatformSetDrive('Q', nullptr);
    WriteFile("f.txt", "x");
    for (const char* spec : {"C:\\none\\*.*", "Q:\\*.*", "C:\\*.doc", "C:\\f.txt\\*", "C:\\"}) {
        SCOPED_TRACE(spec);
        CFileFind finder;
        EXPECT_FALSE(finder.FindFile(spec));
        EXPECT_FALSE(finder.FindNextFile());
        EXPECT_EQ(finder.GetFileName(), "");
        crt::_finddata_t data;
        errno = 0;
        EXPECT_EQ(crt::_findfirst(spec, &data), -1);
        EXPECT_NE(errno, 0);
    }
}

TEST_F(FilesTest, FinderResolvesRelativeSpecsAgainstTheCurrentDirectory) {
    WriteFile("sub/a.txt", "x");
    fs::path cwd = fs::current_path();
    fs::current_path(Posix("sub"));
    CFileFind finder;
    EXPECT_TRUE(finder.FindFile("*.txt"));
    finder.FindNextFile();
    EXPECT_EQ(finder.GetFilePath(), "C:\\sub\\a.txt");
    EXPECT_TRUE(finder.FindFile());
    fs::current_path(cwd);
}

TEST_F(FilesTest, FindFirstWalksLikeTheFinder) {
    for (const char* name : {"b.log", "A.log", "c.txt"}) WriteFile(name, "abc");
    fs::create_directory(Posix("d.log"));
    crt::_finddata_t data;
    intptr_t handle = crt::_findfirst("C:\\*.log", &data);
    ASSERT_NE(handle, -1);
    std::vector<std::string> names;
    do {
        names.push_back(data.name);
        if (names.back() == "d.log") EXPECT_EQ(data.attrib, _A_SUBDIR);
        else {
            EXPECT_EQ(data.attrib, _A_ARCH);
            EXPECT_EQ(data.size, 3u);
            EXPECT_EQ(data.time_write, StatOf(Posix(names.back())).st_mtime);
        }
    } while (crt::_findnext(handle, &data) == 0);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(names, Walk("C:\\*.log"));
    EXPECT_EQ(names, (std::vector<std::string>{"A.log", "b.log", "d.log"}));
    EXPECT_EQ(crt::_findclose(handle), 0);
    EXPECT_EQ(crt::_findnext(handle, &data), -1);
    EXPECT_EQ(errno, EINVAL);
}

TEST_F(FilesTest, FailingDirectoryCallsFindNothing) {
    for (const char* name : {"a", "b", "c"}) WriteFile(name, "x");
    crt::_finddata_t data;
    struct Case { Syscall kind; int nth; };
    for (Case c : {Case{Syscall::OpenDir, 1}, Case{Syscall::ReadDir, 3}}) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        PlatformFailSyscall(c.kind, c.nth, EIO);
        CFileFind finder;
        EXPECT_FALSE(finder.FindFile("C:\\*.*"));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_DEVICE));
        PlatformFailSyscall(c.kind, c.nth, EIO);
        EXPECT_EQ(crt::_findfirst("C:\\*.*", &data), -1);
        PlatformResetSyscalls();
    }
    // _findfirst leaves out an entry that cannot be examined; the finder
    // lists it (its type is known) and reads its status as 0.
    PlatformFailSyscall(Syscall::Lstat, 1, EACCES);
    intptr_t handle = crt::_findfirst("C:\\a", &data);
    EXPECT_EQ(handle, -1);
    PlatformFailSyscall(Syscall::Lstat, 1, EACCES);
    EXPECT_EQ(Walk("C:\\*.*").size(), 5u);
    PlatformFailSyscall(Syscall::Lstat, 1, EACCES);
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile("C:\\b"));
    finder.FindNextFile();
    EXPECT_EQ(finder.GetLength(), 0u);
    EXPECT_EQ(finder.GetLength(), 1u);  // read again on the next request
}

}  // namespace
