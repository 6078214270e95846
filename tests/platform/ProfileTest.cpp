#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Profile.h"
#include "platform/kernel/Syscalls.h"
#include "platform/mfc/App.h"
#include "platform/mfc/Modules.h"
#include "support/FaultSweep.h"
#include "support/Sandbox.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class ProfileTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        m_app.SetProfileFile(Posix("cfg/deep/app.ini").c_str());
    }
    void TearDown() override {
        PlatformResetSyscalls();
        AfxSetAppName(nullptr);
        TempDirTest::TearDown();
    }
    int Int(const char* section, const char* entry, int nDefault = -99) {
        return static_cast<int>(m_app.GetProfileInt(section, entry, nDefault));
    }
    CWinApp m_app{"ProfileTest"};
};

}  // namespace

TEST_F(ProfileTest, WritesSurviveInAFileOthersCanRead) {
    EXPECT_EQ(Int("S", "Missing", 5), 5);  // no file yet
    ASSERT_TRUE(m_app.WriteProfileInt("Main", "Left", -12));  // the directories are made
    ASSERT_TRUE(m_app.WriteProfileString("Other", "Name", "two words"));
    ASSERT_TRUE(m_app.WriteProfileInt("main", "LEFT", 7));  // names match without case
    EXPECT_EQ(ReadFile("cfg/deep/app.ini"), "[Main]\r\nLeft=7\r\n[Other]\r\nName=two words\r\n");
    CWinApp second("ProfileTest");
    second.SetProfileFile(Posix("cfg/deep/app.ini").c_str());
    EXPECT_EQ(second.GetProfileString("Other", "Name"), "two words");
}

TEST_F(ProfileTest, ValuesAreReadLeniently) {
    WriteFile("cfg/deep/app.ini",
              "; comment\n[A]\nplain=42\nspaced =  -3 \ntail=12abc\nword=abc\nempty=\nhuge=99999999999\n"
              "junk line\n[B]\nplain=1\n");
    const struct { const char* entry; int expected; } cases[] = {
        {"plain", 42}, {"spaced", -3}, {"tail", 12}, {"word", -99}, {"empty", -99}, {"huge", 2147483647}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(Int("A", c.entry), c.expected);
    }
    EXPECT_EQ(Int("B", "plain"), 1);

    ASSERT_TRUE(m_app.WriteProfileInt("A", "new", 5));  // lines it does not understand are kept
    std::string text = ReadFile("cfg/deep/app.ini");
    EXPECT_NE(text.find("; comment\r\n"), std::string::npos);
    EXPECT_NE(text.find("junk line\r\nnew=5\r\n[B]"), std::string::npos);
}

TEST_F(ProfileTest, RemovingEntriesAndSectionsAndRefusingBadNames) {
    WriteFile("cfg/deep/app.ini", "[A]\nx=1\ny=2\n[B]\nz=3\n");
    EXPECT_TRUE(m_app.WriteProfileString("A", "x", nullptr));
    EXPECT_EQ(Int("A", "y"), 2);
    EXPECT_TRUE(m_app.WriteProfileString("A", nullptr, nullptr));
    EXPECT_EQ(ReadFile("cfg/deep/app.ini"), "[B]\r\nz=3\r\n");
    // Names and values that would break the file's lines are refused.
    EXPECT_FALSE(m_app.WriteProfileInt("", "x", 1));
    EXPECT_FALSE(m_app.WriteProfileInt("A\n[B]", "x", 1));
    EXPECT_FALSE(m_app.WriteProfileString("A", "x", "line\nbreak"));
}

