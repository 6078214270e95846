#include <chrono>

#include "sync/SyncTest.h"

namespace {

using EventTest = NamespaceTest;

TEST_F(EventTest, SignalsReachWaitersInOtherProcesses) {
    for (BOOL manual : {FALSE, TRUE}) {
        SCOPED_TRACE(manual ? "manual-reset" : "auto-reset");
        HANDLE mine = CreateEventA(nullptr, manual, FALSE, "ev");
        Child a([] { return WaitOn("ev"); }), b([] { return WaitOn("ev"); });
        ASSERT_TRUE(AwaitWaiters(2));
        ASSERT_TRUE(SetEvent(mine));
        if (manual) {
            // Every waiter goes, and the event stays set until reset.
            EXPECT_EQ(a.Wait(), 0);
            EXPECT_EQ(b.Wait(), 0);
            EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_OBJECT_0);
            EXPECT_TRUE(ResetEvent(mine));
        } else {
            // One signal, one waiter; the signal is used up.
            Child* released = FirstToEnd(a, b);
            ASSERT_NE(released, nullptr);
            EXPECT_TRUE((released == &a ? b : a).Running(100));
            EXPECT_TRUE(SetEvent(mine));
        }
        EXPECT_EQ(a.Wait(), 0);
        EXPECT_EQ(b.Wait(), 0);
        EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_TIMEOUT);
        CloseHandle(mine);
    }
}

TEST_F(EventTest, PulseReleasesTheWaitersOfTheMomentAndResets) {
    for (BOOL manual : {FALSE, TRUE}) {
        SCOPED_TRACE(manual ? "manual-reset" : "auto-reset");
        HANDLE mine = CreateEventA(nullptr, manual, FALSE, "pulse");
        EXPECT_TRUE(PulseEvent(mine));  // nobody waits: no trace
        Child waiter([] { return WaitOn("pulse"); });
        ASSERT_TRUE(AwaitWaiters(1));
        EXPECT_TRUE(PulseEvent(mine));
        EXPECT_EQ(waiter.Wait(), 0);
        EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_TIMEOUT);
        CloseHandle(mine);
    }
}

TEST_F(EventTest, AnExistingEventKeepsItsKindAndState) {
    HANDLE first = CreateEventA(nullptr, TRUE, TRUE, "kept");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    HANDLE second = CreateEventA(nullptr, FALSE, FALSE, "kept");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);  // still manual-reset: stays set

    EXPECT_EQ(CreateMutexA(nullptr, FALSE, "kept"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, "kept"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, "missing"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(ReleaseMutex(first));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));

    CloseHandle(first);
    CloseHandle(second);
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, "kept"), nullptr);  // gone with its last handle
    EXPECT_EQ(Info().dwObjects, 0u);
}

TEST_F(EventTest, WaitsTimeOutAndStaleHandlesFail) {
    CEvent event(FALSE, FALSE, "timed");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(event, 100), WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));

    HANDLE stale = CreateEventA(nullptr, FALSE, TRUE, "stale");
    ASSERT_TRUE(CloseHandle(stale));
    EXPECT_EQ(WaitForSingleObject(stale, INFINITE), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(SetEvent(stale));
    EXPECT_FALSE(CloseHandle(stale));

    CEvent broken(FALSE, FALSE, "bad\\name");  // no exception, no handle
    EXPECT_EQ(broken.m_hObject, nullptr);
    EXPECT_FALSE(broken.Lock(0));
    EXPECT_FALSE(broken.SetEvent());
}

TEST_F(EventTest, AKilledWaiterLeavesNoStaleHolder) {
    HANDLE mine = CreateEventA(nullptr, FALSE, FALSE, "victim");
    Child doomed([] { return WaitOn("victim"); });
    ASSERT_TRUE(AwaitWaiters(1));
    EXPECT_EQ(Info().dwHolders, 2u);
    doomed.Kill();
    // The next process to open the name releases the dead one's hold, and
    // the signal goes to a live waiter.
    Child waiter([] { return WaitOn("victim"); });
    ASSERT_TRUE(AwaitWaiters(1));
    EXPECT_EQ(Info().dwHolders, 2u);
    EXPECT_TRUE(SetEvent(mine));
    EXPECT_EQ(waiter.Wait(), 0);
    EXPECT_EQ(Info().dwHolders, 1u);
    CloseHandle(mine);
    EXPECT_EQ(Info().dwObjects, 0u);
}

}  // namespace
