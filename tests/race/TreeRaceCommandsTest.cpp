// The tree commands racing a second process that keeps swapping a directory
// of the tree for a link to a sandbox beside it (and back), or keeps
// planting a link where a new project is to be made: repeated enough to hit
// the window between a walk's listing and its use of an entry, or between a
// check and a use. However the race falls, the sandbox stays untouched, and
// a command that met the swap says so and exits with 1.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/Sandbox.h"
#include "tools/ToolTest.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 5000;
constexpr int kRounds = 3;

// A child that swaps path for a link to target (the directory moved aside)
// as soon as cue appears (or, with bGone, disappears): the command is then
// busy in a directory listed before path, so path was listed as the
// directory it was. With no cue it plants the link and takes it away again,
// over and over, until it is ended.
class Racer {
public:
    Racer(const std::string& path, const std::string& target, const std::string& cue, bool bGone) {
        m_child = ::fork();
        if (m_child != 0) return;
        if (cue.empty()) {
            for (;;) {
                ::symlink(target.c_str(), path.c_str());
                ::usleep(200);
                ::unlink(path.c_str());  // fails (harmlessly) once the command's directory is there
                ::usleep(300);
            }
        }
        while ((::access(cue.c_str(), F_OK) == 0) == bGone) ::usleep(50);
        if (::rename(path.c_str(), (path + ".aside").c_str()) == 0) ::symlink(target.c_str(), path.c_str());
        ::_exit(0);
    }
    ~Racer() {
        if (m_child <= 0) return;
        ::kill(m_child, SIGKILL);
        ::waitpid(m_child, nullptr, 0);
    }

private:
    pid_t m_child;
};

class TreeRaceCommandsTest : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        WriteFile("victim/keep.txt", "Foo keep");
        WriteFile("victim/Foo.conf", "Foo");
        m_sandbox = Snapshot(Posix("victim"));
    }
    // T/a with many files, so the walk is busy there while T/z is swapped.
    void MakeTree(const std::string& prefix) {
        fs::remove_all(Posix("T"));
        fs::create_directories(Posix("T/a"));
        for (int i = 0; i < kFiles; ++i) WriteFile("T/a/" + prefix + std::to_string(i), "Foo");
        WriteFile("T/z/z.txt", "Foo");
    }
    // Checks the sandbox; true when the command met the swap and said so.
    bool ExpectSandboxIntact(const Result& r) {
        EXPECT_EQ(Snapshot(Posix("victim")), m_sandbox) << r.err;
        EXPECT_TRUE(r.code == 0 || r.code == 1) << r.err;
        bool met = r.err.find("not entered") != std::string::npos;
        if (met) {
            EXPECT_EQ(r.code, 1);
        }
        return met;
    }
    std::map<std::string, std::string> m_sandbox;
};

TEST_F(TreeRaceCommandsTest, DeleteTree) {
    int met = 0;
    for (int round = 0; round < kRounds; ++round) {
        MakeTree("f");
        Racer racer(Posix("T/z"), "../victim", Posix("T/a/f0"), true);
        met += ExpectSandboxIntact(Run({"delete-tree", "T", "--yes"}));
    }
    EXPECT_GT(met, 0);
}

TEST_F(TreeRaceCommandsTest, RenameInPlace) {
    int met = 0;
    for (int round = 0; round < kRounds; ++round) {
        MakeTree("Foo");
        Racer racer(Posix("T/z"), "../victim", Posix("T/a/Bar0"), false);
        met += ExpectSandboxIntact(Run({"rename-in-place", "T", "Foo", "Bar"}));
    }
    EXPECT_GT(met, 0);
}

TEST_F(TreeRaceCommandsTest, CopyTree) {
    int met = 0;
    for (int round = 0; round < kRounds; ++round) {
        MakeTree("f");
        fs::remove_all(Posix("OUT"));
        Result r;
        {
            Racer racer(Posix("T/z"), "../victim", Posix("OUT/a/f0"), false);
            r = Run({"copy-tree", "T", "OUT"});
        }
        met += ExpectSandboxIntact(r);
        EXPECT_FALSE(Exists("OUT/z/keep.txt")) << r.err;
    }
    EXPECT_GT(met, 0);
}

TEST_F(TreeRaceCommandsTest, NewProject) {
    WriteFile("tmpl/Foo/README.md", "Foo");
    WriteFile("victim/README.md", "theirs");
    m_sandbox = Snapshot(Posix("victim"));
    fs::create_directories(Posix("loc"));
    for (int round = 0; round < 50; ++round) {
        Result r;
        {
            Racer racer(Posix("loc/Demo"), "../victim", std::string(), false);
            r = Run({"new-project", "Demo", "--template-root", "tmpl", "--keyword", "Foo", "--location", "loc"});
        }
        ExpectSandboxIntact(r);
        fs::remove_all(Posix("loc/Demo"));
    }
}

}  // namespace
