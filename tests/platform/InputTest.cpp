// Input handed to the layer as a display driver hands it (PlatformPostInput),
// turned into messages by the message loop: where they go, with which
// parameters, and what the default procedure makes of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/atl/Geometry.h"
#include "platform/user/Input.h"
#include "platform/user/Windows.h"

namespace {

struct Logged {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Windows whose procedure logs every message, then passes it on.
class InputTest : public ::testing::Test {
protected:
    HWND Make(HWND hParent, DWORD style, RECT r, LPCSTR text = "") {
        return PlatformCreateWindowEx(
            [this](HWND h, UINT m, WPARAM w, LPARAM l) {
                log.push_back(Logged{h, m, w, l});
                return DefWindowProcA(h, m, w, l);
            },
            0, "Test", text, style | (hParent ? WS_CHILD : 0), r.left, r.top, r.right - r.left, r.bottom - r.top,
            hParent, nullptr, nullptr);
    }
    void TearDown() override {
        if (IsWindow(hTop)) DestroyWindow(hTop);
        PlatformPumpMessages();
    }
    static void Post(HWND hTop, UINT message, POINT pt) {
        PlatformInput in;
        in.message = message;
        in.pt = pt;
        ASSERT_TRUE(PlatformPostInput(hTop, in));
    }
    static void Key(HWND hTop, UINT message, UINT vk, char ch = 0) {
        PlatformInput in;
        in.message = message;
        in.vk = vk;
        in.scan = 0x3E;
        in.ch = ch;
        ASSERT_TRUE(PlatformPostInput(hTop, in));
    }
    // Runs the loop as an application does, until the queue is empty.
    static void Loop() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    std::vector<Logged> Messages(UINT message) const {
        std::vector<Logged> found;
        for (const Logged& l : log)
            if (l.message == message) found.push_back(l);
        return found;
    }

    std::vector<Logged> log;
    HWND hTop = nullptr;
};

constexpr DWORD kChildFrame = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE;

}  // namespace

TEST_F(InputTest, ANewWindowHearsItsSizeAndPlace) {
    hTop = Make(nullptr, 0, {30, 40, 330, 240});
    auto sizes = Messages(WM_SIZE), moves = Messages(WM_MOVE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(300, 200));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].lParam, MAKELPARAM(30, 40));
}

TEST_F(InputTest, ButtonsGoToTheWindowUnderThePointInClientCoordinates) {
    hTop = Make(nullptr, WS_VISIBLE, {100, 100, 500, 400});
    HWND hChild = Make(hTop, WS_VISIBLE, {50, 60, 150, 160});
    log.clear();
    Post(hTop, WM_LBUTTONDOWN, {100 + 50 + 7, 100 + 60 + 9});
    Post(hTop, WM_LBUTTONUP, {100 + 50 + 7, 100 + 60 + 9});
    Post(hTop, WM_RBUTTONDOWN, {110, 120});
    Loop();
    auto downs = Messages(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hWnd, hChild);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(7, 9));
    auto ups = Messages(WM_LBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].wParam, 0u);  // the button is up now
    auto rights = Messages(WM_RBUTTONDOWN);
    ASSERT_EQ(rights.size(), 1u);
    EXPECT_EQ(rights[0].hWnd, hTop);
    EXPECT_EQ(rights[0].lParam, MAKELPARAM(10, 20));
    EXPECT_FALSE(Messages(WM_MOUSEACTIVATE).empty());
    EXPECT_EQ(GetActiveWindow(), hTop);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 110);
}

TEST_F(InputTest, TheCaptureWindowTakesTheMouseEverywhere) {
    hTop = Make(nullptr, WS_VISIBLE, {0, 0, 400, 300});
    HWND hA = Make(hTop, WS_VISIBLE, {0, 0, 100, 100});
    Make(hTop, WS_VISIBLE, {200, 0, 300, 100});
    EXPECT_EQ(SetCapture(hA), nullptr);
    EXPECT_EQ(GetCapture(), hA);
    log.clear();
    Post(hTop, WM_MOUSEMOVE, {250, 50});
    Loop();
    auto moves = Messages(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].hWnd, hA);
    EXPECT_EQ(moves[0].lParam, MAKELPARAM(250, 50));
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Messages(WM_CAPTURECHANGED).size(), 1u);
}

