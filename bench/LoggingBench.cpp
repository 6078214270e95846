// Logs against spdlog (synchronous basic file sink, message-only pattern, so
// both write the same bytes per entry):
//   - CMemoryMappedLog::Log of 100-byte entries vs spdlog's sink, which
//     buffers in stdio and writes when its buffer fills;
//   - CLogFile::Log (open, append, close per entry) vs spdlog's sink with a
//     flush after every entry, vs the same log without the writers' lock
//     (its append as it was before the lock came in), and vs a raw
//     open(O_APPEND), write and close per entry;
//   - CRunningLog::Log with the day file at 10 KB and at 10 MB: reading only
//     what was appended vs the full read of every entry that it replaced
//     (kept here as the baseline).
// Files go to a temporary directory (drive C: mapped onto it), removed at
// exit. Entries per second are the items_per_second counters.
#include <benchmark/benchmark.h>

#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/spdlog.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "logging/CLogFile.h"
#include "logging/CMemoryMappedLog.h"
#include "logging/CRunningLog.h"
#include "platform/crt/Stdio.h"
#include "platform/kernel/Paths.h"
#include "platform/mfc/Files.h"

namespace fs = std::filesystem;

namespace {

const std::string kEntry(100, 'e');

class BenchDir {
public:
    BenchDir() {
        std::string pattern = (fs::temp_directory_path() / "cbasis-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        root = pattern;
        PlatformSetDrive('C', root.c_str());
    }
    ~BenchDir() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    // A fresh empty directory for one benchmark: its library and POSIX paths.
    CString Fresh(const std::string& name, std::string& posix) const {
        posix = root + "/" + name;
        fs::remove_all(posix);
        fs::create_directories(posix);
        return CString(("C:\\" + name).c_str());
    }

    std::string root;
};

const BenchDir& Dir() {
    static BenchDir dir;
    return dir;
}

std::shared_ptr<spdlog::logger> SpdlogFile(const std::string& path) {
    auto logger = std::make_shared<spdlog::logger>(
        "bench", std::make_shared<spdlog::sinks::basic_file_sink_st>(path, true));
    logger->set_pattern("%v");  // the message and a line end, as the logs write
    return logger;
}

// ---- Memory-mapped log vs spdlog --------------------------------------------

void BM_MemoryMappedLog(benchmark::State& state) {
    std::string posix;
    CString dir = Dir().Fresh("mapped", posix);
    {
        CMemoryMappedLog log(dir, "app", nullptr);
        CString entry(kEntry.c_str());
        for (auto _ : state) benchmark::DoNotOptimize(log.Log(entry));
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * (kEntry.size() + 2));
}
BENCHMARK(BM_MemoryMappedLog)->Iterations(2000000);

void BM_SpdlogBasicFile(benchmark::State& state) {
    std::string posix;
    Dir().Fresh("spdlog", posix);
    {
        auto logger = SpdlogFile(posix + "/app.log");
        for (auto _ : state) logger->info(kEntry);
        logger->flush();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * (kEntry.size() + 1));
}
BENCHMARK(BM_SpdlogBasicFile)->Iterations(2000000);

// ---- Day-file log vs spdlog flushing every entry ----------------------------

// The day-file log as it appended before writers shared day files: a
// text-mode "at+" stream per entry, no lock.
class UnlockedLogFile : public CLogFile {
public:
    using CLogFile::CLogFile;
    int AppendToLogFile(CString text) override {
        FILE* file = crt::fopen(m_strLogFileName, "at+");
        if (!file) return 0;
        CString line = CString(static_cast<LPCTSTR>(text)) + "\n";
        size_t size = static_cast<size_t>(line.GetLength());
        bool written = std::fwrite(static_cast<LPCTSTR>(line), 1, size, file) == size;
        return std::fclose(file) == 0 && written;
    }
};

template <class Log>
void DayFileLog(benchmark::State& state, const char* name) {
    std::string posix;
    CString dir = Dir().Fresh(name, posix);
    Log log(dir, "app");
    CString entry(kEntry.c_str());
    for (auto _ : state) benchmark::DoNotOptimize(log.Log(entry));
    state.SetItemsProcessed(state.iterations());
}
void BM_LogFile(benchmark::State& state) { DayFileLog<CLogFile>(state, "logfile"); }
void BM_LogFileWithoutLock(benchmark::State& state) { DayFileLog<UnlockedLogFile>(state, "unlocked"); }
BENCHMARK(BM_LogFile);
BENCHMARK(BM_LogFileWithoutLock);

// A raw open(O_APPEND), write and close per entry; with lock, plus the one
// lock call that an entry of a shared day file costs (the shared lock that
// keeps a sole writer's claim off, see PlatformAppendText); with the rules,
// the lock and what the Ctrl-Z rule and the read-only rule need besides:
// the open file's status and its last byte. That is the least a day-file
// entry can cost, whoever writes it.
enum class Raw { plain, lock, rules };
template <Raw kind>
void RawAppend(benchmark::State& state) {
    std::string posix;
    Dir().Fresh(kind == Raw::plain ? "raw" : kind == Raw::lock ? "rawlocked" : "rawrules", posix);
    std::string path = posix + "/app.log", line = kEntry + "\r\n";
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (kind != Raw::plain) {
            struct flock shared = {};
            shared.l_type = F_RDLCK;
            shared.l_start = off_t{1} << 62;
            shared.l_len = 1;
            benchmark::DoNotOptimize(::fcntl(fd, F_OFD_SETLK, &shared));
        }
        if (kind == Raw::rules) {
            struct stat st;
            char last = 0;
            if (::fstat(fd, &st) == 0 && st.st_size > 0) benchmark::DoNotOptimize(::pread(fd, &last, 1, st.st_size - 1));
        }
        benchmark::DoNotOptimize(::write(fd, line.data(), line.size()));
        ::close(fd);
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_RawAppend(benchmark::State& state) { RawAppend<Raw::plain>(state); }
void BM_RawAppendWithLock(benchmark::State& state) { RawAppend<Raw::lock>(state); }
void BM_RawAppendWithTheRules(benchmark::State& state) { RawAppend<Raw::rules>(state); }
BENCHMARK(BM_RawAppend);
BENCHMARK(BM_RawAppendWithLock);
BENCHMARK(BM_RawAppendWithTheRules);

void BM_SpdlogBasicFileFlushEach(benchmark::State& state) {
    std::string posix;
    Dir().Fresh("spdlogflush", posix);
    auto logger = SpdlogFile(posix + "/app.log");
    logger->flush_on(spdlog::level::trace);
    for (auto _ : state) logger->info(kEntry);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpdlogBasicFileFlushEach);

// ---- Running log: appended part vs whole file --------------------------------

// The running log as it read before: the whole day file into a new buffer
// for every entry.
class FullReadRunningLog : public CRunningLog {
public:
    using CRunningLog::CRunningLog;
    int ReadInFile() override {
        CFileStatus status;
        LONG size = CFile::GetStatus(m_strLogFileName, status) ? status.m_size : 0;
        if (size == 0) return 1;
        if (!CreateBuffer(size + 1)) return 0;
        FILE* file = crt::fopen(m_strLogFileName, "rb");
        if (!file) return 0;
        size_t read = std::fread(m_pBuffer, static_cast<size_t>(size), 1, file);
        std::fclose(file);
        NotifyParent();
        return read == 1;
    }
};

// Log with the day file held near size bytes: the file is cut back to size
// whenever entries have grown it by a tenth.
template <class Log>
void RunningLogAt(benchmark::State& state, const char* name) {
    const size_t size = static_cast<size_t>(state.range(0));
    std::string posix;
    CString dir = Dir().Fresh(name, posix);
    Log log(dir, "app", nullptr);
    std::string dayFile;
    if (!PlatformToPosixPath(log.m_strLogFileName, dayFile)) std::abort();
    {
        std::ofstream grow(dayFile, std::ios::app | std::ios::binary);
        while (fs::file_size(dayFile) < size) grow << kEntry << "\r\n" << std::flush;
    }
    fs::resize_file(dayFile, size);
    log.ReadInFile();
    CString entry(kEntry.c_str());
    size_t bytes = size;
    for (auto _ : state) {
        log.Log(entry);
        bytes += kEntry.size() + 2;
        if (bytes > size + size / 10) {
            state.PauseTiming();
            fs::resize_file(dayFile, size);
            log.ReadInFile();
            bytes = size;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RunningLogAppendedPart(benchmark::State& state) { RunningLogAt<CRunningLog>(state, "appended"); }
void BM_RunningLogWholeFile(benchmark::State& state) { RunningLogAt<FullReadRunningLog>(state, "whole"); }
BENCHMARK(BM_RunningLogAppendedPart)->Arg(10 << 10)->Arg(10 << 20);
BENCHMARK(BM_RunningLogWholeFile)->Arg(10 << 10)->Arg(10 << 20);

}  // namespace
