#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Process.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

using Argv = std::vector<std::string>;

TEST(PlatformSplitCommandLineTest, FollowsTheOriginalRuntimesRules) {
    struct Case { const char* line; Argv args; };
    const Case cases[] = {
        {"prog a b", {"prog", "a", "b"}},
        {"\"C:\\Program Files\\x.exe\" arg", {"C:\\Program Files\\x.exe", "arg"}},
        {"C:\\dir\\\"sp ace\"\\p.exe", {"C:\\dir\\sp ace\\p.exe"}},  // no escapes in the program name
        {"p a\"b c\"d", {"p", "ab cd"}},
        {"p \\\"a\\\"", {"p", "\"a\""}},              // \" is a literal quote
        {"p a\\\\\\\\\"b c\"", {"p", "a\\\\b c"}},      // 4 backslashes + quote: 2 and a quoted part
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},             // 3 backslashes + quote: 1 and a literal quote
        {"p a\\\\b c\\", {"p", "a\\\\b", "c\\"}},  // backslashes elsewhere are literal
        {"p \"a\"\"b\"", {"p", "a\"b"}},                // "" inside quotes
        {"p \"\" \"open", {"p", "", "open"}},
        {" \t ", {}},  {nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line ? c.line : "null");
        EXPECT_EQ(PlatformSplitCommandLine(c.line), c.args);
    }
}

class ProcessTest : public TempDirTest {
protected:
    // Starts the command line and closes the handles at once; TRUE on success.
    BOOL Start(std::string line, const char* dir = nullptr, const char* env = nullptr, DWORD* pid = nullptr) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        BOOL ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, const_cast<char*>(env), dir,
                                 &startup, &info);
        if (ok) {
            EXPECT_TRUE(CloseHandle(info.hThread));
            EXPECT_TRUE(CloseHandle(info.hProcess));
            EXPECT_FALSE(CloseHandle(info.hProcess));  // closed once
            if (pid) *pid = info.dwProcessId;
        }
        return ok;
    }
    // Waits up to five seconds for a file the child writes last.
    std::string Await(const std::string& name) {
        for (int i = 0; i < 500 && !Exists(name); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return ReadFile(name);
    }
};

TEST_F(ProcessTest, TheChildGetsTheSplitArgumentsDirectoryAndEnvironment) {
    // The program, found through the drive table, prints each argument in
    // brackets, its directory and one variable.
    WriteFile("bin/tool", "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > out.tmp\n"
                          "printf '|%s|%s' \"$PWD\" \"$V\" >> out.tmp && mv out.tmp out\n");
    fs::permissions(Posix("bin/tool"), fs::perms::owner_exec, fs::perm_options::add);
    WriteFile("work/keep", "");
    const char env[] = "V=set here\0PATH=/usr/bin:/bin\0";
    ASSERT_TRUE(Start("C:\\bin\\tool \"a b\" c\\\"d \"\" e\\\\f", "C:\\work", env));
    EXPECT_EQ(Await("work/out"), "[a b][c\"d][][e\\\\f]|" + Posix("work") + "|set here");
}

TEST_F(ProcessTest, FailuresAndReaping) {
    EXPECT_FALSE(Start("no-such-program-anywhere"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(Start("Q:\\unmapped\\prog"));
    EXPECT_FALSE(Start("   "));
    EXPECT_FALSE(Start("true", "C:\\no-such-dir"));

    // A closed, ended child is reaped by a later start: no zombie stays.
    DWORD pid = 0;
    ASSERT_TRUE(Start("true", nullptr, nullptr, &pid));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_TRUE(Start("true"));
    errno = 0;
    EXPECT_EQ(::waitpid(static_cast<pid_t>(pid), nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

}  // namespace
