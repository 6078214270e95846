#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <filesystem>

#include "LogTest.h"
#include "logging/CLogFile.h"
#include "logging/CMemoryMappedLog.h"
#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Mapping.h"
#include "platform/kernel/Sync.h"
#include "platform/mfc/Time.h"

namespace {

class CLogFileTest : public LogTest {};

TEST_F(CLogFileTest, DayFileHoldsTheStampAndEntriesWithCrLf) {
    CLogFile log("C:\\logs", "app");
    time_t now = std::time(nullptr);
    CString name;
    name.Format("C:\\logs\\app%02d-%02d.LOG", std::localtime(&now)->tm_mon + 1, std::localtime(&now)->tm_mday);
    EXPECT_EQ(log.m_strLogFileName, name);
    EXPECT_EQ(log.m_strDirectory, "C:\\logs\\");
    std::string stamp = "\r\n\r\napp started job at " + std::string(crt::asctime(log.m_pTime));
    stamp.insert(stamp.size() - 1, "\r");
    EXPECT_EQ(log.AppendToLogFile(""), 1);
    EXPECT_EQ(log.Log("one\ntwo"), 1);
    EXPECT_EQ(log.SaveEdits(CString("cut\0here", 8)), 1);  // a text ends at its first zero
    EXPECT_EQ(log.message("%d items, %s", 3, "\xE9t\xE9"), 1);
    EXPECT_EQ(log.message("%s|%I64d|%Iu", static_cast<const char*>(nullptr), -5ll, size_t{7}), 1);
    EXPECT_EQ(Contents(name), stamp + "\r\n\r\none\r\ntwo\r\ncut\r\n3 items, \xE9t\xE9\r\n(null)|-5|7\r\n");

    CLogFile root("", "root");
    EXPECT_EQ(root.m_strDirectory, "C:\\");
    EXPECT_TRUE(Exists(PosixOf(root.m_strLogFileName).substr(m_root.size() + 1)));
}

TEST_F(CLogFileTest, EmptyNameOrMissingDirectoryFails) {
    CLogFile unnamed("C:\\logs", "");
    EXPECT_EQ(unnamed.CreateLogFileName(), 0);
    EXPECT_EQ(unnamed.m_strError, "No filename!");
    EXPECT_EQ(unnamed.SetupLogfile(), 0);
    EXPECT_EQ(unnamed.m_strError, "Cannot open log file!!!\n");
    EXPECT_EQ(unnamed.Log("x"), 0);
    EXPECT_EQ(unnamed.message("x"), 0);
    EXPECT_EQ(unnamed.m_strError, "no logfile name");
    CLogFile missing("C:\\no\\such\\dir", "app");
    EXPECT_EQ(missing.m_strError,
              "Cannot open log file!!!\n" + missing.m_strLogFileName + ": The system cannot find the path specified.");
    EXPECT_EQ(missing.Log("x"), 0);
}

// A log name is put into a file name and a pattern: one holding a wildcard
// or another character a name cannot carry would name other files.
TEST_F(CLogFileTest, ANameAPathCannotCarryIsRefused) {
    WriteFile("logs/other.log", "x");
    Age(Posix("logs/other.log"), 3);
    for (const char* name : {"*", "a?", "x:y", "a\\b", "..", "p|q"}) {
        SCOPED_TRACE(name);
        CLogFile log("C:\\logs", name);
        EXPECT_EQ(log.CreateLogFileName(), 0);
        EXPECT_EQ(log.m_strError, "Invalid log name!");
        EXPECT_EQ(log.Log("x"), 0);
        EXPECT_EQ(log.DeleteExcessLogFiles(0), 1);  // nothing is the log's
        CMemoryMappedLog mapped("C:\\logs", name, nullptr);
        EXPECT_EQ(mapped.m_strError, "Invalid log name!");
        EXPECT_EQ(mapped.Log("x"), 0);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Posix("logs")), std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(ReadFile("logs/other.log"), "x");
}

TEST_F(CLogFileTest, GoesOnInASiblingWhileAnotherLogHoldsTheDayFileAndSaysWhyItCannotWrite) {
    CLogFile log("C:\\logs", "app");
    const CString day = log.m_strLogFileName;
    const CString sibling = day.Left(day.GetLength() - 4) + "-1.LOG";
    HANDLE holder = CreateFileA(day, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(PlatformClaimAppends(holder));
    EXPECT_EQ(log.Log("held"), 1);
    EXPECT_EQ(log.m_strLogFileName, sibling);
    CloseHandle(holder);
    EXPECT_EQ(log.Log("released"), 1);  // the sibling stays the log's file, so the order stays
    EXPECT_EQ(Contents(sibling), "held\r\nreleased\r\n");
    EXPECT_EQ(Contents(day).find("held"), std::string::npos);

    std::filesystem::permissions(PosixOf(sibling), std::filesystem::perms::owner_read);
    EXPECT_EQ(log.Log("refused"), 0);
    EXPECT_EQ(log.m_strError, "Cannot write to the log file " + sibling + ": Access is denied.");
}

TEST_F(CLogFileTest, CopiesOwnTheirMutexAndTime) {
    CLogFile log("C:\\logs", "app");
    CLogFile copy(log);
    EXPECT_NE(copy.m_pMutex, log.m_pMutex);
    EXPECT_NE(copy.m_pMutex->m_strName, log.m_pMutex->m_strName);
    EXPECT_EQ(copy.m_pTime, &copy.m_time);
    int year = log.m_pTime->tm_year;
    time_t longAgo = 86400 * 3;
    std::localtime(&longAgo);  // overwrites the runtime's buffer, not the log's time
    EXPECT_EQ(log.m_pTime->tm_year, year);
    CLogFile assigned;
    assigned = copy;
    EXPECT_EQ(assigned.Log("via copy"), 1);
    EXPECT_NE(Contents(log.m_strLogFileName).find("via copy\r\n"), std::string::npos);
}

TEST_F(CLogFileTest, PruningDeletesEveryOldMatchOnceEnoughMatch) {
    for (const char* name : {"logs/app01-01.LOG", "logs/APP01-02.log", "logs/other01-01.LOG", "logsapp01-01.log"}) {
        WriteFile(name, "old");
        Age(Posix(name), 3);
    }
    CLogFile log;
    EXPECT_EQ(log.DeleteExcessLogFiles("C:\\logs\\", "app*.log", 3), 1);  // two match, keep 3: nothing
    EXPECT_TRUE(Exists("logs/app01-01.LOG"));
    WriteFile("logs/app12-31.LOG", "today");
    EXPECT_EQ(log.DeleteExcessLogFiles("C:\\logs", "app*.log", 3), 1);  // the separator is added
    EXPECT_FALSE(Exists("logs/app01-01.LOG"));
    EXPECT_FALSE(Exists("logs/APP01-02.log"));  // matched case-insensitively
    EXPECT_TRUE(Exists("logs/app12-31.LOG"));   // modified today
    EXPECT_TRUE(Exists("logs/other01-01.LOG"));
    EXPECT_TRUE(Exists("logsapp01-01.log"));    // not in the parent directory
    EXPECT_EQ(log.DeleteExcessLogFiles("C:\\empty\\", "app*.log", 0), 1);
}

}  // namespace
