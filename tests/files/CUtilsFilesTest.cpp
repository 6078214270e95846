#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "files/CUtils.h"
#include "platform/kernel/Syscalls.h"
#include "platform/mfc/Files.h"
#include "platform/mfc/MessageBox.h"
#include "support/FaultSweep.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class CUtilsFilesTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        m_oldEcho = AfxSetMessageBoxEcho(false);
        m_oldHook = AfxSetMessageBoxHook([this](const CString& text, UINT type) {
            m_boxes.push_back(text.str() + (type == MB_ICONHAND ? "" : " (wrong icon)"));
            return IDOK;
        });
    }
    void TearDown() override {
        PlatformResetSyscalls();
        AfxSetMessageBoxHook(m_oldHook);
        AfxSetMessageBoxEcho(m_oldEcho);
        TempDirTest::TearDown();
    }
    int Copy(const char* source, const char* target) {
        return m_utils.CopyFileA(const_cast<char*>(source), const_cast<char*>(target));
    }
    // The cause of the CFileException a copy throws; -1 when it throws none.
    int CauseOfCopy(const char* source, const char* target) {
        try {
            Copy(source, target);
        } catch (CFileException* e) {
            int cause = e->m_cause;
            e->Delete();
            return cause;
        }
        return -1;
    }
    // Entries in the directory, so a test sees that nothing was left behind.
    size_t Entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_root), fs::directory_iterator()));
    }

    CUtils m_utils;
    std::vector<std::string> m_boxes;
    bool m_oldEcho = true;
    MessageBoxHook m_oldHook;
};

TEST_F(CUtilsFilesTest, CopyReplacesTheTargetWithTheSourcesTimesAndReadOnly) {
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    WriteFile("src.bin", big);
    WriteFile("dst.bin", "old");
    fs::last_write_time(Posix("src.bin"), fs::file_time_type::clock::now() - std::chrono::hours(50));
    ::chmod(Posix("src.bin").c_str(), 0444);
    CFileStatus source, target;
    ASSERT_TRUE(CFile::GetStatus("C:\\src.bin", source));

    ASSERT_EQ(Copy("C:\\src.bin", "C:\\dst.bin"), 1);
    ASSERT_TRUE(CFile::GetStatus("C:\\dst.bin", target));  // before reading it moves the access time
    EXPECT_EQ(ReadFile("dst.bin"), big);
    EXPECT_EQ(target.m_mtime, source.m_mtime);
    EXPECT_EQ(target.m_atime, source.m_atime);
    EXPECT_TRUE(target.m_attribute & CFile::readOnly);
    EXPECT_EQ(Entries(), 2u);

    WriteFile("empty", "");
    EXPECT_EQ(Copy("C:\\empty", "C:\\empty copy \xc3\xa9"), 1);
    EXPECT_TRUE(Exists("empty copy \xc3\xa9"));

    WriteFile("self", "same file");
    EXPECT_EQ(Copy("C:\\self", "C:\\self"), 1);
    EXPECT_EQ(ReadFile("self"), "same file");
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(CUtilsFilesTest, CopyFailuresReportedAsTheOriginalDoes) {
    EXPECT_EQ(Copy("C:\\missing", "C:\\t"), 0);
    EXPECT_EQ(m_utils.m_strError, "Cannot open C:\\missing !");

    WriteFile("s", "data");
    m_utils.m_strError = "unchanged";
    EXPECT_EQ(Copy("C:\\s", "C:\\no\\dir\\t"), 0);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], "Can not create target file 'C:\\no\\dir\\t' !");
    EXPECT_EQ(m_utils.m_strError, "unchanged");

    // A read-only target or a directory cannot be removed: the exception the
    // removal would raise, and the target stays.
    WriteFile("ro", "keep");
    ::chmod(Posix("ro").c_str(), 0444);
    EXPECT_EQ(CauseOfCopy("C:\\s", "C:\\ro"), CFileException::accessDenied);
    EXPECT_EQ(ReadFile("ro"), "keep");
    fs::create_directory(Posix("d"));
    EXPECT_EQ(CauseOfCopy("C:\\s", "C:\\d"), CFileException::accessDenied);
}

