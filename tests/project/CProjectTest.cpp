#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "platform/kernel/Syscalls.h"
#include "project/CProject.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kBinary("MZ\0\0Foo\0Foo\xff\0end", 15);

class CProjectTest : public TempDirTest {
protected:
    void TearDown() override {
        PlatformResetSyscalls();
        TempDirTest::TearDown();
    }
    // A template T/Foo whose names and texts carry the keyword Foo.
    void MakeTemplate() {
        WriteFile("T/Foo/FooView.cpp", "class CFooView {}; // FooFoo\n");
        WriteFile("T/Foo/plain.txt", "MyFoo and FooBar\n");
        WriteFile("T/Foo/same.txt", "foo FOO fOo\n");
        WriteFile("T/Foo/Foo.Foo", "Foo");
        WriteFile("T/Foo/x.Foo", "x");
        WriteFile("T/Foo/FooRes/FooIcon.bin", kBinary);
        WriteFile("T/Foo/Foo docs/Foo \xc3\xbc.txt", "Foo \xc3\xbc");
        fs::create_directories(Posix("T/Foo/empty"));
    }
    mode_t Mode(const std::string& relative) const {
        struct stat st {};
        ::lstat(Posix(relative).c_str(), &st);
        return st.st_mode & 07777;
    }
    time_t Modified(const std::string& relative) const {
        struct stat st {};
        ::stat(Posix(relative).c_str(), &st);
        return st.st_mtime;
    }
    size_t Entries(const std::string& relative) const {
        std::error_code ec;
        size_t n = 0;
        for (fs::recursive_directory_iterator it(Posix(relative), ec), end; !ec && it != end; it.increment(ec)) ++n;
        return n;
    }
    CProject m_project;
};

TEST_F(CProjectTest, MakeProjectCopiesTheTemplateWithTheKeywordReplacedInTitlesAndTexts) {
    MakeTemplate();
    WriteFile("Work/Bar/plain.txt", "old contents, overwritten");
    WriteFile("Work/Bar/mine.txt", "stays");
    m_project.MakeProject("Foo", "C:\\Work\\", "Bar", "C:\\T");

    EXPECT_EQ(ReadFile("Work/Bar/BarView.cpp"), "class CBarView {}; // BarBar\n");
    EXPECT_EQ(ReadFile("Work/Bar/plain.txt"), "MyBar and BarBar\n");
    EXPECT_EQ(ReadFile("Work/Bar/same.txt"), "foo FOO fOo\n");  // case matters
    EXPECT_EQ(ReadFile("Work/Bar/Bar.Foo"), "Bar");               // never in the extension
    EXPECT_EQ(ReadFile("Work/Bar/x.Foo"), "x");
    EXPECT_EQ(ReadFile("Work/Bar/FooRes/BarIcon.bin"), kBinary);  // directories keep their names; binaries whole
    EXPECT_EQ(ReadFile("Work/Bar/Foo docs/Bar \xc3\xbc.txt"), "Bar \xc3\xbc");
    EXPECT_TRUE(fs::is_directory(Posix("Work/Bar/empty")));
    EXPECT_EQ(ReadFile("Work/Bar/mine.txt"), "stays");
    EXPECT_EQ(ReadFile("T/Foo/FooView.cpp"), "class CFooView {}; // FooFoo\n");  // the template is untouched
    EXPECT_EQ(Modified("Work/Bar/same.txt"), Modified("T/Foo/same.txt"));

    // Twice gives the same tree.
    size_t entries = Entries("Work/Bar");
    m_project.MakeProject("Foo", "C:\\Work\\", "Bar", "C:\\T\\");
    EXPECT_EQ(Entries("Work/Bar"), entries);
    EXPECT_EQ(ReadFile("Work/Bar/BarView.cpp"), "class CBarView {}; // BarBar\n");
}

