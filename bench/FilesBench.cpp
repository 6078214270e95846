// File services against their standard-library or system-call baselines:
//   - CGetDirListing over 10,000 entries in 100 directories vs
//     std::filesystem::recursive_directory_iterator collecting the same names;
//   - GetFileContents of a 100 MB file vs one read() into a preallocated
//     buffer, and into a buffer allocated for the read;
//   - CUtils::CopyFileA of a 100 MB file vs std::filesystem::copy_file.
// The data is generated in a temporary directory on first use (drive C:
// mapped onto it) and removed at exit.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "files/CGetDirListing.h"
#include "files/CUtils.h"
#include "files/GetFileContents.h"
#include "platform/kernel/Paths.h"

namespace fs = std::filesystem;

namespace {

const int kDirs = 100;
const int kFilesPerDir = 99;  // 100 directories + 9,900 files = 10,000 entries
const size_t kBigSize = 100u * 1024 * 1024;

class BenchData {
public:
    BenchData() {
        std::string pattern = (fs::temp_directory_path() / "cbasis-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        root = pattern;
        PlatformSetDrive('C', root.c_str());
        for (int d = 0; d < kDirs; ++d) {
            fs::path dir = fs::path(root) / "tree" / ("dir" + std::to_string(d));
            fs::create_directories(dir);
            for (int f = 0; f < kFilesPerDir; ++f) std::ofstream(dir / ("file" + std::to_string(f) + ".txt")) << f;
        }
        std::string block(1024 * 1024, '\0');
        for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + 7);
        std::ofstream big(fs::path(root) / "big.bin", std::ios::binary);
        for (size_t written = 0; written < kBigSize; written += block.size()) big << block;
    }
    ~BenchData() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    std::string Posix(const char* name) const { return (fs::path(root) / name).string(); }

    std::string root;
};

const BenchData& Data() {
    static BenchData data;
    return data;
}

// ---- Tree listing -----------------------------------------------------------

size_t CountNames(const CGetDirListing& listing) {
    size_t n = listing.m_Names.m_nCount;
    for (auto* node = listing.m_pSubDirs->m_pHead; node; node = node->pNext) n += CountNames(**node->pValue);
    return n;
}

void BM_CGetDirListing(benchmark::State& state) {
    Data();
    size_t n = 0;
    for (auto _ : state) {
        CGetDirListing listing("C:\\tree", "*.*");
        n = CountNames(listing);
    }
    if (n != kDirs * (kFilesPerDir + 1)) state.SkipWithError("wrong count");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * n));
}
BENCHMARK(BM_CGetDirListing)->Unit(benchmark::kMillisecond);

void BM_RecursiveDirectoryIterator(benchmark::State& state) {
    std::string tree = Data().Posix("tree");
    size_t n = 0;
    for (auto _ : state) {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(tree)) names.push_back(entry.path().filename());
        n = names.size();
        benchmark::DoNotOptimize(names.data());
    }
    if (n != kDirs * (kFilesPerDir + 1)) state.SkipWithError("wrong count");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * n));
}
BENCHMARK(BM_RecursiveDirectoryIterator)->Unit(benchmark::kMillisecond);

// ---- Whole-file read --------------------------------------------------------

void BM_GetFileContents(benchmark::State& state) {
    Data();
    for (auto _ : state) {
        GetFileContents reader("C:\\big.bin");
        if (reader.m_nSize != static_cast<int>(kBigSize) + 1) state.SkipWithError("short read");
        benchmark::DoNotOptimize(reader.m_pBuffer);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBigSize));
}
BENCHMARK(BM_GetFileContents)->Unit(benchmark::kMillisecond);

void BM_ReadIntoPreallocatedBuffer(benchmark::State& state) {
    std::string path = Data().Posix("big.bin");
    std::vector<char> buffer(kBigSize + 1);
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ssize_t got = ::read(fd, buffer.data(), kBigSize);
        ::close(fd);
        if (got != static_cast<ssize_t>(kBigSize)) state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBigSize));
}
BENCHMARK(BM_ReadIntoPreallocatedBuffer)->Unit(benchmark::kMillisecond);

// The same read into a buffer allocated for it, as any reader that hands out
// a new buffer must: the difference to the preallocated read is the cost of
// the kernel providing 100 MB of fresh pages.
void BM_ReadIntoNewBuffer(benchmark::State& state) {
    std::string path = Data().Posix("big.bin");
    for (auto _ : state) {
        std::unique_ptr<char[]> buffer(new char[kBigSize + 1]);
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ssize_t got = ::read(fd, buffer.get(), kBigSize);
        ::close(fd);
        if (got != static_cast<ssize_t>(kBigSize)) state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBigSize));
}
BENCHMARK(BM_ReadIntoNewBuffer)->Unit(benchmark::kMillisecond);

// ---- Copy -------------------------------------------------------------------

void BM_CopyFileA(benchmark::State& state) {
    Data();
    CUtils utils;
    char source[] = "C:\\big.bin", target[] = "C:\\copy-lib.bin";
    for (auto _ : state)
        if (!utils.CopyFileA(source, target)) state.SkipWithError("copy failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBigSize));
}
BENCHMARK(BM_CopyFileA)->Unit(benchmark::kMillisecond);

void BM_FilesystemCopyFile(benchmark::State& state) {
    fs::path source = Data().Posix("big.bin"), target = Data().Posix("copy-std.bin");
    for (auto _ : state) fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBigSize));
}
BENCHMARK(BM_FilesystemCopyFile)->Unit(benchmark::kMillisecond);

}  // namespace