TEST_F(ProfileTest, AFailedWriteLeavesTheOldFileWholeAndSaysSo) {
    const std::string old = "[A]\r\nx=1\r\n[B]\r\ny=3\r\n";
    struct Case {
        const char* what;
        const char* stored;  // where the profile's text lives
        bool link;           // cfg/deep/app.ini is a link to it
        bool exists;
    } const cases[] = {
        {"a profile", "cfg/deep/app.ini", false, true},
        {"a profile that is a link", "dotfiles/app.ini", true, true},
        {"no profile yet", "cfg/deep/app.ini", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BOOL written = FALSE;
        SweepFaults(
            {Syscall::Open, Syscall::Read, Syscall::Stat, Syscall::Lstat, Syscall::Readlink, Syscall::Flock,
             Syscall::Write, Syscall::Fchmod, Syscall::Fsync, Syscall::Close, Syscall::Rename, Syscall::Unlink},
            EIO,
            [&] {
                fs::remove_all(Posix("cfg"));
                fs::remove_all(Posix("dotfiles"));
                fs::create_directories(Posix("cfg/deep"));
                fs::create_directories(Posix("dotfiles"));
                if (c.exists) WriteFile(c.stored, old);
                if (c.link) fs::create_symlink("../../dotfiles/app.ini", Posix("cfg/deep/app.ini"));
                SetLastError(0);
            },
            [&] { written = m_app.WriteProfileInt("A", "x", 2); },
            [&](const FaultRun& run) {
                std::string after = ReadFile(c.stored);
                if (written) {
                    EXPECT_EQ(after, c.exists ? "[A]\r\nx=2\r\n[B]\r\ny=3\r\n" : "[A]\r\nx=2\r\n");
                } else {
                    EXPECT_TRUE(run.failed);
                    EXPECT_NE(GetLastError(), 0u) << "a failed write must say why";
                    EXPECT_EQ(after, c.exists ? old : "");
                    EXPECT_EQ(Exists(c.stored), c.exists) << "an empty profile was left";
                }
                if (c.link) {
                    EXPECT_TRUE(fs::is_symlink(Posix("cfg/deep/app.ini")));
                }
                size_t files = 0;
                for (const auto& entry : fs::recursive_directory_iterator(Posix())) files += !entry.is_directory();
                EXPECT_EQ(files, (c.link ? 1u : 0u) + (c.exists || written ? 1u : 0u))
                    << "a temporary file was left behind";
            });
    }
}

TEST_F(ProfileTest, DefaultFileLivesUnderTheConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", Posix("xdg").c_str(), 1);
    CWinApp app("My/App");
    EXPECT_STREQ(app.m_pszProfileName, (Posix("xdg") + "/My_App/My_App.ini").c_str());
    EXPECT_TRUE(app.WriteProfileInt("S", "e", 1));
    EXPECT_TRUE(Exists("xdg/My_App/My_App.ini"));
    if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}

TEST_F(ProfileTest, HostileProfilesAreRefusedWithoutWaitingOrReadingWithoutBound) {
    std::string big;
    while (big.size() <= 2 * 1024 * 1024) big += "[S" + std::to_string(big.size()) + "]\r\nkey=1\r\n";
    struct Case {
        const char* what;
        std::function<std::string()> make;  // why it could not be made, or ""
        DWORD error;
    } const cases[] = {
        {"a FIFO", [&] { return MakeFifo(Posix("cfg/deep/app.ini")); }, ERROR_ACCESS_DENIED},
        {"a link to /dev/zero",
         [&] {
             fs::create_symlink("/dev/zero", Posix("cfg/deep/app.ini"));
             return std::string();
         },
         ERROR_ACCESS_DENIED},
        {"a device", [&] { return MakeDevice(Posix("cfg/deep/app.ini")); }, ERROR_ACCESS_DENIED},
        {"a directory",
         [&] {
             fs::create_directories(Posix("cfg/deep/app.ini"));
             return std::string();
         },
         ERROR_ACCESS_DENIED},
        {"a file larger than a profile may be",
         [&] {
             WriteFile("cfg/deep/app.ini", big + "[Main]\r\nLeft=5\r\n");
             return std::string();
         },
         ERROR_FILE_TOO_LARGE},
    };
    ::alarm(60);  // a profile read that waits for ever ends the test program
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Posix("cfg"));
        fs::create_directories(Posix("cfg/deep"));
        std::string why = c.make();
        if (!why.empty()) {
            ADD_FAILURE() << why;
            continue;
        }
        const auto before = Snapshot(Posix("cfg"));
        EXPECT_EQ(Int("Main", "Left", 3), 3);
        EXPECT_EQ(m_app.GetProfileString("Main", "Left", "none"), "none");
        SetLastError(0);
        EXPECT_FALSE(m_app.WriteProfileInt("Main", "Left", 7));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error));
        EXPECT_EQ(Snapshot(Posix("cfg")), before);
    }
    ::alarm(0);
}