TEST_F(CProjectTest, TheCopyTellsWhatItMadeAndPlacesNewFilesWithoutReplacingOthers) {
    MakeTemplate();
    WriteFile("T/Foo/FooRes/FooNote.txt", "Foo");
    WriteFile("T/Foo/FooRes/FooKeep.txt", "Foo");
    std::set<std::string> made;
    CProject::MadeHook outer = CProject::SetMadeHook([&](const CString& path, bool bDirectory) {
        made.insert(path.str() + (bDirectory ? "\\" : ""));
        // Entries that appear in a directory the copy has just made (as if
        // another program put them there) are replaced only where a rewrite
        // would replace them: a plain file, never a read-only one.
        if (bDirectory && path.Right(6) == "FooRes") {
            WriteFile("P/FooRes/BarNote.txt", "theirs");
            WriteFile("P/FooRes/BarKeep.txt", "theirs, read-only");
            fs::permissions(Posix("P/FooRes/BarKeep.txt"), fs::perms(0444));
        }
    });
    m_project.MakeProject1("Foo", "C:\\T\\Foo", "C:\\P", "Bar");
    CProject::SetMadeHook(std::move(outer));

    std::set<std::string> expected = {
        "C:\\P\\BarView.cpp", "C:\\P\\plain.txt",          "C:\\P\\same.txt",
        "C:\\P\\Bar.Foo",     "C:\\P\\x.Foo",              "C:\\P\\FooRes\\",
        "C:\\P\\FooRes\\BarIcon.bin", "C:\\P\\FooRes\\BarNote.txt", "C:\\P\\Foo docs\\",
        "C:\\P\\Foo docs\\Bar \xc3\xbc.txt", "C:\\P\\empty\\"};
    EXPECT_EQ(made, expected);  // everything but the file that could not be placed
    EXPECT_EQ(ReadFile("P/FooRes/BarNote.txt"), "Bar");
    EXPECT_EQ(ReadFile("P/FooRes/BarKeep.txt"), "theirs, read-only");
    EXPECT_EQ(Entries("P/FooRes"), 3u);  // no temporary file left behind
}

TEST_F(CProjectTest, TargetDirectoryFollowsTheLocationsForm) {
    WriteFile("T/Foo/Foo.h", "Foo");
    m_project.MakeProject("Foo", "C:\\Work\\New", "Bar", "C:\\T");
    m_project.MakeProject("Foo", "C:\\Deep\\er\\New.txt", "Bar", "C:\\T");
    m_project.MakeProject1("Foo", "C:\\T\\Foo\\", "C:\\Out\\Bar\\", "Baz");
    m_project.MakeProject1("Foo", "C:\\T\\Foo", "C:\\Out2\\Bar", "Baz");
    m_project.MakeProject("Foo", "C:\\Work\\", "Bar", "C:\\Missing");
    EXPECT_EQ(ReadFile("Work/NewBar/Bar.h"), "Bar");
    EXPECT_EQ(ReadFile("Deep/er/NewBar/Bar.h"), "Bar");
    EXPECT_EQ(ReadFile("Out/Bar/Baz.h"), "Baz");
    EXPECT_EQ(ReadFile("Out2/Bar/Baz.h"), "Baz");
    EXPECT_TRUE(fs::is_empty(Posix("Work/Bar")));  // a missing template gives an empty target
}

TEST_F(CProjectTest, ReadOnlyFilesAnEmptyKeywordAndAnUnchangedNameGiveCopies) {
    WriteFile("T/Foo/Foo.txt", "Foo");
    fs::permissions(Posix("T/Foo/Foo.txt"), fs::perms::owner_read);
    WriteFile("T/Foo/Foo.cpp", "Foo");
    m_project.MakeProject1("Foo", "C:\\T\\Foo", "C:\\A", "Bar");
    EXPECT_EQ(ReadFile("A/Bar.txt"), "Foo");  // a read-only copy cannot be rewritten
    EXPECT_EQ(Mode("A/Bar.txt") & 0200, 0u);
    m_project.MakeProject1("", "C:\\T\\Foo", "C:\\B", "Bar");
    EXPECT_EQ(ReadFile("B/Foo.cpp"), "Foo");
    m_project.MakeProject1("Foo", "C:\\T\\Foo", "C:\\C", "Foo");
    EXPECT_EQ(ReadFile("C/Foo.cpp"), "Foo");
}

TEST_F(CProjectTest, RefusesCallsThatWouldWriteOutsideTheirTarget) {
    MakeTemplate();
    const char* names[] = {"..", ".", "a\\b", "a/b", "..\\evil"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        m_project.MakeProject("Foo", "C:\\Work\\", name, "C:\\T");
        m_project.MakeProject1("Foo", "C:\\T\\Foo", "C:\\Out", name);
        CProject::ChangeKeywordAndFilenameInAllDirectoryFiles("C:\\T\\Foo", name, "Foo");
    }
    EXPECT_FALSE(Exists("Work"));
    EXPECT_FALSE(Exists("Out"));
    EXPECT_EQ(ReadFile("T/Foo/plain.txt"), "MyFoo and FooBar\n");

    // Destinations inside the source, however spelt: nothing is written.
    size_t entries = Entries("T");
    m_project.MakeProject1("Foo", "C:\\T\\Foo", "C:\\T\\Foo\\out", "Bar");
    m_project.MakeProject1("Foo", "C:\\T\\Foo\\", "C:\\T\\.\\x\\..\\Foo", "Bar");
    m_project.MakeProject("Foo", "C:\\T\\Foo\\", "Bar", "C:\\T");
    CProject::CCopyFilesFromOneDirectoryToAnother("C:\\T", "C:\\T\\Foo\\copy");
    EXPECT_EQ(Entries("T"), entries);
}

