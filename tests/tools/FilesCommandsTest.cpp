#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Result {
    int code = -1;
    std::string out, err;
};

class FilesCommandsTest : public TempDirTest {
protected:
    // Runs cbasis with the arguments, in the temporary directory.
    Result Run(std::vector<std::string> args) {
        args.insert(args.begin(), CBASIS_TOOL_PATH);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::string out = m_output + "/out", err = m_output + "/err";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, m_root.c_str());
        pid_t pid = 0;
        Result result;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        result.out = Slurp(out);
        result.err = Slurp(err);
        return result;
    }
    static std::string Slurp(const std::string& path) {
        std::string text;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            char buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
            std::fclose(f);
        }
        return text;
    }
    void SetUp() override {
        TempDirTest::SetUp();
        m_output = fs::temp_directory_path() / ("cbasis-out-" + std::to_string(::getpid()));
        fs::create_directories(m_output);
    }
    void TearDown() override {
        fs::remove_all(m_output);
        TempDirTest::TearDown();
    }
    std::string m_output;
};

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
        {{"split", "back\\slash"}, 1, "cbasis split: 'back\\slash': names with a backslash cannot be handled\n"},
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
