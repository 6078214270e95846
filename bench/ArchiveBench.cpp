// Storing a 10 MB byte block with CUtils::ArchiveOutBytes (one operator<<
// per byte through the archive's buffer) against one CFile::Write of the
// same block. Both write the same file, truncated on each run, on
// /dev/shm when it exists (a tmpfs, so the disk does not add noise), else
// in the temporary directory.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/CUtils.h"
#include "platform/kernel/Paths.h"
#include "platform/mfc/Archive.h"

namespace {

constexpr int kSize = 10 * 1000 * 1000;

const std::vector<unsigned char>& Block() {
    static const std::vector<unsigned char> block = [] {
        std::vector<unsigned char> b(kSize);
        for (int i = 0; i < kSize; ++i) b[i] = static_cast<unsigned char>(i * 31);
        return b;
    }();
    return block;
}

// Never destroyed: removeTarget's destructor, which runs later, still names it.
const CString& Target() {
    static const CString* path = [] {
        std::filesystem::path dir = std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                          : std::filesystem::temp_directory_path();
        std::string name = "cbasis-archive-bench-" + std::to_string(getpid());
        return new CString(PlatformFromPosixPath((dir / name).string()));
    }();
    return *path;
}

struct RemoveTarget {
    ~RemoveTarget() {
        std::string posix;
        if (PlatformToPosixPath(Target(), posix)) std::filesystem::remove(posix);
    }
} removeTarget;

}  // namespace

static void BM_ArchiveOutBytes(benchmark::State& state) {
    CUtils utils;
    unsigned char* buffer = const_cast<unsigned char*>(Block().data());
    for (auto _ : state) {
        CFile file(Target(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        utils.ArchiveOutBytes(buffer, kSize, ar);
        ar.Close();
        file.Close();
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_ArchiveOutBytes)->Unit(benchmark::kMillisecond);

static void BM_CFileWrite(benchmark::State& state) {
    for (auto _ : state) {
        CFile file(Target(), CFile::modeCreate | CFile::modeWrite);
        file.Write(Block().data(), kSize);
        file.Close();
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_CFileWrite)->Unit(benchmark::kMillisecond);

// What the system calls of a 4,096-byte buffer cost: the block in 2,442 writes.
static void BM_CFileWrite4K(benchmark::State& state) {
    for (auto _ : state) {
        CFile file(Target(), CFile::modeCreate | CFile::modeWrite);
        for (int i = 0; i < kSize; i += 4096) file.Write(Block().data() + i, std::min(4096, kSize - i));
        file.Close();
    }
}
BENCHMARK(BM_CFileWrite4K)->Unit(benchmark::kMillisecond);

// What the per-byte loop costs alone: the archive writes nowhere.
class CNullFile : public CFile {
public:
    void Write(const void*, UINT) override {}
};

static void BM_ArchiveOutBytesNull(benchmark::State& state) {
    CUtils utils;
    unsigned char* buffer = const_cast<unsigned char*>(Block().data());
    for (auto _ : state) {
        CNullFile file;
        CArchive ar(&file, CArchive::store);
        utils.ArchiveOutBytes(buffer, kSize, ar);
        ar.Close();
    }
}
BENCHMARK(BM_ArchiveOutBytesNull)->Unit(benchmark::kMillisecond);

// The same through a 4,096-byte buffer of the caller's (the size the
// original's archives use): 2,442 system calls instead of 153.
static void BM_ArchiveOutBytes4K(benchmark::State& state) {
    CUtils utils;
    unsigned char* buffer = const_cast<unsigned char*>(Block().data());
    static unsigned char archiveBuffer[4096];
    for (auto _ : state) {
        CFile file(Target(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, sizeof archiveBuffer, archiveBuffer);
        utils.ArchiveOutBytes(buffer, kSize, ar);
        ar.Close();
        file.Close();
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_ArchiveOutBytes4K)->Unit(benchmark::kMillisecond);
