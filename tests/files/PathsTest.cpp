#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>

#include "files/CSplitFilename.h"
#include "files/CUtils.h"
#include "files/MakeDirectory.h"
#include "platform/crt/Crt.h"
#include "platform/crt/Stdio.h"
#include "platform/kernel/Paths.h"
#include "platform/mfc/Modules.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class PathsTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        m_oldCwd = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(m_oldCwd);
        TempDirTest::TearDown();
    }
    std::string Cwd() const { return fs::current_path().string(); }

    fs::path m_oldCwd;
};

TEST(CSplitFilenameTest, PartsJoinBackToThePathAndAreNeverCut) {
    struct Case {
        std::string path, drive, dir, title, ext;
    } cases[] = {
        {"C:\\dir\\sub\\file.tar.gz", "C:", "\\dir\\sub\\", "file.tar", ".gz"},
        {"readme", "", "", "readme", ""},
        {"", "", "", "", ""},
        {"C:\\a.b\\.hidden", "C:", "\\a.b\\", "", ".hidden"},
        {"C:\\" + std::string(300, 'd') + "\\" + std::string(300, 't') + "." + std::string(300, 'e'), "C:",
         "\\" + std::string(300, 'd') + "\\", std::string(300, 't'), "." + std::string(300, 'e')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 40));
        CString path(c.path);
        CSplitFilename split(path);
        EXPECT_EQ(split.m_strDrive.str(), c.drive);
        EXPECT_EQ(split.m_strDir.str(), c.dir);
        EXPECT_EQ(split.m_strFileTitle.str(), c.title);
        EXPECT_EQ(split.m_strExt.str(), c.ext);
        EXPECT_EQ(std::string(split.m_pszDrive) + split.m_pszDir + split.m_pszFileTitle + split.m_pszExt, c.path);

        CSplitFilename copy(split);
        EXPECT_NE(copy.m_pszDir, split.m_pszDir);
        EXPECT_STREQ(copy.m_pszExt, split.m_pszExt);
        CString other("x.y");
        CSplitFilename assigned(other);
        assigned = copy;
        EXPECT_STREQ(assigned.m_pszFileTitle, split.m_pszFileTitle);
    }
}

TEST_F(PathsTest, CreateDirectoryMakesTheLevelsEndedByABackslash) {
    WriteFile("a/keep", "");
    EXPECT_EQ(MakeDirectory::CreateDirectoryA("C:\\a\\b\\"), 1);
    EXPECT_TRUE(fs::is_directory(Posix("a/b")));
    EXPECT_EQ(Cwd(), Posix("a"));  // the deepest level that existed before

    EXPECT_EQ(MakeDirectory::CreateDirectoryA("C:\\a\\c"), 1);
    EXPECT_FALSE(Exists("a/c"));

    EXPECT_EQ(MakeDirectory::CreateDirectoryA("C:\\x y\\\xc3\xa9t\xc3\xa9\\.z\\"), 1);
    EXPECT_TRUE(fs::is_directory(Posix("x y/\xc3\xa9t\xc3\xa9/.z")));

    // A path without a drive ("\tmp\...\r\s\") and doubled separators:
    // the empty levels are passed over.
    std::string noDrive = Posix("r/s/");
    for (char& c : noDrive) c = c == '/' ? '\\' : c;
    EXPECT_EQ(MakeDirectory::CreateDirectoryA(CString(noDrive)), 1);
    EXPECT_EQ(MakeDirectory::CreateDirectoryA(CString(noDrive + "t\\\\u\\")), 1);
    EXPECT_TRUE(fs::is_directory(Posix("r/s/t/u")));

    // 0 at the first level that cannot be made; the levels before it stay.
    WriteFile("file", "");
    EXPECT_EQ(MakeDirectory::CreateDirectoryA("C:\\file\\sub\\"), 0);
    EXPECT_EQ(MakeDirectory::CreateDirectoryA("C:\\made\\" + CString(std::string(300, 'n')) + "\\x\\"), 0);
    EXPECT_TRUE(fs::is_directory(Posix("made")));
    EXPECT_EQ(MakeDirectory::CreateDirectoryA("Q:\\unmapped\\"), 0);
}

TEST_F(PathsTest, UniqueFileNameAvoidsExistingFilesAndAlwaysEnds) {
    CUtils utils;
    for (const char* name : {"report", "ab", ""}) {
        SCOPED_TRACE(name);
        CString result = utils.UniqueFileName(name, "C:\\", "txt");
        std::smatch m;
        std::string text = result.str();
        std::string prefix = std::string(name).substr(0, 4);
        ASSERT_TRUE(std::regex_match(text, m, std::regex(R"(C:\\)" + prefix + R"((\d{1,4})\.txt)")));
        EXPECT_LT(std::stoi(m[1].str()), 9999);
        EXPECT_FALSE(Exists(result.Mid(3).str()));
    }
    // Every candidate taken: the search still ends, naming an existing file.
    for (int n = 0; n < 9999; ++n) WriteFile("full/x" + std::to_string(n) + ".t", "");
    CString taken = utils.UniqueFileName("x", "C:\\full\\", "t");
    ASSERT_EQ(taken.Left(9), "C:\\full\\x");
    EXPECT_TRUE(Exists("full/" + taken.Mid(8).str()));
}

TEST_F(PathsTest, RootAndAppDirComeFromTheProgramAndTheAppName) {
    CUtils utils;
    CString root;
    utils.GetRootDir(root);
    std::string program = fs::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(root, PlatformFromPosixPath(fs::path(program).parent_path().string()));

    CString oldName = AfxGetAppName();
    std::string folder = fs::path(program).parent_path().filename().string();
    AfxSetAppName(folder.c_str());
    CString appDir;
    utils.GetAppDir(appDir);
    EXPECT_EQ(appDir, root.Left(root.Find(folder.c_str())));
    EXPECT_EQ(appDir[appDir.GetLength() - 1], '\\');

    AfxSetAppName("no-such-application-name");
    utils.GetAppDir(appDir);
    EXPECT_TRUE(appDir.IsEmpty());
    AfxSetAppName(oldName);
}

}  // namespace
