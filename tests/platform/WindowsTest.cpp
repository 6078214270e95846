#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/user/Windows.h"

namespace {

// Window procedures that log what they receive and fall back on the
// defaults. A handler may answer a message; unanswered ones go on to
// DefWindowProcA.
class Recorder {
public:
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;
    struct Entry { HWND hWnd; UINT msg; WPARAM wParam; LPARAM lParam; std::thread::id thread; };

    HWND Create(HWND hParent = nullptr, Handler handler = {}, const char* text = "") {
        auto proc = [this, handler](HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_log.push_back({hWnd, msg, wParam, lParam, std::this_thread::get_id()});
            }
            LRESULT result = 0;
            if (handler && handler(hWnd, msg, wParam, lParam, result)) return result;
            return DefWindowProcA(hWnd, msg, wParam, lParam);
        };
        return PlatformCreateWindowEx(proc, 0, "Test", text, hParent ? WS_CHILD : 0, 10, 20, 300, 200, hParent,
                                      nullptr, nullptr);
    }

    // The entries of the given messages, in order.
    std::vector<Entry> Of(std::vector<UINT> msgs) {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<Entry> out;
        for (const Entry& e : m_log)
            if (std::find(msgs.begin(), msgs.end(), e.msg) != msgs.end()) out.push_back(e);
        return out;
    }

private:
    std::mutex m_lock;
    std::vector<Entry> m_log;
};

constexpr UINT WM_PING = WM_USER + 11;

}  // namespace

TEST(WindowsTest, SendReturnsTheProcedureResultAndDeadHandlesFail) {
    Recorder rec;
    HWND hWnd = rec.Create(nullptr, [](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        result = static_cast<LRESULT>(wParam) * 100 + lParam;
        return msg == WM_PING;
    }, "first");
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(SendMessageA(hWnd, WM_PING, 4, 2), 402);
    char buffer[4];
    EXPECT_EQ(GetWindowTextA(hWnd, buffer, sizeof buffer), 3);  // cut to the buffer, terminated
    EXPECT_STREQ(buffer, "fir");
    ASSERT_TRUE(DestroyWindow(hWnd));
    EXPECT_EQ(SendMessageA(hWnd, WM_PING, 4, 2), 0);
    EXPECT_FALSE(PostMessageA(hWnd, WM_PING, 0, 0));
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x12345678), WM_PING, 0, 0));  // never a window
    HWND hNext = rec.Create();
    EXPECT_NE(hNext, hWnd);  // the dead handle does not come back
    DestroyWindow(hNext);
}

TEST(WindowsTest, PostedMessagesWaitForThePumpAndQuitComesLast) {
    Recorder rec;
    HWND hWnd = rec.Create();
    ASSERT_TRUE(PostMessageA(hWnd, WM_PING, 7, 9));
    EXPECT_TRUE(rec.Of({WM_PING}).empty());  // queued, not called
    EXPECT_EQ(PlatformPumpMessages(), 1);

    PostQuitMessage(3);
    PostMessageA(hWnd, WM_PING, 1, 0);
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.hwnd, hWnd);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // taken once
    DestroyWindow(hWnd);
}

TEST(WindowsTest, MessagesPostedByAnotherThreadReachTheOwner) {
    Recorder rec;
    HWND hWnd = rec.Create(nullptr, [](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_CLOSE) PostQuitMessage(7);
        return false;
    });
    std::thread poster([hWnd] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the owner is waiting by then
        for (int i = 0; i < 3; ++i) PostMessageA(hWnd, WM_PING, i, 0);
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
    });
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    poster.join();
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(IsWindow(hWnd));  // WM_CLOSE went on to DefWindowProcA
    auto pings = rec.Of({WM_PING});
    ASSERT_EQ(pings.size(), 3u);
    for (size_t i = 0; i < pings.size(); ++i) {
        EXPECT_EQ(pings[i].wParam, i);
        EXPECT_EQ(pings[i].thread, std::this_thread::get_id());
    }
}