TEST_F(CUtilsFilesTest, AFailedCopyLeavesTheTargetAsItWas) {
    WriteFile("s", std::string(5000, 's'));
    WriteFile("t", "precious");
    struct Fault {
        Syscall kind;
        int err;
        int cause;
    } faults[] = {
        {Syscall::Write, ENOSPC, CFileException::diskFull},
        {Syscall::Read, EIO, CFileException::hardIO},
        {Syscall::Futimens, EPERM, CFileException::accessDenied},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(PlatformSyscallName(f.kind));
        PlatformFailSyscall(f.kind, 1, f.err);
        EXPECT_EQ(CauseOfCopy("C:\\s", "C:\\t"), f.cause);
        PlatformResetSyscalls();
        EXPECT_EQ(ReadFile("t"), "precious");
        EXPECT_EQ(Entries(), 2u);  // no temporary copy left behind
    }
    // The final rename fails: reported as a target that cannot be created.
    PlatformFailSyscall(Syscall::Rename, 1, EIO);
    EXPECT_EQ(Copy("C:\\s", "C:\\t"), 0);
    EXPECT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(ReadFile("t"), "precious");
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(CUtilsFilesTest, EveryFailedCallOfACopyLeavesTheTargetAndIsReported) {
    const std::string data(3 * 1024 * 1024 + 5, 'd');  // more than one block
    WriteFile("s", data);
    int result = 0;
    bool thrown = false;
    SweepFaults(
        {Syscall::Open, Syscall::Stat, Syscall::Lstat, Syscall::Read, Syscall::Write, Syscall::CopyRange,
         Syscall::Lseek, Syscall::Futimens, Syscall::Fchmod, Syscall::Close, Syscall::Rename, Syscall::Unlink},
        EIO,
        [&] {
            WriteFile("t", "precious");
            m_boxes.clear();
            m_utils.m_strError.Empty();
        },
        [&] {
            result = 0;
            thrown = false;
            try {
                result = Copy("C:\\s", "C:\\t");
            } catch (CFileException* e) {
                thrown = true;
                e->Delete();
            }
        },
        [&](const FaultRun& run) {
            bool whole = !thrown && result == 1;
            if (!whole) {
                EXPECT_TRUE(run.failed);
                EXPECT_TRUE(thrown || !m_boxes.empty() || !m_utils.m_strError.IsEmpty())
                    << "a failed copy must be reported";
            }
            std::string target = ReadFile("t");
            EXPECT_TRUE(target == "precious" || (whole && target == data)) << "target damaged";
            EXPECT_EQ(Entries(), 2u);  // no temporary copy left behind
        });
}

TEST_F(CUtilsFilesTest, SizeValidityAndWriting) {
    WriteFile("five", "12345");
    WriteFile("empty", "");
    EXPECT_EQ(m_utils.GetFileSize("C:\\five"), 5);
    EXPECT_EQ(m_utils.GetFileSize("C:\\missing"), -1);

    EXPECT_EQ(m_utils.ValidFile("C:\\five"), 1);
    EXPECT_EQ(m_utils.ValidFile("C:\\empty"), 0);
    EXPECT_EQ(m_utils.m_strError, "C:\\empty file < 0\n");
    EXPECT_EQ(m_utils.ValidFile("C:\\missing"), 0);
    EXPECT_EQ(m_utils.m_strError, "C:\\missing file < 0\n");

    // Exactly ten checks: the eleventh open is the one planned to fail.
    PlatformFailSyscall(Syscall::Open, 11, EIO);
    EXPECT_EQ(m_utils.GetValidFile("C:\\empty"), 0);
    EXPECT_EQ(m_utils.m_strError, "File not valid");
    EXPECT_EQ(crt::fopen("C:\\five", "rb"), nullptr);
    PlatformResetSyscalls();
    EXPECT_EQ(m_utils.GetValidFile("C:\\five"), 1);

    CString text("a\nb\0c", 5);
    m_utils.SaveStringToFile(text, "C:\\saved");
    EXPECT_EQ(ReadFile("saved"), std::string("a\nb\0c", 5));
    m_utils.SaveStringToFile(text, "C:\\no\\dir\\saved");
    EXPECT_FALSE(Exists("no"));

    FILE* stream = crt::fopen("C:\\stream", "wt");
    ASSERT_NE(stream, nullptr);
    CString line("one\n");
    char zero[] = "two\n";
    EXPECT_EQ(m_utils.WriteToFile(stream, line), 1);
    EXPECT_EQ(m_utils.WriteToFile(stream, zero), 1);
    std::fclose(stream);
    EXPECT_EQ(ReadFile("stream"), "one\r\ntwo\r\n");
}

TEST_F(CUtilsFilesTest, LaunchStartsTheProgramWithoutWaiting) {
    m_utils.Launch(CString("sh -c \"sleep 0.2; touch '" + Posix("ran") + "'\""));
    EXPECT_FALSE(Exists("ran"));  // not waited for
    for (int i = 0; i < 500 && !Exists("ran"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(Exists("ran"));
    m_utils.Launch("no-such-program-anywhere --flag");  // not reported
}

}  // namespace