TEST_F(CProjectTest, SymbolicLinksAreNeverFollowed) {
    WriteFile("outside/secret.txt", "Foo");
    WriteFile("L/a.txt", "Foo");
    fs::create_symlink(Posix("outside/secret.txt"), Posix("L/FooLink.txt"));
    fs::create_directory_symlink(Posix("outside"), Posix("L/dirlink"));

    m_project.MakeProject1("Foo", "C:\\L", "C:\\P", "Bar");
    CProject::CCopyFilesFromOneDirectoryToAnother("C:\\L", "C:\\Q");
    EXPECT_EQ(ReadFile("P/a.txt"), "Bar");
    EXPECT_FALSE(Exists("P/BarLink.txt") || Exists("P/dirlink") || Exists("Q/FooLink.txt") || Exists("Q/dirlink"));

    m_project.ReplaceKeyWord("Bar", "Foo", "C:\\L\\FooLink.txt");
    CProject::ChangeKeywordAndFilenameInAllDirectoryFiles("C:\\L", "Bar", "Foo");
    EXPECT_EQ(ReadFile("outside/secret.txt"), "Foo");
    EXPECT_TRUE(fs::is_symlink(Posix("L/BarLink.txt")));  // the link itself is renamed

    CProject::CDeleteDirectory("C:\\L\\dirlink\\");
    EXPECT_FALSE(Exists("L/dirlink"));
    CProject::CDeleteDirectory("C:\\L");
    EXPECT_FALSE(Exists("L"));
    EXPECT_EQ(ReadFile("outside/secret.txt"), "Foo");
}

TEST_F(CProjectTest, InPlaceRewritesAreAtomicAndKeepTheFileMode) {
    WriteFile("W/a.txt", "Foo one");
    ::chmod(Posix("W/a.txt").c_str(), 0640);
    WriteFile("W/ro.txt", "Foo");
    ::chmod(Posix("W/ro.txt").c_str(), 0444);
    WriteFile("W/bin.dat", kBinary);
    WriteFile("W/sub/b.txt", "Foo");
    struct stat st {};
    ::stat(Posix("W/a.txt").c_str(), &st);
    ino_t before = st.st_ino;

    m_project.ChangeKeywordInAllDirectoryFiles("C:\\W", "Bar", "Foo");
    EXPECT_EQ(ReadFile("W/a.txt"), "Bar one");
    EXPECT_EQ(Mode("W/a.txt"), 0640u);
    ::stat(Posix("W/a.txt").c_str(), &st);
    EXPECT_NE(st.st_ino, before);  // replaced in one step, not written over
    EXPECT_EQ(ReadFile("W/ro.txt"), "Foo");
    EXPECT_EQ(ReadFile("W/bin.dat"), kBinary);
    EXPECT_EQ(ReadFile("W/sub/b.txt"), "Foo");  // one level only

    // A rewrite that cannot be completed leaves the old file and no temporary one.
    PlatformFailSyscall(Syscall::Rename, 1, EIO, true);
    m_project.ReplaceKeyWord("Baz", "Bar", "C:\\W\\a.txt");
    PlatformResetSyscalls();
    EXPECT_EQ(ReadFile("W/a.txt"), "Bar one");
    EXPECT_EQ(Entries("W"), 5u);
}