TEST_F(ProfileTest, AProfileThatIsALinkIsUpdatedAtItsTarget) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // link, what it points at
        std::string target;
    } const cases[] = {
        {"a relative link", {{"cfg/deep/app.ini", "../../dotfiles/app.ini"}}, "dotfiles/app.ini"},
        {"a link to a link",
         {{"cfg/deep/app.ini", "../../dotfiles/chain.ini"}, {"dotfiles/chain.ini", "real/app.ini"}},
         "dotfiles/real/app.ini"},
        {"an absolute link to a file not made yet", {{"cfg/deep/app.ini", "@/dotfiles/new.ini"}}, "dotfiles/new.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Posix("cfg"));
        fs::remove_all(Posix("dotfiles"));
        fs::create_directories(Posix("cfg/deep"));
        fs::create_directories(Posix("dotfiles/real"));
        if (c.target != "dotfiles/new.ini") WriteFile(c.target, "; mine\r\n[Main]\r\nLeft=1\r\n");
        for (const auto& [link, to] : c.links) fs::create_symlink(to[0] == '@' ? Posix(to.substr(2)) : to, Posix(link));
        ASSERT_TRUE(m_app.WriteProfileInt("Main", "Left", 9));
        ASSERT_TRUE(m_app.WriteProfileInt("Main", "Top", 4));
        for (const auto& link : c.links) EXPECT_TRUE(fs::is_symlink(Posix(link.first))) << link.first;
        std::string text = ReadFile(c.target);
        EXPECT_NE(text.find("[Main]\r\nLeft=9\r\nTop=4\r\n"), std::string::npos) << text;
        EXPECT_EQ(Int("Main", "Top"), 4);
        int files = 0;
        for (const auto& entry : fs::recursive_directory_iterator(Posix("dotfiles"))) files += !entry.is_directory();
        EXPECT_EQ(files, static_cast<int>(c.links.size()));  // the target and the inner links: no temporary file
    }
}

// Two programs each write their own keys into one profile at the same time:
// no write is lost, and every one said it was written.
TEST_F(ProfileTest, TwoProcessesWritingOneProfileLoseNoKey) {
    constexpr int kKeys = 300;
    const std::string file = Posix("cfg/deep/app.ini");
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    pid_t children[2];
    for (int who = 0; who < 2; ++who) {
        children[who] = ::fork();
        ASSERT_GE(children[who], 0);
        if (children[who] == 0) {
            ::close(go[1]);
            char byte;
            if (::read(go[0], &byte, 1) != 0) ::_exit(3);  // starts when the pipe closes
            int failed = 0;
            for (int i = 0; i < kKeys; ++i) {
                std::string key = std::string(1, static_cast<char>('A' + who)) + std::to_string(i);
                if (!WritePrivateProfileStringA("Keys", key.c_str(), std::to_string(i).c_str(), file.c_str())) {
                    std::fprintf(stderr, "%s: %s\n", key.c_str(), PlatformLastErrorText().str().c_str());
                    ++failed;
                }
            }
            ::_exit(failed == 0 ? 0 : 1);
        }
    }
    ::close(go[0]);
    ::close(go[1]);
    for (pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write said it failed";
    }
    int missing = 0;
    for (int who = 0; who < 2; ++who)
        for (int i = 0; i < kKeys; ++i)
            missing += Int("Keys", (std::string(1, static_cast<char>('A' + who)) + std::to_string(i)).c_str()) != i;
    EXPECT_EQ(missing, 0);
}

// Writers take turns by a lock on the profile's directory: a write waits
// while another writer holds it.
TEST_F(ProfileTest, AWriteWaitsWhileAnotherWriterHoldsTheLock) {
    ASSERT_TRUE(m_app.WriteProfileInt("Main", "Left", 1));
    int dir = ::open(Posix("cfg/deep").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(dir, 0);
    ASSERT_EQ(::flock(dir, LOCK_EX), 0);
    constexpr auto kHeld = std::chrono::milliseconds(300);
    std::thread holder([&] {
        std::this_thread::sleep_for(kHeld);
        EXPECT_EQ(Int("Main", "Left"), 1);  // not written meanwhile
        ::close(dir);
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(m_app.WriteProfileInt("Main", "Left", 2));
    EXPECT_GE(std::chrono::steady_clock::now() - start, kHeld);
    holder.join();
    EXPECT_EQ(Int("Main", "Left"), 2);
}
