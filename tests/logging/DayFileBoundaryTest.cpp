// Day files of every log kind against a hostile directory and a failing
// disk: a day file that is a link is never written through, and an entry is
// whole in the day file or absent from it, with the reason in m_strError.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "LogTest.h"
#include "logging/CFrameBufferLog.h"
#include "logging/CMemoryMappedLog.h"
#include "platform/kernel/Handles.h"
#include "support/FaultSweep.h"
#include "support/Sandbox.h"

namespace fs = std::filesystem;

namespace {

// A log kind, how one is made, and how it writes one entry to its day file
// (the frame buffer saves its buffer, which then holds the entry).
struct Kind {
    const char* name;
    std::function<std::unique_ptr<CLogFile>(const CString& dir)> make;
    std::function<int(CLogFile&, const CString&)> write;
};

int LogEntry(CLogFile& log, const CString& text) { return log.Log(text); }

int SaveEntry(CLogFile& log, const CString& text) {
    auto& buffered = static_cast<CFrameBufferLog&>(log);
    buffered.m_bSaveOnFlush = true;
    if (!buffered.Log(text)) return 0;
    return buffered.m_nUsed == 0 ? 1 : buffered.SaveEdits();  // a long entry was saved at once
}

const Kind kKinds[] = {
    {"plain", [](const CString& dir) { return std::make_unique<CLogFile>(dir, "app"); }, LogEntry},
    {"running", [](const CString& dir) { return std::make_unique<CRunningLog>(dir, "app", nullptr); }, LogEntry},
    {"frame buffer", [](const CString& dir) { return std::make_unique<CFrameBufferLog>(dir, "app", nullptr); },
     SaveEntry},
    {"mapped", [](const CString& dir) { return std::make_unique<CMemoryMappedLog>(dir, "app", nullptr); }, LogEntry},
};

bool IsMapped(const Kind& kind) { return std::string(kind.name) == "mapped"; }

class DayFileBoundaryTest : public LogTest {
protected:
    // Today's day file of the log "app" in dir, as a library path.
    static CString DayFile(const CString& dir) {
        CLogFile names;
        names.m_strLogName = "app";
        names.m_strDirectory = dir;
        names.CreateLogFileName();
        return names.m_strLogFileName;
    }
};

// Fills the file system of path, then frees `leave` bytes of it again.
void FillDisk(const std::string& path, off_t leave) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const std::string block(65536, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    off_t size = ::lseek(fd, 0, SEEK_END);
    ASSERT_EQ(::ftruncate(fd, size > leave ? size - leave : 0), 0);
    ::close(fd);
}

// The text of a day file, up to the zero filling a mapped log leaves while
// it is open, and whether every line of it is empty, a start stamp or one of
// the entries given.
bool WholeLines(const std::string& bytes, const std::vector<std::string>& entries, std::string& bad) {
    std::string text = bytes.substr(0, bytes.find('\0'));
    if (bytes.find_first_not_of('\0', text.size()) != std::string::npos) {
        bad = "bytes behind the zero filling";
        return false;
    }
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        while (!line.empty() && line.back() == '\r') line.pop_back();  // a saved frame buffer's CR CR LF
        if (line.empty() || line == "kept" || line.rfind("app started job at ", 0) == 0) continue;
        if (std::find(entries.begin(), entries.end(), line) == entries.end()) {
            bad = line.substr(0, 60);
            return false;
        }
    }
    return true;
}

}  // namespace

TEST_F(DayFileBoundaryTest, ADayFileThatIsALinkIsNeverWrittenThrough) {
    // A victim with text and a zero tail, as a mapped log would see a file it
    // can continue; and a link to a file that does not exist yet.
    std::string victim = std::string(393271, 'v') + std::string(598877 - 393271, '\0');
    struct Target {
        const char* what;
        const char* link;
    } const targets[] = {{"an existing file", "../victim/data.bin"}, {"a missing file", "../victim/new.bin"}};
    for (const Kind& kind : kKinds) {
        for (const Target& target : targets) {
            SCOPED_TRACE(std::string(kind.name) + " log, link to " + target.what);
            fs::remove_all(Posix("victim"));
            WriteFile("victim/data.bin", victim);
            const auto before = Snapshot(Posix("victim"));
            const CString day = DayFile("C:\\logs");
            fs::remove(PosixOf(day));
            fs::create_symlink(target.link, PosixOf(day));
            {
                std::unique_ptr<CLogFile> log = kind.make("C:\\logs");
                EXPECT_EQ(kind.write(*log, "through the link"), 0);
                EXPECT_NE(log->m_strError.Find("is a symbolic link"), -1) << log->m_strError.str();
            }
            EXPECT_EQ(Snapshot(Posix("victim")), before);
            EXPECT_TRUE(fs::is_symlink(PosixOf(day)));  // left as it was
            fs::remove(PosixOf(day));
        }
    }
}

