#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "LogTest.h"
#include "logging/CRunningLog.h"
#include "platform/kernel/Syscalls.h"

namespace {

class CRunningLogTest : public LogTest {
protected:
    static std::string Buffer(const CRunningLog& log) { return log.m_pBuffer ? log.m_pBuffer : "<null>"; }
};

TEST_F(CRunningLogTest, BufferHoldsTheWholeDayFileAfterEveryEntry) {
    {
        CRunningLog earlier("C:\\logs", "app", nullptr);
        earlier.Log("from an earlier run");
    }
    CRunningLog log("C:\\logs", "app", nullptr);
    EXPECT_EQ(log.m_strDirectory, "C:\\logs");  // as given, without the separator
    EXPECT_EQ(Buffer(log), Contents(log.m_strLogFileName));
    EXPECT_NE(Buffer(log).find("from an earlier run\r\n"), std::string::npos);
    for (int i = 0; i < 400; ++i) {  // past the size where only the appended part is read
        ASSERT_EQ(log.Log(CString('x', i % 400) + "\n\xE9"), 1);
        ASSERT_EQ(Buffer(log), Contents(log.m_strLogFileName)) << "entry " << i;
    }
}

TEST_F(CRunningLogTest, NotifiesTheRegisteredWindowsInOrder) {
    CRunningLog log("C:\\logs", "app", Window(9));
    EXPECT_TRUE(Notified().empty());  // the constructor's window is only kept
    HWND first = Window(1), gone = Window(2), last = Window(3);
    log.m_Windows.Add(&first);
    log.m_Windows.Add(&gone);
    log.m_Windows.Add(&last);
    DestroyWindow(gone);
    log.Log("entry");
    EXPECT_EQ(Notified(), (std::vector<int>{1, 3}));

    log.m_bNotify = false;
    log.Log("quiet");
    EXPECT_TRUE(Notified().empty());
    EXPECT_EQ(Buffer(log), Contents(log.m_strLogFileName));
}

TEST_F(CRunningLogTest, FollowsChangesMadeByOtherPrograms) {
    using Change = std::function<void(const std::string&)>;
    auto overwrite = [](long offset, const char* bytes) {
        return [=](const std::string& path) {
            std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
            f.seekp(offset < 0 ? std::filesystem::file_size(path) + offset : offset);
            f << bytes;
        };
    };
    const std::pair<const char*, Change> changes[] = {
        {"appended to",
         [](const std::string& p) { std::ofstream(p, std::ios::app | std::ios::binary) << "other\r\n"; }},
        {"cut and rewritten", [](const std::string& p) { std::ofstream(p, std::ios::binary) << "fresh\r\n"; }},
        {"start overwritten", overwrite(0, "#")},
        {"end overwritten", overwrite(-3, "#")},
        {"replaced by a longer file",
         [](const std::string& p) {
             std::filesystem::copy_file(p, p + ".new");
             std::ofstream(p + ".new", std::ios::app | std::ios::binary) << "longer\r\n";
             std::filesystem::rename(p + ".new", p);
         }},
        {"deleted", [](const std::string& p) { std::filesystem::remove(p); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        CRunningLog log("C:\\logs", what, nullptr);
        for (int i = 0; i < 300; ++i) log.Log(CString('a' + i % 26, 300));
        change(PosixOf(log.m_strLogFileName));
        EXPECT_EQ(log.Log("after"), 1);
        EXPECT_EQ(Buffer(log), Contents(log.m_strLogFileName));
    }
}

TEST_F(CRunningLogTest, FailuresKeepWhatIsThereAndSaySo) {
    CRunningLog log("C:\\logs", "app", nullptr);
    HWND window = Window(1);
    log.m_Windows.Add(&window);
    std::string path = PosixOf(log.m_strLogFileName);
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(log.Log("refused"), 0);  // not appended: a read-only file
    EXPECT_EQ(Buffer(log), Contents(log.m_strLogFileName));
    ::chmod(path.c_str(), 0644);

    log.ClearBuffer(1 << 20);  // larger than the buffer: zeroes only what is there
    log.ReadInFile();
    std::string before = Buffer(log);
    std::filesystem::resize_file(path, 0);
    Notified();
    EXPECT_EQ(log.ReadInFile(), 1);  // an empty file changes nothing
    EXPECT_EQ(Buffer(log), before);
    EXPECT_TRUE(Notified().empty());

    log.Log("back");
    Notified();
    PlatformFailSyscall(Syscall::Open, 1, EACCES);
    EXPECT_EQ(log.ReadInFile(), 0);
    EXPECT_EQ(log.m_strError,
              "Cannot open log file!!!\n" + log.m_strLogFileName + ": Access is denied. (Permission denied)");
    EXPECT_EQ(Buffer(log), "");  // allocated and zeroed
    EXPECT_TRUE(Notified().empty());
}

TEST_F(CRunningLogTest, CopiesOwnTheirBufferAndWindowList) {
    CRunningLog log("C:\\logs", "app", nullptr);
    HWND window = Window(1);
    log.m_Windows.Add(&window);
    CRunningLog copy(log);
    EXPECT_NE(copy.m_pBuffer, log.m_pBuffer);
    EXPECT_NE(copy.m_Windows.m_pHead, log.m_Windows.m_pHead);
    log.Log("only the original reads this");
    EXPECT_EQ(Buffer(copy).find("only the original"), std::string::npos);
    copy = log;
    copy.Log("both");
    EXPECT_EQ(Buffer(copy), Contents(log.m_strLogFileName));
    EXPECT_EQ(Notified(), (std::vector<int>{1, 1}));
}

}  // namespace
