#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#include "support/Sandbox.h"
#include "tools/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class LogCommandsTest : public ToolTest {
protected:
    // Today's day file of a log in the directory, relative to the test's root.
    static std::string DayFile(const std::string& dir, const std::string& name) {
        time_t now = std::time(nullptr);
        struct tm local;
        localtime_r(&now, &local);
        char day[32];
        std::snprintf(day, sizeof day, "%02d-%02d.LOG", local.tm_mon + 1, local.tm_mday);
        return dir + "/" + name + day;
    }
};

TEST_F(LogCommandsTest, LogAppendsAStampedLineAUserCanRead) {
    fs::create_directories(Posix("logs"));
    Result first = Run({"log", "logs", "app", "disk", "check", "done"});
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.out, DayFile("logs", "app") + "\n");  // the path as typed
    std::string text = ReadFile(DayFile("logs", "app"));
    EXPECT_EQ(text.rfind("\r\n\r\napp started job at ", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 17), "disk check done\r\n");

    Result mapped = Run({"log", "--mapped", Posix("logs"), "app", "through", "the mapping"});
    ASSERT_EQ(mapped.code, 0) << mapped.err;
    EXPECT_EQ(mapped.out, Posix(DayFile("logs", "app")) + "\n");
    std::string after = ReadFile(DayFile("logs", "app"));
    EXPECT_EQ(after.substr(0, text.size()), text);
    EXPECT_EQ(after.substr(after.size() - 21), "through the mapping\r\n");
}

TEST_F(LogCommandsTest, AFullDiskFailsTheLogWithTheSystemsReasonAndNoPartOfTheLine) {
    SmallDisk disk(Posix("disk"), "256k");
    if (!disk.mounted()) GTEST_SKIP() << disk.why();
    fs::create_directories(Posix("disk/logs"));
    ASSERT_EQ(Run({"log", "disk/logs", "app", "first"}).code, 0);
    const std::string before = ReadFile(DayFile("disk/logs", "app"));
    // Fills the disk but for a few pages: the next stamp fits, the line not.
    WriteFile("disk/fill", std::string(256 * 1024, 'x'));
    fs::resize_file(Posix("disk/fill"), fs::file_size(Posix("disk/fill")) - 8192);
    Result r = Run({"log", "disk/logs", "app", std::string(30000, 'L')});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Cannot open log file"), std::string::npos) << r.err;
    std::string after = ReadFile(DayFile("disk/logs", "app"));
    EXPECT_EQ(after.substr(0, before.size()), before);
    EXPECT_EQ(after.find('L'), std::string::npos) << "a part of the line was written";
}

TEST_F(LogCommandsTest, PruneDeletesOnlyTheLogsOwnDayFilesAndSaysWhatItDidAndKept) {
    for (const char* name : {"logs/app00-01.LOG", "logs/app00-02.LOG", "logs/app00-03-1.LOG", "logs/application.log",
                             "logs/other00-01.LOG"}) {
        WriteFile(name, "x");
        fs::last_write_time(Posix(name), fs::file_time_type::clock::now() - std::chrono::hours(72));
    }
    WriteFile(DayFile("logs", "app"), "today");

    Result few = Run({"prune", "logs", "app", "9"});
    EXPECT_EQ(few.code, 0) << few.err;
    EXPECT_EQ(few.out, "prune: nothing to delete: 4 day files of app in logs, fewer than 9\n");

    Result pruned = Run({"prune", "logs", "app", "2"});
    ASSERT_EQ(pruned.code, 0) << pruned.err;
    EXPECT_EQ(pruned.out, "deleted logs/app00-01.LOG\ndeleted logs/app00-02.LOG\ndeleted logs/app00-03-1.LOG\nkept " +
                              DayFile("logs", "app") + " (written today)\n");
    EXPECT_TRUE(Exists("logs/application.log"));  // another program's log
    EXPECT_TRUE(Exists("logs/other00-01.LOG"));

    Result none = Run({"prune", "logs", "app", "0"});
    EXPECT_EQ(none.out, "kept " + DayFile("logs", "app") +
                            " (written today)\nprune: nothing to delete: every day "
                            "file of app in logs was written today\n");

    // Asked for the library's own pattern, prune takes every match.
    Result wide = Run({"prune", "logs", "app", "0", "--pattern", "app*.log"});
    EXPECT_EQ(wide.code, 0) << wide.err;
    EXPECT_FALSE(Exists("logs/application.log"));
}

TEST_F(LogCommandsTest, ErrorsNameThePathAsTypedAndTheSystemsReason) {
    fs::create_directories(Posix(DayFile("busy", "app")));  // the day file is a directory
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string text;
    } const cases[] = {
        {{"log", "missing/dir", "app", "x"}, 1, "cbasis log: missing/dir: No such file or directory\n"},
        {{"log", "--mapped", "missing/dir", "app", "x"}, 1, "cbasis log: missing/dir: No such file or directory\n"},
        {{"log", "busy", "app", "x"}, 1, "cbasis log: " + DayFile("busy", "app") + ": Is a directory\n"},
        {{"log", "--mapped", "busy", "app", "x"}, 1, "cbasis log: " + DayFile("busy", "app") + ": Is a directory\n"},
        {{"prune", "missing", "app", "1"}, 1, "cbasis prune: missing: No such file or directory\n"},
        {{"log", ".", "app"}, 2, ""},
        {{"log", ".", "a/b", "x"}, 2, ""},
        {{"prune", ".", "app", "-1"}, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args[2]);
        Result r = Run(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), c.code == 2 ? 2 : 1) << r.err;
        EXPECT_EQ(r.err.rfind("cbasis " + c.args[0] + ": ", 0), 0u);
        if (!c.text.empty()) {
            EXPECT_EQ(r.err, c.text);
        }
    }
}

}  // namespace
