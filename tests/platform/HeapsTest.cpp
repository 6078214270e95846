#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "platform/kernel/Heaps.h"
#include "platform/kernel/Syscalls.h"

namespace {

bool AllZero(const void* p, size_t n) {
    auto* bytes = static_cast<const unsigned char*>(p);
    return std::all_of(bytes, bytes + n, [](unsigned char b) { return b == 0; });
}

class HeapsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_heap = HeapCreate(0, 120, 0);
        ASSERT_NE(m_heap, nullptr);
    }
    void TearDown() override {
        EXPECT_TRUE(HeapDestroy(m_heap));
        HeapFailAlloc(0);
        PlatformResetSyscalls();
    }
    HANDLE m_heap = nullptr;
};

TEST_F(HeapsTest, BlocksAreZeroFilledAlignedAndSizedAsRequested) {
    const size_t sizes[] = {0, 17, 1025, 300000};
    for (int round = 0; round < 2; ++round) {  // the second round reuses the freed blocks
        std::vector<void*> blocks;
        for (size_t size : sizes) {
            SCOPED_TRACE(size);
            void* p = HeapAlloc(m_heap, 0, size);
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 16, 0u);
            EXPECT_TRUE(AllZero(p, size));
            EXPECT_EQ(HeapSize(m_heap, 0, p), size);
            std::memset(p, 0xAB, size);
            blocks.push_back(p);
        }
        for (void* p : blocks) EXPECT_TRUE(HeapFree(m_heap, 0, p));
    }
    // Blocks still allocated at HeapDestroy go with the heap (LSan checks).
    for (size_t size : sizes) ASSERT_NE(HeapAlloc(m_heap, 0, size), nullptr);
}

TEST_F(HeapsTest, ForeignDoubleInteriorFreesAndDeadHandlesAreRefused) {
    HANDLE other = HeapCreate(0, 0, 0);
    void* theirs = HeapAlloc(other, 0, 32);
    void* mine = HeapAlloc(m_heap, 0, 32);
    void* large = HeapAlloc(m_heap, 0, 100000);
    void* fromMalloc = std::malloc(32);
    EXPECT_FALSE(HeapFree(m_heap, 0, theirs));
    EXPECT_FALSE(HeapFree(m_heap, 0, fromMalloc));
    EXPECT_FALSE(HeapFree(m_heap, 0, static_cast<char*>(mine) + 16));
    EXPECT_FALSE(HeapFree(m_heap, 0, static_cast<char*>(large) + 16));
    for (void* p : {mine, large}) {
        EXPECT_TRUE(HeapFree(m_heap, 0, p));
        EXPECT_FALSE(HeapFree(m_heap, 0, p));
    }
    std::free(fromMalloc);

    ASSERT_TRUE(HeapDestroy(other));
    EXPECT_FALSE(HeapDestroy(other));
    EXPECT_FALSE(HeapFree(other, 0, theirs));
    HANDLE reused = HeapCreate(0, 0, 0);  // may take the same slot: the old handle stays dead
    EXPECT_EQ(HeapAlloc(other, 0, 8), nullptr);
    EXPECT_TRUE(HeapDestroy(reused));
    for (HANDLE invented : {HANDLE(nullptr), INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(uintptr_t(0x12345678))})
        EXPECT_EQ(HeapAlloc(invented, 0, 8), nullptr);
}

TEST_F(HeapsTest, ChunkAndAllocationFailures) {
    PlatformFailSyscall(Syscall::HeapChunk, 1, ENOMEM);
    EXPECT_EQ(HeapCreate(0, 0, 0), nullptr);
    HANDLE heap = HeapCreate(0, 0, 0);
    ASSERT_NE(heap, nullptr);
    // Fill the first chunk, then every further chunk fails.
    std::vector<void*> blocks;
    PlatformFailSyscall(Syscall::HeapChunk, 1, ENOMEM, true);
    while (void* p = HeapAlloc(heap, 0, 48)) blocks.push_back(p);
    ASSERT_FALSE(blocks.empty());
    // Freed blocks are still served while the system refuses chunks.
    ASSERT_TRUE(HeapFree(heap, 0, blocks.back()));
    EXPECT_EQ(HeapAlloc(heap, 0, 48), blocks.back());
    PlatformResetSyscalls();
    EXPECT_TRUE(HeapDestroy(heap));

    HeapFailAlloc(2);  // only the second
    EXPECT_NE(HeapAlloc(m_heap, 0, 8), nullptr);
    EXPECT_EQ(HeapAlloc(m_heap, 0, 8), nullptr);
    EXPECT_NE(HeapAlloc(m_heap, 0, 8), nullptr);
}

TEST(HeapsThreadsTest, SharedHeapAndPrivateHeapsUnderManyThreads) {
    HANDLE shared = HeapCreate(0, 0, 0);
    std::vector<std::thread> threads;
    std::vector<int> faults(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            std::mt19937 random(t);
            std::vector<std::pair<unsigned char*, size_t>> live;
            for (int i = 0; i < 4000; ++i) {
                size_t size = 1 + random() % (i % 50 == 0 ? 80000 : 200);
                auto* p = static_cast<unsigned char*>(HeapAlloc(shared, 0, size));
                if (!p || !AllZero(p, size)) ++faults[t];
                if (!p) continue;
                std::memset(p, t + 1, size);
                live.emplace_back(p, size);
                if (random() % 2) {
                    size_t victim = random() % live.size();
                    auto [q, n] = live[victim];
                    for (size_t k = 0; k < n; ++k) faults[t] += q[k] != t + 1;
                    if (!HeapFree(shared, 0, q)) ++faults[t];
                    live.erase(live.begin() + victim);
                }
            }
            for (int i = 0; i < 200; ++i) {  // a list's pair of heaps, made and dropped
                HANDLE own = HeapCreate(0, 120, 0);
                if (!own || !HeapAlloc(own, HEAP_ZERO_MEMORY, 24) || !HeapDestroy(own)) ++faults[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < 8; ++t) EXPECT_EQ(faults[t], 0) << "thread " << t;
    EXPECT_TRUE(HeapDestroy(shared));  // takes the blocks still live
}

}  // namespace
