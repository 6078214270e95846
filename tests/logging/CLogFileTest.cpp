#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <ctime>

#include "LogTest.h"
#include "logging/CLogFile.h"
#include "platform/Sync.h"
#include "platform/Time.h"

namespace {

class CLogFileTest : public LogTest {
protected:
    // Today's file name of a log named name in C:\logs\.
    static CString DayFile(const char* name) {
        time_t now = std::time(nullptr);
        struct tm local;
        localtime_r(&now, &local);
        CString path;
        path.Format("C:\\logs\\%s%02d-%02d.LOG", name, local.tm_mon + 1, local.tm_mday);
        return path;
    }
};

TEST_F(CLogFileTest, NamesTheDayFileAndStampsTheStart) {
    CLogFile log("C:\\logs", "app");
    EXPECT_EQ(log.m_strDirectory, "C:\\logs\\");
    EXPECT_EQ(log.m_strLogFileName, DayFile("app"));
    EXPECT_EQ(log.m_strPattern, "app*.log");
    ASSERT_NE(log.m_pTime, nullptr);
    std::string stamp = "\r\n\r\napp started job at " + std::string(crt::asctime(log.m_pTime));
    stamp.insert(stamp.size() - 1, "\r");
    EXPECT_EQ(Contents(log.m_strLogFileName), stamp + "\r\n");
}

TEST_F(CLogFileTest, EntriesAreTheirTextAndALineEnd) {
    CLogFile log("C:\\logs\\", "app");
    std::string before = Contents(log.m_strLogFileName);
    EXPECT_EQ(log.AppendToLogFile(""), 1);
    EXPECT_EQ(log.Log("one\ntwo"), 1);
    EXPECT_EQ(log.SaveEdits(CString("cut\0here", 8)), 1);  // a text ends at its first zero
    EXPECT_EQ(log.message("%d items, %s", 3, "\xE9t\xE9"), 1);
    EXPECT_EQ(Contents(log.m_strLogFileName), before + "\r\none\r\ntwo\r\ncut\r\n3 items, \xE9t\xE9\r\n");
}

TEST_F(CLogFileTest, EmptyDirectoryMeansTheRootOfC) {
    CLogFile log("", "root");
    EXPECT_EQ(log.m_strDirectory, "C:\\");
    EXPECT_TRUE(Exists(PosixOf(log.m_strLogFileName).substr(m_root.size() + 1)));
}

TEST_F(CLogFileTest, EmptyNameOrUnwritableDirectoryFails) {
    CLogFile unnamed("C:\\logs", "");
    EXPECT_EQ(unnamed.CreateLogFileName(), 0);
    EXPECT_EQ(unnamed.m_strError, "No filename!");
    EXPECT_EQ(unnamed.SetupLogfile(), 0);
    EXPECT_EQ(unnamed.m_strError, "Cannot open log file!!!\n");
    EXPECT_EQ(unnamed.Log("x"), 0);
    EXPECT_EQ(unnamed.message("x"), 0);
    EXPECT_EQ(unnamed.m_strError, "no logfile name");

    CLogFile missing("C:\\no\\such\\dir", "app");
    EXPECT_EQ(missing.m_strError, "Cannot open log file!!!\n");
    EXPECT_EQ(missing.Log("x"), 0);

    CLogFile idle;
    EXPECT_EQ(idle.Log("x"), 0);
    EXPECT_EQ(idle.m_pMutex, nullptr);
}

TEST_F(CLogFileTest, CopiesOwnTheirMutexAndTime) {
    CLogFile log("C:\\logs", "app");
    CLogFile copy(log);
    EXPECT_NE(copy.m_pMutex, nullptr);
    EXPECT_NE(copy.m_pMutex, log.m_pMutex);
    EXPECT_NE(copy.m_pMutex->m_strName, log.m_pMutex->m_strName);
    EXPECT_EQ(copy.m_pTime, &copy.m_time);
    EXPECT_EQ(std::memcmp(&copy.m_time, &log.m_time, sizeof log.m_time), 0);
    // The time survives later runtime calls: it is the log's own copy.
    time_t other = 86400 * 3;
    std::localtime(&other);
    EXPECT_EQ(log.m_pTime->tm_year, copy.m_pTime->tm_year);
    CLogFile assigned;
    assigned = copy;
    EXPECT_EQ(assigned.Log("via copy"), 1);
    EXPECT_NE(Contents(log.m_strLogFileName).find("via copy\r\n"), std::string::npos);
}

TEST_F(CLogFileTest, PruningDeletesOldFilesOnceEnoughMatch) {
    CLogFile log;
    WriteFile("logs/app01-01.LOG", "a");
    WriteFile("logs/APP01-02.log", "b");  // the pattern matches case-insensitively
    WriteFile("logs/other01-01.LOG", "c");
    Age(Posix("logs/app01-01.LOG"), 3);
    Age(Posix("logs/APP01-02.log"), 3);
    Age(Posix("logs/other01-01.LOG"), 3);
    EXPECT_EQ(log.DeleteExcessLogFiles("C:\\logs\\", "app*.log", 3), 1);  // two files, keep 3: nothing
    EXPECT_TRUE(Exists("logs/app01-01.LOG"));

    WriteFile("logs/app01-03.LOG", "d");
    Age(Posix("logs/app01-03.LOG"), 3);
    WriteFile("logs/app12-31.LOG", "today");
    EXPECT_EQ(log.DeleteExcessLogFiles(3), 1);
    EXPECT_FALSE(Exists("logs/app01-01.LOG"));
    EXPECT_FALSE(Exists("logs/APP01-02.log"));
    EXPECT_FALSE(Exists("logs/app01-03.LOG"));
    EXPECT_TRUE(Exists("logs/app12-31.LOG"));  // modified today
    EXPECT_TRUE(Exists("logs/other01-01.LOG"));
    EXPECT_EQ(log.m_strDirectory, "C:\\logs\\");
    EXPECT_EQ(log.m_strPattern, "app*.log");

    EXPECT_EQ(log.DeleteExcessLogFiles("C:\\empty\\", "app*.log", 0), 1);
}

TEST_F(CLogFileTest, PruningAddsTheSeparatorToTheDirectory) {
    WriteFile("logs/app01-01.LOG", "old");
    Age(Posix("logs/app01-01.LOG"), 3);
    WriteFile("logsapp01-01.log", "another log's file");
    Age(Posix("logsapp01-01.log"), 3);
    CLogFile log;
    log.DeleteExcessLogFiles("C:\\logs", "app*.log", 1);
    EXPECT_FALSE(Exists("logs/app01-01.LOG"));
    EXPECT_TRUE(Exists("logsapp01-01.log"));
}

}  // namespace
