#include <gtest/gtest.h>

#include <cstring>

#include "LogTest.h"
#include "logging/CFrameBufferLog.h"

namespace {

class CFrameBufferLogTest : public LogTest {};

TEST_F(CFrameBufferLogTest, EntriesFillTheBufferAndAFullOneStartsItAgain) {
    CString name;
    std::string stamp;
    {
        CFrameBufferLog log("C:\\logs", "app", nullptr);
        name = log.m_strLogFileName;
        stamp = Contents(name);
        HWND window = Window(1);
        log.m_Windows.Add(&window);
        EXPECT_EQ(log.Log("first"), 1);
        EXPECT_EQ(log.Log(CString("second\0hidden", 13)), 1);
        EXPECT_STREQ(log.m_pBuffer, "first\r\nsecond\r\n");
        EXPECT_EQ(Notified(), (std::vector<int>{1, 1}));
        CString big('x', 12270);  // does not fit behind the two entries with a zero byte
        EXPECT_EQ(log.Log(big), 1);
        EXPECT_EQ(std::string(log.m_pBuffer), big.str() + "\r\n");
        EXPECT_EQ(log.Log(CString('a', 12284 - big.GetLength() - 2)), 1);
        EXPECT_EQ(log.m_nUsed, 12286);  // the longest text fits with one zero byte behind it
        EXPECT_EQ(log.Log(CString('b', 12285)), 0);  // can never fit: reported, nothing lost
        EXPECT_FALSE(log.m_strError.IsEmpty());
        EXPECT_EQ(log.m_nUsed, 12286);
    }
    EXPECT_EQ(Contents(name), stamp);  // without saving, destruction leaves the file alone
}

TEST_F(CFrameBufferLogTest, SavingAppendsTheBufferToTheDayFile) {
    CString name;
    std::string stamp;
    {
        CFrameBufferLog log("C:\\logs", "app", nullptr);
        name = log.m_strLogFileName;
        stamp = Contents(name);
        log.m_bSaveOnFlush = true;
        log.Log("kept");
        log.Log(CString('L', 20000));  // too long for the buffer: saved after the buffered entries
        log.Log("last");
    }
    EXPECT_EQ(Contents(name), stamp + "kept\r\r\n\r\n" + std::string(20000, 'L') + "\r\nlast\r\r\n\r\n");
}

TEST_F(CFrameBufferLogTest, AReplacedSmallerBufferIsNeverOverrun) {
    CFrameBufferLog log("C:\\logs", "app", nullptr);
    log.ReadInFile();  // the running log's read: a buffer the size of the day file
    for (int i = 0; i < 50; ++i) EXPECT_EQ(log.Log("entry"), 1);
    EXPECT_NE(std::strstr(log.m_pBuffer, "entry\r\n"), nullptr);
}

}  // namespace
