#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Windows.h"

namespace {

// Window procedures that log what they receive and fall back on the
// defaults. A handler may answer a message; unanswered ones go on to
// DefWindowProcA.
class Recorder {
public:
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

    WindowProc Proc(Handler handler = {}) {
        return [this, handler](HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_log.push_back({hWnd, msg, wParam, lParam, std::this_thread::get_id()});
            }
            LRESULT result = 0;
            if (handler && handler(hWnd, msg, wParam, lParam, result)) return result;
            return DefWindowProcA(hWnd, msg, wParam, lParam);
        };
    }

    HWND Create(HWND hParent = nullptr, Handler handler = {}, const char* text = "") {
        return PlatformCreateWindowEx(Proc(std::move(handler)), 0, "Test", text, hParent ? WS_CHILD : 0, 10, 20,
                                      300, 200, hParent, nullptr, nullptr);
    }

    struct Entry {
        HWND hWnd;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        std::thread::id thread;
    };

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
        if (msg != WM_PING) return false;
        result = static_cast<LRESULT>(wParam) * 100 + lParam;
        return true;
    });
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(SendMessageA(hWnd, WM_PING, 4, 2), 402);
    ASSERT_TRUE(DestroyWindow(hWnd));

    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(SendMessageA(hWnd, WM_PING, 4, 2), 0);
    EXPECT_FALSE(PostMessageA(hWnd, WM_PING, 0, 0));
    EXPECT_FALSE(DestroyWindow(hWnd));
    EXPECT_FALSE(SetWindowTextA(hWnd, "x"));
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x12345678), WM_PING, 0, 0));  // never a window
    EXPECT_EQ(rec.Of({WM_PING}).size(), 1u);

    HWND hNext = rec.Create();
    EXPECT_NE(hNext, hWnd);  // the dead handle does not come back
    DestroyWindow(hNext);
}

TEST(WindowsTest, PostedMessageWaitsForThePumpOfTheOwner) {
    Recorder rec;
    HWND hWnd = rec.Create();
    ASSERT_TRUE(PostMessageA(hWnd, WM_PING, 7, 9));
    EXPECT_TRUE(rec.Of({WM_PING}).empty());  // queued, not called

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, hWnd, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PING));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 12, WM_USER + 20, PM_REMOVE));  // outside the range
    EXPECT_EQ(PlatformPumpMessages(), 1);
    EXPECT_EQ(PlatformPumpMessages(), 0);

    auto pings = rec.Of({WM_PING});
    ASSERT_EQ(pings.size(), 1u);
    EXPECT_EQ(pings[0].wParam, 7u);
    EXPECT_EQ(pings[0].lParam, 9);
    EXPECT_EQ(pings[0].thread, std::this_thread::get_id());
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
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    poster.join();
    EXPECT_EQ(got, 0);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(IsWindow(hWnd));  // WM_CLOSE went on to DefWindowProcA

    auto pings = rec.Of({WM_PING});
    ASSERT_EQ(pings.size(), 3u);
    for (size_t i = 0; i < pings.size(); ++i) {
        EXPECT_EQ(pings[i].wParam, i);
        EXPECT_EQ(pings[i].thread, std::this_thread::get_id());
    }
}

TEST(WindowsTest, QuitComesAfterTheMessagesPostedBeforeIt) {
    Recorder rec;
    HWND hWnd = rec.Create();
    PostQuitMessage(3);
    PostMessageA(hWnd, WM_PING, 1, 0);
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.hwnd, hWnd);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // taken once
    EXPECT_EQ(GetMessageA(&msg, reinterpret_cast<HWND>(0x12345678), 0, 0), -1);
    DestroyWindow(hWnd);
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
    EXPECT_EQ(GetParent(hGrandchild), hChild1);
    EXPECT_EQ(GetParent(hParent), nullptr);
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
    for (HWND h : {hParent, hChild1, hGrandchild, hChild2}) EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(PlatformPumpMessages(), 0);  // the message queued for hChild2 went with it
}

TEST(WindowsTest, CreationCanBeRefused) {
    Recorder rec;
    auto refuse = [](UINT which, LRESULT answer) {
        return [which, answer](HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
            if (msg != which) return false;
            result = answer;
            return true;
        };
    };
    EXPECT_EQ(rec.Create(nullptr, refuse(WM_NCCREATE, FALSE)), nullptr);
    EXPECT_EQ(rec.Of({WM_NCDESTROY}).size(), 1u);
    EXPECT_TRUE(rec.Of({WM_CREATE}).empty());

    EXPECT_EQ(rec.Create(nullptr, refuse(WM_CREATE, -1)), nullptr);
    EXPECT_EQ(rec.Of({WM_DESTROY}).size(), 1u);
    EXPECT_EQ(rec.Of({WM_NCDESTROY}).size(), 2u);

    EXPECT_EQ(rec.Create(reinterpret_cast<HWND>(0x12345678)), nullptr);  // parent is no window
    EXPECT_EQ(PlatformCreateWindowEx(WindowProc(), 0, "Test", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr), nullptr);
}

