#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "LogTest.h"
#include "logging/CMemoryMappedLog.h"
#include "platform/Syscalls.h"
#include "platform/Time.h"

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
    // The file a full day file was moved to.
    static CString Aside(const CString& dayFile, int n) {
        CString name;
        name.Format("%s-%d.LOG", static_cast<LPCTSTR>(dayFile.Left(dayFile.GetLength() - 4)), n);
        return name;
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
    {
        CMemoryMappedLog again("C:\\logs", "app", nullptr);  // continues behind the old text
        EXPECT_EQ(Text(again).substr(0, expected.size()), expected);
    }
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

TEST_F(CMemoryMappedLogTest, RecoversTheTextOfADayFileLeftAtFullSize) {
    CString name;
    {
        CMemoryMappedLog probe("C:\\logs", "app", nullptr);
        name = probe.m_strLogFileName;
    }
    std::string crashed = "text of a run that never closed its log\r\n";
    WriteFile(PosixOf(name).substr(m_root.size() + 1), crashed + std::string(kMapSize - crashed.size(), '\0'));
    {
        CMemoryMappedLog log("C:\\logs", "app", nullptr);
        EXPECT_TRUE(log.m_strError.IsEmpty());
        EXPECT_EQ(Text(log), crashed + Stamp(log));
    }
    EXPECT_EQ(Contents(name).substr(0, crashed.size()), crashed);
    EXPECT_EQ(Contents(name).find('\0'), std::string::npos);
}

TEST_F(CMemoryMappedLogTest, SetsAsideADayFileThatCannotBeContinued) {
    CString name;
    {
        CMemoryMappedLog probe("C:\\logs", "app", nullptr);
        name = probe.m_strLogFileName;
    }
    const std::pair<const char*, std::string> files[] = {
        {"nearly full", std::string(kMapSize - 65536 + 1, 'x')},
        {"larger than the mapping", std::string(kMapSize + 10, 'y')},
        {"text behind a zero byte", std::string("a\0b", 3) + std::string(kMapSize - 3, '\0')},
    };
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        std::filesystem::remove(PosixOf(Aside(name, 1)));
        WriteFile(PosixOf(name).substr(m_root.size() + 1), bytes);
        CMemoryMappedLog log("C:\\logs", "app", nullptr);
        EXPECT_NE(log.m_strError.Find(Aside(name, 1)), -1);
        EXPECT_EQ(Contents(Aside(name, 1)), bytes);  // unchanged
        EXPECT_EQ(Text(log), Stamp(log));
    }
}

TEST_F(CMemoryMappedLogTest, AFullViewContinuesInANewFileWithoutLosingEntries) {
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
        }
        CString huge('H', 2 * kMapSize);  // longer than a whole mapping
        ASSERT_EQ(log.Log(huge), 1);
        written += huge.str() + "\r\n";
        ASSERT_EQ(log.Log("after"), 1);
        written += "after\r\n";
        EXPECT_NE(log.m_strError.Find("moved to"), -1);
    }
    std::string joined;
    for (int n = 1; Exists(PosixOf(Aside(name, n)).substr(m_root.size() + 1)); ++n) {
        std::string part = Contents(Aside(name, n));
        EXPECT_LT(part.size(), kMapSize);
        joined += part;
    }
    joined += Contents(name);
    EXPECT_EQ(joined.size(), written.size());
    EXPECT_TRUE(joined == written);
}

TEST_F(CMemoryMappedLogTest, WithoutAViewEntriesFailUntilOneCanBeMade) {
    PlatformFailSyscall(Syscall::Mmap, 1, ENOMEM, true);
    CMemoryMappedLog log("C:\\logs", "app", nullptr);
    EXPECT_EQ(log.m_pView, nullptr);
    EXPECT_EQ(log.m_strError, "Cannot map region.");
    EXPECT_EQ(log.Log("lost"), 0);
    EXPECT_EQ(Contents(log.m_strLogFileName), "");  // the file was not left extended
    PlatformResetSyscalls();
    EXPECT_EQ(log.Log("kept"), 1);
    EXPECT_EQ(Text(log), "kept\r\n");

    CMemoryMappedLog nowhere("C:\\no\\such\\dir", "app", nullptr);
    EXPECT_EQ(nowhere.m_strError, "Cannot create memory-mapped file.");
    EXPECT_EQ(nowhere.Log("x"), 0);
}

}  // namespace