TEST_F(InputTest, KeysGoToTheFocusWithTheOriginalsParameters) {
    hTop = Make(nullptr, WS_VISIBLE, {0, 0, 400, 300});
    HWND hChild = Make(hTop, WS_VISIBLE, {0, 0, 100, 100});
    SetFocus(hChild);
    log.clear();
    Key(hTop, WM_KEYDOWN, 'A', 'a');
    Key(hTop, WM_KEYDOWN, 'A', 'a');  // held: a repeat
    Key(hTop, WM_KEYUP, 'A');
    Key(hTop, WM_KEYDOWN, VK_SHIFT);
    Key(hTop, WM_KEYDOWN, '1');  // no character from the display: the US layout's
    Key(hTop, WM_KEYUP, VK_SHIFT);
    Loop();
    auto downs = Messages(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 4u);
    EXPECT_EQ(downs[0].hWnd, hChild);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>('A'));
    struct Case {
        LPARAM lParam;
        LPARAM expected;
        const char* what;
    };
    auto ups = Messages(WM_KEYUP);
    ASSERT_EQ(ups.size(), 2u);
    const Case cases[] = {
        {downs[0].lParam, 0x003E0001, "first press: count 1, scan code, no previous state"},
        {downs[1].lParam, 0x403E0001, "repeat: the key was down before"},
        {ups[0].lParam, static_cast<LPARAM>(0xC03E0001u), "release: previous state and transition"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(static_cast<DWORD>(c.lParam), static_cast<DWORD>(c.expected));
    }
    auto chars = Messages(WM_CHAR);
    ASSERT_EQ(chars.size(), 3u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(chars[2].wParam, static_cast<WPARAM>('!'));
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
}

TEST_F(InputTest, AltF4ClosesTheTopLevelWindowThroughItsSystemCommand) {
    hTop = Make(nullptr, WS_VISIBLE, {0, 0, 400, 300});
    HWND hChild = Make(hTop, WS_VISIBLE, {0, 0, 100, 100});
    SetFocus(hChild);
    Key(hTop, WM_KEYDOWN, VK_MENU);
    Key(hTop, WM_KEYDOWN, VK_F4);
    Loop();
    auto sysKeys = Messages(WM_SYSKEYDOWN);
    ASSERT_EQ(sysKeys.size(), 2u);
    EXPECT_TRUE(sysKeys[1].lParam & (1 << 29));  // Alt was down
    auto commands = Messages(WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].hWnd, hTop);
    EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(Messages(WM_CLOSE).size(), 1u);
    EXPECT_FALSE(IsWindow(hTop));
    PlatformInput up;
    up.message = WM_KEYUP;
    up.vk = VK_MENU;
    EXPECT_FALSE(PlatformPostInput(hTop, up));  // the window is gone: nowhere to go
    hTop = Make(nullptr, WS_VISIBLE, {0, 0, 400, 300});
    Key(hTop, WM_KEYUP, VK_MENU);  // the key state is the thread's: let go of Alt for the next test
    Loop();
    EXPECT_FALSE(GetKeyState(VK_MENU) & 0x8000);
}

TEST_F(InputTest, TheWindowManagersCloseIsTheSameSystemCommand) {
    hTop = Make(nullptr, WS_VISIBLE, {0, 0, 400, 300});
    PlatformInput close;
    close.message = WM_CLOSE;
    ASSERT_TRUE(PlatformPostInput(hTop, close));
    Loop();
    ASSERT_EQ(Messages(WM_SYSCOMMAND).size(), 1u);
    EXPECT_FALSE(IsWindow(hTop));
}

TEST_F(InputTest, TheDisplaysMovesAndSizesReachTheWindow) {
    hTop = Make(nullptr, WS_VISIBLE, {0, 0, 400, 300});
    log.clear();
    PlatformInput moved;
    moved.message = WM_WINDOWPOSCHANGED;
    moved.rect = RECT{20, 30, 520, 430};
    ASSERT_TRUE(PlatformPostInput(hTop, moved));
    Loop();
    ASSERT_EQ(Messages(WM_SIZE).size(), 1u);
    EXPECT_EQ(Messages(WM_SIZE)[0].lParam, MAKELPARAM(500, 400));
    EXPECT_EQ(Messages(WM_MOVE)[0].lParam, MAKELPARAM(20, 30));
    WINDOWPLACEMENT wp;
    GetWindowPlacement(hTop, &wp);
    EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(20, 30, 520, 430));  // what the user did is what is saved
}