namespace {
LRESULT ClassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return msg == WM_PING ? 55 : DefWindowProcA(hWnd, msg, wParam, lParam);
}
}  // namespace

TEST(WindowsTest, RegisteredClassesCreateWindows) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ClassProc;
    wc.lpszClassName = "LedgerView";
    ASSERT_NE(RegisterClassA(&wc), 0);
    EXPECT_EQ(RegisterClassA(&wc), 0);  // taken

    HWND hWnd = CreateWindowExA(0, "ledgerview", "Totals", WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                reinterpret_cast<HMENU>(17), nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(SendMessageA(hWnd, WM_PING, 0, 0), 55);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_ID), 17);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE)), WS_VISIBLE);
    char text[16];
    EXPECT_EQ(GetWindowTextA(hWnd, text, sizeof text), 6);
    EXPECT_STREQ(text, "Totals");
    DestroyWindow(hWnd);

    EXPECT_TRUE(UnregisterClassA("LedgerView", nullptr));
    EXPECT_EQ(CreateWindowExA(0, "LedgerView", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST(WindowsTest, TextGoesThroughTheProcedure) {
    Recorder rec;
    HWND hWnd = rec.Create(nullptr, {}, "first");
    char buffer[4];
    EXPECT_EQ(GetWindowTextA(hWnd, buffer, sizeof buffer), 3);  // cut to the buffer, terminated
    EXPECT_STREQ(buffer, "fir");
    EXPECT_TRUE(SetWindowTextA(hWnd, "second"));
    EXPECT_EQ(GetWindowTextLengthA(hWnd), 6);
    EXPECT_EQ(GetWindowTextA(hWnd, buffer, 0), 0);
    EXPECT_EQ(rec.Of({WM_SETTEXT}).size(), 1u);  // creation sets the text without WM_SETTEXT
    EXPECT_EQ(rec.Of({WM_GETTEXT}).size(), 1u);

    std::vector<UINT> seenBySubclass;
    WindowProc previous;
    previous = PlatformSetWindowProc(hWnd, [&](HWND h, UINT msg, WPARAM w, LPARAM l) {
        seenBySubclass.push_back(msg);
        return msg == WM_PING ? LRESULT(1) : previous(h, msg, w, l);
    });
    ASSERT_TRUE(previous);
    EXPECT_EQ(SendMessageA(hWnd, WM_PING, 0, 0), 1);
    SetWindowTextA(hWnd, "third");
    EXPECT_EQ(GetWindowTextLengthA(hWnd), 5);
    EXPECT_EQ(seenBySubclass.size(), 3u);
    DestroyWindow(hWnd);
}

TEST(WindowsTest, RectanglesAreInParentCoordinates) {
    Recorder rec;
    HWND hParent = rec.Create();  // (10, 20) 300 x 200
    HWND hChild = rec.Create(hParent);
    RECT r;
    ASSERT_TRUE(GetWindowRect(hChild, &r));
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right, 320);
    ASSERT_TRUE(MoveWindow(hChild, 10, 20, 50, 60, TRUE));  // same place, new size
    ASSERT_TRUE(GetClientRect(hChild, &r));
    EXPECT_EQ(r.right, 50);
    EXPECT_EQ(r.bottom, 60);
    auto sizes = rec.Of({WM_SIZE, WM_MOVE});
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].msg, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(50, 60));
    DestroyWindow(hParent);
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
    ASSERT_NE(hWnd, nullptr);
    EXPECT_FALSE(DestroyWindow(hWnd));  // not the owner
    EXPECT_TRUE(IsWindow(hWnd));
    EXPECT_TRUE(PostMessageA(hWnd, WM_PING, 0, 0));
    EXPECT_EQ(PlatformPumpMessages(), 0);  // queued for the owner, not for us
    release.set_value();
    owner.join();

    EXPECT_FALSE(IsWindow(hWnd));  // went with its thread
    EXPECT_FALSE(PostMessageA(hWnd, WM_PING, 0, 0));
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
    HWND hWnd = PlatformCreateWindowEx([state](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); },
                                       0, "Test", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    state->hWnd = hWnd;
    std::weak_ptr<CallsBack> watch = state;
    state.reset();
    EXPECT_TRUE(DestroyWindow(hWnd));
    EXPECT_TRUE(watch.expired());
}
