// Files of many GiB through the tool: they arrive whole, sparse files stay
// sparse, and the tool's memory does not grow with them. Slow (they write
// half a GiB), so they carry their own label and run once in CI.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tools/ToolTest.h"

namespace {

constexpr off_t kSparseSize = 3LL << 30;      // 3 GiB, nearly all hole
constexpr size_t kTextSize = 500u << 20;       // 500 MB of text
constexpr long kMemoryLimitKiB = 64 * 1024;    // what the tool may take

class BigFileTest : public ToolTest {
protected:
    // A 3 GiB file with a little data at its start, middle and end; empty
    // when the file system cannot hold it sparse, with the reason.
    std::string MakeSparse(const std::string& relative) {
        std::filesystem::create_directories(std::filesystem::path(Posix(relative)).parent_path());
        int fd = ::open(Posix(relative).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::ftruncate(fd, kSparseSize) != 0) return "cannot make a 3 GiB file here";
        for (off_t at : {off_t{0}, kSparseSize / 2, kSparseSize - 5}) ::pwrite(fd, "Foo\1x", 5, at);
        ::close(fd);
        struct stat st {};
        ::stat(Posix(relative).c_str(), &st);
        if (st.st_blocks * 512 > (64 << 20)) return "the file system does not keep holes";
        return {};
    }
    static long PeakChildKiB() {
        rusage usage {};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        return usage.ru_maxrss;
    }
    void ExpectSameSparse(const std::string& a, const std::string& b) {
        struct stat sa {}, sb {};
        ASSERT_EQ(::stat(Posix(a).c_str(), &sa), 0);
        ASSERT_EQ(::stat(Posix(b).c_str(), &sb), 0);
        EXPECT_EQ(sb.st_size, sa.st_size);
        EXPECT_LE(sb.st_blocks, sa.st_blocks + 64);  // stays sparse
        int fa = ::open(Posix(a).c_str(), O_RDONLY), fb = ::open(Posix(b).c_str(), O_RDONLY);
        for (off_t at : {off_t{0}, kSparseSize / 2, kSparseSize - 5, off_t{12345}}) {
            char x[5] = {}, y[5] = {};
            ::pread(fa, x, 5, at);
            ::pread(fb, y, 5, at);
            EXPECT_EQ(std::string(x, 5), std::string(y, 5)) << at;
        }
        ::close(fa);
        ::close(fb);
    }
};

TEST_F(BigFileTest, ASparseFileOfThreeGiBCopiesWholeAndSparse) {
    if (std::string why = MakeSparse("src/big.img"); !why.empty()) GTEST_SKIP() << why;
    Result r = Run({"copy-tree", "src", "dst"});
    ASSERT_EQ(r.code, 0) << r.err;
    ExpectSameSparse("src/big.img", "dst/big.img");
    EXPECT_LT(PeakChildKiB(), kMemoryLimitKiB);
}

TEST_F(BigFileTest, NewProjectStreamsLargeFilesInBoundedMemory) {
    if (std::string why = MakeSparse("tmpl/Foo/FooDisk.img"); !why.empty()) GTEST_SKIP() << why;
    {
        FILE* out = std::fopen(Posix("tmpl/Foo/FooLog.txt").c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::string line = "a line of the log that names Foo and CFooView, then more words\n";
        for (size_t written = 0; written < kTextSize; written += line.size()) std::fwrite(line.data(), 1, line.size(), out);
        std::fclose(out);
    }
    Result r = Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"});
    ASSERT_EQ(r.code, 0) << r.err;
    ExpectSameSparse("tmpl/Foo/FooDisk.img", "out/Bar/BarDisk.img");  // binary: copied as it is
    struct stat text {};
    ASSERT_EQ(::stat(Posix("out/Bar/BarLog.txt").c_str(), &text), 0);
    EXPECT_GE(static_cast<size_t>(text.st_size), kTextSize);
    FILE* in = std::fopen(Posix("out/Bar/BarLog.txt").c_str(), "rb");
    char head[64] = {};
    std::fread(head, 1, 63, in);
    std::fclose(in);
    EXPECT_EQ(std::string(head), "a line of the log that names Bar and CBarView, then more words\n");
    EXPECT_LT(PeakChildKiB(), kMemoryLimitKiB);
}

}  // namespace