TEST_F(DayFileBoundaryTest, AFullDiskLeavesNoPartOfAnEntry) {
    SmallDisk disk(Posix("disk"), "1m");
    if (!disk.mounted()) GTEST_SKIP() << disk.why();
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(std::string(kind.name) + " log");
        fs::remove_all(Posix("disk/logs"));
        fs::create_directories(Posix("disk/logs"));
        fs::remove(Posix("disk/fill"));
        std::unique_ptr<CLogFile> log = kind.make("C:\\disk\\logs");
        const CString day = log->m_strLogFileName;
        // A mapped log's entry must move its view, which needs more disk.
        const CString entry('X', IsMapped(kind) ? 300000 : 20000);
        FillDisk(Posix("disk/fill"), 4096);  // room for a part of the entry only
        const std::string before = Contents(day);
        EXPECT_EQ(kind.write(*log, entry), 0);
        EXPECT_NE(log->m_strError.Find("No space left on device"), -1) << log->m_strError.str();
        EXPECT_EQ(log->m_strError.Find("Cannot open log file"), -1) << log->m_strError.str();
        log.reset();
        std::string after = Contents(day), text = before.substr(0, before.find('\0'));
        EXPECT_EQ(after.substr(0, text.size()), text);
        EXPECT_EQ(after.find('X'), std::string::npos) << "a part of the entry is in the day file";
    }
}

// Every failure of a call that writing an entry makes, one after another:
// the day file then holds whole entries only, the entry is there exactly
// when the write said so, and a failure says why.
TEST_F(DayFileBoundaryTest, AnEntryIsWholeOrAbsentWhateverCallFails) {
    // The long entry moves a mapped log's view twice.
    const std::vector<std::string> entries = {"first entry", std::string(600000, 'L')};
    // The logs' named mutexes keep the namespace's file open for the
    // process's life: it is opened before descriptors are counted.
    HANDLE warm = CreateMutexA(nullptr, FALSE, "DayFileBoundaryTest");
    ASSERT_NE(warm, nullptr);
    CloseHandle(warm);
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(std::string(kind.name) + " log");
        const CString day = DayFile("C:\\logs");
        int written[2] = {};
        CString error;
        SweepFaults(
            {Syscall::Open, Syscall::Stat, Syscall::LockRange, Syscall::Pread, Syscall::Write, Syscall::Ftruncate,
             Syscall::Fallocate, Syscall::Mmap, Syscall::Close},
            ENOSPC,
            [&] {
                fs::remove_all(Posix("logs"));
                WriteFile(PosixOf(day).substr(m_root.size() + 1), "kept\r\n");
            },
            [&] {
                std::unique_ptr<CLogFile> log = kind.make("C:\\logs");
                log->m_strError.Empty();
                for (int i = 0; i < 2; ++i) written[i] = kind.write(*log, entries[i].c_str());
                error = log->m_strError;
            },
            [&](const FaultRun& run) {
                std::string bytes = Contents(day), bad;
                EXPECT_EQ(bytes.rfind("kept\r\n", 0), 0u) << "the old text is gone";
                EXPECT_TRUE(WholeLines(bytes, entries, bad)) << bad;
                for (int i = 0; i < 2; ++i) {
                    // A frame buffer keeps an entry it could not save and
                    // saves it with the next.
                    bool there = bytes.find(entries[i] + "\r") != std::string::npos;
                    if (written[i] == 1 || std::string(kind.name) != "frame buffer") {
                        EXPECT_EQ(there, written[i] == 1) << "entry " << i;
                    }
                    if (written[i] == 0) {
                        EXPECT_FALSE(error.IsEmpty()) << "entry " << i << " failed silently";
                    }
                }
                EXPECT_TRUE(run.failed || (written[0] == 1 && written[1] == 1));
                int files = 0;
                for (const auto& item : fs::directory_iterator(Posix("logs"))) files += item.exists();
                EXPECT_EQ(files, 1) << "a sibling or temporary file was left";
            },
            60);
    }
}
