#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <unistd.h>

#include "platform/kernel/Paths.h"

namespace {

// Maps drives for one test and restores the table afterwards.
class PathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (char letter : kLetters) m_saved[letter - 'A'] = PlatformGetDrive(letter);
    }
    void TearDown() override {
        for (char letter : kLetters) PlatformSetDrive(letter, m_saved[letter - 'A']);
    }

    static std::string ToPosix(const char* path) {
        std::string posix = "<untouched>";
        return PlatformToPosixPath(path, posix) ? posix : "<unmapped:" + posix + ">";
    }

    static constexpr char kLetters[] = {'C', 'D', 'Q'};
    CString m_saved[26];
};

TEST_F(PathsTest, LibraryPathsBecomePosixPaths) {
    PlatformSetDrive('C', "/tmp/t/");  // a trailing separator is dropped
    PlatformSetDrive('Q', nullptr);
    EXPECT_EQ(PlatformGetDrive('c'), "/tmp/t");
    struct Case { const char* path; const char* posix; };
    const Case cases[] = {
        {"C:\\a\\b.txt", "/tmp/t/a/b.txt"}, {"c:\\a", "/tmp/t/a"},   {"C:/a/b", "/tmp/t/a/b"},
        {"C:x", "/tmp/t/x"},                {"C:\\", "/tmp/t"},      {"\\usr\\x", "/usr/x"},
        {"", "<unmapped:>"},                {"Q:\\x", "<unmapped:>"},
        // "." and ".." are resolved in the text, never above the drive's root.
        {"C:\\a\\..\\b", "/tmp/t/b"},     {"C:\\a\\.\\\\b\\", "/tmp/t/a/b"}, {"C:\\..", "/tmp/t"},
        {"C:\\..\\..\\x", "/tmp/t/x"},     {"C:\\a\\lnk\\..", "/tmp/t/a"}, {"\\..\\etc", "/etc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ToPosix(c.path), c.posix);
    }
    EXPECT_EQ(ToPosix(nullptr), "<unmapped:>");
    // A relative path is taken against the current directory, in its text.
    char* cwd = getcwd(nullptr, 0);
    std::string here = cwd;
    free(cwd);
    EXPECT_EQ(ToPosix("rel\\p"), here + "/rel/p");
    EXPECT_EQ(ToPosix("..\\x"), here.substr(0, here.rfind('/')) + "/x");

    PlatformSetDrive('C', "/");
    EXPECT_EQ(ToPosix("C:\\a"), "/a");
}

TEST_F(PathsTest, PosixPathsComeBackInLibraryForm) {
    PlatformSetDrive('C', "/tmp/t");
    PlatformSetDrive('D', "/tmp/t/d");
    struct Case { const char* posix; const char* path; };
    const Case cases[] = {
        {"/tmp/t/x/y", "C:\\x\\y"},     {"/tmp/t", "C:\\"},        {"/tmp/t/", "C:\\"},
        {"/tmp/tt/x", "\\tmp\\tt\\x"},  {"/usr/x", "\\usr\\x"},    {"/tmp/t/d/f", "D:\\f"},
        {"/tmp/t/dd", "C:\\dd"},        {"rel/p", "rel\\p"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.posix);
        EXPECT_EQ(PlatformFromPosixPath(c.posix), c.path);
    }
    PlatformSetDrive('D', nullptr);
    PlatformSetDrive('C', "/");
    EXPECT_EQ(PlatformFromPosixPath("/usr/x"), "C:\\usr\\x");
    EXPECT_EQ(PlatformFromPosixPath("/"), "C:\\");
}

TEST_F(PathsTest, EnvironmentGivesTheDefaultMapping) {
    // R is used by no other test, so its environment default is read here.
    ASSERT_EQ(setenv("CBASIS_DRIVE_R", "/srv/r/", 1), 0);
    EXPECT_EQ(PlatformGetDrive('R'), "/srv/r");
    EXPECT_EQ(ToPosix("r:\\f"), "/srv/r/f");
    PlatformSetDrive('R', nullptr);
    unsetenv("CBASIS_DRIVE_R");
}

// A host's static object may translate paths while the process exits, after
// the platform's own statics of the same run were made.
// A name typed to stand in a path: one the path carries as it is, in its
// own directory.
TEST(PlainNameTest, OnlyNamesAPathCarriesWhole) {
    struct Case {
        const char* name;
        bool plain;
    } const cases[] = {
        {"app", true},        {"My App.v2", true}, {"\xc3\xa9t\xc3\xa9", true},
        {"", false},          {".", false},        {"..", false},
        {"...", true},        {"a/b", false},      {"a\\b", false},
        {"C:", false},        {"*", false},        {"a?", false},
        {"\"q\"", false},     {"<a>", false},      {"a|b", false},
        {"tab\there", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlatformIsPlainName(c.name), c.plain);
    }
    EXPECT_FALSE(PlatformIsPlainName(nullptr));
}

TEST(PathsAtExitTest, PathsStillTranslateInStaticDestructors) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            struct AtExit {
                ~AtExit() {
                    std::string posix;
                    std::_Exit(PlatformToPosixPath("C:\\x", posix) && posix == "/tmp/atexit/x" &&
                                       PlatformFromPosixPath("/tmp/atexit/y") == "C:\\y"
                                   ? 0
                                   : 3);
                }
            };
            static AtExit atExit;
            PlatformSetDrive('C', "/tmp/atexit");
            std::exit(1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
