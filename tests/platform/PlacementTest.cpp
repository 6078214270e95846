#include <gtest/gtest.h>

#include <vector>

#include "platform/Geometry.h"

namespace {

HWND MakeWindow(HWND hParent = nullptr, std::vector<UINT>* pLog = nullptr) {
    return PlatformCreateWindowEx(
        [pLog](HWND h, UINT m, WPARAM w, LPARAM l) {
            if (pLog) pLog->push_back(m == WM_SIZE ? 0x10000 + static_cast<UINT>(w) : m);
            return DefWindowProcA(h, m, w, l);
        },
        0, "Test", "", hParent ? WS_CHILD | WS_VISIBLE : 0, 10, 20, 300, 200, hParent, nullptr, nullptr);
}

}  // namespace

TEST(PlacementTest, ShowStatesMoveTheRectangleAndKeepTheNormalOne) {
    std::vector<UINT> log;
    HWND hWnd = MakeWindow(nullptr, &log);
    EXPECT_FALSE(IsWindowVisible(hWnd));
    EXPECT_FALSE(ShowWindow(hWnd, SW_SHOWMAXIMIZED));  // was hidden
    CRect rect;
    GetWindowRect(hWnd, &rect);
    EXPECT_EQ(rect, CRect(-1, -1, 1025, 769));  // full screen, border outside
    EXPECT_TRUE(IsZoomed(hWnd) && IsWindowVisible(hWnd));
    EXPECT_EQ(log.back(), 0x10000u + SIZE_MAXIMIZED);

    ShowWindow(hWnd, SW_MINIMIZE);
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(hWnd, &wp));
    EXPECT_EQ(wp.length, 44u);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(wp.flags, WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(10, 20, 310, 220));
    ShowWindow(hWnd, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(hWnd));
    ShowWindow(hWnd, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(hWnd) || IsIconic(hWnd));
    GetWindowRect(hWnd, &rect);
    EXPECT_EQ(rect, CRect(10, 20, 310, 220));

    ShowWindow(hWnd, SW_MINIMIZE);  // from normal: restores normal
    GetWindowPlacement(hWnd, &wp);
    EXPECT_EQ(wp.flags, 0u);
    EXPECT_FALSE(ShowWindow(hWnd, 99));  // unknown command: nothing
    EXPECT_TRUE(IsIconic(hWnd));
    DestroyWindow(hWnd);
    EXPECT_FALSE(GetWindowPlacement(hWnd, &wp));
}

TEST(PlacementTest, SetPlacementTakesTheRestoreFlagAndTheShowCommand) {
    HWND hWnd = MakeWindow();
    WINDOWPLACEMENT wp{44, WPF_RESTORETOMAXIMIZED, SW_SHOWMINNOACTIVE, {0, 0}, {-1, -1}, {5, 6, 105, 206}};
    ASSERT_TRUE(SetWindowPlacement(hWnd, &wp));
    EXPECT_TRUE(IsIconic(hWnd));
    WINDOWPLACEMENT got;
    GetWindowPlacement(hWnd, &got);
    EXPECT_EQ(got.flags, WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(CRect(got.rcNormalPosition), CRect(5, 6, 105, 206));
    ShowWindow(hWnd, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(hWnd));

    wp.length = 40;
    EXPECT_FALSE(SetWindowPlacement(hWnd, &wp));
    EXPECT_FALSE(SetWindowPlacement(hWnd, nullptr));
    DestroyWindow(hWnd);
}

TEST(PlacementTest, MaximizedChildCoversItsParentAndCoordinatesConvert) {
    HWND hParent = MakeWindow();
    HWND hChild = MakeWindow(hParent);
    ShowWindow(hParent, SW_SHOWNORMAL);
    ShowWindow(hChild, SW_SHOWMAXIMIZED);
    CRect rect;
    GetClientRect(hChild, &rect);
    EXPECT_EQ(rect, CRect(0, 0, 300, 200));

    ShowWindow(hChild, SW_SHOWNORMAL);
    CPoint point(15, 27);
    ClientToScreen(hChild, &point);
    EXPECT_EQ(point, CPoint(35, 67));  // 10+10, 20+20, plus the point
    ScreenToClient(hChild, &point);
    EXPECT_EQ(point, CPoint(15, 27));

    ShowWindow(hParent, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(hChild));  // a hidden parent hides its children
    EXPECT_EQ(GetWindow(hParent, GW_CHILD), hChild);
    EXPECT_EQ(GetWindow(hChild, GW_HWNDNEXT), nullptr);
    DestroyWindow(hParent);
}

TEST(PlacementTest, ScreenMetricsAndFocus) {
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 768);
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
    PlatformSetScreenSize(1920, 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    PlatformSetScreenSize(-5, 10);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);

    std::vector<UINT> log;
    HWND a = MakeWindow(nullptr, &log);
    HWND b = MakeWindow();
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(log.back(), static_cast<UINT>(WM_KILLFOCUS));
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x1234)), nullptr);  // not a window: no change
    EXPECT_EQ(GetFocus(), b);
    DestroyWindow(b);
    EXPECT_EQ(GetFocus(), nullptr);
    DestroyWindow(a);
}
