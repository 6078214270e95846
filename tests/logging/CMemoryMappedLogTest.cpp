#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "LogTest.h"
#include "logging/CMemoryMappedLog.h"
#include "platform/kernel/Syscalls.h"
#include "platform/mfc/Time.h"

namespace {

constexpr size_t kMapSize = 262144;

class CMemoryMappedLogTest : public LogTest {
protected:
    static std::string Stamp(const CMemoryMappedLog& log) {
        return "\n\n" + log.m_strLogName.str() + " started job at " + crt::asctime(log.m_pTime) + "\r\n";
    }
    static std::string Text(const CMemoryMappedLog& log) {
        return std::string(reinterpret_cast<const char*>(log.m_pView), log.m_nPos);
    }
    // The file an unusable day file was moved to.
    static CString Aside(const CString& dayFile) { return dayFile.Left(dayFile.GetLength() - 4) + "-1.LOG"; }
    // Today's day file of the log "app" in C:\logs.
    CString DayFile() {
        CMemoryMappedLog probe("C:\\logs", "app", nullptr);
        return probe.m_strLogFileName;
    }
};

TEST_F(CMemoryMappedLogTest, WritesEntriesThroughTheMappingAndCutsTheFileAtTheEnd) {
    CString name;
    std::string expected;
    {
        CMemoryMappedLog log("C:\\logs", "app", nullptr);
        HWND window = Window(1);
        log.m_Windows.Add(&window);
        name = log.m_strLogFileName;
        EXPECT_EQ(log.m_nGranularity, 65536u);
        EXPECT_EQ(log.m_nMapSize, kMapSize);
        EXPECT_TRUE(log.m_strError.IsEmpty());
        EXPECT_EQ(log.Log("one\n\xE9"), 1);
        EXPECT_EQ(log.message("%d", 2), 1);  // goes into the view too
        EXPECT_EQ(log.Log(CString("three\0gone", 10)), 1);
        expected = Stamp(log) + "one\n\xE9\r\n2\r\nthree\r\n";
        EXPECT_EQ(Text(log), expected);
        EXPECT_EQ(Contents(name).size(), kMapSize);  // full size while open, text then zeros
        EXPECT_EQ(Contents(name).substr(0, expected.size() + 1), expected + '\0');
        EXPECT_EQ(Notified(), (std::vector<int>{1, 1, 1}));
    }
    EXPECT_EQ(Contents(name), expected);
}

TEST_F(CMemoryMappedLogTest, LastVisibleLinesAreTheLastEleven) {
    CMemoryMappedLog log("C:\\logs", "app", nullptr);
    EXPECT_EQ(log.m_pLastVisible, log.m_pView);  // the stamp brings 4 line feeds
    log.m_nPos = 0;
    for (int line = 1; line <= 20; ++line) log.Log(CString('a' + line, 3));
    // The line feed that ends the 9th line; lines 10 to 20 follow it.
    EXPECT_EQ(log.m_pLastVisible, log.m_pView + 9 * 5 - 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(log.m_pLastVisible)).substr(0, 4), "\nkkk");
}

TEST_F(CMemoryMappedLogTest, ContinuesTheTextOfAnExistingDayFileRightBehindIt) {
    CString name = DayFile();
    const std::string crashed = "text of a run that never closed its log\r\n";
    std::string lines;
    for (int i = 0; lines.size() < 120000; ++i) lines += "kept line " + std::to_string(i) + "\r\n";
    lines.resize(120000);
    struct Kept {
        const char* what;
        std::string text, filling;
        size_t viewAt;  // where the view starts in the file
    };
    const Kept files[] = {
        {"left at full size", crashed, std::string(kMapSize - crashed.size(), '\0'), 0},
        {"left longer than a view", std::string(300000, 'z'), std::string(393216 - 300000, '\0'), 131072},
        {"text above 96 KiB", lines, "", 0},
        {"nearly a view of text", std::string(kMapSize - 100, 'n'), "", 0},
        {"more text than a view", std::string(kMapSize + 10, 'm'), "", 65536},
    };
    for (const Kept& file : files) {
        SCOPED_TRACE(file.what);
        const std::string bytes = file.text + file.filling;
        WriteFile(PosixOf(name).substr(m_root.size() + 1), bytes);
        std::string stamp;
        {
            CMemoryMappedLog log("C:\\logs", "app", nullptr);
            EXPECT_TRUE(log.m_strError.IsEmpty());
            stamp = Stamp(log);
            EXPECT_EQ(log.m_nPos, file.text.size() - file.viewAt + stamp.size());
            EXPECT_TRUE(Text(log).substr(0, 32) == bytes.substr(file.viewAt, 32));
            EXPECT_EQ(Contents(name).size(), file.viewAt + kMapSize);
        }
        EXPECT_TRUE(Contents(name) == file.text + stamp);
    }
}