TEST_F(InputTest, DraggingAChildsCaptionMovesItAndItsEdgeSizesIt) {
    hTop = Make(nullptr, WS_VISIBLE, {0, 0, 600, 500});
    HWND hFrame = Make(hTop, kChildFrame, {50, 50, 250, 200}, "Child");
    HWND hView = Make(hFrame, WS_VISIBLE, {0, 0, 200, 150});
    (void)hView;
    Post(hTop, WM_LBUTTONDOWN, {100, 58});  // on the caption, over the view
    Post(hTop, WM_MOUSEMOVE, {130, 78});
    Post(hTop, WM_MOUSEMOVE, {140, 98});
    Post(hTop, WM_LBUTTONUP, {140, 98});
    Loop();
    CRect rect;
    GetWindowRect(hFrame, &rect);
    EXPECT_EQ(rect, CRect(90, 90, 290, 240));  // moved by the drag
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Messages(WM_ENTERSIZEMOVE).size(), 1u);

    Post(hTop, WM_LBUTTONDOWN, {289, 150});  // the right edge
    Post(hTop, WM_MOUSEMOVE, {339, 150});
    Post(hTop, WM_LBUTTONUP, {339, 150});
    Loop();
    GetWindowRect(hFrame, &rect);
    EXPECT_EQ(rect, CRect(90, 90, 340, 240));

    Post(hTop, WM_LBUTTONDOWN, {200, 95});  // a drag that Escape takes back
    Post(hTop, WM_MOUSEMOVE, {260, 150});
    Key(hTop, WM_KEYDOWN, VK_ESCAPE);
    Loop();
    GetWindowRect(hFrame, &rect);
    EXPECT_EQ(rect, CRect(90, 90, 340, 240));
}

TEST_F(InputTest, CaptionButtonsMinimizeMaximizeAndClose) {
    hTop = Make(nullptr, WS_VISIBLE, {0, 0, 600, 500});
    HWND hFrame = Make(hTop, kChildFrame, {0, 0, 200, 150}, "Child");
    // Buttons from the right: close at 182..198, maximize 164..180, minimize 146..162.
    struct Step {
        POINT click;
        bool zoomed, iconic, alive;
        const char* what;
    };
    const Step steps[] = {
        {{170, 8}, true, false, true, "maximize"},
        {{570, 8}, false, false, true, "the maximized frame's button restores (the frame is 600 wide)"},
        {{150, 8}, false, true, true, "minimize"},
        {{80, 484}, false, true, true, "a click on the minimized frame's bar leaves it so"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        Post(hTop, WM_LBUTTONDOWN, step.click);
        Post(hTop, WM_LBUTTONUP, step.click);
        Loop();
        EXPECT_EQ(IsZoomed(hFrame) != 0, step.zoomed);
        EXPECT_EQ(IsIconic(hFrame) != 0, step.iconic);
    }
    CRect rect;
    GetWindowRect(hFrame, &rect);
    EXPECT_EQ(rect, CRect(0, 476, 160, 500));
    Post(hTop, WM_LBUTTONDOWN, {rect.right - 10, rect.top + 8});  // its close button
    Loop();
    EXPECT_FALSE(IsWindow(hFrame));
}

TEST_F(InputTest, TimersTickInTheLoopUntilKilled) {
    hTop = Make(nullptr, WS_VISIBLE, {0, 0, 100, 100});
    PlatformPumpMessages();
    EXPECT_EQ(SetTimer(hTop, 7, 10, nullptr), 1u);
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);  // waits for it
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.hwnd, hTop);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));  // once per period
    EXPECT_TRUE(KillTimer(hTop, 7));
    EXPECT_FALSE(KillTimer(hTop, 7));
    static int ticks;
    ticks = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    ASSERT_NE(id, 0u);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    DispatchMessageA(&msg);
    EXPECT_EQ(ticks, 1);  // a thread timer's procedure runs
    KillTimer(nullptr, id);
    EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(1), 1, 10, nullptr), 0u);
}
