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
    // A base name is the name up to its first dot, or the whole name without one.
    Result bases = Run({"ls", "proj/", "*.*", "--bases"});
    EXPECT_EQ(bases.out, "a\nb\nsub dir\n");
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

TEST_F(FilesCommandsTest, ErrorsNameThePathAsTypedAndTheSystemsReason) {
    WriteFile("file", "f");
    fs::create_directory(Posix("dir"));
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* text;
    } cases[] = {
        {{"ls", "missing"}, 1, "cbasis ls: missing: No such file or directory\n"},
        {{"ls", "file"}, 1, "cbasis ls: file: Not a directory\n"},
        {{"mkdir", "file/sub"}, 1, "cbasis mkdir: file/sub: Not a directory\n"},
        {{"copy", "missing", "t"}, 1, "cbasis copy: missing: No such file or directory\n"},
        {{"copy", "dir", "t"}, 1, "cbasis copy: dir: Is a directory\n"},
        {{"copy", "file", "no/dir/t"}, 1, "cbasis copy: no/dir/t: No such file or directory\n"},
        {{"words", "missing"}, 1, "cbasis words: missing: No such file or directory\n"},
        {{"words", "dir"}, 1, "cbasis words: dir: Is a directory\n"},
        {{"split", "back\\slash"},
         1,
         "cbasis split: back\\slash: a name holding \\ : * ? \" < > | or a control character cannot be handled\n"},
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
    // A path typed in the library's form comes back in that form.
    Result drive = Run({"ls", "C:\\missing"}, "CBASIS_DRIVE_C='" + Posix() + "'");
    EXPECT_EQ(drive.err, "cbasis ls: C:\\missing: No such file or directory\n");
}

TEST_F(FilesCommandsTest, BasesOfNamesWithoutADotAreTheWholeName) {
    WriteFile("L/Makefile", "");
    WriteFile("L/a.txt", "");
    WriteFile("L/src/x.c", "");
    Result bases = Run({"ls", "L", "--bases"});
    EXPECT_EQ(bases.code, 0) << bases.err;
    EXPECT_EQ(bases.out, "a\nMakefile\nsrc\n");
}

}  // namespace