TEST_F(CProjectTest, RenamingInPlaceChangesNamesOnlyWithinTheirDirectory) {
    WriteFile("W/FooDoc.h", "class CFooDoc;");
    WriteFile("W/FooRes/Foo.ico", "Foo");
    WriteFile("W/FooOld.txt", "a");
    WriteFile("W/BarOld.txt", "existing");
    WriteFile("Foo/W/Foo.txt", "Foo");
    fs::create_directories(Posix("Bar/W"));

    CProject::ChangeKeywordAndFilenameInAllDirectoryFiles("C:\\W", "Bar", "Foo");
    EXPECT_EQ(ReadFile("W/BarDoc.h"), "class CBarDoc;");
    // Below a directory being renamed, an entry takes its new name first and
    // then arrives with the directory at the place computed for it.
    EXPECT_EQ(ReadFile("W/BarRes/Bar.ico"), "Bar");
    EXPECT_EQ(ReadFile("W/FooOld.txt"), "a");        // an existing name is never replaced
    EXPECT_EQ(ReadFile("W/BarOld.txt"), "existing");

    // The keyword in the directory's own path: contents change, nothing moves
    // out, even though the computed place exists.
    CProject::ChangeKeywordAndFilenameInAllDirectoryFiles("C:\\Foo\\W", "Bar", "Foo");
    EXPECT_EQ(ReadFile("Foo/W/Foo.txt"), "Bar");
    EXPECT_TRUE(fs::is_empty(Posix("Bar/W")));

    CProject::ChangeKeywordAndFilenameInAllDirectoryFiles("C:\\W", "Baz", "");
    EXPECT_EQ(ReadFile("W/BarDoc.h"), "class CBarDoc;");

    // A replacement that holds the keyword is made once at every level.
    WriteFile("V/Widget.txt", "Widget");
    WriteFile("V/WidgetsDir/Widget.txt", "Widget");
    CProject::ChangeKeywordAndFilenameInAllDirectoryFiles("C:\\V", "Widgets", "Widget");
    EXPECT_EQ(ReadFile("V/Widgets.txt"), "Widgets");
    EXPECT_EQ(ReadFile("V/WidgetssDir/Widgets.txt"), "Widgets");
}

// A replacement is put into names: one holding a character a name cannot
// carry would make names the library no longer lists, or a path that reads
// as a drive. Such a call changes nothing.
TEST_F(CProjectTest, AReplacementANameCannotCarryChangesNothing) {
    WriteFile("T/Foo/Foo.txt", "Foo");
    WriteFile("W/Foo.txt", "Foo");
    for (const char* replacement : {"X:Y", "a*", "q?", "a|b", "C:", "\"", "<>"}) {
        SCOPED_TRACE(replacement);
        CProject::ChangeKeywordAndFilenameInAllDirectoryFiles("C:\\W", replacement, "Foo");
        m_project.MakeProject("Foo", "C:\\out\\", replacement, "C:\\T");
    }
    EXPECT_EQ(ReadFile("W/Foo.txt"), "Foo");
    EXPECT_FALSE(Exists("out"));
}

TEST_F(CProjectTest, TreeCopyFiltersTheTopLevelAndKeepsStatus) {
    WriteFile("S/a.h", "a");
    WriteFile("S/b.cpp", "b");
    WriteFile("S/inc.h/x.cpp", "x");
    WriteFile("S/src/y.h", "y");
    WriteFile("S/ro.h", "r");
    fs::permissions(Posix("S/ro.h"), fs::perms::owner_read);
    WriteFile("D/a.h", "old");
    WriteFile("D/other", "stays");

    CProject::CCopyFilesFromOneDirectoryToAnother("C:\\S\\", "C:\\D", "*.h");
    EXPECT_EQ(ReadFile("D/a.h"), "a");
    EXPECT_EQ(ReadFile("D/inc.h/x.cpp"), "x");  // a matching directory is copied whole
    EXPECT_FALSE(Exists("D/b.cpp") || Exists("D/src"));
    EXPECT_EQ(ReadFile("D/other"), "stays");
    EXPECT_EQ(Mode("D/ro.h") & 0200, 0u);
    EXPECT_EQ(Modified("D/a.h"), Modified("S/a.h"));

    CProject::CCopyFilesFromOneDirectoryToAnother("C:\\S", "C:\\new\\deep\\D\\");
    EXPECT_EQ(ReadFile("new/deep/D/src/y.h"), "y");
}

TEST_F(CProjectTest, DeleteKeepsReadOnlyFilesAndTheirDirectories) {
    WriteFile("X/a/b/ro.txt", "r");
    fs::permissions(Posix("X/a/b/ro.txt"), fs::perms::owner_read);
    WriteFile("X/a/gone.txt", "g");
    WriteFile("X/c/d/gone.txt", "g");
    CProject::CDeleteDirectory("C:\\X");
    EXPECT_TRUE(Exists("X/a/b/ro.txt"));
    EXPECT_FALSE(Exists("X/a/gone.txt") || Exists("X/c"));

    WriteFile("keep.txt", "k");
    CProject::CDeleteDirectory("C:\\Missing");
    CProject::CDeleteDirectory("C:");  // a whole drive is never deleted
    CProject::CDeleteDirectory("C:\\");
    CProject::CDeleteDirectory("C:\\X\\..");
    EXPECT_TRUE(Exists("keep.txt"));
}

}  // namespace
