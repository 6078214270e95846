#include <sys/mman.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "sync/SyncTest.h"

namespace {

using MutexTest = NamespaceTest;

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

TEST_F(MutexTest, SameNameIsOneMutexAcrossThreads) {
    CMutex mine(TRUE, "shared");
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(TryFromOtherThread("shared", 100));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));  // waited it out
    EXPECT_TRUE(TryFromOtherThread("other-name"));

    std::atomic<bool> acquired{false};
    std::thread waiter([&] {
        CMutex theirs(FALSE, "shared");
        acquired = theirs.Lock(INFINITE);
        theirs.Unlock();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(acquired);
    EXPECT_TRUE(mine.Unlock());
    waiter.join();
    EXPECT_TRUE(acquired);
}

TEST_F(MutexTest, OwnershipIsRecursiveAndOnlyTheOwnerUnlocks) {
    CMutex mutex(TRUE, "recursive");
    ASSERT_TRUE(mutex.Lock(0));
    // Asking for initial ownership of a mutex that exists neither blocks nor owns.
    EXPECT_FALSE(OnOtherThread([] { return CMutex(TRUE, "recursive").Unlock(); }));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(TryFromOtherThread("recursive"));  // one level still held
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.Unlock());
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_OWNER));
    EXPECT_TRUE(TryFromOtherThread("recursive"));
}

TEST_F(MutexTest, NameLivesAsLongAsAHandleAndUnnamedArePrivate) {
    {
        CMutex first(TRUE, "name");
        { CMutex second(FALSE, "name"); }
        EXPECT_FALSE(TryFromOtherThread("name"));  // first still holds the name
    }
    EXPECT_TRUE(TryFromOtherThread("name"));  // a new mutex under the old name

    CMutex a(TRUE), b(FALSE, "");
    EXPECT_TRUE(OnOtherThread([&] { return b.Lock(0) && b.Unlock(); }));
    EXPECT_FALSE(OnOtherThread([&] { return a.Lock(0); }));
    EXPECT_TRUE(a.Unlock());
}

TEST_F(MutexTest, ThreadEndingWhileOwningAbandonsTheMutex) {
    CMutex mutex(FALSE, "abandon");
    std::thread([] {
        CMutex inThread(FALSE, "abandon");
        inThread.Lock();
    }).join();
    EXPECT_EQ(WaitForSingleObject(mutex, 1000), WAIT_ABANDONED);
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);  // works on
    EXPECT_TRUE(mutex.Unlock());

    // The last handle closed while another thread owns it: the name is free
    // at once, the storage waits for the owner's end.
    auto* shared = new CMutex(FALSE, "closed-while-owned");
    std::promise<void> owned, done;
    std::thread owner([&] {
        shared->Lock();
        owned.set_value();
        done.get_future().wait();
    });
    owned.get_future().wait();
    delete shared;
    EXPECT_TRUE(TryFromOtherThread("closed-while-owned"));
    EXPECT_EQ(Info().dwRetiredMutexes, 1u);
    done.set_value();
    owner.join();
    PlatformSweepNamespace();
    EXPECT_EQ(Info().dwRetiredMutexes, 0u);
}

// A mutex stays on its owner's robust list whatever becomes of its handles
// and its namespace: leaving and removing the namespace must not unmap it
// under the list, which the next unlock of an older mutex walks.
TEST_F(MutexTest, NamespaceLeftWhileOwningAMutex) {
    CMutex older(TRUE, "older");
    const std::string left = m_namespace + "-left";
    ASSERT_TRUE(PlatformUseNamespace(left.c_str()));
    HANDLE owned = CreateMutexA(nullptr, TRUE, "owned");
    ASSERT_NE(owned, nullptr);
    int ready[2], hold[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(hold), 0);
    Child other([&] {  // keeps the entry, so closing our handle does not end it
        ::close(hold[1]);
        char c = OpenMutexA(SYNCHRONIZE, FALSE, "owned") ? 'y' : 'n';
        if (::write(ready[1], &c, 1) != 1) return 1;
        return static_cast<int>(::read(hold[0], &c, 1));  // until this process ends
    });
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    for (int fd : {ready[0], ready[1], hold[0], hold[1]}) ::close(fd);
    CloseHandle(owned);
    PlatformRemoveNamespace(left.c_str());
    ASSERT_TRUE(PlatformUseNamespace(m_namespace.c_str()));
    EXPECT_TRUE(older.Unlock());
    CMutex next(FALSE, "next");
    EXPECT_TRUE(next.Lock(0));
    EXPECT_TRUE(next.Unlock());
}

TEST_F(MutexTest, ExcludesThreadsAndProcesses) {
    auto* counter = static_cast<long*>(::mmap(nullptr, sizeof(long), PROT_READ | PROT_WRITE,
                                              MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    *counter = 0;
    auto work = [counter] {
        CMutex mutex(FALSE, "counter");
        for (int i = 0; i < 5000; ++i) {
            mutex.Lock();
            long seen = *counter;
            *counter = seen + 1;
            mutex.Unlock();
        }
        return 0;
    };
    Child a(work), b(work);
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t) threads.emplace_back(work);
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(a.Wait(), 0);
    EXPECT_EQ(b.Wait(), 0);
    EXPECT_EQ(*counter, 20000);
    ::munmap(counter, sizeof(long));
}

TEST_F(MutexTest, KilledOwnerGivesTheMutexToTheNextLockerAbandoned) {
    CMutex mine(FALSE, "held");  // keeps the mutex alive throughout
    Pipe owns;
    Child owner([&] {
        CMutex mutex(FALSE, "held");
        mutex.Lock();
        owns.Signal();
        ::pause();
        return 0;
    });
    ASSERT_TRUE(owns.Await());
    Child waiter([] {
        CMutex mutex(FALSE, "held");
        DWORD result = WaitForSingleObject(mutex, INFINITE);
        mutex.Unlock();
        return result == WAIT_ABANDONED ? 0 : 1;
    });
    EXPECT_TRUE(waiter.Running(100));
    owner.Kill();
    EXPECT_EQ(waiter.Wait(), 0);
    EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_OBJECT_0);  // works on
    EXPECT_TRUE(mine.Unlock());
}

}  // namespace
