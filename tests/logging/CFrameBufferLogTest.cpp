#include <gtest/gtest.h>

#include <cstring>

#include "LogTest.h"
#include "logging/CFrameBufferLog.h"

namespace {

class CFrameBufferLogTest : public LogTest {};

TEST_F(CFrameBufferLogTest, EntriesFillTheBufferAndAFullOneStartsItAgain) {
    CFrameBufferLog log("C:\\logs", "app", nullptr);
    HWND window = Window(1);
    log.m_Windows.Add(&window);
    EXPECT_EQ(log.m_nBufferSize, 12287);
    EXPECT_FALSE(log.m_bSaveOnFlush);
    EXPECT_EQ(log.Log("first"), 1);
    EXPECT_EQ(log.Log(CString("second\0hidden", 13)), 1);
    EXPECT_STREQ(log.m_pBuffer, "first\r\nsecond\r\n");
    EXPECT_EQ(log.m_nUsed, 15);
    EXPECT_EQ(Notified(), (std::vector<int>{1, 1}));

    CString big('x', 12270);
    EXPECT_EQ(log.Log(big), 1);  // behind the two entries it leaves no zero byte
    EXPECT_EQ(std::string(log.m_pBuffer), big.str() + "\r\n");
    EXPECT_EQ(log.m_nUsed, big.GetLength() + 2);
}

TEST_F(CFrameBufferLogTest, LongestEntryFitsAndLongerOnesAreReported) {
    CFrameBufferLog log("C:\\logs", "app", nullptr);
    std::string stamp = Contents(log.m_strLogFileName);
    EXPECT_EQ(log.Log(CString('a', 12284)), 1);
    EXPECT_EQ(log.m_nUsed, 12286);
    EXPECT_EQ(log.m_pBuffer[12286], '\0');
    EXPECT_EQ(log.Log(CString('b', 12285)), 0);
    EXPECT_FALSE(log.m_strError.IsEmpty());
    EXPECT_EQ(log.m_nUsed, 12286);  // nothing already logged is lost
}

TEST_F(CFrameBufferLogTest, SavingAppendsTheBufferToTheDayFile) {
    std::string path;
    std::string stamp;
    {
        CFrameBufferLog log("C:\\logs", "app", nullptr);
        path = PosixOf(log.m_strLogFileName);
        stamp = Contents(log.m_strLogFileName);
        log.Log("dropped");
        log.FlushBuffer();
        EXPECT_EQ(Contents(log.m_strLogFileName), stamp);
        log.m_bSaveOnFlush = true;
        log.Log("kept");
        log.Log(CString('L', 20000));  // too long for the buffer: saved after the buffered entries
        EXPECT_EQ(Contents(log.m_strLogFileName), stamp + "kept\r\r\n\r\n" + std::string(20000, 'L') + "\r\n");
        log.Log("last");
    }
    EXPECT_EQ(ReadFile(path.substr(m_root.size() + 1)),
              stamp + "kept\r\r\n\r\n" + std::string(20000, 'L') + "\r\nlast\r\r\n\r\n");
}

TEST_F(CFrameBufferLogTest, WithoutSavingDestructionLeavesTheStampAlone) {
    CString name;
    std::string stamp;
    {
        CFrameBufferLog log("C:\\logs", "app", nullptr);
        name = log.m_strLogFileName;
        stamp = Contents(name);
        for (int i = 0; i < 1000; ++i) log.Log("entry that only lives in memory");
    }
    EXPECT_EQ(Contents(name), stamp);
}

TEST_F(CFrameBufferLogTest, AReplacedSmallerBufferIsNeverOverrun) {
    CFrameBufferLog log("C:\\logs", "app", nullptr);
    log.ReadInFile();  // the running log's read: a buffer the size of the day file
    for (int i = 0; i < 50; ++i) EXPECT_EQ(log.Log("entry"), 1);
    EXPECT_NE(std::strstr(log.m_pBuffer, "entry\r\n"), nullptr);
}

}  // namespace
