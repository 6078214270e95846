#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class FilesCommandsTest : public ToolTest {};

TEST_F(FilesCommandsTest, ListsARealTreeInEachShape) {
    WriteFile("proj/a.txt", "a");
    WriteFile("proj/b.tar.gz", "b");
    WriteFile("proj/sub dir/c.TXT", "c");
    fs::create_directory_symlink("..", Posix("proj/sub dir/up"));

    Result flat = Run({"ls", "proj", "*.txt"});
    EXPECT_EQ(flat.code, 0);
    EXPECT_EQ(flat.out, "a.txt\n");
    Result tree = Run({"ls", Posix("proj"), "--tree"});
    EXPECT_EQ(tree.out, "a.txt\nb.tar.gz\nsub dir/\n  c.TXT\n  up\n");
    Result bases = Run({"ls", "proj/", "*.*", "--bases"});
    EXPECT_EQ(bases.out, "\n\na\nb\n\n");
    EXPECT_EQ(Run({"ls", "proj/sub dir", "*.txt"}).out, "c.TXT\n");  // wildcards ignore case
    // The pattern filters every level: a directory is entered only when its name matches.
    WriteFile("proj/s.d/t.d/u.txt", "u");
    WriteFile("proj/s.d/v.txt", "v");
    EXPECT_EQ(Run({"ls", "proj", "*.d", "--tree"}).out, "s.d/\n  t.d/\n");
}

TEST_F(FilesCommandsTest, SplitsMakesDirectoriesAndCopies) {
    Result split = Run({"split", "/dir/sub/file.tar.gz"});
    EXPECT_EQ(split.out, "drive: C:\ndir: \\dir\\sub\\\ntitle: file.tar\next: .gz\n");

    EXPECT_EQ(Run({"mkdir", "x/y z/\xc3\xa9"}).code, 0);
    EXPECT_TRUE(fs::is_directory(Posix("x/y z/\xc3\xa9")));
    EXPECT_EQ(Run({"mkdir", "x/y z"}).code, 0);  // existing: no error

    WriteFile("src.txt", "payload");
    fs::last_write_time(Posix("src.txt"), fs::file_time_type::clock::now() - std::chrono::hours(30));
    EXPECT_EQ(Run({"copy", "src.txt", "x/y z"}).code, 0);
    EXPECT_EQ(ReadFile("x/y z/src.txt"), "payload");
    auto seconds = [&](const char* name) {
        return std::chrono::floor<std::chrono::seconds>(fs::last_write_time(Posix(name)));
    };
    EXPECT_EQ(seconds("x/y z/src.txt"), seconds("src.txt"));  // times are kept to the second
}

TEST_F(FilesCommandsTest, FilesWhoseSizeReadsZeroAreCopiedAndReadWhole) {
    EXPECT_EQ(Run({"copy", "/proc/self/status", "status"}).code, 0);
    EXPECT_EQ(ReadFile("status").rfind("Name:", 0), 0u);
    Result words = Run({"words", "/proc/self/status"});
    EXPECT_EQ(words.code, 0) << words.err;
    EXPECT_EQ(words.out.rfind("Name:\n", 0), 0u) << words.out;
}

TEST_F(FilesCommandsTest, ErrorsAreOneLineAndUsageErrorsExitTwo) {
    WriteFile("file", "f");
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* text;
    } cases[] = {
        {{"ls", "missing"}, 1, "cbasis ls: cannot list 'missing': The system cannot find the file specified.\n"},
        {{"ls", "file"}, 1, "cbasis ls: 'file' is not a directory\n"},
        {{"mkdir", "file/sub"}, 1, nullptr},
        {{"copy", "missing", "t"}, 1, "cbasis copy: cannot open 'missing': The system cannot find the file specified.\n"},
        {{"copy", "file", "no/dir/t"}, 1,
         "cbasis copy: cannot create 'no/dir/t': The system cannot find the path specified.\n"},
        {{"split", "back\\slash"}, 1,
         "cbasis split: 'back\\slash': a name holding \\ : * ? \" < > | or a control character cannot be handled\n"},
        {{"ls"}, 2, nullptr},
        {{"ls", "d", "--tree", "--bases"}, 2, nullptr},
        {{"copy", "one"}, 2, nullptr},
        {{"mkdir", "a", "b"}, 2, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        Result r = Run(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.out.empty());
        // One line of error; a usage error adds the synopsis.
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), c.code == 2 ? 2 : 1);
        EXPECT_EQ(r.err.rfind("cbasis " + c.args[0] + ": ", 0), 0u);
        if (c.text) {
            EXPECT_EQ(r.err, c.text);
        }
    }
}

}  // namespace
