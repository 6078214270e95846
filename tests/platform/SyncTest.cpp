#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "platform/Sync.h"

namespace {

// Runs fn on a thread of its own and returns its result.
template <class Fn>
auto OnOtherThread(Fn fn) {
    return std::async(std::launch::async, fn).get();
}

BOOL TryFromOtherThread(LPCTSTR name, DWORD timeout = 0) {
    return OnOtherThread([&] {
        CMutex other(FALSE, name);
        BOOL got = other.Lock(timeout);
        if (got) other.Unlock();
        return got;
    });
}

TEST(CMutexTest, SameNameIsOneMutexAcrossThreads) {
    CMutex mine(TRUE, "sync-test-shared");
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(TryFromOtherThread("sync-test-shared", 100));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));  // waited it out
    EXPECT_TRUE(TryFromOtherThread("sync-test-other-name"));

    std::atomic<bool> acquired{false};
    std::thread waiter([&] {
        CMutex theirs(FALSE, "sync-test-shared");
        acquired = theirs.Lock(INFINITE);
        theirs.Unlock();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(acquired);
    EXPECT_TRUE(mine.Unlock());
    waiter.join();
    EXPECT_TRUE(acquired);
}

TEST(CMutexTest, OwnershipIsRecursiveAndOnlyTheOwnerUnlocks) {
    CMutex mutex(TRUE, "sync-test-recursive");
    ASSERT_TRUE(mutex.Lock(0));
    // Asking for initial ownership of a mutex that exists neither blocks nor owns.
    EXPECT_FALSE(OnOtherThread([] { return CMutex(TRUE, "sync-test-recursive").Unlock(); }));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(TryFromOtherThread("sync-test-recursive"));  // one level still held
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.Unlock());
    EXPECT_TRUE(TryFromOtherThread("sync-test-recursive"));
}

TEST(CMutexTest, NameLivesAsLongAsAHandleAndUnnamedArePrivate) {
    {
        CMutex first(TRUE, "sync-test-name");
        { CMutex second(FALSE, "sync-test-name"); }
        EXPECT_FALSE(TryFromOtherThread("sync-test-name"));  // first still holds the name
    }
    EXPECT_TRUE(TryFromOtherThread("sync-test-name"));  // a new mutex under the old name

    CMutex a(TRUE), b(FALSE, "");
    EXPECT_TRUE(OnOtherThread([&] { return b.Lock(0) && b.Unlock(); }));
    EXPECT_FALSE(OnOtherThread([&] { return a.Lock(0); }));
    EXPECT_TRUE(a.Unlock());
}

TEST(CMutexTest, ThreadEndingWhileOwningAbandonsTheMutex) {
    CMutex mutex(FALSE, "sync-test-abandon");
    std::thread([] {
        CMutex inThread(FALSE, "sync-test-abandon");
        inThread.Lock();
    }).join();
    EXPECT_TRUE(mutex.Lock(1000));
    EXPECT_TRUE(mutex.Unlock());
}

TEST(CMutexTest, ExcludesThreadsHoldingTheirOwnHandles) {
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&counter] {
            CMutex mutex(FALSE, "sync-test-counter");
            for (int i = 0; i < 20000; ++i) {
                mutex.Lock();
                long seen = counter;
                counter = seen + 1;
                mutex.Unlock();
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(counter, 80000);
}

}  // namespace
