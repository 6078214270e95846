// The tree delete, the tree copy and the generator with every system call
// they make failing in turn (the Nth call of each kind, N = 1, 2, ...):
// after each run nothing outside the target has changed, no temporary file
// or descriptor is left, and a job left incomplete was reported.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>

#include "platform/kernel/Undone.h"
#include "project/CProject.h"
#include "support/FaultSweep.h"
#include "support/Sandbox.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Every kind of call the walks make.
const std::initializer_list<Syscall> kWalkCalls = {
    Syscall::Open,     Syscall::OpenAt, Syscall::OpenDir, Syscall::ReadDir, Syscall::CloseDir,
    Syscall::Stat,     Syscall::Lstat,  Syscall::Mkdir,   Syscall::Rmdir,   Syscall::Unlink,
    Syscall::Rename,   Syscall::Read,   Syscall::Write,   Syscall::Lseek,   Syscall::CopyRange,
    Syscall::Futimens, Syscall::Fchmod, Syscall::Chdir,   Syscall::Fchdir,  Syscall::Close};

class TreeSweepTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        WriteFile("victim/keep.txt", "Foo keep");
        PlatformSetUndoneHook([this](PlatformUndone, const std::string&, DWORD) { ++m_reports; });
    }
    void TearDown() override {
        PlatformSetUndoneHook(nullptr);
        TempDirTest::TearDown();
    }
    // The tree below relative, with the sandbox beside it.
    std::map<std::string, std::string> Outside(const std::string& relative) const {
        auto tree = Snapshot(Posix(relative));
        for (const auto& [path, record] : Snapshot(Posix("victim"))) tree["victim/" + path] = record;
        return tree;
    }
    bool HoldsTemporaryFiles(const std::string& relative) const {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(Posix(relative), ec), end; !ec && it != end; it.increment(ec))
            if (it->path().filename().string().rfind(".cb", 0) == 0) return true;
        return false;
    }
    // Runs operation under every fault, checking each run against the tree
    // a whole run makes below target.
    void Sweep(const std::string& source, const std::string& target, const std::function<void()>& make,
               const std::function<void()>& operation) {
        make();
        operation();
        ASSERT_EQ(m_reports, 0);
        const auto whole = Snapshot(Posix(target));
        const auto outside = Outside(source);
        SweepFaults(
            kWalkCalls, EIO,
            [&] {
                fs::remove_all(Posix(target));
                make();
                m_reports = 0;
            },
            operation,
            [&](const FaultRun& run) {
                EXPECT_EQ(Outside(source), outside) << "the source or the sandbox changed";
                EXPECT_FALSE(HoldsTemporaryFiles(target));
                bool complete = Snapshot(Posix(target)) == whole;
                if (!run.failed) {
                    EXPECT_TRUE(complete);
                }
                if (!complete) {
                    EXPECT_GT(m_reports, 0) << "an incomplete job was not reported";
                }
            });
    }
    int m_reports = 0;
};

TEST_F(TreeSweepTest, TheTreeDelete) {
    auto make = [&] {
        WriteFile("T/a/x.txt", "x");
        WriteFile("T/a/b/y.txt", "y");
        WriteFile("T/c.txt", "c");
        fs::create_directory_symlink("../victim", Posix("T/lnk"));
    };
    Sweep("victim", "T", make, [] { CProject::CDeleteDirectory("C:\\T"); });
}

TEST_F(TreeSweepTest, TheTreeCopy) {
    WriteFile("S/a/x.txt", "x");
    WriteFile("S/a/b/y.txt", std::string(3000, 'y'));
    WriteFile("S/c.bin", std::string("c\0c", 3));
    Sweep(
        "S", "Out", [] {}, [] { CProject::CCopyFilesFromOneDirectoryToAnother("C:\\S", "C:\\Out\\Copy"); });
}

TEST_F(TreeSweepTest, TheGenerator) {
    WriteFile("T/Foo/Foo.txt", "Foo");
    WriteFile("T/Foo/sub/FooDoc.h", "class CFooDoc;");
    WriteFile("T/Foo/sub/same.txt", "no keyword");
    WriteFile("T/Foo/Foo.bin", std::string("Foo\0", 4));
    Sweep(
        "T", "Out", [] {}, [] { CProject().MakeProject1("Foo", "C:\\T\\Foo", "C:\\Out\\Bar", "Bar"); });
}

}  // namespace
