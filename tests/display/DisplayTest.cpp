// The window system on a real X display through the GTK 3 driver, driven
// with XTEST as a user would drive it. Every wait is on state (the message
// loop runs until a condition holds), never a fixed sleep.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdio>
#include <memory>
#include <string>

#include "DisplayFrameTest.h"
#include "platform/mfc/Snapshot.h"
#include "platform/user/Input.h"
#include "platform/user/UserDriver.h"

namespace {

class DisplayTest : public DisplayFrameTest {
protected:
    // The main frame with two note frames, the second active, on the screen.
    void OpenTwo() {
        ASSERT_NE(OpenMainFrame(), nullptr);
        OpenTwoNoteFrames(&n1, &n2);
        ASSERT_TRUE(display::RunUntil([this] { return PlatformIsOnScreen(m_pMain->m_hWnd) != 0; }));
    }
    HWND Frame(int n) { return m_pMain->GetFrame(n)->hWnd; }
    CRect RectOf(HWND hWnd) {
        CRect r;
        ::GetWindowRect(hWnd, &r);
        return r;
    }

    int n1 = 0, n2 = 0;
};

}  // namespace

TEST_F(DisplayTest, AClickActivatesAChildFrameAndDraggingItsCaptionMovesIt) {
    OpenTwo();
    CRect first = RectOf(Frame(n1));
    display::Click(first.left + 6, first.top + 80);  // the strip the second frame leaves uncovered
    ASSERT_TRUE(display::RunUntil([&] { return m_pMain->MDIGetActive()->m_hWnd == Frame(n1); }));

    CRect before = RectOf(Frame(n1));
    display::MoveTo(before.left + 60, before.top + 8);
    display::Button(1, true);
    display::MoveTo(before.left + 80, before.top + 20);
    display::MoveTo(before.left + 60 + 45, before.top + 8 + 30);
    display::Button(1, false);
    CRect expected(before.left + 45, before.top + 30, before.right + 45, before.bottom + 30);
    EXPECT_TRUE(display::RunUntil([&] { return RectOf(Frame(n1)) == expected && !::GetCapture(); }))
        << "frame at " << RectOf(Frame(n1)).left << "," << RectOf(Frame(n1)).top;
}

TEST_F(DisplayTest, TheScreenShowsTheSnapshotsPixels) {
    OpenTwo();
    CRect r = RectOf(m_pMain->m_hWnd);
    std::vector<uint32_t> screen = display::Grab(r);
    ASSERT_EQ(screen.size(), static_cast<size_t>(r.Width()) * r.Height());
    display::WritePng(screen, r.Width(), r.Height(), Posix("screen.png"));
    if (const char* keep = std::getenv("CBASIS_DISPLAY_SCREENSHOT")) display::WritePng(screen, r.Width(), r.Height(), keep);
    ASSERT_TRUE(PlatformSnapshotWindow(m_pMain->m_hWnd, "C:\\snapshot.png"));
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> picture(
        cairo_image_surface_create_from_png(Posix("snapshot.png").c_str()), cairo_surface_destroy);
    ASSERT_EQ(cairo_image_surface_get_width(picture.get()), r.Width());
    const int bar = PLATFORM_CAPTION_HEIGHT;  // the picture's title bar, above the client area
    const unsigned char* data = cairo_image_surface_get_data(picture.get());
    int stride = cairo_image_surface_get_stride(picture.get());
    int differing = 0;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            uint32_t pictured = reinterpret_cast<const uint32_t*>(data + (y + bar) * stride)[x] & 0xFFFFFF;
            if (pictured != screen[static_cast<size_t>(y) * r.Width() + x]) ++differing;
        }
    EXPECT_EQ(differing, 0) << "pixels differ between the screen and the snapshot";
}

TEST_F(DisplayTest, AResizeByTheWindowManagerReachesWmSizeAndComesBackNextStart) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    ASSERT_TRUE(display::RunUntil([this] { return PlatformIsOnScreen(m_pMain->m_hWnd) != 0; }));
    unsigned long window = display::FindWindow("FrameTest");
    ASSERT_NE(window, 0u);
    CRect wanted(100, 90, 740, 570);
    display::MoveResize(window, wanted);
    ASSERT_TRUE(display::RunUntil([&] { return RectOf(m_pMain->m_hWnd) == wanted; }))
        << "at " << RectOf(m_pMain->m_hWnd).Width() << "x" << RectOf(m_pMain->m_hWnd).Height();
    CRect client;
    ::GetClientRect(m_pMain->m_hWndMDIClient, &client);
    EXPECT_EQ(client.Width(), wanted.Width());  // WM_SIZE laid the frame out again
    ASSERT_TRUE(CloseMainFrame());
    RestartApp();
    ASSERT_NE(OpenMainFrame(), nullptr);
    EXPECT_TRUE(display::RunUntil([&] { return RectOf(m_pMain->m_hWnd) == wanted; }));
}

TEST_F(DisplayTest, TimersTickWhileTheLoopWaitsOnTheDisplay) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    static int ticks;
    ticks = 0;
    UINT_PTR id = ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    EXPECT_TRUE(display::RunUntil([] { return ticks >= 3; }, 3000));
    ::KillTimer(nullptr, id);
}

TEST_F(DisplayTest, AltF4ClosesTheMainFrameAndSavesItsPlacement) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    HWND hMain = m_pMain->m_hWnd;
    ASSERT_TRUE(display::RunUntil([&] { return PlatformIsOnScreen(hMain) != 0; }));
    CRect r = RectOf(hMain);
    display::Click(r.left + 20, r.top + 20);  // the keyboard goes where the pointer is without a window manager
    display::Key("Alt_L", true);
    display::Tap("F4");
    display::Key("Alt_L", false);
    EXPECT_TRUE(display::RunUntil([&] { return !::IsWindow(hMain); }));
    m_pMain = nullptr;
}
