#include <gtest/gtest.h>

#include <unistd.h>

#include "sync/SyncTest.h"
#include "tools/ToolTest.h"

namespace {

class EventCommandsTest : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        m_namespace = "/cbasis1-tooltest-" + std::to_string(::getpid());
        ::setenv("CBASIS_NAMESPACE", m_namespace.c_str(), 1);  // for the tool too
        ASSERT_TRUE(PlatformUseNamespace(m_namespace.c_str()));
    }
    void TearDown() override {
        PlatformRemoveNamespace(m_namespace.c_str());
        ToolTest::TearDown();
    }
    std::string m_namespace;
};

TEST_F(EventCommandsTest, WaitInOneShellReturnsWhenAnotherSets) {
    Child waiter([] {
        ::execl(CBASIS_TOOL_PATH, "cbasis", "event", "wait", "X", nullptr);
        return 127;
    });
    PLATFORM_NAMESPACE_INFO info{};
    for (int ms = 0; ms < 10000 && info.dwWaitingThreads == 0; ++ms, ::usleep(1000))
        PlatformGetNamespaceInfo(&info);
    ASSERT_EQ(info.dwWaitingThreads, 1u);
    Result set = Run({"event", "set", "X"});
    EXPECT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(waiter.Wait(), 0);
}

TEST_F(EventCommandsTest, ExitCodesTellSignalledFailedAndTimedOut) {
    Result timedOut = Run({"event", "wait", "Y", "--timeout", "0.1"});
    EXPECT_EQ(timedOut.code, 3);
    EXPECT_NE(timedOut.err.find("timed out"), std::string::npos);
    EXPECT_EQ(Run({"event", "wait", "Z", "--timeout", "0"}).code, 3);

    Pipe holding;
    Child holder([&] {
        CEvent held(TRUE, FALSE, "held");
        holding.Signal();
        ::pause();
        return 0;
    });
    ASSERT_TRUE(holding.Await());
    EXPECT_EQ(Run({"event", "reset", "held"}).code, 0);
    EXPECT_EQ(Run({"event", "wait", "held", "--timeout", "0"}).code, 3);

    Result bad = Run({"event", "wait", "back\\slash"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.err, "cbasis event: back\\slash: an event name may hold a backslash only after Local or Global\n");
    for (std::vector<std::string> usage : {std::vector<std::string>{"event"}, {"event", "wait"}, {"event", "poke", "X"},
                                           {"event", "wait", "X", "--timeout", "-1"}, {"event", "set", "X", "--timeout", "1"}}) {
        EXPECT_EQ(Run(usage).code, 2) << usage.back();
    }
    EXPECT_NE(Run({"event", "--help"}).out.find("3 timed out"), std::string::npos);
}

TEST_F(EventCommandsTest, ASignalNobodyHeldIsSaidToBeLost) {
    // The original's semantics: the signal leaves no trace, and set succeeds.
    Result lost = Run({"event", "set", "Z"});
    EXPECT_EQ(lost.code, 0);
    EXPECT_EQ(lost.err, "cbasis event: Z: no process held the event, so the signal was not kept\n");
    EXPECT_EQ(Run({"event", "wait", "Z", "--timeout", "0"}).code, 3);

    Pipe holding;
    Child holder([&] {
        CEvent held(FALSE, FALSE, "kept");
        holding.Signal();
        ::pause();
        return 0;
    });
    ASSERT_TRUE(holding.Await());
    Result kept = Run({"event", "set", "kept"});
    EXPECT_EQ(kept.code, 0);
    EXPECT_EQ(kept.err, "");
    EXPECT_EQ(Run({"event", "wait", "kept", "--timeout", "0"}).code, 0);
}

}  // namespace