TEST(WindowsTest, DestroyTakesChildrenDownBeforeTheParent) {
    Recorder rec;
    std::vector<BOOL> childAliveInParent;
    HWND hChild1 = nullptr;
    HWND hParent = rec.Create(nullptr, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_DESTROY || msg == WM_NCDESTROY) childAliveInParent.push_back(IsWindow(hChild1));
        return false;
    });
    hChild1 = rec.Create(hParent);
    HWND hGrandchild = rec.Create(hChild1);
    HWND hChild2 = rec.Create(hParent);
    ASSERT_TRUE(hParent && hChild1 && hGrandchild && hChild2);
    PostMessageA(hChild2, WM_PING, 0, 0);

    ASSERT_TRUE(DestroyWindow(hParent));

    std::vector<std::pair<HWND, UINT>> expected = {
        {hParent, WM_DESTROY},       {hChild1, WM_DESTROY},   {hGrandchild, WM_DESTROY},
        {hGrandchild, WM_NCDESTROY}, {hChild1, WM_NCDESTROY}, {hChild2, WM_DESTROY},
        {hChild2, WM_NCDESTROY},     {hParent, WM_NCDESTROY},
    };
    std::vector<std::pair<HWND, UINT>> seen;
    for (const auto& e : rec.Of({WM_DESTROY, WM_NCDESTROY})) seen.emplace_back(e.hWnd, e.msg);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(childAliveInParent, (std::vector<BOOL>{TRUE, FALSE}));
    EXPECT_EQ(PlatformPumpMessages(), 0);  // the message queued for hChild2 went with it
}

TEST(WindowsTest, RefusedCreationStillEndsWithNcDestroy) {
    Recorder rec;
    for (UINT refused : {UINT(WM_NCCREATE), UINT(WM_CREATE)}) {
        SCOPED_TRACE(refused);
        EXPECT_EQ(rec.Create(nullptr, [refused](HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
            result = msg == WM_CREATE ? -1 : FALSE;
            return msg == refused;
        }), nullptr);
    }
    EXPECT_EQ(rec.Of({WM_CREATE}).size(), 1u);  // not after a refused WM_NCCREATE
    EXPECT_EQ(rec.Of({WM_DESTROY}).size(), 1u);
    EXPECT_EQ(rec.Of({WM_NCDESTROY}).size(), 2u);
    EXPECT_EQ(rec.Create(reinterpret_cast<HWND>(0x12345678)), nullptr);  // parent is no window
}

TEST(WindowsTest, WindowsBelongToTheThreadThatMadeThem) {
    Recorder rec;
    std::promise<HWND> made;
    std::promise<void> release;
    std::thread owner([&] {
        made.set_value(rec.Create());
        release.get_future().wait();
    });
    HWND hWnd = made.get_future().get();
    EXPECT_FALSE(DestroyWindow(hWnd));  // not the owner
    EXPECT_TRUE(PostMessageA(hWnd, WM_PING, 0, 0));
    EXPECT_EQ(PlatformPumpMessages(), 0);  // queued for the owner, not for us
    release.set_value();
    owner.join();
    EXPECT_FALSE(IsWindow(hWnd));  // went with its thread
    EXPECT_TRUE(rec.Of({WM_PING}).empty());
}

TEST(WindowsTest, ProcedureStateMayCallBackWhenReleased) {
    // What a procedure holds is released after the table is unlocked, so its
    // destructor may use the window calls.
    struct CallsBack {
        HWND hWnd = nullptr;
        ~CallsBack() { IsWindow(hWnd); }
    };
    auto state = std::make_shared<CallsBack>();
    state->hWnd = PlatformCreateWindowEx(
        [state](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); },  // the window's copy
        0, "Test", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr);
    HWND hWnd = state->hWnd;
    std::weak_ptr<CallsBack> watch = state;
    state.reset();
    EXPECT_TRUE(DestroyWindow(hWnd));
    EXPECT_TRUE(watch.expired());
}