TEST_F(CMemoryMappedLogTest, SetsAsideADayFileThatHoldsMoreThanText) {
    CString name = DayFile();
    std::string bytes = std::string("a\0b", 3) + std::string(kMapSize - 3, '\0');
    WriteFile(PosixOf(name).substr(m_root.size() + 1), bytes);
    CMemoryMappedLog log("C:\\logs", "app", nullptr);
    EXPECT_NE(log.m_strError.Find(Aside(name)), -1);
    EXPECT_TRUE(Contents(Aside(name)) == bytes);  // unchanged
    EXPECT_EQ(Text(log), Stamp(log));
}

TEST_F(CMemoryMappedLogTest, TheViewMovesAlongTheFileWithoutLosingEntries) {
    std::string written;
    CString name;
    {
        CMemoryMappedLog log("C:\\logs", "app", nullptr);
        name = log.m_strLogFileName;
        written = Stamp(log);
        for (int i = 0; i < 3000; ++i) {
            CString entry;
            entry.Format("entry %05d %s", i, std::string(100, 'a' + i % 26).c_str());
            ASSERT_EQ(log.Log(entry), 1);
            written += entry.str() + "\r\n";
            ASSERT_LT(log.m_nPos, kMapSize);
        }
        // The last lines stay in view after a move.
        EXPECT_EQ(std::string(reinterpret_cast<char*>(log.m_pLastVisible)).substr(0, 13), "\nentry 02989 ");
        CString huge('H', 2 * kMapSize);  // longer than a whole view
        ASSERT_EQ(log.Log(huge), 1);
        written += huge.str() + "\r\n";
        ASSERT_EQ(log.Log("after"), 1);
        written += "after\r\n";
        std::string open = Contents(name);
        EXPECT_EQ(open.size() % 65536, 0u);  // the text, then zero filling to the end of the view
        EXPECT_TRUE(open.substr(0, written.size() + 1) == written + '\0');
        EXPECT_TRUE(log.m_strError.IsEmpty());
    }
    EXPECT_TRUE(Contents(name) == written);
}

TEST_F(CMemoryMappedLogTest, WithoutAViewEntriesFailUntilOneCanBeMade) {
    PlatformFailSyscall(Syscall::Mmap, 1, ENOMEM, true);
    CMemoryMappedLog log("C:\\logs", "app", nullptr);
    EXPECT_EQ(log.m_pView, nullptr);
    EXPECT_EQ(log.m_strError,
              "Cannot map region. Not enough storage is available to process this command. (Cannot allocate memory)");
    EXPECT_EQ(log.Log("lost"), 0);
    EXPECT_EQ(Contents(log.m_strLogFileName), "");  // the file was not left extended
    PlatformResetSyscalls();
    EXPECT_EQ(log.Log("kept"), 1);
    EXPECT_EQ(Text(log), "kept\r\n");

    CMemoryMappedLog nowhere("C:\\no\\such\\dir", "app", nullptr);
    EXPECT_EQ(nowhere.m_strError, "Cannot create memory-mapped file. " + nowhere.m_strLogFileName +
                                      ": The system cannot find the path specified.");
    EXPECT_EQ(nowhere.Log("x"), 0);
}

}  // namespace
